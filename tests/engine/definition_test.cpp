#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "varnest/engine/varnest2d.h"
#include "fixtures/demo_problem.h"
#include "varnest/model/rotations.h"

namespace varnest {
namespace {

struct PartView {
  int32_t type = -99, vertices = -99, holes = -99, mirror = -99, priority = -99, id = -99;
  double cx = -99, cy = -99, r = -99, step = -99, rcx = -99, rcy = -99;
};

PartView ReadPart(const TVarnest2D& engine, int32_t index) {
  PartView v;
  engine.GetPart(index, v.type, v.vertices, v.cx, v.cy, v.r, v.holes, v.step, v.rcx, v.rcy,
                 v.mirror, v.priority, v.id);
  return v;
}

TEST(Definition, CountsCreateFreshRecords) {
  TVarnest2D engine;
  engine.set_NumberOfParts(3);
  engine.set_NumberOfStockPieces(2);
  ASSERT_EQ(engine.get_NumberOfParts(), 3);
  for (int32_t i = 0; i < 3; ++i) {
    const part2d_any& part = engine.FParts[i];
    EXPECT_EQ(part.FShapeType, 0);
    EXPECT_FALSE(part.FOutline);
    EXPECT_EQ(part.FIndex, i);
    EXPECT_EQ(part.FId, -1);
  }
  EXPECT_EQ(engine.FStocks[1].FIndex, 1);
  EXPECT_EQ(engine.FStocks[1].FGridIndex, -1);
  PartView fresh = ReadPart(engine, 2);
  EXPECT_EQ(fresh.type, 0);
  EXPECT_EQ(fresh.vertices, 0);
  EXPECT_EQ(fresh.id, -1);

  engine.set_NumberOfParts(0);
  EXPECT_EQ(engine.get_NumberOfParts(), 0);
  engine.SetPart(0, 0, 4, 0, 0, 0, 0, 0.0, 0, 0, 0, 0, 5);  // no part 0 any more
  EXPECT_EQ(engine.get_NumberOfParts(), 0);
  engine.set_NumberOfStockPieces(-4);
  EXPECT_EQ(engine.get_NumberOfStockPieces(), 0);
}

TEST(Definition, RotationCountFollowsTheStep) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    int32_t type, holes;
    double step;
    int32_t rotations;
  };
  const Case cases[] = {
      {0, 0, 45.0, 8},     {0, 0, 90.0, 4},   {0, 0, 180.0, 2},    {0, 0, 7.0, 51},
      {0, 0, 0.0, 1},      {0, 0, -90.0, 1},  {0, 0, 1e-7, 1},     // within Precision of 0
      {0, 0, 360.0, 1},    {0, 0, 720.0, 1},  {0, 0, inf, 1},      {0, 0, nan, 1},
      {0, 0, 1e-5, kMaxRotations},  // more rotations than a run can prepare
      {1, 0, 45.0, 1},     {1, 0, 7.0, 1},    // a circle without holes never turns
      {1, 2, 45.0, 8},     {1, -1, 90.0, 1},
  };
  for (const Case& c : cases) {
    TVarnest2D engine;
    engine.set_NumberOfParts(1);
    engine.SetPart(0, c.type, c.type == 0 ? 3 : 0, 1, 2, 3, c.holes, c.step, 0, 0, 0, 0, 0);
    EXPECT_EQ(engine.FParts[0].FNumberOfRotations, c.rotations)
        << "type " << c.type << " step " << c.step;
    if (std::isnan(c.step)) {
      EXPECT_TRUE(std::isnan(ReadPart(engine, 0).step));  // stored as given
    }
  }
}

// With more rotations than a run prepares, the kept ones would stop short of
// the full turn: a step below 0.01 degree is taken as 0.01.
TEST(Definition, TheRotationsOfATinyStepGoRoundTheWholeCircle) {
  for (const double step : {0.005, 0.0099, 1e-5}) {
    TVarnest2D engine;
    engine.set_NumberOfParts(1);
    engine.SetPart(0, 0, 3, 0, 0, 0, 0, step, 0, 0, 0, 0, 0);
    const part2d_any& part = engine.FParts[0];
    EXPECT_EQ(part.FRotationStep, kMinRotationStep) << step;
    EXPECT_GE((part.FNumberOfRotations - 1) * part.FRotationStep, 359.98) << step;
  }
  TVarnest2D engine;
  engine.set_NumberOfParts(1);
  engine.SetPart(0, 0, 3, 0, 0, 0, 0, 0.5, 0, 0, 0, 0, 0);
  EXPECT_EQ(engine.FParts[0].FRotationStep, 0.5);  // steps that fit are kept as given
}

