#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/fuzzy.h"
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

TEST(AngleOnCircle, AxisPointsAndClamping) {
  struct Case {
    TPoint2D p;
    double radius;
    double expected;
  };
  const Case cases[] = {
      {{1, 0}, 1, 0},
      {{0, 1}, 1, 90},
      {{-1, 0}, 1, 180},
      {{0, -1}, 1, 270},
      {{0, 1.0000001}, 1, 90},  // sine ratio a little above 1: clamped
      {{0, -1.0000001}, 1, 270},
      {{-1.0000001, 0}, 1, 180},
      {{std::sqrt(0.5), -std::sqrt(0.5)}, 1, 315},
      {{-std::sqrt(0.5), -std::sqrt(0.5)}, 1, 225},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(AngleOnCircle(c.p, {0, 0}, c.radius, kPrecision), c.expected, 1e-9)
        << c.p.X << "," << c.p.Y;
  }
}

// Ratios within the tolerance of +-1 are not snapped onto the axis: a point
// 0.05 degree right of the top keeps its angle (snapping would give 90 and
// turn edges by up to 0.08 degree).
TEST(AngleOnCircle, DirectionsNearAnAxisKeepTheirAngle) {
  for (double angle : {89.95, 89.999, 270.05, 269.97, 0.03, 359.96, 179.98, 180.04}) {
    const double a = DegreesToRadians(angle);
    const TPoint2D p{3.0 * std::cos(a), 3.0 * std::sin(a)};
    EXPECT_NEAR(AngleOnCircle(p, {0, 0}, 3.0, kPrecision), angle, 1e-6) << angle;
  }
}

TEST(AngleOnCircle, ZeroRadiusGivesZeroInsteadOfDividing) {
  EXPECT_EQ(AngleOnCircle({5, 5}, {5, 5}, 0.0, kPrecision), 0.0);
  EXPECT_EQ(AngleAbout({5, 5}, {5, 5}, kPrecision), 0.0);
}

TEST(AngleOnCircle, AgreesWithAtan2OnRandomPoints) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> u(-100, 100);
  for (int i = 0; i < 2000; ++i) {
    const TPoint2D p{u(rng), u(rng)};
    const TPoint2D c{u(rng), u(rng)};
    double expected = RadiansToDegrees(std::atan2(p.Y - c.Y, p.X - c.X));
    if (expected < 0) expected += 360.0;
    double got = AngleAbout(p, c, kPrecision);
    // Just below the positive x axis both 0 and 360 describe the direction.
    if (got - expected > 180) got -= 360;
    if (expected - got > 180) got += 360;
    ASSERT_NEAR(got, expected, 1e-6) << "seed 11, case " << i;
  }
}

TEST(ComputeSweep, DirectionsAndFullCircle) {
  struct Case {
    bool clockwise;
    double start, end, sweep;
  };
  const Case cases[] = {
      {false, 350, 10, 20}, {true, 10, 350, 20}, {false, 10, 350, 340}, {true, 350, 10, 340},
      {false, 90, 90, 360}, {true, 90, 90, 360}, {false, 0, 180, 180},  {true, 270, 0, 270},
  };
  for (const Case& c : cases) {
    TPolygonArc arc;
    arc.Clockwise = c.clockwise ? 1 : 0;
    arc.StartAngle = c.start;
    arc.EndAngle = c.end;
    ComputeSweep(arc, kPrecision);
    EXPECT_DOUBLE_EQ(arc.SweepAngle, c.sweep) << c.start << "->" << c.end << " cw " << c.clockwise;
  }
  // Any non-zero Clockwise means clockwise.
  TPolygonArc arc;
  arc.Clockwise = 7;
  arc.StartAngle = 10;
  arc.EndAngle = 350;
  ComputeSweep(arc, kPrecision);
  EXPECT_DOUBLE_EQ(arc.SweepAngle, 20);
}

TEST(AngleTravelled, NeverZero) {
  EXPECT_DOUBLE_EQ(AngleTravelled(90, 90, false, kPrecision), 360);
  EXPECT_DOUBLE_EQ(AngleTravelled(90, 90, true, kPrecision), 360);
  EXPECT_DOUBLE_EQ(AngleTravelled(350, 10, false, kPrecision), 20);
  EXPECT_DOUBLE_EQ(AngleTravelled(10, 350, true, kPrecision), 20);
  EXPECT_DOUBLE_EQ(AngleTravelled(10, 350, false, kPrecision), 340);
}

