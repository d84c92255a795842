#include "varnest/model/ordering.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "varnest/geometry/fuzzy.h"

namespace varnest {

namespace {

struct TSortRecord {
  int32_t index = 0;
  int32_t key1 = 0;   // priority
  double key2 = 0.0;  // box area of the defined shape
};

// Record x comes before y: smaller priority, else larger area, else (areas
// equal under t) smaller index.
bool Before(const TSortRecord& x, const TSortRecord& y, double t) {
  if (x.key1 != y.key1) return x.key1 < y.key1;
  const int comparison = FuzzyCompare(x.key2, y.key2, t);
  if (comparison != 0) return comparison > 0;
  return x.index < y.index;
}

// Hoare's partition about the middle record. The scans stay inside the range
// as long as no record comes before itself, which finite keys and a tolerance
// of at least 0 guarantee. The smaller side is sorted by recursion and the
// larger one by the loop: the two sides are independent, so the result is the
// same as sorting both by recursion, and the stack stays shallow.
void QuickSort(std::vector<TSortRecord>& records, std::vector<int32_t>& order, int32_t lo,
               int32_t hi, double t) {
  while (lo < hi) {
    const TSortRecord pivot = records[static_cast<size_t>((lo + hi) / 2)];
    int32_t i = lo;
    int32_t j = hi;
    do {
      while (Before(records[static_cast<size_t>(i)], pivot, t)) ++i;
      while (Before(pivot, records[static_cast<size_t>(j)], t)) --j;
      if (i < j) {
        std::swap(records[static_cast<size_t>(i)], records[static_cast<size_t>(j)]);
        std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(j)]);
        ++i;
        --j;
      } else if (i == j) {
        ++i;
        --j;
      }
    } while (j >= i);
    if (j - lo < hi - i) {
      if (lo < j) QuickSort(records, order, lo, j, t);
      lo = i;
    } else {
      if (i < hi) QuickSort(records, order, i, hi, t);
      hi = j;
    }
  }
}

double BoxArea(const part2d_any& part) {
  double area = 0.0;
  if (part.IsPolygon()) {
    if (part.FOutline) area = part.FOutline->FWidth * part.FOutline->FHeight;
  } else if (part.FCircle) {
    area = part.FCircle->FWidth * part.FCircle->FHeight;
  }
  // A NaN or an infinity would compare as greater than itself; such a part
  // (which preparation excludes) goes to the end of its priority instead.
  return std::isfinite(area) ? area : -1.0;
}

}  // namespace

void BuildProcessingOrder(const stock2d_array_any& stocks, const part2d_array_any& parts,
                          std::vector<int32_t>& stockOrder, std::vector<int32_t>& partOrder,
                          double precision) {
  stockOrder.resize(stocks.size());
  for (size_t i = 0; i < stocks.size(); ++i) stockOrder[i] = static_cast<int32_t>(i);

  std::vector<TSortRecord> records;
  std::vector<int32_t> order;
  std::vector<int32_t> others;
  for (size_t i = 0; i < parts.size(); ++i) {
    const part2d_any& part = parts[i];
    const int32_t index = static_cast<int32_t>(i);
    if (!part.IsPolygon() && !part.IsCircle()) {
      others.push_back(index);
      continue;
    }
    records.push_back(TSortRecord{index, part.FPriority, BoxArea(part)});
    order.push_back(index);
  }
  // A tolerance below 0 (or NaN) would make a record come before itself.
  const double t = precision >= 0.0 ? precision : 0.0;
  if (records.size() > 1) QuickSort(records, order, 0, static_cast<int32_t>(records.size()) - 1, t);

  partOrder = std::move(order);
  partOrder.insert(partOrder.end(), others.begin(), others.end());
}

void ShuffleWithinGroups(std::span<int32_t> values, int32_t n, std::span<const int32_t> groupEnds,
                         int32_t groupCount, TRandomSource& random) {
  const int32_t count =
      std::max<int32_t>(0, std::min<int32_t>(n, static_cast<int32_t>(values.size())));
  for (int32_t i = 0; i < count; ++i) values[static_cast<size_t>(i)] = i;
  const int32_t groups =
      std::max<int32_t>(0, std::min<int32_t>(groupCount, static_cast<int32_t>(groupEnds.size())));
  int64_t start = 0;
  for (int32_t g = 0; g < groups; ++g) {
    const int64_t end = std::min<int64_t>(groupEnds[static_cast<size_t>(g)], count - 1);
    for (int64_t s = end - start; s >= 1; --s) {
      const int64_t r = random.NextRandom() % (s + 1);
      std::swap(values[static_cast<size_t>(start + r)], values[static_cast<size_t>(start + s)]);
    }
    start = static_cast<int64_t>(groupEnds[static_cast<size_t>(g)]) + 1;
  }
}

}  // namespace varnest
