#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/intersection.h"
#include "tests/geometry/shape_corpus.h"

namespace varnest {
namespace {

using corpus::kPrecision;

TPolygonArc Arc(bool clockwise, TPoint2D center, double radius, double start, double end) {
  TPolygonArc arc = MakeArcFromAngles(clockwise, center, radius, start, end, 0);
  arc.IsArc = 1;
  ComputeSweep(arc, kPrecision);
  return arc;
}

TEST(PointInSegmentBox, AxisParallelSegmentsTestOneCoordinate) {
  // Horizontal: only x is tested (the point is assumed on the line).
  EXPECT_TRUE(PointInSegmentBox({5, 99}, {0, 0}, {10, 0}, kPrecision));
  EXPECT_FALSE(PointInSegmentBox({11, 0}, {0, 0}, {10, 0}, kPrecision));
  EXPECT_TRUE(PointInSegmentBox({10 + 1e-7, 0}, {0, 0}, {10, 0}, kPrecision));
  // Vertical: only y.
  EXPECT_TRUE(PointInSegmentBox({99, 5}, {0, 0}, {0, 10}, kPrecision));
  // General: both.
  EXPECT_TRUE(PointInSegmentBox({5, 5}, {0, 0}, {10, 10}, kPrecision));
  EXPECT_FALSE(PointInSegmentBox({5, 11}, {0, 0}, {10, 10}, kPrecision));
}

TEST(SegmentIntersection, CrossingParallelAndApart) {
  TPoint2D x;
  ASSERT_TRUE(SegmentIntersection({0, 0}, {10, 10}, {0, 10}, {10, 0}, x, kPrecision));
  EXPECT_NEAR(x.X, 5, 1e-12);
  EXPECT_NEAR(x.Y, 5, 1e-12);
  EXPECT_FALSE(SegmentIntersection({0, 0}, {10, 0}, {0, 1}, {10, 1}, x, kPrecision));
  EXPECT_FALSE(SegmentIntersection({0, 0}, {4, 4}, {0, 10}, {10, 0}, x, kPrecision));
  // Touching at an end point counts.
  ASSERT_TRUE(SegmentIntersection({0, 0}, {5, 0}, {5, 0}, {5, 5}, x, kPrecision));
  EXPECT_NEAR(x.X, 5, 1e-12);
}

TEST(IntersectFromSegment, StraightOtherEdgeOnTheRestOfTheLine) {
  const TPolygonArc straight;
  TPoint2D x;
  double angle = 123;
  // The piece runs from u = (6, 0) to (10, 0): a crossing at x = 4 lies behind.
  EXPECT_FALSE(IntersectFromSegment({0, 0}, {10, 0}, {4, -1}, {4, 1}, {6, 0}, straight, x, angle,
                                    kPrecision));
  ASSERT_TRUE(IntersectFromSegment({0, 0}, {10, 0}, {8, -1}, {8, 1}, {6, 0}, straight, x, angle,
                                   kPrecision));
  EXPECT_NEAR(x.X, 8, 1e-12);
  EXPECT_EQ(angle, 123);  // not written for a straight edge
}

TEST(IntersectFromSegment, TangentLinesCountOnlyWhenHorizontal) {
  const TPolygonArc circle = Arc(false, {0, 0}, 1, 0, 0);  // full circle
  TPoint2D x;
  double angle = 0;
  // The vertical tangent x = 1.
  EXPECT_FALSE(
      IntersectFromSegment({1, -5}, {1, 5}, {1, 0}, {1, 0}, {1, -5}, circle, x, angle, kPrecision));
  // The horizontal tangent y = 1 gives its touching point.
  ASSERT_TRUE(
      IntersectFromSegment({-5, 1}, {5, 1}, {0, 1}, {0, 1}, {-5, 1}, circle, x, angle, kPrecision));
  EXPECT_NEAR(x.X, 0, 1e-12);
  EXPECT_NEAR(x.Y, 1, 1e-12);
  EXPECT_NEAR(angle, 90, 1e-9);
}

TEST(IntersectFromSegment, NearerCandidateOnTheArcWins) {
  // Upper half circle, radius 5; the line y = 3 meets it at x = -4 and 4.
  const TPolygonArc upper = Arc(false, {0, 0}, 5, 0, 180);
  TPoint2D x;
  double angle = 0;
  ASSERT_TRUE(IntersectFromSegment({10, 3}, {-10, 3}, upper.StartPoint, upper.EndPoint, {10, 3},
                                   upper, x, angle, kPrecision));
  EXPECT_NEAR(x.X, 4, 1e-12);
  ASSERT_TRUE(IntersectFromSegment({-10, 3}, {10, 3}, upper.StartPoint, upper.EndPoint, {-10, 3},
                                   upper, x, angle, kPrecision));
  EXPECT_NEAR(x.X, -4, 1e-12);
  // A slanted line through the lower half misses the upper arc.
  EXPECT_FALSE(IntersectFromSegment({-10, -4}, {10, -2}, upper.StartPoint, upper.EndPoint,
                                    {-10, -4}, upper, x, angle, kPrecision));
  // A slanted line that crosses it once on the arc, once off it.
  ASSERT_TRUE(IntersectFromSegment({-10, -1}, {10, 1}, upper.StartPoint, upper.EndPoint, {-10, -1},
                                   upper, x, angle, kPrecision));
  EXPECT_GT(x.X, 0);
  EXPECT_NEAR(std::hypot(x.X, x.Y), 5, 1e-9);
}

TEST(IntersectFromArc, CircleCrossingsComeInArcOrder) {
  // Current: counter-clockwise full-ish arc about (0,0) r 5 from 0 to 350.
  const TPolygonArc current = Arc(false, {0, 0}, 5, 0, 350);
  // Other: circle about (8, 0) r 5 crosses at x = 4, y = +-3.
  const TPolygonArc other = Arc(false, {8, 0}, 5, 0, 0);
  TPoint2D x;
  double onCurrent = 0, onOther = 0;
  ASSERT_TRUE(IntersectFromArc(other.StartPoint, other.EndPoint, current, 0, other, x, onCurrent,
                               onOther, kPrecision));
  EXPECT_NEAR(x.X, 4, 1e-12);
  EXPECT_NEAR(x.Y, 3, 1e-12);  // 36.87 degrees comes before 323.13
  EXPECT_NEAR(onCurrent, RadiansToDegrees(std::atan2(3, 4)), 1e-9);
  // From angle 40 on, the first crossing is the lower one.
  ASSERT_TRUE(IntersectFromArc(other.StartPoint, other.EndPoint, current, 40, other, x, onCurrent,
                               onOther, kPrecision));
  EXPECT_NEAR(x.Y, -3, 1e-12);
}

TEST(IntersectFromArc, ConcentricApartOrInsideGiveNothing) {
  const TPolygonArc current = Arc(false, {0, 0}, 5, 0, 0);
  TPoint2D x;
  double a = 0, b = 0;
  for (const TPolygonArc& other :
       {Arc(false, {0, 0}, 3, 0, 0), Arc(false, {20, 0}, 3, 0, 0), Arc(false, {1, 0}, 2, 0, 0)}) {
    EXPECT_FALSE(
        IntersectFromArc(other.StartPoint, other.EndPoint, current, 0, other, x, a, b, kPrecision));
  }
}

TEST(IntersectFromArc, StraightOtherEdge) {
  const TPolygonArc current = Arc(true, {0, 0}, 5, 180, 0);  // clockwise over the top
  const TPolygonArc straight;
  TPoint2D x;
  double a = 0, b = 0;
  ASSERT_TRUE(IntersectFromArc({3, -10}, {3, 10}, current, 180, straight, x, a, b, kPrecision));
  EXPECT_NEAR(x.X, 3, 1e-12);
  EXPECT_NEAR(x.Y, 4, 1e-12);
  // The segment ends below the arc.
  EXPECT_FALSE(IntersectFromArc({3, -10}, {3, 2}, current, 180, straight, x, a, b, kPrecision));
}

// A walk that stands on a circle sees the circle's other crossing with its
// line, not the point where it stands: that one would be rejected as no
// progress, and the real crossing lost with it.
TEST(Intersections, CrossingAtTheCurrentPointHidesNothing) {
  const TPolygonArc lower = Arc(false, {0, 0}, 5, 180, 0);  // the lower half circle
  TPoint2D x;
  double angle = 0;
  // Along y = -3 leftwards from (4, -3), where the line meets the circle.
  ASSERT_TRUE(IntersectFromSegment({10, -3}, {-10, -3}, lower.StartPoint, lower.EndPoint, {4, -3},
                                   lower, x, angle, kPrecision));
  EXPECT_NEAR(x.X, -4, 1e-12);
  EXPECT_NEAR(angle, 180 + RadiansToDegrees(std::atan2(3, 4)), 1e-9);
  // Along the circle from (4, -3), where the line x = 4 meets it, on to (4, 3).
  const TPolygonArc current = Arc(false, {0, 0}, 5, 300, 290);
  const TPolygonArc straight;
  const double a = 360 - RadiansToDegrees(std::atan2(3, 4));
  double onCurrent = 0, onOther = 0;
  ASSERT_TRUE(
      IntersectFromArc({4, -10}, {4, 10}, current, a, straight, x, onCurrent, onOther, kPrecision));
  EXPECT_NEAR(x.Y, 3, 1e-12);
  // With nothing further on, nothing is found.
  EXPECT_FALSE(IntersectFromSegment({10, -3}, {4, -3}, lower.StartPoint, lower.EndPoint, {4, -3},
                                    lower, x, angle, kPrecision));
}

TEST(EdgeCrossings, EveryMeetingPointOnBothEdges) {
  const TPolygonArc straight;
  const TPolygonArc upper = Arc(false, {0, 0}, 5, 0, 180);
  const TPolygonArc right = Arc(true, {6, 0}, 5, 150, 90);
  struct Case {
    const char* name;
    TPoint2D p1, p2;
    const TPolygonArc* p;
    TPoint2D q1, q2;
    const TPolygonArc* q;
    int count;
  };
  const Case cases[] = {
      {"segments", {0, 0}, {10, 10}, &straight, {0, 10}, {10, 0}, &straight, 1},
      {"segments apart", {0, 0}, {4, 4}, &straight, {0, 10}, {10, 0}, &straight, 0},
      {"segment through a half circle",
       {-10, 3},
       {10, 3},
       &straight,
       upper.StartPoint,
       upper.EndPoint,
       &upper,
       2},
      {"segment below it",
       {-10, -3},
       {10, -3},
       &straight,
       upper.StartPoint,
       upper.EndPoint,
       &upper,
       0},
      {"half circle and segment",
       upper.StartPoint,
       upper.EndPoint,
       &upper,
       {-10, -1},
       {10, 1},
       &straight,
       1},
      {"two arcs", upper.StartPoint, upper.EndPoint, &upper, right.StartPoint, right.EndPoint,
       &right, 1},
  };
  for (const Case& c : cases) {
    TPoint2D crossings[2];
    const int count = EdgeCrossings(c.p1, c.p2, *c.p, c.q1, c.q2, *c.q, crossings, kPrecision);
    ASSERT_EQ(count, c.count) << c.name;
    for (int k = 0; k < count; ++k) {
      for (const auto& [a, b, arc] : {std::tuple{c.p1, c.p2, c.p}, std::tuple{c.q1, c.q2, c.q}}) {
        const double off = arc->IsArc != 0 ? std::hypot(crossings[k].X - arc->Center.X,
                                                        crossings[k].Y - arc->Center.Y) -
                                                 arc->Radius
                                           : corpus::DistanceToSegment(crossings[k], a, b);
        EXPECT_NEAR(off, 0, 1e-9) << c.name << " crossing " << k;
      }
    }
  }
}

// Every reported crossing lies on both pieces.
TEST(Intersections, RandomCrossingsLieOnBothEdges) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> u(-10, 10);
  std::uniform_real_distribution<double> angle(0, 360);
  int found = 0;
  for (int i = 0; i < 4000; ++i) {
    const TPolygonArc b =
        Arc(i % 2 == 0, {u(rng), u(rng)}, 2 + std::fabs(u(rng)), angle(rng), angle(rng));
    const TPolygonArc f =
        Arc(i % 3 == 0, {u(rng), u(rng)}, 2 + std::fabs(u(rng)), angle(rng), angle(rng));
    TPoint2D x;
    double onB = 0, onF = 0;
    if (IntersectFromArc(f.StartPoint, f.EndPoint, b, b.StartAngle, f, x, onB, onF, kPrecision)) {
      ++found;
      ASSERT_NEAR(std::hypot(x.X - b.Center.X, x.Y - b.Center.Y), b.Radius, 1e-9) << i;
      ASSERT_NEAR(std::hypot(x.X - f.Center.X, x.Y - f.Center.Y), f.Radius, 1e-9) << i;
      ASSERT_TRUE(IsAngleOnArc(b, b.StartAngle, b.EndAngle, onB, kPrecision)) << i;
      ASSERT_TRUE(IsAngleOnArc(f, f.StartAngle, f.EndAngle, onF, kPrecision)) << i;
    }
    const TPoint2D p1{u(rng), u(rng)}, p2{u(rng), u(rng)};
    double onArc = 0;
    if (IntersectFromSegment(p1, p2, f.StartPoint, f.EndPoint, p1, f, x, onArc, kPrecision)) {
      ++found;
      ASSERT_NEAR(std::hypot(x.X - f.Center.X, x.Y - f.Center.Y), f.Radius, 1e-9) << i;
      ASSERT_NEAR(corpus::DistanceToSegment(x, p1, p2), 0, 1e-9) << i;
    }
  }
  EXPECT_GT(found, 500);
}

}  // namespace
}  // namespace varnest
