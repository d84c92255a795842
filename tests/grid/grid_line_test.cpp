#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "varnest/grid/grid_line.h"

namespace varnest {
namespace {

using Intervals = std::vector<TGridInterval>;

TGridLine Line(Intervals intervals) {
  TGridLine line;
  line.FIntervals = std::move(intervals);
  return line;
}

TEST(GridLine, NormalizeJoinsOverlappingAndTouchingNeighbours) {
  struct Case {
    Intervals in, out;
  };
  const Case cases[] = {
      {{}, {}},
      {{{3, 4}}, {{3, 4}}},
      {{{0, 5}, {5, 8}, {9, 9}}, {{0, 8}, {9, 9}}},
      {{{0, 10}, {2, 3}}, {{0, 10}}},
      {{{0, 5}, {6, 8}}, {{0, 5}, {6, 8}}},
      {{{0, 2}, {1, 7}, {3, 4}, {7, 7}, {8, 9}}, {{0, 7}, {8, 9}}},
      {{{7, 7}}, {{7, 7}}},  // a zero-length interval survives alone
  };
  for (const Case& c : cases) {
    TGridLine line = Line(c.in);
    line.Normalize();
    EXPECT_EQ(line.FIntervals, c.out);
  }
}

TEST(GridLine, MergeShiftedInsertsByStartAndNormalises) {
  struct Case {
    Intervals target, source;
    int32_t dx;
    Intervals out;
  };
  const Case cases[] = {
      {{{6, 8}}, {{0, 2}, {10, 12}}, 5, {{5, 8}, {15, 17}}},
      {{}, {{0, 2}, {10, 12}}, 5, {{5, 7}, {15, 17}}},
      {{{0, 1}, {1, 3}}, {}, 9, {{0, 3}}},  // an empty source still normalises
      {{{5, 6}}, {{0, 3}}, 5, {{5, 8}}},    // equal starts join
      {{{0, 1}, {20, 30}}, {{-3, 4}}, 10, {{0, 1}, {7, 14}, {20, 30}}},
      {{{0, 100}}, {{-50, -40}}, 0, {{-50, -40}, {0, 100}}},
  };
  for (const Case& c : cases) {
    TGridLine target = Line(c.target);
    const TGridLine source = Line(c.source);
    target.MergeShifted(source, c.dx);
    EXPECT_EQ(target.FIntervals, c.out);
    EXPECT_EQ(source.FIntervals, c.source);
  }
}

// The merge must equal "insert everything, sort by start, join": checked on
// random normalised strips against that plain construction.
TEST(GridLine, MergeShiftedAgreesWithSortAndJoin) {
  const unsigned seed = 20261211u;
  std::mt19937 random(seed);
  auto randomStrip = [&random] {
    TGridLine line;
    int32_t x = static_cast<int32_t>(random() % 20);
    const int count = static_cast<int>(random() % 6);
    for (int i = 0; i < count; ++i) {
      const int32_t length = static_cast<int32_t>(random() % 7);
      line.Append(x, x + length);
      x += length + 1 + static_cast<int32_t>(random() % 9);
    }
    return line;
  };
  for (int trial = 0; trial < 2000; ++trial) {
    TGridLine target = randomStrip();
    const TGridLine source = randomStrip();
    const int32_t dx = static_cast<int32_t>(random() % 41) - 20;

    Intervals expected = target.FIntervals;
    for (const TGridInterval& s : source.FIntervals) expected.push_back({s.FStart + dx, s.FEnd + dx});
    std::stable_sort(expected.begin(), expected.end(),
                     [](const TGridInterval& a, const TGridInterval& b) { return a.FStart < b.FStart; });
    TGridLine reference = Line(expected);
    reference.Normalize();

    target.MergeShifted(source, dx);
    ASSERT_EQ(target.FIntervals, reference.FIntervals) << "seed " << seed << " trial " << trial;
  }
}

TEST(GridLine, InsertAndDeleteByPosition) {
  TGridLine line;
  line.InsertAt(0, {1, 2}, 0);  // on an empty strip: appends
  line.InsertAt(5, {10, 12}, 1);  // past the end: appends, shifted
  line.InsertAt(1, {4, 5}, 0);
  line.InsertAt(0, {-3, -2}, 0);
  EXPECT_EQ(line.FIntervals, (Intervals{{-3, -2}, {1, 2}, {4, 5}, {11, 13}}));
  line.DeleteAt(4);   // no such position
  line.DeleteAt(-1);
  EXPECT_EQ(line.Count(), 4);
  line.DeleteAt(3);
  line.DeleteAt(0);
  EXPECT_EQ(line.FIntervals, (Intervals{{1, 2}, {4, 5}}));
  line.Clear();
  line.Clear();
  EXPECT_TRUE(line.Empty());
}

}  // namespace
}  // namespace varnest
