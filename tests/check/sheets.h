#pragma once
// Hand-made sheets for the check's tests: shapes, pieces, the demo stock and
// the demo's polygon B with its usable hole.

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "check/layout_check.h"
#include "fixtures/moved_shape.h"

namespace varnest::check::sheets {

using fixtures::Moved;

inline Vertex V(double x, double y) { return {x, y, 0, false, 0, 0, false, 0}; }
inline Vertex Arc(double x, double y, double cx, double cy, bool clockwise) {
  return {x, y, 0, true, cx, cy, clockwise, 0};
}

inline Shape Rect(double x, double y, double w, double h) {
  return Shape::Polygon({V(x, y), V(x + w, y), V(x + w, y + h), V(x, y + h)});
}
inline Shape ClockwiseRect(double x, double y, double w, double h) {
  return Shape::Polygon({V(x, y), V(x, y + h), V(x + w, y + h), V(x + w, y)});
}

// The shape turned by `degrees` about the origin, then moved.
inline Shape Turned(Shape shape, double degrees, double dx = 0.0, double dy = 0.0) {
  const double a = degrees * 3.141592653589793 / 180.0;
  const double c = std::cos(a), s = std::sin(a);
  const auto turn = [&](double& x, double& y) {
    const double tx = c * x - s * y;
    y = s * x + c * y + dy;
    x = tx + dx;
  };
  for (Vertex& v : shape.vertices) {
    turn(v.x, v.y);
    turn(v.centerX, v.centerY);
  }
  turn(shape.centerX, shape.centerY);
  return shape;
}

inline PlacedPiece Piece(Shape outline, int32_t id, std::vector<Hole> holes = {}) {
  PlacedPiece piece;
  piece.partIndex = id;
  piece.partId = 100 + id;
  piece.outline = std::move(outline);
  piece.holes = std::move(holes);
  return piece;
}

// The demo's part A: an L of 20 x 20 with arms 10 wide.
inline Shape PartA(double dx, double dy) {
  return Moved(Shape::Polygon({V(0, 0), V(20, 0), V(20, 10), V(10, 10), V(10, 20), V(0, 20)}), dx,
               dy);
}

// The demo's polygon B with its hole (an arc bulging out of each), moved.
inline PlacedPiece PartB(double dx, double dy, bool nestInside, int32_t id) {
  Shape outline = Shape::Polygon({V(20, 0), Arc(60, 40, 40, 60, false), V(20, 80), V(0, 40)});
  Shape hole = Shape::Polygon({Arc(30, 30, 40, 35, false), V(50, 40), V(20, 60), V(10, 40)});
  return Piece(Moved(outline, dx, dy), id, {Hole{Moved(hole, dx, dy), nestInside, 0.0, 7}});
}

// The demo stock: edge 2 is a notch (clockwise arc), edge 5 a bulge; two
// circular defects.
inline Stock DemoStock() {
  Stock stock;
  stock.index = 0;
  stock.id = 50;
  stock.outline = Shape::Polygon({V(10, 30), V(200, 10), Arc(290, 100, 270, 150, true), V(250, 200),
                                  V(10, 290), Arc(100, 100, 55, 65, false)});
  stock.defects = {Hole{Shape::Circle(160, 100, 20), false, 0.0, 60},
                   Hole{Shape::Circle(110, 200, 20), false, 0.0, 61}};
  return stock;
}

inline Stock PlainStock() {
  Stock stock;
  stock.index = 3;
  stock.id = 53;
  stock.outline = Rect(0, 0, 300, 300);
  return stock;
}

inline Sheet MakeSheet(Stock stock, std::vector<PlacedPiece> pieces) {
  Sheet sheet;
  sheet.stock = std::move(stock);
  sheet.pieces = std::move(pieces);
  return sheet;
}

using Expected = std::tuple<FindingKind, int32_t, int32_t>;  // kind, piece, other

inline std::vector<Expected> Kinds(const std::vector<Finding>& findings) {
  std::vector<Expected> out;
  for (const Finding& f : findings) out.emplace_back(f.kind, f.piece, f.other);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace varnest::check::sheets
