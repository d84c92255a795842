#pragma once
// The placed geometry of a committed layout: during the search a piece is
// only a grid position; when a stock's best layout is committed every piece
// gets its outline (or circle), its grown outline and its holes in the
// caller's coordinates, built from the caller's own definitions so that the
// starting corner and direction leave no trace in the result.

#include <cstdint>

#include "varnest/geometry/point.h"
#include "varnest/model/part.h"
#include "varnest/model/run_settings.h"
#include "varnest/model/stock.h"
#include "varnest/search/search_layout.h"
#include "varnest/search/solution.h"

namespace varnest {

// The corner of a stock's grid frame in the caller's coordinates: the box
// corner of a polygon stock's outline, or of a circle stock's usable circle.
TPoint2D StockCorner(const stock2d_any& stock);

// Builds piece i of the layout from placed piece i of the best layout, for
// every placed piece in order, and marks each part as lying on the stock.
// Afterwards the layout holds the best layout's pieces and placed area.
// Reads the settings' cutter and direction (the grown outlines were turned
// for direction 1 and are turned back here).
void BuildPlacedLayout(const TSearchLayout& best, solutie& solution, const part2d_array_any& parts,
                       const stock2d_array_any& stocks, Chromosome& layout, int32_t stockIndex,
                       const TRunSettings& settings);

}  // namespace varnest
