#pragma once
// Equality of problem records under a tolerance. Equal neighbours share
// preparation (parts), grids (parts and stocks, along the processing order)
// and layouts, so two records count as equal only when everything that
// shapes their grids and orientation tables agrees.

#include <cstdint>

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

// The same outline or circle and the same holes. A circle stock's margin
// shrinks its usable circle, so circle stocks also need equal margins.
bool SameStock(const stock2d_any& a, const stock2d_any& b, double tolerance);

}  // namespace varnest
