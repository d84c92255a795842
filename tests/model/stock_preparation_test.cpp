#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "varnest/engine/varnest2d.h"
#include "varnest/model/equality.h"
#include "varnest/model/input_check.h"
#include "varnest/model/stock_preparation.h"

namespace varnest {
namespace {

constexpr double kPrecision = 1e-6;

void DefinePolygonStock(TVarnest2D& engine, int32_t index,
                        std::initializer_list<std::pair<double, double>> vertices,
                        int32_t holes = 0, double margin = 0, int32_t priority = 0) {
  engine.SetStock(index, 0, static_cast<int32_t>(vertices.size()), 0, 0, 0, holes, margin,
                  priority, index);
  int32_t v = 0;
  for (const auto& [x, y] : vertices) {
    engine.SetStockVertex(index, v, x, y, v);
    ++v;
  }
}

void Check(TVarnest2D& engine) {
  error_info info;
  CheckInput(engine.FParts, engine.FStocks, kPrecision, info);
}

TEST(PreparePolygonStock, ClockwiseStockEndsCounterClockwiseAtTheOrigin) {
  TVarnest2D engine;
  engine.set_NumberOfStockPieces(1);
  DefinePolygonStock(engine, 0, {{10, 20}, {10, 70}, {110, 70}, {110, 20}}, 1);
  engine.SetStockHole(0, 0, 0, 3, 0, 0, 0, 4.5, 9);
  engine.SetStockHoleVertex(0, 0, 0, 20, 30, 0);  // clockwise
  engine.SetStockHoleVertex(0, 0, 1, 20, 40, 0);
  engine.SetStockHoleVertex(0, 0, 2, 30, 30, 0);
  Check(engine);
  stock2d_any& stock = engine.FStocks[0];
  PreparePolygonStock(stock, kPrecision);
  const TOffsetPolygon& offset = *stock.FOffsetOutline;
  EXPECT_FALSE(offset.IsClockwise(kPrecision));
  EXPECT_EQ(offset.FMinX, 0);
  EXPECT_EQ(offset.FMinY, 0);
  EXPECT_EQ(offset.FMaxX, 100);
  EXPECT_EQ(offset.FMaxY, 50);
  TPolygon check = offset;
  check.ComputeBoundingBox(kPrecision);
  EXPECT_EQ(check.FMinX, 0);
  EXPECT_EQ(check.FMaxY, 50);
  // The defect moves with the outline and turns counter-clockwise; its stored
  // box keeps the defined position.
  const TTrueHole& defect = stock.FShiftedHoles[0];
  EXPECT_FALSE(defect.FShape.FPolygon->IsClockwise(kPrecision));
  TPolygon moved = *defect.FShape.FPolygon;
  moved.ComputeBoundingBox(kPrecision);
  EXPECT_EQ(moved.FMinX, 10);
  EXPECT_EQ(moved.FMinY, 10);
  EXPECT_EQ(defect.FShape.FMinX, 20);
  EXPECT_EQ(defect.FValue, 4.5);
  EXPECT_EQ(defect.FId, 9);
  EXPECT_EQ(stock.FHoles[0].FShape.FWidth, 10);
  EXPECT_LT(stock.FArea, 0);
  part2d_array_any parts;
  MakeAreasAbsolute(parts, engine.FStocks);
  EXPECT_EQ(stock.FArea, 5000);
  EXPECT_TRUE(IsUsableStock(stock));
  EXPECT_EQ(PreparedExtent(stock), 100);
}

TEST(PrepareCircleStock, MarginShrinksTheUsableCircle) {
  TVarnest2D engine;
  engine.set_NumberOfStockPieces(1);
  engine.SetStock(0, 1, 0, 300, 400, 100, 1, 5.0, 0, 0);
  engine.SetStockHole(0, 0, 1, 0, 310, 420, 10, 0.0, 0);
  Check(engine);
  stock2d_any& stock = engine.FStocks[0];
  PrepareCircleStock(stock, kPrecision);
  const TOffsetCircle& circle = *stock.FOffsetCircle;
  EXPECT_EQ(circle.FRadius, 95);
  EXPECT_EQ(circle.FCenter.X, 95);
  EXPECT_EQ(circle.FCenter.Y, 95);
  EXPECT_EQ(circle.FMinX, 0);
  EXPECT_EQ(circle.FMaxX, 190);
  const TCircle& defect = *stock.FShiftedHoles[0].FShape.FCircle;
  EXPECT_EQ(defect.FCenter.X, 310 - 205);
  EXPECT_EQ(defect.FCenter.Y, 420 - 305);
  EXPECT_TRUE(IsUsableStock(stock));
  EXPECT_EQ(PreparedExtent(stock), 190);
}

TEST(IsUsableStock, DegenerateStocksAreSkipped) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  TVarnest2D engine;
  engine.set_NumberOfStockPieces(6);
  engine.SetStock(0, 1, 0, 0, 0, 5, 0, 5.0, 0, 0);   // margin eats the whole circle
  engine.SetStock(1, 1, 0, 0, 0, 5, 0, 7.0, 0, 1);   // and more
  engine.SetStock(2, 3, 0, 0, 0, 5, 0, 0.0, 0, 2);   // an unknown kind
  DefinePolygonStock(engine, 3, {{0, 0}, {10, 0}, {20, 0}});  // no height
  DefinePolygonStock(engine, 4, {{0, 0}, {nan, 0}, {10, 10}});
  DefinePolygonStock(engine, 5, {{0, 0}, {10, 0}, {10, 10}}, 1);
  engine.SetStockHole(5, 0, 1, 0, nan, 5, 1, 0.0, 0);  // a defect that is not finite
  Check(engine);
  for (int32_t i = 0; i < 6; ++i) {
    stock2d_any& stock = engine.FStocks[static_cast<size_t>(i)];
    PrepareStock(stock, kPrecision);
    EXPECT_FALSE(IsUsableStock(stock)) << i;
    EXPECT_EQ(PreparedExtent(stock), 0) << i;
  }
}

TEST(SameStock, ComparesWhatShapesTheGrid) {
  TVarnest2D engine;
  engine.set_NumberOfStockPieces(7);
  DefinePolygonStock(engine, 0, {{0, 0}, {10, 0}, {10, 10}});
  DefinePolygonStock(engine, 1, {{10, 0}, {10, 10}, {0, 0}}, 0, 3.0, 5);  // margin, priority
  DefinePolygonStock(engine, 2, {{0, 0}, {10, 0}, {10, 11}});
  DefinePolygonStock(engine, 3, {{0, 0}, {10, 0}, {10, 10}}, 1);
  engine.SetStockHole(3, 0, 1, 0, 7, 3, 1, 0.0, 0);
  engine.SetStock(4, 1, 0, 50, 50, 20, 0, 2.0, 0, 4);
  engine.SetStock(5, 1, 0, 50, 50, 20, 0, 2.0, 1, 5);
  engine.SetStock(6, 1, 0, 50, 50, 20, 0, 3.0, 0, 6);  // another margin
  Check(engine);
  const stock2d_array_any& s = engine.FStocks;
  EXPECT_TRUE(SameStock(s[0], s[1], kPrecision));  // a polygon ignores its margin
  EXPECT_FALSE(SameStock(s[0], s[2], kPrecision));
  EXPECT_FALSE(SameStock(s[0], s[3], kPrecision));
  EXPECT_TRUE(SameStock(s[4], s[5], kPrecision));
  EXPECT_FALSE(SameStock(s[4], s[6], kPrecision));  // the usable circles differ
  EXPECT_FALSE(SameStock(s[0], s[4], kPrecision));
}

}  // namespace
}  // namespace varnest
