#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/offset.h"
#include "tests/geometry/shape_corpus.h"

namespace varnest {
namespace {

using corpus::kPrecision;
using corpus::MakePolygon;
using corpus::Measured;
using corpus::SetArc;

TPolygon Grown(TPolygon p, double d) {
  GrowOutline(p, d, kPrecision);
  p.ComputeBoundingBox(kPrecision);
  p.ComputeArea();
  return p;
}

TPolygon Shrunk(TPolygon p, double d, TOffsetPolygon* rawOut = nullptr) {
  TOffsetPolygon raw;
  TPolygon inner = OffsetInward(p, d, kPrecision, raw);
  if (rawOut != nullptr) *rawOut = raw;
  for (TPolygonArc& arc : inner.FArcs) {
    if (arc.IsArc != 0) ComputeSweep(arc, kPrecision);
  }
  inner.ComputeBoundingBox(kPrecision);
  inner.ComputeArea();
  return inner;
}

size_t ArcCount(const TPolygon& p) {
  size_t n = 0;
  for (const TPolygonArc& arc : p.FArcs) n += arc.IsArc != 0 ? 1 : 0;
  return n;
}

// Every arc of an offset starts and ends on its own circle.
void ExpectArcsMeetTheirVertices(const TPolygon& p) {
  const size_t n = p.FVertices.size();
  for (size_t i = 0; i < n; ++i) {
    const TPolygonArc& arc = p.FArcs[i];
    if (arc.IsArc == 0) continue;
    const TPoint2D a = PointOf(p.FVertices[i]);
    const TPoint2D b = PointOf(p.FVertices[(i + 1) % n]);
    EXPECT_NEAR(Distance(a, arc.Center), arc.Radius, 1e-7) << "arc " << i;
    EXPECT_NEAR(Distance(b, arc.Center), arc.Radius, 1e-7) << "arc " << i;
    const TPoint2D start = ArcPoint(arc, arc.StartAngle);
    const TPoint2D end = ArcPoint(arc, arc.EndAngle);
    EXPECT_NEAR(Distance(a, start), 0, 1e-6) << "arc " << i;
    EXPECT_NEAR(Distance(b, end), 0, 1e-6) << "arc " << i;
  }
}

// The boundary of an offset by d lies at distance d from the original
// boundary, on the outer side for an outward and on the inner side for an
// inward offset. The slack is the offsets' length tolerance, 1e-6 of the
// outline's larger side: arcs are kept as chords, or replaced by straight
// pieces, only within it.
void ExpectBoundaryAtDistance(const TPolygon& original, const TPolygon& offset, double d,
                              bool outward, const std::string& label) {
  const std::vector<TPoint2D> base = corpus::Sample(original, 0.5);
  const double size = std::max(original.FWidth, original.FHeight);
  const double slack = 1.01e-6 * size;
  std::vector<TPoint2D> samples;
  const size_t n = offset.FVertices.size();
  for (size_t i = 0; i < n; ++i) {
    const TPolygonArc& arc = offset.FArcs[i];
    const TPoint2D a = PointOf(offset.FVertices[i]);
    const TPoint2D b = PointOf(offset.FVertices[(i + 1) % n]);
    for (int k = 0; k < 8; ++k) {
      const double t = k / 8.0;
      if (arc.IsArc == 0) {
        samples.push_back({a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)});
      } else {
        const double direction = IsClockwiseArc(arc) ? -1.0 : 1.0;
        samples.push_back(ArcPoint(arc, arc.StartAngle + direction * t * arc.SweepAngle));
      }
    }
  }
  for (size_t i = 0; i < samples.size(); ++i) {
    const TPoint2D s = samples[i];
    const double distance = corpus::DistanceToOutline(original, s);
    ASSERT_LT(distance, d + slack) << label << " sample " << i;
    ASSERT_GT(distance, d - slack) << label << " sample " << i;
    ASSERT_EQ(corpus::InsidePolyline(base, s), !outward) << label << " sample " << i;
  }
}

// --- Outward -------------------------------------------------------------------

TEST(GrowOutline, NonPositiveDistanceChangesNothing) {
  for (double d : {0.0, -1.0, 1e-7}) {
    TPolygon p = corpus::DemoB();
    GrowOutline(p, d, kPrecision);
    ASSERT_EQ(p.NumberOfVertices(), 4) << d;
    EXPECT_EQ(p.FVertices[1].X, 60) << d;
    EXPECT_EQ(p.FArcs[1].IsArc, 1) << d;
  }
}

TEST(GrowOutline, UnitSquareByOne) {
  const TPolygon p = Grown(corpus::UnitSquare(), 1.0);
  ASSERT_EQ(p.NumberOfVertices(), 8);
  EXPECT_EQ(ArcCount(p), 4u);
  for (size_t i = 0; i < 8; ++i) {
    const TPolygonArc& arc = p.FArcs[i];
    const TPoint2D a = PointOf(p.FVertices[i]);
    const TPoint2D b = PointOf(p.FVertices[(i + 1) % 8]);
    if (arc.IsArc != 0) {
      EXPECT_EQ(arc.Clockwise, 0);
      EXPECT_NEAR(arc.Radius, 1, 1e-12);
      EXPECT_NEAR(arc.SweepAngle, 90, 1e-9);
      // About one of the old corners.
      EXPECT_NEAR(std::round(arc.Center.X), arc.Center.X, 1e-12);
      EXPECT_NEAR(std::round(arc.Center.Y), arc.Center.Y, 1e-12);
    } else {
      EXPECT_NEAR(Distance(a, b), 1, 1e-12);
    }
    EXPECT_EQ(p.FVertices[i].Id, 0);
  }
  EXPECT_NEAR(p.FArea, 5 + kPi, 1e-12);
  EXPECT_NEAR(p.FMinX, -1, 1e-12);
  EXPECT_NEAR(p.FMaxY, 2, 1e-12);
}

TEST(OffsetOutward, RawOutlineHasTwoEntriesPerEdgeAndNoIds) {
  TPolygon triangle = Measured(MakePolygon({{0, 0}, {10, 0}, {3, 8}}));
  for (TPolygonVertex& v : triangle.FVertices) v.Id = 77;
  TOffsetPolygon raw;
  const TOffsetPolygon result = OffsetOutward(triangle, 2, kPrecision, raw);
  EXPECT_EQ(raw.NumberOfVertices(), 6);
  EXPECT_EQ(result.NumberOfVertices(), 6);
  for (const TPolygonVertex& v : raw.FVertices) EXPECT_EQ(v.Id, 0);
  for (const TPolygonVertex& v : result.FVertices) EXPECT_EQ(v.Id, 0);
  EXPECT_EQ(triangle.FVertices[1].Id, 77);  // the input keeps its vertices
}

// Their joint starts and ends at one point: it is straightened and removed,
// and the two moved edges meet directly.
TEST(OffsetOutward, CollinearEdgesGetNoJoint) {
  const TPolygon p = Grown(Measured(MakePolygon({{0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}})), 1);
  ASSERT_EQ(p.NumberOfVertices(), 9);
  EXPECT_EQ(ArcCount(p), 4u);
  for (size_t i = 0; i < 9; ++i) {
    if (std::fabs(p.FVertices[i].X - 5) > 1e-12) continue;
    EXPECT_NEAR(p.FVertices[i].Y, -1, 1e-12);
    EXPECT_EQ(p.FArcs[i].IsArc, 0);
    EXPECT_EQ(p.FArcs[(i + 8) % 9].IsArc, 0);
  }
}

// An arc whose radius is smaller than the distance, bent against the offset,
// passes through its centre: radius |r'| and both angles turned by 180.
TEST(OffsetOutward, ArcThroughItsCentreTurnsItsAngles) {
  TPolygon p = MakePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  SetArc(p, 2, {5, 10}, true);  // a clockwise dent of radius 5 in the top edge
  p = Measured(p);
  TOffsetPolygon raw;
  OffsetOutward(p, 6, kPrecision, raw);
  bool found = false;
  for (const TPolygonArc& arc : raw.FArcs) {
    if (arc.IsArc == 0 || std::fabs(arc.Center.X - 5) > 1e-9 ||
        std::fabs(arc.Center.Y - 10) > 1e-9) {
      continue;
    }
    found = true;
    EXPECT_NEAR(arc.Radius, 1, 1e-9);
    EXPECT_NEAR(arc.StartAngle, 180, 1e-9);
    EXPECT_NEAR(arc.EndAngle, 360, 1e-9);  // 180 + 180 is not past 360
  }
  EXPECT_TRUE(found);
  const TPolygon grown = Grown(p, 6);
  ExpectBoundaryAtDistance(p, grown, 6, true, "dent");
}

// Steiner's formula: the outward offset of a convex shape by d has area
// A + P d + pi d^2; its box grows by d on every side and it holds the shape.
TEST(OffsetOutward, ConvexShapesFollowSteinersFormula) {
  std::mt19937 rng(2024);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int i = 0; i < 400; ++i) {
    const TPolygon original = i % 2 == 0 ? Measured(corpus::RandomConvexPolygon(rng, 3 + i % 17))
                                         : corpus::RandomConvexArcShape(rng, 3 + i % 13);
    const double d = 0.05 + 10.0 * unit(rng);
    const TPolygon grown = Grown(original, d);
    const std::string label = "seed 2024, case " + std::to_string(i);
    const double steiner = original.FArea + corpus::Perimeter(original) * d + kPi * d * d;
    ASSERT_NEAR(grown.FArea, steiner, 1e-9 * steiner + 1e-6 * d * d * grown.NumberOfVertices())
        << label;
    const double boxSlack = 4e-5 * d + 1e-9;
    ASSERT_NEAR(grown.FMinX, original.FMinX - d, boxSlack) << label;
    ASSERT_NEAR(grown.FMinY, original.FMinY - d, boxSlack) << label;
    ASSERT_NEAR(grown.FMaxX, original.FMaxX + d, boxSlack) << label;
    ASSERT_NEAR(grown.FMaxY, original.FMaxY + d, boxSlack) << label;
    ASSERT_FALSE(grown.IsClockwise(kPrecision)) << label;
    const std::vector<TPoint2D> boundary = corpus::Sample(grown, 1.0);
    ASSERT_FALSE(corpus::SelfCrosses(boundary)) << label;
    for (const TPoint2D& q : corpus::Sample(original, 5.0)) {
      ASSERT_TRUE(corpus::InsidePolyline(boundary, q)) << label;
    }
    if (i % 10 == 0) ExpectBoundaryAtDistance(original, grown, d, true, label);
  }
}

