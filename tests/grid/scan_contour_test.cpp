#include "varnest/grid/scan_contour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "tests/grid/shape_builder.h"

namespace varnest {
namespace {

using testing::ArcSpan;
using testing::MakePolygon;
using testing::SetArc;

constexpr double kPrecision = 1e-6;
constexpr double kPi = std::numbers::pi;

TScanContour ContourOf(const TPolygon& polygon) {
  return PrepareScanContour(0, &polygon, nullptr, kPrecision);
}

std::vector<TGridCrossing> Crossings(const TScanContour& contour, double y, double resolution) {
  std::vector<TGridCrossing> records;
  FindCrossings(contour, y - resolution, y, y + resolution, records, kPrecision);
  return records;
}

// ----- Splitting arcs ---------------------------------------------------------

TPoint2D OnCircle(TPoint2D c, double r, double degrees) {
  const double a = degrees * kPi / 180;
  return {c.X + r * std::cos(a), c.Y + r * std::sin(a)};
}

// A two-vertex outline whose first edge is the arc and whose second edge is
// the straight chord back.
TPolygon ArcOutline(TPoint2D center, TPoint2D from, TPoint2D to, bool clockwise) {
  TPolygon polygon = MakePolygon({from, to});
  SetArc(polygon, 0, center, clockwise);
  return polygon;
}

TPolygon ArcOutline(TPoint2D center, double r, double fromDegrees, double toDegrees,
                    bool clockwise) {
  return ArcOutline(center, OnCircle(center, r, fromDegrees), OnCircle(center, r, toDegrees),
                    clockwise);
}

TEST(ScanContour, SplitsArcsWhereTheyPassTheLowestOrHighestPoint) {
  const TPoint2D c{0, 0};
  const TPoint2D B{0, -1}, T{0, 1};
  struct Case {
    const char* name;
    TPolygon polygon;
    std::vector<TPoint2D> points;  // points of the contour, chord end included
  };
  const TPoint2D left200 = OnCircle(c, 1, 200), left160 = OnCircle(c, 1, 160);
  const TPoint2D right315 = OnCircle(c, 1, 315), left135 = OnCircle(c, 1, 135);
  const Case cases[] = {
      // Ends at the two extremes: already monotone.
      {"semicircle", ArcOutline(c, B, T, false), {B, T}},
      // Counter-clockwise from the left back to the left above: all the way
      // round through the lowest and the highest point.
      {"ccw left to left above", ArcOutline(c, 1, 200, 160, false), {left200, B, T, left160}},
      {"ccw left to left below", ArcOutline(c, 1, 160, 200, false), {left160, left200}},
      {"cw left to left below", ArcOutline(c, 1, 160, 200, true), {left160, T, B, left200}},
      {"ccw right to left", ArcOutline(c, 1, 315, 135, false), {right315, T, left135}},
      {"cw right to left", ArcOutline(c, 1, 315, 135, true), {right315, B, left135}},
      // Starting at the lowest point and ending on the left means passing
      // the highest point on the way.
      {"ccw from B to the left", ArcOutline(c, B, left200, false), {B, T, left200}},
      {"cw from B to the right", ArcOutline(c, B, right315, true), {B, T, right315}},
      {"ccw from the right to B", ArcOutline(c, right315, B, false), {right315, T, B}},
      {"cw from T to the left", ArcOutline(c, T, left135, true), {T, B, left135}},
      {"ccw from B to the right", ArcOutline(c, B, right315, false), {B, right315}},
      {"ccw from T to the left", ArcOutline(c, T, left135, false), {T, left135}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const TScanContour contour = ContourOf(k.polygon);
    ASSERT_EQ(contour.Count(), static_cast<int32_t>(k.points.size()));
    ASSERT_EQ(contour.Edges.size(), contour.Points.size());
    EXPECT_GE(CountSplitEdges(k.polygon, kPrecision), contour.Count());
    for (size_t i = 0; i < k.points.size(); ++i) {
      EXPECT_NEAR(contour.Points[i].X, k.points[i].X, 1e-12) << i;
      EXPECT_NEAR(contour.Points[i].Y, k.points[i].Y, 1e-12) << i;
    }
    EXPECT_EQ(contour.Edges.back().IsArc, 0);  // the chord
  }
}

// The sweep of a piece in its own direction, radians.
double PieceSweep(const TPolygonArc& piece) {
  double start = 0, sweep = 0;
  ArcSpan(piece, start, sweep);
  return sweep;
}

// Whether the polar angle lies strictly inside the piece, by more than `margin`.
bool StrictlyInside(const TPolygonArc& piece, double angle, double margin) {
  double start = 0, sweep = 0;
  ArcSpan(piece, start, sweep);
  const double offset = std::fmod(angle - start + 8 * kPi, 2 * kPi);
  return offset > margin && offset < sweep - margin;
}

TEST(ScanContour, SplitPiecesAreMonotoneAndRetraceTheArc) {
  const uint32_t seed = 20240611;
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  // Ends exactly at an extreme or on a quadrant boundary are the cases the
  // side tests decide by tolerance; mix them in often.
  const double special[] = {0, 90, 180, 270};
  for (int trial = 0; trial < 4000; ++trial) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed << " trial " << trial);
    const TPoint2D center{unit(rng) * 10 - 5, unit(rng) * 10 - 5};
    const double r = 0.1 + unit(rng) * 5;
    auto angle = [&] {
      return unit(rng) < 0.3 ? special[rng() % 4] : unit(rng) * 360;
    };
    const double from = angle();
    double to = angle();
    if (std::fabs(from - to) < 1e-3) to = from + 10;  // a full circle as one edge is not expected
    const bool clockwise = (rng() & 1) != 0;
    const TPolygon polygon = ArcOutline(center, r, from, to, clockwise);
    const TScanContour contour = ContourOf(polygon);
    const int32_t pieces = contour.Count() - 1;  // the chord is the last edge
    ASSERT_GE(pieces, 1);
    ASSERT_LE(pieces, 3);
    EXPECT_GE(CountSplitEdges(polygon, kPrecision), contour.Count());

    double sweep = 0;
    for (int32_t k = 0; k < pieces; ++k) {
      const TPolygonArc& piece = contour.Edges[static_cast<size_t>(k)];
      ASSERT_EQ(piece.IsArc, 1);
      EXPECT_EQ(piece.Clockwise, clockwise ? 1 : 0);
      EXPECT_NEAR(piece.StartPoint.X, contour.Points[static_cast<size_t>(k)].X, 1e-12);
      EXPECT_NEAR(piece.StartPoint.Y, contour.Points[static_cast<size_t>(k)].Y, 1e-12);
      EXPECT_NEAR(piece.EndPoint.X, contour.Points[static_cast<size_t>(k + 1)].X, 1e-12);
      EXPECT_NEAR(piece.EndPoint.Y, contour.Points[static_cast<size_t>(k + 1)].Y, 1e-12);
      // The side tests compare the ends with the centre in plain arithmetic,
      // so an end a rounding error off the vertical may leave a piece of no
      // length at the extreme; it crosses no line and costs nothing.
      if (std::hypot(piece.EndPoint.X - piece.StartPoint.X,
                     piece.EndPoint.Y - piece.StartPoint.Y) < 1e-9) {
        continue;
      }
      // Monotone: neither the lowest nor the highest point lies inside.
      EXPECT_FALSE(StrictlyInside(piece, kPi / 2, 1e-6)) << "piece " << k;
      EXPECT_FALSE(StrictlyInside(piece, 3 * kPi / 2, 1e-6)) << "piece " << k;
      sweep += PieceSweep(piece);
    }
    double whole = 0, start = 0;
    ArcSpan(polygon.FArcs[0], start, whole);
    EXPECT_NEAR(sweep, whole, 1e-6);
  }
}

TEST(ScanContour, CircleBecomesFourQuarterArcsFromTheLowestPoint) {
  const TCircle circle(TPoint2D{1, 1}, 1);
  const TScanContour contour = PrepareScanContour(1, nullptr, &circle, kPrecision);
  ASSERT_EQ(contour.Count(), 4);
  const TPoint2D expected[] = {{1, 0}, {2, 1}, {1, 2}, {0, 1}};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(contour.Points[k].X, expected[k].X);
    EXPECT_EQ(contour.Points[k].Y, expected[k].Y);
    const TPolygonArc& edge = contour.Edges[k];
    EXPECT_EQ(edge.IsArc, 1);
    EXPECT_EQ(edge.Clockwise, 0);
    EXPECT_EQ(edge.Radius, 1.0);
    EXPECT_EQ(edge.EndPoint.X, expected[(k + 1) % 4].X);
    EXPECT_EQ(edge.EndPoint.Y, expected[(k + 1) % 4].Y);
  }
  // Unknown kinds and missing shapes give empty contours.
  EXPECT_EQ(PrepareScanContour(2, nullptr, &circle, kPrecision).Count(), 0);
  EXPECT_EQ(PrepareScanContour(0, nullptr, &circle, kPrecision).Count(), 0);
  EXPECT_EQ(PrepareScanContour(1, nullptr, nullptr, kPrecision).Count(), 0);
}

