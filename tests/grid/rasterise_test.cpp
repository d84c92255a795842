#include "varnest/grid/rasterise.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "fixtures/settings.h"
#include "tests/grid/shape_builder.h"

namespace varnest {
namespace {

using testing::CircleHole;
using testing::FitBox;
using testing::FramedCircle;
using testing::MakePolygon;
using testing::PolygonHole;

using Intervals = std::vector<TGridInterval>;

constexpr double kPrecision = 1e-6;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TPolygon Framed(const std::vector<TPoint2D>& points) {
  TPolygon polygon = MakePolygon(points);
  FitBox(polygon);
  return polygon;
}

TGrid Build(const TPolygon& polygon, TGridMode mode, double resolution, double scale,
            const std::vector<TTrueHole>& holes = {}) {
  TGrid grid;
  BuildFromShape(grid, polygon, holes, mode,
                 fixtures::RasterSettings(resolution, kPrecision, scale));
  return grid;
}

TGrid Build(const TCircle& circle, TGridMode mode, double resolution, double scale) {
  TGrid grid;
  BuildFromShape(grid, circle, {}, mode, fixtures::RasterSettings(resolution, kPrecision, scale));
  return grid;
}

// The strips in use, without the spare.
std::vector<Intervals> Strips(const TGrid& grid) {
  std::vector<Intervals> strips;
  for (int32_t i = 0; i < grid.FNumberOfLines; ++i) strips.push_back(grid.FLines[i].FIntervals);
  return strips;
}

// What every finished grid keeps: the spare strip on top, empty; strips in
// increasing start with no two intervals touching; every start <= end.
void ExpectWellFormed(const TGrid& grid) {
  ASSERT_GE(grid.FNumberOfLines, 0);
  ASSERT_EQ(grid.FLines.size(), static_cast<size_t>(grid.FNumberOfLines) + 1);
  EXPECT_TRUE(grid.FLines.back().Empty());
  for (const TGridLine& line : grid.FLines) {
    for (size_t k = 0; k < line.FIntervals.size(); ++k) {
      EXPECT_LE(line.FIntervals[k].FStart, line.FIntervals[k].FEnd);
      if (k > 0) {
        EXPECT_GT(line.FIntervals[k].FStart, line.FIntervals[k - 1].FEnd);
      }
    }
  }
}

TEST(Rasterise, TheWorkedRectangleAsPartAndAsStock) {
  const TPolygon rectangle = Framed({{0, 0}, {10, 0}, {10, 3}, {0, 3}});
  const TGrid part = Build(rectangle, TGridMode::kPart, 1, 1);
  ExpectWellFormed(part);
  EXPECT_EQ(part.FNumberOfLines, 3);
  EXPECT_EQ(Strips(part), (std::vector<Intervals>(3, {{0, 10}})));
  EXPECT_EQ(part.FVertexCells, (std::vector<TGridCell>{{0, 0}, {0, 10}, {2, 10}, {2, 0}}));
  EXPECT_EQ(part.FScaledWidth, 10);
  EXPECT_EQ(part.FScaledHeight, 3);
  EXPECT_EQ(part.FResolution, 1.0);
  EXPECT_EQ(part.FScale, 1.0);
  EXPECT_EQ(part.FLastX, -1);
  EXPECT_EQ(part.FLastLine, -1);

  // As a stock the whole width between the walls is free.
  const TGrid stock = Build(rectangle, TGridMode::kStock, 1, 1);
  ExpectWellFormed(stock);
  EXPECT_EQ(Strips(stock), (std::vector<Intervals>(3, {{0, 0}, {10, 10}})));
}

TEST(Rasterise, CircleOfRadiusOne) {
  const TCircle circle = FramedCircle(1);
  const TGrid part = Build(circle, TGridMode::kPart, 1, 1);
  ExpectWellFormed(part);
  EXPECT_EQ(part.FNumberOfLines, 2);
  EXPECT_EQ(part.FVertexCells, (std::vector<TGridCell>{{0, 1}, {0, 0}, {0, 2}, {1, 1}}));
  EXPECT_EQ(Strips(part), (std::vector<Intervals>(2, {{0, 2}})));
  // Every strip of the circle reaches the corners of its box somewhere, so
  // as a stock nothing is free at this resolution.
  const TGrid stock = Build(circle, TGridMode::kStock, 1, 1);
  EXPECT_EQ(Strips(stock), (std::vector<Intervals>(2, {{0, 2}})));
  // Finer: the middle strips are blocked only out to where the arcs reach.
  const TGrid fine = Build(circle, TGridMode::kStock, 0.5, 100);
  ASSERT_EQ(fine.FNumberOfLines, 4);
  const double x = 100 - 100 * std::sqrt(1 - 0.25);  // the arc at y = 0.5 and 1.5
  const int32_t left = static_cast<int32_t>(std::floor(x + 0.5));
  EXPECT_EQ(fine.FLines[1].FIntervals, (Intervals{{0, left}, {200 - left, 200}}));
  EXPECT_EQ(fine.FLines[0].FIntervals, (Intervals{{0, 200}}));
  EXPECT_EQ(Build(circle, TGridMode::kPart, 0.5, 100).FLines[0].FIntervals,
            (Intervals{{left, 200 - left}}));
}

TEST(Rasterise, WholeHeightsGiveThatManyStripsAndTheRestOneMore) {
  // 3.0 high: three strips. 3.2 high with a tower of [4, 6] above y = 3: a
  // fourth strip, covered where the boundary reaches between y = 3 and 3.2,
  // and blocked whole in a stock (the top of the tower lies inside the strip).
  const TPolygon flat = Framed({{0, 0}, {10, 0}, {10, 3}, {0, 3}});
  const TPolygon tower =
      Framed({{0, 0}, {10, 0}, {10, 3}, {6, 3}, {6, 3.2}, {4, 3.2}, {4, 3}, {0, 3}});
  EXPECT_EQ(Build(flat, TGridMode::kPart, 1, 1).FNumberOfLines, 3);
  const TGrid part = Build(tower, TGridMode::kPart, 1, 1);
  ExpectWellFormed(part);
  EXPECT_EQ(part.FScaledHeight, 3);
  EXPECT_EQ(Strips(part), (std::vector<Intervals>{{{0, 10}}, {{0, 10}}, {{0, 10}}, {{4, 6}}}));
  const TGrid stock = Build(tower, TGridMode::kStock, 1, 1);
  EXPECT_EQ(Strips(stock),
            (std::vector<Intervals>{
                {{0, 0}, {10, 10}}, {{0, 0}, {10, 10}}, {{0, 0}, {10, 10}}, {{0, 10}}}));
  // 30.000005 high in strips of 10 counts as three strips, yet its top lies
  // above the line y = 30 by more than the tolerance: what it reaches there
  // is dropped, and the spare strip stays empty.
  const TPolygon sliver = Framed({{0, 0}, {10, 0}, {10, 30.000005}, {0, 30.000005}});
  const TGrid tall = Build(sliver, TGridMode::kPart, 10, 1);
  ExpectWellFormed(tall);
  EXPECT_EQ(Strips(tall), (std::vector<Intervals>(3, {{0, 10}})));
  // Within the tolerance of a whole number of strips counts as whole.
  EXPECT_EQ(NumberOfStrips(3.0 + 1e-7, 1, kPrecision), 3);
  EXPECT_EQ(NumberOfStrips(0.3, 0.1, kPrecision), 3);  // 0.3 / 0.1 is not exactly 3
  EXPECT_EQ(NumberOfStrips(3.2, 1, kPrecision), 4);
  EXPECT_EQ(NumberOfStrips(0.2, 1, kPrecision), 1);
}

TEST(Rasterise, APointOnAScanLineBelongsToTheStripBelowIt) {
  struct Case {
    double y, resolution;
    int32_t line;
  };
  const Case cases[] = {
      {2.0, 1, 1},
      {0.0, 1, 0},
      {2.5, 1, 2},
      {2.0 + 5e-7, 1, 1},
      {2.0 - 5e-7, 1, 1},
      {0.3, 0.1, 2},
      {0.35, 0.1, 3},
      {1e-7, 1, 0},
      {-0.5, 1, 0},
      {kNaN, 1, 0},
      {1e300, 1, kGridCoordinateLimit},
      {-1e300, 1, -kGridCoordinateLimit},
  };
  for (const Case& c : cases) EXPECT_EQ(LineOf(c.y, c.resolution, kPrecision), c.line) << c.y;
  // In a grid: the vertex at y = 2.0 sits in line 1, the one at y = 0 in line 0.
  const TPolygon triangle = Framed({{0, 0}, {4, 0}, {2, 2}});
  EXPECT_EQ(Build(triangle, TGridMode::kPart, 1, 1).FVertexCells,
            (std::vector<TGridCell>{{0, 0}, {0, 4}, {1, 2}}));
}

TEST(Rasterise, OnlyUsableHolesOpenTheStripsOfAPart) {
  const TPolygon square = Framed({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  TPolygon window = Framed({{3, 3}, {7, 3}, {7, 7}, {3, 7}});
  const TGrid plain = Build(square, TGridMode::kPart, 1, 1);
  const TGrid solid = Build(square, TGridMode::kPart, 1, 1, {PolygonHole(window, false)});
  EXPECT_EQ(Strips(solid), Strips(plain));

  const TGrid open = Build(square, TGridMode::kPart, 1, 1, {PolygonHole(window, true)});
  ExpectWellFormed(open);
  for (int32_t i = 0; i < 10; ++i) {
    const Intervals expected = (i >= 3 && i <= 6) ? Intervals{{0, 3}, {7, 10}} : Intervals{{0, 10}};
    EXPECT_EQ(open.FLines[i].FIntervals, expected) << "strip " << i;
  }
  // A stock blocks every hole, usable or not.
  const TGrid stock = Build(square, TGridMode::kStock, 1, 1, {PolygonHole(window, false)});
  EXPECT_EQ(stock.FLines[4].FIntervals, (Intervals{{0, 0}, {3, 7}, {10, 10}}));
  EXPECT_EQ(stock.FLines[2].FIntervals, (Intervals{{0, 0}, {10, 10}}));
}

TEST(Rasterise, ACircularDefectIsBlockedAcrossItsReachInEachStrip) {
  const TPolygon square = Framed({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  const TGrid stock = Build(square, TGridMode::kStock, 1, 100, {CircleHole({5, 5}, 2, false)});
  ExpectWellFormed(stock);
  // Between y = 3 and 4 the defect reaches x = 5 -+ sqrt(3); between 4 and 6
  // its full width.
  const int32_t reach = static_cast<int32_t>(std::floor(100 * std::sqrt(3.0) + 0.5));
  for (int32_t i = 0; i < 10; ++i) {
    Intervals expected{{0, 0}, {1000, 1000}};
    if (i == 3 || i == 6) expected.insert(expected.begin() + 1, {500 - reach, 500 + reach});
    if (i == 4 || i == 5) expected.insert(expected.begin() + 1, {300, 700});
    EXPECT_EQ(stock.FLines[i].FIntervals, expected) << "strip " << i;
  }
}

TEST(Rasterise, ADefectBetweenTwoScanLinesIsStillBlocked) {
  // The defect meets no scan line, so no line gives records for it.
  const TPolygon square = Framed({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  std::vector<TTrueHole> holes = {CircleHole({5, 5.5}, 0.3, false)};
  TPolygon speck = Framed({{2, 7.2}, {2.5, 7.2}, {2.5, 7.7}});
  holes.push_back(PolygonHole(speck, false));
  const TGrid stock = Build(square, TGridMode::kStock, 1, 100, holes);
  ExpectWellFormed(stock);
  EXPECT_EQ(stock.FLines[5].FIntervals, (Intervals{{0, 0}, {470, 530}, {1000, 1000}}));
  EXPECT_EQ(stock.FLines[7].FIntervals, (Intervals{{0, 0}, {200, 250}, {1000, 1000}}));
  EXPECT_EQ(stock.FLines[6].FIntervals, (Intervals{{0, 0}, {1000, 1000}}));
  // In a part such a usable hole is simply covered by the material around it.
  for (TTrueHole& hole : holes) hole.FUsable = 1;
  const TGrid part = Build(square, TGridMode::kPart, 1, 100, holes);
  EXPECT_EQ(part.FLines[5].FIntervals, (Intervals{{0, 1000}}));
}

TEST(Rasterise, AnOverhangWithinAStripIsSortedBeforeNormalising) {
  // Above line 1 a short bump over [2, 3] is overhung by an arm reaching left
  // to x = 1 between y = 1.5 and 1.8: the arm's pair starts left of the
  // bump's pair.
  const TPolygon hook = Framed({{0, 0},
                                {8, 0},
                                {8, 1},
                                {6, 1},
                                {6, 1.8},
                                {1, 1.8},
                                {1, 1.5},
                                {5, 1.5},
                                {5, 1},
                                {3, 1},
                                {3, 1.3},
                                {2, 1.3},
                                {2, 1},
                                {0, 1}});
  const TGrid part = Build(hook, TGridMode::kPart, 1, 1);
  ExpectWellFormed(part);
  EXPECT_EQ(Strips(part), (std::vector<Intervals>{{{0, 8}}, {{1, 6}}}));
}

TEST(Rasterise, AnOddRecordCountDropsTheLastRecord) {
  // Heights drifting within twice the tolerance along y = 1 leave one record
  // entering the strip above; it cannot be paired.
  TPolygon drift = MakePolygon({{0, 0.5}, {1, 1 + 0.9e-6}, {2, 1 - 0.4e-6}, {3, 1.5}});
  drift.FWidth = 3;
  drift.FHeight = 1.5;
  const TGrid part = Build(drift, TGridMode::kPart, 1, 1);
  ExpectWellFormed(part);
  ASSERT_EQ(part.FNumberOfLines, 2);
  EXPECT_TRUE(part.FLines[1].Empty());
  // In a stock the walls then pair with each other: the strip is blocked.
  const TGrid stock = Build(drift, TGridMode::kStock, 1, 1);
  ExpectWellFormed(stock);
  EXPECT_EQ(stock.FLines[1].FIntervals, (Intervals{{0, 3}}));
}

TEST(Rasterise, ShapesWithoutHeightGetNoStrips) {
  const TPolygon segment = Framed({{0, 0}, {10, 0}});
  const TCircle dot = FramedCircle(0);
  const TPolygon empty;
  for (TGridMode mode : {TGridMode::kPart, TGridMode::kStock}) {
    const TGrid a = Build(segment, mode, 1, 1);
    ExpectWellFormed(a);
    EXPECT_EQ(a.FNumberOfLines, 0);
    EXPECT_EQ(a.FScaledWidth, 10);
    EXPECT_EQ(a.FVertexCells, (std::vector<TGridCell>{{0, 0}, {0, 10}}));
    const TGrid b = Build(dot, mode, 1, 1);
    ExpectWellFormed(b);
    EXPECT_EQ(b.FNumberOfLines, 0);
    EXPECT_EQ(b.FVertexCells.size(), 4u);
    const TGrid c = Build(empty, mode, 1, 1);
    ExpectWellFormed(c);
    EXPECT_EQ(c.FNumberOfLines, 0);
    EXPECT_TRUE(c.FVertexCells.empty());
  }
}

TEST(Rasterise, ConversionsSaturateInsteadOfOverflowing) {
  EXPECT_EQ(TruncToInt32(kNaN), 0);
  EXPECT_EQ(TruncToInt32(3e9), INT32_MAX);
  EXPECT_EQ(TruncToInt32(-3e9), INT32_MIN);
  EXPECT_EQ(TruncToInt32(std::numeric_limits<double>::infinity()), INT32_MAX);
  EXPECT_EQ(TruncToInt32(-2.7), -2);
  EXPECT_EQ(TruncToInt32(2147483647.9), INT32_MAX);
  EXPECT_EQ(RoundToInt32(2.5), 3);
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(RoundToInt32(-2.6), -3);
  EXPECT_EQ(RoundToInt32(2147483647.4), INT32_MAX);
  EXPECT_EQ(RoundToInt32(kNaN), 0);
  // Heights that are no number, or resolutions that are not positive.
  EXPECT_EQ(NumberOfStrips(kNaN, 1, kPrecision), 0);
  EXPECT_EQ(NumberOfStrips(std::numeric_limits<double>::infinity(), 1, kPrecision), 0);
  EXPECT_EQ(NumberOfStrips(-4, 1, kPrecision), 0);
  EXPECT_EQ(NumberOfStrips(4, 0, kPrecision), 0);
  EXPECT_EQ(NumberOfStrips(4, -1, kPrecision), 0);
  EXPECT_EQ(NumberOfStrips(4, kNaN, kPrecision), 0);
}

TEST(Rasterise, NotANumberAnywhereGivesAWellFormedGrid) {
  // A vertex that is no number inside a finite box.
  const TPolygon rectangle = Framed({{0, 0}, {10, 0}, {10, 3}, {0, 3}});
  TPolygon broken = rectangle;
  broken.FVertices[2].Y = kNaN;
  broken.FArcs[1].IsArc = 1;  // and an arc about a centre that is no number
  broken.FArcs[1].Center = {kNaN, 1};
  for (TGridMode mode : {TGridMode::kPart, TGridMode::kStock}) {
    const TGrid grid = Build(broken, mode, 1, 1);
    ExpectWellFormed(grid);
    EXPECT_EQ(grid.FNumberOfLines, 3);
    EXPECT_EQ(grid.FVertexCells[2], (TGridCell{0, 10}));
  }
  TPolygon noBox = rectangle;
  noBox.FWidth = kNaN;
  noBox.FHeight = kNaN;
  const TGrid unboxed = Build(noBox, TGridMode::kStock, 1, 1);
  ExpectWellFormed(unboxed);
  EXPECT_EQ(unboxed.FNumberOfLines, 0);
  EXPECT_EQ(unboxed.FScaledWidth, 0);
  // A scale that is no number or too large saturates every coordinate, at a
  // bound that leaves the frame copies room to compute W - x.
  const TPolygon offFrame = Framed({{-5, -1}, {10, -1}, {10, 3}, {-5, 3}});
  for (double scale : {kNaN, 1e300, -1e300}) {
    for (const TPolygon* shape : {&rectangle, &offFrame}) {
      const TGrid grid = Build(*shape, TGridMode::kStock, 1, scale);
      ExpectWellFormed(grid);
      EXPECT_EQ(grid.FNumberOfLines, shape == &rectangle ? 3 : 4);
      TGrid turned;  // W - x of saturated values must not overflow
      turned.AssignRotate180(grid);
      EXPECT_EQ(turned.FNumberOfLines, grid.FNumberOfLines);
    }
  }
  const TGrid huge = Build(rectangle, TGridMode::kPart, 1, 1e300);
  EXPECT_EQ(huge.FLines[0].FIntervals, (Intervals{{0, kGridCoordinateLimit}}));
  EXPECT_EQ(huge.FScaledWidth, kGridCoordinateLimit);
  EXPECT_EQ(Build(offFrame, TGridMode::kPart, 1, -1e300).FVertexCells[0],
            (TGridCell{-1, kGridCoordinateLimit}));
}

TEST(Rasterise, ARebuildStartsFromNothing) {
  const TPolygon big = Framed({{0, 0}, {10, 0}, {10, 9}, {0, 9}});
  const TPolygon small = Framed({{0, 0}, {4, 0}, {4, 2}});
  TGrid grid;
  BuildFromShape(grid, big, {}, TGridMode::kPart, fixtures::RasterSettings(1, kPrecision, 1));
  grid.FLastX = 7;
  grid.FLastLine = 3;
  BuildFromShape(grid, small, {}, TGridMode::kStock, fixtures::RasterSettings(0.5, kPrecision, 2));
  const TGrid fresh = Build(small, TGridMode::kStock, 0.5, 2);
  ExpectWellFormed(grid);
  EXPECT_EQ(grid.FNumberOfLines, fresh.FNumberOfLines);
  EXPECT_EQ(Strips(grid), Strips(fresh));
  EXPECT_EQ(grid.FVertexCells, fresh.FVertexCells);
  EXPECT_EQ(grid.FLastX, -1);
  EXPECT_EQ(grid.FLastLine, -1);
  EXPECT_EQ(grid.FResolution, 0.5);
  EXPECT_EQ(grid.FScale, 2.0);
  EXPECT_EQ(grid.FScaledWidth, 8);
}

}  // namespace
}  // namespace varnest
