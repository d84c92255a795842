#include "check/collect.h"

#include <cmath>
#include <numbers>

namespace varnest::check {

namespace {

// Polygon stock holes and part holes are kind 0; the engine builds a circle
// for every other kind.
bool IsPolygonKind(int32_t type) { return type == 0; }

std::vector<Vertex> StockHoleVertices(const TVarnest2D& engine, int32_t stock, int32_t hole,
                                      int32_t count) {
  std::vector<Vertex> vertices(static_cast<size_t>(count > 0 ? count : 0));
  for (int32_t v = 0; v < count; ++v) {
    Vertex& out = vertices[static_cast<size_t>(v)];
    engine.GetStockHoleVertex(stock, hole, v, out.x, out.y, out.id);
    int32_t isArc = 0, clockwise = 0;
    engine.GetStockHoleArc(stock, hole, v, isArc, out.centerX, out.centerY, clockwise, out.arcId);
    out.isArc = isArc != 0;
    out.clockwise = clockwise != 0;
  }
  return vertices;
}

// The frame of a placed piece: turned by the angle about the part's rotation
// centre, mirrored by x -> -x when mirrored, then moved by its position. The
// engine reports every placed vertex; a circle hole's placed centre has no
// query, so it is carried through the same frame here.
struct PieceFrame {
  double angle, rotationX, rotationY, x, y;
  bool mirrored;

