#include "demo/layout_drawing.h"

#include <algorithm>
#include <cmath>

namespace varnest::demo {

namespace {

// Far outside any image, yet small enough for QPainter's fixed-point
// rasteriser.
constexpr double kCoordinateLimit = 1 << 20;

void DrawStock(const TVarnest2D& engine, TCanvas& canvas, const TSheetMapping& mapping,
               int32_t stock, int32_t numberOfVertices, int32_t numberOfHoles) {
  canvas.SetPenWidth(2);
  for (int32_t i = 0; i < numberOfVertices; ++i) {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0, cx = 0.0, cy = 0.0;
    int32_t id = 0, isArc = 0, clockwise = 0;
    engine.GetStockVertex(stock, i, x0, y0, id);
    engine.GetStockVertex(stock, (i + 1) % numberOfVertices, x1, y1, id);
    engine.GetStockArc(stock, i, isArc, cx, cy, clockwise, id);
    DrawEdge(canvas, mapping, x0, y0, x1, y1, isArc, cx, cy, clockwise);
  }

  canvas.SetPenWidth(1);
  canvas.SetPenColor(Qt::red);
  for (int32_t h = 0; h < numberOfHoles; ++h) {
    int32_t type = 0, m = 0, id = 0;
    double cx = 0.0, cy = 0.0, radius = 0.0, value = 0.0;
    engine.GetStockHole(stock, h, type, m, cx, cy, radius, value, id);
    if (type == 0) {
      for (int32_t i = 0; i < m; ++i) {
        double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0, ax = 0.0, ay = 0.0;
        int32_t isArc = 0, clockwise = 0;
        engine.GetStockHoleVertex(stock, h, i, x0, y0, id);
        engine.GetStockHoleVertex(stock, h, (i + 1) % m, x1, y1, id);
        engine.GetStockHoleArc(stock, h, i, isArc, ax, ay, clockwise, id);
        DrawEdge(canvas, mapping, x0, y0, x1, y1, isArc, ax, ay, clockwise);
      }
    } else {
      DrawCircle(canvas, mapping, cx, cy, radius);
    }
  }
}

void DrawPiece(const TVarnest2D& engine, TCanvas& canvas, const TSheetMapping& mapping,
               int32_t piece) {
  int32_t type = 0, n = 0, mirrored = 0, holes = 0, stockIndex = 0, part = -1, stockId = 0,
          partId = 0;
  double cx = 0.0, cy = 0.0, radius = 0.0, angle = 0.0, x = 0.0, y = 0.0;
  engine.GetPlacedPart(0, piece, type, n, cx, cy, radius, angle, mirrored, holes, x, y,
                       stockIndex, part, stockId, partId);
  if (part < 0) return;  // the piece query did not answer

  int32_t partType = 0, m = 0, partHoles = 0, allowMirror = 0, priority = 0, id = 0;
  double pcx = 0.0, pcy = 0.0, pr = 0.0, step = 0.0, rcx = 0.0, rcy = 0.0;
  engine.GetPart(part, partType, m, pcx, pcy, pr, partHoles, step, rcx, rcy, allowMirror,
                 priority, id);

  if (partType != 0) {
    DrawCircle(canvas, mapping, cx, cy, radius);
  } else {
    for (int32_t i = 0; i < m; ++i) {
      double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0, ax = 0.0, ay = 0.0, unusedX = 0.0,
             unusedY = 0.0;
      int32_t isArc = 0, clockwise = 0, unused = 0, unusedClockwise = 0;
      engine.GetPlacedPartVertex(0, piece, i, isArc, x0, y0, ax, ay, clockwise, unused, unused,
                                 unused, unused, unused);
      engine.GetPlacedPartVertex(0, piece, (i + 1) % m, unused, x1, y1, unusedX, unusedY,
                                 unusedClockwise, unused, unused, unused, unused, unused);
      DrawEdge(canvas, mapping, x0, y0, x1, y1, isArc, ax, ay, clockwise);
    }
  }

  canvas.SetPenColor(Qt::blue);
  for (int32_t h = 0; h < partHoles; ++h) {
    int32_t holeType = 0, q = 0, nestInside = 0, holeId = 0;
    double hx = 0.0, hy = 0.0, hr = 0.0;
    engine.GetPartHole(part, h, holeType, q, hx, hy, hr, nestInside, holeId);
    if (holeType == 0) {
      for (int32_t i = 0; i < q; ++i) {
        double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0, ax = 0.0, ay = 0.0, unusedX = 0.0,
               unusedY = 0.0;
        int32_t isArc = 0, clockwise = 0, unused = 0, unusedClockwise = 0;
        engine.GetPlacedPartHoleVertex(0, piece, h, i, isArc, x0, y0, ax, ay, clockwise, unused,
                                       unused, unused, unused, unused, unused);
        engine.GetPlacedPartHoleVertex(0, piece, h, (i + 1) % q, unused, x1, y1, unusedX,
                                       unusedY, unusedClockwise, unused, unused, unused, unused,
                                       unused, unused);
        DrawEdge(canvas, mapping, x0, y0, x1, y1, isArc, ax, ay, clockwise);
      }
    } else {
      // The defined centre moved by the piece's position; the piece's turn is
      // not applied, which is exact for the usual centred round hole only.
      DrawCircle(canvas, mapping, hx + x, hy + y, hr);
    }
  }
  canvas.SetPenColor(Qt::black);
}

}  // namespace

int TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(std::trunc(value), -kCoordinateLimit, kCoordinateLimit));
}

