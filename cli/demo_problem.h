#pragma once
// The built-in demonstration problem: one stock with two circular defects and
// 80 parts, with the demonstration window's default settings (rotation step
// 0, no mirroring, level 1, corner 0, direction 0, resolution 0.1, seed 0,
// cutter 0). `varnest nest` uses it when no problem file is given and
// `varnest demo-problem` prints it.

#include "cli/problem.h"

namespace varnest::cli {

Problem DemoProblem();

}  // namespace varnest::cli
