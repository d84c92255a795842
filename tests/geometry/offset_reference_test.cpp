// The offsets against an independent reference: Boost.Geometry's buffer of
// the outline flattened finely, with round joins. Outwards the grown outline
// must hold the true offset; inwards its area must be that of the reference
// (the largest piece when the offset falls apart).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "check/flatten.h"
#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/offset.h"
#include "tests/geometry/shape_corpus.h"

namespace varnest {
namespace {

namespace bg = boost::geometry;
using corpus::kPrecision;
using corpus::MakePolygon;
using corpus::Measured;
using corpus::SetArc;

// The length tolerance of the offsets, relative to an outline's larger side:
// no edge of an offset strays further from the true offset.
constexpr double kOffsetTolerance = 1e-6;
// The reference flattens curves to within these fractions of the size: finely
// where it must show a fault of the tolerance's size, more coarsely where it
// brackets an area from both sides (Boost's buffer slows down sharply on long
// runs of tiny edges that the offset swallows). Its round joins have this
// many points on a full circle, on the circle.
constexpr double kFineFlattening = 1e-7;
constexpr double kCoarseFlattening = 1e-5;
constexpr int kPointsPerCircle = 7200;

double SizeOf(const TPolygon& p) { return std::max(p.FWidth, p.FHeight); }

check::Shape ShapeOf(const TPolygon& p) {
  std::vector<check::Vertex> vertices;
  for (size_t i = 0; i < p.FVertices.size(); ++i) {
    const TPolygonArc& arc = p.FArcs[i];
    check::Vertex v;
    v.x = p.FVertices[i].X;
    v.y = p.FVertices[i].Y;
    v.isArc = arc.IsArc != 0;
    v.centerX = arc.Center.X;
    v.centerY = arc.Center.Y;
    v.clockwise = IsClockwiseArc(arc);
    vertices.push_back(v);
  }
  return check::Shape::Polygon(std::move(vertices));
}

// kShrink keeps the polygon inside the outline, kGrow holds the outline.
check::Polygon Flat(const TPolygon& p, check::Bias bias, double flattening,
                    const std::string& label) {
  const check::FlatShape flat = check::FlattenShape(ShapeOf(p), bias, flattening * SizeOf(p));
  EXPECT_EQ(flat.status, check::FlattenStatus::kOk) << label;
  return flat.polygon;
}

// Boost simplifies its input by a thousandth of the distance before it
// buffers, far coarser than the tolerance under test; this distance keeps
// every point.
struct TUnsimplifiedDistance : bg::strategy::buffer::distance_symmetric<double> {
  using distance_symmetric::distance_symmetric;
  double simplify_distance() const { return 0.0; }
};

check::Region Buffer(const check::Polygon& polygon, double distance) {
  const TUnsimplifiedDistance by(distance);
  const bg::strategy::buffer::join_round join(kPointsPerCircle);
  const bg::strategy::buffer::end_round end(kPointsPerCircle);
  const bg::strategy::buffer::point_circle circle(kPointsPerCircle);
  const bg::strategy::buffer::side_straight side;
  check::Region result;
  bg::buffer(polygon, result, by, side, join, end, circle);
  return result;
}

double LargestArea(const check::Region& region) {
  double largest = 0.0;
  for (const check::Polygon& piece : region) largest = std::max(largest, bg::area(piece));
  return largest;
}

TPolygon Grown(TPolygon p, double d) {
  GrowOutline(p, d, kPrecision);
  p.ComputeBoundingBox(kPrecision);
  p.ComputeArea();
  return p;
}

TPolygon Shrunk(TPolygon p, double d) {
  TOffsetPolygon raw;
  TPolygon inner = OffsetInward(p, d, kPrecision, raw);
  for (TPolygonArc& arc : inner.FArcs) {
    if (arc.IsArc != 0) ComputeSweep(arc, kPrecision);
  }
  inner.ComputeBoundingBox(kPrecision);
  inner.ComputeArea();
  return inner;
}

// Every point of the reference (the outline flattened inwards, then buffered
// with joins on the circle: a subset of the true offset) lies inside the
// grown outline flattened outwards, or no further outside than the
// tolerance. The grown outline is no larger than the reference beyond the
// same tolerance along its perimeter.
void ExpectGrownHoldsTrueOffset(const TPolygon& part, double d, const std::string& label) {
  const TPolygon grown = Grown(part, d);
  ASSERT_GT(grown.NumberOfVertices(), 0) << label;
  const double size = SizeOf(part);
  const check::Region reference =
      Buffer(Flat(part, check::Bias::kShrink, kFineFlattening, label), d);
  const check::Polygon outer = Flat(grown, check::Bias::kGrow, kFineFlattening, label);
  double worst = 0.0;
  for (const check::Polygon& piece : reference) {
    for (const check::Point& p : piece.outer()) worst = std::max(worst, bg::distance(p, outer));
  }
  EXPECT_LE(worst, kOffsetTolerance * size * (1 + 1e-6)) << label << ": the true offset sticks out";
  const double referenceArea = bg::area(reference);
  const double slack = (kOffsetTolerance + 2 * kFineFlattening) * size *
                       static_cast<double>(bg::perimeter(reference));
  EXPECT_NEAR(grown.FArea, referenceArea, slack + 1e-9 * referenceArea) << label;
}

// The area of the inward offset lies between those of the largest pieces of
// two references, the outline flattened inwards and outwards, within the
// tolerance along the perimeter; where the reference keeps more than that,
// the offset is never empty.
void ExpectInnerAreaOfReference(const TPolygon& hole, double d, const std::string& label) {
  const double size = SizeOf(hole);
  const double lower =
      LargestArea(Buffer(Flat(hole, check::Bias::kShrink, kCoarseFlattening, label), -d));
  const double upper =
      LargestArea(Buffer(Flat(hole, check::Bias::kGrow, kCoarseFlattening, label), -d));
  const TPolygon inner = Shrunk(hole, d);
  const double area = inner.NumberOfVertices() == 0 ? 0.0 : inner.FArea;
  const double slack = kOffsetTolerance * size * corpus::Perimeter(hole) + 1e-9 * size * size;
  if (lower > slack) {
    ASSERT_GT(inner.NumberOfVertices(), 0) << label << ": empty, expected area " << lower;
  }
  EXPECT_GE(area, lower - slack) << label;
  EXPECT_LE(area, upper + slack) << label;
}

// --- Outward -------------------------------------------------------------------

struct TNamedOutline {
  std::string name;
  TPolygon outline;
  std::vector<double> distances;
};

using TExpectation = void (*)(const TPolygon&, double, const std::string&);

void ExpectForEveryDistance(const std::vector<TNamedOutline>& cases, TExpectation expect) {
  for (const TNamedOutline& c : cases) {
    for (double d : c.distances) expect(c.outline, d, c.name + " by " + std::to_string(d));
  }
}

// Seeded random outlines with arcs of every sweep (simple ones only), each at
// a distance from 10^lowest to 10^(lowest + decades).
int ExpectForRandomArcShapes(unsigned seed, int count, double lowest, double decades,
                             TExpectation expect) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(0, 1);
  int tested = 0;
  for (int i = 0; i < count; ++i) {
    const TPolygon original = corpus::RandomArcShape(rng, 4 + i % 9);
    const double d = std::pow(10.0, lowest + decades * unit(rng));
    if (original.FArea <= 0 || corpus::SelfCrosses(corpus::Sample(original, 0.5))) continue;
    ++tested;
    expect(original, d, "seed " + std::to_string(seed) + ", case " + std::to_string(i));
  }
  return tested;
}

// Arcs of every sweep: barely bent edges (the sagitta of a 0.9 degree bend of
// a 100-long edge is 0.196, twice the distance 0.1), arcs a hair short of a
// full turn, and the shapes that every nesting job has.
std::vector<TNamedOutline> OutwardCases() {
  return {
      {"bulge 0.9 degree", corpus::BentRectangle(100, 50, 0.9, false), {0.1, 1, 10}},
      {"bulge 0.01 degree", corpus::BentRectangle(100, 50, 0.01, false), {0.001, 0.1, 5}},
      {"bulge 2 degree", corpus::BentRectangle(100, 50, 2, false), {0.1, 3}},
      {"dent 0.9 degree", corpus::BentRectangle(100, 50, 0.9, true), {0.1, 1, 30}},
      {"dent 0.2 degree", corpus::BentRectangle(1000, 20, 0.2, true), {0.5}},
      {"disc missing 0.5 degree", corpus::NotchedDisc(10, 0.5, 0), {0.1, 2, 20}},
      {"disc notched 0.5 degree", corpus::NotchedDisc(10, 0.5, 10), {0.1, 2}},
      {"disc missing 1.5 degree", corpus::NotchedDisc(10, 1.5, 0), {0.5}},
      {"pac-man", corpus::NotchedDisc(10, 60, 10), {0.5, 3}},
      {"half disc", corpus::HalfDisc(5), {0.25, 4}},
      {"rounded rectangle", corpus::RoundedRectangle(20, 10, 2), {0.1, 3}},
      {"D", corpus::DShape(), {0.5, 7}},
      {"demo B", corpus::DemoB(), {0.3, 4}},
      {"L", corpus::LShape(), {0.3, 12}},
  };
}

TEST(OffsetReference, GrownOutlineHoldsTheTrueOffset) {
  ExpectForEveryDistance(OutwardCases(), ExpectGrownHoldsTrueOffset);
}

// The fault this guards: an arc of less than a degree was grown as its chord,
// which leaves the bulge outside the grown outline.
TEST(OffsetReference, BarelyBentEdgeIsGrownPastItsBulge) {
  const TPolygon part = corpus::BentRectangle(100, 50, 0.9, false);
  ASSERT_NEAR(part.FMinY, -0.196, 1e-3);
  const TPolygon grown = Grown(part, 0.1);
  EXPECT_LE(grown.FMinY, part.FMinY - 0.1 + 1e-9);
  EXPECT_GE(grown.FMinY, part.FMinY - 0.1 - kOffsetTolerance * 100);
  // An arc a hair short of a full turn keeps its circle.
  const TPolygon disc = Grown(corpus::NotchedDisc(10, 0.5, 0), 1);
  EXPECT_NEAR(disc.FWidth, 22, 1e-4);
  EXPECT_NEAR(disc.FArea, kPi * 121, 0.1);
}

TEST(OffsetReference, RandomArcShapesGrowAroundTheirTrueOffset) {
  EXPECT_GT(ExpectForRandomArcShapes(20240611, 16, -2.0, 3.0, ExpectGrownHoldsTrueOffset), 8);
}

// --- Inward ----------------------------------------------------------------------

// A 10 x 10 box and a 16 x 16 box joined by a neck 4 long and 2 high, the
// larger box's lower right corner rounded to the given radius; listed from
// the given vertex on.
TPolygon Dumbbell(double radius, int firstVertex = 0) {
  TPolygon p = MakePolygon({{0, 0},
                            {10, 0},
                            {10, 4},
                            {14, 4},
                            {14, 0},
                            {30 - radius, 0},
                            {30, radius},
                            {30, 16},
                            {14, 16},
                            {14, 6},
                            {10, 6},
                            {10, 10},
                            {0, 10}});
  SetArc(p, 5, {30 - radius, radius}, false);
  std::rotate(p.FVertices.begin(), p.FVertices.begin() + firstVertex, p.FVertices.end());
  std::rotate(p.FArcs.begin(), p.FArcs.begin() + firstVertex, p.FArcs.end());
  return p;
}

// Holes with arc edges, where the distance passes the radii of their arcs and
// the lengths of their edges.
std::vector<TNamedOutline> InwardCases() {
  return {
      {"rounded rectangle", corpus::RoundedRectangle(20, 10, 2), {0.5, 1.9, 2, 2.1, 3, 4.9}},
      {"rounded rectangle round ends", corpus::RoundedRectangle(20, 10, 4.999), {1, 4, 4.5}},
      {"rounded hole 80 x 40", corpus::RoundedRectangle(80, 40, 2), {1.5, 3, 19}},
      {"half disc", corpus::HalfDisc(5), {0.25, 1, 2, 2.4}},
      {"D", corpus::DShape(), {0.5, 1, 3, 4.9}},
      {"bulge", corpus::BentRectangle(10, 10, 90, false), {1, 4, 5.5}},
      {"dent", corpus::BentRectangle(10, 10, 60, true), {1, 3}},
      {"barely bent in", corpus::BentRectangle(100, 20, 0.5, true), {0.2, 5}},
      {"barely bent out", corpus::BentRectangle(100, 20, 0.5, false), {0.2, 5}},
      {"pac-man", corpus::NotchedDisc(10, 60, 10), {1, 4}},
      {"disc missing 0.5 degree", corpus::NotchedDisc(10, 0.5, 0), {1, 9}},
      {"dumbbell", Measured(Dumbbell(4)), {0.8, 1.3, 2.5, 3.7}},
      {"arc-rich", corpus::ArcRichOutline(48), {0.5, 3, 20}},
      {"demo B", corpus::DemoB(), {1, 10}},
  };
}

TEST(OffsetReference, InnerOffsetHasTheAreaOfTheReference) {
  ExpectForEveryDistance(InwardCases(), ExpectInnerAreaOfReference);
}

// The rounded rectangle of the fault report: past the corner radius the
// inward offset is a plain rectangle (15.8 x 5.8 at 2.1, 14 x 4 at 3).
TEST(OffsetReference, RoundedRectanglePastItsCornerRadius) {
  const TPolygon hole = corpus::RoundedRectangle(20, 10, 2);
  EXPECT_NEAR(Shrunk(hole, 2.1).FArea, 15.8 * 5.8, 1e-9);
  EXPECT_NEAR(Shrunk(hole, 3).FArea, 56, 1e-9);
  // A half disc keeps a circular segment for every distance below its radius.
  for (double d : {0.5, 1.0, 2.0}) {
    const double theta = 2 * std::acos(d / (5 - d));
    const double segment = (5 - d) * (5 - d) / 2 * (theta - std::sin(theta));
    EXPECT_NEAR(Shrunk(corpus::HalfDisc(5), d).FArea, segment, 1e-9 * 25) << d;
  }
}

// A waist narrower than twice the distance splits the offset; the larger end
// is kept whichever end the outline starts at.
TEST(OffsetReference, SplitOffsetKeepsTheLargestPiece) {
  for (int rotation = 0; rotation < 12; ++rotation) {
    // Every starting vertex in turn, and the whole turned.
    TPolygon p = Dumbbell(2, rotation);
    p.Rotate({15, 8}, 30.0 * rotation);
    p = Measured(p);
    const std::string label = "rotation " + std::to_string(rotation);
    const TPolygon inner = Shrunk(p, 2.1);
    ASSERT_GT(inner.NumberOfVertices(), 0) << label;
    // The big end shrunk: about 12 x 12, far more than the small end's 6 x 6.
    EXPECT_GT(inner.FArea, 100) << label;
    ExpectInnerAreaOfReference(p, 2.1, label);
  }
}

TEST(OffsetReference, RandomArcShapesShrinkToTheReference) {
  EXPECT_GT(ExpectForRandomArcShapes(77, 60, -1.0, 2.0, ExpectInnerAreaOfReference), 30);
}

}  // namespace
}  // namespace varnest
