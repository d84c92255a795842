#pragma once
// Stock preparation: each stock's outline or circle moved so that its box
// starts at the origin, with its defects in the same frame. Stocks are never
// turned or mirrored.

#include "varnest/model/stock.h"

namespace varnest {

void PreparePolygonStock(stock2d_any& stock, double precision);
// The usable circle is the defined one minus the margin (no lower bound: a
// margin of the radius or more leaves a stock that is not usable).
void PrepareCircleStock(stock2d_any& stock, double precision);
// The preparation of the stock's kind; a stock of any other kind, or one
// that is not usable, keeps no prepared shape.
void PrepareStock(stock2d_any& stock, double precision);

// True when the prepared stock can take parts. Preparation keeps a prepared
// outline or circle only for a stock whose every number, its defects' too, is
// finite, whose box has a positive width and height, and which the input
// check did not reject; the search skips every other stock.
bool IsUsableStock(const stock2d_any& stock);

// The width of the prepared stock shape (its box starts at the origin); 0 for
// a stock that is not usable.
double PreparedExtent(const stock2d_any& stock);

}  // namespace varnest
