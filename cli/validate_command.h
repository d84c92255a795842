#pragma once
// `varnest validate PROBLEM LAYOUT`: checks a layout against its problem.
// Besides the independent geometric check (overlaps, pieces outside their
// stock, pieces on defects, and the gaps of the run's cutter as the layout
// records it) it checks that the layout belongs to the problem: indices in
// range, each part and stock used once, ids, shapes of the placed pieces
// (kind, vertex and hole counts, area), angles that the part's rotation step
// allows and mirroring only where allowed. Holes that cross their own part's
// outline are warnings, not faults.

#include <string>
#include <vector>

#include "cli/layout.h"
#include "cli/problem.h"

namespace varnest::cli {

// One line per fault, empty for a valid layout.
std::vector<std::string> ValidateLayout(const Problem& problem, const Layout& layout);

int RunValidateCommand(const std::string& problemPath, const std::string& layoutPath);

}  // namespace varnest::cli
