#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "varnest/model/ordering.h"

namespace varnest {
namespace {

constexpr double kPrecision = 1e-6;

// A polygon part whose defined box has the given area (width area, height 1).
part2d_any PartWithBox(int32_t priority, double area, uint8_t kind = kShapePolygon) {
  part2d_any part;
  part.FShapeType = kind;
  part.FPriority = priority;
  if (kind == kShapeCircle) {
    part.FCircle = TCircle({0, 0}, 1);
    part.FCircle->FWidth = area;
    part.FCircle->FHeight = 1;
  } else {
    part.FOutline = TPolygon(3);
    part.FOutline->FWidth = area;
    part.FOutline->FHeight = 1;
  }
  return part;
}

std::vector<int32_t> Order(const part2d_array_any& parts, double precision = kPrecision) {
  std::vector<int32_t> stockOrder, partOrder;
  BuildProcessingOrder({}, parts, stockOrder, partOrder, precision);
  return partOrder;
}

TEST(BuildProcessingOrder, PrioritiesThenLargerBoxesThenIndex) {
  EXPECT_EQ(Order({PartWithBox(1, 100), PartWithBox(0, 50), PartWithBox(0, 400)}),
            (std::vector<int32_t>{2, 1, 0}));
  // Areas that differ by less than the precision are equal: index order,
  // whichever is the larger.
  EXPECT_EQ(Order({PartWithBox(0, 10), PartWithBox(0, 10 + 5e-7)}), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(Order({PartWithBox(0, 10 + 5e-7), PartWithBox(0, 10)}), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(Order({PartWithBox(0, 10), PartWithBox(0, 10 + 5e-6)}), (std::vector<int32_t>{1, 0}));
  // Circles measure their circle's box.
  EXPECT_EQ(Order({PartWithBox(0, 10), PartWithBox(0, 20, kShapeCircle)}),
            (std::vector<int32_t>{1, 0}));
  EXPECT_TRUE(Order({}).empty());
  EXPECT_EQ(Order({PartWithBox(3, 1)}), (std::vector<int32_t>{0}));
}

TEST(BuildProcessingOrder, StocksKeepIndexOrder) {
  stock2d_array_any stocks(4);
  for (size_t i = 0; i < stocks.size(); ++i) stocks[i].FPriority = static_cast<int32_t>(10 - i);
  std::vector<int32_t> stockOrder, partOrder;
  BuildProcessingOrder(stocks, {}, stockOrder, partOrder, kPrecision);
  EXPECT_EQ(stockOrder, (std::vector<int32_t>{0, 1, 2, 3}));
  EXPECT_TRUE(partOrder.empty());
}

// Parts of another kind have no shape to measure: after all others, by index.
// A box area that is not finite sorts last within its priority.
TEST(BuildProcessingOrder, UnmeasurablePartsComeLast) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const part2d_array_any parts = {PartWithBox(0, 5, 7),  PartWithBox(5, 1),   PartWithBox(0, nan),
                                  PartWithBox(0, 9),     PartWithBox(0, 1, 255), PartWithBox(0, INFINITY)};
  EXPECT_EQ(Order(parts), (std::vector<int32_t>{3, 2, 5, 1, 0, 4}));
  // A tolerance that is not a number or negative still sorts.
  for (double precision : {nan, -1.0}) {
    std::vector<int32_t> order = Order(parts, precision);
    std::vector<int32_t> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
  }
}

// Generated parts with many exact ties against the order the keys define.
TEST(BuildProcessingOrder, GeneratedPartsFollowTheKeys) {
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int32_t> priority(-2, 3);
    std::uniform_int_distribution<int32_t> area(0, seed == 4 ? 2 : 40);
    part2d_array_any parts;
    for (int i = 0; i < 1000; ++i) {
      parts.push_back(PartWithBox(priority(rng), area(rng) * 2.5, i % 7 == 0 ? kShapeCircle : kShapePolygon));
    }
    std::vector<int32_t> expected(parts.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&](int32_t a, int32_t b) {
      const part2d_any& x = parts[static_cast<size_t>(a)];
      const part2d_any& y = parts[static_cast<size_t>(b)];
      const double ax = x.IsPolygon() ? x.FOutline->FWidth : x.FCircle->FWidth;
      const double ay = y.IsPolygon() ? y.FOutline->FWidth : y.FCircle->FWidth;
      if (x.FPriority != y.FPriority) return x.FPriority < y.FPriority;
      return ax > ay;
    });
    EXPECT_EQ(Order(parts), expected) << "seed " << seed;
  }
}

// Draws from the random source, seeded with 0, as computed by hand from
// state * 22695477 + 1: 346, 130, 10982, 1090, ...
TEST(ShuffleWithinGroups, PinnedSequences) {
  TRandomSource random;
  random.SeedRandom(0);
  std::vector<int32_t> values(5, -1);
  const std::vector<int32_t> oneGroup = {4};
  ShuffleWithinGroups(values, 5, oneGroup, 1, random);
  // s = 4: 346 % 5 = 1; s = 3: 130 % 4 = 2; s = 2: 10982 % 3 = 2; s = 1: 1090 % 2 = 0.
  EXPECT_EQ(values, (std::vector<int32_t>{4, 0, 3, 2, 1}));

  random.SeedRandom(0);
  const std::vector<int32_t> twoGroups = {1, 4};
  ShuffleWithinGroups(values, 5, twoGroups, 2, random);
  // Group 0, s = 1: 346 % 2 = 0. Group 1, s = 2: 130 % 3 = 1; s = 1: 10982 % 2 = 0.
  EXPECT_EQ(values, (std::vector<int32_t>{1, 0, 4, 2, 3}));
}

TEST(ShuffleWithinGroups, ElementsStayInTheirGroups) {
  TRandomSource random;
  random.SeedRandom(77);
  std::mt19937 rng(77);
  for (int round = 0; round < 200; ++round) {
    const int32_t n = 1 + static_cast<int32_t>(rng() % 40);
    std::vector<int32_t> ends;
    for (int32_t i = 0; i < n - 1; ++i) {
      if (rng() % 4 == 0) ends.push_back(i);
    }
    ends.push_back(n - 1);
    std::vector<int32_t> values(static_cast<size_t>(n) + 3, -7);  // room past n stays
    ShuffleWithinGroups(values, n, ends, static_cast<int32_t>(ends.size()), random);
    int32_t start = 0;
    for (int32_t end : ends) {
      std::vector<int32_t> group(values.begin() + start, values.begin() + end + 1);
      std::sort(group.begin(), group.end());
      for (int32_t k = 0; k < static_cast<int32_t>(group.size()); ++k) {
        ASSERT_EQ(group[static_cast<size_t>(k)], start + k) << "round " << round;
      }
      start = end + 1;
    }
    EXPECT_EQ(values[static_cast<size_t>(n)], -7);
  }
  // Malformed group ends never write outside the values.
  std::vector<int32_t> values(3);
  const std::vector<int32_t> wild = {7, 1, 2147483647};
  ShuffleWithinGroups(values, 3, wild, 3, random);
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<int32_t>{0, 1, 2}));
}

}  // namespace
}  // namespace varnest
