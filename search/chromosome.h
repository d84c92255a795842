#pragma once
// ChromosomeDemandNested: one candidate solution for one stock.
//
// A chromosome is the order in which the stock's candidate parts are offered
// to the placement, one orientation mask per candidate (its preferred
// orientations, tried in the first pass; the others are the fallback of the
// second pass) and the placement rule. Decoding fills the inherited layout,
// whose placed area is the fitness. There is no crossover: the population
// evolves by mutation and ranking only.
//
// Chromosomes are reused in place across generations: Assign copies into
// arrays that already have the right sizes and Swap exchanges arrays.

#include <cstdint>
#include <span>
#include <vector>

#include "varnest/geometry/random.h"
#include "varnest/model/part.h"
#include "varnest/search/placement_rule.h"
#include "varnest/search/search_layout.h"

namespace varnest {

// Population positions 0 .. kLastFixedSeed are the fixed seeds: their orders
// and masks never change, only their rule may flip.
inline constexpr int32_t kLastFixedSeed = 26;
// Seeds 0..13 use mask modes 0..13 with LowestBase, 14..26 modes 0..12 with
// LowestTop.
inline constexpr int32_t kNumberOfMaskModes = 14;
// Mask mode of the random members.
inline constexpr int32_t kRandomMaskMode = 14;
// Share of the genes reordered and flipped by one mutation.
inline constexpr double kMutationShare = 0.3;
// Chance that a mutation flips the placement rule.
inline constexpr double kRuleFlipChance = 0.001;

// The bytes one gene takes in a chromosome besides its mask bytes: its place
// in the order and where its mask starts.
inline constexpr double kGeneBytes = 2 * sizeof(int32_t);

// A chromosome holds its genes and the fitness of its last decoding, not the
// layout itself: a population of hundreds of thousands of members could not
// hold a layout each, and decoding is a pure function of the genes, so the
// one layout that is committed is decoded again.
class ChromosomeDemandNested : public TFitness {
 public:
  uint8_t FPlacementRule = 0;  // kLowestBase or kLowestTop
  // A permutation of 0 .. n - 1: the candidates in the order decoding offers
  // them.
  std::vector<int32_t> FOrder;
  // The orientation masks of all candidates, one after another: mask byte o
  // of candidate g, FMaskBytes[FMaskStarts[g] + o], is 1 when orientation o
  // is preferred. A mask is as long as the part's rotations times its mirror
  // images.
  std::vector<uint8_t> FMaskBytes;
  std::vector<int32_t> FMaskStarts;  // n + 1 entries

  int32_t NumberOfGenes() const { return static_cast<int32_t>(FOrder.size()); }
  int32_t MaskLength(int32_t gene) const {
    const size_t g = static_cast<size_t>(gene);
    return FMaskStarts[g + 1] - FMaskStarts[g];
  }
  std::span<uint8_t> Mask(int32_t gene) {
    return {FMaskBytes.data() + FMaskStarts[static_cast<size_t>(gene)],
            static_cast<size_t>(MaskLength(gene))};
  }
  std::span<const uint8_t> Mask(int32_t gene) const {
    return {FMaskBytes.data() + FMaskStarts[static_cast<size_t>(gene)],
            static_cast<size_t>(MaskLength(gene))};
  }

  // Sizes every array for the candidates (n = candidates.size()); nothing
  // when there are none. The order starts as the identity so that even a
  // member that is never seeded is a valid permutation.
  void Init(const part2d_array_any& parts, std::span<const int32_t> candidates);

  // Seeds the chromosome at population position index: the 27 fixed seeds,
  // or a shuffled order with random masks and rule.
  void InitialiseGenes(const part2d_array_any& parts, int32_t index,
                       std::span<const int32_t> candidates, std::span<const int32_t> groupEnds,
                       TRandomSource& random, double precision);

  // Marks the preferred orientations of every candidate by mode (0..14).
  void SetOrientationMasks(const part2d_array_any& parts, int32_t mode,
                           std::span<const int32_t> candidates, TRandomSource& random,
                           double precision);

  // Mutates the chromosome at population position index. Members beyond the
  // fixed seeds get trunc(n * 0.3) rounds of an exchange within a priority
  // group and a mask flip; every member may flip its rule unless the
  // candidates make the rule meaningless (all circles, or no turning).
  void Mutate(int32_t index, bool allCircles, bool noTurning, std::span<const int32_t> groupEnds,
              TRandomSource& random);
};

// Same rule and the same mask bytes for every gene; the order is not compared.
bool SameGenes(const ChromosomeDemandNested& a, const ChromosomeDemandNested& b);

// Copies genes and fitness into a target made by Init for the same
// candidates. Nothing when both are the same.
void Assign(ChromosomeDemandNested& target, const ChromosomeDemandNested& source);

// Exchanges the complete contents of two chromosomes.
void Swap(ChromosomeDemandNested& a, ChromosomeDemandNested& b);

// Whether a is strictly better than b: something placed beats nothing placed,
// otherwise the larger placed area under the tolerance. Equal areas are never
// better, so the earlier holder of a value keeps it.
bool IsBetter(const TFitness& a, const TFitness& b, double tolerance);

// Orders population positions first .. last (inclusive) by falling fitness.
void SortByPlacedArea(std::vector<ChromosomeDemandNested>& population, int32_t first, int32_t last,
                      double tolerance);

// Orientation lookups of the seeding, on one part.
// The first orientation of the kept rotation with the smallest height (a
// later rotation wins only when strictly lower); rotation 0 for a circle. If
// no orientation has that rotation, the rotation index itself.
int32_t MinHeightOrientation(const part2d_any& part, double precision);
// The same with the width.
int32_t MinWidthOrientation(const part2d_any& part, double precision);
// The first orientation after p whose angle is p's angle plus the given one
// (no reduction modulo 360), or -1.
int32_t OrientationTurnedBy(const part2d_any& part, int32_t p, double angle, double precision);

}  // namespace varnest