  void Place(double& px, double& py) const {
    const double a = angle * std::numbers::pi / 180.0;
    const double dx = px - rotationX, dy = py - rotationY;
    double tx = rotationX + std::cos(a) * dx - std::sin(a) * dy;
    const double ty = rotationY + std::sin(a) * dx + std::cos(a) * dy;
    if (mirrored) tx = -tx;
    px = tx + x;
    py = ty + y;
  }
};

PlacedPiece CollectPiece(const TVarnest2D& engine, int32_t sheet, int32_t piece) {
  PlacedPiece out;
  int32_t type = 0, vertexCount = 0, mirrored = 0, holeCount = 0, stockIndex = 0, stockId = 0;
  double cx = 0.0, cy = 0.0, radius = 0.0;
  engine.GetPlacedPart(sheet, piece, type, vertexCount, cx, cy, radius, out.angle, mirrored,
                       holeCount, out.x, out.y, stockIndex, out.partIndex, stockId, out.partId);
  out.mirrored = mirrored != 0;
  if (IsPolygonKind(type)) {
    std::vector<Vertex> vertices(static_cast<size_t>(vertexCount > 0 ? vertexCount : 0));
    for (int32_t v = 0; v < vertexCount; ++v) {
      Vertex& vertex = vertices[static_cast<size_t>(v)];
      int32_t isArc = 0, clockwise = 0, partIndex = 0, partId = 0;
      engine.GetPlacedPartVertex(sheet, piece, v, isArc, vertex.x, vertex.y, vertex.centerX,
                                 vertex.centerY, clockwise, stockIndex, partIndex, stockId, partId,
                                 vertex.id);
      vertex.isArc = isArc != 0;
      vertex.clockwise = clockwise != 0;
    }
    out.outline = Shape::Polygon(std::move(vertices));
  } else {
    out.outline = Shape::Circle(cx, cy, radius);
  }

  PieceFrame frame{out.angle, 0.0, 0.0, out.x, out.y, out.mirrored};
  {
    int32_t partType = 0, n = 0, partHoles = 0, allowMirror = 0, priority = 0, id = 0;
    double pcx = 0.0, pcy = 0.0, pr = 0.0, step = 0.0;
    engine.GetPart(out.partIndex, partType, n, pcx, pcy, pr, partHoles, step, frame.rotationX,
                   frame.rotationY, allowMirror, priority, id);
  }
  for (int32_t h = 0; h < holeCount; ++h) {
    Hole hole;
    int32_t holeType = 0, holeVertices = 0, nestInside = 0;
    double hcx = 0.0, hcy = 0.0, hr = 0.0;
    engine.GetPartHole(out.partIndex, h, holeType, holeVertices, hcx, hcy, hr, nestInside, hole.id);
    hole.nestInside = nestInside != 0;
    if (IsPolygonKind(holeType)) {
      std::vector<Vertex> vertices(static_cast<size_t>(holeVertices > 0 ? holeVertices : 0));
      for (int32_t v = 0; v < holeVertices; ++v) {
        Vertex& vertex = vertices[static_cast<size_t>(v)];
        int32_t isArc = 0, clockwise = 0, partIndex = 0, partId = 0, holeId = 0;
        engine.GetPlacedPartHoleVertex(sheet, piece, h, v, isArc, vertex.x, vertex.y,
                                       vertex.centerX, vertex.centerY, clockwise, stockIndex,
                                       partIndex, stockId, partId, holeId, vertex.id);
        vertex.isArc = isArc != 0;
        vertex.clockwise = clockwise != 0;
      }
      hole.shape = Shape::Polygon(std::move(vertices));
    } else {
      frame.Place(hcx, hcy);
      hole.shape = Shape::Circle(hcx, hcy, hr);
    }
    out.holes.push_back(std::move(hole));
  }
  return out;
}

}  // namespace

Stock CollectStock(const TVarnest2D& engine, int32_t stockIndex) {
  Stock stock;
  stock.index = stockIndex;
  int32_t type = 0, vertexCount = 0, holeCount = 0, priority = 0;
  double cx = 0.0, cy = 0.0, radius = 0.0;
  engine.GetStock(stockIndex, type, vertexCount, cx, cy, radius, holeCount, stock.margin, priority,
                  stock.id);
  if (IsPolygonKind(type)) {
    std::vector<Vertex> vertices(static_cast<size_t>(vertexCount > 0 ? vertexCount : 0));
    for (int32_t v = 0; v < vertexCount; ++v) {
      Vertex& vertex = vertices[static_cast<size_t>(v)];
      engine.GetStockVertex(stockIndex, v, vertex.x, vertex.y, vertex.id);
      int32_t isArc = 0, clockwise = 0;
      engine.GetStockArc(stockIndex, v, isArc, vertex.centerX, vertex.centerY, clockwise,
                         vertex.arcId);
      vertex.isArc = isArc != 0;
      vertex.clockwise = clockwise != 0;
    }
    stock.outline = Shape::Polygon(std::move(vertices));
  } else {
    stock.outline = Shape::Circle(cx, cy, radius);
  }
  for (int32_t h = 0; h < holeCount; ++h) {
    Hole defect;
    int32_t holeType = 0, holeVertices = 0;
    double hcx = 0.0, hcy = 0.0, hr = 0.0;
    engine.GetStockHole(stockIndex, h, holeType, holeVertices, hcx, hcy, hr, defect.value,
                        defect.id);
    defect.shape = IsPolygonKind(holeType)
                       ? Shape::Polygon(StockHoleVertices(engine, stockIndex, h, holeVertices))
                       : Shape::Circle(hcx, hcy, hr);
    stock.defects.push_back(std::move(defect));
  }
  return stock;
}

std::vector<Sheet> CollectSheets(const TVarnest2D& engine) {
  std::vector<Sheet> sheets;
  int32_t count = 0;
  engine.GetSheetCount(count);
  for (int32_t s = 0; s < count; ++s) {
    Sheet sheet;
    int32_t type = 0, stockIndex = -1, stockId = 0, pieces = 0;
    engine.GetSheetStock(s, type, stockIndex, stockId);
    sheet.stock = CollectStock(engine, stockIndex);
    engine.GetSheetUtilization(s, sheet.utilization, stockIndex, stockId);
    engine.GetSheetPartCount(s, pieces, stockIndex, stockId);
    for (int32_t p = 0; p < pieces; ++p) sheet.pieces.push_back(CollectPiece(engine, s, p));
    sheets.push_back(std::move(sheet));
  }
  return sheets;
}

}  // namespace varnest::check
