#pragma once
// One engine run of a problem, from definition to the collected layout. The
// `nest` command is this plus files; a strip-packing command would call it
// once per trial length.

#include "cli/layout.h"
#include "cli/problem.h"

namespace varnest::cli {

struct RunSettings {
  bool progress = false;  // draw the progress line on standard error
};

// Runs the engine on the problem with its parameters. Ctrl-C during the run
// ends the search early; the layout then holds the best one found so far and
// says `stopped`.
Layout RunProblem(const Problem& problem, const RunSettings& settings);

}  // namespace varnest::cli
