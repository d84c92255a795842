#include "demo/canvas.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace varnest::demo {

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
constexpr double kFullTurn = 360.0;
// Two radials whose angles differ by less than this are one radial: atan2 of
// two points on the same radial can differ in the last bit, and such an arc
// must be the whole ellipse, not an empty sliver.
constexpr double kSameRadial = 1e-9;

QPen PenOf(const TCanvas& canvas) {
  // Round caps and joins, as the canvas's geometric pens have; a width below
  // 1 still draws a one-pixel line.
  return QPen(canvas.PenColor(), std::max(canvas.PenWidth(), 1), Qt::SolidLine, Qt::RoundCap,
              Qt::RoundJoin);
}

// The rectangle from corner to corner, whichever way round they are given.
QRectF Normalised(int left, int top, int right, int bottom) {
  return QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
}

}  // namespace

std::optional<TQtArc> ArcToQt(int left, int top, int right, int bottom, int startX, int startY,
                              int endX, int endY) {
  const double cx = (left + right) / 2.0;
  const double cy = (top + bottom) / 2.0;
  const double rx = std::abs(right - left) / 2.0;
  const double ry = std::abs(bottom - top) / 2.0;
  if (rx == 0.0 || ry == 0.0) return std::nullopt;

  // y grows downwards on screen, so cy - y is the upward distance.
  const double start = std::atan2((cy - startY) / ry, (startX - cx) / rx) * kDegreesPerRadian;
  const double end = std::atan2((cy - endY) / ry, (endX - cx) / rx) * kDegreesPerRadian;
  double span = std::fmod(end - start, kFullTurn);
  if (span < 0.0) span += kFullTurn;
  if (span < kSameRadial || kFullTurn - span < kSameRadial) span = kFullTurn;

  TQtArc arc;
  arc.rect = Normalised(left, top, right, bottom);
  arc.startAngle = static_cast<int>(std::lround(16.0 * start));
  arc.spanAngle = static_cast<int>(std::lround(16.0 * span));
  return arc;
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  const int x0 = std::min(left, right), x1 = std::max(left, right);
  const int y0 = std::min(top, bottom), y1 = std::max(top, bottom);
  if (x1 - x0 < 1 || y1 - y0 < 1) return;
  QPainter painter(&FImage);
  painter.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), FBrushColor);
  painter.setPen(PenOf(*this));
  painter.setBrush(Qt::NoBrush);
  // An aliased QRect outline covers width + 1 columns: the last column and
  // row of the outline are right - 1 and bottom - 1.
  painter.drawRect(QRect(x0, y0, x1 - x0 - 1, y1 - y0 - 1));
}

void TCanvas::MoveTo(int x, int y) {
  FPenX = x;
  FPenY = y;
}

void TCanvas::LineTo(int x, int y) {
  QPainter painter(&FImage);
  painter.setPen(PenOf(*this));
  painter.drawLine(QPoint(FPenX, FPenY), QPoint(x, y));
  FPenX = x;
  FPenY = y;
}

void TCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX,
                  int endY) {
  const std::optional<TQtArc> arc = ArcToQt(left, top, right, bottom, startX, startY, endX, endY);
  if (!arc) return;
  QPainter painter(&FImage);
  painter.setPen(PenOf(*this));
  painter.drawArc(arc->rect, arc->startAngle, arc->spanAngle);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  QPainter painter(&FImage);
  painter.setPen(PenOf(*this));
  painter.setBrush(FBrushColor);
  painter.drawEllipse(Normalised(left, top, right, bottom));
}

}  // namespace varnest::demo
