#include "varnest/search/genetic_search.h"

#include <algorithm>
#include <span>
#include <vector>

#include "varnest/geometry/fuzzy.h"
#include "varnest/model/equality.h"
#include "varnest/model/part_preparation.h"
#include "varnest/model/stock_preparation.h"
#include "varnest/search/placement.h"

namespace varnest {

namespace {

bool StopRequested(const TSearchContext& context) { return context.FStopRequested != 0; }

bool StockSearchEnds(const TSearchContext& context) {
  return context.FStopRequested != 0 || context.FSearchDone != 0;
}

// Breeds the population of one stock and leaves its best layout in best.
void SearchStock(TSearchContext& context, const stock2d_any& stock, ChromosomeDemandNested& best) {
  const part2d_array_any& parts = context.FParts;
  const std::span<const int32_t> candidates(context.FCandidates.FIndices);
  const std::span<const int32_t> groupEnds(context.FGroupEnds);
  const bool allCircles = context.FCandidates.FAllCircles;
  const bool noTurning = context.FCandidates.FNoTurning;
  const double precision = context.Settings.Precision;
  const int32_t level = std::max(context.Settings.OptimizationLevel, 1);
  const int32_t size = PopulationSize(level);

  // All memory of the stock's search is allocated here, none in the
  // generations: children live in fixed slots, the working copy is reused.
  std::vector<ChromosomeDemandNested> population(static_cast<size_t>(size));
  for (ChromosomeDemandNested& member : population) member.Init(parts, candidates);
  best.Init(parts, candidates);
  ChromosomeDemandNested working;
  working.Init(parts, candidates);
  const auto at = [&](int32_t position) -> ChromosomeDemandNested& {
    return population[static_cast<size_t>(position)];
  };

  // The first generation: duplicate seeds are copied, not decoded.
  int32_t lastMember = level - 1;
  for (int32_t j = 0; j < level; ++j) {
    at(j).InitialiseGenes(parts, j, candidates, groupEnds, context.FRandom, precision);
    int32_t twin = -1;
    for (int32_t k = 0; k < j && twin < 0; ++k) {
      if (SameGenes(at(k), at(j))) twin = k;
    }
    if (twin >= 0) {
      Assign(at(j), at(twin));
    } else {
      Decode(context, at(j), stock);
    }
    context.CallOnIteration();
    if (StockSearchEnds(context)) {
      lastMember = j;
      break;
    }
  }
  int32_t b = 0;
  for (int32_t k = 1; k <= lastMember; ++k) {
    if (IsBetter(at(k), at(b), precision)) b = k;
  }
  Assign(best, at(b));
  context.FImproved = 0;
  int32_t withoutImprovement = 0;

  for (;;) {
    context.CallOnIteration();
    if (StockSearchEnds(context)) break;
    int32_t last = size - 1;
    for (int32_t i = 0; i < level; ++i) {
      if (i <= kLastFixedSeed) {
        // A fixed seed keeps its genes; it only takes a flipped rule that
        // gives a strictly better layout.
        Assign(working, at(i));
        working.Mutate(i, allCircles, noTurning, groupEnds, context.FRandom);
        Decode(context, working, stock);
        if (IsBetter(working, at(i), precision)) Assign(at(i), working);
      } else {
        ChromosomeDemandNested& child = at(level + i - kLastFixedSeed);
        Assign(child, at(i));
        child.Mutate(i, allCircles, noTurning, groupEnds, context.FRandom);
        Decode(context, child, stock);
      }
      context.CallOnIteration();
      if (StopRequested(context)) {
        last = i;
        break;
      }
    }
    // Members from 26 on compete by rank, children against parents; the
    // best of them become the next parents.
    if (last > kLastFixedSeed) SortByPlacedArea(population, kLastFixedSeed, last, precision);
    b = std::min(last, kLastFixedSeed);
    for (int32_t k = b - 1; k >= 0; --k) {
      if (IsBetter(at(k), at(b), precision)) b = k;
    }
    if (IsBetter(at(b), best, precision)) {
      context.FImproved = 1;
      Assign(best, at(b));
      withoutImprovement = 0;
    } else {
      context.FImproved = 0;
      if (++withoutImprovement == kGenerationsWithoutImprovement) {
        context.FSearchDone = 1;
        withoutImprovement = 0;
      }
    }
  }
}

}  // namespace

int32_t PopulationSize(int32_t level) {
  const int32_t l = std::max(level, 1);
  return l <= kLastFixedSeed ? l : 2 * l - kLastFixedSeed;
}

double EstimatePopulationBytes(const part2d_array_any& parts, int32_t level) {
  double genes = 0.0;
  double maskBytes = 0.0;
  for (const part2d_any& part : parts) {
    if (!IsNestable(part)) continue;
    genes += 1.0;
    maskBytes += static_cast<double>(part.FNumberOfRotations) * (1 + part.MirrorCount());
  }
  // The population, the best layout and the working copy.
  const double members = PopulationSize(level) + 2.0;
  return members * (sizeof(ChromosomeDemandNested) + genes * kGeneBytes + maskBytes);
}

void SelectCandidates(TSearchContext& context, int32_t r) {
  TCandidateList& list = context.FCandidates;
  list.FIndices.clear();
  list.FAllCircles = true;
  list.FNoTurning = true;
  const part2d_array_any& parts = context.FParts;
  const std::vector<int32_t>& order = context.FPartOrder;
  const solutie& solution = context.FSolution;
  const stock2d_any& stock =
      context.FStocks[static_cast<size_t>(context.FStockOrder[static_cast<size_t>(r)])];
  const auto partAt = [&](size_t i) -> const part2d_any& {
    return parts[static_cast<size_t>(order[i])];
  };
  // Parts excluded from the run (no kept rotation, no grids) are never
  // offered; like placed parts they neither open a scan nor join one.
  const auto available = [&](const part2d_any& part) {
    return IsNestable(part) && part.FIndex >= 0 && part.FIndex < solution.FNumberOfParts &&
           !solution.IsPlaced(part.FIndex);
  };

  for (size_t i = 0; i < order.size(); ++i) {
    const part2d_any& opening = partAt(i);
    if (!available(opening)) continue;
    // Only the part that opens a scan decides the flags, fit or not.
    if (opening.IsPolygon()) list.FAllCircles = false;
    if (opening.FNumberOfRotations > 1) list.FNoTurning = false;
    // Every run of equal parts has its own area budget.
    double sum = 0.0;
    for (;;) {
      const part2d_any& part = partAt(i);
      if (available(part) &&
          FuzzyCompare(sum + part.FArea, stock.FArea, context.Settings.Precision) <= 0) {
        list.FIndices.push_back(part.FIndex);
        sum += part.FArea;
      }
      if (i + 1 >= order.size() || context.FPartEqualsPrevious[i + 1] == 0) {
        break;
      }
      ++i;
    }
  }
}

void BuildPriorityGroups(TSearchContext& context) {
  std::vector<int32_t>& ends = context.FGroupEnds;
  ends.clear();
  const std::vector<int32_t>& candidates = context.FCandidates.FIndices;
  for (size_t i = 0; i < candidates.size(); ++i) {
    const int32_t priority = context.FParts[static_cast<size_t>(candidates[i])].FPriority;
    const bool last = i + 1 == candidates.size();
    if (last || context.FParts[static_cast<size_t>(candidates[i + 1])].FPriority != priority) {
      ends.push_back(static_cast<int32_t>(i));
    }
  }
}

void Decode(TSearchContext& context, ChromosomeDemandNested& chromosome, const stock2d_any& stock,
            TSearchLayout& layout) {
  layout.ClearPlacements();
  BeginStockLayout(context, stock);
  const std::vector<int32_t>& candidates = context.FCandidates.FIndices;
  const int32_t n = chromosome.NumberOfGenes();
  std::vector<uint8_t>& placed = context.FPlacedFlags;
  placed.assign(static_cast<size_t>(n), 0);  // capacity is kept between decodings
  for (const int32_t pass : {1, 0}) {
    context.FPlacementPass = pass;
    if (layout.FNumberOfPlacedPieces >= n) continue;
    for (int32_t i = 0; i < n; ++i) {
      if (placed[static_cast<size_t>(i)] != 0) continue;
      const int32_t gene = chromosome.FOrder[static_cast<size_t>(i)];
      const int32_t partIndex = candidates[static_cast<size_t>(gene)];
      placed[static_cast<size_t>(i)] =
          PlacePart(context, context.FParts[static_cast<size_t>(partIndex)], partIndex,
                    chromosome.Mask(gene), chromosome.FPlacementRule, layout)
              ? 1
              : 0;
    }
  }
  chromosome.FNumberOfPlacedPieces = layout.FNumberOfPlacedPieces;
  chromosome.FPlacedArea = layout.FPlacedArea;
}

void Decode(TSearchContext& context, ChromosomeDemandNested& chromosome, const stock2d_any& stock) {
  Decode(context, chromosome, stock, context.FLayout);
}

void RunSearch(TSearchContext& context) {
  context.FRandom.SeedRandom(static_cast<uint32_t>(context.RandomSeed));
  solutie& solution = context.FSolution;
  const int32_t stocks = static_cast<int32_t>(context.FStockOrder.size());
  int32_t r = 0;
  while (solution.FTotalNumberOfUtilizedDemandPieces < solution.FNumberOfParts && r < stocks &&
         solution.FLayouts.Count() < stocks && (r == 0 || !StopRequested(context))) {
    const int32_t stockIndex = context.FStockOrder[static_cast<size_t>(r)];
    const stock2d_any& stock = context.FStocks[static_cast<size_t>(stockIndex)];
    // A stock that cannot take parts at all is passed over; the next one may.
    if (!IsUsableStock(stock)) {
      ++r;
      continue;
    }
    context.FSearchDone = 0;
    SelectCandidates(context, r);
    if (context.FCandidates.Count() == 0) break;  // later stocks are not tried
    BuildPriorityGroups(context);

    ChromosomeDemandNested best;
    SearchStock(context, stock, best);
    // Members keep no layouts: the one to commit is decoded once more.
    const bool commit = best.FPlacedArea > 0.0;
    if (commit) Decode(context, best, stock, context.FLayout);
    context.FCandidates.FIndices.clear();
    context.FGroupEnds.clear();

    if (commit) {
      const int32_t layoutPosition = solution.FLayouts.Count();
      solution.CommitLayout(context.FLayout, stockIndex, context.FParts, context.FStocks,
                            context.Settings);
      int32_t equal = 0;
      while (r + equal + 1 < stocks &&
             SameStock(context.FStocks[static_cast<size_t>(
                           context.FStockOrder[static_cast<size_t>(r + equal + 1)])],
                       stock, context.Settings.Precision)) {
        ++equal;
      }
      if (equal > 0) {
        r += solution.RepeatLayout(layoutPosition, r, equal + 1, context.FStockOrder,
                                   context.FParts, context.Settings) -
             1;
      }
    }
    ++r;
  }
}

}  // namespace varnest
