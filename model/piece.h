#pragma once
// TPiece_any: one placed piece of a layout. During the search only the
// identity and the grid position are filled; the placed geometry is built
// when a stock's layout is committed.

#include <cstdint>
#include <optional>
#include <vector>

#include "varnest/geometry/circle.h"
#include "varnest/geometry/polygon.h"
#include "varnest/model/hole.h"

namespace varnest {

struct TPiece_any {
  uint8_t FShapeType = 0;
  std::optional<TPolygon> FPlacedOutline;
  std::optional<TCircle> FPlacedCircle;
  std::optional<TPolygon> FPlacedOffsetOutline;
  std::optional<TCircle> FPlacedOffsetCircle;
  std::vector<TTrueHole> FPlacedHoles;
  int32_t FMirrored = 0;
  int32_t FRotationIndex = 0;
  int32_t FPartIndex = 0;
  int32_t FPartId = 0;
  TPoint2D FPosition;
  TPoint2D FOffsetPosition;
  TPoint2D FGridPosition;

  int32_t NumberOfHoles() const { return static_cast<int32_t>(FPlacedHoles.size()); }

  TPiece_any() = default;
  TPiece_any(const TPiece_any&) = default;
  TPiece_any(TPiece_any&&) noexcept = default;
  TPiece_any& operator=(TPiece_any&&) noexcept = default;
  ~TPiece_any() = default;
  TPiece_any& operator=(const TPiece_any& other) {
    if (this != &other) {
      FShapeType = other.FShapeType;
      FPlacedOutline = other.FPlacedOutline;
      FPlacedCircle = other.FPlacedCircle;
      FPlacedOffsetOutline = other.FPlacedOffsetOutline;
      FPlacedOffsetCircle = other.FPlacedOffsetCircle;
      FPlacedHoles = other.FPlacedHoles;
      FMirrored = other.FMirrored;
      FRotationIndex = other.FRotationIndex;
      FPartIndex = other.FPartIndex;
      FPartId = other.FPartId;
      FPosition = other.FPosition;
      FOffsetPosition = other.FOffsetPosition;
      FGridPosition = other.FGridPosition;
    }
    return *this;
  }

  // The search-time identity of a piece: what a chromosome copy carries over.
  void AssignPlacement(const TPiece_any& other) {
    FShapeType = other.FShapeType;
    FMirrored = other.FMirrored;
    FRotationIndex = other.FRotationIndex;
    FPartIndex = other.FPartIndex;
    FPartId = other.FPartId;
    FGridPosition = other.FGridPosition;
  }
};

}  // namespace varnest
