#pragma once
// The input check of a run: completes the arc data of every polygon, computes
// boxes and areas, derives the net areas, and records in error_info the last
// outline or hole that is given clockwise. The run goes on whatever it finds.

#include "varnest/model/error_info.h"
#include "varnest/model/part.h"
#include "varnest/model/stock.h"

namespace varnest {

void CheckInput(part2d_array_any& parts, stock2d_array_any& stocks, double precision,
                error_info& errorInfo);

// After preparation every later step wants sizes, not orientations.
void MakeAreasAbsolute(part2d_array_any& parts, stock2d_array_any& stocks);

}  // namespace varnest
