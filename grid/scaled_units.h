#pragma once
// Scaled units: the integers a grid is built in.
//
// A run maps lengths to integers by its scale, kScaledExtent over the widest
// prepared shape, so the widest shape is 1e8 units wide and every other
// coordinate of the run lies near that range. Heights are counted in strips
// of the run's resolution. This header holds the conversions from reals to
// those integers; every one of them saturates, because a conversion of NaN
// or of a value beyond int32 would be undefined.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace varnest {

// The scaled width of the widest prepared shape of a run.
inline constexpr double kScaledExtent = 1e8;

// Every coordinate and strip index a grid is built with lies within this
// bound, so that the sum or the difference of any two of them (a shift by a
// position, a mirror W - x, n - 1 - line) stays inside int32. A run's scale
// keeps real coordinates near kScaledExtent; only absurd input reaches the
// bound.
inline constexpr int32_t kGridCoordinateLimit = (1 << 30) - 1;

// Real to int32 by dropping the fraction, saturating: NaN gives 0 and values
// beyond the range give its ends.
inline int32_t TruncToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// The rounding of scaled coordinates, floor(v + 0.5), saturating like
// TruncToInt32.
inline int32_t RoundToInt32(double v) { return TruncToInt32(std::floor(v + 0.5)); }

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

// The height of a shape's grid: its whole strips. A height that gives no
// strips stays as it is.
double StripHeight(double height, double resolution, double precision);

}  // namespace varnest
