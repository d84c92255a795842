#include "varnest/grid/grid_sets.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#include "varnest/grid/rasterise.h"
#include "varnest/model/equality.h"
#include "varnest/model/stock_preparation.h"

namespace varnest {

namespace {

void AssignFlipped(TGrid& target, const TGrid& source, bool flipX, bool flipY) {
  if (flipX && flipY) {
    target.AssignRotate180(source);
  } else if (flipX) {
    target.AssignMirrorX(source);
  } else if (flipY) {
    target.AssignMirrorY(source);
  } else {
    target.Assign(source);
  }
}

}  // namespace

void AssignInSearchFrame(TGrid& target, const TGrid& source, const TSearchFrame& frame) {
  AssignFlipped(target, source, frame.FlipsX(), frame.FlipsY());
}

void AssignMirrorImage(TGrid& target, const TGrid& source, const TSearchFrame& frame) {
  AssignFlipped(target, source, frame.MirrorFlipsX(), frame.MirrorFlipsY());
}

namespace {

// Holes that have no shape (never defined, or swallowed by the cutter) take
// no part in rasterising.
std::vector<TTrueHole> ShapedHoles(const std::vector<TTrueHole>& holes) {
  std::vector<TTrueHole> shaped;
  for (const TTrueHole& hole : holes) {
    if (!hole.FShape.IsEmpty()) shaped.push_back(hole);
  }
  return shaped;
}

template <typename Shape>
void Rasterise(TGrid& grid, const Shape& shape, const std::vector<TTrueHole>& holes, TGridMode mode,
               const TRunSettings& settings) {
  BuildFromShape(grid, shape, ShapedHoles(holes), mode, settings);
}

// A usable stock has its prepared outline or circle.
void RasteriseStock(TGrid& grid, const stock2d_any& stock, const TRunSettings& settings) {
  if (stock.IsPolygon()) {
    Rasterise(grid, *stock.FOffsetOutline, stock.FShiftedHoles, TGridMode::kStock, settings);
  } else {
    Rasterise(grid, *stock.FOffsetCircle, stock.FShiftedHoles, TGridMode::kStock, settings);
  }
}

}  // namespace

namespace {

// The usable stocks in the order, each with the usable stock before it when
// the two are equal and share a grid (else none). Unusable stocks get no
// grid.
template <typename Stocks>
auto UsableStocks(Stocks& stocks, const std::vector<int32_t>& order, double precision) {
  using Stock = std::remove_reference_t<decltype(stocks[0])>;
  std::vector<std::pair<Stock*, Stock*>> usable;
  Stock* previous = nullptr;
  for (const int32_t index : order) {
    Stock& stock = stocks[static_cast<size_t>(index)];
    if (!IsUsableStock(stock)) continue;
    const bool shares = previous != nullptr && SameStock(stock, *previous, precision);
    usable.emplace_back(&stock, shares ? previous : nullptr);
    previous = &stock;
  }
  return usable;
}

}  // namespace

void BuildStockGrids(TGridSets& sets, stock2d_array_any& stocks,
                     const std::vector<int32_t>& stockOrder, const TRunSettings& settings) {
  for (stock2d_any& stock : stocks) stock.FGridIndex = -1;
  const auto usable = UsableStocks(stocks, stockOrder, settings.Precision);
  int32_t groups = 0;
  for (const auto& [stock, shared] : usable) {
    if (shared == nullptr) ++groups;
  }
  sets.FStockGrids.assign(static_cast<size_t>(groups), TGrid());
  sets.FNumberOfStockGrids = groups;
  sets.FNumberOfDistinctStocks = groups;

  int32_t next = 0;
  for (const auto& [stock, shared] : usable) {
    if (shared != nullptr) {
      stock->FGridIndex = shared->FGridIndex;
      continue;
    }
    RasteriseStock(sets.FStockGrids[static_cast<size_t>(next)], *stock, settings);
    stock->FGridIndex = next++;
  }
}

void BuildPartGrids(TGridSets& sets, part2d_array_any& parts, const std::vector<int32_t>& partOrder,
                    const std::vector<uint8_t>& equalNeighbours, const TRunSettings& settings) {
  const TSearchFrame frame = settings.Frame();
  auto sameAsPrevious = [&](size_t i) { return equalNeighbours[i] != 0; };
  auto gridsOf = [](const part2d_any& part) {
    return part.FNumberOfRotations * (1 + part.MirrorCount());
  };

  int32_t groups = 0;
  int32_t grids = 0;
  for (size_t i = 0; i < partOrder.size(); ++i) {
    if (sameAsPrevious(i)) continue;
    ++groups;
    grids += gridsOf(parts[static_cast<size_t>(partOrder[i])]);
  }
  sets.FNumberOfDistinctParts = groups;
  sets.FNumberOfPartGrids = grids;
  const bool separateFitting = settings.SeparateFitting();
  sets.FOffsetPartGrids.assign(static_cast<size_t>(grids), TGrid());
  if (separateFitting) {
    sets.FPartGrids.assign(static_cast<size_t>(grids), TGrid());
  } else {
    FreeGridArray(sets.FPartGrids);
  }

  TGrid working;
  int32_t g = 0;
  for (size_t i = 0; i < partOrder.size(); ++i) {
    part2d_any& part = parts[static_cast<size_t>(partOrder[i])];
    if (sameAsPrevious(i)) {
      const part2d_any& previous = parts[static_cast<size_t>(partOrder[i - 1])];
      part.FNumberOfOrientations = previous.FNumberOfOrientations;
      part.FOrientations = previous.FOrientations;
      continue;
    }
    part.FNumberOfOrientations = 0;
    part.FOrientations.clear();
    const bool circle = !part.IsPolygon();
    for (int32_t j = 0; j < part.FNumberOfRotations; ++j) {
      const size_t k = static_cast<size_t>(j);
      if (separateFitting) {
        if (circle) {
          Rasterise(working, *part.FShiftedCircle, part.FRotatedHoles[k], TGridMode::kPart,
                    settings);
        } else {
          Rasterise(working, part.FRotatedOutlines[k], part.FRotatedHoles[k], TGridMode::kPart,
                    settings);
        }
        AssignInSearchFrame(sets.FPartGrids[static_cast<size_t>(g)], working, frame);
      }
      if (circle) {
        Rasterise(working, *part.FOffsetCircle, part.FShiftedHoles[k], TGridMode::kPart, settings);
      } else {
        Rasterise(working, part.FOffsetOutlines[k], part.FShiftedHoles[k], TGridMode::kPart,
                  settings);
      }
      AssignInSearchFrame(sets.FOffsetPartGrids[static_cast<size_t>(g)], working, frame);
      part.FOrientations.push_back(TPartOrientation{j, g, 0});
      if (part.MirrorCount() != 0) {
        const size_t slot = static_cast<size_t>(g);
        if (separateFitting) {
          AssignMirrorImage(sets.FPartGrids[slot + 1], sets.FPartGrids[slot], frame);
        }
        AssignMirrorImage(sets.FOffsetPartGrids[slot + 1], sets.FOffsetPartGrids[slot], frame);
        part.FOrientations.push_back(TPartOrientation{j, g + 1, 1});
        g += 2;
      } else {
        g += 1;
      }
    }
    part.FNumberOfOrientations = static_cast<int32_t>(part.FOrientations.size());
  }
}

double EstimateGridBytes(const part2d_array_any& parts, const std::vector<int32_t>& partOrder,
                         const std::vector<uint8_t>& equalNeighbours,
                         const stock2d_array_any& stocks, const std::vector<int32_t>& stockOrder,
                         const TRunSettings& settings) {
  double strips = 0.0;
  double largest = 0.0;
  const auto add = [&](double height, double copies) {
    const double n = NumberOfStrips(height, settings.Resolution, settings.Precision) + 1.0;
    strips += n * copies;
    largest = std::max(largest, n);
  };
  for (const auto& [stock, shared] : UsableStocks(stocks, stockOrder, settings.Precision)) {
    if (shared != nullptr) continue;
    add(stock->IsPolygon() ? stock->FOffsetOutline->FHeight : stock->FOffsetCircle->FMaxY, 1.0);
  }
  const double fitting = settings.SeparateFitting() ? 2.0 : 1.0;
  for (size_t i = 0; i < partOrder.size(); ++i) {
    if (equalNeighbours[i] != 0) continue;
    const part2d_any& part = parts[static_cast<size_t>(partOrder[i])];
    const double images = 1.0 + part.MirrorCount();
    if (part.IsPolygon()) {
      for (const TOffsetPolygon& grown : part.FOffsetOutlines) add(grown.FHeight, images * fitting);
    } else if (part.FOffsetCircle && part.FNumberOfRotations > 0) {
      add(part.FOffsetCircle->FMaxY, part.FNumberOfRotations * images * fitting);
    }
  }
  // A strip holds its line record and, most often, one interval; building a
  // grid takes a second set of lines, and the search a working copy of the
  // stock.
  constexpr double kBytesPerStrip = sizeof(TGridLine) + sizeof(TGridInterval);
  return (strips + 2.0 * largest) * kBytesPerStrip;
}

}  // namespace varnest