TEST(ScanContour, ArcXAtYPicksTheSideOfThePiece) {
  auto piece = [](TPoint2D from, TPoint2D to, bool clockwise) {
    TPolygonArc arc;
    arc.IsArc = 1;
    arc.Clockwise = clockwise ? 1 : 0;
    arc.Radius = 1;
    arc.Center = {1, 1};
    arc.StartPoint = from;
    arc.EndPoint = to;
    return arc;
  };
  const double d = std::sqrt(0.75);
  struct Case {
    TPolygonArc arc;
    double y;
    bool found;
    double x;
  };
  const Case cases[] = {
      {piece({1, 0}, {2, 1}, false), 0.5, true, 1 + d},  // ccw rising: right side
      {piece({1, 2}, {0, 1}, false), 1.5, true, 1 - d},  // ccw falling: left side
      {piece({1, 0}, {0, 1}, true), 0.5, true, 1 - d},   // cw rising: left side
      {piece({1, 2}, {2, 1}, true), 1.5, true, 1 + d},   // cw falling: right side
      {piece({1, 0}, {2, 1}, false), 1.0 + 0.5e-6, true, 2.0},  // end, within tolerance
      {piece({1, 0}, {2, 1}, false), 1.5, false, -7.0},  // outside: x untouched
      {piece({1, 0}, {2, 1}, false), -0.1, false, -7.0},
  };
  for (const Case& k : cases) {
    double x = -7.0;
    EXPECT_EQ(ArcXAtY(k.arc, k.y, kPrecision, x), k.found) << k.y;
    EXPECT_NEAR(x, k.x, 1e-3) << k.y;
  }
}

