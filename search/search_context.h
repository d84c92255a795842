#pragma once
// TSearchContext: everything the search reads from and writes back to the
// engine during one run, gathered so that the search does not depend on the
// engine object itself.
//
// The engine owns one context per run. The problem, the processing orders,
// the grids, the solution, the random source and the two run flags stay the
// engine's and are held by reference; the run data that only the search uses
// (the working stock grid, the placement pass, the priority groups, the
// improvement flag and the reusable buffers of a decoding) live here.

#include <cstdint>
#include <vector>

#include "varnest/geometry/random.h"
#include "varnest/grid/grid.h"
#include "varnest/grid/grid_sets.h"
#include "varnest/model/part.h"
#include "varnest/model/run_settings.h"
#include "varnest/model/search_frame.h"
#include "varnest/model/stock.h"
#include "varnest/search/placement_rule.h"
#include "varnest/search/search_layout.h"
#include "varnest/search/solution.h"

namespace varnest {

// The engine's callbacks: plain functions taking the user pointer stored
// beside them.
using TSearchCallback = void (*)(void* data);

// The extents that the placement of a stock works with: the prepared box
// (after any direction turn) of a polygon stock, twice the usable radius of a
// circle stock.
struct TStockExtents {
  double Width = 0.0;
  double Height = 0.0;
};

// The candidate parts of the stock being filled, shared by every chromosome
// of that stock: gene g always belongs to FIndices[g].
struct TCandidateList {
  std::vector<int32_t> FIndices;  // part indices, in processing order
  // Every part that opened a scan was a circle: a rule flip cannot matter.
  bool FAllCircles = true;
  // No part that opened a scan has more than one kept rotation.
  bool FNoTurning = true;

  int32_t Count() const { return static_cast<int32_t>(FIndices.size()); }
};

struct TSearchContext {
  TSearchContext(const TRunSettings& settings, const part2d_array_any& parts,
                 const std::vector<int32_t>& partOrder,
                 const std::vector<uint8_t>& partEqualsPrevious, const stock2d_array_any& stocks,
                 const std::vector<int32_t>& stockOrder, TGridSets& grids, solutie& solution,
                 TRandomSource& random, const int32_t& randomSeed, uint8_t& stopRequested,
                 uint8_t& searchDone)
      : Settings(settings),
        FParts(parts),
        FPartOrder(partOrder),
        FPartEqualsPrevious(partEqualsPrevious),
        FStocks(stocks),
        FStockOrder(stockOrder),
        FGrids(grids),
        FSolution(solution),
        FRandom(random),
        RandomSeed(randomSeed),
        FStopRequested(stopRequested),
        FSearchDone(searchDone) {}

  TSearchContext(const TSearchContext&) = delete;
  TSearchContext& operator=(const TSearchContext&) = delete;

  // --- Held by reference: owned by the engine -----------------------------------
  // The run's settings, the scale included: the values the grids were built
  // with.
  const TRunSettings& Settings;
  TSearchCallback OnIteration = nullptr;
  void* OnIterationData = nullptr;

  const part2d_array_any& FParts;
  const std::vector<int32_t>& FPartOrder;
  // Per position of FPartOrder: whether that part equals the one before.
  const std::vector<uint8_t>& FPartEqualsPrevious;
  const stock2d_array_any& FStocks;
  const std::vector<int32_t>& FStockOrder;
  TGridSets& FGrids;  // the part grids carry the search memos
  solutie& FSolution;
  TRandomSource& FRandom;
  // Read when the search starts, so a seed set from OnSearchStart counts.
  const int32_t& RandomSeed;
  uint8_t& FStopRequested;  // raised by a callback: ends the whole search
  uint8_t& FSearchDone;     // ends the search of the current stock

  // --- Run data of the search ---------------------------------------------------
  TGrid FStockGrid;             // the stock being filled, in the search frame
  TStockExtents FStockExtents;  // of the stock being filled
  int32_t FPlacementPass = 1;   // 1: preferred orientations, 0: the others
  TCandidateList FCandidates;
  // For each priority group of the candidates, the list index of its last
  // member; the number of groups is its size.
  std::vector<int32_t> FGroupEnds;
  uint8_t FImproved = 0;  // the last generation improved the best layout
  // Reused by every decoding: one flag per gene position, and the layout.
  std::vector<uint8_t> FPlacedFlags;
  TSearchLayout FLayout;

  int32_t NumberOfGroups() const { return static_cast<int32_t>(FGroupEnds.size()); }

  // Separate fitting: the plain grids decide where a part fits, the grown
  // grids are stamped.
  bool SeparateFitting() const { return Settings.SeparateFitting(); }
  std::vector<TGrid>& FittingGrids() {
    return SeparateFitting() ? FGrids.FPartGrids : FGrids.FOffsetPartGrids;
  }
  std::vector<TGrid>& StampingGrids() { return FGrids.FOffsetPartGrids; }

  void CallOnIteration() const {
    if (OnIteration != nullptr) OnIteration(OnIterationData);
  }
};

}  // namespace varnest
