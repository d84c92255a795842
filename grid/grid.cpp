#include "varnest/grid/grid.h"

namespace varnest {

void TGrid::Release() {
  FLines.clear();
  FLines.shrink_to_fit();
  FVertexCells.clear();
  FVertexCells.shrink_to_fit();
  FNumberOfLines = 0;
  FResolution = 1.0;
}

void TGrid::CopyHeader(const TGrid& source) {
  FNumberOfLines = source.FNumberOfLines;
  FScaledWidth = source.FScaledWidth;
  FScaledHeight = source.FScaledHeight;
  FResolution = source.FResolution;
  FScale = source.FScale;
  FLastX = -1;
  FLastLine = -1;
}

template <bool kMirrorX, bool kMirrorY>
void TGrid::AssignTransformed(const TGrid& source) {
  const int32_t n = source.FNumberOfLines;
  const int32_t w = source.FScaledWidth;
  // Strips are refilled in place, so a working grid copied once per layout
  // keeps its capacity instead of allocating again.
  FLines.resize(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    const TGridLine& from = source.FLines[static_cast<size_t>(kMirrorY ? n - 1 - i : i)];
    std::vector<TGridInterval>& to = FLines[static_cast<size_t>(i)].FIntervals;
    to.resize(from.FIntervals.size());
    const size_t count = from.FIntervals.size();
    for (size_t k = 0; k < count; ++k) {
      const TGridInterval& interval = from.FIntervals[k];
      if constexpr (kMirrorX) {
        // Mirrored left to right, so read backwards to stay sorted.
        to[count - 1 - k] = TGridInterval{w - interval.FEnd, w - interval.FStart};
      } else {
        to[k] = interval;
      }
    }
  }
  FVertexCells.resize(source.FVertexCells.size());
  for (size_t k = 0; k < source.FVertexCells.size(); ++k) {
    const TGridCell& cell = source.FVertexCells[k];
    FVertexCells[k] =
        TGridCell{kMirrorY ? n - 1 - cell.Line : cell.Line, kMirrorX ? w - cell.X : cell.X};
  }
  CopyHeader(source);
}

TGrid& TGrid::Assign(const TGrid& source) {
  if (this != &source) AssignTransformed<false, false>(source);
  return *this;
}

TGrid& TGrid::AssignMirrorX(const TGrid& source) {
  if (this == &source) {
    const TGrid copy = source;
    return AssignMirrorX(copy);
  }
  AssignTransformed<true, false>(source);
  return *this;
}

TGrid& TGrid::AssignMirrorY(const TGrid& source) {
  if (this == &source) {
    const TGrid copy = source;
    return AssignMirrorY(copy);
  }
  AssignTransformed<false, true>(source);
  return *this;
}

TGrid& TGrid::AssignRotate180(const TGrid& source) {
  if (this == &source) {
    const TGrid copy = source;
    return AssignRotate180(copy);
  }
  AssignTransformed<true, true>(source);
  return *this;
}

}  // namespace varnest
