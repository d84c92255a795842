#pragma once
// TCanvas: the handful of drawing calls the layout drawing needs, with the
// semantics of the classic immediate-mode canvas they were written for
// (integer device coordinates, y down, a current pen position, a pen with a
// width and a colour, a brush that fills closed figures), realised with
// QPainter on a QImage.
//
// Drawing is aliased so that every run paints the same pixels and tests can
// look at single pixels. The canvas keeps its state (pen, brush, position)
// itself and opens a painter per call, so the image may be read or copied
// between calls.

#include <QColor>
#include <QImage>
#include <QRectF>
#include <optional>

namespace varnest::demo {

// An arc in QPainter's terms: the ellipse's rectangle, and start and span in
// sixteenths of a degree, counter-clockwise on screen from three o'clock.
struct TQtArc {
  QRectF rect;
  int startAngle = 0;
  int spanAngle = 0;
};

// Converts the canvas arc call (bounding rectangle left, top, right, bottom;
// start point; end point) to QPainter's form. The arc runs counter-clockwise
// on screen from the radial through the start point to the radial through the
// end point; equal radials give the whole ellipse. Angles are parametric (the
// radial's crossing with the ellipse), which is what QPainter expects for an
// ellipse that is not a circle. A rectangle without width or height has no
// ellipse: nothing to draw.
std::optional<TQtArc> ArcToQt(int left, int top, int right, int bottom, int startX, int startY,
                              int endX, int endY);

class TCanvas {
 public:
  explicit TCanvas(QImage& image) : FImage(image) {}
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  int PenWidth() const { return FPenWidth; }
  void SetPenWidth(int width) { FPenWidth = width; }
  QColor PenColor() const { return FPenColor; }
  void SetPenColor(const QColor& color) { FPenColor = color; }
  QColor BrushColor() const { return FBrushColor; }
  void SetBrushColor(const QColor& color) { FBrushColor = color; }
  int PenX() const { return FPenX; }
  int PenY() const { return FPenY; }

  // The rectangle covers columns left .. right - 1 and rows top .. bottom - 1:
  // filled with the brush, outlined with the pen.
  void Rectangle(int left, int top, int right, int bottom);
  void MoveTo(int x, int y);
  // A line from the pen position to (x, y), which becomes the pen position.
  void LineTo(int x, int y);
  void Arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY);
  // The ellipse inside the rectangle, filled with the brush, outlined with the pen.
  void Ellipse(int left, int top, int right, int bottom);

 private:
  QImage& FImage;
  int FPenWidth = 1;
  QColor FPenColor = Qt::black;
  QColor FBrushColor = Qt::white;
  int FPenX = 0;
  int FPenY = 0;
};

}  // namespace varnest::demo
