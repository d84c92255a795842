#include "varnest/model/stock_preparation.h"

#include <utility>

#include "varnest/geometry/finite.h"
#include "varnest/model/run_settings.h"
#include "varnest/model/shape_preparation.h"

namespace varnest {

namespace {

// The defects as defined, with their boxes, copied into the prepared frame.
void ShiftHoles(stock2d_any& stock, TPoint2D minimum, bool reorient, double precision) {
  stock.FShiftedHoles.resize(stock.FNumberOfHoles > 0 ? stock.FHoles.size() : 0);
  for (size_t j = 0; j < stock.FShiftedHoles.size(); ++j) {
    TTrueHole& shifted = stock.FShiftedHoles[j];
    shifted = PreparedHoleCopy(stock.FHoles[j], reorient, precision);
    shifted.FShape.Translate(-minimum.X, -minimum.Y);  // its stored box keeps the defined position
  }
}

// A usable stock has a prepared shape with finite numbers and a box of
// positive width and height, and finite defects. An unusable one keeps no
// prepared shape, so that the stages after preparation see at once that it
// takes no parts.
void KeepOnlyIfUsable(stock2d_any& stock) {
  const TBox* box = nullptr;
  bool finite = false;
  if (stock.FOffsetOutline) {
    box = &*stock.FOffsetOutline;
    finite = stock.FOffsetOutline->NumberOfVertices() > 0 && IsFinite(*stock.FOffsetOutline);
  } else if (stock.FOffsetCircle) {
    box = &*stock.FOffsetCircle;
    finite = IsFinite(*stock.FOffsetCircle);
  }
  bool usable =
      !stock.FRejected && box != nullptr && finite && box->FWidth > 0.0 && box->FHeight > 0.0;
  for (const TTrueHole& hole : stock.FShiftedHoles) usable = usable && IsFinite(hole.FShape);
  if (usable) return;
  stock.FOffsetOutline.reset();
  stock.FOffsetCircle.reset();
}

}  // namespace

void PreparePolygonStock(stock2d_any& stock, double precision) {
  if (!stock.IsPolygon() || !stock.FOutline) {
    stock.FOffsetOutline.reset();
    return;
  }
  TPolygon& outline = *stock.FOutline;
  outline.ComputeBoundingBox(precision);
  TOffsetPolygon offset(outline);
  // The prepared outline takes full turns apart; the defined one stays as
  // given.
  offset.SplitArcsAtTheirEnds(precision);
  if (stock.FArea < 0.0) offset.MakeCounterClockwise(precision);
  ShiftHoles(stock, MoveToOrigin(offset), true, precision);
  stock.FOffsetOutline = std::move(offset);
}

void PrepareCircleStock(stock2d_any& stock, double precision) {
  if (stock.FShapeType != kShapeCircle || !stock.FCircle) {
    stock.FOffsetCircle.reset();
    return;
  }
  TCircle& circle = *stock.FCircle;
  circle.ComputeBoundingBox();
  TOffsetCircle offset(circle);
  // A negative margin would make the usable circle larger than the sheet.
  offset.FRadius -= NonNegativeLength(stock.FMargin);
  offset.ComputeBoundingBox();
  // A circle stock's defects keep their orientation.
  ShiftHoles(stock, MoveToOrigin(offset), false, precision);
  stock.FOffsetCircle = offset;
}

void PrepareStock(stock2d_any& stock, double precision) {
  if (stock.FShapeType == kShapePolygon) {
    PreparePolygonStock(stock, precision);
  } else if (stock.FShapeType == kShapeCircle) {
    PrepareCircleStock(stock, precision);
  }
  KeepOnlyIfUsable(stock);
}

bool IsUsableStock(const stock2d_any& stock) {
  return stock.FShapeType == kShapePolygon
             ? stock.FOffsetOutline.has_value()
             : stock.FShapeType == kShapeCircle && stock.FOffsetCircle.has_value();
}

double PreparedExtent(const stock2d_any& stock) {
  if (!IsUsableStock(stock)) return 0.0;
  return stock.FShapeType == kShapePolygon ? stock.FOffsetOutline->FMaxX
                                           : stock.FOffsetCircle->FMaxX;
}

}  // namespace varnest
