#include <gtest/gtest.h>

#include <cmath>

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/contour_trace.h"
#include "varnest/geometry/offset.h"
#include "tests/geometry/shape_corpus.h"

namespace varnest {
namespace {

using corpus::kPrecision;
using corpus::MakePolygon;
using corpus::Measured;

TOffsetPolygon Traced(const TPolygon& raw) {
  TOffsetPolygon result = TraceOuterContour(TOffsetPolygon(raw), kPrecision);
  RemoveDegenerateEdges(result, kPrecision);
  return result;
}

void ExpectVertices(const TPolygon& p, std::initializer_list<corpus::XY> expected) {
  ASSERT_EQ(p.FVertices.size(), expected.size());
  size_t i = 0;
  for (const corpus::XY& e : expected) {
    EXPECT_NEAR(p.FVertices[i].X, e.x, 1e-12) << "vertex " << i;
    EXPECT_NEAR(p.FVertices[i].Y, e.y, 1e-12) << "vertex " << i;
    ++i;
  }
}

// Without crossings the raw outline comes back edge for edge, from its lowest
// point (ties to the later index); meeting a neighbour at a shared end point
// is the same as following the edges.
TEST(TraceOuterContour, SimpleOutlineIsReproducedFromItsLowestPoint) {
  const TPolygon square = MakePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  ExpectVertices(Traced(square), {{10, 0}, {10, 10}, {0, 10}, {0, 0}});
  const TPolygon arrow = MakePolygon({{0, 5}, {4, 1}, {8, 5}, {4, 9}});
  ExpectVertices(Traced(arrow), {{4, 1}, {8, 5}, {4, 9}, {0, 5}});
}

// A loop that the outline makes across its own edge is left out: the walk
// switches to the crossing edge at the nearest crossing.
TEST(TraceOuterContour, LoopsAreLeftOut) {
  const TPolygon looped =
      MakePolygon({{0, 0}, {10, 0}, {10, 10}, {3, 10}, {3, 13}, {5, 13}, {5, 8}, {0, 8}});
  ExpectVertices(Traced(looped), {{10, 0}, {10, 10}, {5, 10}, {5, 8}, {0, 8}, {0, 0}});
}

// A walk may begin at any point of the boundary: it comes out as the same
// contour, from the vertex where the walk re-entered its start edge, with no
// vertex at the point where it began.
TEST(TraceContourFrom, AnyPointOfTheBoundaryGivesTheSameContour) {
  const TOffsetPolygon looped(
      MakePolygon({{0, 0}, {10, 0}, {10, 10}, {3, 10}, {3, 13}, {5, 13}, {5, 8}, {0, 8}}));
  struct Case {
    TTraceStart start;
    std::initializer_list<corpus::XY> expected;
  };
  const Case cases[] = {
      {{1, {10, 5}, 0}, {{10, 0}, {10, 10}, {5, 10}, {5, 8}, {0, 8}, {0, 0}}},
      {{2, {7, 10}, 0}, {{10, 10}, {5, 10}, {5, 8}, {0, 8}, {0, 0}, {10, 0}}},
      {{7, {0, 4}, 0}, {{0, 8}, {0, 0}, {10, 0}, {10, 10}, {5, 10}, {5, 8}}},
  };
  for (const Case& c : cases) {
    TOffsetPolygon result = TraceContourFrom(looped, c.start, kPrecision);
    RemoveDegenerateEdges(result, kPrecision);
    ExpectVertices(result, c.expected);
  }
  // The lowest point of the looped outline is its vertex (10, 0), later of
  // the two at height 0.
  const TTraceStart lowest = LowestTraceStart(looped, kPrecision);
  EXPECT_EQ(lowest.Edge, 1);
  // Inside an arc: the raw outward offset of a square, begun halfway along
  // a corner's joint arc, traces the same grown square.
  TPolygon square = corpus::Square10();
  TOffsetPolygon raw;
  const TOffsetPolygon grown = OffsetOutward(square, 1, kPrecision, raw);
  for (int32_t e = 0; e < raw.NumberOfVertices(); ++e) {
    const TPolygonArc& arc = raw.FArcs[static_cast<size_t>(e)];
    if (arc.IsArc == 0) continue;
    const double middle = arc.StartAngle + arc.SweepAngle / 2;
    TOffsetPolygon again = TraceContourFrom(raw, {e, ArcPoint(arc, middle), middle}, kPrecision);
    RemoveDegenerateEdges(again, kPrecision);
    ASSERT_EQ(again.NumberOfVertices(), grown.NumberOfVertices()) << "joint " << e;
    again.ComputeArea();
    EXPECT_NEAR(again.FArea, 100 + 40 + kPi, 1e-9) << "joint " << e;
  }
}

TEST(TraceOuterContour, EmptyAndTinyOutlines) {
  EXPECT_EQ(TraceOuterContour(TOffsetPolygon(), kPrecision).NumberOfVertices(), 0);
  const TOffsetPolygon one = TraceOuterContour(TOffsetPolygon(MakePolygon({{1, 2}})), kPrecision);
  ASSERT_GE(one.NumberOfVertices(), 1);
  EXPECT_EQ(one.FVertices[0].X, 1);
}

// When the lowest point is the bottom of a raw arc, the result starts there and
// the two pieces of that arc, at the start and at the end of the walk, become
// one arc again.
TEST(TraceOuterContour, StartOnAnArcMergesItsTwoPieces) {
  // A triangle pointing down: the joint arc at its bottom vertex holds the
  // lowest point of the outward offset strictly inside it.
  TPolygon triangle = Measured(MakePolygon({{0, 10}, {5, 0}, {10, 10}}));
  triangle.MakeCounterClockwise(kPrecision);
  triangle = Measured(triangle);
  TOffsetPolygon raw;
  const TOffsetPolygon grown = OffsetOutward(triangle, 1, kPrecision, raw);
  ASSERT_EQ(grown.NumberOfVertices(), 6);
  size_t arcs = 0;
  for (size_t i = 0; i < 6; ++i) {
    const TPolygonArc& arc = grown.FArcs[i];
    if (arc.IsArc == 0) continue;
    ++arcs;
    // No arc is split: the next edge never lies on the same circle.
    const TPolygonArc& next = grown.FArcs[(i + 1) % 6];
    EXPECT_FALSE(next.IsArc != 0 && Distance(next.Center, arc.Center) < 1e-9) << i;
  }
  EXPECT_EQ(arcs, 3u);
  // The bottom arc about (5, 0) spans the whole joint.
  bool bottom = false;
  for (const TPolygonArc& arc : grown.FArcs) {
    if (arc.IsArc != 0 && Distance(arc.Center, {5, 0}) < 1e-9) {
      bottom = true;
      const double turn = 180 - 2 * RadiansToDegrees(std::atan2(5, 10));  // exterior angle
      // The ends come from crossings with the tangent moved edges.
      EXPECT_NEAR(arc.SweepAngle, turn, 1e-5);
    }
  }
  EXPECT_TRUE(bottom);
}

}  // namespace
}  // namespace varnest
