#pragma once
// TGrid: the raster of one shape, a stack of strips of height FResolution.
//
// In a part grid the intervals of strip i are the x ranges the part covers
// somewhere inside the band i * FResolution <= y <= (i + 1) * FResolution. In
// a stock grid (and the working grid of placement) they are the blocked
// ranges: outside the stock, over a defect, under a part already placed.
// Intervals are closed, but two that only share an end point do not
// conflict: parts may touch end to end.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "varnest/grid/grid_line.h"

namespace varnest {

struct TGridCell {
  int32_t Line = 0;  // strip index
  int32_t X = 0;     // scaled units

  friend bool operator==(const TGridCell&, const TGridCell&) = default;
};

class TGrid {
 public:
  std::vector<TGridLine> FLines;  // index 0 at the bottom
  // Strips in use. A grid fresh from the rasteriser holds one more (an empty
  // spare at the top); a copy holds exactly this many.
  int32_t FNumberOfLines = 0;
  // The cell of every vertex of the outer outline, in outline order; for a
  // circle its lowest, leftmost, rightmost and highest points. Placement
  // probes them before walking whole strips.
  std::vector<TGridCell> FVertexCells;
  int32_t FScaledWidth = 0;   // truncated
  int32_t FScaledHeight = 0;  // rounded
  // Search memo of placement: where the next search for this grid starts.
  // Parts that share a grid share its memo; a copy never carries it over.
  int32_t FLastX = -1;
  int32_t FLastLine = -1;
  double FResolution = 1.0;
  double FScale = 1.0;

  int32_t NumberOfVertexCells() const { return static_cast<int32_t>(FVertexCells.size()); }

  // Frees strips and cells; the scaled size, the memo and the scale stay.
  void Release();

  // The four frame copies that realise the starting corner and direction.
  // With n lines and width W: MirrorX maps [s, e] to [W - e, W - s], MirrorY
  // takes strip n - 1 - i, Rotate180 does both.
  TGrid& Assign(const TGrid& source);
  TGrid& AssignMirrorX(const TGrid& source);
  TGrid& AssignMirrorY(const TGrid& source);
  TGrid& AssignRotate180(const TGrid& source);

 private:
  void CopyHeader(const TGrid& source);
  template <bool kMirrorX, bool kMirrorY>
  void AssignTransformed(const TGrid& source);
};

// Destroys an owned array of grids.
inline void FreeGridArray(std::vector<TGrid>& grids) {
  grids.clear();
  grids.shrink_to_fit();
}

}  // namespace varnest
