#include "demo/demo_problem.h"

namespace varnest::demo {

namespace {

struct TVertex {
  double x, y;
};

constexpr TVertex kStock[] = {{10, 30}, {200, 10}, {290, 100}, {250, 200}, {10, 290}, {100, 100}};
constexpr TVertex kPolygonA[] = {{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}};
constexpr TVertex kPolygonB[] = {{20, 0}, {60, 40}, {20, 80}, {0, 40}};
constexpr TVertex kHoleB[] = {{30, 30}, {50, 40}, {20, 60}, {10, 40}};
constexpr TVertex kPolygonC[] = {{10, 0}, {20, 10}, {10, 20}, {0, 20}, {0, 10}, {10, 10}};

template <int32_t N>
void DefineOutline(TVarnest2D& engine, int32_t part, const TVertex (&vertices)[N]) {
  for (int32_t v = 0; v < N; ++v) engine.SetPartVertex(part, v, vertices[v].x, vertices[v].y, v);
}

}  // namespace

void DefineDemoProblem(TVarnest2D& engine, const TDemoSettings& settings) {
  engine.set_CutterDiameter(0.0);
  engine.set_OptimizationLevel(settings.level);
  engine.set_RandomSeed(0);
  engine.set_Resolution(0.1);
  engine.set_OptimizationStartingCorner(settings.corner);
  engine.set_OptimizationStartingDirection(settings.direction);

  engine.set_NumberOfStockPieces(1);
  engine.SetStock(0, 0, 6, 0, 0, 0, 2, 0.0, 0, 0);
  for (int32_t v = 0; v < 6; ++v) engine.SetStockVertex(0, v, kStock[v].x, kStock[v].y, v);
  engine.SetStockArc(0, 2, 270, 150, 1, 6);
  engine.SetStockArc(0, 5, 55, 65, 0, 7);
  engine.SetStockHole(0, 0, 1, 0, 160, 100, 20, 0.0, 0);
  engine.SetStockHole(0, 1, 1, 0, 110, 200, 20, 0.0, 1);

  const double step = settings.rotationStep;
  const int32_t mirror = settings.allowMirror;
  engine.set_NumberOfParts(80);
  for (int32_t i = 0; i < 20; ++i) {
    engine.SetPart(i, 0, 6, 0, 0, 0, 0, step, 0, 0, mirror, 0, i);
    DefineOutline(engine, i, kPolygonA);
  }
  for (int32_t i = 20; i < 30; ++i) {
    engine.SetPart(i, 0, 4, 0, 0, 0, 1, step, 0, 0, mirror, 0, i);
    DefineOutline(engine, i, kPolygonB);
    engine.SetPartArc(i, 1, 40, 60, 0, 0);
    engine.SetPartHole(i, 0, 0, 4, 0, 0, 0, 1, i);
    for (int32_t v = 0; v < 4; ++v) engine.SetPartHoleVertex(i, 0, v, kHoleB[v].x, kHoleB[v].y, v);
    engine.SetPartHoleArc(i, 0, 0, 40, 35, 0, 0);
  }
  for (int32_t i = 30; i < 40; ++i) {
    engine.SetPart(i, 0, 6, 0, 0, 0, 0, step, 0, 0, mirror, 0, i);
    DefineOutline(engine, i, kPolygonC);
  }
  for (int32_t i = 40; i < 80; ++i) engine.SetPart(i, 1, 0, 20, 30, 10, 0, 0.0, 0, 0, 0, 0, i);
}

}  // namespace varnest::demo