// Notches narrower than twice the distance are closed: the traced offset is
// one simple contour at distance d from the outline, larger than the outline.
TEST(OffsetOutward, NotchesNarrowerThanTwiceTheDistanceClose) {
  struct Case {
    const char* name;
    TPolygon outline;
    double d;
  };
  const Case cases[] = {
      {"L", corpus::LShape(), 3},
      {"L wide", corpus::LShape(), 12},
      {"comb", corpus::Comb(4, 1.0), 1.0},
      {"comb deep", corpus::Comb(5, 2.0), 3.0},
      {"comb shallow", corpus::Comb(3, 1.5), 0.5},
      {"demo C", corpus::DemoC(), 2},
      {"demo B", corpus::DemoB(), 4},
      {"arc-rich", corpus::ArcRichOutline(), 1.5},
      {"arc-rich fine", corpus::ArcRichOutline(), 0.2},
  };
  for (const Case& c : cases) {
    const TPolygon grown = Grown(c.outline, c.d);
    const std::vector<TPoint2D> boundary = corpus::Sample(grown, 3.0);
    EXPECT_FALSE(corpus::SelfCrosses(boundary)) << c.name;
    EXPECT_GE(grown.FArea, c.outline.FArea) << c.name;
    EXPECT_NEAR(grown.FMinX, c.outline.FMinX - c.d, 4e-5 * c.d) << c.name;
    EXPECT_NEAR(grown.FMaxY, c.outline.FMaxY + c.d, 4e-5 * c.d) << c.name;
    ExpectArcsMeetTheirVertices(grown);
    ExpectBoundaryAtDistance(c.outline, grown, c.d, true, c.name);
  }
  // The comb's notches (width 1) are bridged by the offset of 1: over each
  // notch the corner arcs of the two teeth meet, at 15 + sqrt(3)/2; nothing
  // of the offset reaches down into a notch.
  const TPolygon comb = Grown(corpus::Comb(4, 1.0), 1.0);
  int bridges = 0;
  for (const TPolygonVertex& v : comb.FVertices) {
    EXPECT_FALSE(v.Y < 15.5 && v.X > 0.5 && v.X < 18.5) << v.X << ", " << v.Y;
    if (std::fabs(v.Y - (15 + std::sqrt(3.0) / 2)) < 1e-9) ++bridges;
  }
  EXPECT_EQ(bridges, 3);
}

