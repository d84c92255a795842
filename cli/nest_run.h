#pragma once
// One engine run of a problem, from definition to the collected layout. The
// `nest` command is this plus files; `strip` calls it once per trial length.

#include <functional>

#include "cli/layout.h"
#include "cli/problem.h"

namespace varnest::cli {

struct RunSettings {
  bool progress = false;  // draw the progress line on standard error
  // Asked after every evaluated layout; true ends the search as Ctrl-C does
  // (a caller's time limit). The engine itself never reads a clock.
  std::function<bool()> stopWhen;
};

// Runs the engine on the problem with its parameters. Ctrl-C during the run
// ends the search early; the layout then holds the best one found so far and
// says `stopped`. A stop through `stopWhen` also keeps the best layout so far
// but is the caller's to report.
Layout RunProblem(const Problem& problem, const RunSettings& settings);

}  // namespace varnest::cli
