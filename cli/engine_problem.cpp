#include "cli/engine_problem.h"

namespace varnest::cli {

namespace {

constexpr int32_t kPolygon = 0;
constexpr int32_t kCircle = 1;

int32_t Kind(const check::Shape& shape) { return shape.IsCircle() ? kCircle : kPolygon; }
int32_t VertexCount(const check::Shape& shape) {
  return shape.IsCircle() ? 0 : static_cast<int32_t>(shape.vertices.size());
}
int32_t Count(const std::vector<check::Hole>& holes) { return static_cast<int32_t>(holes.size()); }

// Vertices first, then arcs: a vertex call makes its edge straight again.
template <typename SetVertex, typename SetArc>
void DefineOutline(const check::Shape& shape, SetVertex setVertex, SetArc setArc) {
  if (shape.IsCircle()) return;
  for (size_t v = 0; v < shape.vertices.size(); ++v) {
    const check::Vertex& vertex = shape.vertices[v];
    setVertex(static_cast<int32_t>(v), vertex);
  }
  for (size_t v = 0; v < shape.vertices.size(); ++v) {
    const check::Vertex& vertex = shape.vertices[v];
    if (vertex.isArc) setArc(static_cast<int32_t>(v), vertex);
  }
}

void DefineStock(TVarnest2D& engine, int32_t index, const StockEntry& stock, int32_t id) {
  const check::Shape& s = stock.shape;
  engine.SetStock(index, Kind(s), VertexCount(s), s.centerX, s.centerY, s.radius,
                  Count(stock.holes), stock.margin, stock.priority, id);
  DefineOutline(
      s,
      [&](int32_t v, const check::Vertex& x) { engine.SetStockVertex(index, v, x.x, x.y, x.id); },
      [&](int32_t v, const check::Vertex& x) {
        engine.SetStockArc(index, v, x.centerX, x.centerY, x.clockwise ? 1 : 0, x.arcId);
      });
  for (int32_t h = 0; h < Count(stock.holes); ++h) {
    const check::Hole& hole = stock.holes[static_cast<size_t>(h)];
    const check::Shape& hs = hole.shape;
    engine.SetStockHole(index, h, Kind(hs), VertexCount(hs), hs.centerX, hs.centerY, hs.radius,
                        hole.value, hole.id);
    DefineOutline(
        hs,
        [&](int32_t v, const check::Vertex& x) {
          engine.SetStockHoleVertex(index, h, v, x.x, x.y, x.id);
        },
        [&](int32_t v, const check::Vertex& x) {
          engine.SetStockHoleArc(index, h, v, x.centerX, x.centerY, x.clockwise ? 1 : 0, x.arcId);
        });
  }
}

void DefinePart(TVarnest2D& engine, int32_t index, const PartEntry& part, int32_t id) {
  const check::Shape& s = part.shape;
  engine.SetPart(index, Kind(s), VertexCount(s), s.centerX, s.centerY, s.radius, Count(part.holes),
                 part.rotationStep, part.rotationCenterX, part.rotationCenterY, part.mirror ? 1 : 0,
                 part.priority, id);
  DefineOutline(
      s, [&](int32_t v, const check::Vertex& x) { engine.SetPartVertex(index, v, x.x, x.y, x.id); },
      [&](int32_t v, const check::Vertex& x) {
        engine.SetPartArc(index, v, x.centerX, x.centerY, x.clockwise ? 1 : 0, x.arcId);
      });
  for (int32_t h = 0; h < Count(part.holes); ++h) {
    const check::Hole& hole = part.holes[static_cast<size_t>(h)];
    const check::Shape& hs = hole.shape;
    engine.SetPartHole(index, h, Kind(hs), VertexCount(hs), hs.centerX, hs.centerY, hs.radius,
                       hole.nestInside ? 1 : 0, hole.id);
    DefineOutline(
        hs,
        [&](int32_t v, const check::Vertex& x) {
          engine.SetPartHoleVertex(index, h, v, x.x, x.y, x.id);
        },
        [&](int32_t v, const check::Vertex& x) {
          engine.SetPartHoleArc(index, h, v, x.centerX, x.centerY, x.clockwise ? 1 : 0, x.arcId);
        });
  }
}

}  // namespace

void ApplyParameters(TVarnest2D& engine, const Parameters& p) {
  if (p.cutterDiameter) engine.set_CutterDiameter(*p.cutterDiameter);
  if (p.level) engine.set_OptimizationLevel(*p.level);
  if (p.seed) engine.set_RandomSeed(*p.seed);
  if (p.resolution) engine.set_Resolution(*p.resolution);
  if (p.corner) engine.set_OptimizationStartingCorner(*p.corner);
  if (p.direction) engine.set_OptimizationStartingDirection(*p.direction);
  if (p.precision) engine.set_Precision(*p.precision);
  if (p.rotationCenter) engine.set_RotationCenter(*p.rotationCenter);
  if (p.cutterType) engine.set_CutterType(*p.cutterType);
}

void DefineProblem(TVarnest2D& engine, const Problem& problem) {
  const std::vector<Copy> stocks = ExpandStocks(problem);
  const std::vector<Copy> parts = ExpandParts(problem);
  engine.set_NumberOfStockPieces(static_cast<int32_t>(stocks.size()));
  for (size_t i = 0; i < stocks.size(); ++i) {
    DefineStock(engine, static_cast<int32_t>(i), problem.stocks[stocks[i].entry], stocks[i].id);
  }
  engine.set_NumberOfParts(static_cast<int32_t>(parts.size()));
  for (size_t i = 0; i < parts.size(); ++i) {
    DefinePart(engine, static_cast<int32_t>(i), problem.parts[parts[i].entry], parts[i].id);
  }
}

}  // namespace varnest::cli
