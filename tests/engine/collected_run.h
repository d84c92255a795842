#pragma once
// One engine run whose layout is read back, in OnFinish, into the check's
// records: what a client receives, independent of the engine's internals.

#include <vector>

#include "check/collect.h"
#include "check/layout.h"
#include "varnest/engine/varnest2d.h"

namespace varnest::testing_support {

struct Finished {
  TVarnest2D* engine = nullptr;
  std::vector<check::Sheet> sheets;
};

inline void CollectOnFinish(void* data) {
  auto* run = static_cast<Finished*>(data);
  run->sheets = check::CollectSheets(*run->engine);
}

// Runs the problem that `define` gives the engine and reads back the layout.
template <typename Define>
std::vector<check::Sheet> Nest(Define define) {
  TVarnest2D engine;
  Finished run{&engine, {}};
  engine.OnFinish = CollectOnFinish;
  engine.OnFinishData = &run;
  define(engine);
  engine.Execute();
  return run.sheets;
}

}  // namespace varnest::testing_support
