#pragma once
// The independent check of a layout: it rebuilds every piece, stock and
// defect as a polygon (flatten.h) and asks Boost.Geometry, which shares no
// code with the engine's raster, whether pieces overlap, leave their stock or
// cover a defect.

#include <cstdint>
#include <string>
#include <vector>

#include "check/layout.h"

namespace varnest::check {

struct CheckOptions {
  // Largest distance between a curve and its flattened polyline, as a
  // fraction of the sheet's size (the larger side of the stock's vertex or
  // circle box). Flattening errs on the side that gives pieces room, so it
  // never causes a finding; a fault shallower than this may go unseen.
  double relativeChordTolerance = 1e-5;
  // Overlap that counts as rounding noise: an overlap, an excursion outside
  // the stock or a touch of a defect is reported only when its area exceeds
  // relativeDepthTolerance x sheet size x the shorter boundary length of the
  // two shapes involved, i.e. when it is deeper on average than this fraction
  // of the sheet. Pieces that touch exactly share no area at all.
  double relativeDepthTolerance = 1e-7;
};

enum class FindingKind {
  kOverlap,       // two pieces share interior
  kOutsideStock,  // a piece reaches outside its stock's outline
  kOnDefect,      // a piece covers part of a stock defect
  kBadPiece,      // a piece whose outline or usable hole cannot be rebuilt
  kBadStock,      // a stock outline or defect that cannot be rebuilt
  kUndecided,     // Boost.Geometry could not compute the area in question
};

struct Finding {
  FindingKind kind = FindingKind::kOverlap;
  int32_t sheet = 0;
  int32_t piece = -1;  // index in the sheet's pieces; -1 for kBadStock
  int32_t other = -1;  // second piece (kOverlap, kUndecided) or defect index (kOnDefect, kBadStock)
  double area = 0.0;   // the offending area, where there is one
};

std::vector<Finding> CheckSheet(const Sheet& sheet, int32_t sheetIndex,
                                const CheckOptions& options = {});
std::vector<Finding> CheckLayout(const std::vector<Sheet>& sheets,
                                 const CheckOptions& options = {});

// One line of text naming the sheet, the pieces with their part indices and
// ids, and the defect or stock involved.
std::string Describe(const Finding& finding, const std::vector<Sheet>& sheets);
// The same for a finding of one sheet checked on its own.
std::string Describe(const Finding& finding, const Sheet& sheet);

}  // namespace varnest::check
