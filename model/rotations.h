#pragma once

#include <cstdint>

namespace varnest {

// Upper bound on the rotations of one part: a step of 0.01 degree. Every
// rotation is prepared and rasterised before the search, so an unbounded
// count (a step of 1e-9 would ask for 3.6e11) cannot be honoured anyway.
inline constexpr int32_t kMaxRotations = 36000;

// The number of rotations a step asks for: 360 / step truncated, at least 1
// (a step of zero, a negative or NaN step, or one above 360 turn nothing) and
// at most kMaxRotations.
int32_t NumberOfRotationsForStep(double rotationStep, double precision);

}  // namespace varnest
