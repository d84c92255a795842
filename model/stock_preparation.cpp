#include "varnest/model/stock_preparation.h"

#include <utility>

#include "varnest/geometry/finite.h"
#include "varnest/model/run_settings.h"

namespace varnest {

namespace {

// The defects as defined, with their boxes, copied into the prepared frame.
void ShiftHoles(stock2d_any& stock, double dx, double dy, bool reorient, double precision) {
  stock.FShiftedHoles.resize(stock.FNumberOfHoles > 0 ? stock.FHoles.size() : 0);
  for (size_t j = 0; j < stock.FShiftedHoles.size(); ++j) {
    TTrueHole& hole = stock.FHoles[j];
    if (hole.FShape.IsPolygon() && hole.FShape.FPolygon)
      hole.FShape.FPolygon->RefreshArcs(precision);
    hole.FShape.ComputeBoundingBox(precision);
    TTrueHole& shifted = stock.FShiftedHoles[j];
    shifted = hole;
    if (shifted.FShape.IsPolygon() && shifted.FShape.FPolygon) {
      TPolygon& polygon = *shifted.FShape.FPolygon;
      polygon.SplitArcsAtTheirEnds(precision);
      if (reorient && polygon.FArea < 0.0) polygon.MakeCounterClockwise(precision);
    }
    shifted.FShape.Translate(dx, dy);  // its stored box keeps the defined position
  }
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
  const double mx = offset.FMinX;
  const double my = offset.FMinY;
  offset.Translate(-mx, -my);
  offset.FMaxX -= mx;
  offset.FMaxY -= my;
  ShiftHoles(stock, -mx, -my, true, precision);
  offset.FMinX = 0.0;
  offset.FMinY = 0.0;
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
  const double mx = offset.FMinX;
  const double my = offset.FMinY;
  offset.FCenter.X -= mx;
  offset.FCenter.Y -= my;
  offset.FMaxX -= mx;
  offset.FMaxY -= my;
  ShiftHoles(stock, -mx, -my, false, precision);  // a circle stock's defects keep their order
  offset.FMinX = 0.0;
  offset.FMinY = 0.0;
  stock.FOffsetCircle = offset;
}

void PrepareStock(stock2d_any& stock, double precision) {
  if (stock.FShapeType == kShapePolygon) {
    PreparePolygonStock(stock, precision);
  } else if (stock.FShapeType == kShapeCircle) {
    PrepareCircleStock(stock, precision);
  }
}

bool IsUsableStock(const stock2d_any& stock) {
  if (stock.FRejected) return false;
  const TBox* box = nullptr;
  if (stock.FShapeType == kShapePolygon) {
    if (!stock.FOffsetOutline || stock.FOffsetOutline->NumberOfVertices() == 0 ||
        !IsFinite(*stock.FOffsetOutline)) {
      return false;
    }
    box = &*stock.FOffsetOutline;
  } else if (stock.FShapeType == kShapeCircle) {
    if (!stock.FOffsetCircle || !IsFinite(*stock.FOffsetCircle)) return false;
    box = &*stock.FOffsetCircle;
  } else {
    return false;
  }
  if (!(box->FWidth > 0.0) || !(box->FHeight > 0.0)) return false;
  for (const TTrueHole& hole : stock.FShiftedHoles) {
    if (!IsFinite(hole.FShape)) return false;
  }
  return true;
}

double PreparedExtent(const stock2d_any& stock) {
  if (!IsUsableStock(stock)) return 0.0;
  return stock.FShapeType == kShapePolygon ? stock.FOffsetOutline->FMaxX
                                           : stock.FOffsetCircle->FMaxX;
}

}  // namespace varnest
