#pragma once

#include <cstdint>

#include "varnest/geometry/base_shape.h"

namespace varnest {

// A hole of a part (which may receive other parts) or of a stock (a defect
// that must stay free).
struct TTrueHole {
  uint8_t FNestInside = 0;  // part holes: the caller allows nesting inside
  uint8_t FUsable = 0;      // part holes: left open in the part's grids
  int32_t FId = -1;
  double FValue = 0.0;  // stock holes: stored and returned, never used by a run
  TBaseShape FShape;

  TTrueHole() = default;
  TTrueHole(const TTrueHole&) = default;
  TTrueHole(TTrueHole&&) noexcept = default;
  TTrueHole& operator=(TTrueHole&&) noexcept = default;
  ~TTrueHole() = default;
  TTrueHole& operator=(const TTrueHole& other) {
    if (this != &other) {
      FId = other.FId;
      FNestInside = other.FNestInside;
      FUsable = other.FUsable;
      FShape = other.FShape;
      FValue = other.FValue;
    }
    return *this;
  }
};

}  // namespace varnest
