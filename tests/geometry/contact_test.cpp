#include "varnest/geometry/contact.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "varnest/geometry/arc_primitives.h"

namespace varnest {
namespace {

constexpr double kTol = 1e-6;

struct V {
  double x, y;
  bool arc = false;
  double cx = 0.0, cy = 0.0;
  bool clockwise = false;
};

V Arc(double x, double y, double cx, double cy, bool clockwise = false) {
  return {x, y, true, cx, cy, clockwise};
}

TPolygon Outline(const std::vector<V>& vertices) {
  TPolygon polygon(static_cast<int32_t>(vertices.size()));
  for (size_t i = 0; i < vertices.size(); ++i) {
    polygon.FVertices[i] = {0, vertices[i].x, vertices[i].y};
    if (vertices[i].arc) {
      polygon.FArcs[i].IsArc = 1;
      polygon.FArcs[i].Center = {vertices[i].cx, vertices[i].cy};
      polygon.FArcs[i].Clockwise = vertices[i].clockwise ? 1 : 0;
    }
  }
  return polygon;
}

std::vector<TEdgeGeometry> Edges(const std::vector<V>& vertices) {
  return EdgesOf(Outline(vertices), kTol);
}

std::vector<TEdgeGeometry> Square(double x0, double y0, double size) {
  return Edges({{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}});
}

TEST(CrossesItself, TellsSimpleOutlinesFromOnesThatCrossOrTouchThemselves) {
  struct Case {
    std::string name;
    std::vector<V> outline;
    bool crosses;
  };
  const Case cases[] = {
      {"square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, false},
      {"repeated and collinear vertices",
       {{0, 0}, {5, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 10}},
       false},
      {"D shape", {{0, 0}, Arc(0, 10, 0, 5, false)}, false},
      {"circle of one vertex", {Arc(10, 0, 0, 0)}, false},
      {"notch that stops short",
       {{0, 0}, {10, 0}, {10, 10}, {5, 10}, {5, 0.5}, {4, 10}, {0, 10}},
       false},
      {"bow tie", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, true},
      {"closing arc bulging across an edge",
       {{0, 0}, {20, 0}, {20, 10}, Arc(0, 10, 9.5, 5, true)},
       true},
      {"notch touching the far edge",
       {{0, 0}, {10, 0}, {10, 10}, {5, 10}, {5, 0}, {4, 10}, {0, 10}},
       true},
      {"spike back along an edge",
       {{0, 0}, {10, 0}, {10, 10}, {10, 5}, {12, 5}, {10, 5}, {0, 10}},
       true},
      {"two arcs of one circle folding back",
       {{0, 0}, Arc(10, 0, 5, 0, false), Arc(0, 0, 5, 0, true)},
       true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CrossesItself(Edges(c.outline), kTol), c.crosses) << c.name;
  }
}

TEST(MeetingContours, FlagsBoundariesThatTouchOrCross) {
  const std::vector<std::vector<TEdgeGeometry>> contours = {
      Square(0, 0, 100),                                  // the sheet
      Square(10, 10, 10),                                 // apart from everything
      Square(0, 50, 10),                                  // along the sheet's edge
      Square(40, 40, 10),                                 // crossing the next one
      Square(45, 45, 10), EdgesOf(TCircle({80, 80}, 5)),  // apart
  };
  EXPECT_EQ(MeetingContours(contours, kTol), (std::vector<uint8_t>{1, 0, 1, 1, 1, 0}));
}

TEST(Encloses, CountsCrossingsOfArcsAndThroughVertices) {
  // A D whose round side bulges to the left.
  const std::vector<TEdgeGeometry> d = Edges({{0, 0}, Arc(0, 10, 0, 5, false)});
  EXPECT_TRUE(Encloses(d, {-2, 5}));
  EXPECT_TRUE(Encloses(d, {-4.9, 5}));
  EXPECT_TRUE(Encloses(d, {-1, 9}));
  EXPECT_FALSE(Encloses(d, {-5.1, 5}));
  EXPECT_FALSE(Encloses(d, {0.1, 5}));
  // The line through the diamond's side vertices passes them, not along them.
  const std::vector<TEdgeGeometry> diamond = Edges({{5, 0}, {10, 5}, {5, 10}, {0, 5}});
  EXPECT_TRUE(Encloses(diamond, {5, 5}));
  EXPECT_FALSE(Encloses(diamond, {11, 5}));
}

// Areas known in closed form, holes that cross the outline and each other
// included.
TEST(FreeArea, MatchesClosedFormsWhateverTheHolesDo) {
  struct Case {
    std::string name;
    std::vector<TEdgeGeometry> outline;
    std::vector<std::vector<TEdgeGeometry>> holes;
    double area;
  };
  const Case cases[] = {
      {"square", Square(0, 0, 10), {}, 100.0},
      {"circle", EdgesOf(TCircle({3, 4}, 2)), {}, kPi * 4.0},
      {"D shape", Edges({{0, 0}, Arc(0, 10, 0, 5, false)}), {}, kPi * 25.0 / 2.0},
      {"hole inside", Square(0, 0, 10), {Square(2, 2, 3)}, 91.0},
      {"overlapping holes",
       Square(0, 0, 100),
       {Square(0, 0, 60), Square(40, 40, 60)},
       10000.0 - 3600.0 - 3600.0 + 400.0},
      {"hole across the corner",
       Square(0, 0, 100),
       {EdgesOf(TCircle({0, 0}, 20))},
       10000.0 - kPi * 100.0},
      {"hole covering everything", Square(0, 0, 10), {Square(-1, -1, 12)}, 0.0},
      {"circle with a crossing circle",
       EdgesOf(TCircle({0, 0}, 1)),
       {EdgesOf(TCircle({1, 0}, 1))},
       // The lens of two unit circles a radius apart is 2 pi / 3 - sqrt(3) / 2.
       kPi - (2.0 * kPi / 3.0 - std::sqrt(3.0) / 2.0)},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(FreeArea(c.outline, c.holes), c.area, 1e-9 * std::max(1.0, c.area)) << c.name;
  }
}

}  // namespace
}  // namespace varnest
