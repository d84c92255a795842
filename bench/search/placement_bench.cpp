// The hot path of the search: fit tests and first-fit searches on a stock
// grid that already holds many stamped parts.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "varnest/grid/grid.h"
#include "varnest/search/placement.h"

namespace varnest {
namespace {

constexpr int32_t kStockLines = 240;        // 120 units at resolution 0.5
constexpr int32_t kStockWidth = 100000000;  // the widest shape of a run
constexpr int32_t kUnit = 500000;           // scaled units per outline unit

// An irregular part: a staircase of strips, each one or two intervals.
TGrid StairPart(std::mt19937& random, int32_t lines, int32_t width) {
  TGrid grid;
  grid.FNumberOfLines = lines;
  grid.FLines.resize(static_cast<size_t>(lines) + 1);
  grid.FScaledWidth = width;
  std::uniform_int_distribution<int32_t> cut(width / 4, width);
  std::bernoulli_distribution notch(0.3);
  for (int32_t i = 0; i < lines; ++i) {
    const int32_t end = cut(random);
    if (notch(random) && end > width / 2) {
      grid.FLines[static_cast<size_t>(i)].Append(0, end / 3);
      grid.FLines[static_cast<size_t>(i)].Append(end / 2, end);
    } else {
      grid.FLines[static_cast<size_t>(i)].Append(0, end);
    }
  }
  grid.FVertexCells = {{0, 0}, {0, width / 2}, {lines - 1, width / 3}, {lines - 1, 0}};
  return grid;
}

TGrid EmptyStock() {
  TGrid grid;
  grid.FNumberOfLines = kStockLines;
  grid.FLines.resize(kStockLines);
  for (TGridLine& line : grid.FLines) {
    line.Append(0, 0);
    line.Append(kStockWidth, kStockWidth);
  }
  grid.FScaledWidth = kStockWidth;
  return grid;
}

struct Scene {
  TGrid stock = EmptyStock();
  std::vector<TGrid> parts;
  int32_t stamped = 0;
};

// Packs random parts first-fit until a run of them finds no room, or until
// maxStamped parts lie on the stock.
Scene Pack(int32_t maxStamped) {
  Scene s;
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> lines(6, 30);
  std::uniform_int_distribution<int32_t> width(3 * kUnit, 14 * kUnit);
  for (int32_t i = 0; i < 40; ++i)
    s.parts.push_back(StairPart(random, lines(random), width(random)));
  int32_t misses = 0;
  for (size_t i = 0; misses < 40 && s.stamped < maxStamped; ++i) {
    TGrid& part = s.parts[i % s.parts.size()];
    part.FLastLine = -1;
    part.FLastX = 0;
    int32_t limit = kStockLines - part.FNumberOfLines;
    int32_t x = 0;
    int32_t line = 0;
    if (FindFirstFit(s.stock, part, limit, x, line)) {
      StampPart(s.stock, part, x, line);
      ++s.stamped;
      misses = 0;
    } else {
      ++misses;
    }
  }
  return s;
}

// Full: every search fails after walking every line. Half: searches find
// room about half way up.
const Scene& PackedScene(bool full) {
  static const Scene fullScene = Pack(1 << 30);
  static const Scene halfScene = Pack(fullScene.stamped / 2);
  return full ? fullScene : halfScene;
}

void BM_FindFirstFitOnPackedStock(benchmark::State& state) {
  const Scene& scene = PackedScene(state.range(0) != 0);
  std::vector<TGrid> parts = scene.parts;
  size_t next = 0;
  int64_t found = 0;
  for (auto _ : state) {
    TGrid& part = parts[next++ % parts.size()];
    part.FLastLine = -1;
    part.FLastX = 0;
    int32_t limit = kStockLines - part.FNumberOfLines;
    int32_t x = 0;
    int32_t line = 0;
    found += FindFirstFit(scene.stock, part, limit, x, line) ? 1 : 0;
    benchmark::DoNotOptimize(x);
  }
  state.counters["stamped"] = scene.stamped;
  state.counters["found"] = static_cast<double>(found);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindFirstFitOnPackedStock)->ArgName("full")->Arg(0)->Arg(1);

void BM_TestFitOnPackedStock(benchmark::State& state) {
  const Scene& scene = PackedScene(true);
  std::mt19937 random(11);
  struct Probe {
    int32_t part, x, line;
  };
  std::vector<Probe> probes;
  for (int32_t i = 0; i < 4096; ++i) {
    const int32_t p = static_cast<int32_t>(random() % scene.parts.size());
    const TGrid& part = scene.parts[static_cast<size_t>(p)];
    probes.push_back({p, static_cast<int32_t>(random() % (kStockWidth - part.FScaledWidth)),
                      static_cast<int32_t>(random() % (kStockLines - part.FNumberOfLines))});
  }
  size_t next = 0;
  for (auto _ : state) {
    const Probe& probe = probes[next++ % probes.size()];
    benchmark::DoNotOptimize(
        TestFit(scene.stock, scene.parts[static_cast<size_t>(probe.part)], probe.x, probe.line));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TestFitOnPackedStock);

}  // namespace
}  // namespace varnest
