#pragma once
// The gaps that a run's cutter leaves between the things on a sheet, as the
// engine delivers them (measured on real runs, see docs/problem-format.md).
//
// Cutter type 0 fits and stamps every part grown by the cutter diameter d:
// two grown parts may touch, so parts keep 2d apart and d from the stock's
// edge and its defects. A part hole is not shrunk, so a part in a usable hole
// keeps d (its own growth) from the hole's edge, and a defect inside a usable
// hole may touch it.
//
// Any other cutter type fits the plain part and stamps it grown by g, the
// diameter rounded up to whole raster strips: parts keep g apart but may
// touch the stock's edge and its defects. Usable holes are shrunk by d in
// both the fitted and the stamped grids, so a part or a defect inside one
// keeps d from its edge. Only types 0 and 1 are given a meaning by the
// placement; the check reads every non-zero type as 1.

#include <cstdint>

namespace varnest::check {

struct Clearances {
  double betweenPieces = 0.0;
  double toStockEdge = 0.0;  // the usable outline: a circle stock's radius less its margin
  double toDefect = 0.0;
  double pieceInUsableHole = 0.0;   // a piece in another's usable hole, to that hole's edge
  double defectInUsableHole = 0.0;  // a defect inside a piece's usable hole, to the hole's edge
};

// The growth distance g of a cutter type other than 0: d rounded up to a whole
// number of strips of height resolution, where d counts as whole when it is
// within precision (the run's Precision) of a whole number of strips. Type 0,
// or no usable resolution: d itself.
double GrowthDistance(double cutterDiameter, int32_t cutterType, double resolution,
                      double precision);

// Every gap 0 when the diameter is not positive (or not finite).
Clearances PromisedClearances(double cutterDiameter, int32_t cutterType, double resolution,
                              double precision);

}  // namespace varnest::check
