#pragma once
// The genetic search: fills the stocks one after another.
//
// For each stock in the stock order the search selects the unplaced parts
// that may go on it, breeds a population of chromosomes whose decoding lays
// them out with the placement, keeps the best layout, stops after four
// generations without improvement (or when asked to), commits the best
// layout to the solution and repeats it on the following equal stocks.

#include <cstdint>

#include "varnest/model/stock.h"
#include "varnest/search/chromosome.h"
#include "varnest/search/search_context.h"

namespace varnest {

// Generations in a row without improvement after which a stock is done.
inline constexpr int32_t kGenerationsWithoutImprovement = 4;

// The population of an optimisation level L (values below 1 count as 1): L
// members up to 26, else 2L - 26 (the parents 0 .. L - 1, and a child slot for
// every parent beyond the fixed seeds).
int32_t PopulationSize(int32_t level);

// An upper bound on the bytes that the population of a stock's search takes
// at the given level: every nestable part may be a candidate. A double, so
// that no absurd count overflows.
double EstimatePopulationBytes(const part2d_array_any& parts, int32_t level);

// The whole search. Seeds the random source with the context's RandomSeed;
// the results are in the solution.
void RunSearch(TSearchContext& context);

// Fills context.FCandidates for the stock at position r of the stock order:
// every run of consecutive equal parts offers those of its unplaced,
// nestable parts that fit the stock's area by their own running sum.
void SelectCandidates(TSearchContext& context, int32_t r);

// Splits the candidates into runs of equal priority (context.FGroupEnds).
void BuildPriorityGroups(TSearchContext& context);

// Lays the chromosome's candidates out on the stock, into layout: preferred
// orientations first, in chromosome order, then the remaining orientations of
// the parts still unplaced. The chromosome takes the layout's fitness. The
// result depends on the genes alone, so decoding them again gives the same
// layout.
void Decode(TSearchContext& context, ChromosomeDemandNested& chromosome, const stock2d_any& stock,
            TSearchLayout& layout);
// The same into the context's working layout.
void Decode(TSearchContext& context, ChromosomeDemandNested& chromosome, const stock2d_any& stock);

}  // namespace varnest
