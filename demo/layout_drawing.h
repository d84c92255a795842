#pragma once
// The drawing of the first used sheet of a finished run: the stock outline,
// its defects in red, and every placed piece in black with its holes in blue,
// fitted into the image with the sheet's bounding box at the lower-left
// corner and y growing upwards.

#include <QPoint>
#include <optional>

#include "demo/canvas.h"
#include "varnest/engine/varnest2d.h"

namespace varnest::demo {

// Truncation towards zero. Values beyond what a picture can use (and NaN,
// which comes only from broken input) are held to a finite range so that the
// conversion to int is always defined; QPainter clips what falls outside.
int TruncToInt(double value);

// The two ways a point of the sheet is mapped to the image. They differ only
// in where the truncation of y happens, which moves a point by one pixel at
// most; the line form serves edges and arcs, the ellipse form circles.
struct TSheetMapping {
  double MinX = 0.0;
  double MinY = 0.0;
  double Scale = 1.0;
  int Height = 0;

  QPoint Line(double x, double y) const {
    return {TruncToInt((x - MinX) * Scale), Height - TruncToInt((y - MinY) * Scale)};
  }
  QPoint EllipseCorner(double x, double y) const {
    return {TruncToInt((x - MinX) * Scale), TruncToInt(Height - (y - MinY) * Scale)};
  }
};

// The mapping that fits the box into a width x height image: one scale for
// both axes, the smaller of the two fits. A box without extent, or with
// non-finite values, has no mapping.
std::optional<TSheetMapping> FitSheet(double minX, double minY, double maxX, double maxY,
                                      int width, int height);

// One outline edge from (x0, y0) to (x1, y1): a circular arc about its centre
// (radius the distance of the first vertex from it) when isArc is set,
// otherwise a straight line.
void DrawEdge(TCanvas& canvas, const TSheetMapping& mapping, double x0, double y0, double x1,
              double y1, int32_t isArc, double centerX, double centerY, int32_t clockwise);
void DrawCircle(TCanvas& canvas, const TSheetMapping& mapping, double centerX, double centerY,
                double radius);

// Draws sheet 0 of the run that the engine is reporting (to be called from
// OnFinish, after the background is cleared). Returns false, drawing
// nothing, when the run used no sheet or the sheet has no drawable box.
bool DrawFirstSheet(const TVarnest2D& engine, TCanvas& canvas, int width, int height);

}  // namespace varnest::demo
