// One evaluation of the search: decoding a chromosome on a synthetic problem
// of 80 parts (40 shapes, each twice, four orientations each) with
// hand-made grids, so the figure does not wait for the whole run pipeline.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "varnest/geometry/random.h"
#include "varnest/grid/grid_sets.h"
#include "varnest/model/equality.h"
#include "varnest/search/chromosome.h"
#include "varnest/search/genetic_search.h"
#include "varnest/search/search_context.h"

namespace varnest {
namespace {

constexpr int32_t kStockLines = 240;
constexpr int32_t kStockWidth = 100000000;
constexpr int32_t kUnit = 500000;  // scaled units per outline unit
constexpr double kResolution = 0.5;

TGrid StairGrid(std::mt19937& random, int32_t lines, int32_t width) {
  TGrid grid;
  grid.FNumberOfLines = lines;
  grid.FLines.resize(static_cast<size_t>(lines) + 1);
  grid.FScaledWidth = width;
  std::uniform_int_distribution<int32_t> cut(width / 4, width);
  for (int32_t i = 0; i < lines; ++i) grid.FLines[static_cast<size_t>(i)].Append(0, cut(random));
  grid.FVertexCells = {{0, 0}, {0, width / 2}, {lines - 1, width / 3}, {lines - 1, 0}};
  return grid;
}

TPolygon Box(double w, double h) {
  TPolygon box(4);
  box.FVertices = {{0, 0, 0}, {0, w, 0}, {0, w, h}, {0, 0, h}};
  box.FMaxX = box.FWidth = w;
  box.FMaxY = box.FHeight = h;
  return box;
}

struct World {
  TRunSettings settings;
  part2d_array_any parts;
  std::vector<int32_t> partOrder;
  std::vector<uint8_t> partEqualsPrevious;
  stock2d_array_any stocks;
  std::vector<int32_t> stockOrder{0};
  TGridSets grids;
  solutie solution;
  TRandomSource random;
  int32_t seed = 1;
  uint8_t stop = 0;
  uint8_t done = 0;
  TSearchContext context{settings, parts,      partOrder, partEqualsPrevious,
                         stocks,   stockOrder, grids,     solution,
                         random,   seed,       stop,      done};

  World() {
    std::mt19937 generator(3);
    std::uniform_int_distribution<int32_t> lines(6, 30);
    std::uniform_int_distribution<int32_t> width(3, 14);
    for (int32_t shape = 0; shape < 40; ++shape) {
      const int32_t h = lines(generator);
      const int32_t w = width(generator);
      const int32_t firstGrid = static_cast<int32_t>(grids.FOffsetPartGrids.size());
      for (int32_t k = 0; k < 4; ++k) {
        const bool across = k % 2 == 1;
        const int32_t gridLines = across ? std::max(1, w * 2) : h;
        const int32_t gridWidth = (across ? h / 2 : w) * kUnit;
        grids.FOffsetPartGrids.push_back(StairGrid(generator, gridLines, gridWidth));
      }
      for (int32_t copy = 0; copy < 2; ++copy) {
        part2d_any part;
        part.FShapeType = kShapePolygon;
        part.FIndex = static_cast<int32_t>(parts.size());
        part.FRotationStep = 90;
        part.FNumberOfRotations = 4;
        for (int32_t k = 0; k < 4; ++k) {
          const TGrid& grid = grids.FOffsetPartGrids[static_cast<size_t>(firstGrid + k)];
          const TPolygon box(
              Box(grid.FScaledWidth / double(kUnit), grid.FNumberOfLines * kResolution));
          part.FRotatedOutlines.push_back(box);
          part.FOffsetOutlines.emplace_back(box);
          part.FRotationMultiples.push_back(k);
          part.FOrientations.push_back({k, firstGrid + k, 0});
        }
        part.FNumberOfOrientations = 4;
        part.FArea = part.FNetArea = w * h * 0.5;
        parts.push_back(part);
        partOrder.push_back(part.FIndex);
      }
    }
    partEqualsPrevious = EqualNeighbours(parts, partOrder, settings.Precision, 1);
    stock2d_any stock;
    stock.FShapeType = kShapePolygon;
    stock.FOffsetOutline =
        TOffsetPolygon(Box(kStockWidth / double(kUnit), kStockLines * kResolution));
    stock.FGridIndex = 0;
    stocks.push_back(stock);
    TGrid stockGrid;
    stockGrid.FNumberOfLines = kStockLines;
    stockGrid.FLines.resize(kStockLines);
    for (TGridLine& line : stockGrid.FLines) {
      line.Append(0, 0);
      line.Append(kStockWidth, kStockWidth);
    }
    stockGrid.FScaledWidth = kStockWidth;
    grids.FStockGrids.push_back(stockGrid);
    settings.Resolution = kResolution;
    settings.Scale = kUnit;
    solution.FNumberOfParts = static_cast<int32_t>(parts.size());
    solution.FNumberOfStockPieces = 1;
    solution.Reset();
    for (const part2d_any& part : parts) context.FCandidates.FIndices.push_back(part.FIndex);
    BuildPriorityGroups(context);
  }
};

// position 0: a fixed seed (lowest orientations, LowestBase); 27: a random
// member (shuffled order, random masks and rule).
void BM_DecodeSyntheticProblem(benchmark::State& state) {
  World world;
  ChromosomeDemandNested chromosome;
  chromosome.Init(world.parts, world.context.FCandidates.FIndices);
  world.random.SeedRandom(1);
  chromosome.InitialiseGenes(world.parts, static_cast<int32_t>(state.range(0)),
                             world.context.FCandidates.FIndices, world.context.FGroupEnds,
                             world.random, world.settings.Precision);
  for (auto _ : state) {
    Decode(world.context, chromosome, world.stocks[0]);
    benchmark::DoNotOptimize(chromosome.FPlacedArea);
  }
  state.counters["placed"] = chromosome.FNumberOfPlacedPieces;
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeSyntheticProblem)->ArgName("position")->Arg(0)->Arg(27);

}  // namespace
}  // namespace varnest
