#pragma once
// The steps that part and stock preparation share: a working copy of a
// defined hole, and moving a shape's box to the origin.

#include <cmath>

#include "varnest/geometry/circle.h"
#include "varnest/geometry/point.h"
#include "varnest/geometry/polygon.h"
#include "varnest/model/hole.h"

namespace varnest {

// A copy of a defined hole to prepare: the defined hole's arcs and box are
// refreshed first (the box serves the hole usability test); the copy has its
// full-turn and off-circle arcs split (TPolygon::SplitArcsAtTheirEnds) and,
// when reorient is set, is made counter-clockwise.
TTrueHole PreparedHoleCopy(TTrueHole& defined, bool reorient, double precision);

// The box made to start at the origin: its maxima less its minima, its minima
// 0. The shape itself is not moved.
void ResetBoxToOrigin(TBox& box);

// Moves the shape by minus its stored box minimum and resets the box to the
// origin; returns the minimum it moved by.
TPoint2D MoveToOrigin(TPolygon& polygon);
TPoint2D MoveToOrigin(TCircle& circle);

// The outer box of a grown shape (the box of its plain shape in the part's
// own frame), and the same widened by the cutter diameter: the placed
// geometry of a layout reads it.
template <typename Grown>
void SetOuterBox(Grown& grown, const TBox& plain) {
  grown.FOuterMinX = plain.FMinX;
  grown.FOuterMinY = plain.FMinY;
  grown.FOuterMaxX = plain.FMaxX;
  grown.FOuterMaxY = plain.FMaxY;
}
template <typename Grown>
void WidenOuterBox(Grown& grown, double cutterDiameter) {
  grown.FOuterMinX -= cutterDiameter;
  grown.FOuterMinY -= cutterDiameter;
  grown.FOuterMaxX += cutterDiameter;
  grown.FOuterMaxY += cutterDiameter;
}
template <typename Grown>
bool OuterBoxFinite(const Grown& grown) {
  return std::isfinite(grown.FOuterMinX) && std::isfinite(grown.FOuterMinY) &&
         std::isfinite(grown.FOuterMaxX) && std::isfinite(grown.FOuterMaxY);
}

}  // namespace varnest
