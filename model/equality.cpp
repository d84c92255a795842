#include "varnest/model/equality.h"

#include "varnest/geometry/fuzzy.h"

namespace varnest {

namespace {

bool Equal(double a, double b, double tolerance) { return FuzzyCompare(a, b, tolerance) == 0; }

bool SamePoint(TPoint2D a, TPoint2D b, double tolerance) {
  return Equal(a.X, b.X, tolerance) && Equal(a.Y, b.Y, tolerance);
}

bool SameHoles(const std::vector<TTrueHole>& a, const std::vector<TTrueHole>& b, double tolerance) {
  if (a.size() != b.size()) return false;
  for (size_t j = 0; j < a.size(); ++j) {
    if (!SameHole(a[j], b[j], tolerance)) return false;
  }
  return true;
}

}  // namespace

bool SameHole(const TTrueHole& a, const TTrueHole& b, double tolerance) {
  if (a.FShape.IsPolygon() != b.FShape.IsPolygon()) return false;
  if ((a.FNestInside != 0) != (b.FNestInside != 0)) return false;
  if (a.FShape.IsPolygon()) {
    const bool emptyA = !a.FShape.FPolygon || a.FShape.FPolygon->NumberOfVertices() == 0;
    const bool emptyB = !b.FShape.FPolygon || b.FShape.FPolygon->NumberOfVertices() == 0;
    if (emptyA || emptyB) return emptyA && emptyB;
    return a.FShape.FPolygon->SameShape(*b.FShape.FPolygon, tolerance);
  }
  if (!a.FShape.FCircle || !b.FShape.FCircle) return !a.FShape.FCircle && !b.FShape.FCircle;
  return a.FShape.FCircle->SameShape(*b.FShape.FCircle, tolerance);
}

bool SamePart(const part2d_any& a, const part2d_any& b, double tolerance, int32_t mode) {
  if (a.FShapeType != b.FShapeType || a.FNumberOfHoles != b.FNumberOfHoles) return false;
  if (a.MirrorCount() != b.MirrorCount()) return false;
  if (a.IsPolygon()) {
    if (!Equal(a.FRotationStep, b.FRotationStep, tolerance)) return false;
    if (mode == 0 && !SamePoint(a.FCenterOfRotation, b.FCenterOfRotation, tolerance)) return false;
    if (!a.FOutline || !b.FOutline || !a.FOutline->SameShape(*b.FOutline, tolerance)) return false;
  } else if (a.IsCircle()) {
    if (!a.FCircle || !b.FCircle || !a.FCircle->SameShape(*b.FCircle, tolerance)) return false;
    // Without holes a circle has one rotation whatever its step and centre.
    if (a.FNumberOfHoles > 0) {
      if (!Equal(a.FRotationStep, b.FRotationStep, tolerance)) return false;
      if (mode == 0 && !SamePoint(a.FCenterOfRotation, b.FCenterOfRotation, tolerance)) {
        return false;
      }
    }
  } else {
    return false;
  }
  return SameHoles(a.FHoles, b.FHoles, tolerance);
}

bool SameStock(const stock2d_any& a, const stock2d_any& b, double tolerance) {
  if (a.FShapeType != b.FShapeType) return false;
  if (a.FShapeType == kShapePolygon) {
    if (!a.FOutline || !b.FOutline || !a.FOutline->SameShape(*b.FOutline, tolerance)) return false;
  } else if (a.FShapeType == kShapeCircle) {
    if (!a.FCircle || !b.FCircle || !a.FCircle->SameShape(*b.FCircle, tolerance)) return false;
    if (!Equal(a.FMargin, b.FMargin, tolerance)) return false;
  } else {
    return false;
  }
  if (a.FNumberOfHoles != b.FNumberOfHoles) return false;
  return SameHoles(a.FHoles, b.FHoles, tolerance);
}

std::vector<uint8_t> EqualNeighbours(const part2d_array_any& parts,
                                     const std::vector<int32_t>& order, double tolerance,
                                     int32_t mode) {
  std::vector<uint8_t> equal(order.size(), 0);
  for (size_t i = 1; i < order.size(); ++i) {
    equal[i] = SamePart(parts[static_cast<size_t>(order[i])],
                        parts[static_cast<size_t>(order[i - 1])], tolerance, mode)
                   ? 1
                   : 0;
  }
  return equal;
}

}  // namespace varnest
