#pragma once
// Which part holes are worth keeping open. A usable hole is left open in the
// part's grids, so other parts may be placed inside it and the part may be
// placed so that a stock defect lies inside it; a hole that is not usable is
// rasterised as solid material.

#include "varnest/model/part.h"
#include "varnest/model/stock.h"

namespace varnest {

// After part and stock preparation. A hole with FNestInside set is usable when
// some nestable part, in some kept rotation, fits the hole's box (its grown
// box for a polygon, its defined diameter for a circle), or the box of some
// stock defect fits it. A hole that the cutter's inward offset swallowed is
// not usable in that rotation: nothing can be placed in it. The flag is
// written on the rotated, the shifted and the defined hole.
void CheckHoleUsability(part2d_array_any& parts, const stock2d_array_any& stocks);

}  // namespace varnest