// ----- Crossing records -------------------------------------------------------

struct Expected {
  double x;
  int upperState, lowerState;
  double upperMin, upperMax, lowerMin, lowerMax;
};

void ExpectRecords(const std::vector<TGridCrossing>& got, const std::vector<Expected>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "record " << i);
    const TGridCrossing& g = got[i];
    const Expected& w = want[i];
    EXPECT_NEAR(g.X, w.x, 1e-9);
    EXPECT_EQ(g.UpperState, w.upperState);
    EXPECT_EQ(g.LowerState, w.lowerState);
    EXPECT_NEAR(g.UpperMin, w.upperMin, 1e-9);
    EXPECT_NEAR(g.UpperMax, w.upperMax, 1e-9);
    EXPECT_NEAR(g.LowerMin, w.lowerMin, 1e-9);
    EXPECT_NEAR(g.LowerMax, w.lowerMax, 1e-9);
  }
}

TEST(ScanContour, RecordsOfTheTypicalPlaces) {
  struct Case {
    const char* name;
    TScanContour contour;
    double y, resolution;
    std::vector<Expected> records;  // in the order they are made
  };
  const TPolygon rectangle = MakePolygon({{0, 0}, {4, 0}, {4, 3}, {0, 3}});
  const TPolygon trapezoid = MakePolygon({{0, 0}, {6, 0}, {5, 3}, {1, 3}});
  const TPolygon apexUp = MakePolygon({{0, 0}, {4, 0}, {2, 2}});
  const TPolygon diamond = MakePolygon({{2, 0}, {4, 1}, {2, 2}, {0, 1}});
  const TPolygon step = MakePolygon({{0, 0}, {3, 0}, {3, 1}, {5, 1}, {5, 3}, {0, 3}});
  const TPolygon bump = MakePolygon({{0, 0}, {4, 0}, {2, 0.5}});
  const TPolygon inside = MakePolygon({{0.2, 0.2}, {0.8, 0.2}, {0.8, 0.8}, {0.2, 0.8}});
  const TCircle circle(TPoint2D{1, 1}, 1);
  const TScanContour circleContour = PrepareScanContour(1, nullptr, &circle, kPrecision);
  const Case cases[] = {
      // Bottom edge on the line: one record per corner, upper extent only.
      {"rectangle on its bottom line", ContourOf(rectangle), 0, 1,
       {{0, 1, 0, 0, 0, 0, 0}, {4, 1, 0, 4, 4, 4, 4}}},
      {"rectangle cut through its sides", ContourOf(rectangle), 1.5, 1,
       {{0, 1, 1, 0, 0, 0, 0}, {4, 1, 1, 4, 4, 4, 4}}},
      // Sloped sides: the extents reach to the crossings of the far lines.
      {"trapezoid", ContourOf(trapezoid), 1, 1,
       {{1.0 / 3, 1, 1, 1.0 / 3, 2.0 / 3, 0, 1.0 / 3},
        {6 - 1.0 / 3, 1, 1, 6 - 2.0 / 3, 6 - 1.0 / 3, 6 - 1.0 / 3, 6}}},
      // Apex on the line pointing up: two records, lower extents only.
      {"apex up", ContourOf(apexUp), 2, 1, {{2, 0, 1, 2, 2, 2, 3}, {2, 0, 1, 2, 2, 1, 2}}},
      // A vertex passing through the line: one record with both extents.
      {"passing vertex", ContourOf(diamond), 1, 1,
       {{4, 1, 1, 2, 4, 2, 4}, {0, 1, 1, 0, 2, 0, 2}}},
      // A run on the line between an edge from below and an edge going up.
      {"run between below and above", ContourOf(step), 1, 1,
       {{0, 1, 1, 0, 0, 0, 0}, {5, 1, 0, 5, 5, 5, 5}, {3, 0, 1, 3, 3, 3, 3}}},
      // Enters the strip above and comes back down: state 2 on both ends.
      {"bump", ContourOf(bump), 0, 1, {{0, 2, 0, 0, 4, 0, 0}, {4, 2, 0, 0, 4, 4, 4}}},
      {"circle through its middle", circleContour, 1, 1,
       {{2, 1, 1, 1, 2, 1, 2}, {0, 1, 1, 0, 1, 0, 1}}},
      {"contour between two lines, lower", ContourOf(inside), 0, 1, {}},
      {"contour between two lines, upper", ContourOf(inside), 1, 1, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ExpectRecords(Crossings(k.contour, k.y, k.resolution), k.records);
  }
}

TEST(ScanContour, WalksTakeInTheBulgeOfAnArcInsideTheStrip) {
  // The right edge is a half circle from (2, 0) to (2, 3) about (2, 1.5); its
  // widest point, x = 3.5 at y = 1.5, lies inside the strip 1 <= y <= 2 where
  // neither scan line nor vertex sees it.
  TPolygon polygon = MakePolygon({{0, 0}, {2, 0}, {2, 3}, {0, 3}});
  SetArc(polygon, 1, {2, 1.5}, false);
  const TScanContour contour = ContourOf(polygon);
  ASSERT_EQ(contour.Count(), 4);  // ends at the extremes: no cut
  for (double y : {1.0, 2.0}) {
    const std::vector<TGridCrossing> records = Crossings(contour, y, 1);
    ASSERT_EQ(records.size(), 2u);
    const TGridCrossing& arcRecord = records[1];
    const double crossing = 2 + std::sqrt(1.5 * 1.5 - 0.25);
    EXPECT_NEAR(arcRecord.X, crossing, 1e-12);
    // Into the middle strip: the bulge; into the outer strip: the crossing.
    const double middleMax = y == 1.0 ? arcRecord.UpperMax : arcRecord.LowerMax;
    const double outerMax = y == 1.0 ? arcRecord.LowerMax : arcRecord.UpperMax;
    EXPECT_DOUBLE_EQ(middleMax, 3.5);
    EXPECT_NEAR(outerMax, crossing, 1e-12);
  }
}

TEST(ScanContour, NeverMoreRecordsThanEdgesAndEveryRecordSpansItsX) {
  // Jagged contours crossing many lines, with vertices on lines and runs.
  const uint32_t seed = 77;
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> level(0, 8);
  for (int trial = 0; trial < 300; ++trial) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed << " trial " << trial);
    std::vector<TPoint2D> points;
    const int n = 3 + static_cast<int>(rng() % 20);
    for (int i = 0; i < n; ++i) {
      const double y = (rng() % 3 == 0) ? level(rng) * 0.5 : level(rng) * 0.5 + 0.123;
      points.push_back({static_cast<double>(i) + 0.25 * static_cast<double>(rng() % 3), y});
    }
    points.push_back({static_cast<double>(n), -1.0});
    points.push_back({0.0, -1.0});
    const TScanContour contour = ContourOf(MakePolygon(points));
    for (int k = -2; k <= 10; ++k) {
      const std::vector<TGridCrossing> records = Crossings(contour, k * 0.5, 0.5);
      EXPECT_LE(static_cast<int32_t>(records.size()), contour.Count());
      int upper = 0, lower = 0;
      for (const TGridCrossing& r : records) {
        EXPECT_LE(r.UpperMin, r.X + kPrecision);
        EXPECT_GE(r.UpperMax, r.X - kPrecision);
        EXPECT_LE(r.LowerMin, r.X + kPrecision);
        EXPECT_GE(r.LowerMax, r.X - kPrecision);
        EXPECT_TRUE(r.UpperState != 0 || r.LowerState != 0);
        upper += r.UpperState != 0;
        lower += r.LowerState != 0;
      }
      // A closed contour enters each side of a line as often as it leaves.
      EXPECT_EQ(upper % 2, 0) << "line " << k;
      EXPECT_EQ(lower % 2, 0) << "line " << k;
    }
  }
}

