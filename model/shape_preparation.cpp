#include "varnest/model/shape_preparation.h"

namespace varnest {

TTrueHole PreparedHoleCopy(TTrueHole& defined, bool reorient, double precision) {
  if (defined.FShape.IsPolygon() && defined.FShape.FPolygon) {
    defined.FShape.FPolygon->RefreshArcs(precision);
  }
  defined.FShape.ComputeBoundingBox(precision);
  TTrueHole copy = defined;
  if (copy.FShape.IsPolygon() && copy.FShape.FPolygon) {
    TPolygon& polygon = *copy.FShape.FPolygon;
    polygon.SplitArcsAtTheirEnds(precision);
    if (reorient && polygon.FArea < 0.0) polygon.MakeCounterClockwise(precision);
  }
  return copy;
}

void ResetBoxToOrigin(TBox& box) {
  box.FMaxX -= box.FMinX;
  box.FMaxY -= box.FMinY;
  box.FMinX = 0.0;
  box.FMinY = 0.0;
}

TPoint2D MoveToOrigin(TPolygon& polygon) {
  const TPoint2D minimum{polygon.FMinX, polygon.FMinY};
  polygon.Translate(-minimum.X, -minimum.Y);
  ResetBoxToOrigin(polygon);
  return minimum;
}

TPoint2D MoveToOrigin(TCircle& circle) {
  const TPoint2D minimum{circle.FMinX, circle.FMinY};
  circle.Translate(-minimum.X, -minimum.Y);
  ResetBoxToOrigin(circle);
  return minimum;
}

}  // namespace varnest
