#include "varnest/model/search_frame.h"

namespace varnest {

namespace {

struct TFlips {
  bool X;
  bool Y;
};

// Indexed by the corner as the turned frame sees it. Packing along y first
// turns the shapes counter-clockwise, so each corner of the caller's frame is
// the next corner round in the turned one.
constexpr TFlips kCornerFlips[4] = {
    {false, false},  // lowest x and y: as built
    {true, false},   // highest x, lowest y
    {true, true},    // highest x and y
    {false, true},   // lowest x, highest y
};

}  // namespace

TSearchFrame::TSearchFrame(int32_t corner, int32_t direction)
    : FAlongY(direction != kDirectionAlongX) {
  const int32_t c = corner >= 0 && corner <= 3 ? corner : 0;
  const TFlips flips = kCornerFlips[FAlongY ? (c + 1) % 4 : c];
  FFlipsX = flips.X;
  FFlipsY = flips.Y;
}

TPoint2D TSearchFrame::Turned(TPoint2D p, double h) const {
  return FAlongY ? TPoint2D{h - p.Y, p.X} : p;
}

TPoint2D TSearchFrame::Unturned(TPoint2D p, double w) const {
  return FAlongY ? TPoint2D{p.Y, w - p.X} : p;
}

TPoint2D TSearchFrame::PlacedCorner(double x, double y, const TFrameExtent& part, bool mirrored,
                                    const TFrameExtent& stock) const {
  // Flipped top to bottom an odd number of times (by the frame, by the mirror
  // image), the part's grid holds the shape at the top of its last strip.
  // Each case is written out so that no coordinate takes a detour through
  // sums that cancel: a flip undone is the value itself, to the last bit.
  const bool partFlippedY = FFlipsY != (mirrored && MirrorFlipsY());
  double bottom = y;
  if (FFlipsY) {
    bottom = partFlippedY ? stock.StripHeight - y - part.StripHeight
                          : stock.StripHeight - y - part.Height;
  } else if (partFlippedY) {
    bottom = y + (part.StripHeight - part.Height);
  }
  // Turned back, the turned box's x range becomes the caller's y range, in
  // reverse: the flip left to right cancels the reversal.
  if (FAlongY) return TPoint2D{bottom, FFlipsX ? x : stock.Width - x - part.Width};
  return TPoint2D{FFlipsX ? stock.Width - x - part.Width : x, bottom};
}

TPoint2D TSearchFrame::ToSearchFrame(TPoint2D p, const TFrameExtent& stock) const {
  // The turned stock's width is its height before the turn.
  const TPoint2D turned = Turned(p, stock.Width);
  return TPoint2D{FFlipsX ? stock.Width - turned.X : turned.X,
                  FFlipsY ? stock.StripHeight - turned.Y : turned.Y};
}

}  // namespace varnest
