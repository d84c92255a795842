#pragma once
// part2d_any: one demand piece of the problem, as defined and as prepared for
// rasterising (one entry per kept rotation in every per-rotation array).

#include <cstdint>
#include <optional>
#include <vector>

#include "varnest/geometry/circle.h"
#include "varnest/geometry/polygon.h"
#include "varnest/model/hole.h"

namespace varnest {

inline constexpr uint8_t kShapePolygon = 0;
inline constexpr uint8_t kShapeCircle = 1;
inline constexpr uint8_t kShapeUndefined = 255;

struct TPartOrientation {
  int32_t RotationIndex = -1;
  int32_t GridIndex = -1;
  uint8_t Mirrored = 0;
};

struct part2d_any {
  uint8_t FShapeType = kShapeUndefined;
  std::vector<TTrueHole> FHoles;  // as defined; empty when FNumberOfHoles <= 0
  // As passed by the caller (may be negative, meaning none), which is why it
  // is kept beside the array.
  int32_t FNumberOfHoles = 0;
  std::vector<std::vector<TTrueHole>> FRotatedHoles;  // per rotation
  std::vector<std::vector<TTrueHole>> FShiftedHoles;  // per rotation
  std::optional<TPolygon> FOutline;
  std::vector<TPolygon> FRotatedOutlines;       // per rotation
  std::vector<TOffsetPolygon> FOffsetOutlines;  // per rotation
  std::optional<TCircle> FCircle;
  std::optional<TCircle> FShiftedCircle;
  std::optional<TOffsetCircle> FOffsetCircle;
  std::vector<TPartOrientation> FOrientations;
  int32_t FAllowMirror = 0;  // as passed; any non-zero value allows the mirror image
  int32_t FId = -1;
  // At definition 360 / step (or 1); after preparation the kept rotations.
  int32_t FNumberOfRotations = 0;
  int32_t FNumberOfOrientations = 0;  // filled entries of FOrientations
  int32_t FIndex = -1;
  int32_t FPriority = 0;
  std::vector<int32_t> FRotationMultiples;  // per rotation
  double FNetArea = 0.0;
  double FArea = 0.0;
  double FRotationStep = 0.0;
  TPoint2D FCenterOfRotation;
  // Set by the input check when the part's outline or a hole crosses itself:
  // its raster could not be trusted, so the run leaves the part out.
  bool FRejected = false;

  // The number of mirror images per rotation: 1 when mirroring is allowed.
  int32_t MirrorCount() const { return FAllowMirror != 0 ? 1 : 0; }
  bool IsPolygon() const { return FShapeType == kShapePolygon; }
  bool IsCircle() const { return FShapeType == kShapeCircle; }

  // Releases everything the record owns and returns it to its undefined state.
  void Reset() { *this = part2d_any(); }
};

using part2d_array_any = std::vector<part2d_any>;

}  // namespace varnest