std::optional<TSheetMapping> FitSheet(double minX, double minY, double maxX, double maxY,
                                      int width, int height) {
  if (!std::isfinite(minX) || !std::isfinite(minY) || !std::isfinite(maxX) ||
      !std::isfinite(maxY))
    return std::nullopt;
  // A box flat in one direction still fits along the other (the division by
  // its zero extent gives infinity, which the minimum drops).
  const double scale = std::min(width / (maxX - minX), height / (maxY - minY));
  if (!std::isfinite(scale) || scale <= 0.0) return std::nullopt;
  return TSheetMapping{minX, minY, scale, height};
}

void DrawEdge(TCanvas& canvas, const TSheetMapping& mapping, double x0, double y0, double x1,
              double y1, int32_t isArc, double centerX, double centerY, int32_t clockwise) {
  if (isArc != 0) {
    const double r = std::hypot(x0 - centerX, y0 - centerY);
    const QPoint corner0 = mapping.Line(centerX - r, centerY - r);
    const QPoint corner1 = mapping.Line(centerX + r, centerY + r);
    // The canvas arc runs counter-clockwise; a clockwise edge is the same arc
    // walked from its end.
    const QPoint start = mapping.Line(clockwise == 0 ? x0 : x1, clockwise == 0 ? y0 : y1);
    const QPoint end = mapping.Line(clockwise == 0 ? x1 : x0, clockwise == 0 ? y1 : y0);
    canvas.Arc(corner0.x(), corner0.y(), corner1.x(), corner1.y(), start.x(), start.y(),
               end.x(), end.y());
  } else {
    const QPoint from = mapping.Line(x0, y0);
    const QPoint to = mapping.Line(x1, y1);
    canvas.MoveTo(from.x(), from.y());
    canvas.LineTo(to.x(), to.y());
  }
}

void DrawCircle(TCanvas& canvas, const TSheetMapping& mapping, double centerX, double centerY,
                double radius) {
  const QPoint corner0 = mapping.EllipseCorner(centerX - radius, centerY - radius);
  const QPoint corner1 = mapping.EllipseCorner(centerX + radius, centerY + radius);
  canvas.Ellipse(corner0.x(), corner0.y(), corner1.x(), corner1.y());
}

bool DrawFirstSheet(const TVarnest2D& engine, TCanvas& canvas, int width, int height) {
  int32_t sheetType = 0, stock = -1, stockId = 0;
  engine.GetSheetStock(0, sheetType, stock, stockId);
  // An unused sheet reports the number of stocks as its stock.
  if (stock < 0 || stock >= engine.get_NumberOfStockPieces()) return false;

  int32_t type = 0, n = 0, holes = 0, priority = 0, id = 0;
  double cx = 0.0, cy = 0.0, radius = 0.0, margin = 0.0;
  engine.GetStock(stock, type, n, cx, cy, radius, holes, margin, priority, id);
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
  engine.GetStockBounds(stock, minX, minY, maxX, maxY);
  const std::optional<TSheetMapping> mapping = FitSheet(minX, minY, maxX, maxY, width, height);
  if (!mapping) return false;

  DrawStock(engine, canvas, *mapping, stock, n, holes);
  canvas.SetPenColor(Qt::black);
  canvas.SetBrushColor(Qt::white);
  int32_t pieces = 0, sheetStock = 0, sheetStockId = 0;
  engine.GetSheetPartCount(0, pieces, sheetStock, sheetStockId);
  for (int32_t j = 0; j < pieces; ++j) DrawPiece(engine, canvas, *mapping, j);
  return true;
}

}  // namespace varnest::demo