// Random non-convex outlines with arcs bent either way: the outward offset is
// one simple contour at distance d outside, the inward offset (when anything
// is left) one simple contour at distance d inside.
TEST(Offset, RandomStarShapesKeepTheirDistance) {
  std::mt19937 rng(8);
  std::uniform_real_distribution<double> unit(0, 1);
  int tested = 0;
  for (int i = 0; i < 240; ++i) {
    const TPolygon original = corpus::RandomStarShape(rng, 5 + i % 25);
    const double d = 0.1 + 8.0 * unit(rng);
    // Sampled finely: two arcs can cross just before the vertex they share.
    if (original.FArea <= 0 || corpus::SelfCrosses(corpus::Sample(original, 0.5))) continue;
    ++tested;
    const std::string label = "seed 8, case " + std::to_string(i);
    const TPolygon grown = Grown(original, d);
    ASSERT_FALSE(corpus::SelfCrosses(corpus::Sample(grown, 3.0))) << label;
    ASSERT_GE(grown.FArea, original.FArea) << label;
    ExpectBoundaryAtDistance(original, grown, d, true, label + " outward");
    const TPolygon inner = Shrunk(original, d);
    if (inner.NumberOfVertices() == 0) continue;
    ASSERT_FALSE(corpus::SelfCrosses(corpus::Sample(inner, 3.0))) << label;
    ASSERT_LE(inner.FArea, original.FArea) << label;
    ExpectBoundaryAtDistance(original, inner, d, false, label + " inward");
  }
  EXPECT_GT(tested, 150);
}