TEST(Definition, AStepWhoseCountOverflowsAnIntIsClamped) {
  TVarnest2D engine;
  engine.set_Precision(0.0);  // the relative tolerance lets a step of 1e-9 through
  engine.set_NumberOfParts(1);
  engine.SetPart(0, 0, 3, 0, 0, 0, 0, 1e-9, 0, 0, 0, 0, 0);  // 360 / step = 3.6e11
  EXPECT_EQ(engine.FParts[0].FNumberOfRotations, kMaxRotations);
}

TEST(Definition, PartShapesAndTheirAcceptanceRules) {
  TVarnest2D engine;
  engine.set_NumberOfParts(3);
  engine.SetPart(0, 0, 4, 9, 9, 9, 1, 90.0, 5, 5, 1, 2, 100);
  engine.SetPart(1, 1, 0, 20, 30, 10, 0, 0.0, 0, 0, 0, 0, 101);
  engine.SetPart(2, 7, 0, 1, 1, 1, 3, 0.0, 0, 0, 0, 0, 102);

  PartView polygon = ReadPart(engine, 0);
  EXPECT_EQ(polygon.type, 0);
  EXPECT_EQ(polygon.vertices, 4);
  EXPECT_EQ(polygon.cx + polygon.cy + polygon.r, 0.0);  // circle values of a polygon
  EXPECT_EQ(polygon.holes, 1);
  EXPECT_EQ(polygon.step, 90.0);
  EXPECT_EQ(polygon.rcx, 5.0);
  EXPECT_EQ(polygon.mirror, 1);
  EXPECT_EQ(polygon.priority, 2);
  EXPECT_EQ(polygon.id, 100);

  PartView circle = ReadPart(engine, 1);
  EXPECT_EQ(circle.type, 1);
  EXPECT_EQ(circle.vertices, 0);
  EXPECT_EQ(circle.cx, 20.0);
  EXPECT_EQ(circle.r, 10.0);

  // An unknown kind has no shape and no holes, but keeps what was passed.
  EXPECT_FALSE(engine.FParts[2].FOutline || engine.FParts[2].FCircle);
  EXPECT_TRUE(engine.FParts[2].FHoles.empty());
  EXPECT_EQ(ReadPart(engine, 2).type, 7);

  // Bad calls leave every record as it was.
  engine.SetPart(0, 0, -1, 0, 0, 0, 0, 0.0, 0, 0, 0, 0, 555);
  engine.SetPart(3, 0, 4, 0, 0, 0, 0, 0.0, 0, 0, 0, 0, 555);
  engine.SetPart(-1, 0, 4, 0, 0, 0, 0, 0.0, 0, 0, 0, 0, 555);
  EXPECT_EQ(ReadPart(engine, 0).id, 100);
  engine.SetPartVertex(1, 0, 5, 5, 5);   // circle part
  engine.SetPartVertex(0, -1, 5, 5, 5);  // negative index
  engine.SetPartVertex(0, 4, 5, 5, 5);   // past the last vertex
  engine.SetPartArc(0, 4, 5, 5, 1, 5);
  for (const TPolygonVertex& v : engine.FParts[0].FOutline->FVertices) {
    EXPECT_EQ(v.X, 0.0);
    EXPECT_EQ(v.Id, 0);
  }
  EXPECT_FALSE(engine.FParts[1].FOutline);
}

TEST(Definition, VertexAndArcCallsShareTheEdgeIndex) {
  TVarnest2D engine;
  engine.set_NumberOfParts(1);
  engine.SetPart(0, 0, 3, 0, 0, 0, 0, 0.0, 0, 0, 0, 0, 0);
  engine.SetPartVertex(0, 1, 4.0, 0.5, 11);
  engine.SetPartArc(0, 1, 2.0, 3.0, 0x101, 12);  // only the low byte of the flag counts
  const TPolygonArc& arc = engine.FParts[0].FOutline->FArcs[1];
  EXPECT_EQ(arc.IsArc, 1);
  EXPECT_EQ(arc.Center.X, 2.0);
  EXPECT_EQ(arc.Clockwise, 1);
  EXPECT_EQ(arc.Id, 12);
  // A vertex call after the arc call turns the edge back into a segment.
  engine.SetPartVertex(0, 1, 4.0, 0.5, 11);
  EXPECT_EQ(engine.FParts[0].FOutline->FArcs[1].IsArc, 0);
  EXPECT_EQ(engine.FParts[0].FOutline->FVertices[1].Id, 11);
}

