// Whole runs of the demonstration problem: the time a user waits for a
// layout at a given optimisation level, and the evaluations per second of the
// search (every evaluation is one OnIteration call).

#include <benchmark/benchmark.h>

#include "varnest/engine/varnest2d.h"
#include "fixtures/demo_problem.h"

namespace varnest {
namespace {

void CountIteration(void* data) { ++*static_cast<int64_t*>(data); }

// Arguments: the optimisation level, and 1 to let every polygon part turn in
// 90-degree steps and mirror (eight times the orientations per placement).
void BM_DemoRun(benchmark::State& state) {
  const int32_t level = static_cast<int32_t>(state.range(0));
  const bool turned = state.range(1) != 0;
  int64_t evaluations = 0;
  for (auto _ : state) {
    TVarnest2D engine;
    engine.OnIteration = CountIteration;
    engine.OnIterationData = &evaluations;
    fixtures::DefineDemoProblem(engine, {turned ? 90.0 : 0.0, turned ? 1 : 0, 0, 0, level});
    engine.Execute();
  }
  state.counters["evaluations/s"] =
      benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kIsRate);
  state.counters["evaluations/run"] =
      benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DemoRun)
    ->Args({1, 0})
    ->Args({10, 0})
    ->Args({100, 0})
    ->Args({10, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varnest
