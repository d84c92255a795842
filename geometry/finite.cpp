#include "varnest/geometry/finite.h"

#include <cmath>

namespace varnest {

namespace {

bool Finite(TPoint2D p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

}  // namespace

bool IsFinite(const TBox& box) {
  return std::isfinite(box.FMinX) && std::isfinite(box.FMinY) && std::isfinite(box.FMaxX) &&
         std::isfinite(box.FMaxY) && std::isfinite(box.FWidth) && std::isfinite(box.FHeight);
}

bool IsFinite(const TPolygon& polygon) {
  for (const TPolygonVertex& v : polygon.FVertices) {
    if (!std::isfinite(v.X) || !std::isfinite(v.Y)) return false;
  }
  for (const TPolygonArc& arc : polygon.FArcs) {
    if (arc.IsArc == 0) continue;
    if (!Finite(arc.Center) || !Finite(arc.StartPoint) || !Finite(arc.EndPoint) ||
        !std::isfinite(arc.Radius) || !std::isfinite(arc.StartAngle) ||
        !std::isfinite(arc.EndAngle) || !std::isfinite(arc.SweepAngle)) {
      return false;
    }
  }
  return IsFinite(static_cast<const TBox&>(polygon));
}

bool IsFinite(const TCircle& circle) {
  return Finite(circle.FCenter) && std::isfinite(circle.FRadius) &&
         IsFinite(static_cast<const TBox&>(circle));
}

bool IsFinite(const TBaseShape& shape) {
  if (shape.IsPolygon()) {
    if (shape.FPolygon && !IsFinite(*shape.FPolygon)) return false;
  } else if (shape.FCircle && !IsFinite(*shape.FCircle)) {
    return false;
  }
  return IsFinite(static_cast<const TBox&>(shape));
}

}  // namespace varnest
