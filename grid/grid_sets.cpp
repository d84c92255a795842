#include "grid/grid_sets.h"

namespace varnest {

void AssignInSearchFrame(TGrid& target, const TGrid& source, int32_t corner, int32_t direction) {
  // corner: 0 lowest x and y, 1 highest x lowest y, 2 highest x and y,
  // 3 lowest x highest y. Direction 1 shapes were turned by 90 degrees
  // before rasterising, so their corners map one step round.
  switch (direction == 0 ? corner : (corner + 1) % 4) {
    case 0: target.Assign(source); break;
    case 1: target.AssignMirrorX(source); break;
    case 2: target.AssignRotate180(source); break;
    default: target.AssignMirrorY(source); break;
  }
}

}  // namespace varnest

#include "grid/rasterise.h"
#include "model/equality.h"
#include "model/stock_preparation.h"

namespace varnest {

namespace {

constexpr int32_t kPartMode = 1;
constexpr int32_t kStockMode = 0;

// Holes that have no shape (never defined, or swallowed by the cutter) take
// no part in rasterising.
std::vector<TTrueHole> ShapedHoles(const std::vector<TTrueHole>& holes) {
  std::vector<TTrueHole> shaped;
  for (const TTrueHole& hole : holes) {
    if (!hole.FShape.IsEmpty()) shaped.push_back(hole);
  }
  return shaped;
}

void Rasterise(TGrid& grid, const TPolygon* polygon, const TCircle* circle,
               const std::vector<TTrueHole>& allHoles, double resolution, double precision,
               int32_t mode, double scale) {
  const std::vector<TTrueHole> holes = ShapedHoles(allHoles);
  BuildFromShape(grid, polygon, circle, polygon != nullptr ? 0 : 1,
                 holes.empty() ? nullptr : holes.data(), static_cast<int32_t>(holes.size()),
                 resolution, precision, mode, scale);
}

void RasteriseStock(TGrid& grid, const stock2d_any& stock, double resolution, double precision,
                    double scale) {
  const TPolygon* polygon =
      stock.IsPolygon() && stock.FOffsetOutline ? &*stock.FOffsetOutline : nullptr;
  const TCircle* circle = stock.FOffsetCircle ? &*stock.FOffsetCircle : nullptr;
  Rasterise(grid, polygon, circle, stock.FShiftedHoles, resolution, precision, kStockMode, scale);
}

}  // namespace

void BuildStockGrids(TGridSets& sets, stock2d_array_any& stocks,
                     const std::vector<int32_t>& stockOrder, double resolution, double precision,
                     double scale) {
  // Count the groups first so that the grid array is allocated once.
  int32_t groups = 0;
  const stock2d_any* previous = nullptr;
  for (int32_t index : stockOrder) {
    stock2d_any& stock = stocks[static_cast<size_t>(index)];
    stock.FGridIndex = -1;
    if (!IsUsableStock(stock)) continue;
    if (previous == nullptr || !SameStock(stock, *previous, precision)) ++groups;
    previous = &stock;
  }
  sets.FStockGrids.assign(static_cast<size_t>(groups), TGrid());
  sets.FNumberOfStockGrids = groups;
  sets.FNumberOfDistinctStocks = groups;

  int32_t next = 0;
  previous = nullptr;
  for (int32_t index : stockOrder) {
    stock2d_any& stock = stocks[static_cast<size_t>(index)];
    if (!IsUsableStock(stock)) continue;
    if (previous != nullptr && SameStock(stock, *previous, precision)) {
      stock.FGridIndex = previous->FGridIndex;
    } else {
      RasteriseStock(sets.FStockGrids[static_cast<size_t>(next)], stock, resolution, precision,
                     scale);
      stock.FGridIndex = next++;
    }
    previous = &stock;
  }
}

void BuildPartGrids(TGridSets& sets, part2d_array_any& parts,
                    const std::vector<int32_t>& partOrder, double resolution, double precision,
                    int32_t rotationCenter, double scale, int32_t corner, int32_t direction,
                    int32_t cutterType) {
  auto sameAsPrevious = [&](size_t i) {
    return i > 0 && SamePart(parts[static_cast<size_t>(partOrder[i])],
                             parts[static_cast<size_t>(partOrder[i - 1])], precision,
                             rotationCenter);
  };
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
  const bool separateFitting = cutterType == 1;
  sets.FOffsetPartGrids.assign(static_cast<size_t>(grids), TGrid());
  if (separateFitting) {
    sets.FPartGrids.assign(static_cast<size_t>(grids), TGrid());
  } else {
    FreeGridArray(sets.FPartGrids);
  }

  // The mirror image of an orientation is mirrored across the packing
  // direction: left to right for rows along x, top to bottom for columns.
  auto mirror = [direction](TGrid& target, const TGrid& source) {
    if (direction == 0) {
      target.AssignMirrorX(source);
    } else {
      target.AssignMirrorY(source);
    }
  };

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
        Rasterise(working, circle ? nullptr : &part.FRotatedOutlines[k],
                  circle ? &*part.FShiftedCircle : nullptr, part.FRotatedHoles[k], resolution,
                  precision, kPartMode, scale);
        AssignInSearchFrame(sets.FPartGrids[static_cast<size_t>(g)], working, corner, direction);
      }
      Rasterise(working, circle ? nullptr : &part.FOffsetOutlines[k],
                circle ? &*part.FOffsetCircle : nullptr, part.FShiftedHoles[k], resolution,
                precision, kPartMode, scale);
      AssignInSearchFrame(sets.FOffsetPartGrids[static_cast<size_t>(g)], working, corner,
                          direction);
      part.FOrientations.push_back(TPartOrientation{j, g, 0});
      if (part.MirrorCount() != 0) {
        const size_t slot = static_cast<size_t>(g);
        if (separateFitting) mirror(sets.FPartGrids[slot + 1], sets.FPartGrids[slot]);
        mirror(sets.FOffsetPartGrids[slot + 1], sets.FOffsetPartGrids[slot]);
        part.FOrientations.push_back(TPartOrientation{j, g + 1, 1});
        g += 2;
      } else {
        g += 1;
      }
    }
    part.FNumberOfOrientations = static_cast<int32_t>(part.FOrientations.size());
  }
}

}  // namespace varnest
