#include "varnest/search/solution.h"

#include <gtest/gtest.h>

#include <vector>

#include "search_fixture.h"

namespace varnest {
namespace {

using testing::BoxPart;
using testing::BoxStock;

// Equal square parts with one circular hole each; the parts and their holes
// carry distinct identifiers.
part2d_array_any EqualParts(int32_t count) {
  part2d_array_any parts;
  for (int32_t i = 0; i < count; ++i) {
    part2d_any part = BoxPart(i, {{4, 4}}, 0);
    part.FNumberOfHoles = 1;
    part.FHoles.resize(1);
    part.FHoles[0].FId = 1000 + i;
    part.FHoles[0].FShape.FShapeType = 1;
    part.FHoles[0].FShape.FCircle = TCircle({2, 2}, 1);
    parts.push_back(part);
  }
  return parts;
}

struct Fixture {
  part2d_array_any parts;
  stock2d_array_any stocks;
  std::vector<int32_t> stockOrder;
  solutie solution;

  Fixture(int32_t numberOfParts, int32_t numberOfStocks) : parts(EqualParts(numberOfParts)) {
    for (int32_t s = 0; s < numberOfStocks; ++s) {
      stocks.push_back(BoxStock(s, 20, 20));
      stockOrder.push_back(s);
    }
    solution.FNumberOfParts = numberOfParts;
    solution.FNumberOfStockPieces = numberOfStocks;
    solution.Reset();
  }

