// Flattening errs on the side it is asked to, and by no more than the chord
// tolerance. The oracle is the exact area of the curved shape (polygon plus
// circular segments) and the distance of every flattened point from the
// true circle of its arc.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "check/flatten.h"

namespace varnest::check {
namespace {

namespace bg = boost::geometry;

Vertex V(double x, double y) { return {x, y, 0, false, 0, 0, false, 0}; }
Vertex Arc(double x, double y, double cx, double cy, bool clockwise) {
  return {x, y, 0, true, cx, cy, clockwise, 0};
}

Shape Reversed(const Shape& shape) {
  // The same region listed clockwise: vertex order reversed, each arc moved
  // to the edge that now runs the other way and turned round.
  Shape out = shape;
  const size_t n = shape.vertices.size();
  for (size_t i = 0; i < n; ++i) {
    const Vertex& from = shape.vertices[n - 1 - i];
    const Vertex& edge = shape.vertices[(2 * n - 2 - i) % n];  // the edge that ended at `from`
    out.vertices[i] = {from.x,       from.y,       from.id,         edge.isArc,
                       edge.centerX, edge.centerY, !edge.clockwise, edge.arcId};
  }
  return out;
}

struct Case {
  const char* name;
  Shape shape;
};

// The demo's polygon B (a semicircle bulging out), the demo stock (one bulge,
// one notch), a slot with a notch of half a turn, one with a notch of more
// than half a turn, and a circle.
std::vector<Case> Corpus() {
  return {
      {"bulge", Shape::Polygon({V(20, 0), Arc(60, 40, 40, 60, false), V(20, 80), V(0, 40)})},
      {"stock", Shape::Polygon({V(10, 30), V(200, 10), Arc(290, 100, 270, 150, true), V(250, 200),
                                V(10, 290), Arc(100, 100, 55, 65, false)})},
      {"half notch", Shape::Polygon({V(0, 0), V(40, 0), V(40, 30), Arc(28, 30, 20, 30, true),
                                     V(12, 30), V(0, 30)})},
      {"deep notch", Shape::Polygon({V(0, 0), V(40, 0), V(40, 30), Arc(28, 30, 20, 25, true),
                                     V(12, 30), V(0, 30)})},
      {"circle", Shape::Circle(5, -3, 12.5)},
  };
}

// An upper bound of the boundary length: every arc counted as a full turn.
double Perimeter(const Shape& shape) {
  if (shape.IsCircle()) return 2.0 * std::numbers::pi * shape.radius;
  double total = 0.0;
  const size_t n = shape.vertices.size();
  for (size_t i = 0; i < n; ++i) {
    const Vertex& a = shape.vertices[i];
    const Vertex& b = shape.vertices[(i + 1) % n];
    total += std::hypot(b.x - a.x, b.y - a.y);
    if (a.isArc) total += 2.0 * std::numbers::pi * std::hypot(a.x - a.centerX, a.y - a.centerY);
  }
  return total;
}

TEST(Flatten, ErrsOnTheAskedSideWithinTheTolerance) {
  for (const double tolerance : {1e-1, 1e-3}) {
    for (const Case& c : Corpus()) {
      for (const bool reversed : {false, true}) {
        const Shape shape = reversed && !c.shape.IsCircle() ? Reversed(c.shape) : c.shape;
        SCOPED_TRACE(std::string(c.name) + (reversed ? " (clockwise)" : "") + " tolerance " +
                     std::to_string(tolerance));
        const double exact = std::fabs(ExactArea(shape));
        const double slack = tolerance * Perimeter(shape);
        const FlatShape shrunk = FlattenShape(shape, Bias::kShrink, tolerance);
        const FlatShape grown = FlattenShape(shape, Bias::kGrow, tolerance);
        ASSERT_EQ(shrunk.status, FlattenStatus::kOk);
        ASSERT_EQ(grown.status, FlattenStatus::kOk);
        const double inner = bg::area(shrunk.polygon);
        const double outer = bg::area(grown.polygon);
        EXPECT_LE(inner, exact * (1 + 1e-12));
        EXPECT_GE(inner, exact - slack);
        EXPECT_GE(outer, exact * (1 - 1e-12));
        EXPECT_LE(outer, exact + slack);
        // Containment, not only area: nothing of the shrunk polygon lies
        // outside the grown one.
        Region outside;
        bg::difference(shrunk.polygon, grown.polygon, outside);
        EXPECT_LE(bg::area(outside), 1e-9 * exact);
      }
    }
  }
}

TEST(Flatten, ExactAreaOfKnownShapes) {
  // Polygon B: the quadrilateral (2400) plus a half disc of radius sqrt(800).
  EXPECT_NEAR(ExactArea(Corpus()[0].shape), 2400.0 + 400.0 * std::numbers::pi, 1e-9);
  EXPECT_NEAR(ExactArea(Reversed(Corpus()[0].shape)), -(2400.0 + 400.0 * std::numbers::pi), 1e-9);
  // The slot 40 x 30 minus a notch of half a disc of radius 8.
  EXPECT_NEAR(ExactArea(Corpus()[2].shape), 1200.0 - 32.0 * std::numbers::pi, 1e-9);
}

TEST(Flatten, PointsStayWithinTheToleranceOfTheCircle) {
  const double tolerance = 0.01;
  const Shape circle = Shape::Circle(0, 0, 50);
  for (const Bias bias : {Bias::kShrink, Bias::kGrow}) {
    const FlatShape flat = FlattenShape(circle, bias, tolerance);
    ASSERT_EQ(flat.status, FlattenStatus::kOk);
    const auto& ring = flat.polygon.outer();
    for (size_t i = 0; i + 1 < ring.size(); ++i) {
      // Vertices and edge midpoints: the extremes of the distance.
      const Point mid((ring[i].x() + ring[i + 1].x()) / 2, (ring[i].y() + ring[i + 1].y()) / 2);
      for (const Point& p : {ring[i], mid}) {
        const double d = std::hypot(p.x(), p.y()) - 50.0;
        if (bias == Bias::kShrink) {
          EXPECT_LE(d, 1e-9);
          EXPECT_GE(d, -tolerance - 1e-9);
        } else {
          EXPECT_GE(d, -1e-9);
          EXPECT_LE(d, tolerance + 1e-9);
        }
      }
    }
  }
}

TEST(Flatten, DegenerateShapesHaveADefinedStatus) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* name;
    Shape shape;
    FlattenStatus expected;
  } cases[] = {
      {"no vertices", Shape::Polygon({}), FlattenStatus::kEmpty},
      {"two vertices", Shape::Polygon({V(0, 0), V(1, 1)}), FlattenStatus::kEmpty},
      {"one point thrice", Shape::Polygon({V(3, 3), V(3, 3), V(3, 3)}), FlattenStatus::kEmpty},
      {"collinear", Shape::Polygon({V(0, 0), V(1, 1), V(2, 2)}), FlattenStatus::kEmpty},
      {"NaN vertex", Shape::Polygon({V(0, 0), V(nan, 0), V(0, 1)}), FlattenStatus::kNotFinite},
      {"infinite arc centre", Shape::Polygon({Arc(0, 0, inf, 0, false), V(1, 0), V(0, 1)}),
       FlattenStatus::kNotFinite},
      {"crossing itself", Shape::Polygon({V(0, 0), V(20, 0), V(20, 10), V(10, -5), V(0, 10)}),
       FlattenStatus::kSelfCrossing},
      {"zero radius", Shape::Circle(1, 1, 0), FlattenStatus::kEmpty},
      {"negative radius", Shape::Circle(1, 1, -2), FlattenStatus::kEmpty},
      {"NaN radius", Shape::Circle(1, 1, nan), FlattenStatus::kNotFinite},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const Bias bias : {Bias::kShrink, Bias::kGrow}) {
      EXPECT_EQ(FlattenShape(c.shape, bias, 0.01).status, c.expected);
    }
  }
}

TEST(Flatten, ZeroRadiusArcIsAStraightEdgeAndRepeatedClosingVertexIsDropped) {
  const Shape square =
      Shape::Polygon({Arc(0, 0, 0, 0, false), V(10, 0), V(10, 10), V(0, 10), V(0, 0)});
  const FlatShape flat = FlattenShape(square, Bias::kShrink, 0.01);
  ASSERT_EQ(flat.status, FlattenStatus::kOk);
  EXPECT_DOUBLE_EQ(bg::area(flat.polygon), 100.0);
  EXPECT_EQ(flat.polygon.outer().size(), 5u);  // four corners, closed
}

}  // namespace
}  // namespace varnest::check
