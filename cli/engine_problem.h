#pragma once
// Hands a problem to the engine through its definition calls.

#include "cli/problem.h"
#include "varnest/engine/varnest2d.h"

namespace varnest::cli {

// Sets every parameter that `parameters` holds.
void ApplyParameters(TVarnest2D& engine, const Parameters& parameters);
// Defines every stock and part copy, in engine index order.
void DefineProblem(TVarnest2D& engine, const Problem& problem);

}  // namespace varnest::cli
