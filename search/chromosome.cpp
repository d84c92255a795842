#include "varnest/search/chromosome.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "varnest/geometry/fuzzy.h"
#include "varnest/model/ordering.h"

namespace varnest {

namespace {

// The filled entries of a part's orientation table.
int32_t OrientationCount(const part2d_any& part) {
  const int32_t allocated = static_cast<int32_t>(part.FOrientations.size());
  return std::clamp(part.FNumberOfOrientations, 0, allocated);
}

const part2d_any& CandidatePart(const part2d_array_any& parts, std::span<const int32_t> candidates,
                                size_t gene) {
  return parts[static_cast<size_t>(candidates[gene])];
}

// The number of mask bytes of a part: one per rotation and mirror image.
size_t MaskLengthOf(const part2d_any& part) {
  const int32_t rotations = std::max(part.FNumberOfRotations, 0);
  return static_cast<size_t>(rotations) * static_cast<size_t>(part.MirrorCount() + 1);
}

double OrientationAngle(const part2d_any& part, int32_t orientation) {
  const int32_t rotation = part.FOrientations[static_cast<size_t>(orientation)].RotationIndex;
  if (rotation < 0 || static_cast<size_t>(rotation) >= part.FRotationMultiples.size()) return 0.0;
  return part.FRotationMultiples[static_cast<size_t>(rotation)] * part.FRotationStep;
}

int32_t FirstOrientationOfRotation(const part2d_any& part, int32_t rotation) {
  const int32_t count = OrientationCount(part);
  for (int32_t i = 0; i < count; ++i) {
    if (part.FOrientations[static_cast<size_t>(i)].RotationIndex == rotation) return i;
  }
  return rotation;
}

template <typename TExtent>
int32_t MinExtentOrientation(const part2d_any& part, double precision, TExtent extent) {
  int32_t best = 0;
  if (part.IsPolygon()) {
    const int32_t count =
        std::min(part.FNumberOfRotations, static_cast<int32_t>(part.FRotatedOutlines.size()));
    for (int32_t k = 1; k < count; ++k) {
      if (FuzzyCompare(extent(part.FRotatedOutlines[static_cast<size_t>(k)]),
                       extent(part.FRotatedOutlines[static_cast<size_t>(best)]), precision) == -1) {
        best = k;
      }
    }
  }
  return FirstOrientationOfRotation(part, best);
}

// Entry o + 1 is the mirror image of o when it turns the same rotation.
bool IsMirrorOf(const part2d_any& part, int32_t mirror, int32_t orientation) {
  if (mirror >= OrientationCount(part)) return false;
  const TPartOrientation& candidate = part.FOrientations[static_cast<size_t>(mirror)];
  return candidate.Mirrored == 1 &&
         candidate.RotationIndex ==
             part.FOrientations[static_cast<size_t>(orientation)].RotationIndex;
}

void Mark(std::span<uint8_t> mask, const part2d_any& part, int32_t orientation, bool withMirror) {
  if (orientation < 0) return;
  if (static_cast<size_t>(orientation) < mask.size()) mask[static_cast<size_t>(orientation)] = 1;
  if (withMirror && IsMirrorOf(part, orientation + 1, orientation) &&
      static_cast<size_t>(orientation + 1) < mask.size()) {
    mask[static_cast<size_t>(orientation + 1)] = 1;
  }
}

}  // namespace

int32_t MinHeightOrientation(const part2d_any& part, double precision) {
  return MinExtentOrientation(part, precision, [](const TPolygon& p) { return p.FHeight; });
}

int32_t MinWidthOrientation(const part2d_any& part, double precision) {
  return MinExtentOrientation(part, precision, [](const TPolygon& p) { return p.FWidth; });
}

int32_t OrientationTurnedBy(const part2d_any& part, int32_t p, double angle, double precision) {
  const int32_t count = OrientationCount(part);
  if (p < 0 || p >= count) return -1;
  const double target = OrientationAngle(part, p) + angle;
  for (int32_t i = p + 1; i < count; ++i) {
    const int comparison = FuzzyCompare(target, OrientationAngle(part, i), precision);
    if (comparison == 0) return i;
    if (comparison == -1) return -1;  // the angles only grow from here
  }
  return -1;
}

void ChromosomeDemandNested::Init(const part2d_array_any& parts,
                                  std::span<const int32_t> candidates) {
  const size_t n = candidates.size();
  if (n == 0) return;
  FOrder.resize(n);
  std::iota(FOrder.begin(), FOrder.end(), 0);
  FMaskStarts.resize(n + 1);
  size_t length = 0;
  for (size_t g = 0; g < n; ++g) {
    FMaskStarts[g] = static_cast<int32_t>(length);
    length += MaskLengthOf(CandidatePart(parts, candidates, g));
  }
  FMaskStarts[n] = static_cast<int32_t>(length);
  FMaskBytes.assign(length, 0);
  ClearPlacements();
}

void ChromosomeDemandNested::InitialiseGenes(const part2d_array_any& parts, int32_t index,
                                             std::span<const int32_t> candidates,
                                             std::span<const int32_t> groupEnds,
                                             TRandomSource& random, double precision) {
  if (index <= kLastFixedSeed) {
    std::iota(FOrder.begin(), FOrder.end(), 0);
    SetOrientationMasks(parts, index % kNumberOfMaskModes, candidates, random, precision);
    FPlacementRule = index >= kNumberOfMaskModes ? kLowestTop : kLowestBase;
    return;
  }
  ShuffleWithinGroups(FOrder, NumberOfGenes(), groupEnds, static_cast<int32_t>(groupEnds.size()),
                      random);
  SetOrientationMasks(parts, kRandomMaskMode, candidates, random, precision);
  FPlacementRule = static_cast<uint8_t>(random.NextRandom() % 2);
}

void ChromosomeDemandNested::SetOrientationMasks(const part2d_array_any& parts, int32_t mode,
                                                 std::span<const int32_t> candidates,
                                                 TRandomSource& random, double precision) {
  const size_t n = std::min(candidates.size(), FOrder.size());
  for (size_t g = 0; g < n; ++g) {
    const part2d_any& part = CandidatePart(parts, candidates, g);
    const std::span<uint8_t> mask = Mask(static_cast<int32_t>(g));
    const int32_t count = std::min(OrientationCount(part), static_cast<int32_t>(mask.size()));
    // Odd modes up to 11 add the mirror image of everything they mark.
    const bool withMirror = mode % 2 == 1;
    if (mode >= 0 && mode <= 11) std::fill(mask.begin(), mask.end(), uint8_t{0});
    switch (mode) {
      case 0:
      case 1:
        Mark(mask, part, MinHeightOrientation(part, precision), withMirror);
        break;
      case 2:
      case 3:
        Mark(mask, part, MinWidthOrientation(part, precision), withMirror);
        break;
      case 4:
      case 5:
      case 6:
      case 7: {
        const int32_t p = mode <= 5 ? MinHeightOrientation(part, precision)
                                    : MinWidthOrientation(part, precision);
        Mark(mask, part, p, withMirror);
        const int32_t opposite = OrientationTurnedBy(part, p, 180.0, precision);
        if (opposite != -1) Mark(mask, part, opposite, withMirror);
        break;
      }
      case 8:
      case 9:
      case 10:
      case 11: {
        int32_t p = mode <= 9 ? MinHeightOrientation(part, precision)
                              : MinWidthOrientation(part, precision);
        Mark(mask, part, p, withMirror);
        for (double turn = 90.0; FuzzyCompare(turn, 360.0, precision) == -1; turn += 90.0) {
          p = OrientationTurnedBy(part, p, 90.0, precision);
          if (p == -1) break;
          Mark(mask, part, p, withMirror);
        }
        break;
      }
      case 12:
        for (int32_t o = 0; o < count; ++o) {
          mask[static_cast<size_t>(o)] =
              part.FOrientations[static_cast<size_t>(o)].Mirrored == 0 ? 1 : 0;
        }
        break;
      case 13:
        for (int32_t o = 0; o < count; ++o) mask[static_cast<size_t>(o)] = 1;
        break;
      case kRandomMaskMode:
        for (uint8_t& byte : mask) byte = static_cast<uint8_t>(random.NextRandom() % 2);
        break;
      default:
        break;
    }
  }
}

void ChromosomeDemandNested::Mutate(int32_t index, bool allCircles, bool noTurning,
                                    std::span<const int32_t> groupEnds, TRandomSource& random) {
  const int32_t n = NumberOfGenes();
  if (index > kLastFixedSeed) {
    const int32_t rounds = static_cast<int32_t>(n * kMutationShare);
    const int32_t groups = static_cast<int32_t>(groupEnds.size());
    for (int32_t round = 0; round < rounds; ++round) {
      // Every draw is made even where an inconsistent input leaves nothing to
      // draw for, so the sequence of the random source stays the same.
      const int32_t groupDraw = random.NextRandom();
      int32_t first = 0;
      int32_t size = 0;
      if (groups > 0) {
        const int32_t g = groupDraw % groups;
        first = g == 0 ? 0 : groupEnds[static_cast<size_t>(g - 1)] + 1;
        size = groupEnds[static_cast<size_t>(g)] - first + 1;
      }
      const int32_t uDraw = random.NextRandom();
      const int32_t vDraw = random.NextRandom();
      if (size > 0) {
        const int32_t u = first + uDraw % size;
        const int32_t v = first + vDraw % size;
        if (u >= 0 && v >= 0 && u < n && v < n) {
          std::swap(FOrder[static_cast<size_t>(u)], FOrder[static_cast<size_t>(v)]);
        }
      }
      random.NextRandom();  // drawn and not used, as the search always has
      const int32_t k = random.NextRandom() % n;
      const int32_t oDraw = random.NextRandom();
      const std::span<uint8_t> mask = Mask(k);
      if (!mask.empty()) {
        uint8_t& byte = mask[static_cast<size_t>(oDraw) % mask.size()];
        byte = static_cast<uint8_t>(1 - byte);
      }
    }
  }
  if (!allCircles && !noTurning) {
    if (random.NextProbability() < kRuleFlipChance) {
      FPlacementRule = static_cast<uint8_t>(1 - FPlacementRule);
    }
  }
}

bool SameGenes(const ChromosomeDemandNested& a, const ChromosomeDemandNested& b) {
  return a.FPlacementRule == b.FPlacementRule && a.FMaskBytes == b.FMaskBytes;
}

void Assign(ChromosomeDemandNested& target, const ChromosomeDemandNested& source) {
  if (&target == &source) return;
  target.FOrder = source.FOrder;
  target.FMaskBytes = source.FMaskBytes;  // laid out alike: Init saw the same candidates
  target.FPlacedArea = source.FPlacedArea;
  target.FNumberOfPlacedPieces = source.FNumberOfPlacedPieces;
  target.FPlacementRule = source.FPlacementRule;
}

void Swap(ChromosomeDemandNested& a, ChromosomeDemandNested& b) {
  using std::swap;
  swap(a.FPlacementRule, b.FPlacementRule);
  swap(a.FOrder, b.FOrder);
  swap(a.FNumberOfPlacedPieces, b.FNumberOfPlacedPieces);
  swap(a.FMaskBytes, b.FMaskBytes);
  swap(a.FMaskStarts, b.FMaskStarts);
  swap(a.FPlacedArea, b.FPlacedArea);
}

bool IsBetter(const TFitness& a, const TFitness& b, double tolerance) {
  if (b.FNumberOfPlacedPieces == 0 && a.FNumberOfPlacedPieces > 0) return true;
  if (a.FNumberOfPlacedPieces == 0) return false;
  return FuzzyCompare(a.FPlacedArea, b.FPlacedArea, tolerance) == 1;
}

void SortByPlacedArea(std::vector<ChromosomeDemandNested>& population, int32_t first, int32_t last,
                      double tolerance) {
  if (first < 0 || last >= static_cast<int32_t>(population.size()) || first >= last) return;
  const ChromosomeDemandNested& pivot = population[static_cast<size_t>((first + last) / 2)];
  const int32_t pivotCount = pivot.FNumberOfPlacedPieces;
  const double pivotArea = pivot.FPlacedArea;
  // 1 for members that rank before the pivot, -1 for those after it.
  const auto compare = [&](int32_t position) {
    const ChromosomeDemandNested& x = population[static_cast<size_t>(position)];
    if (pivotCount == 0) return x.FNumberOfPlacedPieces > 0 ? 1 : 0;
    if (x.FNumberOfPlacedPieces == 0) return -1;
    return FuzzyCompare(x.FPlacedArea, pivotArea, tolerance);
  };
  int32_t i = first;
  int32_t j = last;
  do {
    while (i < last && compare(i) == 1) ++i;
    while (j > first && compare(j) == -1) --j;
    if (j > i) {
      Swap(population[static_cast<size_t>(i)], population[static_cast<size_t>(j)]);
      ++i;
      --j;
    } else if (j == i) {
      ++i;
      --j;
    }
  } while (j >= i);
  if (j > first) SortByPlacedArea(population, first, j, tolerance);
  if (i < last) SortByPlacedArea(population, i, last, tolerance);
}

}  // namespace varnest
