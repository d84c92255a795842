#include "varnest/search/placed_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "search_fixture.h"

namespace varnest {
namespace {

using testing::Box;
using testing::BoxStock;

constexpr double kTolerance = 1e-9;

struct Extent {
  double minX = std::numeric_limits<double>::max();
  double minY = std::numeric_limits<double>::max();
  double maxX = std::numeric_limits<double>::lowest();
  double maxY = std::numeric_limits<double>::lowest();
  void Add(double x, double y) {
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
  }
};

Extent VertexExtent(const TPolygon& polygon) {
  Extent extent;
  for (const TPolygonVertex& v : polygon.FVertices) extent.Add(v.X, v.Y);
  return extent;
}

// An independent turn of a point, written out here rather than taken from
// the kernel.
TPoint2D Turned(TPoint2D p, TPoint2D c, double degrees) {
  const double a = degrees * std::acos(-1.0) / 180.0;
  return {c.X + std::cos(a) * (p.X - c.X) - std::sin(a) * (p.Y - c.Y),
          c.Y + std::sin(a) * (p.X - c.X) + std::cos(a) * (p.Y - c.Y)};
}

// A straight-edged pentagon part with kept rotations every 90 degrees about
// (3, 1), its grown outlines prepared as part preparation leaves them for a
// cutter d: the turned outline's box in the part's own frame widened by d
// as the outer box, the grown outline (here simply the turned outline moved
// to the origin and widened by d) with its box at the origin.
part2d_any Pentagon(double d) {
  part2d_any part;
  part.FShapeType = kShapePolygon;
  part.FIndex = 0;
  part.FId = 42;
  part.FRotationStep = 90;
  part.FCenterOfRotation = {3, 1};
  TPolygon outline(5);
  outline.FVertices = {{1, 2, 3}, {2, 8, 3}, {3, 9, 6}, {4, 5, 9}, {5, 2, 7}};
  part.FOutline = outline;
  part.FNumberOfRotations = 4;
  for (int32_t k = 0; k < 4; ++k) {
    Extent turned;
    for (const TPolygonVertex& v : outline.FVertices) {
      const TPoint2D p = Turned({v.X, v.Y}, part.FCenterOfRotation, 90.0 * k);
      turned.Add(p.X, p.Y);
    }
    TOffsetPolygon grown(Box(turned.maxX - turned.minX + 2 * d, turned.maxY - turned.minY + 2 * d));
    grown.FOuterMinX = turned.minX - d;
    grown.FOuterMinY = turned.minY - d;
    grown.FOuterMaxX = turned.maxX + d;
    grown.FOuterMaxY = turned.maxY + d;
    part.FOffsetOutlines.push_back(grown);
    part.FRotationMultiples.push_back(k);
  }
  return part;
}

TSearchLayout OnePiece(int32_t rotation, int32_t mirrored, TPoint2D grid, uint8_t shape = 0) {
  TSearchLayout layout;
  layout.FPieces.resize(1);
  layout.FPieces[0].FShapeType = shape;
  layout.FPieces[0].FRotationIndex = rotation;
  layout.FPieces[0].FMirrored = mirrored;
  layout.FPieces[0].FGridPosition = grid;
  layout.FNumberOfPlacedPieces = 1;
  layout.FPlacedArea = 33.5;
  return layout;
}

struct Placed {
  solutie solution;
  Chromosome layout;
};

Placed Build(const part2d_any& part, const stock2d_any& stock, const TSearchLayout& best,
             int32_t cutterType, double d, int32_t direction = 0) {
  Placed placed;
  placed.solution.FNumberOfParts = 1;
  placed.solution.FNumberOfStockPieces = 1;
  placed.solution.Reset();
  TRunSettings settings;
  settings.CutterType = cutterType;
  settings.CutterDiameter = d;
  settings.OptimizationStartingDirection = direction;
  BuildPlacedLayout(best, placed.solution, part2d_array_any{part}, stock2d_array_any{stock},
                    placed.layout, 0, settings);
  return placed;
}

stock2d_any StockAt(double minX, double minY) {
  stock2d_any stock = BoxStock(0, 100, 100);
  stock.FOutline->FMinX = minX;
  stock.FOutline->FMinY = minY;
  return stock;
}

TEST(BuildPlacedLayout, WithoutTurnMirrorOrCutterThePieceIsATranslation) {
  part2d_any part = Pentagon(0);
  part.FRotationStep = 0;
  part.FOutline->FArcs[2].IsArc = 1;
  part.FOutline->FArcs[2].Center = {6, 5};
  const Placed placed = Build(part, StockAt(100, 200), OnePiece(0, 0, {20, 30}), 0, 0);
  ASSERT_EQ(placed.layout.NumberOfPieces(), 1);
  const TPiece_any& piece = placed.layout.FPieces[0];
  // The outline's box (2, 3) goes to the grid position in stock coordinates.
  EXPECT_NEAR(piece.FPosition.X, 20 - 2 + 100, kTolerance);
  EXPECT_NEAR(piece.FPosition.Y, 30 - 3 + 200, kTolerance);
  EXPECT_EQ(piece.FOffsetPosition.X, piece.FPosition.X);
  EXPECT_EQ(piece.FOffsetPosition.Y, piece.FPosition.Y);
  ASSERT_TRUE(piece.FPlacedOutline.has_value());
  for (size_t v = 0; v < 5; ++v) {
    EXPECT_NEAR(piece.FPlacedOutline->FVertices[v].X,
                part.FOutline->FVertices[v].X + piece.FPosition.X, kTolerance);
    EXPECT_NEAR(piece.FPlacedOutline->FVertices[v].Y,
                part.FOutline->FVertices[v].Y + piece.FPosition.Y, kTolerance);
    EXPECT_EQ(piece.FPlacedOutline->FVertices[v].Id, part.FOutline->FVertices[v].Id);
  }
  EXPECT_NEAR(piece.FPlacedOutline->FArcs[2].Center.X, 6 + piece.FPosition.X, kTolerance);
  EXPECT_EQ(piece.FPlacedOutline->FArcs[2].Clockwise, 0);
  EXPECT_EQ(piece.FPartId, 42);
  EXPECT_DOUBLE_EQ(placed.layout.FPlacedArea, 33.5);
  EXPECT_EQ(placed.solution.FPartStock[0], 0);
}

// Whatever the rotation and mirroring, the placed outline's box starts at the
// grid position (with CutterType 0 and d = 0 the grown box is the plain box),
// and the grown outline lies exactly on it.
TEST(BuildPlacedLayout, EveryTurnAndMirrorLandsOnTheGridBox) {
  const part2d_any part = Pentagon(0);
  for (int32_t rotation = 0; rotation < 4; ++rotation) {
    for (const int32_t mirrored : {0, 1}) {
      const Placed placed =
          Build(part, StockAt(-7, 11), OnePiece(rotation, mirrored, {15, 25}), 0, 0);
      const TPiece_any& piece = placed.layout.FPieces[0];
      const Extent plain = VertexExtent(*piece.FPlacedOutline);
      const Extent grown = VertexExtent(*piece.FPlacedOffsetOutline);
      const std::string where =
          "rotation " + std::to_string(rotation) + " mirrored " + std::to_string(mirrored);
      EXPECT_NEAR(plain.minX, 15 - 7, 1e-9) << where;
      EXPECT_NEAR(plain.minY, 25 + 11, 1e-9) << where;
      EXPECT_NEAR(grown.minX, plain.minX, 1e-9) << where;
      EXPECT_NEAR(grown.maxY, plain.maxY, 1e-9) << where;
    }
  }
}

TEST(BuildPlacedLayout, MirroringFlipsArcDirections) {
  part2d_any part = Pentagon(0);
  part.FOutline->FArcs[0].IsArc = 1;
  part.FOutline->FArcs[0].Clockwise = 1;
  part.FOutline->FArcs[3].IsArc = 1;
  part.FOutline->FArcs[3].Clockwise = 0;
  part.FOutline->FArcs[3].Center = {3, 7};
  const Placed placed = Build(part, StockAt(0, 0), OnePiece(1, 1, {0, 0}), 0, 0);
  const TPiece_any& piece = placed.layout.FPieces[0];
  EXPECT_EQ(piece.FPlacedOutline->FArcs[0].Clockwise, 0);
  EXPECT_EQ(piece.FPlacedOutline->FArcs[3].Clockwise, 1);
  // The centre turns and mirrors with the vertices: turned by 90 degrees
  // about (3, 1) it is (-3, 1), mirrored (3, 1), then moved.
  const TPoint2D center = piece.FPlacedOutline->FArcs[3].Center;
  EXPECT_NEAR(center.X, 3 + piece.FPosition.X, 1e-9);
  EXPECT_NEAR(center.Y, 1 + piece.FPosition.Y, 1e-9);
  // Straight edges keep their records.
  EXPECT_EQ(piece.FPlacedOutline->FArcs[1].IsArc, 0);
}

TEST(BuildPlacedLayout, TheGrownShapeLiesTheCutterDiameterBelowLeft) {
  const Placed placed = Build(Pentagon(0.5), StockAt(0, 0), OnePiece(0, 0, {10, 10}), 0, 0.5);
  const TPiece_any& piece = placed.layout.FPieces[0];
  EXPECT_NEAR(piece.FOffsetPosition.X, piece.FPosition.X - 0.5, kTolerance);
  EXPECT_NEAR(piece.FOffsetPosition.Y, piece.FPosition.Y - 0.5, kTolerance);
  // The grown box starts at the grid position, the plain box d further in.
  EXPECT_NEAR(VertexExtent(*piece.FPlacedOffsetOutline).minX, 10, kTolerance);
  EXPECT_NEAR(VertexExtent(*piece.FPlacedOutline).minX, 10.5, kTolerance);
  EXPECT_NEAR(VertexExtent(*piece.FPlacedOutline).minY, 10.5, kTolerance);

  // Under separate fitting the grid position is that of the plain box.
  const Placed separate = Build(Pentagon(0.5), StockAt(0, 0), OnePiece(0, 0, {10, 10}), 1, 0.5);
  const TPiece_any& fitted = separate.layout.FPieces[0];
  EXPECT_NEAR(VertexExtent(*fitted.FPlacedOutline).minX, 10, kTolerance);
  EXPECT_NEAR(VertexExtent(*fitted.FPlacedOffsetOutline).minX, 9.5, kTolerance);
}

TEST(BuildPlacedLayout, ADirectionOneGrownOutlineIsTurnedBack) {
  part2d_any part = Pentagon(0);
  // Direction 1 stores the grown outline turned: (x, y) -> (H - y, x).
  for (TOffsetPolygon& grown : part.FOffsetOutlines) {
    const double h = grown.FMaxY;
    for (TPolygonVertex& v : grown.FVertices) v = {v.Id, h - v.Y, v.X};
    std::swap(grown.FMaxX, grown.FMaxY);
    std::swap(grown.FWidth, grown.FHeight);
  }
  for (const int32_t mirrored : {0, 1}) {
    const Placed placed = Build(part, StockAt(0, 0), OnePiece(0, mirrored, {4, 6}), 0, 0, 1);
    const TPiece_any& piece = placed.layout.FPieces[0];
    const Extent plain = VertexExtent(*piece.FPlacedOutline);
    const Extent grown = VertexExtent(*piece.FPlacedOffsetOutline);
    EXPECT_NEAR(grown.maxX, plain.maxX, kTolerance) << mirrored;
    EXPECT_NEAR(grown.maxY, plain.maxY, kTolerance) << mirrored;
  }
}

TEST(BuildPlacedLayout, HolesTurnAboutTheCentreOfRotationWithTheOutline) {
  part2d_any part = Pentagon(0);
  part.FNumberOfHoles = 2;
  part.FHoles.resize(2);
  part.FHoles[0].FId = 7;
  part.FHoles[0].FUsable = 1;
  part.FHoles[0].FShape.FShapeType = 1;
  part.FHoles[0].FShape.FCircle = TCircle({5, 5}, 1);
  part.FHoles[1].FId = 8;
  part.FHoles[1].FShape.FShapeType = 0;
  TPolygon triangle(3);
  triangle.FVertices = {{0, 4, 4}, {0, 6, 4}, {0, 5, 6}};
  part.FHoles[1].FShape.FPolygon = triangle;

  const Placed placed = Build(part, StockAt(0, 0), OnePiece(1, 0, {0, 0}), 0, 0);
  const TPiece_any& piece = placed.layout.FPieces[0];
  ASSERT_EQ(piece.NumberOfHoles(), 2);
  // The hole's centre keeps its place relative to the outline's vertices.
  const TPoint2D center = Turned({5, 5}, part.FCenterOfRotation, 90);
  const TPoint2D vertex = Turned({2, 3}, part.FCenterOfRotation, 90);
  const TPoint2D placedCenter = piece.FPlacedHoles[0].FShape.FCircle->FCenter;
  const TPolygonVertex& placedVertex = piece.FPlacedOutline->FVertices[0];
  EXPECT_NEAR(placedCenter.X - placedVertex.X, center.X - vertex.X, 1e-9);
  EXPECT_NEAR(placedCenter.Y - placedVertex.Y, center.Y - vertex.Y, 1e-9);
  EXPECT_EQ(piece.FPlacedHoles[0].FId, 7);
  EXPECT_EQ(piece.FPlacedHoles[0].FUsable, 0);
  EXPECT_EQ(piece.FPlacedHoles[1].FId, 8);
  ASSERT_TRUE(piece.FPlacedHoles[1].FShape.FPolygon.has_value());
  const TPoint2D apex = Turned({5, 6}, part.FCenterOfRotation, 90);
  EXPECT_NEAR(piece.FPlacedHoles[1].FShape.FPolygon->FVertices[2].X - placedVertex.X,
              apex.X - vertex.X, 1e-9);
}

TEST(BuildPlacedLayout, CirclePiecesStayConcentricWhenMirrored) {
  part2d_any part;
  part.FShapeType = kShapeCircle;
  part.FId = 5;
  part.FCircle = TCircle({10, 20}, 3);
  TOffsetCircle grown(TCircle({4, 4}, 4));
  grown.FOuterMinX = 6;
  grown.FOuterMaxX = 14;
  grown.FOuterMinY = 16;
  grown.FOuterMaxY = 24;
  part.FOffsetCircle = grown;
  part.FRotationMultiples = {0};
  part.FNumberOfRotations = 1;
  for (const int32_t mirrored : {0, 1}) {
    const Placed placed = Build(part, StockAt(0, 0), OnePiece(0, mirrored, {30, 40}, 1), 0, 1);
    const TPiece_any& piece = placed.layout.FPieces[0];
    ASSERT_TRUE(piece.FPlacedCircle && piece.FPlacedOffsetCircle);
    EXPECT_EQ(piece.FPlacedCircle->FCenter.X, piece.FPlacedOffsetCircle->FCenter.X);
    EXPECT_EQ(piece.FPlacedCircle->FCenter.Y, piece.FPlacedOffsetCircle->FCenter.Y);
    EXPECT_EQ(piece.FPlacedCircle->FRadius, 3);
    EXPECT_EQ(piece.FPlacedOffsetCircle->FRadius, 4);
    // The grown circle's box starts at the grid position.
    EXPECT_NEAR(piece.FPlacedOffsetCircle->FCenter.X - 4, 30, kTolerance) << mirrored;
    EXPECT_NEAR(piece.FPlacedOffsetCircle->FCenter.Y - 4, 40, kTolerance) << mirrored;
  }
}

TEST(StockCorner, ACircleStockIsFilledFromItsUsableCircle) {
  stock2d_any stock;
  stock.FShapeType = kShapeCircle;
  stock.FCircle = TCircle({50, 60}, 10);
  stock.FCircle->FMinX = 40;
  stock.FCircle->FMinY = 50;
  stock.FOffsetCircle = TOffsetCircle(TCircle({8, 8}, 8));  // margin 2
  const TPoint2D corner = StockCorner(stock);
  EXPECT_DOUBLE_EQ(corner.X, 42);
  EXPECT_DOUBLE_EQ(corner.Y, 52);
  // Without a margin it is the box corner of the defined circle.
  stock.FOffsetCircle = TOffsetCircle(TCircle({10, 10}, 10));
  EXPECT_DOUBLE_EQ(StockCorner(stock).X, 40);

  EXPECT_DOUBLE_EQ(StockCorner(StockAt(3, 4)).Y, 4);
}

}  // namespace
}  // namespace varnest
