#pragma once

#include <cstdint>

namespace varnest {

// The finding of a run's input check; it holds the last finding in check
// order. Codes 1 to 4 leave the run as it is; from 6 on each says what the
// run left out, and why. docs/engine.md lists them for clients.
enum TErrorCode : int32_t {
  kErrorNone = 0,
  kErrorPartOutlineClockwise = 1,
  kErrorStockOutlineClockwise = 2,
  kErrorPartHoleClockwise = 3,
  kErrorStockHoleClockwise = 4,
  kErrorNoExtent = 5,  // every prepared shape has zero width: nothing to scale
  // A defect of the stock (FSubIndex) crosses the stock's outline or another
  // defect. The stock stays usable: everything outside the outline or inside
  // any defect is blocked.
  kErrorDefectCrossing = 6,
  // An outline (FSubIndex -1) or a hole (FSubIndex) of a part crosses or
  // touches itself; the part is left out of the run.
  kErrorPartSelfCrossing = 7,
  // The same for a stock; the stock is left out of the run.
  kErrorStockSelfCrossing = 8,
  // The run would need more memory than the engine allows itself: FIndex
  // says for what (TRunTooLarge). Nothing is placed.
  kErrorRunTooLarge = 9,
};

// What a run too large would have needed too much memory for.
enum TRunTooLarge : int32_t {
  kTooLargeShapes = 0,      // the prepared rotations of the parts
  kTooLargeGrids = 1,       // the raster grids
  kTooLargePopulation = 2,  // the population of the search
  kTooLargeMemory = 3,      // an allocation failed although the estimates allowed it
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
