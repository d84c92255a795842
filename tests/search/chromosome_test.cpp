#include "varnest/search/chromosome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "search_fixture.h"
#include "varnest/search/genetic_search.h"

namespace varnest {
namespace {

using testing::BoxPart;
using Mask = std::vector<uint8_t>;

// A part with four kept rotations (0, 90, 180, 270 degrees), each followed by
// its mirror image: orientations r0, r0m, r1, r1m, r2, r2m, r3, r3m. Its
// lowest rotation is 0 (tied by 2, which loses the tie) and its narrowest
// rotation is 1 (tied by 3).
part2d_any TurningPart(int32_t index = 0) {
  part2d_any part = BoxPart(index, {{10, 6}, {5, 10}, {10, 6}, {5, 10}}, 0);
  part.FAllowMirror = 1;
  part.FOrientations.clear();
  for (int32_t k = 0; k < 4; ++k) {
    part.FOrientations.push_back({k, 2 * k, 0});
    part.FOrientations.push_back({k, 2 * k + 1, 1});
  }
  part.FNumberOfOrientations = 8;
  return part;
}

part2d_any CirclePart(int32_t index) {
  part2d_any part = BoxPart(index, {{4, 4}}, 0);
  part.FShapeType = kShapeCircle;
  return part;
}

Mask Marked(std::initializer_list<int> orientations) {
  Mask mask(8, 0);
  for (const int o : orientations) mask[static_cast<size_t>(o)] = 1;
  return mask;
}

Mask MaskOf(const ChromosomeDemandNested& chromosome, int32_t gene) {
  const std::span<const uint8_t> mask = chromosome.Mask(gene);
  return Mask(mask.begin(), mask.end());
}

ChromosomeDemandNested Seeded(const part2d_array_any& parts, const std::vector<int32_t>& candidates,
                              int32_t position, TRandomSource& random) {
  ChromosomeDemandNested chromosome;
  chromosome.Init(parts, candidates);
  const std::vector<int32_t> ends{static_cast<int32_t>(candidates.size()) - 1};
  chromosome.InitialiseGenes(parts, position, candidates, ends, random, 1e-6);
  return chromosome;
}

TEST(ChromosomeInit, SizesEveryArrayForTheCandidates) {
  part2d_array_any parts{TurningPart(0), BoxPart(1, {{3, 3}}, 8), CirclePart(2)};
  parts[2].FNumberOfRotations = 3;  // a circle whose holes turn: three rotations
  const std::vector<int32_t> candidates{2, 0, 1};
  ChromosomeDemandNested chromosome;
  chromosome.Init(parts, candidates);
  EXPECT_EQ(chromosome.NumberOfGenes(), 3);
  EXPECT_EQ(chromosome.FOrder, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(chromosome.MaskLength(0), 3);
  EXPECT_EQ(chromosome.MaskLength(1), 8);
  EXPECT_EQ(chromosome.MaskLength(2), 1);
  EXPECT_EQ(chromosome.FNumberOfPlacedPieces, 0);

  ChromosomeDemandNested empty;
  empty.Init(parts, {});
  EXPECT_EQ(empty.NumberOfGenes(), 0);
  EXPECT_TRUE(empty.FMaskBytes.empty());
}

TEST(OrientationLookups, ExtremesKeepTheEarlierRotationOnTies) {
  const part2d_any part = TurningPart();
  EXPECT_EQ(MinHeightOrientation(part, 1e-6), 0);
  EXPECT_EQ(MinWidthOrientation(part, 1e-6), 2);  // rotation 1 is orientation 2
  // A difference within the tolerance is a tie.
  part2d_any nearly = part;
  nearly.FRotatedOutlines[2].FHeight = 6 - 1e-9;
  EXPECT_EQ(MinHeightOrientation(nearly, 1e-6), 0);
  nearly.FRotatedOutlines[2].FHeight = 5.9;
  EXPECT_EQ(MinHeightOrientation(nearly, 1e-6), 4);

  const part2d_any circle = CirclePart(0);
  EXPECT_EQ(MinHeightOrientation(circle, 1e-6), 0);
  EXPECT_EQ(MinWidthOrientation(circle, 1e-6), 0);
}

TEST(OrientationLookups, TurningNeverWrapsPast360) {
  const part2d_any part = TurningPart();
  EXPECT_EQ(OrientationTurnedBy(part, 0, 90, 1e-6), 2);
  EXPECT_EQ(OrientationTurnedBy(part, 1, 180, 1e-6), 4);   // from a mirror: the next match
  EXPECT_EQ(OrientationTurnedBy(part, 6, 180, 1e-6), -1);  // 450 is not 90
  EXPECT_EQ(OrientationTurnedBy(part, 6, 90, 1e-6), -1);   // 360 is not 0
  EXPECT_EQ(OrientationTurnedBy(part, 0, 45, 1e-6), -1);   // passes 0 < 45 < 90: stops
  EXPECT_EQ(OrientationTurnedBy(part, 8, 90, 1e-6), -1);   // no such orientation
}

TEST(InitialiseGenes, TheTwentySevenFixedSeeds) {
  // Marked orientations and rule per mask mode, for TurningPart.
  const Mask expected[14] = {
      Marked({0}),                       // 0: lowest
      Marked({0, 1}),                    // 1: + mirror
      Marked({2}),                       // 2: narrowest
      Marked({2, 3}),                    // 3: + mirror
      Marked({0, 4}),                    // 4: lowest and its half turn
      Marked({0, 1, 4, 5}),              // 5
      Marked({2, 6}),                    // 6: narrowest and its half turn
      Marked({2, 3, 6, 7}),              // 7
      Marked({0, 2, 4, 6}),              // 8: lowest and its quarter turns
      Marked({0, 1, 2, 3, 4, 5, 6, 7}),  // 9
      Marked({2, 4, 6}),                 // 10: from 90 degrees, 360 is not reached
      Marked({2, 3, 4, 5, 6, 7}),        // 11
      Marked({0, 2, 4, 6}),              // 12: every unmirrored orientation
      Marked({0, 1, 2, 3, 4, 5, 6, 7}),  // 13: everything
  };
  const part2d_array_any parts{TurningPart(0), TurningPart(1)};
  const std::vector<int32_t> candidates{0, 1};
  for (int32_t position = 0; position <= 26; ++position) {
    TRandomSource random;
    random.SeedRandom(5);
    const uint32_t before = random.State();
    const ChromosomeDemandNested seed = Seeded(parts, candidates, position, random);
    EXPECT_EQ(random.State(), before) << "fixed seeds draw nothing";
    EXPECT_EQ(seed.FOrder, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(seed.FPlacementRule, position > 13 ? kLowestTop : kLowestBase) << position;
    for (int32_t g = 0; g < 2; ++g) {
      EXPECT_EQ(MaskOf(seed, g), expected[position % 14]) << position;
    }
  }
}

TEST(InitialiseGenes, AMirrorIsMarkedOnlyWhereItExists) {
  // Narrowest rotation 0, mirroring allowed: mode 3 marks 0 and its mirror 1.
  part2d_any part = BoxPart(0, {{2, 6}, {6, 2}}, 0);
  part.FAllowMirror = 1;
  part.FOrientations = {{0, 0, 0}, {0, 1, 1}, {1, 2, 0}, {1, 3, 1}};
  part.FNumberOfOrientations = 4;
  part2d_array_any parts{part};
  TRandomSource random;
  EXPECT_EQ(MaskOf(Seeded(parts, {0}, 3, random), 0), (Mask{1, 1, 0, 0}));
  // Without mirror images, the mirror rows mark the same as the plain ones.
  part2d_array_any plain{BoxPart(0, {{2, 6}, {6, 2}}, 0)};
  EXPECT_EQ(MaskOf(Seeded(plain, {0}, 3, random), 0), (Mask{1, 0}));
  EXPECT_EQ(MaskOf(Seeded(plain, {0}, 0, random), 0), (Mask{0, 1}));
}

// Draws of the generator for seed 1, worked out by hand from its formula
// (state = state * 22695477 + 1, draw = (state >> 16) & 0x7FFF, the first
// draw after seeding discarded): 130, 10982, 1090, 11656, 7117, 17595, 6415,
// 22948, 31126, 9004.
TEST(InitialiseGenes, RandomMembersShuffleThenDrawMasksThenTheRule) {
  part2d_array_any parts{BoxPart(0, {{1, 1}}, 0), BoxPart(1, {{1, 1}}, 1),
                         BoxPart(2, {{1, 1}, {1, 2}, {2, 1}, {2, 2}}, 2)};
  parts[0].FAllowMirror = 1;  // mask lengths 2, 1, 4
  parts[0].FOrientations = {{0, 0, 0}, {0, 1, 1}};
  TRandomSource random;
  random.SeedRandom(1);
  const ChromosomeDemandNested member = Seeded(parts, {0, 1, 2}, 27, random);
  // Shuffle: 130 mod 3 = 1 exchanges positions 1 and 2, 10982 mod 2 = 0
  // positions 0 and 1.
  EXPECT_EQ(member.FOrder, (std::vector<int32_t>{2, 0, 1}));
  // Masks: 1090, 11656 | 7117 | 17595, 6415, 22948, 31126, each mod 2.
  EXPECT_EQ(MaskOf(member, 0), (Mask{0, 0}));
  EXPECT_EQ(MaskOf(member, 1), (Mask{1}));
  EXPECT_EQ(MaskOf(member, 2), (Mask{1, 1, 0, 0}));
  // Rule: 9004 mod 2.
  EXPECT_EQ(member.FPlacementRule, 0);
}

// Draws for seed 5242: 16735, 402, 30135, 9121, 7533, 13297, 19.
TEST(Mutate, OneRoundDrawsGroupPairUnusedGeneOrientationThenTheRule) {
  part2d_array_any parts{BoxPart(0, {{1, 1}, {1, 2}}, 0), BoxPart(1, {{1, 1}, {2, 1}}, 2),
                         BoxPart(2, {{1, 1}}, 4), BoxPart(3, {{1, 1}, {1, 3}, {3, 1}}, 5)};
  const std::vector<int32_t> candidates{0, 1, 2, 3};
  const std::vector<int32_t> groupEnds{1, 3};
  ChromosomeDemandNested chromosome;
  chromosome.Init(parts, candidates);  // identity order, masks all clear
  TRandomSource random;
  random.SeedRandom(5242);
  chromosome.Mutate(30, false, false, groupEnds, random);  // trunc(4 * 0.3) = 1 round
  // Group 16735 mod 2 = 1 spans 2..3; 2 + 402 mod 2 and 2 + 30135 mod 2
  // exchange 2 and 3; 9121 is not used; gene 7533 mod 4 = 1 flips its
  // orientation 13297 mod 2 = 1; 19 / 32767 < 0.001 flips the rule.
  EXPECT_EQ(chromosome.FOrder, (std::vector<int32_t>{0, 1, 3, 2}));
  EXPECT_EQ(MaskOf(chromosome, 0), (Mask{0, 0}));
  EXPECT_EQ(MaskOf(chromosome, 1), (Mask{0, 1}));
  EXPECT_EQ(MaskOf(chromosome, 2), (Mask{0}));
  EXPECT_EQ(MaskOf(chromosome, 3), (Mask{0, 0, 0}));
  EXPECT_EQ(chromosome.FPlacementRule, kLowestTop);
}

TEST(Mutate, FixedSeedsAndSmallCandidateListsChangeAtMostTheRule) {
  part2d_array_any parts;
  std::vector<int32_t> candidates;
  for (int32_t i = 0; i < 10; ++i) {
    parts.push_back(TurningPart(i));
    candidates.push_back(i);
  }
  const std::vector<int32_t> oneGroup{9};
  for (const int32_t seed : {1, 2, 3, 4, 5}) {
    TRandomSource random;
    random.SeedRandom(static_cast<uint32_t>(seed));
    const ChromosomeDemandNested original = Seeded(parts, candidates, 7, random);
    for (const int32_t position : {0, 13, 26}) {
      ChromosomeDemandNested mutated = original;
      TRandomSource expected = random;
      expected.NextRandom();  // the one draw of the rule flip
      mutated.Mutate(position, false, false, oneGroup, random);
      EXPECT_EQ(random.State(), expected.State()) << "seed " << seed;
      EXPECT_EQ(mutated.FOrder, original.FOrder) << "seed " << seed;
      EXPECT_EQ(mutated.FMaskBytes, original.FMaskBytes) << "seed " << seed;
    }
  }

  // Three candidates: trunc(3 * 0.3) = 0 rounds even beyond the seeds.
  const std::vector<int32_t> three{0, 1, 2};
  TRandomSource random;
  random.SeedRandom(3);
  ChromosomeDemandNested small = Seeded(parts, three, 5, random);
  const ChromosomeDemandNested before = small;
  const uint32_t state = random.State();
  small.Mutate(40, false, true, std::vector<int32_t>{2}, random);
  EXPECT_EQ(random.State(), state) << "no-turning: not even the rule draw";
  small.Mutate(40, true, false, std::vector<int32_t>{2}, random);
  EXPECT_EQ(random.State(), state) << "all circles: not even the rule draw";
  EXPECT_EQ(small.FOrder, before.FOrder);
  EXPECT_EQ(small.FMaskBytes, before.FMaskBytes);
}

TEST(Mutate, ReordersOnlyWithinPriorityGroups) {
  part2d_array_any parts;
  std::vector<int32_t> candidates;
  for (int32_t i = 0; i < 12; ++i) {
    parts.push_back(TurningPart(i));
    candidates.push_back(i);
  }
  const std::vector<int32_t> groupEnds{2, 3, 11};  // groups 0..2, 3, 4..11
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    TRandomSource random;
    random.SeedRandom(seed);
    ChromosomeDemandNested chromosome = Seeded(parts, candidates, 0, random);
    for (int32_t step = 0; step < 50; ++step) {
      chromosome.Mutate(27, false, false, groupEnds, random);
    }
    std::vector<int32_t> first(chromosome.FOrder.begin(), chromosome.FOrder.begin() + 3);
    std::sort(first.begin(), first.end());
    EXPECT_EQ(first, (std::vector<int32_t>{0, 1, 2})) << "seed " << seed;
    EXPECT_EQ(chromosome.FOrder[3], 3) << "seed " << seed;
  }
}

TEST(SameGenes, ComparesRuleAndMasksButNotTheOrder) {
  const part2d_array_any parts{TurningPart(0), TurningPart(1)};
  TRandomSource random;
  ChromosomeDemandNested a = Seeded(parts, {0, 1}, 3, random);
  ChromosomeDemandNested b = Seeded(parts, {0, 1}, 3, random);
  b.FOrder = {1, 0};
  EXPECT_TRUE(SameGenes(a, b));
  b.FPlacementRule = kLowestTop;
  EXPECT_FALSE(SameGenes(a, b));
  b.FPlacementRule = a.FPlacementRule;
  b.Mask(1)[7] = 1;
  EXPECT_FALSE(SameGenes(a, b));
  // Modes 9 and 13 mark the same for this part: equal seeds.
  EXPECT_TRUE(SameGenes(Seeded(parts, {0, 1}, 9, random), Seeded(parts, {0, 1}, 13, random)));
}

TEST(AssignAndSwap, CopyGenesAndFitnessExchangeEverything) {
  const part2d_array_any parts{TurningPart(0), TurningPart(1)};
  TRandomSource random;
  ChromosomeDemandNested source = Seeded(parts, {0, 1}, 16, random);
  source.FOrder = {1, 0};
  source.FNumberOfPlacedPieces = 1;
  source.FPlacedArea = 60;

  ChromosomeDemandNested target = Seeded(parts, {0, 1}, 0, random);
  Assign(target, source);
  EXPECT_TRUE(SameGenes(target, source));
  EXPECT_EQ(target.FOrder, source.FOrder);
  EXPECT_EQ(target.FNumberOfPlacedPieces, 1);
  EXPECT_DOUBLE_EQ(target.FPlacedArea, 60);
  Assign(target, target);
  EXPECT_DOUBLE_EQ(target.FPlacedArea, 60);

  ChromosomeDemandNested other = Seeded(parts, {0, 1}, 0, random);
  Swap(other, source);
  EXPECT_EQ(other.FPlacementRule, kLowestTop);
  EXPECT_EQ(other.FNumberOfPlacedPieces, 1);
  EXPECT_EQ(source.FNumberOfPlacedPieces, 0);
  EXPECT_EQ(source.FPlacementRule, kLowestBase);
  EXPECT_EQ(source.FOrder, (std::vector<int32_t>{0, 1}));
}

TSearchLayout Layout(int32_t placed, double area) {
  TSearchLayout layout;
  layout.FNumberOfPlacedPieces = placed;
  layout.FPlacedArea = area;
  return layout;
}

TEST(IsBetter, SomethingBeatsNothingThenStrictlyLargerArea) {
  struct Case {
    TSearchLayout a, b;
    bool better;
  };
  const Case cases[] = {
      {Layout(0, 0), Layout(0, 0), false},
      {Layout(1, 1), Layout(0, 0), true},
      {Layout(1, 0.5), Layout(0, 9), true},  // whatever the areas
      {Layout(0, 9), Layout(1, 1), false},
      {Layout(2, 10), Layout(1, 10), false},         // equal areas keep the holder
      {Layout(1, 10 + 1e-7), Layout(1, 10), false},  // within the tolerance
      {Layout(1, 10.1), Layout(3, 10), true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(IsBetter(cases[i].a, cases[i].b, 1e-6), cases[i].better) << i;
  }
}

TEST(SortByPlacedArea, OrdersARangeByFallingFitness) {
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> area(0, 6);
    std::vector<ChromosomeDemandNested> population(12);
    std::vector<int32_t> untouched;
    for (size_t i = 0; i < population.size(); ++i) {
      const int a = area(generator);
      population[i].FNumberOfPlacedPieces = a == 0 ? 0 : 1;  // 0: placed nothing
      population[i].FPlacedArea = a;
      population[i].FOrder = {static_cast<int32_t>(i)};  // identifies the member
    }
    for (size_t i = 0; i < 3; ++i) untouched.push_back(population[i].FOrder[0]);
    SortByPlacedArea(population, 3, 11, 1e-6);

    std::vector<int32_t> members;
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(population[i].FOrder[0], untouched[i]);
    for (size_t i = 3; i < population.size(); ++i) {
      members.push_back(population[i].FOrder[0]);
      if (i > 3) {
        EXPECT_GE(population[i - 1].FPlacedArea, population[i].FPlacedArea) << "seed " << seed;
      }
    }
    std::sort(members.begin(), members.end());
    EXPECT_EQ(members, (std::vector<int32_t>{3, 4, 5, 6, 7, 8, 9, 10, 11})) << "seed " << seed;
  }
}

TEST(PopulationSize, GrowsByTwoPerLevelBeyondTheFixedSeeds) {
  EXPECT_EQ(PopulationSize(0), 1);
  EXPECT_EQ(PopulationSize(1), 1);
  EXPECT_EQ(PopulationSize(26), 26);
  EXPECT_EQ(PopulationSize(27), 28);
  EXPECT_EQ(PopulationSize(28), 30);
  EXPECT_EQ(PopulationSize(100), 174);
}

}  // namespace
}  // namespace varnest
