#pragma once
// The fixed problem of the demonstration window: one sheet with two round
// defects and 80 parts (20 L shapes, 10 arc-edged parts with a hole that may
// take other parts, 10 six-sided parts and 40 circles), defined through the
// engine's public calls.

#include <cstdint>

#include "varnest/engine/varnest2d.h"

namespace varnest::demo {

// What the window's controls choose.
struct TDemoSettings {
  int32_t corner = 0;
  int32_t direction = 0;
  int32_t level = 1;
  double rotationStep = 0.0;
  int32_t allowMirror = 0;
};

// Sets the parameters of the demo run and defines its stock and parts.
void DefineDemoProblem(TVarnest2D& engine, const TDemoSettings& settings);

}  // namespace varnest::demo
