#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "varnest/geometry/circle.h"
#include "varnest/geometry/polygon.h"
#include "varnest/model/hole.h"
#include "varnest/model/part.h"

namespace varnest {

struct stock2d_any {
  uint8_t FShapeType = kShapeUndefined;
  std::optional<TPolygon> FOutline;
  std::optional<TOffsetPolygon> FOffsetOutline;
  std::optional<TCircle> FCircle;
  std::optional<TOffsetCircle> FOffsetCircle;
  int32_t FId = -1;
  std::vector<TTrueHole> FHoles;         // the defects as defined
  int32_t FNumberOfHoles = 0;            // as passed; <= 0 means none
  std::vector<TTrueHole> FShiftedHoles;  // the defects in the prepared frame
  int32_t FGridIndex = -1;
  int32_t FPriority = 0;  // stored and returned; does not order the stocks
  int32_t FIndex = -1;
  double FMargin = 0.0;  // reduces the usable radius of a circle stock
  double FNetArea = 0.0;
  double FArea = 0.0;
  // Set by the input check when the stock's outline or a defect crosses
  // itself: the run leaves the stock out.
  bool FRejected = false;

  bool IsPolygon() const { return FShapeType == kShapePolygon; }

  void Reset() { *this = stock2d_any(); }
};

using stock2d_array_any = std::vector<stock2d_any>;

}  // namespace varnest
