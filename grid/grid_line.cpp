#include "varnest/grid/grid_line.h"

#include <algorithm>

namespace varnest {

void TGridLine::InsertAt(int32_t p, const TGridInterval& interval, int32_t dx) {
  const TGridInterval shifted{interval.FStart + dx, interval.FEnd + dx};
  if (p < 0 || p >= Count()) {
    FIntervals.push_back(shifted);
  } else {
    FIntervals.insert(FIntervals.begin() + p, shifted);
  }
}

void TGridLine::DeleteAt(int32_t p) {
  if (p < 0 || p >= Count()) return;
  FIntervals.erase(FIntervals.begin() + p);
}

void TGridLine::Normalize() {
  if (FIntervals.size() < 2) return;
  size_t kept = 0;
  for (size_t next = 1; next < FIntervals.size(); ++next) {
    TGridInterval& last = FIntervals[kept];
    const TGridInterval& candidate = FIntervals[next];
    if (candidate.FStart > last.FEnd) {
      FIntervals[++kept] = candidate;
    } else {
      last.FEnd = std::max(last.FEnd, candidate.FEnd);
    }
  }
  FIntervals.resize(kept + 1);
}

void TGridLine::MergeShifted(const TGridLine& source, int32_t dx) {
  const size_t m = source.FIntervals.size();
  if (m == 0) {
    Normalize();
    return;
  }
  // Merge from the back into the grown array: no scratch buffer is needed,
  // and the strip's capacity is reused from one layout to the next.
  size_t a = FIntervals.size();
  size_t b = m;
  FIntervals.resize(a + m);
  size_t out = a + m;
  while (b > 0) {
    const TGridInterval& s = source.FIntervals[b - 1];
    const int32_t start = s.FStart + dx;
    // Strictly greater: on equal starts the target's interval comes first,
    // so it must be written later when filling from the back.
    if (a > 0 && FIntervals[a - 1].FStart > start) {
      FIntervals[--out] = FIntervals[--a];
    } else {
      FIntervals[--out] = TGridInterval{start, s.FEnd + dx};
      --b;
    }
  }
  Normalize();
}

}  // namespace varnest