TEST(IsAngleOnArc, WrapAroundZero) {
  TPolygonArc ccw;
  ccw.Clockwise = 0;
  EXPECT_TRUE(IsAngleOnArc(ccw, 350, 10, 0, kPrecision));
  EXPECT_TRUE(IsAngleOnArc(ccw, 350, 10, 355, kPrecision));
  EXPECT_FALSE(IsAngleOnArc(ccw, 350, 10, 180, kPrecision));
  EXPECT_TRUE(IsAngleOnArc(ccw, 10, 20, 10, kPrecision));  // bounds included
  EXPECT_FALSE(IsAngleOnArc(ccw, 10, 20, 21, kPrecision));
  TPolygonArc cw;
  cw.Clockwise = 1;
  EXPECT_TRUE(IsAngleOnArc(cw, 10, 350, 0, kPrecision));
  EXPECT_FALSE(IsAngleOnArc(cw, 10, 350, 180, kPrecision));
  EXPECT_TRUE(IsAngleOnArc(cw, 90, 45, 60, kPrecision));
  EXPECT_FALSE(IsAngleOnArc(cw, 90, 45, 100, kPrecision));
  // Equal start and end: the full circle.
  EXPECT_TRUE(IsAngleOnArc(ccw, 30, 30, 200, kPrecision));
  EXPECT_TRUE(IsAngleOnArc(cw, 30, 30, 200, kPrecision));
}

TEST(ArcBoundingBox, QuarterAndThreeQuarters) {
  const TPoint2D p{1, 0}, q{0, 1};
  double minX, minY, maxX, maxY;
  TPolygonArc ccw = MakeArcFromPoints(false, {0, 0}, p, q, kPrecision, 0);
  ArcBoundingBox(ccw, p, q, kPrecision, minX, minY, maxX, maxY);
  EXPECT_NEAR(minX, 0, 1e-12);
  EXPECT_NEAR(minY, 0, 1e-12);
  EXPECT_NEAR(maxX, 1, 1e-12);
  EXPECT_NEAR(maxY, 1, 1e-12);
  TPolygonArc cw = MakeArcFromPoints(true, {0, 0}, p, q, kPrecision, 0);
  EXPECT_NEAR(cw.SweepAngle, 270, 1e-9);
  ArcBoundingBox(cw, p, q, kPrecision, minX, minY, maxX, maxY);
  EXPECT_NEAR(minX, -1, 1e-12);
  EXPECT_NEAR(minY, -1, 1e-12);
  EXPECT_NEAR(maxX, 1, 1e-12);
  EXPECT_NEAR(maxY, 1, 1e-12);
}

// The box of random arcs against the box of densely sampled points.
TEST(ArcBoundingBox, MatchesSampledArcs) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> angle(0, 360);
  std::uniform_real_distribution<double> radius(0.5, 30);
  for (int i = 0; i < 1000; ++i) {
    const bool clockwise = (i % 2) == 1;
    const TPoint2D c{3, -2};
    const double r = radius(rng);
    TPolygonArc arc = Arc(clockwise, c, r, angle(rng), angle(rng));
    double minX, minY, maxX, maxY;
    ArcBoundingBox(arc, arc.StartPoint, arc.EndPoint, kPrecision, minX, minY, maxX, maxY);
    double sMinX = 1e300, sMinY = 1e300, sMaxX = -1e300, sMaxY = -1e300;
    const double direction = clockwise ? -1 : 1;
    for (int k = 0; k <= 3600; ++k) {
      const TPoint2D p = ArcPoint(arc, arc.StartAngle + direction * arc.SweepAngle * k / 3600.0);
      sMinX = std::min(sMinX, p.X);
      sMinY = std::min(sMinY, p.Y);
      sMaxX = std::max(sMaxX, p.X);
      sMaxY = std::max(sMaxY, p.Y);
    }
    // Sampling reaches an extreme to within r (1 - cos(0.05 degree)) or so.
    const double slack = r * 1e-6 + 1e-9;
    ASSERT_NEAR(minX, sMinX, slack) << "seed 5, case " << i;
    ASSERT_NEAR(minY, sMinY, slack) << "seed 5, case " << i;
    ASSERT_NEAR(maxX, sMaxX, slack) << "seed 5, case " << i;
    ASSERT_NEAR(maxY, sMaxY, slack) << "seed 5, case " << i;
  }
}

