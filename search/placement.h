#pragma once
// Placement of one part on the stock being filled.
//
// The search always runs lowest strip first, then smallest x, in a search
// frame: the starting corner and direction are realised by copying the stock
// grid (here) and the part grids (when they are built) into that frame, and
// by mapping the found position back when a piece is recorded.
//
// The working stock grid holds the BLOCKED spans of every strip; a part grid
// holds the spans the part covers. A part interval [s, e] shifted by x
// collides with a blocked [bs, be] only if s + x < be and e + x > bs, so
// parts may touch end to end. Everything here is integer arithmetic on
// scaled units; the only reals are the keys of the placement rules.

#include <cstdint>
#include <span>

#include "varnest/grid/grid.h"
#include "varnest/model/part.h"
#include "varnest/model/stock.h"
#include "varnest/search/search_context.h"
#include "varnest/search/search_layout.h"

namespace varnest {

enum class TFitOutcome : uint8_t {
  kFits,
  kCollision,  // try again from NextX on the same line
  kExhausted,  // nothing to the right of this point can fit on this line
};

struct TFitResult {
  TFitOutcome Outcome = TFitOutcome::kFits;
  int32_t NextX = 0;  // only for kCollision
};

// The extents of a prepared stock (see TStockExtents).
TStockExtents StockExtents(const stock2d_any& stock);

// Makes the working grid the search-frame copy of the stock's grid, notes the
// stock's extents and resets the search memo of every fitting grid. A stock
// without a valid grid gets an empty working grid, on which nothing fits.
void BeginStockLayout(TSearchContext& context, const stock2d_any& stock);

// Whether the part grid fits on the stock grid with its line 0 on the given
// stock line, shifted right by x. A position whose part lines would leave the
// stock grid counts as exhausted.
TFitResult TestFit(const TGrid& stock, const TGrid& part, int32_t x, int32_t line);

// The lowest line (from the part grid's memo up to lineLimit inclusive) with
// room, and on it the smallest x reached by jumping from collision to
// collision. On success the position is stored in the memo and written back
// into lineLimit; on failure nothing changes.
bool FindFirstFit(const TGrid& stock, TGrid& part, int32_t& lineLimit, int32_t& x, int32_t& line);

// Merges the part grid, shifted to (x, line), into the stock grid. Lines below
// the stock are skipped, lines above its top are dropped.
void StampPart(TGrid& stock, const TGrid& part, int32_t x, int32_t line);

// Appends the piece in the given orientation at grid position (x, line) of
// the stock being filled to the layout, mapped back from the search frame to
// the frame of the prepared stock.
void RecordPlacement(const TSearchContext& context, const part2d_any& part, int32_t partIndex,
                     const TPartOrientation& orientation, int32_t x, int32_t line,
                     TSearchLayout& layout);

// Places one part in one of its orientations that the current pass allows
// (pass 1: mask byte set, pass 0: mask byte clear), chosen by the rule
// (kLowestBase or kLowestTop). Returns true when the part was placed; then a
// piece was appended to the layout and the working grid was stamped.
// Otherwise only search memos have changed.
bool PlacePart(TSearchContext& context, const part2d_any& part, int32_t partIndex,
               std::span<const uint8_t> mask, uint8_t rule, TSearchLayout& layout);

}  // namespace varnest
