#include "varnest/grid/scaled_units.h"

#include "varnest/geometry/fuzzy.h"

namespace varnest {

int32_t LineOf(double y, double resolution, double precision) {
  const double t = y / resolution;
  int32_t line = std::clamp(TruncToInt32(t), -kGridCoordinateLimit, kGridCoordinateLimit);
  if (line > 0 && FuzzyCompare(static_cast<double>(line), t, precision) == 0) --line;
  return line;
}

int32_t NumberOfStrips(double height, double resolution, double precision) {
  if (!(resolution > 0.0) || !std::isfinite(resolution)) return 0;
  const double t = height / resolution;
  if (!(t > 0.0) || !std::isfinite(t)) return 0;
  constexpr int32_t kMaxStrips = kGridCoordinateLimit;
  int32_t n = std::min(TruncToInt32(t), kMaxStrips);
  if (FuzzyCompare(static_cast<double>(n), t, precision) != 0 && n < kMaxStrips) ++n;
  return n;
}

double StripHeight(double height, double resolution, double precision) {
  const int32_t strips = NumberOfStrips(height, resolution, precision);
  return strips > 0 ? strips * resolution : height;
}

}  // namespace varnest
