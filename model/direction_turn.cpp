#include "varnest/model/direction_turn.h"

#include <utility>

namespace varnest {

namespace {

constexpr TPoint2D kOrigin{0.0, 0.0};

void TurnPolygon(TPolygon& polygon, double h) {
  polygon.Rotate(kOrigin, 90.0);
  polygon.Translate(h, 0.0);
  std::swap(polygon.FMaxX, polygon.FMaxY);
  std::swap(polygon.FWidth, polygon.FHeight);
}

void TurnShape(TBaseShape& shape, double h) {
  shape.Rotate(kOrigin, 90.0);
  shape.Translate(h, 0.0);
}

// The stored box of a part hole turns with it. The whole box is written, the
// maxima included, so that it stays one consistent box in the turned frame.
void TurnHole(TTrueHole& hole, double h) {
  TurnShape(hole.FShape, h);
  TBaseShape& s = hole.FShape;
  const TBox old = s;
  s.FMinX = h - old.FMaxY;
  s.FMinY = old.FMinX;
  s.FMaxX = h - old.FMinY;
  s.FMaxY = old.FMaxX;
  s.FWidth = old.FHeight;
  s.FHeight = old.FWidth;
}

void TurnPartHoles(part2d_any& part, size_t k, double h1, double h2) {
  if (k < part.FRotatedHoles.size()) {
    for (TTrueHole& hole : part.FRotatedHoles[k]) TurnHole(hole, h1);
  }
  if (k < part.FShiftedHoles.size()) {
    for (TTrueHole& hole : part.FShiftedHoles[k]) TurnHole(hole, h2);
  }
}

}  // namespace

void TurnForStartingDirection(part2d_array_any& parts, stock2d_array_any& stocks,
                              int32_t direction) {
  if (direction != kDirectionAlongY) return;
  for (part2d_any& part : parts) {
    const size_t rotations =
        part.FNumberOfRotations > 0 ? static_cast<size_t>(part.FNumberOfRotations) : 0;
    if (part.IsPolygon()) {
      for (size_t k = 0;
           k < rotations && k < part.FRotatedOutlines.size() && k < part.FOffsetOutlines.size();
           ++k) {
        const double h1 = part.FRotatedOutlines[k].FMaxY;
        const double h2 = part.FOffsetOutlines[k].FMaxY;
        TurnPolygon(part.FRotatedOutlines[k], h1);
        TurnPolygon(part.FOffsetOutlines[k], h2);
        TurnPartHoles(part, k, h1, h2);
      }
    } else if (part.FShiftedCircle && part.FOffsetCircle) {
      // The circles themselves need no turn: their boxes are squares at the
      // origin. Their holes turn about them.
      const double h1 = part.FShiftedCircle->FMaxY;
      const double h2 = part.FOffsetCircle->FMaxY;
      for (size_t k = 0; k < rotations; ++k) TurnPartHoles(part, k, h1, h2);
    }
  }
  for (stock2d_any& stock : stocks) {
    double h = 0.0;
    if (stock.IsPolygon()) {
      if (!stock.FOffsetOutline) continue;
      h = stock.FOffsetOutline->FMaxY;
      TurnPolygon(*stock.FOffsetOutline, h);
    } else {
      if (!stock.FOffsetCircle) continue;
      h = stock.FOffsetCircle->FMaxY;
    }
    // Stock defects keep their stored boxes: nothing reads them after this.
    for (TTrueHole& hole : stock.FShiftedHoles) TurnShape(hole.FShape, h);
  }
}

}  // namespace varnest
