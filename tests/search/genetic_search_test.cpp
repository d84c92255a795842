#include "varnest/search/genetic_search.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "search_fixture.h"
#include "varnest/search/placement.h"

namespace varnest {
namespace {

using testing::BoxPart;
using testing::BoxStock;
using testing::RectanglePartGrid;
using testing::RectangleStockGrid;
using testing::SearchWorld;

// A problem of box parts and box stocks with hand-made grids (scale 1,
// resolution 1): every rotation of a part gets its own grid; a stock equal
// to the one before shares its grid, as the grid-set builder does.
struct Problem : SearchWorld {
  // Adds a part whose kept rotations are the given boxes.
  int32_t AddPart(const std::vector<std::pair<int32_t, int32_t>>& boxes, int32_t priority = 0) {
    const int32_t index = static_cast<int32_t>(parts.size());
    std::vector<std::pair<double, double>> extents;
    for (const auto& [w, h] : boxes) extents.emplace_back(w, h);
    part2d_any part = BoxPart(index, extents, static_cast<int32_t>(grids.FOffsetPartGrids.size()));
    part.FPriority = priority;
    for (const auto& [w, h] : boxes) grids.FOffsetPartGrids.push_back(RectanglePartGrid(w, h));
    parts.push_back(std::move(part));
    return index;
  }
  int32_t AddStock(int32_t w, int32_t h) {
    const int32_t index = static_cast<int32_t>(stocks.size());
    const bool same = !stocks.empty() && stocks.back().FOffsetOutline->FWidth == w &&
                      stocks.back().FOffsetOutline->FHeight == h;
    if (!same) grids.FStockGrids.push_back(RectangleStockGrid(w, h));
    stocks.push_back(BoxStock(index, w, h, static_cast<int32_t>(grids.FStockGrids.size()) - 1));
    return index;
  }
  int32_t iterations = 0;
  int32_t stopAt = 0;  // raise the stop flag at this OnIteration call (0: never)
  static void Count(void* data) {
    Problem& problem = *static_cast<Problem*>(data);
    if (++problem.iterations == problem.stopAt) problem.stopRequested = 1;
  }
  void Run(int32_t level) {
    Finish();
    settings.OptimizationLevel = level;
    context.OnIteration = &Problem::Count;
    context.OnIterationData = this;
    RunSearch(context);
  }
  const Chromosome& Sheet(int32_t i) const { return *solution.FLayouts.ItemAt(i); }
};

TEST(SelectCandidates, EveryRunOfEqualPartsHasItsOwnAreaBudget) {
  Problem problem;
  problem.AddStock(5, 4);                                      // area 20
  for (int32_t i = 0; i < 10; ++i) problem.AddPart({{3, 1}});  // area 3 each
  for (int32_t i = 0; i < 3; ++i) problem.AddPart({{2, 2}});   // area 4 each
  problem.Finish();

  SelectCandidates(problem.context, 0);
  // Six of the ten (18; a seventh gives 21), and all three of the others.
  EXPECT_EQ(problem.context.FCandidates.FIndices,
            (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 10, 11, 12}));
  EXPECT_FALSE(problem.context.FCandidates.FAllCircles);
  EXPECT_TRUE(problem.context.FCandidates.FNoTurning);

