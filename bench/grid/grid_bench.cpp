// Rasterising the demonstration shapes, and the strip operations placement
// spends its time in: merging a placed part into the working stock grid and
// walking strips to test whether a part fits.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "fixtures/settings.h"
#include "tests/grid/shape_builder.h"
#include "varnest/grid/grid.h"
#include "varnest/grid/rasterise.h"

namespace varnest {
namespace {

constexpr double kResolution = 0.1;  // the demo's
constexpr double kPrecision = 1e-6;

struct TDemoGrids {
  testing::TDemoShapes shapes = testing::DemoShapes();
  // As the run sets it: 1e8 over the widest prepared shape (the stock).
  double scale = 1e8 / std::max({shapes.Stock.FWidth, shapes.A.FWidth, shapes.B.FWidth,
                                 shapes.C.FWidth, shapes.Circle.FWidth});
  TGrid stock, a, b, c, circle;

  TDemoGrids() {
    BuildFromShape(stock, shapes.Stock, shapes.StockDefects, TGridMode::kStock,
                   fixtures::RasterSettings(kResolution, kPrecision, scale));
    BuildFromShape(a, shapes.A, {}, TGridMode::kPart,
                   fixtures::RasterSettings(kResolution, kPrecision, scale));
    BuildFromShape(b, shapes.B, shapes.HolesOfB, TGridMode::kPart,
                   fixtures::RasterSettings(kResolution, kPrecision, scale));
    BuildFromShape(c, shapes.C, {}, TGridMode::kPart,
                   fixtures::RasterSettings(kResolution, kPrecision, scale));
    BuildFromShape(circle, shapes.Circle, {}, TGridMode::kPart,
                   fixtures::RasterSettings(kResolution, kPrecision, scale));
  }
};

const TDemoGrids& Demo() {
  static const TDemoGrids demo;
  return demo;
}

int64_t IntervalCount(const TGrid& grid) {
  int64_t count = 0;
  for (const TGridLine& line : grid.FLines) count += line.Count();
  return count;
}

// ----- Rasterising ------------------------------------------------------------

enum TDemoShape { kStock, kPolygonA, kPolygonB, kPolygonC, kCircle };

void BM_BuildFromShape(benchmark::State& state) {
  const TDemoGrids& demo = Demo();
  const testing::TDemoShapes& s = demo.shapes;
  TGrid grid;
  for (auto _ : state) {
    switch (state.range(0)) {
      case kStock:
        BuildFromShape(grid, s.Stock, s.StockDefects, TGridMode::kStock,
                       fixtures::RasterSettings(kResolution, kPrecision, demo.scale));
        break;
      case kPolygonA:
        BuildFromShape(grid, s.A, {}, TGridMode::kPart,
                       fixtures::RasterSettings(kResolution, kPrecision, demo.scale));
        break;
      case kPolygonB:
        BuildFromShape(grid, s.B, s.HolesOfB, TGridMode::kPart,
                       fixtures::RasterSettings(kResolution, kPrecision, demo.scale));
        break;
      case kPolygonC:
        BuildFromShape(grid, s.C, {}, TGridMode::kPart,
                       fixtures::RasterSettings(kResolution, kPrecision, demo.scale));
        break;
      case kCircle:
        BuildFromShape(grid, s.Circle, {}, TGridMode::kPart,
                       fixtures::RasterSettings(kResolution, kPrecision, demo.scale));
        break;
    }
    benchmark::DoNotOptimize(grid.FLines.data());
  }
  state.counters["strips"] = grid.FNumberOfLines;
  state.counters["intervals"] = static_cast<double>(IntervalCount(grid));
  state.SetItemsProcessed(state.iterations() * grid.FNumberOfLines);
}
BENCHMARK(BM_BuildFromShape)
    ->ArgName("shape")
    ->Arg(kStock)
    ->Arg(kPolygonA)
    ->Arg(kPolygonB)
    ->Arg(kPolygonC)
    ->Arg(kCircle)
    ->Unit(benchmark::kMicrosecond);

// ----- Strips of a busy stock -------------------------------------------------

// A 484 x 300 sheet filled with the small demo parts (A, C and the circle, 20
// wide) on a 22 x 22 lattice, every fourth cell left empty: 215 parts with
// gaps of 2 between them, so every strip holds some 20 to 40 intervals, as a
// dense layout does.
struct TBusySheet {
  static constexpr int32_t kColumns = 22;
  static constexpr int32_t kRows = 13;
  static constexpr double kPitch = 22;
  testing::TDemoShapes shapes = testing::DemoShapes();
  TPolygon sheet = [] {
    TPolygon p = testing::MakePolygon({{0, 0}, {484, 0}, {484, 300}, {0, 300}});
    testing::FitBox(p);
    return p;
  }();
  double scale = 1e8 / sheet.FWidth;
  TGrid empty;
  std::vector<TGrid> parts = std::vector<TGrid>(3);
  struct TPlace {
    int32_t part, line, dx;
  };
  std::vector<TPlace> places;
  TGrid busy;