TEST(Definition, HolesCanBeRedefinedAndIndicesAreChecked) {
  TVarnest2D engine;
  engine.set_NumberOfParts(1);
  engine.SetPart(0, 0, 4, 0, 0, 0, 2, 0.0, 0, 0, 0, 0, 0);
  engine.SetPartHole(0, 0, 0, 3, 0, 0, 0, 1, 40);
  engine.SetPartHoleVertex(0, 0, 2, 7.0, 8.0, 3);
  engine.SetPartHoleArc(0, 0, 2, 1.0, 1.0, 1, 4);
  engine.SetPartHole(0, 2, 1, 0, 5, 5, 1, 1, 41);   // hole index == count: ignored
  engine.SetPartHole(0, 1, 0, -2, 0, 0, 0, 1, 42);  // negative polygon count: ignored
  engine.SetPartHole(0, 1, 9, 0, 5, 6, 2, 0, 43);   // every non-zero kind is a circle

  const TTrueHole& polygonHole = engine.FParts[0].FHoles[0];
  EXPECT_EQ(polygonHole.FNestInside, 1);
  EXPECT_EQ(polygonHole.FUsable, 1);
  EXPECT_EQ(polygonHole.FShape.FPolygon->FVertices[2].X, 7.0);
  EXPECT_EQ(polygonHole.FShape.FPolygon->FArcs[2].IsArc, 1);

  int32_t type = -9, n = -9, nest = -9, id = -9;
  double cx = -9, cy = -9, r = -9;
  engine.GetPartHole(0, 1, type, n, cx, cy, r, nest, id);
  EXPECT_EQ(type, 9);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(cx, 5.0);
  EXPECT_EQ(r, 2.0);
  EXPECT_EQ(nest, 0);
  EXPECT_EQ(id, 43);

  // Redefining a hole replaces its shape only.
  engine.SetPartHole(0, 0, 1, 0, 1, 1, 3, 0, 44);
  EXPECT_EQ(engine.FParts[0].FHoles[0].FShape.FShapeType, 1);
  EXPECT_FALSE(engine.FParts[0].FHoles[0].FShape.FPolygon);
  EXPECT_EQ(engine.FParts[0].FHoles[0].FUsable, 0);
  // Vertex calls on a circle hole are ignored.
  engine.SetPartHoleVertex(0, 0, 0, 1, 1, 1);
  EXPECT_FALSE(engine.FParts[0].FHoles[0].FShape.FPolygon);

  int32_t untouched = 1234;
  engine.GetPartHole(0, 2, untouched, n, cx, cy, r, nest, id);
  EXPECT_EQ(untouched, 1234);
}

TEST(Definition, StocksAndTheirQueries) {
  TVarnest2D engine;
  engine.set_NumberOfStockPieces(2);
  engine.SetStock(0, 0, 3, 0, 0, 0, 1, 4.0, 7, 70);
  engine.SetStockVertex(0, 0, 1, 2, 5);
  engine.SetStockArc(0, 1, 3, 4, 1, 6);
  engine.SetStockHole(0, 0, 0, 3, 0, 0, 0, 2.5, 8);
  engine.SetStockHoleVertex(0, 0, 1, 9, 9, 1);
  engine.SetStockHoleArc(0, 0, 1, 8, 8, 0, 2);
  engine.SetStock(1, 1, 0, 50, 60, 40, 0, 5.0, 0, 71);
  EXPECT_EQ(engine.FStocks[0].FShiftedHoles.size(), 1u);

  int32_t type = -9, n = -9, holes = -9, priority = -9, id = -9;
  double cx = -9, cy = -9, r = -9, margin = -9;
  engine.GetStock(1, type, n, cx, cy, r, holes, margin, priority, id);
  EXPECT_EQ(type, 1);
  EXPECT_EQ(cy, 60.0);
  EXPECT_EQ(margin, 5.0);
  EXPECT_EQ(id, 71);

  double x = -9, y = -9;
  engine.GetStockVertex(0, 0, x, y, id);
  EXPECT_EQ(x, 1.0);
  EXPECT_EQ(id, 5);
  int32_t isArc = -9, clockwise = -9;
  engine.GetStockArc(0, 1, isArc, cx, cy, clockwise, id);
  EXPECT_EQ(isArc, 1);
  EXPECT_EQ(cy, 4.0);
  EXPECT_EQ(clockwise, 1);
  double value = -9;
  engine.GetStockHole(0, 0, type, n, cx, cy, r, value, id);
  EXPECT_EQ(type, 0);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(value, 2.5);
  engine.GetStockHoleVertex(0, 0, 1, x, y, id);
  EXPECT_EQ(x, 9.0);
  engine.GetStockHoleArc(0, 0, 1, isArc, cx, cy, clockwise, id);
  EXPECT_EQ(cx, 8.0);
  EXPECT_EQ(id, 2);

  // Bounds are zero until a run has measured the stock.
  double minX = -9, minY = -9, maxX = -9, maxY = -9;
  engine.GetStockBounds(0, minX, minY, maxX, maxY);
  EXPECT_EQ(minX + minY + maxX + maxY, 0.0);

  // Out-of-range queries leave their out-parameters alone.
  x = 42;
  engine.GetStockVertex(0, 3, x, y, id);
  engine.GetStockVertex(1, 0, x, y, id);  // circle stock
  engine.GetStockVertex(2, 0, x, y, id);
  EXPECT_EQ(x, 42.0);
}

