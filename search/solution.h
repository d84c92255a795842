#pragma once
// The result of one run: which stock every part went to, and for every used
// stock, in the order of use, the layout of its pieces.

#include <cstdint>
#include <utility>
#include <vector>

#include "varnest/model/part.h"
#include "varnest/model/piece.h"
#include "varnest/model/run_settings.h"
#include "varnest/model/stock.h"
#include "varnest/search/search_layout.h"

namespace varnest {

// The committed layout of one stock.
struct Chromosome {
  std::vector<TPiece_any> FPieces;  // in the order of placement
  int32_t FStockIndex = -1;
  double FPlacedArea = 0.0;  // summed net area of the placed parts

  int32_t NumberOfPieces() const { return static_cast<int32_t>(FPieces.size()); }
};

// The list of committed layouts, in the order in which the stocks were used.
class TLista {
 public:
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  void Append(Chromosome layout) { FItems.push_back(std::move(layout)); }
  // The layout at a position, or none past the end.
  Chromosome* ItemAt(int32_t index) {
    return index >= 0 && index < Count() ? &FItems[static_cast<size_t>(index)] : nullptr;
  }
  const Chromosome* ItemAt(int32_t index) const {
    return index >= 0 && index < Count() ? &FItems[static_cast<size_t>(index)] : nullptr;
  }
  void DeleteAt(int32_t index) {
    if (index >= 0 && index < Count()) FItems.erase(FItems.begin() + index);
  }
  void Clear() { FItems.clear(); }

 private:
  std::vector<Chromosome> FItems;
};

struct solutie {
  int32_t FTotalNumberOfUtilizedDemandPieces = 0;
  // Per part (by index): the stock it lies on, FNumberOfStockPieces when none.
  std::vector<int32_t> FPartStock;
  // Per stock: the position of its layout in FLayouts, FNumberOfStockPieces when unused.
  std::vector<int32_t> FStockLayout;
  int32_t FNumberOfStockPieces = 0;
  int32_t FNumberOfParts = 0;
  TLista FLayouts;
  double FOptimizationTime = 0.0;

  bool IsPlaced(int32_t part) const {
    return FPartStock[static_cast<size_t>(part)] != FNumberOfStockPieces;
  }

  // Before a search: no layouts, every part unplaced, every stock unused.
  void Reset() {
    FLayouts.Clear();
    FPartStock.assign(static_cast<size_t>(FNumberOfParts), FNumberOfStockPieces);
    FStockLayout.assign(static_cast<size_t>(FNumberOfStockPieces), FNumberOfStockPieces);
  }

  // Commits the best layout of a stock: builds the placed geometry of its
  // pieces, marks their parts as lying on the stock and appends the layout.
  void CommitLayout(const TSearchLayout& best, int32_t stockIndex, const part2d_array_any& parts,
                    const stock2d_array_any& stocks, const TRunSettings& settings);

  // Repeats the layout at position layoutPosition (committed for the stock at
  // position r of the stock order) on the following equal stocks, r + 1 ..
  // r + c - 1, while enough equal unplaced parts remain to take over its
  // pieces. A repetition that runs out of parts is undone. Returns how many
  // stocks from position r on now carry the layout (at least 1).
  int32_t RepeatLayout(int32_t layoutPosition, int32_t r, int32_t c,
                       const std::vector<int32_t>& stockOrder, const part2d_array_any& parts,
                       const TRunSettings& settings);

  // At the end of a run.
  void Release() {
    FLayouts.Clear();
    FPartStock.clear();
    FStockLayout.clear();
    FNumberOfStockPieces = 0;
    FNumberOfParts = 0;
    FTotalNumberOfUtilizedDemandPieces = 0;
    FOptimizationTime = 0.0;
  }
};

}  // namespace varnest
