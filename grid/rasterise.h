#pragma once
// Rasterising one outline, with some of its holes, into a grid.
//
// Each strip describes the whole band between two scan lines, not one line:
// its x ranges come from following the boundary through the band from both
// of the band's lines, so the reach of the boundary anywhere within the band
// counts. In a part grid that widens the covered ranges, in a stock grid the
// blocked ones; either way a layout built on the grids never overlaps.
//
// The rasteriser works in outline units with FuzzyCompare throughout and turns
// values into scaled integers only when it appends intervals.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

#include "varnest/geometry/circle.h"
#include "varnest/geometry/polygon.h"
#include "varnest/grid/grid.h"
#include "varnest/grid/scaled_units.h"
#include "varnest/model/hole.h"
#include "varnest/model/run_settings.h"

namespace varnest {

enum class TGridMode : uint8_t {
  // The blocked ranges: outside the outline and over every hole.
  kStock,
  // The covered ranges, leaving open the holes whose FUsable flag is set.
  kPart,
};

// Fills the grid from the polygon or the circle, whose box is taken to start
// at (0, 0); whatever the grid held is freed first. Extents are FWidth and
// FHeight of a polygon, FMaxX and FMaxY of a circle. Reads the settings'
// resolution, precision and scale.
void BuildFromShape(TGrid& grid, const TPolygon& polygon, std::span<const TTrueHole> holes,
                    TGridMode mode, const TRunSettings& settings);
void BuildFromShape(TGrid& grid, const TCircle& circle, std::span<const TTrueHole> holes,
                    TGridMode mode, const TRunSettings& settings);

}  // namespace varnest
