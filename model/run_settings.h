#pragma once
// The settings of one run, taken from the engine's parameters once, when the
// run starts. Preparation, grids and search all read this one value, so a
// setter called from a callback in the middle of a run cannot leave the
// search working with other values than the grids were built with.
//
// The values are the sound ones: parameters that would make a run
// meaningless or endless are replaced here, while the engine's getters keep
// returning what the caller stored.

#include <cstdint>

#include "varnest/model/search_frame.h"

namespace varnest {

inline constexpr double kDefaultPrecision = 1e-6;

struct TRunSettings {
  double Resolution = 1.0;
  // A NaN tolerance never finds two values equal and a negative one never
  // either: the search would never see its generations stop improving. NaN
  // falls back to the default, a negative value counts by its size.
  double Precision = kDefaultPrecision;
  // Not negative: a negative cutter would shrink the parts below their own
  // outline. NaN counts as no cutter.
  double CutterDiameter = 0.0;
  int32_t CutterType = 0;
  int32_t RotationCenter = 1;
  int32_t OptimizationStartingCorner = 0;
  int32_t OptimizationStartingDirection = 0;
  int32_t OptimizationLevel = 1;
  // Integer units per length unit: kScaledExtent over the widest prepared
  // shape. Known once the shapes are prepared; 1 until then.
  double Scale = 1.0;

  // The distance every part is grown by, and the whole strips it spans (see
  // GrowthDistance below).
  double GrowthDistance() const;
  double GrowthStrips() const;

  // Under cutter type 1 the plain grids find a place and the grown ones take
  // it; every other type finds and takes with the grown grids.
  bool SeparateFitting() const { return CutterType == 1; }
  TSearchFrame Frame() const {
    return TSearchFrame(OptimizationStartingCorner, OptimizationStartingDirection);
  }
};

// The growth distance g of a run: the cutter diameter d, rounded up to whole
// strips of the raster when the cutter type is not 0 (d itself when it is a
// whole number of strips under the tolerance).
double GrowthDistance(double cutterDiameter, int32_t cutterType, double resolution,
                      double precision);
// The same as a number of strips, for cutter types other than 0 (a double,
// so that no huge ratio is converted to an int here). 0 without a usable
// resolution.
double GrowthStrips(double cutterDiameter, double resolution, double precision);

double SoundPrecision(double precision);
// A length that cannot be negative: NaN and negative values give 0.
double NonNegativeLength(double length);

}  // namespace varnest