// The same for arcs of every sweep, from a thousandth of a degree (radii of
// millions) to 120 degrees: the outward offset never comes closer to the
// outline than the distance less the tolerance, and the inward one is never
// empty while the outline is wider than twice the distance somewhere.
TEST(Offset, ArcsOfEverySweepKeepTheirDistance) {
  const unsigned seed = 4242;
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  int tested = 0;
  int shrunk = 0;
  for (int i = 0; i < 300; ++i) {
    const TPolygon original = corpus::RandomArcShape(rng, 4 + i % 16);
    const double d = std::pow(10.0, -2.0 + 2.5 * unit(rng));
    if (original.FArea <= 0 || corpus::SelfCrosses(corpus::Sample(original, 0.5))) continue;
    ++tested;
    const std::string label = "seed " + std::to_string(seed) + ", case " + std::to_string(i);
    const TPolygon grown = Grown(original, d);
    ASSERT_FALSE(corpus::SelfCrosses(corpus::Sample(grown, 1.0))) << label;
    ExpectBoundaryAtDistance(original, grown, d, true, label + " outward");
    const TPolygon inner = Shrunk(original, d);
    if (inner.NumberOfVertices() == 0) continue;
    ++shrunk;
    ASSERT_FALSE(corpus::SelfCrosses(corpus::Sample(inner, 1.0))) << label;
    ExpectBoundaryAtDistance(original, inner, d, false, label + " inward");
  }
  EXPECT_GT(tested, 200);
  EXPECT_GT(shrunk, 150);
}

