#pragma once
// The independent check of a layout: it rebuilds every piece, stock and
// defect as a polygon (flatten.h) and asks Boost.Geometry, which shares no
// code with the engine's raster, whether pieces overlap, leave their stock or
// cover a defect, and whether they keep the gaps that the run's cutter
// promises (clearance.h).

#include <cstdint>
#include <string>
#include <vector>

#include "check/layout.h"

namespace varnest::check {

struct CheckOptions {
  // Largest distance between a curve and its flattened polyline, as a
  // fraction of the sheet's size (the larger side of the stock's vertex or
  // circle box). Flattening errs on the side that gives pieces room, so it
  // never causes a finding; a fault shallower than this may go unseen. The
  // flattened points are then put on a grid far finer than the depth
  // tolerance below (SnapGrid in flatten.h).
  double relativeChordTolerance = 1e-5;
  // Overlap that counts as rounding noise: an overlap, an excursion outside
  // the stock or a touch of a defect is reported only when its area exceeds
  // relativeDepthTolerance x sheet size x the shorter boundary length of the
  // two shapes involved, i.e. when it is deeper on average than this fraction
  // of the sheet. Pieces that touch exactly share no area at all.
  double relativeDepthTolerance = 1e-7;

  // The run's cutter, whose promised gaps (PromisedClearances) are checked;
  // a diameter of 0 checks none. resolution and precision are the run's
  // strip height and Precision, which round the growth distance.
  double cutterDiameter = 0.0;
  int32_t cutterType = 0;
  double resolution = 1.0;
  double precision = 1e-6;
  // A gap is kept when it falls short of its promise by no more than this
  // fraction of the sheet's size. The engine's integer scale costs a few
  // millionths of a unit on the demo sheet; flattening and the snap grid can
  // only widen what is measured.
  double relativeClearanceTolerance = 1e-6;
};

enum class FindingKind {
  kOverlap,        // two pieces share interior
  kOutsideStock,   // a piece reaches outside its stock's outline
  kOnDefect,       // a piece covers part of a stock defect
  kBadPiece,       // a piece whose outline or usable hole cannot be rebuilt
  kBadStock,       // a stock outline or defect that cannot be rebuilt
  kUndecided,      // Boost.Geometry could not compute the area or distance in question
  kTooClose,       // two pieces closer than the cutter leaves
  kNearStockEdge,  // a piece closer to its stock's edge than the cutter leaves
  kNearDefect,     // a piece closer to a stock defect than the cutter leaves
};

struct Finding {
  FindingKind kind = FindingKind::kOverlap;
  int32_t sheet = 0;
  int32_t piece = -1;  // index in the sheet's pieces; -1 for kBadStock
  // Second piece (kOverlap, kTooClose, kUndecided) or defect index (kOnDefect,
  // kNearDefect, kBadStock).
  int32_t other = -1;
  double area = 0.0;      // the offending area, where there is one
  double distance = 0.0;  // kTooClose, kNearStockEdge, kNearDefect: the gap found
  double required = 0.0;  // and the gap promised
};

// A layout made with cutter diameter d, cutter type t and resolution r is
// checked with CheckLayout(sheets, OptionsForCutter(d, t, r)); without
// options only contact is checked, as for d = 0.
std::vector<Finding> CheckSheet(const Sheet& sheet, int32_t sheetIndex,
                                const CheckOptions& options = {});
std::vector<Finding> CheckLayout(const std::vector<Sheet>& sheets,
                                 const CheckOptions& options = {});

// The default options with the run's cutter parameters (precision: the
// run's Precision, the engine's default unless set).
CheckOptions OptionsForCutter(double cutterDiameter, int32_t cutterType, double resolution,
                              double precision = 1e-6);

// One line of text naming the sheet, the pieces with their part indices and
// ids, and the defect or stock involved.
std::string Describe(const Finding& finding, const std::vector<Sheet>& sheets);
// The same for a finding of one sheet checked on its own.
std::string Describe(const Finding& finding, const Sheet& sheet);

// A hole of a part that reaches outside the part's own outline: a fault of
// the input, not of a layout. The engine nests such a part as given; a usable
// hole that crosses the outline opens the part to whatever lies beyond it.
struct HoleOutsidePart {
  int32_t hole = -1;   // index in the part's holes
  double area = 0.0;   // of the hole outside the outline
  double depth = 0.0;  // how far the hole reaches beyond the outline
};

// Every hole of the part (usable or not) that reaches outside its outline by
// more than noise, measured as a layout's findings are, on the part's own
// size (the larger side of its vertex or circle box). A hole or outline that
// cannot be rebuilt gives nothing here; the layout check reports its pieces.
std::vector<HoleOutsidePart> HolesOutsidePart(const Shape& outline, const std::vector<Hole>& holes,
                                              const CheckOptions& options = {});

}  // namespace varnest::check
