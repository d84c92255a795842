#pragma once
// The result of one run: which stock every part went to, and for every used
// stock, in the order of use, the layout of its pieces.

#include <cstdint>
#include <vector>

#include "model/piece.h"

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
