#pragma once
// The turn for the vertical starting direction: when the engine packs along y
// first, every prepared shape is turned by 90 degrees, so that everything
// after it (grids, placement) always packs along x first. Only the prepared
// shapes turn; the defined ones keep the caller's orientation, which is what
// the result queries report.

#include <cstdint>

#include "varnest/model/part.h"
#include "varnest/model/search_frame.h"
#include "varnest/model/stock.h"

namespace varnest {

// Does nothing unless direction is 1. Every point goes where
// TSearchFrame::Turned sends it; the shapes' own operations do the turn, so
// that arcs keep their angles.
void TurnForStartingDirection(part2d_array_any& parts, stock2d_array_any& stocks,
                              int32_t direction);

}  // namespace varnest
