#include "varnest/search/placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "search_fixture.h"
#include "varnest/grid/scaled_units.h"

namespace varnest {
namespace {

using testing::Box;
using testing::BoxPart;
using testing::BoxStock;
using testing::MakeGrid;
using testing::RectanglePartGrid;
using testing::RectangleStockGrid;
using testing::SearchWorld;
using testing::Strip;

// --- TestFit and FindFirstFit ------------------------------------------------------

TEST(TestFit, TouchingEndsFitAndOverlapsJumpToTheBlockingEnd) {
  const TGrid stock = MakeGrid({Strip{{0, 10}, {30, 30}}}, 30);
  const TGrid part = MakeGrid({Strip{{0, 5}}}, 5);

  const TFitResult touching = TestFit(stock, part, 10, 0);
  EXPECT_EQ(touching.Outcome, TFitOutcome::kFits);

  const TFitResult overlapping = TestFit(stock, part, 9, 0);
  EXPECT_EQ(overlapping.Outcome, TFitOutcome::kCollision);
  EXPECT_EQ(overlapping.NextX, 10);

  // The right wall touches the part's right end at x = 25.
  EXPECT_EQ(TestFit(stock, part, 25, 0).Outcome, TFitOutcome::kFits);
  EXPECT_EQ(TestFit(stock, part, 26, 0).Outcome, TFitOutcome::kCollision);
}

TEST(TestFit, StripsWithNothingToTheRightAreExhausted) {
  const TGrid part = MakeGrid({Strip{{0, 5}}}, 5);
  // No interval at all.
  EXPECT_EQ(TestFit(MakeGrid({Strip{}}, 30), part, 0, 0).Outcome, TFitOutcome::kExhausted);
  // Every blocked interval ends left of the part.
  EXPECT_EQ(TestFit(MakeGrid({Strip{{0, 3}}}, 30), part, 4, 0).Outcome, TFitOutcome::kExhausted);
  // A position whose part strips would leave the stock is exhausted too.
  EXPECT_EQ(TestFit(MakeGrid({Strip{{0, 0}, {30, 30}}}, 30), part, 0, 1).Outcome,
            TFitOutcome::kExhausted);
}

TEST(TestFit, PartStripsWithoutIntervalsAreNotTested) {
  const TGrid stock = MakeGrid({Strip{{0, 30}}, Strip{{0, 0}, {30, 30}}}, 30);
  const TGrid part = MakeGrid({Strip{}, Strip{{0, 5}}}, 5);
  EXPECT_EQ(TestFit(stock, part, 2, 0).Outcome, TFitOutcome::kFits);
}

TEST(TestFit, VertexCellsAreProbedBeforeTheStrips) {
  // Three strips and one vertex cell: the pre-test runs. The cell (2, 4)
  // lies inside the blocked [2, 9] of stock line 2, so the jump is measured
  // from the cell (9 - 4 = 5), not from the part's interval on that strip
  // (which would give 9 - 3 = 6).
  const TGrid stock =
      MakeGrid({Strip{{0, 0}, {50, 50}}, Strip{{0, 0}, {50, 50}}, Strip{{2, 9}, {50, 50}}}, 50);
  TGrid part = MakeGrid({Strip{{0, 1}}, Strip{{0, 1}}, Strip{{3, 5}}}, 5, {{2, 4}});
  TFitResult result = TestFit(stock, part, 0, 0);
  EXPECT_EQ(result.Outcome, TFitOutcome::kCollision);
  EXPECT_EQ(result.NextX, 5);

  // With as many cells as strips the pre-test is skipped.
  part.FVertexCells = {{2, 4}, {0, 0}, {1, 0}};
  result = TestFit(stock, part, 0, 0);
  EXPECT_EQ(result.Outcome, TFitOutcome::kCollision);
  EXPECT_EQ(result.NextX, 6);
}

TEST(TestFit, VertexCellPreTestOutcomes) {
  const TGrid part = MakeGrid({Strip{{0, 2}}, Strip{{0, 2}}}, 2, {{0, 1}});
  // A cell beyond the last blocked interval: the strip is exhausted.
  EXPECT_EQ(TestFit(MakeGrid({Strip{{0, 3}}, Strip{{0, 3}}}, 20), part, 5, 0).Outcome,
            TFitOutcome::kExhausted);
  // A zero-length interval exactly at the cell leaves the cell free; the
  // strip walk then finds that the part's [5, 7] overlaps it.
  const TGrid pin = MakeGrid({Strip{{6, 6}}, Strip{{0, 0}, {20, 20}}}, 20);
  const TFitResult pinned = TestFit(pin, part, 5, 0);
  EXPECT_EQ(pinned.Outcome, TFitOutcome::kCollision);
  EXPECT_EQ(pinned.NextX, 6);
  // A part whose right end touches an interval's start fits.
  const TGrid touching = MakeGrid({Strip{{0, 0}, {6, 20}}, Strip{{0, 0}, {20, 20}}}, 20);
  EXPECT_EQ(TestFit(touching, part, 4, 0).Outcome, TFitOutcome::kFits);
  // So does one whose vertex cell lies exactly on that start.
  const TGrid endCell = MakeGrid({Strip{{0, 2}}, Strip{{0, 2}}}, 2, {{0, 2}});
  EXPECT_EQ(TestFit(touching, endCell, 4, 0).Outcome, TFitOutcome::kFits);
}

TEST(FindFirstFit, JumpsFromCollisionToCollisionOnTheLowestLineWithRoom) {
  // Line 0 is full; on line 1 the part jumps over [3, 7] and [8, 12].
  const TGrid stock = MakeGrid(
      {Strip{{0, 20}}, Strip{{0, 0}, {3, 7}, {8, 12}, {20, 20}}, Strip{{0, 0}, {20, 20}}}, 20);
  TGrid part = MakeGrid({Strip{{0, 4}}}, 4);
  part.FLastLine = -1;
  part.FLastX = 0;
  int32_t limit = 2;
  int32_t x = -1;
  int32_t line = -1;
  ASSERT_TRUE(FindFirstFit(stock, part, limit, x, line));
  EXPECT_EQ(x, 12);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(limit, 1);
  EXPECT_EQ(part.FLastLine, 1);
  EXPECT_EQ(part.FLastX, 12);
}

TEST(FindFirstFit, StartsFromTheMemoAndStopsAtTheLineLimit) {
  const TGrid stock = RectangleStockGrid(20, 3);
  TGrid part = MakeGrid({Strip{{0, 4}}}, 4);

  // The memo says line 1 from x = 6: the free x = 0 there is not looked at,
  // and a later line starts again from 0.
  part.FLastLine = 1;
  part.FLastX = 6;
  int32_t limit = 2;
  int32_t x = -1;
  int32_t line = -1;
  ASSERT_TRUE(FindFirstFit(stock, part, limit, x, line));
  EXPECT_EQ(line, 1);
  EXPECT_EQ(x, 6);

  part.FLastX = 17;  // past the last x that fits (20 - 4)
  limit = 2;
  ASSERT_TRUE(FindFirstFit(stock, part, limit, x, line));
  EXPECT_EQ(line, 2);
  EXPECT_EQ(x, 0);

  // From a memo past the last x of the last line nothing is found, and the
  // failure leaves the memo alone.
  part.FLastLine = 2;
  part.FLastX = 17;
  limit = 2;
  EXPECT_FALSE(FindFirstFit(stock, part, limit, x, line));
  EXPECT_EQ(limit, 2);
  EXPECT_EQ(part.FLastLine, 2);
  EXPECT_EQ(part.FLastX, 17);

  part.FLastLine = -1;
  part.FLastX = 0;
  limit = -1;
  EXPECT_FALSE(FindFirstFit(stock, part, limit, x, line));
}

TEST(FindFirstFit, NeverSearchesLinesWhereThePartWouldLeaveTheStock) {
  const TGrid stock = RectangleStockGrid(20, 2);
  TGrid part = RectanglePartGrid(4, 3);
  part.FLastLine = -1;
  part.FLastX = 0;
  int32_t limit = 5;
  int32_t x = 0;
  int32_t line = 0;
  EXPECT_FALSE(FindFirstFit(stock, part, limit, x, line));
}

// A brute-force first fit straight from the collision rule: every line from
// the bottom, every x from the left, every pair of intervals.
bool BruteForceFirstFit(const TGrid& stock, const TGrid& part, int32_t& x, int32_t& line) {
  for (int32_t l = 0; l + part.FNumberOfLines <= stock.FNumberOfLines; ++l) {
    for (int32_t position = 0; position <= stock.FScaledWidth - part.FScaledWidth; ++position) {
      bool collides = false;
      for (int32_t i = 0; i < part.FNumberOfLines && !collides; ++i) {
        for (const TGridInterval& covered : part.FLines[static_cast<size_t>(i)].FIntervals) {
          for (const TGridInterval& blocked : stock.FLines[static_cast<size_t>(l + i)].FIntervals) {
            if (covered.FStart + position < blocked.FEnd &&
                covered.FEnd + position > blocked.FStart) {
              collides = true;
            }
          }
        }
      }
      if (!collides) {
        x = position;
        line = l;
        return true;
      }
    }
  }
  return false;
}

// The first fit as a chain of single tests, each walking from the bottom
// strip: line by line from the bottom, jumping from collision to collision.
bool ChainedFirstFit(const TGrid& stock, const TGrid& part, int32_t& x, int32_t& line) {
  for (int32_t l = 0; l + part.FNumberOfLines <= stock.FNumberOfLines; ++l) {
    int32_t position = 0;
    while (position <= stock.FScaledWidth - part.FScaledWidth) {
      const TFitResult result = TestFit(stock, part, position, l);
      if (result.Outcome == TFitOutcome::kFits) {
        x = position;
        line = l;
        return true;
      }
      if (result.Outcome == TFitOutcome::kExhausted) break;
      position = result.NextX;
    }
  }
  return false;
}

TEST(FindFirstFit, FindsWhatABruteForceSearchAndAChainOfTestsFind) {
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    std::mt19937 random(seed);
    const auto draw = [&](int32_t lo, int32_t hi) {
      return std::uniform_int_distribution<int32_t>(lo, hi)(random);
    };
    // A stock of up to 12 strips, 120 units wide, walls at both ends and up
    // to 14 blocked spans in between (long strips are searched by halving),
    // normalised the way stamping leaves them.
    const int32_t width = 120;
    TGrid stock = RectangleStockGrid(width, draw(3, 12));
    for (TGridLine& strip : stock.FLines) {
      for (int32_t k = draw(0, 14); k > 0; --k) {
        TGridLine span;
        const int32_t start = draw(0, width - 1);
        span.Append(start, std::min(width, start + draw(0, 6)));
        strip.MergeShifted(span, 0);
      }
    }
    // A part of up to 5 strips with one or two intervals each; its vertex
    // cells lie on interval ends, so the pre-test only sees covered cells,
    // except in every fourth case: five strips and a single cell anywhere.
    const bool strayCell = seed % 4 == 0;
    const int32_t lines = strayCell ? 5 : draw(1, 5);
    std::vector<Strip> strips;
    std::vector<TGridCell> cells;
    int32_t partWidth = 1;
    for (int32_t i = 0; i < lines; ++i) {
      const int32_t a = draw(0, 6);
      const int32_t b = a + draw(0, 6);
      Strip strip{{a, b}};
      if (draw(0, 2) == 0) strip.push_back({b + 2, b + 2 + draw(0, 4)});
      partWidth = std::max(partWidth, strip.back().second);
      if (draw(0, 1) == 0) cells.push_back({i, strip.back().second});
      if (draw(0, 1) == 0) cells.push_back({i, strip.front().first});
      strips.push_back(strip);
    }
    if (strayCell) cells = {{draw(0, lines - 1), draw(0, partWidth + 3)}};
    TGrid part = MakeGrid(strips, partWidth, cells);

    // A stray cell may make the pre-test jump over a free position; the
    // search, which walks strips in its own order, must still find what the
    // chain of single tests finds.
    int32_t expectedX = -1;
    int32_t expectedLine = -1;
    const bool expected = strayCell ? ChainedFirstFit(stock, part, expectedX, expectedLine)
                                    : BruteForceFirstFit(stock, part, expectedX, expectedLine);
    if (!strayCell) {
      int32_t chainedX = -1;
      int32_t chainedLine = -1;
      ASSERT_EQ(ChainedFirstFit(stock, part, chainedX, chainedLine), expected) << "seed " << seed;
      if (expected) {
        EXPECT_EQ(std::pair(chainedX, chainedLine), std::pair(expectedX, expectedLine));
      }
    }
    part.FLastLine = -1;
    part.FLastX = 0;
    int32_t limit = stock.FNumberOfLines;
    int32_t x = -1;
    int32_t line = -1;
    ASSERT_EQ(FindFirstFit(stock, part, limit, x, line), expected) << "seed " << seed;
    if (expected) {
      EXPECT_EQ(line, expectedLine) << "seed " << seed;
      EXPECT_EQ(x, expectedX) << "seed " << seed;
    }
  }
}

// --- StampPart -----------------------------------------------------------------------

TEST(StampPart, MergesShiftedStripsAndStopsAtTheTop) {
  TGrid stock = RectangleStockGrid(20, 3);
  const TGrid part = RectanglePartGrid(4, 3);
  StampPart(stock, part, 5, 1);  // strip 2 of the part lies above the stock
  EXPECT_EQ(stock.FLines[0].FIntervals, (std::vector<TGridInterval>{{0, 0}, {20, 20}}));
  EXPECT_EQ(stock.FLines[1].FIntervals, (std::vector<TGridInterval>{{0, 0}, {5, 9}, {20, 20}}));
  EXPECT_EQ(stock.FLines[2].FIntervals, (std::vector<TGridInterval>{{0, 0}, {5, 9}, {20, 20}}));
  EXPECT_TRUE(stock.FLines[3].Empty());  // the spare strip above the top

  // Below the stock nothing is stamped; touching spans join.
  StampPart(stock, part, 16, -2);
  EXPECT_EQ(stock.FLines[0].FIntervals, (std::vector<TGridInterval>{{0, 0}, {16, 20}}));
  EXPECT_EQ(stock.FLines[1].FIntervals, (std::vector<TGridInterval>{{0, 0}, {5, 9}, {20, 20}}));
}

// --- PlacePart -----------------------------------------------------------------------

// A world with one stock grid (index 0) and part grids 0, 1, ...
struct PlacementWorld : SearchWorld {
  PlacementWorld(int32_t stockWidth, int32_t stockHeight) {
    stocks.push_back(BoxStock(0, stockWidth, stockHeight));
    grids.FStockGrids.push_back(RectangleStockGrid(stockWidth, stockHeight));
    Finish();
  }
  void AddGrid(TGrid grid) { grids.FOffsetPartGrids.push_back(std::move(grid)); }
  TSearchLayout layout = [] {
    TSearchLayout l;
    l.FPieces.resize(4);
    return l;
  }();
  bool Place(const part2d_any& part, std::vector<uint8_t> mask, uint8_t rule) {
    context.FStockExtents = StockExtents(stocks[0]);
    return PlacePart(context, part, part.FIndex, mask, rule, layout);
  }
};

TEST(PlacePart, EqualKeysKeepTheFirstOrientationUnderEitherRule) {
  for (const uint8_t rule : {kLowestBase, kLowestTop}) {
    PlacementWorld world(20, 10);
    // Two orientations with the same grid shape and height: both land on
    // line 0, both keys are equal, the first is kept.
    world.AddGrid(RectanglePartGrid(4, 2));
    world.AddGrid(RectanglePartGrid(4, 2));
    world.parts.push_back(BoxPart(0, {{4, 2}, {4, 2}}, 0));
    world.Finish();
    BeginStockLayout(world.context, world.stocks[0]);
    ASSERT_TRUE(world.Place(world.parts[0], {1, 1}, rule)) << int{rule};
    EXPECT_EQ(world.layout.FPieces[0].FRotationIndex, 0) << int{rule};
    EXPECT_EQ(world.layout.FNumberOfPlacedPieces, 1);
    EXPECT_DOUBLE_EQ(world.layout.FPlacedArea, 8.0);
  }
}

TEST(PlacePart, LowestBasePrefersTheLowerLineLowestTopTheLowerTop) {
  // The tall orientation finds room one line lower, the wide one ends lower.
  PlacementWorld world(20, 10);
  TGrid& stock = world.grids.FStockGrids[0];
  // Lines 0..2 are full; from line 3 up the stock is free.
  for (int32_t i = 0; i < 3; ++i) {
    stock.FLines[static_cast<size_t>(i)].FIntervals = {{0, 20}};
  }
  // Line 3 is blocked right of x = 5, so the wide orientation must go up.
  stock.FLines[3].FIntervals = {{0, 0}, {5, 20}};
  world.AddGrid(RectanglePartGrid(5, 6));   // tall: fits at (0, 3), top 9
  world.AddGrid(RectanglePartGrid(12, 1));  // wide: first fits at (0, 4), top 5
  world.parts.push_back(BoxPart(0, {{5, 6}, {12, 1}}, 0));
  world.Finish();

  BeginStockLayout(world.context, world.stocks[0]);
  ASSERT_TRUE(world.Place(world.parts[0], {1, 1}, kLowestBase));
  EXPECT_EQ(world.layout.FPieces[0].FRotationIndex, 0);
  EXPECT_DOUBLE_EQ(world.layout.FPieces[0].FGridPosition.Y, 3.0);

  world.layout.ClearPlacements();
  BeginStockLayout(world.context, world.stocks[0]);
  ASSERT_TRUE(world.Place(world.parts[0], {1, 1}, kLowestTop));
  EXPECT_EQ(world.layout.FPieces[0].FRotationIndex, 1);
  EXPECT_DOUBLE_EQ(world.layout.FPieces[0].FGridPosition.Y, 4.0);
}

TEST(PlacePart, LowestTopRefusesATopAtTheStockHeight) {
  PlacementWorld world(20, 4);
  world.AddGrid(RectanglePartGrid(5, 4));
  world.parts.push_back(BoxPart(0, {{5, 4}}, 0));
  world.Finish();

  BeginStockLayout(world.context, world.stocks[0]);
  EXPECT_FALSE(world.Place(world.parts[0], {1}, kLowestTop));
  EXPECT_EQ(world.layout.FNumberOfPlacedPieces, 0);
  // Nothing was stamped.
  EXPECT_EQ(world.context.FStockGrid.FLines[0].FIntervals,
            (std::vector<TGridInterval>{{0, 0}, {20, 20}}));

  BeginStockLayout(world.context, world.stocks[0]);
  EXPECT_TRUE(world.Place(world.parts[0], {1}, kLowestBase));
  EXPECT_EQ(world.context.FStockGrid.FLines[3].FIntervals,
            (std::vector<TGridInterval>{{0, 5}, {20, 20}}));
}

TEST(PlacePart, PassesSplitTheOrientationsByMask) {
  PlacementWorld world(20, 10);
  world.AddGrid(RectanglePartGrid(4, 2));
  world.AddGrid(RectanglePartGrid(2, 4));
  world.parts.push_back(BoxPart(0, {{4, 2}, {2, 4}}, 0));
  world.Finish();

  // Pass 1 with an all-zero mask tries nothing: not even a memo moves.
  BeginStockLayout(world.context, world.stocks[0]);
  world.context.FPlacementPass = 1;
  EXPECT_FALSE(world.Place(world.parts[0], {0, 0}, kLowestBase));
  for (const TGrid& grid : world.grids.FOffsetPartGrids) {
    EXPECT_EQ(grid.FLastLine, -1);
    EXPECT_EQ(grid.FLastX, 0);
  }

  // Pass 0 offers exactly the orientations the mask leaves clear.
  world.context.FPlacementPass = 0;
  ASSERT_TRUE(world.Place(world.parts[0], {1, 0}, kLowestBase));
  EXPECT_EQ(world.layout.FPieces[0].FRotationIndex, 1);
  EXPECT_EQ(world.grids.FOffsetPartGrids[0].FLastLine, -1);
}

TEST(PlacePart, AFailedSearchMovesTheMemoToTheLimitUsed) {
  PlacementWorld world(20, 6);
  TGrid& stock = world.grids.FStockGrids[0];
  for (auto& line : stock.FLines) line.FIntervals = {{0, 20}};  // nothing is free
  world.AddGrid(RectanglePartGrid(4, 2));
  world.parts.push_back(BoxPart(0, {{4, 2}}, 0));
  world.Finish();
  BeginStockLayout(world.context, world.stocks[0]);
  EXPECT_FALSE(world.Place(world.parts[0], {1}, kLowestBase));
  EXPECT_EQ(world.grids.FOffsetPartGrids[0].FLastLine, 4);  // 6 lines - 2
}

TEST(PlacePart, APartTallerThanTheStockIsNotPlaced) {
  for (const bool circle : {false, true}) {
    PlacementWorld world(20, 3);
    world.AddGrid(RectanglePartGrid(4, 5));
    part2d_any part = BoxPart(0, {{4, 5}}, 0);
    if (circle) {
      part.FShapeType = kShapeCircle;
      part.FOffsetCircle = TOffsetCircle(TCircle({2.5, 2.5}, 2.5));
    }
    world.parts.push_back(part);
    world.Finish();
    BeginStockLayout(world.context, world.stocks[0]);
    EXPECT_FALSE(world.Place(world.parts[0], {1}, kLowestBase)) << circle;
    EXPECT_FALSE(world.Place(world.parts[0], {1}, kLowestTop)) << circle;
  }
}

TEST(PlacePart, EqualCirclesInARowStartRightOfTheLastCircle) {
  PlacementWorld world(40, 10);
  world.AddGrid(RectanglePartGrid(4, 4));
  part2d_any circle = BoxPart(0, {{4, 4}}, 0);
  circle.FShapeType = kShapeCircle;
  TOffsetCircle grown(TCircle({2, 2}, 2));
  grown.FMaxX = grown.FMaxY = 4;
  circle.FOffsetCircle = grown;
  world.parts.push_back(circle);
  world.Finish();

  BeginStockLayout(world.context, world.stocks[0]);
  ASSERT_TRUE(world.Place(world.parts[0], {1}, kLowestBase));
  // Found at x = 0; the memo moves past the circle's diameter.
  EXPECT_EQ(world.grids.FOffsetPartGrids[0].FLastX, 4);
  ASSERT_TRUE(world.Place(world.parts[0], {1}, kLowestBase));
  EXPECT_DOUBLE_EQ(world.layout.FPieces[1].FGridPosition.X, 4.0);
  EXPECT_DOUBLE_EQ(world.layout.FPieces[1].FGridPosition.Y, 0.0);
  EXPECT_EQ(world.grids.FOffsetPartGrids[0].FLastX, 8);

  // Near the right end the memo is capped at 100000000.
  world.settings.Scale = 6e7;
  ASSERT_TRUE(world.Place(world.parts[0], {1}, kLowestBase));
  EXPECT_EQ(world.grids.FOffsetPartGrids[0].FLastX, static_cast<int32_t>(kScaledExtent));
}

TEST(PlacePart, SeparateFittingStampsTheGrownGridFurtherDownAndLeft) {
  PlacementWorld world(20, 10);
  world.settings.CutterType = 1;
  world.settings.CutterDiameter = 1.0;  // one whole strip: k = 1
  // Plain grid 2 x 2 is fitted; the grown 4 x 4 grid is stamped.
  world.grids.FPartGrids.push_back(RectanglePartGrid(2, 2));
  world.grids.FOffsetPartGrids.push_back(RectanglePartGrid(4, 4));
  world.parts.push_back(BoxPart(0, {{2, 2}}, 0));
  world.Finish();
  TGrid& stock = world.grids.FStockGrids[0];
  stock.FLines[0].FIntervals = {{0, 20}};  // the plain grid must go up one line
  BeginStockLayout(world.context, world.stocks[0]);
  // The fitting grids are the plain ones: only their memos are reset.
  world.grids.FOffsetPartGrids[0].FLastLine = 7;
  BeginStockLayout(world.context, world.stocks[0]);
  EXPECT_EQ(world.grids.FOffsetPartGrids[0].FLastLine, 7);
  ASSERT_TRUE(world.Place(world.parts[0], {1}, kLowestBase));
  // Fitted at (0, 1): the grown grid goes to (-1, 0).
  EXPECT_EQ(world.context.FStockGrid.FLines[0].FIntervals, (std::vector<TGridInterval>{{-1, 20}}));
  EXPECT_EQ(world.context.FStockGrid.FLines[3].FIntervals,
            (std::vector<TGridInterval>{{-1, 3}, {20, 20}}));
  EXPECT_EQ(world.context.FStockGrid.FLines[4].FIntervals,
            (std::vector<TGridInterval>{{0, 0}, {20, 20}}));
}

// --- RecordPlacement --------------------------------------------------------------

// In an empty rectangular stock the first part lands in the starting corner,
// whatever the direction: a frame-independent check of the mapping back.
TEST(RecordPlacement, TheFirstPartLandsInTheStartingCorner) {
  const double stockW = 100;
  const double stockH = 50;
  const double partW = 20;
  const double partH = 8;
  struct Case {
    int32_t corner;
    double x, y;
  };
  const Case cases[] = {{0, 0, 0}, {1, 80, 0}, {2, 80, 42}, {3, 0, 42}};
  for (const int32_t direction : {0, 1}) {
    for (const Case& c : cases) {
      SearchWorld world;
      world.settings.OptimizationStartingCorner = c.corner;
      world.settings.OptimizationStartingDirection = direction;
      // Direction 1 shapes are stored turned: width and height exchanged.
      const bool turned = direction == 1;
      part2d_any part = BoxPart(0, {{turned ? partH : partW, turned ? partW : partH}}, 0);
      TSearchLayout layout;
      world.context.FStockExtents = {turned ? stockH : stockW, turned ? stockW : stockH};
      RecordPlacement(world.context, part, 0, TPartOrientation{0, 0, 0}, 0, 0, layout);
      ASSERT_EQ(layout.FNumberOfPlacedPieces, 1);
      EXPECT_DOUBLE_EQ(layout.FPieces[0].FGridPosition.X, c.x)
          << "corner " << c.corner << " direction " << direction;
      EXPECT_DOUBLE_EQ(layout.FPieces[0].FGridPosition.Y, c.y)
          << "corner " << c.corner << " direction " << direction;
    }
  }
}

TEST(RecordPlacement, MapsAPositionOffTheCornerByTheCornerAndDirectionTable) {
  // Search position X = 10 (20 grid units at scale 2), Y = 5; stock 100 x 50
  // as stored; fitted outline extents 20 x 8.
  struct Case {
    int32_t corner, direction;
    double x, y;
  };
  const Case cases[] = {
      {0, 0, 10, 5}, {1, 0, 70, 5},  {2, 0, 70, 37}, {3, 0, 10, 37},
      {0, 1, 5, 10}, {1, 1, 37, 10}, {2, 1, 37, 70}, {3, 1, 5, 70},
  };
  for (const Case& c : cases) {
    SearchWorld world;
    world.settings.Scale = 2.0;
    world.settings.OptimizationStartingCorner = c.corner;
    world.settings.OptimizationStartingDirection = c.direction;
    part2d_any part = BoxPart(3, {{20, 8}}, 0);
    part.FNetArea = 150.0;
    TSearchLayout layout;
    world.context.FStockExtents = {100, 50};
    RecordPlacement(world.context, part, 3, TPartOrientation{0, 0, 1}, 20, 5, layout);
    const TPiece_any& piece = layout.FPieces[0];
    EXPECT_DOUBLE_EQ(piece.FGridPosition.X, c.x) << c.corner << "/" << c.direction;
    EXPECT_DOUBLE_EQ(piece.FGridPosition.Y, c.y) << c.corner << "/" << c.direction;
    EXPECT_EQ(piece.FPartIndex, 3);
    EXPECT_EQ(piece.FPartId, 103);
    EXPECT_EQ(piece.FMirrored, 1);
    EXPECT_EQ(piece.FShapeType, kShapePolygon);
    EXPECT_DOUBLE_EQ(layout.FPlacedArea, 150.0);
  }
}

TEST(StockExtents, PolygonBoxOrTheUsableCircle) {
  const TStockExtents box = StockExtents(BoxStock(0, 30, 12));
  EXPECT_DOUBLE_EQ(box.Width, 30);
  EXPECT_DOUBLE_EQ(box.Height, 12);
  // A circle stock of radius 10 with a margin of 2 is rasterised from its
  // usable circle of radius 8: positions map back over 16, not 20.
  stock2d_any circle;
  circle.FShapeType = kShapeCircle;
  circle.FCircle = TCircle({50, 50}, 10);
  circle.FOffsetCircle = TOffsetCircle(TCircle({8, 8}, 8));
  const TStockExtents round = StockExtents(circle);
  EXPECT_DOUBLE_EQ(round.Width, 16);
  EXPECT_DOUBLE_EQ(round.Height, 16);
}

TEST(BeginStockLayout, CopiesTheStockGridIntoTheSearchFrame) {
  PlacementWorld world(20, 2);
  world.grids.FStockGrids[0].FLines[0].FIntervals = {{0, 3}, {20, 20}};
  world.settings.OptimizationStartingCorner = 2;  // rotated by 180 degrees
  BeginStockLayout(world.context, world.stocks[0]);
  EXPECT_EQ(world.context.FStockGrid.FLines[1].FIntervals,
            (std::vector<TGridInterval>{{0, 0}, {17, 20}}));

  // A stock without a grid gives an empty working grid: nothing fits.
  world.stocks[0].FGridIndex = 5;
  world.AddGrid(RectanglePartGrid(1, 1));
  world.parts.push_back(BoxPart(0, {{1, 1}}, 0));
  BeginStockLayout(world.context, world.stocks[0]);
  EXPECT_EQ(world.context.FStockGrid.FNumberOfLines, 0);
  EXPECT_FALSE(world.Place(world.parts[0], {1}, kLowestBase));
}

}  // namespace
}  // namespace varnest
