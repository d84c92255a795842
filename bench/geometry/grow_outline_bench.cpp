// The outward offset of part outlines: one GrowOutline per polygon part per
// run (the other rotations copy and turn its result).

#include <benchmark/benchmark.h>

#include "varnest/geometry/offset.h"
#include "tests/geometry/shape_corpus.h"

namespace varnest {
namespace {

constexpr double kCutter = 1.0;

void GrowOnce(benchmark::State& state, const TPolygon& outline) {
  for (auto _ : state) {
    TPolygon polygon = outline;
    GrowOutline(polygon, kCutter, corpus::kPrecision);
    benchmark::DoNotOptimize(polygon.FVertices.data());
  }
  state.counters["vertices"] = static_cast<double>(outline.NumberOfVertices());
}

void BM_GrowOutline_DemoA(benchmark::State& state) { GrowOnce(state, corpus::DemoA()); }
void BM_GrowOutline_DemoB(benchmark::State& state) { GrowOnce(state, corpus::DemoB()); }
void BM_GrowOutline_DemoC(benchmark::State& state) { GrowOnce(state, corpus::DemoC()); }
void BM_GrowOutline_ArcRich200(benchmark::State& state) {
  GrowOnce(state, corpus::ArcRichOutline(200));
}

BENCHMARK(BM_GrowOutline_DemoA);
BENCHMARK(BM_GrowOutline_DemoB);
BENCHMARK(BM_GrowOutline_DemoC);
BENCHMARK(BM_GrowOutline_ArcRich200);

}  // namespace
}  // namespace varnest
