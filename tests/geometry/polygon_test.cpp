#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/fuzzy.h"
#include "varnest/geometry/polygon.h"
#include "tests/geometry/shape_corpus.h"

namespace varnest {
namespace {

using corpus::kPrecision;
using corpus::MakePolygon;
using corpus::Measured;
using corpus::SetArc;

void ExpectBox(const TPolygon& p, double minX, double minY, double maxX, double maxY,
               double tol = 1e-12) {
  EXPECT_NEAR(p.FMinX, minX, tol);
  EXPECT_NEAR(p.FMinY, minY, tol);
  EXPECT_NEAR(p.FMaxX, maxX, tol);
  EXPECT_NEAR(p.FMaxY, maxY, tol);
  EXPECT_NEAR(p.FWidth, maxX - minX, tol);
  EXPECT_NEAR(p.FHeight, maxY - minY, tol);
}

TEST(Polygon, EmptyPolygon) {
  TPolygon empty;
  empty.FMinX = 3;
  empty.FWidth = 4;
  empty.ComputeBoundingBox(kPrecision);
  ExpectBox(empty, 0, 0, 0, 0);
  empty.ComputeArea();
  EXPECT_EQ(empty.FArea, 0);
  EXPECT_TRUE(empty.IsClockwise(kPrecision));
  empty.MakeCounterClockwise(kPrecision);
  EXPECT_EQ(empty.NumberOfVertices(), 0);
}

TEST(Polygon, SquareAreaAndReversal) {
  EXPECT_DOUBLE_EQ(corpus::UnitSquare().FArea, 1.0);
  TPolygon clockwise = Measured(MakePolygon({{0, 0}, {0, 1}, {1, 1}, {1, 0}}));
  EXPECT_DOUBLE_EQ(clockwise.FArea, -1.0);
  EXPECT_TRUE(clockwise.IsClockwise(kPrecision));
  clockwise.MakeCounterClockwise(kPrecision);
  const double expected[4][2] = {{1, 0}, {1, 1}, {0, 1}, {0, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(clockwise.FVertices[i].X, expected[i][0]);
    EXPECT_EQ(clockwise.FVertices[i].Y, expected[i][1]);
  }
  EXPECT_DOUBLE_EQ(clockwise.FArea, -1.0);  // not recomputed
  EXPECT_FALSE(clockwise.IsClockwise(kPrecision));
  // A counter-clockwise outline is left alone.
  TPolygon square = corpus::UnitSquare();
  square.MakeCounterClockwise(kPrecision);
  EXPECT_EQ(square.FVertices[1].X, 1);
  EXPECT_EQ(square.FVertices[1].Y, 0);
}

TEST(Polygon, HalfCircleEdgeAreaAndBox) {
  TPolygon bulge = MakePolygon({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
  SetArc(bulge, 1, {1, 0.5}, false);
  bulge = Measured(bulge);
  EXPECT_NEAR(bulge.FArea, 1 + kPi / 8, 1e-12);
  ExpectBox(bulge, 0, 0, 1.5, 1);

  TPolygon dent = MakePolygon({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
  SetArc(dent, 1, {1, 0.5}, true);
  dent = Measured(dent);
  EXPECT_NEAR(dent.FArea, 1 - kPi / 8, 1e-12);
  ExpectBox(dent, 0, 0, 1, 1);
}

// Areas and boxes of arc-edged outlines against their densely sampled
// boundaries.
TEST(Polygon, AreaAndBoxMatchSampledBoundary) {
  std::mt19937 rng(17);
  for (int i = 0; i < 300; ++i) {
    const TPolygon p = corpus::RandomConvexArcShape(rng, 3 + i % 9);
    const std::vector<TPoint2D> samples = corpus::Sample(p, 0.05);
    const double sampled = corpus::PolylineArea(samples);
    // Chords of 0.05 degree miss r^2 theta delta^2 / 12 of each arc.
    double missed = 0;
    for (const TPolygonArc& arc : p.FArcs) {
      if (arc.IsArc != 0) missed += arc.Radius * arc.Radius * DegreesToRadians(arc.SweepAngle);
    }
    missed *= DegreesToRadians(0.05) * DegreesToRadians(0.05) / 12;
    ASSERT_NEAR(p.FArea, sampled, 1.1 * missed + 1e-9 * std::fabs(sampled)) << "seed 17, case " << i;
    const corpus::TSampledBox box = corpus::BoxOf(samples);
    const double slack = 1e-6 * std::max(p.FWidth, p.FHeight);
    ASSERT_NEAR(p.FMinX, box.minX, slack) << i;
    ASSERT_NEAR(p.FMaxX, box.maxX, slack) << i;
    ASSERT_NEAR(p.FMinY, box.minY, slack) << i;
    ASSERT_NEAR(p.FMaxY, box.maxY, slack) << i;
  }
  const TPolygon star = corpus::ArcRichOutline();
  EXPECT_NEAR(star.FArea, corpus::PolylineArea(corpus::Sample(star, 0.05)), 1e-6 * star.FArea);
}

// Reversal keeps every arc on its own geometric edge: the reversed outline
// covers the same points, traversed the other way.
TEST(Polygon, ReversalKeepsArcsOnTheirEdges) {
  TPolygon p = MakePolygon({{0, 0}, {0, 10}, {10, 10}, {10, 0}});  // clockwise
  SetArc(p, 1, {5, 10}, false);  // (0,10)->(10,10): bulges inwards
  SetArc(p, 2, {10, 5}, true);   // (10,10)->(10,0): bulges outwards
  p.FArcs[1].Id = 41;
  p = Measured(p);
  const TPolygon original = p;
  p.MakeCounterClockwise(kPrecision);
  p.ComputeArea();
  EXPECT_NEAR(p.FArea, -original.FArea, 1e-12);

  // The edge that ran (0,10)->(10,10) now runs (10,10)->(0,10), still an arc
  // about (5,10), opposite direction, angles swapped, same sweep and id.
  bool found = false;
  for (size_t i = 0; i < 4; ++i) {
    const TPolygonVertex& a = p.FVertices[i];
    const TPolygonVertex& b = p.FVertices[(i + 1) % 4];
    if (a.X == 10 && a.Y == 10 && b.X == 0 && b.Y == 10) {
      found = true;
      const TPolygonArc& arc = p.FArcs[i];
      EXPECT_EQ(arc.IsArc, 1);
      EXPECT_EQ(arc.Center.X, 5);
      EXPECT_EQ(arc.Clockwise, 1);
      EXPECT_EQ(arc.StartAngle, original.FArcs[1].EndAngle);
      EXPECT_EQ(arc.EndAngle, original.FArcs[1].StartAngle);
      EXPECT_EQ(arc.SweepAngle, original.FArcs[1].SweepAngle);
      EXPECT_EQ(arc.Id, 41);
      EXPECT_EQ(arc.StartPoint.X, 10);
    }
  }
  EXPECT_TRUE(found);
  const std::vector<TPoint2D> before = corpus::Sample(original, 1.0);
  const std::vector<TPoint2D> after = corpus::Sample(p, 1.0);
  for (const TPoint2D& q : after) ASSERT_LT(corpus::DistanceToPolyline(before, q), 1e-3);
  EXPECT_NEAR(corpus::PolylineArea(after), -corpus::PolylineArea(before), 1e-9);
}

TEST(Polygon, RotateMovesVerticesArcsAndWrapsAnglesOnce) {
  TPolygon p = MakePolygon({{1, 0}, {2, 0}, {2, 1}});
  SetArc(p, 1, {1, 1}, false);
  p.FArcs[1].StartPoint = {2, 0};
  p.FArcs[1].EndPoint = {2, 1};
  p.FArcs[1].StartAngle = 300;
  p.FArcs[1].EndAngle = 330;
  p.Rotate({0, 0}, 90);
  EXPECT_NEAR(p.FVertices[0].X, 0, 1e-12);
  EXPECT_NEAR(p.FVertices[0].Y, 1, 1e-12);
  EXPECT_NEAR(p.FArcs[1].Center.X, -1, 1e-12);
  EXPECT_NEAR(p.FArcs[1].Center.Y, 1, 1e-12);
  EXPECT_NEAR(p.FArcs[1].StartPoint.X, 0, 1e-12);
  EXPECT_NEAR(p.FArcs[1].StartPoint.Y, 2, 1e-12);
  EXPECT_NEAR(p.FArcs[1].EndPoint.X, -1, 1e-12);
  EXPECT_DOUBLE_EQ(p.FArcs[1].StartAngle, 30);
  EXPECT_DOUBLE_EQ(p.FArcs[1].EndAngle, 60);
}

TEST(Polygon, SameShapeFromAnotherStartingVertex) {
  TPolygon a = corpus::DemoB();
  TPolygon b = MakePolygon({{20, 80}, {0, 40}, {20, 0}, {60, 40}});
  SetArc(b, 3, {40, 60}, false);
  b = Measured(b);
  EXPECT_TRUE(a.SameShape(b, kPrecision));
  EXPECT_TRUE(b.SameShape(a, kPrecision));
  b.FArcs[3].Center.X += 1e-7;  // within the tolerance
  EXPECT_TRUE(a.SameShape(b, kPrecision));
  b.FArcs[3].Center.X += 1e-3;
  EXPECT_FALSE(a.SameShape(b, kPrecision));
  TPolygon straight = corpus::DemoB();
  straight.FArcs[1].IsArc = 0;
  EXPECT_FALSE(a.SameShape(straight, kPrecision));
  TPolygon moved = corpus::DemoB();
  moved.Translate(1, 0);
  EXPECT_FALSE(a.SameShape(moved, kPrecision));
  TPolygon otherArea = corpus::DemoB();
  otherArea.FArea += 1;
  EXPECT_FALSE(a.SameShape(otherArea, kPrecision));
}

TEST(Polygon, CentroidAndRotationCentre) {
  TPolygon l = corpus::LShape();
  const TPoint2D c = l.Centroid();
  // Two rectangles 20x10 (centre (10,5)) and 10x10 (centre (5,15)).
  EXPECT_NEAR(c.X, (200 * 10 + 100 * 5) / 300.0, 1e-12);
  EXPECT_NEAR(c.Y, (200 * 5 + 100 * 15) / 300.0, 1e-12);
  EXPECT_EQ(l.RotationCenterPoint(0, {7, 8}).X, 7);
  EXPECT_EQ(l.RotationCenterPoint(1, {7, 8}).X, 10);
  EXPECT_NEAR(l.RotationCenterPoint(2, {7, 8}).X, c.X, 1e-12);
  EXPECT_NEAR(l.RotationCenterPoint(-5, {7, 8}).Y, c.Y, 1e-12);
}

// An outline of zero area has no area centroid: the mean of its vertices
// stands in, which lies on the outline.
TEST(Polygon, CentroidOfZeroAreaOutlineIsTheVertexMean) {
  TPolygon line = MakePolygon({{0, 0}, {4, 4}, {8, 8}, {4, 4}});
  const TPoint2D c = line.Centroid();
  EXPECT_EQ(line.FArea, 0.0);
  EXPECT_DOUBLE_EQ(c.X, 4);
  EXPECT_DOUBLE_EQ(c.Y, 4);
  TPolygon point = MakePolygon({{3, 5}});
  EXPECT_DOUBLE_EQ(point.Centroid().Y, 5);
  TPolygon empty;
  EXPECT_EQ(empty.Centroid().X, 0);
}

TEST(Polygon, FitScale) {
  double minX = 0, minY = 0;
  TPolygon p = MakePolygon({{2, 3}, {12, 3}, {12, 8}, {2, 8}});
  EXPECT_DOUBLE_EQ(p.FitScale(100, kPrecision, minX, minY), 10);
  EXPECT_EQ(minX, 2);
  EXPECT_EQ(minY, 3);
  EXPECT_EQ(p.FWidth, 10);  // the box was recomputed
  TPolygon vertical = MakePolygon({{1, 0}, {1, 4}});
  EXPECT_DOUBLE_EQ(vertical.FitScale(100, kPrecision, minX, minY), 25);
  // A single point has nothing to fit: the factor stays 1.
  TPolygon point = MakePolygon({{5, 5}, {5, 5}, {5, 5}});
  EXPECT_EQ(point.FitScale(100, kPrecision, minX, minY), 1.0);
  EXPECT_EQ(minX, 5);
}

// An arc whose centre lies on its start vertex has no direction: the input
// check's completion makes it a straight edge instead of dividing by its zero
// radius.
TEST(Polygon, CompleteArcsStraightensZeroRadiusArcs) {
  TPolygon p = MakePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  SetArc(p, 1, {10, 0}, false);
  SetArc(p, 2, {5, 10}, false);
  p.CompleteArcs(kPrecision);
  EXPECT_EQ(p.FArcs[1].IsArc, 0);
  EXPECT_EQ(p.FArcs[2].IsArc, 1);
  EXPECT_DOUBLE_EQ(p.FArcs[2].Radius, 5);
  EXPECT_EQ(p.FArcs[2].StartPoint.X, 10);
  EXPECT_EQ(p.FArcs[2].EndPoint.X, 0);
  EXPECT_NEAR(p.FArcs[2].StartAngle, 0, 1e-12);
  EXPECT_NEAR(p.FArcs[2].EndAngle, 180, 1e-12);
  EXPECT_NEAR(p.FArcs[2].SweepAngle, 180, 1e-12);
  p.ComputeBoundingBox(kPrecision);
  p.ComputeArea();
  EXPECT_TRUE(std::isfinite(p.FArea));
}

TEST(Polygon, TranslateAndScaleLeaveDerivedFields) {
  TPolygon p = corpus::DShape();
  const double area = p.FArea;
  const double radius = p.FArcs[1].Radius;
  p.Translate(5, -2);
  EXPECT_EQ(p.FVertices[0].X, 5);
  EXPECT_EQ(p.FArcs[1].Center.X, 15);
  EXPECT_EQ(p.FArcs[1].EndPoint.Y, 8);
  EXPECT_EQ(p.FMinX, 0);  // box untouched
  p.Scale(2);
  EXPECT_EQ(p.FArcs[1].Radius, 2 * radius);
  EXPECT_EQ(p.FArcs[1].Center.X, 30);
  EXPECT_EQ(p.FArea, area);
}

}  // namespace
}  // namespace varnest
