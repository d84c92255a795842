#include "varnest/model/run_settings.h"

#include <cmath>

namespace varnest {

double SoundPrecision(double precision) {
  if (std::isnan(precision)) return kDefaultPrecision;
  return std::fabs(precision);
}

double NonNegativeLength(double length) { return length > 0.0 ? length : 0.0; }

}  // namespace varnest