// An edge whose squared length counts as zero (5e-4 long after scaling to
// 100) still has its direction: its moved copy is a point, and the offset stays
// at the distance. (Turned by 30 degrees: no edge is nearly horizontal, where
// the quadratic in y of a line's crossing with a circle loses crossings near
// tangency.)
TEST(OffsetOutward, TinyEdgeKeepsItsDirection) {
  TPolygon p = MakePolygon({{0, 0}, {10, 0}, {10, 10}, {5.00005, 10}, {5, 10.00001}, {0, 10}});
  p.Rotate({0, 0}, 30);
  p = Measured(p);
  for (double d : {0.5, 2.0}) {
    const TPolygon grown = Grown(p, d);
    ASSERT_GT(grown.NumberOfVertices(), 0);
    for (const TPolygonVertex& v : grown.FVertices) {
      ASSERT_TRUE(std::isfinite(v.X) && std::isfinite(v.Y));
    }
    ExpectBoundaryAtDistance(p, grown, d, true, "tiny edge");
    const TPolygon inner = Shrunk(p, d);
    ASSERT_GT(inner.NumberOfVertices(), 0);
    ExpectBoundaryAtDistance(p, inner, d, false, "tiny edge inward");
  }
}

// A degenerate outline still has an outward offset: a segment grows into a
// stadium; a single point has nothing to scale and yields nothing.
TEST(OffsetOutward, DegenerateOutlines) {
  const TPolygon segment = Grown(Measured(MakePolygon({{0, 0}, {10, 0}})), 1);
  EXPECT_NEAR(segment.FArea, 2 * 10 * 1 + kPi, 1e-9);
  TPolygon point = Measured(MakePolygon({{3, 3}, {3, 3}, {3, 3}}));
  TOffsetPolygon raw;
  EXPECT_EQ(OffsetOutward(point, 1, kPrecision, raw).NumberOfVertices(), 0);
  TPolygon empty;
  GrowOutline(empty, 1, kPrecision);
  EXPECT_EQ(empty.NumberOfVertices(), 0);
  TPolygon notANumber =
      MakePolygon({{0, 0}, {std::numeric_limits<double>::quiet_NaN(), 0}, {0, 5}});
  GrowOutline(notANumber, 1, kPrecision);  // terminates; the result is not used
  SUCCEED();
}

// --- Inward ------------------------------------------------------------------------

TEST(OffsetInward, SquareShrinksWithSharpCorners) {
  const TPolygon inner = Shrunk(corpus::Square10(), 1);
  ASSERT_EQ(inner.NumberOfVertices(), 4);
  EXPECT_EQ(ArcCount(inner), 0u);
  EXPECT_NEAR(inner.FMinX, 1, 1e-12);
  EXPECT_NEAR(inner.FMinY, 1, 1e-12);
  EXPECT_NEAR(inner.FMaxX, 9, 1e-12);
  EXPECT_NEAR(inner.FMaxY, 9, 1e-12);
  EXPECT_NEAR(inner.FArea, 64, 1e-9);
}

