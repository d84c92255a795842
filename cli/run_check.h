#pragma once
// The independent check as the commands run it: with the run's cutter, and
// with the faults of a problem's parts that the engine lets pass, which
// `varnest nest` and `varnest validate` print as warnings.

#include <string>
#include <vector>

#include "check/layout_check.h"
#include "cli/problem.h"

namespace varnest::cli {

// One line per hole that reaches outside its own part's outline, naming the
// part entry by its engine indices and ids.
std::vector<std::string> PartWarnings(const Problem& problem);

// The check of a layout made with the problem's parameters, as the layout
// records them (where it does) over the problem's, over the engine's
// defaults: the cutter's gaps are those of the run.
check::CheckOptions CheckOptionsOf(const Parameters& problem, const Parameters& layout);

}  // namespace varnest::cli
