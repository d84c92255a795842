#include "cli/demo_problem.h"

#include "varnest/engine/varnest2d.h"

namespace varnest::cli {

namespace {

using check::Shape;
using check::Vertex;

struct XY {
  double x, y;
};

template <size_t N>
Shape Outline(const XY (&points)[N]) {
  std::vector<Vertex> vertices;
  for (size_t i = 0; i < N; ++i) {
    Vertex v;
    v.x = points[i].x;
    v.y = points[i].y;
    v.id = static_cast<int32_t>(i);
    vertices.push_back(v);
  }
  return Shape::Polygon(std::move(vertices));
}

void MakeArc(Shape& shape, size_t edge, double cx, double cy, bool clockwise, int32_t id) {
  Vertex& v = shape.vertices[edge];
  v.isArc = true;
  v.centerX = cx;
  v.centerY = cy;
  v.clockwise = clockwise;
  v.arcId = id;
}

constexpr XY kStock[] = {{10, 30}, {200, 10}, {290, 100}, {250, 200}, {10, 290}, {100, 100}};
constexpr XY kPolygonA[] = {{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}};
constexpr XY kPolygonB[] = {{20, 0}, {60, 40}, {20, 80}, {0, 40}};
constexpr XY kHoleB[] = {{30, 30}, {50, 40}, {20, 60}, {10, 40}};
constexpr XY kPolygonC[] = {{10, 0}, {20, 10}, {10, 20}, {0, 20}, {0, 10}, {10, 10}};

// Consecutive copies whose ids count up from `first`.
Identity Counted(int32_t first, int32_t quantity) { return {first, 1, quantity}; }

PartEntry Plain(Shape shape, Identity identity) {
  PartEntry part;
  part.shape = std::move(shape);
  part.identity = identity;
  return part;
}

}  // namespace

Problem DemoProblem() {
  Problem problem;
  problem.name = "demo";
  // The window sets these; precision, rotation centre and cutter type stay
  // at the engine's defaults, written out so that the file says everything.
  problem.parameters.cutterDiameter = 0.0;
  problem.parameters.level = 1;
  problem.parameters.seed = 0;
  problem.parameters.resolution = 0.1;
  problem.parameters.corner = 0;
  problem.parameters.direction = 0;
  problem.parameters = problem.parameters.Resolved();

  StockEntry stock;
  stock.shape = Outline(kStock);
  MakeArc(stock.shape, 2, 270, 150, true, 6);
  MakeArc(stock.shape, 5, 55, 65, false, 7);
  stock.holes = {check::Hole{Shape::Circle(160, 100, 20), false, 0.0, 0},
                 check::Hole{Shape::Circle(110, 200, 20), false, 0.0, 1}};
  stock.identity = {0, std::nullopt, 1};
  problem.stocks.push_back(std::move(stock));

  problem.parts.push_back(Plain(Outline(kPolygonA), Counted(0, 20)));
  // Each part B carries its own index as the id of its hole, so the ten
  // copies are ten entries.
  for (int32_t i = 20; i < 30; ++i) {
    PartEntry b = Plain(Outline(kPolygonB), {i, std::nullopt, 1});
    MakeArc(b.shape, 1, 40, 60, false, 0);
    Shape hole = Outline(kHoleB);
    MakeArc(hole, 0, 40, 35, false, 0);
    b.holes = {check::Hole{std::move(hole), true, 0.0, i}};
    problem.parts.push_back(std::move(b));
  }
  problem.parts.push_back(Plain(Outline(kPolygonC), Counted(30, 10)));
  problem.parts.push_back(Plain(Shape::Circle(20, 30, 10), Counted(40, 40)));
  return problem;
}

}  // namespace varnest::cli