// The inward offset of a convex polygon is the intersection of its edges'
// half-planes moved in by d: clipped independently here.
std::vector<TPoint2D> ClipInward(const TPolygon& convex, double d) {
  std::vector<TPoint2D> region = {{-1e4, -1e4}, {1e4, -1e4}, {1e4, 1e4}, {-1e4, 1e4}};
  const size_t n = convex.FVertices.size();
  for (size_t i = 0; i < n && !region.empty(); ++i) {
    const TPoint2D a = PointOf(convex.FVertices[i]);
    const TPoint2D b = PointOf(convex.FVertices[(i + 1) % n]);
    const double length = std::hypot(b.X - a.X, b.Y - a.Y);
    auto side = [&](TPoint2D p) {
      return ((b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X)) / length - d;
    };
    std::vector<TPoint2D> next;
    for (size_t k = 0; k < region.size(); ++k) {
      const TPoint2D p = region[k];
      const TPoint2D q = region[(k + 1) % region.size()];
      const double sp = side(p), sq = side(q);
      if (sp >= 0) next.push_back(p);
      if ((sp >= 0) != (sq >= 0)) {
        const double t = sp / (sp - sq);
        next.push_back({p.X + t * (q.X - p.X), p.Y + t * (q.Y - p.Y)});
      }
    }
    region = next;
  }
  return region;
}

TEST(OffsetInward, ConvexPolygonsMatchClippedHalfPlanes) {
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> unit(0, 1);
  int kept = 0;
  for (int i = 0; i < 300; ++i) {
    const TPolygon original = Measured(corpus::RandomConvexPolygon(rng, 3 + i % 14));
    const double d = 0.05 + 2.0 * unit(rng);
    const TPolygon inner = Shrunk(original, d);
    const std::vector<TPoint2D> expected = ClipInward(original, d);
    const double expectedArea = expected.size() >= 3 ? corpus::PolylineArea(expected) : 0.0;
    const std::string label = "seed 99, case " + std::to_string(i);
    if (inner.NumberOfVertices() == 0) {
      // Swallowed: what is left is at most a sliver.
      ASSERT_LT(expectedArea, 1e-3 * original.FArea + 1e-6) << label;
      continue;
    }
    ++kept;
    ASSERT_NEAR(inner.FArea, expectedArea, 1e-7 * original.FArea) << label;
    for (const TPolygonVertex& v : inner.FVertices) {
      for (size_t e = 0; e < original.FVertices.size(); ++e) {
        const TPoint2D a = PointOf(original.FVertices[e]);
        const TPoint2D b = PointOf(original.FVertices[(e + 1) % original.FVertices.size()]);
        ASSERT_GE(corpus::DistanceToSegment(PointOf(v), a, b), d * (1 - 1e-9)) << label;
      }
    }
  }
  EXPECT_GT(kept, 250);
}

// Where an arc meets a corner, convexity comes from the turn of the tangents,
// exactly as for two straight edges: convex corners get a straight joint and
// the trace cuts the moved edges at their true crossing; reflex corners get a
// clockwise joint arc of radius d about the corner.
TEST(OffsetInward, ArcCornersAreJudgedByTheirTangents) {
  struct Case {
    const char* name;
    TPolygon outline;
    double d;
    size_t rawJointArcs;  // clockwise arcs of radius d in the raw outline
  };
  // A "D" whose arc meets the straight edges at convex corners; and the
  // corpus D, whose arc continues them tangentially.
  TPolygon bulge = MakePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  SetArc(bulge, 1, {5, 5}, false);
  bulge = Measured(bulge);
  TPolygon d = corpus::DShape();
  // A square whose right edge is a clockwise dent: the dent arrives at its
  // upper corner clockwise, which an end angle minus 90 would call reflex.
  TPolygon dent = MakePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  SetArc(dent, 1, {20, 5}, true);
  dent = Measured(dent);
  // A lens: two arcs meeting at two convex corners.
  TPolygon lens = MakePolygon({{0, 0}, {10, 0}});
  SetArc(lens, 0, {5, 8}, false);
  SetArc(lens, 1, {5, -8}, false);
  lens = Measured(lens);
  // The L with its edge into the reflex corner bent outwards, and a variant
  // bent the other way: both corners stay reflex.
  TPolygon bentOut = MakePolygon({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}});
  SetArc(bentOut, 2, {15, -10}, false);
  bentOut = Measured(bentOut);
  TPolygon bentIn = MakePolygon({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}});
  SetArc(bentIn, 3, {30, 15}, true);
  bentIn = Measured(bentIn);
  const Case cases[] = {
      {"bulge", bulge, 1, 0},      {"D", d, 1, 0},
      {"dent", dent, 1, 0},        {"lens", lens, 1, 0},
      {"bent out", bentOut, 2, 1}, {"bent in", bentIn, 2, 1},
  };
  for (const Case& c : cases) {
    TOffsetPolygon raw;
    const TPolygon inner = Shrunk(c.outline, c.d, &raw);
    ASSERT_GT(inner.NumberOfVertices(), 0) << c.name;
    size_t joints = 0;
    for (const TPolygonArc& arc : raw.FArcs) {
      if (arc.IsArc != 0 && IsClockwiseArc(arc) && std::fabs(arc.Radius - c.d) < 1e-9) ++joints;
    }
    EXPECT_EQ(joints, c.rawJointArcs) << c.name;
    ExpectArcsMeetTheirVertices(inner);
    EXPECT_FALSE(corpus::SelfCrosses(corpus::Sample(inner, 3.0))) << c.name;
    ExpectBoundaryAtDistance(c.outline, inner, c.d, false, c.name);
  }
  // The D shrinks into a D: three straight edges and its arc, radius 5 - 1.
  const TPolygon inner = Shrunk(corpus::DShape(), 1);
  EXPECT_EQ(inner.NumberOfVertices(), 4);
  ASSERT_EQ(ArcCount(inner), 1u);
}

