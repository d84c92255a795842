#include "varnest/model/hole_usability.h"

namespace varnest {

namespace {

// Plain comparisons: a size equal to the hole's fits.
bool Fits(double width, double height, const TBox& hole) {
  return width <= hole.FWidth && height <= hole.FHeight;
}

bool SomePartFits(const part2d_array_any& parts, const TBox& hole) {
  for (const part2d_any& part : parts) {
    const size_t rotations =
        part.FNumberOfRotations > 0 ? static_cast<size_t>(part.FNumberOfRotations) : 0;
    if (part.IsPolygon()) {
      for (size_t m = 0; m < rotations && m < part.FOffsetOutlines.size(); ++m) {
        const TOffsetPolygon& grown = part.FOffsetOutlines[m];
        if (Fits(grown.FWidth, grown.FHeight, hole)) return true;
      }
    } else if (part.IsCircle() && part.FCircle && rotations > 0) {
      const double diameter = 2.0 * part.FCircle->FRadius;
      if (Fits(diameter, diameter, hole)) return true;
    }
  }
  return false;
}

bool SomeDefectFits(const stock2d_array_any& stocks, const TBox& hole) {
  for (const stock2d_any& stock : stocks) {
    if (stock.FNumberOfHoles <= 0) continue;
    for (const TTrueHole& defect : stock.FHoles) {
      // A defect that was never given has no size, not the size 0.
      if (defect.FShape.IsEmpty()) continue;
      if (Fits(defect.FShape.FWidth, defect.FShape.FHeight, hole)) return true;
    }
  }
  return false;
}

}  // namespace

void CheckHoleUsability(part2d_array_any& parts, const stock2d_array_any& stocks) {
  for (part2d_any& part : parts) {
    const size_t rotations =
        part.FNumberOfRotations > 0 ? static_cast<size_t>(part.FNumberOfRotations) : 0;
    if (rotations == 0 || part.FNumberOfHoles <= 0) continue;
    for (size_t h = 0; h < part.FHoles.size(); ++h) {
      TTrueHole& defined = part.FHoles[h];
      if (defined.FNestInside == 0) continue;
      const bool fits =
          SomePartFits(parts, defined.FShape) || SomeDefectFits(stocks, defined.FShape);
      for (size_t k = 0;
           k < rotations && k < part.FShiftedHoles.size() && k < part.FRotatedHoles.size(); ++k) {
        if (h >= part.FShiftedHoles[k].size() || h >= part.FRotatedHoles[k].size()) continue;
        TTrueHole& shifted = part.FShiftedHoles[k][h];
        const uint8_t usable = fits && !shifted.FShape.IsEmpty() ? 1 : 0;
        shifted.FUsable = usable;
        part.FRotatedHoles[k][h].FUsable = usable;
        defined.FUsable = usable;
      }
    }
  }
}

}  // namespace varnest
