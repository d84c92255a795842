#pragma once
// TSearchLayout: the layout that a decoding builds on one stock. During the
// search a piece is only its identity and its grid position; real geometry is
// built when the best layout of a stock is committed.

#include <cstdint>
#include <vector>

#include "varnest/model/piece.h"

namespace varnest {

// What a decoding is ranked by: how many parts it placed and their summed
// net area.
struct TFitness {
  int32_t FNumberOfPlacedPieces = 0;
  double FPlacedArea = 0.0;  // summed net area of the placed parts: the fitness

  void ClearPlacements() {
    FNumberOfPlacedPieces = 0;
    FPlacedArea = 0.0;
  }
};

struct TSearchLayout : TFitness {
  // Room for every candidate; only the first FNumberOfPlacedPieces are valid.
  std::vector<TPiece_any> FPieces;
};

}  // namespace varnest
