#include "varnest/search/placement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "varnest/geometry/fuzzy.h"
#include "varnest/grid/grid_sets.h"
#include "varnest/grid/rasterise.h"

namespace varnest {

namespace {

// Strips hold few intervals, where a plain walk beats a binary search; long
// strips (a stock after many stamps) are searched by halving. Both give the
// same answer because a normalised strip has strictly increasing ends.
constexpr std::ptrdiff_t kLinearWalkLength = 8;

// The first interval of [first, last) whose end lies right of p.
inline const TGridInterval* FirstEndingAfter(const TGridInterval* first, const TGridInterval* last,
                                             int32_t p) {
  if (last - first <= kLinearWalkLength) {
    while (first != last && first->FEnd <= p) ++first;
    return first;
  }
  return std::partition_point(first, last,
                              [p](const TGridInterval& interval) { return interval.FEnd <= p; });
}

// What the loop over the orientations remembers about its current choice.
struct TChoice {
  bool Made = false;
  int32_t X = 0;
  int32_t Line = 0;
  double Y = 0.0;
  int32_t Orientation = 0;  // index into the part's orientation table
};

TChoice Chosen(int32_t x, int32_t line, double y, size_t orientation) {
  return TChoice{true, x, line, y, static_cast<int32_t>(orientation)};
}

bool PassAllows(const TSearchContext& context, std::span<const uint8_t> mask, size_t i) {
  // A mask shorter than the orientation table marks nothing beyond its end.
  const bool preferred = i < mask.size() && mask[i] != 0;
  return context.FPlacementPass == 1 ? preferred : !preferred;
}

// The fitting grid of an orientation, or none when the orientation does not
// name a usable grid (a grid without strips cannot be positioned).
TGrid* FittingGrid(TSearchContext& context, const TPartOrientation& orientation) {
  std::vector<TGrid>& grids = context.FittingGrids();
  if (orientation.GridIndex < 0 || static_cast<size_t>(orientation.GridIndex) >= grids.size()) {
    return nullptr;
  }
  TGrid& grid = grids[static_cast<size_t>(orientation.GridIndex)];
  return grid.FNumberOfLines > 0 ? &grid : nullptr;
}

// The outline the fitting grid of a polygon orientation was built from.
const TPolygon* FittingOutline(const TSearchContext& context, const part2d_any& part,
                               int32_t rotationIndex) {
  if (rotationIndex < 0) return nullptr;
  const size_t k = static_cast<size_t>(rotationIndex);
  if (context.SeparateFitting()) {
    return k < part.FRotatedOutlines.size() ? &part.FRotatedOutlines[k] : nullptr;
  }
  return k < part.FOffsetOutlines.size() ? &part.FOffsetOutlines[k] : nullptr;
}

const TCircle* FittingCircle(const TSearchContext& context, const part2d_any& part) {
  if (context.SeparateFitting()) return part.FShiftedCircle ? &*part.FShiftedCircle : nullptr;
  return part.FOffsetCircle ? &*part.FOffsetCircle : nullptr;
}

// Under separate fitting the plain grid was fitted, and the grown grid reaches
// the growth distance (k whole strips) further on its low sides, so it is
// stamped that much further down and left.
void StampPosition(const TSearchContext& context, int32_t x, int32_t line, int32_t& stampX,
                   int32_t& stampLine) {
  stampX = x;
  stampLine = line;
  if (!context.SeparateFitting()) return;
  const TRunSettings& settings = context.Settings;
  const int32_t k = static_cast<int32_t>(
      std::min(settings.GrowthStrips(), static_cast<double>(kGridCoordinateLimit)));
  stampX = TruncToInt32(static_cast<double>(x) -
                        std::trunc(settings.Scale) * static_cast<double>(k) * settings.Resolution);
  stampLine = line - k;
}

bool Commit(TSearchContext& context, const part2d_any& part, int32_t partIndex,
            const TChoice& choice, TSearchLayout& layout) {
  if (FuzzyCompare(choice.Y, context.FStockExtents.Height, context.Settings.Precision) != -1) {
    return false;
  }
  const TPartOrientation& orientation = part.FOrientations[static_cast<size_t>(choice.Orientation)];
  RecordPlacement(context, part, partIndex, orientation, choice.X, choice.Line, layout);
  int32_t stampX = 0;
  int32_t stampLine = 0;
  StampPosition(context, choice.X, choice.Line, stampX, stampLine);
  std::vector<TGrid>& stamping = context.StampingGrids();
  if (orientation.GridIndex >= 0 && static_cast<size_t>(orientation.GridIndex) < stamping.size()) {
    StampPart(context.FStockGrid, stamping[static_cast<size_t>(orientation.GridIndex)], stampX,
              stampLine);
  }
  return true;
}

bool PlacePolygonPart(TSearchContext& context, const part2d_any& part, int32_t partIndex,
                      std::span<const uint8_t> mask, uint8_t rule, TSearchLayout& layout) {
  const double stockHeight = context.FStockExtents.Height;
  const TGrid& stock = context.FStockGrid;
  const int32_t stockLines = stock.FNumberOfLines;
  const bool lowestTop = rule == kLowestTop;
  double bestY = stockHeight;
  double bestKey = stockHeight;
  // One limit serves all orientations in turn: a later orientation never
  // searches above the line the earlier ones reached.
  int32_t limit = 0;
  int32_t topLimit = stockLines;
  TChoice choice;

  for (size_t i = 0; i < part.FOrientations.size(); ++i) {
    if (!PassAllows(context, mask, i)) continue;
    const TPartOrientation& orientation = part.FOrientations[i];
    TGrid* grid = FittingGrid(context, orientation);
    const TPolygon* outline = FittingOutline(context, part, orientation.RotationIndex);
    if (grid == nullptr || outline == nullptr) continue;
    const int32_t gridLines = grid->FNumberOfLines;

    int32_t searchLimit = 0;
    if (lowestTop) {
      searchLimit = topLimit - gridLines;
      if (searchLimit < 0) continue;
    } else {
      const int32_t room = stockLines - gridLines;
      if (room < 0) continue;
      limit = choice.Made ? std::min(limit, room) : room;
      searchLimit = limit;
    }
    const int32_t usedLimit = searchLimit;

    int32_t x = 0;
    int32_t line = 0;
    if (FindFirstFit(stock, *grid, searchLimit, x, line)) {
      const double y = static_cast<double>(line) * context.Settings.Resolution;
      bool better = false;
      if (lowestTop) {
        const double key = y + outline->FHeight;
        if (FuzzyCompare(key, bestKey, context.Settings.Precision) == -1) {
          bestKey = key;
          better = true;
        }
        topLimit = std::min(topLimit, line + gridLines);
      } else {
        better = FuzzyCompare(y, bestY, context.Settings.Precision) == -1;
        limit = std::min(limit, line);
      }
      if (better) {
        bestY = y;
        choice = Chosen(x, line, y, i);
      }
    } else {
      // Every line up to the limit is full for this grid; later searches in
      // this layout start there (the stock only gains blocked spans).
      grid->FLastLine = std::max(grid->FLastLine, usedLimit);
    }
  }
  if (!choice.Made) return false;
  return Commit(context, part, partIndex, choice, layout);
}

bool PlaceCirclePart(TSearchContext& context, const part2d_any& part, int32_t partIndex,
                     std::span<const uint8_t> mask, TSearchLayout& layout) {
  const double stockHeight = context.FStockExtents.Height;
  const TCircle* circle = FittingCircle(context, part);
  if (circle == nullptr) return false;
  const TGrid& stock = context.FStockGrid;
  double bestY = stockHeight;
  TChoice choice;

  for (size_t i = 0; i < part.FOrientations.size(); ++i) {
    if (!PassAllows(context, mask, i)) continue;
    const TPartOrientation& orientation = part.FOrientations[i];
    TGrid* grid = FittingGrid(context, orientation);
    if (grid == nullptr) continue;
    // Never lowered: a negative limit simply finds nothing.
    int32_t searchLimit = stock.FNumberOfLines - grid->FNumberOfLines;
    int32_t x = 0;
    int32_t line = 0;
    if (!FindFirstFit(stock, *grid, searchLimit, x, line)) continue;
    const double y = static_cast<double>(line) * context.Settings.Resolution;
    if (FuzzyCompare(y, bestY, context.Settings.Precision) != -1) continue;
    bestY = y;
    choice = Chosen(x, line, y, i);
    // The next equal circle cannot start inside this one on the same line.
    const double advanced = grid->FLastX + 2.0 * circle->FRadius * context.Settings.Scale;
    // No memo starts beyond the widest shape of the run.
    grid->FLastX =
        advanced < kScaledExtent ? TruncToInt32(advanced) : static_cast<int32_t>(kScaledExtent);
  }
  if (!choice.Made) return false;
  return Commit(context, part, partIndex, choice, layout);
}

}  // namespace

TStockExtents StockExtents(const stock2d_any& stock) {
  if (stock.IsPolygon()) {
    if (!stock.FOffsetOutline) return {};
    return {stock.FOffsetOutline->FWidth, stock.FOffsetOutline->FHeight};
  }
  // The grid of a circle stock is that of its usable circle (the radius less
  // the margin), so that is the extent positions are mapped back with.
  const double radius = stock.FOffsetCircle ? stock.FOffsetCircle->FRadius
                        : stock.FCircle     ? stock.FCircle->FRadius
                                            : 0.0;
  return {2.0 * radius, 2.0 * radius};
}

void BeginStockLayout(TSearchContext& context, const stock2d_any& stock) {
  context.FStockExtents = StockExtents(stock);
  const std::vector<TGrid>& stockGrids = context.FGrids.FStockGrids;
  if (stock.FGridIndex >= 0 && static_cast<size_t>(stock.FGridIndex) < stockGrids.size()) {
    AssignInSearchFrame(context.FStockGrid, stockGrids[static_cast<size_t>(stock.FGridIndex)],
                        context.Settings.Frame());
  } else {
    context.FStockGrid.FNumberOfLines = 0;
  }
  for (TGrid& grid : context.FittingGrids()) {
    grid.FLastLine = -1;
    grid.FLastX = 0;
  }
}

namespace {

// Along one line of a first-fit search x only grows, so for every probe (a
// vertex cell, or the first interval of a part strip) the first blocked
// interval ending right of it never moves left. FindFirstFit keeps one such
// cursor per probe and each test resumes from it instead of searching its
// strip from the start; the intervals it skips all end left of the probe, so
// the answers are exactly those of a search from the start.
constexpr int32_t kMaxCursors = 512;

// Every collision a probe reports rules out a range of x that ends exactly
// at the next x it asks for: the pair of intervals (or the cell inside a
// blocked interval) keeps colliding up to there. A first-fit search along a
// line therefore ends at the smallest x outside every such range, whichever
// probe reports first at each step. So the strip walk below may start at any
// strip and wrap round. Starting at the strip that collided last usually
// finds the next collision at once, where a walk from strip 0 would first
// pass every strip below it: on the demo problem that made the search twenty
// times faster. `hotStrip` is that start on entry, and the strip that
// collided on return.
template <bool kResume>
TFitResult TestFitAt(const TGrid& stock, const TGrid& part, int32_t x, int32_t line,
                     int32_t* cellCursors, int32_t* lineCursors, int32_t& hotStrip) {
  const int32_t lines = part.FNumberOfLines;
  if (line < 0 || line > stock.FNumberOfLines - lines) return {TFitOutcome::kExhausted, 0};

  // Quick test: a few vertex cells usually hit a blocked span long before a
  // whole strip walk would. Only worth it when there are fewer cells than
  // strips.
  const int32_t cells = part.NumberOfVertexCells();
  if (lines > cells) {
    for (int32_t k = 0; k < cells; ++k) {
      const TGridCell& cell = part.FVertexCells[static_cast<size_t>(k)];
      const int32_t target = line + cell.Line;
      if (static_cast<uint32_t>(target) >= static_cast<uint32_t>(stock.FNumberOfLines)) continue;
      const std::vector<TGridInterval>& blocked =
          stock.FLines[static_cast<size_t>(target)].FIntervals;
      const TGridInterval* first = blocked.data();
      const TGridInterval* end = first + blocked.size();
      const int32_t p = cell.X + x;
      const TGridInterval* reached =
          FirstEndingAfter(kResume ? first + cellCursors[k] : first, end, p);
      if constexpr (kResume) cellCursors[k] = static_cast<int32_t>(reached - first);
      if (reached == end) {
        // Only a zero-length interval exactly at p leaves the cell free here.
        if (blocked.empty() || p > blocked.back().FStart) return {TFitOutcome::kExhausted, 0};
        continue;
      }
      if (reached->FStart < p) return {TFitOutcome::kCollision, reached->FEnd - cell.X};
    }
  }

  // Full test, strip by strip; the first collision found decides.
  const int32_t start = hotStrip > 0 && hotStrip < lines ? hotStrip : 0;
  for (int32_t k = 0; k < lines; ++k) {
    const int32_t i = k < lines - start ? start + k : start + k - lines;
    const std::vector<TGridInterval>& own = part.FLines[static_cast<size_t>(i)].FIntervals;
    if (own.empty()) continue;
    const std::vector<TGridInterval>& blocked =
        stock.FLines[static_cast<size_t>(line + i)].FIntervals;
    const TGridInterval* first = blocked.data();
    const TGridInterval* end = first + blocked.size();
    const TGridInterval* cursor = kResume ? first + lineCursors[i] : first;
    bool firstInterval = true;
    for (const TGridInterval& covered : own) {
      cursor = FirstEndingAfter(cursor, end, covered.FStart + x);
      if constexpr (kResume) {
        if (firstInterval) lineCursors[i] = static_cast<int32_t>(cursor - first);
        firstInterval = false;
      }
      if (cursor == end) return {TFitOutcome::kExhausted, 0};
      if (covered.FEnd + x <= cursor->FStart) continue;  // lies in the gap
      hotStrip = i;
      return {TFitOutcome::kCollision, cursor->FEnd - covered.FStart};
    }
  }
  return {TFitOutcome::kFits, 0};
}

}  // namespace

TFitResult TestFit(const TGrid& stock, const TGrid& part, int32_t x, int32_t line) {
  int32_t fromTheBottom = 0;
  return TestFitAt<false>(stock, part, x, line, nullptr, nullptr, fromTheBottom);
}

bool FindFirstFit(const TGrid& stock, TGrid& part, int32_t& lineLimit, int32_t& x, int32_t& line) {
  const int32_t memoLine = part.FLastLine;
  // Lines whose part strips would leave the stock are never searched.
  const int32_t lastLine = std::min(lineLimit, stock.FNumberOfLines - part.FNumberOfLines);
  const int32_t lastX = stock.FScaledWidth - part.FScaledWidth;
  const int32_t cells = part.NumberOfVertexCells();
  const int32_t probes = cells + std::max(part.FNumberOfLines, 0);
  // Grids with more probes than the buffer holds are tested without cursors.
  const bool resume = probes <= kMaxCursors;
  std::array<int32_t, kMaxCursors> cursors;
  int32_t hotStrip = 0;
  for (int32_t current = memoLine < 0 ? 0 : memoLine; current <= lastLine; ++current) {
    int32_t position = (current == memoLine || memoLine == -1) ? part.FLastX : 0;
    if (resume) std::fill_n(cursors.begin(), probes, 0);
    while (position <= lastX) {
      const TFitResult result =
          resume ? TestFitAt<true>(stock, part, position, current, cursors.data(),
                                   cursors.data() + cells, hotStrip)
                 : TestFitAt<false>(stock, part, position, current, nullptr, nullptr, hotStrip);
      if (result.Outcome == TFitOutcome::kFits) {
        part.FLastLine = current;
        part.FLastX = position;
        lineLimit = current;
        x = position;
        line = current;
        return true;
      }
      if (result.Outcome == TFitOutcome::kExhausted) break;
      position = result.NextX;  // always right of the tried position
    }
  }
  return false;
}

void StampPart(TGrid& stock, const TGrid& part, int32_t x, int32_t line) {
  for (int32_t i = 0; i < part.FNumberOfLines; ++i) {
    const int32_t target = line + i;
    if (target < 0) continue;
    if (target >= stock.FNumberOfLines) break;
    stock.FLines[static_cast<size_t>(target)].MergeShifted(part.FLines[static_cast<size_t>(i)], x);
  }
}

void RecordPlacement(const TSearchContext& context, const part2d_any& part, int32_t partIndex,
                     const TPartOrientation& orientation, int32_t x, int32_t line,
                     TSearchLayout& layout) {
  const TRunSettings& settings = context.Settings;
  const int32_t rotationIndex = orientation.RotationIndex;
  // The extent of the shape that was fitted, as stored during the search.
  double mx = 0.0;
  double my = 0.0;
  if (part.IsPolygon()) {
    if (const TPolygon* outline = FittingOutline(context, part, rotationIndex)) {
      mx = outline->FMaxX;
      my = outline->FMaxY;
    }
  } else if (const TCircle* circle = FittingCircle(context, part)) {
    mx = circle->FMaxX;
    my = circle->FMaxY;
  }

  // Where the search frame flips the strips, the grids were flipped line for
  // line: about the top of their last strip, not about the shape's height.
  // (Flipped x needs no such care: the scaled width is exact to one scaled
  // unit.)
  const TStockExtents& stock = context.FStockExtents;
  const TFrameExtent fitted{mx, my, StripHeight(my, settings.Resolution, settings.Precision)};
  const TFrameExtent sheet{stock.Width, stock.Height,
                           StripHeight(stock.Height, settings.Resolution, settings.Precision)};
  const double y = static_cast<double>(line) * settings.Resolution;
  const TPoint2D position = settings.Frame().PlacedCorner(
      static_cast<double>(x) / settings.Scale, y, fitted, orientation.Mirrored != 0, sheet);

  const size_t slot = static_cast<size_t>(layout.FNumberOfPlacedPieces);
  if (slot >= layout.FPieces.size()) layout.FPieces.resize(slot + 1);
  TPiece_any& piece = layout.FPieces[slot];
  piece.FShapeType = part.FShapeType;
  piece.FMirrored = orientation.Mirrored;
  piece.FRotationIndex = rotationIndex;
  piece.FPartIndex = partIndex;
  piece.FPartId = part.FId;
  piece.FGridPosition = position;
  layout.FNumberOfPlacedPieces += 1;
  layout.FPlacedArea += part.FNetArea;
}

bool PlacePart(TSearchContext& context, const part2d_any& part, int32_t partIndex,
               std::span<const uint8_t> mask, uint8_t rule, TSearchLayout& layout) {
  if (part.IsPolygon()) return PlacePolygonPart(context, part, partIndex, mask, rule, layout);
  if (part.IsCircle()) return PlaceCirclePart(context, part, partIndex, mask, layout);
  return false;
}

}  // namespace varnest