// A hole narrower than twice the distance is swallowed: the inward offset is
// empty, and a hole shape ends empty (no hole) instead of the crossed remains.
TEST(OffsetInward, SwallowedOutlinesAreEmpty) {
  struct Case {
    const char* name;
    TPolygon outline;
    double d;
    bool empty;
  };
  const Case cases[] = {
      {"square by 6", corpus::Square10(), 6, true},
      {"square by 5.01", corpus::Square10(), 5.01, true},
      {"square by 4", corpus::Square10(), 4, false},
      {"strip", Measured(MakePolygon({{0, 0}, {10, 0}, {10, 1}, {0, 1}})), 0.6, true},
      {"triangle", Measured(MakePolygon({{0, 0}, {10, 0}, {5, 3}})), 2, true},
      {"L by 6", corpus::LShape(), 6, true},
      {"L by 4", corpus::LShape(), 4, false},
      {"D by 6", corpus::DShape(), 6, true},
      {"segment", Measured(MakePolygon({{0, 0}, {10, 0}})), 1, true},
  };
  for (const Case& c : cases) {
    const TPolygon inner = Shrunk(c.outline, c.d);
    EXPECT_EQ(inner.NumberOfVertices() == 0, c.empty) << c.name;
    if (!c.empty) ExpectBoundaryAtDistance(c.outline, inner, c.d, false, c.name);
  }
  const TPolygon rest = Shrunk(corpus::Square10(), 4);
  EXPECT_NEAR(rest.FArea, 4, 1e-9);
}

