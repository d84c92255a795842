#pragma once
// Hand-made grids, parts and a search context for the search tests. Scale 1
// and resolution 1 unless a test says otherwise, so grid units are outline
// units and strip i is the band i <= y <= i + 1.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "varnest/geometry/random.h"
#include "varnest/grid/grid.h"
#include "varnest/grid/grid_sets.h"
#include "varnest/model/equality.h"
#include "varnest/model/part.h"
#include "varnest/model/stock.h"
#include "varnest/search/search_context.h"
#include "varnest/search/solution.h"

namespace varnest::testing {

using Strip = std::vector<std::pair<int32_t, int32_t>>;

inline TGrid MakeGrid(const std::vector<Strip>& strips, int32_t width,
                      std::vector<TGridCell> cells = {}) {
  TGrid grid;
  grid.FNumberOfLines = static_cast<int32_t>(strips.size());
  grid.FLines.resize(strips.size() + 1);  // a spare on top, as the rasteriser leaves it
  for (size_t i = 0; i < strips.size(); ++i) {
    for (const auto& [start, end] : strips[i]) grid.FLines[i].Append(start, end);
  }
  grid.FVertexCells = std::move(cells);
  grid.FScaledWidth = width;
  grid.FScaledHeight = grid.FNumberOfLines;
  grid.FResolution = 1.0;
  grid.FScale = 1.0;
  return grid;
}

// The grid of a w x h rectangle part: every strip covered across the width,
// the four corners as vertex cells.
inline TGrid RectanglePartGrid(int32_t w, int32_t h) {
  std::vector<Strip> strips(static_cast<size_t>(h), Strip{{0, w}});
  return MakeGrid(strips, w, {{0, 0}, {0, w}, {h - 1, w}, {h - 1, 0}});
}

// The grid of an empty w x h rectangle stock: every strip free between its
// two zero-length walls.
inline TGrid RectangleStockGrid(int32_t w, int32_t h) {
  std::vector<Strip> strips(static_cast<size_t>(h), Strip{{0, 0}, {w, w}});
  return MakeGrid(strips, w);
}

inline TPolygon Box(double w, double h) {
  TPolygon polygon(4);
  polygon.FVertices = {{0, 0, 0}, {0, w, 0}, {0, w, h}, {0, 0, h}};
  polygon.FMaxX = polygon.FWidth = w;
  polygon.FMaxY = polygon.FHeight = h;
  polygon.FArea = w * h;
  return polygon;
}

// A polygon part whose kept rotations are the given boxes (one orientation
// per rotation, grids gridBase, gridBase + 1, ...), turned by step degrees
// each.
inline part2d_any BoxPart(int32_t index, const std::vector<std::pair<double, double>>& boxes,
                          int32_t gridBase, double step = 90.0) {
  part2d_any part;
  part.FShapeType = kShapePolygon;
  part.FIndex = index;
  part.FId = 100 + index;
  part.FRotationStep = step;
  part.FNumberOfRotations = static_cast<int32_t>(boxes.size());
  if (!boxes.empty()) part.FOutline = Box(boxes[0].first, boxes[0].second);
  for (size_t k = 0; k < boxes.size(); ++k) {
    const TPolygon box = Box(boxes[k].first, boxes[k].second);
    part.FRotatedOutlines.push_back(box);
    // The outer box: the defined outline turned about the origin, in the
    // part's own frame (no cutter).
    TOffsetPolygon grown(box);
    const double a = step * static_cast<double>(k) * std::acos(-1.0) / 180.0;
    grown.FOuterMinX = grown.FOuterMinY = std::numeric_limits<double>::max();
    grown.FOuterMaxX = grown.FOuterMaxY = std::numeric_limits<double>::lowest();
    for (const TPolygonVertex& v : part.FOutline->FVertices) {
      const double x = std::cos(a) * v.X - std::sin(a) * v.Y;
      const double y = std::sin(a) * v.X + std::cos(a) * v.Y;
      grown.FOuterMinX = std::min(grown.FOuterMinX, x);
      grown.FOuterMinY = std::min(grown.FOuterMinY, y);
      grown.FOuterMaxX = std::max(grown.FOuterMaxX, x);
      grown.FOuterMaxY = std::max(grown.FOuterMaxY, y);
    }
    part.FOffsetOutlines.push_back(grown);
    part.FRotationMultiples.push_back(static_cast<int32_t>(k));
    part.FOrientations.push_back({static_cast<int32_t>(k), gridBase + static_cast<int32_t>(k), 0});
  }
  part.FNumberOfOrientations = static_cast<int32_t>(part.FOrientations.size());
  part.FArea = part.FNetArea = boxes.empty() ? 0.0 : boxes[0].first * boxes[0].second;
  return part;
}

inline stock2d_any BoxStock(int32_t index, double w, double h, int32_t gridIndex = 0) {
  stock2d_any stock;
  stock.FShapeType = kShapePolygon;
  stock.FIndex = index;
  stock.FOutline = Box(w, h);
  stock.FOffsetOutline = TOffsetPolygon(Box(w, h));
  stock.FGridIndex = gridIndex;
  stock.FArea = stock.FNetArea = w * h;
  return stock;
}

// Everything a search context refers to, owned in one place.
struct SearchWorld {
  TRunSettings settings;
  part2d_array_any parts;
  std::vector<int32_t> partOrder;
  std::vector<uint8_t> partEqualsPrevious;
  stock2d_array_any stocks;
  std::vector<int32_t> stockOrder;
  TGridSets grids;
  solutie solution;
  TRandomSource random;
  int32_t seed = 0;
  uint8_t stopRequested = 0;
  uint8_t searchDone = 0;
  TSearchContext context{settings, parts,      partOrder,     partEqualsPrevious,
                         stocks,   stockOrder, grids,         solution,
                         random,   seed,       stopRequested, searchDone};

  // Orders in index order and the solution sized for the problem.
  void Finish() {
    partOrder.clear();
    for (size_t i = 0; i < parts.size(); ++i) partOrder.push_back(static_cast<int32_t>(i));
    partEqualsPrevious =
        EqualNeighbours(parts, partOrder, settings.Precision, settings.RotationCenter);
    stockOrder.clear();
    for (size_t i = 0; i < stocks.size(); ++i) stockOrder.push_back(static_cast<int32_t>(i));
    solution.FNumberOfParts = static_cast<int32_t>(parts.size());
    solution.FNumberOfStockPieces = static_cast<int32_t>(stocks.size());
    solution.Reset();
  }
};

}  // namespace varnest::testing
