#pragma once

#include <cstdint>

namespace varnest {

// The finding of a run's input check; it holds the last finding in check order.
enum TErrorCode : int32_t {
  kErrorNone = 0,
  kErrorPartOutlineClockwise = 1,
  kErrorStockOutlineClockwise = 2,
  kErrorPartHoleClockwise = 3,
  kErrorStockHoleClockwise = 4,
  kErrorNoExtent = 5,  // every prepared shape has zero width: nothing to scale
};

struct error_info {
  int32_t FCode = 0;
  int32_t FIndex = 0;
  int32_t FSubIndex = 0;

  void Clear() { FCode = FIndex = FSubIndex = 0; }
  void Record(int32_t code, int32_t index, int32_t subIndex = 0) {
    FCode = code;
    FIndex = index;
    FSubIndex = subIndex;
  }
};

}  // namespace varnest
