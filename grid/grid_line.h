#pragma once
// TGridLine: one horizontal strip of a raster grid, a sorted list of closed
// integer x intervals in scaled units.
//
// A finished strip is normalised: intervals in increasing FStart, each FStart
// strictly greater than the FEnd before it, so no two intervals overlap or
// touch. Strips are contiguous arrays rather than linked lists: placement
// spends nearly all of a run walking them, and merging two sorted arrays in
// place is cheaper than inserting nodes one by one.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace varnest {

struct TGridInterval {
  int32_t FStart = 0;
  int32_t FEnd = 0;  // FStart <= FEnd for every interval the engine builds

  friend bool operator==(const TGridInterval&, const TGridInterval&) = default;
};

class TGridLine {
 public:
  std::vector<TGridInterval> FIntervals;

  int32_t Count() const { return static_cast<int32_t>(FIntervals.size()); }
  bool Empty() const { return FIntervals.empty(); }

  void Append(int32_t start, int32_t end) { FIntervals.push_back({start, end}); }
  void AppendCopy(const TGridInterval& interval) { FIntervals.push_back(interval); }
  // Inserts [start + dx, end + dx] as the p-th interval; p >= Count() appends.
  void InsertAt(int32_t p, const TGridInterval& interval, int32_t dx);
  // Removes the p-th interval; nothing happens when there is none.
  void DeleteAt(int32_t p);
  void Clear() { FIntervals.clear(); }

  // Joins overlapping and touching neighbours of a strip already sorted by
  // FStart: [0, 5] [5, 8] become [0, 8]; [0, 5] [6, 8] stay apart.
  void Normalize();

  // Inserts every interval of the source, shifted by dx, at its place by
  // FStart (on equal starts the target's interval stays first), then
  // normalises. The source is not changed.
  void MergeShifted(const TGridLine& source, int32_t dx);

  friend bool operator==(const TGridLine&, const TGridLine&) = default;
};

}  // namespace varnest
