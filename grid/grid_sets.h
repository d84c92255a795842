#pragma once
// The grids of a run: one grid per orientation of every distinct part, one per
// distinct stock. Equal parts and stocks that follow one another in the
// processing order share their grids.

#include <cstdint>
#include <vector>

#include "varnest/grid/grid.h"
#include "varnest/model/part.h"
#include "varnest/model/run_settings.h"
#include "varnest/model/search_frame.h"
#include "varnest/model/stock.h"

namespace varnest {

struct TGridSets {
  std::vector<TGrid> FOffsetPartGrids;  // grown outlines; always built
  std::vector<TGrid> FPartGrids;        // plain outlines; only for CutterType 1
  int32_t FNumberOfPartGrids = 0;
  int32_t FNumberOfDistinctParts = 0;
  std::vector<TGrid> FStockGrids;
  int32_t FNumberOfStockGrids = 0;
  int32_t FNumberOfDistinctStocks = 0;

  void Release() {
    FreeGridArray(FOffsetPartGrids);
    FreeGridArray(FPartGrids);
    FreeGridArray(FStockGrids);
    FNumberOfPartGrids = FNumberOfDistinctParts = 0;
    FNumberOfStockGrids = FNumberOfDistinctStocks = 0;
  }
};

// One grid per distinct stock (equal neighbours in the stock order share
// one), in the stock's own frame; sets every stock's FGridIndex. Stocks that
// cannot be used keep FGridIndex -1.
void BuildStockGrids(TGridSets& sets, stock2d_array_any& stocks,
                     const std::vector<int32_t>& stockOrder, const TRunSettings& settings);

// One grid per orientation of every distinct part (each kept rotation, and
// its mirror image when allowed), already in the search frame; fills every
// part's FOrientations. Plain-outline grids are built only for CutterType 1.
// equalNeighbours: for every position of the order, whether its part equals
// the one before (EqualNeighbours) and takes its grids.
void BuildPartGrids(TGridSets& sets, part2d_array_any& parts, const std::vector<int32_t>& partOrder,
                    const std::vector<uint8_t>& equalNeighbours, const TRunSettings& settings);

// The bytes the grids of a run will take, from the prepared shapes (after
// the direction turn), counted before any grid is built. A double, so that no
// absurd strip count overflows.
double EstimateGridBytes(const part2d_array_any& parts, const std::vector<int32_t>& partOrder,
                         const std::vector<uint8_t>& equalNeighbours,
                         const stock2d_array_any& stocks, const std::vector<int32_t>& stockOrder,
                         const TRunSettings& settings);

// Copies a grid of the turned frame into the search frame: the search always
// runs lowest strip first, then smallest x, and the copy makes that the
// chosen corner.
void AssignInSearchFrame(TGrid& target, const TGrid& source, const TSearchFrame& frame);

// Copies a grid of the search frame as its mirror image, flipped across the
// packing direction.
void AssignMirrorImage(TGrid& target, const TGrid& source, const TSearchFrame& frame);

}  // namespace varnest
