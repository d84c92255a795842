#include "varnest/model/rotations.h"

#include <cmath>

#include "varnest/geometry/fuzzy.h"

namespace varnest {

double RotationStepFor(double rotationStep) {
  return rotationStep > 0.0 && rotationStep < kMinRotationStep ? kMinRotationStep : rotationStep;
}

int32_t NumberOfRotationsForStep(double rotationStep, double precision) {
  if (std::isnan(rotationStep) || FuzzyCompare(rotationStep, 0.0, precision) != 1) return 1;
  const double count = std::trunc(360.0 / RotationStepFor(rotationStep));
  if (!(count >= 1.0)) return 1;
  if (count >= kMaxRotations) return kMaxRotations;
  return static_cast<int32_t>(count);
}

}  // namespace varnest
