#pragma once
// Rasterising one outline, with some of its holes, into a grid.
//
// Each strip describes the whole band between two scan lines, not one line:
// its x ranges come from following the boundary through the band from both
// of the band's lines, so the reach of the boundary anywhere within the band
// counts. In a part grid that widens the covered ranges, in a stock grid the
// blocked ones; either way a layout built on the grids never overlaps.
//
// The rasteriser works in outline units with FuzzyCompare throughout and turns
// values into scaled integers only when it appends intervals.

#include <algorithm>
#include <cmath>
#include <cstddef>  // geometry/polygon.h uses size_t without including it
#include <cstdint>

#include "varnest/geometry/circle.h"
#include "varnest/geometry/polygon.h"
#include "varnest/grid/grid.h"
#include "varnest/model/hole.h"

namespace varnest {

inline constexpr int32_t kStockGrid = 0;
inline constexpr int32_t kPartGrid = 1;

// Real to int32 by dropping the fraction, saturating: NaN gives 0 and values
// beyond the range give its ends. A plain conversion of such values would be
// undefined.
inline int32_t TruncToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// The rounding of scaled coordinates, floor(v + 0.5), saturating like
// TruncToInt32.
inline int32_t RoundToInt32(double v) { return TruncToInt32(std::floor(v + 0.5)); }

// Every coordinate and strip index a grid is built with lies within this
// bound, so that the sum or the difference of any two of them (a shift by a
// position, a mirror W - x, n - 1 - line) stays inside int32. A run's scale
// keeps real coordinates near 1e8; only absurd input reaches the bound.
inline constexpr int32_t kGridCoordinateLimit = (1 << 30) - 1;

// Scaled coordinate of v (already multiplied by the scale): rounded, or
// truncated for the grid's width, and held within the grid bound.
inline int32_t ScaledRound(double v) {
  return std::clamp(RoundToInt32(v), -kGridCoordinateLimit, kGridCoordinateLimit);
}
inline int32_t ScaledTrunc(double v) {
  return std::clamp(TruncToInt32(v), -kGridCoordinateLimit, kGridCoordinateLimit);
}

// The strip of a height: a point exactly on a scan line belongs to the strip
// below it, except on the line y = 0. Held within the grid bound.
int32_t LineOf(double y, double resolution, double precision);

// Number of strips of a shape of the given height: a whole number of strips
// within the tolerance gives exactly that many, any other height one more
// than its whole part. Zero for a height that is not a positive number and
// for a resolution that is not a positive number; at most the grid bound.
int32_t NumberOfStrips(double height, double resolution, double precision);

// Fills the grid from the polygon (shape kind 0) or the circle (kind 1),
// whose box is taken to start at (0, 0); whatever the grid held is freed
// first. Mode kPartGrid marks the covered x ranges, leaving open the holes
// whose FUsable flag is set; kStockGrid (any other mode) marks the blocked
// ranges: outside the outline and over every hole. Extents are FWidth and
// FHeight of a polygon, FMaxX and FMaxY of a circle.
void BuildFromShape(TGrid& grid, const TPolygon* polygon, const TCircle* circle, int32_t shapeKind,
                    const TTrueHole* holes, int32_t holeCount, double resolution, double precision,
                    int32_t mode, double scale);

}  // namespace varnest
