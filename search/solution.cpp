#include "varnest/search/solution.h"

#include "varnest/model/equality.h"
#include "varnest/model/part_preparation.h"
#include "varnest/search/placed_geometry.h"

namespace varnest {

void solutie::CommitLayout(const TSearchLayout& best, int32_t stockIndex,
                           const part2d_array_any& parts, const stock2d_array_any& stocks,
                           const TRunSettings& settings) {
  FStockLayout[static_cast<size_t>(stockIndex)] = FLayouts.Count();
  Chromosome layout;
  BuildPlacedLayout(best, *this, parts, stocks, layout, stockIndex, settings);
  layout.FStockIndex = stockIndex;
  FTotalNumberOfUtilizedDemandPieces += layout.NumberOfPieces();
  FLayouts.Append(std::move(layout));
}

int32_t solutie::RepeatLayout(int32_t layoutPosition, int32_t r, int32_t c,
                              const std::vector<int32_t>& stockOrder, const part2d_array_any& parts,
                              const TRunSettings& settings) {
  int32_t i = 1;
  for (; i < c && static_cast<size_t>(r + i) < stockOrder.size(); ++i) {
    const int32_t stock = stockOrder[static_cast<size_t>(r + i)];
    // Appending may move the list's storage, so the original is looked up
    // again for every repetition.
    const Chromosome& original = *FLayouts.ItemAt(layoutPosition);
    Chromosome copy = original;
    bool matched = true;
    for (size_t j = 0; j < original.FPieces.size() && matched; ++j) {
      const part2d_any& placedPart = parts[static_cast<size_t>(original.FPieces[j].FPartIndex)];
      matched = false;
      for (size_t k = 0; k < parts.size(); ++k) {
        const part2d_any& twin = parts[k];
        if (IsPlaced(static_cast<int32_t>(k)) || !IsNestable(twin) ||
            !SamePart(twin, placedPart, settings.Precision, settings.RotationCenter)) {
          continue;
        }
        // Same geometry, new identities: the part's and its holes'.
        TPiece_any& piece = copy.FPieces[j];
        piece.FPartIndex = twin.FIndex;
        piece.FPartId = twin.FId;
        for (size_t h = 0; h < piece.FPlacedHoles.size() && h < twin.FHoles.size(); ++h) {
          piece.FPlacedHoles[h].FId = twin.FHoles[h].FId;
        }
        FPartStock[k] = stock;
        matched = true;
        break;
      }
    }
    if (!matched) {
      for (int32_t& lies : FPartStock) {
        if (lies == stock) lies = FNumberOfStockPieces;
      }
      break;
    }
    copy.FStockIndex = stock;
    FStockLayout[static_cast<size_t>(stock)] = FLayouts.Count();
    FTotalNumberOfUtilizedDemandPieces += original.NumberOfPieces();
    FLayouts.Append(std::move(copy));
  }
  return i;
}

}  // namespace varnest