  TBusySheet() {
    BuildFromShape(empty, sheet, {}, TGridMode::kStock,
                   fixtures::RasterSettings(kResolution, kPrecision, scale));
    BuildFromShape(parts[0], shapes.A, {}, TGridMode::kPart,
                   fixtures::RasterSettings(kResolution, kPrecision, scale));
    BuildFromShape(parts[1], shapes.C, {}, TGridMode::kPart,
                   fixtures::RasterSettings(kResolution, kPrecision, scale));
    BuildFromShape(parts[2], shapes.Circle, {}, TGridMode::kPart,
                   fixtures::RasterSettings(kResolution, kPrecision, scale));
    for (int32_t row = 0; row < kRows; ++row) {
      for (int32_t column = 0; column < kColumns; ++column) {
        if ((row + column) % 4 == 0) continue;
        places.push_back({(row + column) % 3, LineOf(row * kPitch + 1, kResolution, kPrecision),
                          RoundToInt32((column * kPitch + 1) * scale)});
      }
    }
    busy.Assign(empty);
    Stamp(busy);
  }

  void Stamp(TGrid& stock) const {
    for (const TPlace& place : places) {
      const TGrid& part = parts[static_cast<size_t>(place.part)];
      for (int32_t i = 0; i < part.FNumberOfLines; ++i) {
        stock.FLines[static_cast<size_t>(place.line + i)].MergeShifted(
            part.FLines[static_cast<size_t>(i)], place.dx);
      }
    }
  }
};

const TBusySheet& Busy() {
  static const TBusySheet sheet;
  return sheet;
}

// Copying the empty working grid and stamping every part into it, strip by
// strip; one item is one strip merge.
void BM_StampParts(benchmark::State& state) {
  const TBusySheet& sheet = Busy();
  TGrid work;
  int64_t merges = 0;
  for (const auto& place : sheet.places) {
    merges += sheet.parts[static_cast<size_t>(place.part)].FNumberOfLines;
  }
  for (auto _ : state) {
    work.Assign(sheet.empty);
    sheet.Stamp(work);
    benchmark::DoNotOptimize(work.FLines.data());
  }
  state.SetItemsProcessed(state.iterations() * merges);
  state.counters["parts"] = static_cast<double>(sheet.places.size());
  state.counters["intervals/strip"] =
      static_cast<double>(IntervalCount(work)) / work.FNumberOfLines;
}
BENCHMARK(BM_StampParts)->Unit(benchmark::kMillisecond);

// One merge of a part strip into the busiest stock strip (the copy of the
// target is included; BM_CopyBusyStrip measures it alone).
const TGridLine& BusiestStrip() {
  const TGrid& busy = Busy().busy;
  return *std::max_element(
      busy.FLines.begin(), busy.FLines.end(),
      [](const TGridLine& x, const TGridLine& y) { return x.Count() < y.Count(); });
}

void BM_CopyBusyStrip(benchmark::State& state) {
  const TGridLine& busiest = BusiestStrip();
  for (auto _ : state) {
    TGridLine target = busiest;
    benchmark::DoNotOptimize(target.FIntervals.data());
  }
  state.counters["intervals"] = busiest.Count();
}
BENCHMARK(BM_CopyBusyStrip);

void BM_MergeShiftedIntoBusyStrip(benchmark::State& state) {
  const TGridLine& busiest = BusiestStrip();
  // The circle's widest strip, dropped into the middle of the busy strip.
  const TGrid& circle = Busy().parts[2];
  const TGridLine& part = circle.FLines[static_cast<size_t>(circle.FNumberOfLines / 2)];
  const int32_t dx = busiest.FIntervals[busiest.FIntervals.size() / 2].FStart;
  for (auto _ : state) {
    TGridLine target = busiest;
    target.MergeShifted(part, dx);
    benchmark::DoNotOptimize(target.FIntervals.data());
  }
  state.counters["intervals"] = busiest.Count();
}
BENCHMARK(BM_MergeShiftedIntoBusyStrip);

// The fit test of placement over whole strips: every part interval, shifted,
// against the blocked intervals of the stock strip it lands on; touching ends
// do not conflict. Both strips are walked once, left to right.
bool StripsClear(const TGridLine& stock, const TGridLine& part, int32_t dx) {
  const std::vector<TGridInterval>& blocked = stock.FIntervals;
  size_t b = 0;
  for (const TGridInterval& p : part.FIntervals) {
    const int32_t start = p.FStart + dx;
    const int32_t end = p.FEnd + dx;
    while (b < blocked.size() && blocked[b].FEnd <= start) ++b;
    if (b < blocked.size() && blocked[b].FStart < end) return false;
  }
  return true;
}

bool Fits(const TGrid& stock, const TGrid& part, int32_t line, int32_t dx) {
  for (int32_t i = 0; i < part.FNumberOfLines; ++i) {
    if (!StripsClear(stock.FLines[static_cast<size_t>(line + i)],
                     part.FLines[static_cast<size_t>(i)], dx)) {
      return false;
    }
  }
  return true;
}

// Probing positions of one part, as a search for the lowest free place does:
// every seventh line, and along it every outline unit. On the empty demo
// stock most probes succeed after walking every strip; on the busy sheet
// most fail early.
void BM_FitWalk(benchmark::State& state) {
  const bool busy = state.range(1) != 0;
  const TGrid& stock = busy ? Busy().busy : Demo().stock;
  const double scale = busy ? Busy().scale : Demo().scale;
  const TDemoGrids& demo = Demo();
  const TGrid* demoParts[] = {&demo.a, &demo.c, &demo.circle};
  const TGrid& part =
      busy ? Busy().parts[static_cast<size_t>(state.range(0))] : *demoParts[state.range(0)];
  const int32_t lines = stock.FNumberOfLines - part.FNumberOfLines;
  const int32_t unit = RoundToInt32(scale);
  const int32_t last = stock.FScaledWidth - part.FScaledWidth;
  int64_t probes = 0, fits = 0;
  for (auto _ : state) {
    for (int32_t line = 0; line < lines; line += 7) {
      for (int32_t dx = 0; dx <= last; dx += unit) {
        fits += Fits(stock, part, line, dx);
        ++probes;
      }
    }
  }
  state.SetItemsProcessed(probes);
  state.counters["fit share"] = static_cast<double>(fits) / static_cast<double>(probes);
}
BENCHMARK(BM_FitWalk)
    ->ArgNames({"part", "busy"})
    ->Args({0, 0})
    ->Args({2, 0})
    ->Args({0, 1})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnest
