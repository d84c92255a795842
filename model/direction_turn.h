#pragma once
// The turn for the vertical starting direction: when the engine packs along y
// first, every prepared shape is turned by 90 degrees, so that everything
// after it (grids, placement) always packs along x first. Only the prepared
// shapes turn; the defined ones keep the caller's orientation, which is what
// the result queries report.

#include <cstdint>

#include "model/part.h"
#include "model/stock.h"

namespace varnest {

inline constexpr int32_t kDirectionAlongY = 1;

// Does nothing unless direction is 1. A point (x, y) of a shape whose box
// starts at the origin goes to (H - y, x), H being the box's height before
// the turn, so the box stays at the origin with width and height exchanged.
void TurnForStartingDirection(part2d_array_any& parts, stock2d_array_any& stocks,
                              int32_t direction);

}  // namespace varnest
