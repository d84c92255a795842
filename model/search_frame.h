#pragma once
// The search frame: where the starting corner and direction are realised.
//
// The search always packs lowest strip first, then smallest x. Every other
// corner and direction is obtained in two steps, and undone in the same two
// steps when a position is reported:
//
//   1. The direction turn. For packing along y first every prepared shape is
//      turned by 90 degrees before rasterising, (x, y) -> (H - y, x) with H
//      the height of the shape's box, so the box stays at the origin with
//      width and height exchanged.
//   2. The flips. Grids built in that (turned) frame are copied mirrored left
//      to right and/or top to bottom, so that the chosen corner becomes the
//      lowest, leftmost one.
//
// The mirror image of a part orientation is a third flip, across the packing
// direction: left to right for rows along x, top to bottom for columns along y
// (which is left to right in the caller's frame).
//
// A grid's strips are whole: a flip top to bottom mirrors a shape about the
// top of its last strip, not about its own height. That difference, less than
// one strip, is what PlacedCorner accounts for; mapping back about the real
// heights would put a piece next to the place its grids proved free.

#include <cstdint>

#include "varnest/geometry/point.h"

namespace varnest {

inline constexpr int32_t kDirectionAlongX = 0;
inline constexpr int32_t kDirectionAlongY = 1;

// The extent of a shape or grid as the search sees it in the turned frame:
// its real width and height, and the height of its whole strips.
struct TFrameExtent {
  double Width = 0.0;
  double Height = 0.0;
  double StripHeight = 0.0;  // a whole number of strips, >= Height
};

class TSearchFrame {
 public:
  // corner 0..3 and direction 0..1 as the engine stores them; other values
  // count as corner 0 and direction 1, as the engine's setters map them.
  TSearchFrame(int32_t corner, int32_t direction);

  bool AlongY() const { return FAlongY; }
  // The flips that copy a grid of the turned frame into the search frame.
  bool FlipsX() const { return FFlipsX; }
  bool FlipsY() const { return FFlipsY; }
  // The flip that makes the mirror image of a grid already in the search
  // frame: across the packing direction.
  bool MirrorFlipsX() const { return !FAlongY; }
  bool MirrorFlipsY() const { return FAlongY; }

  // The direction turn of a point of a shape whose box has height h, and its
  // inverse for a shape whose turned box has width w (the height before the
  // turn).
  TPoint2D Turned(TPoint2D p, double h) const;
  TPoint2D Unturned(TPoint2D p, double w) const;

  // The lower left corner, in the caller's orientation and relative to the
  // stock's box corner, of a part's box whose grid was found at (x, y) of the
  // search frame (x the grid's left edge, y the bottom of its first strip).
  // part and stock are extents in the turned frame.
  TPoint2D PlacedCorner(double x, double y, const TFrameExtent& part, bool mirrored,
                        const TFrameExtent& stock) const;

  // Where a point of the caller's frame, relative to the stock's box corner,
  // lies in the search frame of a stock of the given (turned) extent.
  TPoint2D ToSearchFrame(TPoint2D p, const TFrameExtent& stock) const;

 private:
  bool FAlongY = false;
  bool FFlipsX = false;
  bool FFlipsY = false;
};

}  // namespace varnest
