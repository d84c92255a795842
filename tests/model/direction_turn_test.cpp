#include <gtest/gtest.h>

#include "varnest/model/direction_turn.h"
#include "tests/geometry/shape_corpus.h"

namespace varnest {
namespace {

using corpus::kPrecision;
using corpus::MakePolygon;
using corpus::Measured;

TTrueHole SquareHole(double x0, double y0, double size) {
  TTrueHole hole;
  hole.FShape.FPolygon = Measured(MakePolygon({{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}}));
  hole.FShape.ComputeBoundingBox(kPrecision);
  return hole;
}

part2d_any PreparedRectanglePart() {
  part2d_any part;
  part.FShapeType = kShapePolygon;
  part.FNumberOfRotations = 1;
  part.FRotatedOutlines.push_back(Measured(MakePolygon({{0, 0}, {30, 0}, {30, 10}, {0, 10}})));
  part.FOffsetOutlines.emplace_back(Measured(MakePolygon({{0, 0}, {32, 0}, {32, 12}, {0, 12}})));
  part.FRotatedHoles.push_back({SquareHole(5, 2, 3)});
  part.FShiftedHoles.push_back({SquareHole(6, 3, 3)});
  return part;
}

void ExpectStoredBoxIsTheShapesBox(const TTrueHole& hole) {
  TBaseShape copy = hole.FShape;
  copy.ComputeBoundingBox(kPrecision);
  EXPECT_NEAR(hole.FShape.FMinX, copy.FMinX, 1e-12);
  EXPECT_NEAR(hole.FShape.FMinY, copy.FMinY, 1e-12);
  EXPECT_NEAR(hole.FShape.FMaxX, copy.FMaxX, 1e-12);
  EXPECT_NEAR(hole.FShape.FMaxY, copy.FMaxY, 1e-12);
  EXPECT_NEAR(hole.FShape.FWidth, copy.FWidth, 1e-12);
  EXPECT_NEAR(hole.FShape.FHeight, copy.FHeight, 1e-12);
}

TEST(DirectionTurn, PolygonPartTurnsWithItsBoxAtTheOrigin) {
  part2d_array_any parts{PreparedRectanglePart()};
  stock2d_array_any stocks;
  TurnForStartingDirection(parts, stocks, 1);
  const TPolygon& turned = parts[0].FRotatedOutlines[0];
  EXPECT_EQ(turned.FWidth, 10);
  EXPECT_EQ(turned.FHeight, 30);
  EXPECT_EQ(turned.FMaxX, 10);
  EXPECT_EQ(turned.FMaxY, 30);
  EXPECT_EQ(turned.FMinX, 0);
  // (30, 0) goes to (10, 30).
  EXPECT_NEAR(turned.FVertices[1].X, 10, 1e-12);
  EXPECT_NEAR(turned.FVertices[1].Y, 30, 1e-12);
  TPolygon check = turned;
  check.ComputeBoundingBox(kPrecision);
  EXPECT_NEAR(check.FMinX, 0, 1e-12);
  EXPECT_NEAR(check.FMaxY, 30, 1e-12);
  EXPECT_EQ(parts[0].FOffsetOutlines[0].FWidth, 12);
  // The holes turn with their outlines; their stored boxes follow.
  ExpectStoredBoxIsTheShapesBox(parts[0].FRotatedHoles[0][0]);
  ExpectStoredBoxIsTheShapesBox(parts[0].FShiftedHoles[0][0]);
  EXPECT_NEAR(parts[0].FRotatedHoles[0][0].FShape.FMinX, 10 - 5, 1e-12);
  EXPECT_NEAR(parts[0].FShiftedHoles[0][0].FShape.FMinX, 12 - 6, 1e-12);
}

TEST(DirectionTurn, DirectionZeroChangesNothing) {
  part2d_array_any parts{PreparedRectanglePart()};
  stock2d_array_any stocks;
  TurnForStartingDirection(parts, stocks, 0);
  EXPECT_EQ(parts[0].FRotatedOutlines[0].FWidth, 30);
  EXPECT_EQ(parts[0].FRotatedOutlines[0].FVertices[1].X, 30);
}

TEST(DirectionTurn, CirclePartHolesAndStocks) {
  part2d_any circle;
  circle.FShapeType = kShapeCircle;
  circle.FNumberOfRotations = 1;
  circle.FShiftedCircle = TCircle({10, 10}, 10);
  circle.FShiftedCircle->ComputeBoundingBox();
  circle.FOffsetCircle = TOffsetCircle(TCircle({11, 11}, 11));
  circle.FOffsetCircle->ComputeBoundingBox();
  circle.FRotatedHoles.push_back({SquareHole(2, 3, 4)});
  circle.FShiftedHoles.push_back({SquareHole(3, 4, 4)});
  part2d_array_any parts{circle};

  stock2d_any stock;
  stock.FShapeType = kShapePolygon;
  stock.FOffsetOutline = TOffsetPolygon(Measured(MakePolygon({{0, 0}, {50, 0}, {50, 20}, {0, 20}})));
  stock.FShiftedHoles.push_back(SquareHole(10, 5, 2));
  stock2d_array_any stocks{stock};

  TurnForStartingDirection(parts, stocks, 1);
  EXPECT_EQ(parts[0].FShiftedCircle->FCenter.X, 10);  // circles are not turned
  const TPolygon& hole = *parts[0].FRotatedHoles[0][0].FShape.FPolygon;
  EXPECT_NEAR(hole.FVertices[0].X, 20 - 3, 1e-12);  // (H1 - y, x)
  EXPECT_NEAR(hole.FVertices[0].Y, 2, 1e-12);
  ExpectStoredBoxIsTheShapesBox(parts[0].FShiftedHoles[0][0]);

  EXPECT_EQ(stocks[0].FOffsetOutline->FWidth, 20);
  EXPECT_EQ(stocks[0].FOffsetOutline->FMaxY, 50);
  const TTrueHole& defect = stocks[0].FShiftedHoles[0];
  EXPECT_NEAR(defect.FShape.FPolygon->FVertices[0].X, 20 - 5, 1e-12);
  EXPECT_EQ(defect.FShape.FMinX, 10);  // stock defects keep their stored box
}

}  // namespace
}  // namespace varnest