  // Commits a layout of the given parts, side by side, on stock 0.
  void Commit(const std::vector<int32_t>& placed) {
    TSearchLayout best;
    for (size_t i = 0; i < placed.size(); ++i) {
      TPiece_any piece;
      piece.FPartIndex = placed[i];
      piece.FRotationIndex = 0;
      piece.FGridPosition = {4.0 * static_cast<double>(i), 0};
      best.FPieces.push_back(piece);
      best.FPlacedArea += parts[static_cast<size_t>(placed[i])].FNetArea;
    }
    best.FNumberOfPlacedPieces = static_cast<int32_t>(placed.size());
    solution.CommitLayout(best, 0, parts, stocks, TRunSettings{});
  }
};

TEST(Solution, ResetLeavesEveryPartUnplacedAndEveryStockUnused) {
  Fixture fixture(3, 2);
  fixture.Commit({0, 1});
  fixture.solution.Reset();
  EXPECT_EQ(fixture.solution.FLayouts.Count(), 0);
  EXPECT_EQ(fixture.solution.FPartStock, (std::vector<int32_t>{2, 2, 2}));
  EXPECT_EQ(fixture.solution.FStockLayout, (std::vector<int32_t>{2, 2}));
}

TEST(Solution, CommitRecordsTheLayoutAndWhereItsPartsLie) {
  Fixture fixture(3, 2);
  fixture.Commit({2, 0});
  const solutie& solution = fixture.solution;
  ASSERT_EQ(solution.FLayouts.Count(), 1);
  const Chromosome& layout = *solution.FLayouts.ItemAt(0);
  EXPECT_EQ(layout.FStockIndex, 0);
  EXPECT_EQ(layout.NumberOfPieces(), 2);
  EXPECT_DOUBLE_EQ(layout.FPlacedArea, 32.0);
  EXPECT_EQ(layout.FPieces[0].FPartId, 102);
  EXPECT_EQ(layout.FPieces[0].FPlacedHoles[0].FId, 1002);
  EXPECT_EQ(solution.FPartStock, (std::vector<int32_t>{0, 2, 0}));
  EXPECT_EQ(solution.FStockLayout, (std::vector<int32_t>{0, 2}));
  EXPECT_EQ(solution.FTotalNumberOfUtilizedDemandPieces, 2);
  EXPECT_EQ(solution.FLayouts.ItemAt(1), nullptr);
}

TEST(Solution, RepeatedLayoutsTakeOverTheIdentitiesOfUnplacedTwins) {
  Fixture fixture(6, 3);
  fixture.Commit({0, 1});
  const int32_t carried =
      fixture.solution.RepeatLayout(0, 0, 3, fixture.stockOrder, fixture.parts, TRunSettings{});
  const solutie& solution = fixture.solution;
  EXPECT_EQ(carried, 3);
  ASSERT_EQ(solution.FLayouts.Count(), 3);
  EXPECT_EQ(solution.FTotalNumberOfUtilizedDemandPieces, 6);
  EXPECT_EQ(solution.FPartStock, (std::vector<int32_t>{0, 0, 1, 1, 2, 2}));
  EXPECT_EQ(solution.FStockLayout, (std::vector<int32_t>{0, 1, 2}));
  const Chromosome& first = *solution.FLayouts.ItemAt(0);
  for (int32_t sheet = 1; sheet < 3; ++sheet) {
    const Chromosome& copy = *solution.FLayouts.ItemAt(sheet);
    EXPECT_EQ(copy.FStockIndex, sheet);
    for (int32_t j = 0; j < 2; ++j) {
      const TPiece_any& piece = copy.FPieces[static_cast<size_t>(j)];
      const int32_t part = 2 * sheet + j;
      EXPECT_EQ(piece.FPartIndex, part);
      EXPECT_EQ(piece.FPartId, 100 + part);
      EXPECT_EQ(piece.FPlacedHoles[0].FId, 1000 + part);
      // Same geometry as the piece it was copied from.
      EXPECT_EQ(piece.FPosition.X, first.FPieces[static_cast<size_t>(j)].FPosition.X);
      EXPECT_EQ(piece.FPlacedOutline->FVertices[2].Y,
                first.FPieces[static_cast<size_t>(j)].FPlacedOutline->FVertices[2].Y);
    }
  }
  // The original keeps its own identities.
  EXPECT_EQ(first.FPieces[1].FPartId, 101);
  EXPECT_EQ(first.FPieces[1].FPlacedHoles[0].FId, 1001);
}

TEST(Solution, ARepetitionThatRunsOutOfPartsIsUndone) {
  Fixture fixture(5, 3);
  fixture.Commit({0, 1, 2});  // only parts 3 and 4 remain for the next stock
  const int32_t carried =
      fixture.solution.RepeatLayout(0, 0, 3, fixture.stockOrder, fixture.parts, TRunSettings{});
  const solutie& solution = fixture.solution;
  EXPECT_EQ(carried, 1);
  EXPECT_EQ(solution.FLayouts.Count(), 1);
  EXPECT_EQ(solution.FTotalNumberOfUtilizedDemandPieces, 3);
  EXPECT_EQ(solution.FPartStock, (std::vector<int32_t>{0, 0, 0, 3, 3}));
  EXPECT_EQ(solution.FStockLayout, (std::vector<int32_t>{0, 3, 3}));
}

TEST(Solution, OnlyEqualPartsTakeOverAPiece) {
  Fixture fixture(4, 2);
  fixture.parts[1].FOutline->FVertices[2].X = 5;  // part 1 differs
  fixture.Commit({0});
  EXPECT_EQ(
      fixture.solution.RepeatLayout(0, 0, 2, fixture.stockOrder, fixture.parts, TRunSettings{}), 2);
  EXPECT_EQ(fixture.solution.FLayouts.ItemAt(1)->FPieces[0].FPartIndex, 2);
}

TEST(Solution, ReleaseEmptiesTheRecord) {
  Fixture fixture(2, 1);
  fixture.Commit({0});
  fixture.solution.FOptimizationTime = 2.5;
  fixture.solution.Release();
  EXPECT_EQ(fixture.solution.FLayouts.Count(), 0);
  EXPECT_TRUE(fixture.solution.FPartStock.empty());
  EXPECT_EQ(fixture.solution.FNumberOfParts, 0);
  EXPECT_EQ(fixture.solution.FTotalNumberOfUtilizedDemandPieces, 0);
  EXPECT_EQ(fixture.solution.FOptimizationTime, 0.0);
}

TEST(LayoutList, IndicesPastTheEndNeitherAnswerNorDelete) {
  TLista list;
  EXPECT_EQ(list.ItemAt(0), nullptr);
  Chromosome a;
  a.FStockIndex = 4;
  list.Append(a);
  list.DeleteAt(1);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.ItemAt(0)->FStockIndex, 4);
  EXPECT_EQ(list.ItemAt(1), nullptr);
  list.DeleteAt(0);
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace varnest