TEST(ArcLowestPoint, BottomOfCircleOrEndHeight) {
  TPoint2D point;
  double angle = 0;
  bool atEnd = true;
  const TPolygonArc lower = Arc(false, {0, 0}, 1, 180, 0);  // through 270
  ArcLowestPoint(lower, lower.StartPoint, lower.EndPoint, point, angle, atEnd, kPrecision);
  EXPECT_NEAR(point.X, 0, 1e-12);
  EXPECT_NEAR(point.Y, -1, 1e-12);
  EXPECT_EQ(angle, 270);
  EXPECT_FALSE(atEnd);

  const TPolygonArc upper = Arc(false, {0, 0}, 1, 0, 180);
  ArcLowestPoint(upper, upper.StartPoint, upper.EndPoint, point, angle, atEnd, kPrecision);
  EXPECT_TRUE(atEnd);

  // Clockwise from 300 down to 200 passes 270.
  const TPolygonArc cw = Arc(true, {5, 5}, 2, 300, 200);
  ArcLowestPoint(cw, cw.StartPoint, cw.EndPoint, point, angle, atEnd, kPrecision);
  EXPECT_NEAR(point.Y, 3, 1e-12);
  EXPECT_EQ(angle, 270);
  EXPECT_FALSE(atEnd);

  // A rising arc whose start is lowest: the start vertex with its angle.
  const TPolygonArc rising = Arc(false, {0, 0}, 1, 300, 30);
  ArcLowestPoint(rising, rising.StartPoint, rising.EndPoint, point, angle, atEnd, kPrecision);
  EXPECT_NEAR(point.Y, rising.StartPoint.Y, 1e-12);
  EXPECT_NEAR(angle, 300, 1e-12);
  EXPECT_FALSE(atEnd);
}

TEST(SegmentArea, HalfAndFullCircle) {
  EXPECT_NEAR(SegmentArea(Arc(false, {0, 0}, 1, 0, 180)), kPi / 2, 1e-12);
  EXPECT_NEAR(SegmentArea(Arc(false, {0, 0}, 2, 10, 10)), 4 * kPi, 1e-12);
}

TEST(RotatePoint, QuarterTurn) {
  const TPoint2D p = RotatePoint({2, 1}, {1, 1}, 90);
  EXPECT_NEAR(p.X, 1, 1e-12);
  EXPECT_NEAR(p.Y, 2, 1e-12);
}

TEST(ArcConstructors, DeriveTheMissingFields) {
  const TPolygonArc a = MakeArcFromPoints(true, {0, 0}, {0, 2}, {2, 0}, kPrecision, 9);
  EXPECT_EQ(a.IsArc, 0);  // left to the caller
  EXPECT_EQ(a.Clockwise, 1);
  EXPECT_EQ(a.Id, 9);
  EXPECT_DOUBLE_EQ(a.Radius, 2);
  EXPECT_NEAR(a.StartAngle, 90, 1e-12);
  EXPECT_NEAR(a.EndAngle, 0, 1e-12);
  EXPECT_NEAR(a.SweepAngle, 90, 1e-12);

  const TPolygonArc b = MakeArcFromAngles(false, {1, 1}, 2, 0, 90, 3);
  EXPECT_NEAR(b.StartPoint.X, 3, 1e-12);
  EXPECT_NEAR(b.EndPoint.Y, 3, 1e-12);
  EXPECT_EQ(b.SweepAngle, 0);  // not computed

  const TPolygonArc c = MakeArcToPoint(false, {0, 0}, 1, 180, {0, -5}, kPrecision, 0);
  EXPECT_NEAR(c.StartPoint.X, -1, 1e-12);
  EXPECT_NEAR(c.EndAngle, 270, 1e-12);

  const TPolygonArc d = MakeArcFromPoint(true, {0, 0}, 1, {0, 4}, 0, kPrecision, 0);
  EXPECT_NEAR(d.StartAngle, 90, 1e-12);
  EXPECT_NEAR(d.EndPoint.X, 1, 1e-12);
}

}  // namespace
}  // namespace varnest
