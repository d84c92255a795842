#pragma once

#include <cstdint>

namespace varnest {

// Upper bound on the rotations of one part, and the least rotation step that
// goes with it: every rotation is prepared and rasterised before the search,
// so an unbounded count (a step of 1e-9 would ask for 3.6e11) cannot be
// honoured anyway, and a smaller step with the count cut off would turn the
// part through only part of the circle.
inline constexpr int32_t kMaxRotations = 36000;
inline constexpr double kMinRotationStep = 360.0 / kMaxRotations;

// The step a part is turned by: a positive step below kMinRotationStep is
// taken as kMinRotationStep, any other step as given.
double RotationStepFor(double rotationStep);

// The number of rotations a step asks for: 360 / step truncated, at least 1
// (a step of zero, a negative or NaN step, or one above 360 turn nothing) and
// at most kMaxRotations.
int32_t NumberOfRotationsForStep(double rotationStep, double precision);

}  // namespace varnest