TEST(Definition, UndefinedKindsReportWithTheirSign) {
  TVarnest2D engine;
  engine.set_NumberOfParts(1);
  engine.FParts[0].Reset();  // what SetPart does first: kind 255
  EXPECT_EQ(ReadPart(engine, 0).type, -1);
}

TEST(Definition, NonFiniteCoordinatesAreStoredAsGiven) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  TVarnest2D engine;
  engine.set_NumberOfParts(2);
  engine.SetPart(0, 0, 2, 0, 0, 0, 0, 0.0, nan, inf, 0, 0, 0);
  engine.SetPartVertex(0, 0, nan, -inf, 1);
  engine.SetPart(1, 1, 0, inf, nan, nan, 0, 0.0, 0, 0, 0, 0, 0);
  EXPECT_TRUE(std::isnan(engine.FParts[0].FOutline->FVertices[0].X));
  EXPECT_TRUE(std::isinf(engine.FParts[0].FOutline->FVertices[0].Y));
  EXPECT_TRUE(std::isnan(ReadPart(engine, 1).r));
  EXPECT_TRUE(std::isnan(ReadPart(engine, 0).rcx));
}

TEST(Definition, TheDemoProblemReadsBackAsDefined) {
  TVarnest2D engine;
  fixtures::DefineDemoProblem(engine, {45.0, 1, 2, 1, 7});
  EXPECT_EQ(engine.get_Resolution(), 0.1);
  EXPECT_EQ(engine.get_OptimizationLevel(), 7);
  EXPECT_EQ(engine.get_OptimizationStartingCorner(), 2);
  EXPECT_EQ(engine.get_OptimizationStartingDirection(), 1);
  ASSERT_EQ(engine.get_NumberOfParts(), 80);
  ASSERT_EQ(engine.get_NumberOfStockPieces(), 1);

  int32_t type = -9, n = -9, holes = -9, priority = -9, id = -9;
  double cx, cy, r, margin;
  engine.GetStock(0, type, n, cx, cy, r, holes, margin, priority, id);
  EXPECT_EQ(n, 6);
  EXPECT_EQ(holes, 2);
  const double expected[6][2] = {{10, 30}, {200, 10}, {290, 100}, {250, 200}, {10, 290}, {100, 100}};
  for (int32_t v = 0; v < 6; ++v) {
    double x = -1, y = -1;
    engine.GetStockVertex(0, v, x, y, id);
    EXPECT_EQ(x, expected[v][0]);
    EXPECT_EQ(y, expected[v][1]);
    EXPECT_EQ(id, v);
  }
  int32_t isArc = -1, clockwise = -1;
  engine.GetStockArc(0, 5, isArc, cx, cy, clockwise, id);
  EXPECT_EQ(isArc, 1);
  EXPECT_EQ(cx, 55.0);
  EXPECT_EQ(clockwise, 0);
  EXPECT_EQ(id, 7);
  double value;
  engine.GetStockHole(0, 1, type, n, cx, cy, r, value, id);
  EXPECT_EQ(type, 1);
  EXPECT_EQ(cx, 110.0);
  EXPECT_EQ(r, 20.0);

  const PartView a = ReadPart(engine, 19);
  EXPECT_EQ(a.vertices, 6);
  EXPECT_EQ(a.step, 45.0);
  EXPECT_EQ(a.mirror, 1);
  EXPECT_EQ(a.id, 19);
  EXPECT_EQ(engine.FParts[19].FNumberOfRotations, 8);
  const PartView b = ReadPart(engine, 25);
  EXPECT_EQ(b.vertices, 4);
  EXPECT_EQ(b.holes, 1);
  int32_t nest = -1;
  engine.GetPartHole(25, 0, type, n, cx, cy, r, nest, id);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(nest, 1);
  EXPECT_EQ(id, 25);
  const PartView circle = ReadPart(engine, 79);
  EXPECT_EQ(circle.type, 1);
  EXPECT_EQ(circle.r, 10.0);
  EXPECT_EQ(circle.cx, 20.0);
  EXPECT_EQ(engine.FParts[79].FNumberOfRotations, 1);
}

}  // namespace
}  // namespace varnest
