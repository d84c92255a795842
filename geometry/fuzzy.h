#pragma once
// Three-way comparison of reals under a tolerance: the one comparison that
// every geometric decision of a run goes through.

#include <algorithm>
#include <cmath>

namespace varnest {

// Relative tolerance used when the caller passes 0: 1000 ulps of 1.0 scaled
// by the smaller magnitude, never below the absolute floor.
inline constexpr double kDefaultRelativeTolerance = 1e-12;

// Returns 0 when |a - b| <= t, otherwise -1 for a < b and 1 for a > b.
// A NaN on either side compares as greater: the result is always defined.
inline int FuzzyCompare(double a, double b, double t = 0.0) {
  if (t == 0.0) {
    t = std::max(std::min(std::fabs(a), std::fabs(b)) * kDefaultRelativeTolerance,
                 kDefaultRelativeTolerance);
  }
  if (a < b) return (b - a <= t) ? 0 : -1;
  return (a - b <= t) ? 0 : 1;
}

}  // namespace varnest
