#include "varnest/model/run_settings.h"

#include <cmath>

#include "varnest/geometry/fuzzy.h"

namespace varnest {

namespace {

bool Roundable(double cutterDiameter, double resolution) {
  return resolution > 0.0 && std::isfinite(resolution) && std::isfinite(cutterDiameter);
}

}  // namespace

double GrowthDistance(double cutterDiameter, int32_t cutterType, double resolution,
                      double precision) {
  // Without a usable strip height there is nothing to round to.
  if (cutterType == 0 || !Roundable(cutterDiameter, resolution)) return cutterDiameter;
  const double strips = std::trunc(cutterDiameter / resolution);
  const double whole = strips * resolution;
  if (FuzzyCompare(whole, cutterDiameter, precision) == 0) return whole;
  return (strips + 1.0) * resolution;
}

double GrowthStrips(double cutterDiameter, double resolution, double precision) {
  if (!Roundable(cutterDiameter, resolution)) return 0.0;
  const double strips = std::trunc(cutterDiameter / resolution);
  return FuzzyCompare(strips * resolution, cutterDiameter, precision) == 0 ? strips : strips + 1.0;
}

double TRunSettings::GrowthDistance() const {
  return varnest::GrowthDistance(CutterDiameter, CutterType, Resolution, Precision);
}

double TRunSettings::GrowthStrips() const {
  return varnest::GrowthStrips(CutterDiameter, Resolution, Precision);
}

double SoundPrecision(double precision) {
  if (std::isnan(precision)) return kDefaultPrecision;
  return std::fabs(precision);
}

double NonNegativeLength(double length) { return length > 0.0 ? length : 0.0; }

}  // namespace varnest