  // Placed parts are passed over and leave room in their run's budget.
  problem.solution.FPartStock[1] = 0;
  problem.solution.FPartStock[11] = 0;
  SelectCandidates(problem.context, 0);
  EXPECT_EQ(problem.context.FCandidates.FIndices, (std::vector<int32_t>{0, 2, 3, 4, 5, 6, 10, 12}));
}

TEST(SelectCandidates, ExcludedPartsAreNeverOffered) {
  Problem problem;
  problem.AddStock(10, 10);
  problem.AddPart({{2, 2}});
  problem.AddPart({{3, 3}, {4, 2}});
  // A part left out of the run has no kept rotation, orientations or grids.
  problem.parts[1].FNumberOfRotations = 0;
  problem.parts[1].FOrientations.clear();
  problem.parts[1].FNumberOfOrientations = 0;
  problem.AddPart({{1, 1}, {1, 2}});
  problem.Finish();
  SelectCandidates(problem.context, 0);
  EXPECT_EQ(problem.context.FCandidates.FIndices, (std::vector<int32_t>{0, 2}));
  // The part with two rotations opened a scan: turning matters.
  EXPECT_FALSE(problem.context.FCandidates.FNoTurning);
}

TEST(BuildPriorityGroups, SplitsTheCandidatesWherePriorityChanges) {
  Problem problem;
  for (const int32_t priority : {0, 0, 1, 1, 1, 0}) problem.AddPart({{1, 1}}, priority);
  problem.context.FCandidates.FIndices = {0, 1, 2, 3, 4, 5};
  BuildPriorityGroups(problem.context);
  EXPECT_EQ(problem.context.FGroupEnds, (std::vector<int32_t>{1, 4, 5}));
  EXPECT_EQ(problem.context.NumberOfGroups(), 3);
  problem.context.FCandidates.FIndices.clear();
  BuildPriorityGroups(problem.context);
  EXPECT_EQ(problem.context.NumberOfGroups(), 0);
}

TEST(Decode, PreferredOrientationsComeFirstThenTheRestInOrder) {
  Problem problem;
  problem.AddStock(10, 2);
  const int32_t turning = problem.AddPart({{6, 2}, {2, 6}});  // only rotation 0 fits
  const int32_t small = problem.AddPart({{4, 2}});
  const int32_t wide = problem.AddPart({{7, 2}});
  problem.Finish();
  problem.context.FCandidates.FIndices = {turning, small, wide};

  ChromosomeDemandNested chromosome;
  chromosome.Init(problem.parts, problem.context.FCandidates.FIndices);
  chromosome.FMaskBytes = {0, 1, 1, 0};  // the turning part prefers what cannot fit
  TSearchLayout layout;
  Decode(problem.context, chromosome, problem.stocks[0], layout);
  // Pass 1: the turning part fails upright, the small one goes to x = 0, the
  // wide one is not offered. Pass 0: the turning part lies down at x = 4;
  // nothing is left for the wide one.
  ASSERT_EQ(layout.FNumberOfPlacedPieces, 2);
  EXPECT_EQ(layout.FPieces[0].FPartIndex, small);
  EXPECT_EQ(layout.FPieces[1].FPartIndex, turning);
  EXPECT_EQ(layout.FPieces[1].FRotationIndex, 0);
  EXPECT_DOUBLE_EQ(layout.FPieces[1].FGridPosition.X, 4);
  EXPECT_DOUBLE_EQ(layout.FPlacedArea, 12 + 8);
  // The chromosome keeps the fitness, not the layout.
  EXPECT_EQ(chromosome.FNumberOfPlacedPieces, 2);
  EXPECT_DOUBLE_EQ(chromosome.FPlacedArea, 12 + 8);

  // The order decides who comes first within a pass.
  chromosome.FOrder = {2, 1, 0};
  chromosome.FMaskBytes = {1, 0, 1, 1};
  Decode(problem.context, chromosome, problem.stocks[0], layout);
  ASSERT_EQ(layout.FNumberOfPlacedPieces, 1);
  EXPECT_EQ(layout.FPieces[0].FPartIndex, wide);
}

TEST(RunSearch, LevelOneStopsAfterFourGenerationsWithoutImprovement) {
  Problem problem;
  problem.AddStock(10, 4);
  for (int32_t i = 0; i < 3; ++i) problem.AddPart({{4, 2}});
  problem.Run(1);
  ASSERT_EQ(problem.solution.FLayouts.Count(), 1);
  EXPECT_EQ(problem.Sheet(0).NumberOfPieces(), 3);
  EXPECT_EQ(problem.solution.FTotalNumberOfUtilizedDemandPieces, 3);
  // One seed decoded; four generations of one step each, every generation
  // opened by a call; the fifth opening call sees the stock done.
  EXPECT_EQ(problem.iterations, 1 + 4 * 2 + 1);
  EXPECT_EQ(problem.searchDone, 1);
}

TEST(RunSearch, AStopKeepsTheBestLayoutSoFarAndEndsTheRun) {
  Problem problem;
  problem.AddStock(8, 2);
  problem.AddStock(8, 2);
  for (int32_t i = 0; i < 4; ++i) problem.AddPart({{4, 2}});
  problem.parts[3].FOutline->FVertices[1].X = 4.5;  // not equal: no repetition
  problem.stopAt = 4;                               // at the opening call of the first generation
  problem.Run(3);
  EXPECT_EQ(problem.iterations, 4);  // three seeds, then the opening call
  ASSERT_EQ(problem.solution.FLayouts.Count(), 1);
  EXPECT_EQ(problem.Sheet(0).NumberOfPieces(), 2);
}

TEST(RunSearch, AFirstStockSmallerThanEveryPartEndsTheSearch) {
  Problem problem;
  problem.AddStock(2, 2);
  problem.AddStock(10, 10);
  problem.AddPart({{3, 3}});
  problem.Run(1);
  EXPECT_EQ(problem.solution.FLayouts.Count(), 0);
  EXPECT_EQ(problem.iterations, 0);
  EXPECT_EQ(problem.solution.FPartStock[0], 2);
}

TEST(RunSearch, AStockThatCannotTakePartsIsPassedOver) {
  Problem problem;
  problem.AddStock(10, 10);
  problem.stocks[0].FOffsetOutline->FHeight = 0;  // a degenerate sheet
  problem.AddStock(6, 3);
  problem.AddPart({{3, 3}});
  problem.AddPart({{3, 3}});
  problem.Run(1);
  ASSERT_EQ(problem.solution.FLayouts.Count(), 1);
  EXPECT_EQ(problem.Sheet(0).FStockIndex, 1);
  EXPECT_EQ(problem.Sheet(0).NumberOfPieces(), 2);
  EXPECT_EQ(problem.solution.FStockLayout, (std::vector<int32_t>{2, 0}));
}

TEST(RunSearch, EqualStocksReceiveTheLayoutWhileEqualPartsRemain) {
  Problem problem;
  problem.AddStock(8, 2);
  problem.AddStock(8, 2);
  problem.AddStock(8, 2);
  for (int32_t i = 0; i < 5; ++i) problem.AddPart({{4, 2}});
  problem.Run(1);
  // Stock 0 is searched; stock 1 gets a copy; for stock 2 only one part is
  // left, so the copy is undone and stock 2 is searched on its own.
  ASSERT_EQ(problem.solution.FLayouts.Count(), 3);
  EXPECT_EQ(problem.iterations, 2 * 10);
  EXPECT_EQ(problem.Sheet(1).FStockIndex, 1);
  EXPECT_EQ(problem.Sheet(1).FPieces[0].FPartIndex, 2);
  EXPECT_EQ(problem.Sheet(1).FPieces[1].FPartIndex, 3);
  EXPECT_EQ(problem.Sheet(2).NumberOfPieces(), 1);
  EXPECT_EQ(problem.Sheet(2).FPieces[0].FPartIndex, 4);
  EXPECT_EQ(problem.solution.FPartStock, (std::vector<int32_t>{0, 0, 1, 1, 2}));
  EXPECT_EQ(problem.solution.FTotalNumberOfUtilizedDemandPieces, 5);
}

// The pieces of every layout, as comparable values.
std::vector<std::vector<double>> Fingerprint(const solutie& solution) {
  std::vector<std::vector<double>> result;
  for (int32_t s = 0; s < solution.FLayouts.Count(); ++s) {
    const Chromosome& layout = *solution.FLayouts.ItemAt(s);
    for (const TPiece_any& piece : layout.FPieces) {
      result.push_back({static_cast<double>(layout.FStockIndex),
                        static_cast<double>(piece.FPartIndex),
                        static_cast<double>(piece.FRotationIndex), piece.FGridPosition.X,
                        piece.FGridPosition.Y, piece.FPosition.X, piece.FPosition.Y});
    }
  }
  return result;
}

Problem& MixedProblem(Problem& problem, int32_t seed) {
  problem.seed = seed;
  problem.AddStock(12, 9);
  problem.AddStock(12, 9);
  problem.AddPart({{5, 3}, {3, 5}});
  problem.AddPart({{5, 3}, {3, 5}});
  problem.AddPart({{4, 4}}, 1);
  problem.AddPart({{6, 2}, {2, 6}}, 1);
  problem.AddPart({{2, 3}, {3, 2}}, 1);
  problem.AddPart({{7, 1}, {1, 7}}, 2);
  problem.AddPart({{3, 3}}, 2);
  problem.AddPart({{2, 5}, {5, 2}}, 2);
  return problem;
}

TEST(RunSearch, TheSameSeedGivesTheSameLayouts) {
  for (const int32_t level : {1, 30}) {
    Problem first;
    MixedProblem(first, 17).Run(level);
    Problem second;
    MixedProblem(second, 17).Run(level);
    ASSERT_GT(first.solution.FTotalNumberOfUtilizedDemandPieces, 0) << level;
    EXPECT_EQ(Fingerprint(first.solution), Fingerprint(second.solution)) << level;
    EXPECT_EQ(first.iterations, second.iterations) << level;
    EXPECT_EQ(first.random.State(), second.random.State()) << level;
  }
}

TEST(RunSearch, EveryPartLiesOnOneSheetAtMostAndInsideIt) {
  for (const int32_t seed : {1, 2, 3}) {
    Problem problem;
    MixedProblem(problem, seed).Run(30);
    std::vector<int32_t> seen(problem.parts.size(), 0);
    for (int32_t s = 0; s < problem.solution.FLayouts.Count(); ++s) {
      for (const TPiece_any& piece : problem.Sheet(s).FPieces) {
        ++seen[static_cast<size_t>(piece.FPartIndex)];
        EXPECT_EQ(problem.solution.FPartStock[static_cast<size_t>(piece.FPartIndex)],
                  problem.Sheet(s).FStockIndex)
            << "seed " << seed;
        const TPolygon& outline = *piece.FPlacedOutline;
        for (const TPolygonVertex& v : outline.FVertices) {
          EXPECT_GE(v.X, -1e-9) << "seed " << seed;
          EXPECT_LE(v.X, 12 + 1e-9) << "seed " << seed;
          EXPECT_GE(v.Y, -1e-9) << "seed " << seed;
          EXPECT_LE(v.Y, 9 + 1e-9) << "seed " << seed;
        }
      }
    }
    for (size_t p = 0; p < seen.size(); ++p) EXPECT_LE(seen[p], 1) << "seed " << seed;
  }
}

}  // namespace
}  // namespace varnest