TEST(MakeInnerOffset, ShrinksPolygonAndCircleHoles) {
  TBaseShape polygon;
  polygon.FPolygon = corpus::Square10();
  polygon.FMaxX = 10;
  const TBaseShape raw = MakeInnerOffset(polygon, 1, kPrecision);
  EXPECT_EQ(raw.FShapeType, 0);
  ASSERT_TRUE(polygon.FPolygon && raw.FPolygon);
  EXPECT_EQ(polygon.FPolygon->NumberOfVertices(), 4);
  TPolygon inner = *polygon.FPolygon;
  inner.ComputeBoundingBox(kPrecision);
  EXPECT_NEAR(inner.FMinX, 1, 1e-12);
  EXPECT_NEAR(inner.FMaxY, 9, 1e-12);
  EXPECT_GE(raw.FPolygon->NumberOfVertices(), 4);
  EXPECT_EQ(polygon.FMaxX, 10);  // boxes are left to the caller
  EXPECT_EQ(raw.FMaxX, 0);

  MakeInnerOffset(polygon, 10, kPrecision);
  EXPECT_TRUE(polygon.IsEmpty());

  TBaseShape circle;
  circle.FShapeType = 1;
  circle.FCircle = TCircle({5, 5}, 3);
  const TBaseShape rawCircle = MakeInnerOffset(circle, 1, kPrecision);
  EXPECT_EQ(rawCircle.FShapeType, 1);
  EXPECT_EQ(circle.FCircle->FRadius, 2);
  EXPECT_EQ(rawCircle.FCircle->FRadius, 2);
  MakeInnerOffset(circle, 3, kPrecision);
  EXPECT_TRUE(circle.IsEmpty());

  TBaseShape undefined;  // a hole whose shape was never given
  EXPECT_TRUE(MakeInnerOffset(undefined, 1, kPrecision).IsEmpty());
}

TEST(RemoveDegenerateEdges, StraightensAndRemoves) {
  auto arcEdge = [](double start, double end, double sweep, double radius) {
    TPolygonArc arc;
    arc.IsArc = 1;
    arc.StartAngle = start;
    arc.EndAngle = end;
    arc.SweepAngle = sweep;
    arc.Radius = radius;
    return arc;
  };
  TPolygon p = MakePolygon({{0, 0}, {10, 0}, {10, 0}, {10, 10}, {5, 10}, {0, 10}, {0, 5}, {0, 0}});
  p.FArcs[1] = arcEdge(30, 30, 360, 4);     // equal angles: straight, then of no length
  p.FArcs[3] = arcEdge(10, 200, 359.5, 4);  // nearly a full turn: straight
  p.FArcs[4] = arcEdge(10, 10.4, 0.4, 4);   // barely turns: straight
  p.FArcs[5] = arcEdge(0, 90, 90, 1e-8);    // no radius: removed
  // Vertex 7 equals vertex 0: its edge back to the start has no length.
  RemoveDegenerateEdges(p, kPrecision);
  ASSERT_EQ(p.NumberOfVertices(), 5);
  const double expected[5][2] = {{0, 0}, {10, 0}, {10, 10}, {5, 10}, {0, 5}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(p.FVertices[i].X, expected[i][0]) << i;
    EXPECT_EQ(p.FVertices[i].Y, expected[i][1]) << i;
    EXPECT_EQ(p.FArcs[i].IsArc, 0) << i;
  }
  TPolygon point = MakePolygon({{1, 1}, {1, 1}});
  RemoveDegenerateEdges(point, kPrecision);
  EXPECT_EQ(point.NumberOfVertices(), 0);
}

// An arc becomes its chord only when the two lie within the offsets' length
// tolerance (1e-4 on the normalised copy), however small its sweep. The
// sagitta of a chord c bent by a sweep w is c / 2 x tan(w / 4).
TEST(RemoveDegenerateEdges, StraightensArcsByTheirSagitta) {
  struct Case {
    double chord;
    double sweep;
    bool staysArc;
  };
  const Case cases[] = {
      {100, 0.5, true},   // sagitta 0.11
      {100, 0.01, true},  // 2.2e-3
      {1, 0.01, false},   // 2.2e-5
      {0.1, 90, true},    // 2.1e-2
      {1e-4, 90, false},  // 2.1e-5
  };
  for (const Case& c : cases) {
    // A square whose bottom edge is bent out.
    TPolygon p = corpus::BentRectangle(c.chord, c.chord, c.sweep, false);
    RemoveDegenerateEdges(p, kPrecision);
    ASSERT_EQ(p.NumberOfVertices(), 4) << c.chord << ", " << c.sweep;
    EXPECT_EQ(p.FArcs[0].IsArc != 0, c.staysArc) << c.chord << ", " << c.sweep;
  }
}

}  // namespace
}  // namespace varnest
