#include "check/clearance.h"

#include <cmath>
#include <initializer_list>

namespace varnest::check {

namespace {

// Equality under the engine's tolerance: within precision, or within a
// trillionth when the precision is 0.
bool Equal(double a, double b, double precision) {
  const double t =
      precision > 0.0 ? precision : std::fmax(std::fmin(std::fabs(a), std::fabs(b)) * 1e-12, 1e-12);
  return std::fabs(a - b) <= t;
}

}  // namespace

double GrowthDistance(double cutterDiameter, int32_t cutterType, double resolution,
                      double precision) {
  if (cutterType == 0 || !(resolution > 0.0) || !std::isfinite(resolution)) return cutterDiameter;
  const double strips = std::floor(cutterDiameter / resolution);
  if (!std::isfinite(strips)) return cutterDiameter;
  // The quotient may land just below or just above a whole number when d is
  // one; whichever whole number lies within precision of d is d's own.
  for (const double whole : {strips, strips + 1.0}) {
    if (Equal(whole * resolution, cutterDiameter, precision)) return whole * resolution;
  }
  return (strips + 1.0) * resolution;
}

Clearances PromisedClearances(double cutterDiameter, int32_t cutterType, double resolution,
                              double precision) {
  const double d = cutterDiameter;
  if (!(d > 0.0) || !std::isfinite(d)) return {};
  if (cutterType == 0) return {2.0 * d, d, d, d, 0.0};
  return {GrowthDistance(d, cutterType, resolution, precision), 0.0, 0.0, d, d};
}

}  // namespace varnest::check
