#pragma once
// The order in which a run takes its parts and stocks, and the shuffle of a
// part order within its priority groups.

#include <cstdint>
#include <span>
#include <vector>

#include "varnest/geometry/random.h"
#include "varnest/model/part.h"
#include "varnest/model/stock.h"

namespace varnest {

// Stocks in index order. Parts by priority (smaller first), then by the area
// of their defined shape's box (larger first; areas equal under the precision
// count as equal), then by index. The sort is the engine's own quicksort: with
// a tolerance the keys are not a strict order, and the order among near-equal
// keys is part of the deterministic result. A part of a kind other than
// polygon and circle has no shape to measure; such parts come after all
// others, by index. Both arrays are resized to one entry per stock and part.
void BuildProcessingOrder(const stock2d_array_any& stocks, const part2d_array_any& parts,
                          std::vector<int32_t>& stockOrder, std::vector<int32_t>& partOrder,
                          double precision);

// values[i] = i for the first n values, then each group shuffled in place by
// draws from random. groupEnds holds, for each of the first groupCount
// groups, the position of its last element; the groups cover 0 .. n - 1 in
// order. Positions past the values are never touched.
void ShuffleWithinGroups(std::span<int32_t> values, int32_t n, std::span<const int32_t> groupEnds,
                         int32_t groupCount, TRandomSource& random);

}  // namespace varnest