// Heights that drift along the line within twice the tolerance: C is on the
// line, the next point is on the line too but not level with C, so it starts
// no run of its own and its walk stops at once.
TPolygon DriftingContour(double line) {
  return MakePolygon({{0, line - 0.5}, {1, line + 0.9e-6}, {2, line - 0.4e-6}, {3, line + 0.5}});
}

TEST(ScanContour, DriftWithinTheToleranceCanLeaveAnOddRecordCount) {
  const TScanContour contour = ContourOf(DriftingContour(0.0));
  const std::vector<TGridCrossing> records = Crossings(contour, 0.0, 1.0);
  int upper = 0;
  for (const TGridCrossing& r : records) upper += r.UpperState != 0;
  EXPECT_EQ(upper % 2, 1);  // the rasteriser must cope with this
  EXPECT_LE(static_cast<int32_t>(records.size()), contour.Count());
}

TEST(ScanContour, NotANumberEndsEveryWalk) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  TPolygon polygon = MakePolygon({{0, 0}, {4, 0}, {4, nan}, {2, 5}, {0, 3}});
  SetArc(polygon, 3, {nan, 1}, false);
  const TScanContour contour = ContourOf(polygon);
  for (int k = 0; k < 6; ++k) {
    const std::vector<TGridCrossing> records = Crossings(contour, k, 1);
    EXPECT_LE(static_cast<int32_t>(records.size()), contour.Count());
  }
  TPolygon flat = MakePolygon({{nan, nan}, {nan, nan}, {nan, nan}});
  EXPECT_TRUE(Crossings(ContourOf(flat), 0, 1).empty());
}

}  // namespace
}  // namespace varnest
