#include <gtest/gtest.h>

#include <cmath>

#include "varnest/engine/varnest2d.h"
#include "varnest/geometry/arc_primitives.h"
#include "varnest/model/input_check.h"

namespace varnest {
namespace {

constexpr double kPrecision = 1e-6;

void DefineSquarePart(TVarnest2D& engine, int32_t index, bool clockwise, int32_t holes = 0) {
  engine.SetPart(index, 0, 4, 0, 0, 0, holes, 0, 0, 0, 0, 0, index);
  const double xs[4] = {0, 10, 10, 0};
  const double ys[4] = {0, 0, 10, 10};
  for (int32_t v = 0; v < 4; ++v) {
    const int32_t k = clockwise ? 3 - v : v;
    engine.SetPartVertex(index, v, xs[k], ys[k], v);
  }
}

TEST(InputCheck, SquareAreasAndFindings) {
  TVarnest2D engine;
  engine.set_NumberOfParts(2);
  DefineSquarePart(engine, 0, false);
  DefineSquarePart(engine, 1, true);
  error_info info;
  CheckInput(engine.FParts, engine.FStocks, kPrecision, info);
  EXPECT_DOUBLE_EQ(engine.FParts[0].FArea, 100);
  EXPECT_DOUBLE_EQ(engine.FParts[0].FNetArea, 100);
  EXPECT_DOUBLE_EQ(engine.FParts[1].FArea, -100);
  EXPECT_DOUBLE_EQ(engine.FParts[1].FNetArea, 100);
  EXPECT_EQ(info.FCode, kErrorPartOutlineClockwise);
  EXPECT_EQ(info.FIndex, 1);
  EXPECT_EQ(info.FSubIndex, 0);
  // Boxes and areas of the outline itself are filled too.
  EXPECT_EQ(engine.FParts[1].FOutline->FWidth, 10);

  TVarnest2D single;
  single.set_NumberOfParts(1);
  DefineSquarePart(single, 0, false);
  error_info none;
  CheckInput(single.FParts, single.FStocks, kPrecision, none);
  EXPECT_EQ(none.FCode, 0);
}

// Each finding overwrites the previous one: parts first, then stocks.
TEST(InputCheck, LastFindingInCheckOrderWins) {
  TVarnest2D engine;
  engine.set_NumberOfParts(3);
  for (int32_t i = 0; i < 3; ++i) DefineSquarePart(engine, i, i == 2);
  engine.set_NumberOfStockPieces(1);
  engine.SetStock(0, 0, 4, 0, 0, 0, 2, 0.0, 0, 0);
  const double sx[4] = {0, 100, 100, 0}, sy[4] = {0, 0, 100, 100};
  for (int32_t v = 0; v < 4; ++v) engine.SetStockVertex(0, v, sx[v], sy[v], v);
  engine.SetStockHole(0, 0, 1, 0, 50, 50, 5, 0.0, 0);
  engine.SetStockHole(0, 1, 0, 3, 0, 0, 0, 0.0, 1);
  engine.SetStockHoleVertex(0, 1, 0, 10, 10, 0);  // clockwise triangle
  engine.SetStockHoleVertex(0, 1, 1, 10, 20, 0);
  engine.SetStockHoleVertex(0, 1, 2, 20, 10, 0);
  error_info info;
  CheckInput(engine.FParts, engine.FStocks, kPrecision, info);
  EXPECT_EQ(info.FCode, kErrorStockHoleClockwise);
  EXPECT_EQ(info.FIndex, 0);
  EXPECT_EQ(info.FSubIndex, 1);
  EXPECT_NEAR(engine.FStocks[0].FNetArea, 10000 - 25 * kPi - 50, 1e-9);
}

TEST(InputCheck, HolesAreTakenOffTheNetArea) {
  TVarnest2D engine;
  engine.set_NumberOfParts(2);
  DefineSquarePart(engine, 0, false, 1);
  engine.SetPartHole(0, 0, 1, 0, 5, 5, 1, 1, 7);
  DefineSquarePart(engine, 1, false, 2);
  engine.SetPartHole(1, 0, 0, 4, 0, 0, 0, 0, 0);
  const double hx[4] = {2, 2, 4, 4}, hy[4] = {2, 4, 4, 2};  // clockwise, area 4
  for (int32_t v = 0; v < 4; ++v) engine.SetPartHoleVertex(1, 0, v, hx[v], hy[v], v);
  // Hole 1 is never defined: an empty shape that takes nothing off.
  error_info info;
  CheckInput(engine.FParts, engine.FStocks, kPrecision, info);
  EXPECT_NEAR(engine.FParts[0].FNetArea, 100 - kPi, 1e-12);
  const TCircle& circle = *engine.FParts[0].FHoles[0].FShape.FCircle;
  EXPECT_EQ(circle.FMinX, 4);
  EXPECT_DOUBLE_EQ(circle.FArea, kPi);
  EXPECT_EQ(engine.FParts[0].FHoles[0].FShape.FMinX, 0);  // the hole's own box waits
  EXPECT_DOUBLE_EQ(engine.FParts[1].FNetArea, 96);
  EXPECT_EQ(info.FCode, kErrorPartHoleClockwise);
  EXPECT_EQ(info.FIndex, 1);
  EXPECT_EQ(info.FSubIndex, 0);
}

TEST(InputCheck, ArcsAreCompleted) {
  TVarnest2D engine;
  engine.set_NumberOfParts(1);
  DefineSquarePart(engine, 0, false);
  engine.SetPartArc(0, 1, 10, 5, 0, 3);   // a half circle out of the right edge
  engine.SetPartArc(0, 2, 10, 10, 0, 4);  // centred on its start vertex: no direction
  error_info info;
  CheckInput(engine.FParts, engine.FStocks, kPrecision, info);
  const TPolygon& outline = *engine.FParts[0].FOutline;
  const TPolygonArc& arc = outline.FArcs[1];
  EXPECT_EQ(arc.StartPoint.X, 10);
  EXPECT_EQ(arc.EndPoint.Y, 10);
  EXPECT_DOUBLE_EQ(arc.Radius, 5);
  EXPECT_NEAR(arc.StartAngle, 270, 1e-12);
  EXPECT_NEAR(arc.EndAngle, 90, 1e-12);
  EXPECT_NEAR(arc.SweepAngle, 180, 1e-12);
  EXPECT_EQ(outline.FArcs[2].IsArc, 0);  // treated as the straight edge it is
  EXPECT_NEAR(engine.FParts[0].FArea, 100 + 12.5 * kPi, 1e-9);
  EXPECT_NEAR(outline.FMaxX, 15, 1e-12);
}

TEST(InputCheck, CirclesAndShapelessRecords) {
  TVarnest2D engine;
  engine.set_NumberOfParts(3);
  engine.SetPart(0, 1, 0, 20, 30, 10, 0, 0, 0, 0, 0, 0, 0);
  engine.SetPart(1, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);  // an unknown kind: no shape
  engine.SetPart(2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2);  // a polygon of no vertices
  engine.set_NumberOfStockPieces(1);
  engine.SetStock(0, 1, 0, 0, 0, 100, 0, 5.0, 0, 0);
  error_info info;
  CheckInput(engine.FParts, engine.FStocks, kPrecision, info);
  EXPECT_DOUBLE_EQ(engine.FParts[0].FArea, 100 * kPi);
  EXPECT_EQ(engine.FParts[0].FCircle->FMaxY, 40);
  EXPECT_EQ(engine.FParts[1].FArea, 0);
  EXPECT_EQ(engine.FParts[1].FNetArea, 0);
  EXPECT_EQ(engine.FParts[2].FArea, 0);
  EXPECT_DOUBLE_EQ(engine.FStocks[0].FArea, 10000 * kPi);
  EXPECT_EQ(info.FCode, 0);
}

TEST(MakeAreasAbsolute, PartsAndStocks) {
  part2d_array_any parts(1);
  stock2d_array_any stocks(1);
  parts[0].FArea = -5;
  parts[0].FNetArea = -1;
  stocks[0].FArea = -7;
  MakeAreasAbsolute(parts, stocks);
  EXPECT_EQ(parts[0].FArea, 5);
  EXPECT_EQ(parts[0].FNetArea, 1);
  EXPECT_EQ(stocks[0].FArea, 7);
}

}  // namespace
}  // namespace varnest
