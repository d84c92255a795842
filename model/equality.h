#pragma once
// Equality of problem records under a tolerance. Equal neighbours share
// preparation (parts), grids (parts and stocks, along the processing order)
// and layouts, so two records count as equal only when everything that
// shapes their grids and orientation tables agrees.

#include <cstdint>
#include <vector>

#include "varnest/model/hole.h"
#include "varnest/model/part.h"
#include "varnest/model/stock.h"

namespace varnest {

// Same kind, same nest-inside flag, the same polygon or circle. Two holes
// that enclose nothing (a shape never given, or a polygon without vertices)
// are equal: both are no hole.
bool SameHole(const TTrueHole& a, const TTrueHole& b, double tolerance);

// mode is the engine's RotationCenter. Polygon parts: the same outline, step,
// mirror flag (by its meaning: mirrored or not) and, in mode 0, the same given
// centre. Circle parts: the same circle and mirror flag; with holes also the
// same step and, in mode 0, the same centre, since those turn the holes. Parts
// of any other kind are never equal to anything.
bool SamePart(const part2d_any& a, const part2d_any& b, double tolerance, int32_t mode);

// For every position of the processing order, whether the part there is
// SamePart with the part at the position before (never at position 0). Such
// neighbours share their grids and their area budget; the relation is read
// by every stage after preparation, so it is worked out once.
std::vector<uint8_t> EqualNeighbours(const part2d_array_any& parts,
                                     const std::vector<int32_t>& order, double tolerance,
                                     int32_t mode);

// The same outline or circle and the same holes. A circle stock's margin
// shrinks its usable circle, so circle stocks also need equal margins.
bool SameStock(const stock2d_any& a, const stock2d_any& b, double tolerance);

}  // namespace varnest
