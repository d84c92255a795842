#pragma once
// Reads a finished run into the check's records through the engine's public
// queries. Call it from inside OnFinish: that is the only moment at which the
// result queries answer.

#include <cstdint>
#include <vector>

#include "check/layout.h"
#include "varnest/engine/varnest2d.h"

namespace varnest::check {

// Every used sheet with its stock, its defects and its placed pieces.
std::vector<Sheet> CollectSheets(const TVarnest2D& engine);

// One defined stock (outline or circle, margin, defects); the engine answers
// for any stock index while it is idle.
Stock CollectStock(const TVarnest2D& engine, int32_t stockIndex);

}  // namespace varnest::check
