// Shapes that touch pass the check, and the same shapes pushed into each
// other by a tenth (a raster strip of the demo) fail it. Touching contacts
// are where Boost.Geometry meets near coincidences: an L touching a circle
// at its corner, the demo's reported false alarm, once came out as an
// overlap of the whole L.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "check/layout_check.h"
#include "tests/check/sheets.h"

namespace varnest::check {
namespace {

using namespace sheets;
using K = FindingKind;

constexpr double kPush = 0.1;

// The point at `degrees` on the circle about (cx, cy) of this radius.
struct At {
  double x, y;
  At(double cx, double cy, double radius, double degrees)
      : x(cx + radius * std::cos(degrees * std::numbers::pi / 180.0)),
        y(cy + radius * std::sin(degrees * std::numbers::pi / 180.0)) {}
};

// A right-angled wedge whose apex sits at the origin, opening towards
// `degrees`.
Shape Wedge(double degrees) {
  return Turned(Shape::Polygon({V(0, 0), V(10, -10), V(10, 10)}), degrees);
}

struct Contact {
  const char* name;
  Sheet sheet;
  int32_t moved;    // the piece pushed in
  double dx, dy;    // and how far
  Expected pushed;  // what the pushed sheet gives
};

std::vector<Contact> Contacts() {
  // Unit vector at an angle, times the push.
  const auto push = [](double degrees) { return At(0, 0, kPush, degrees); };
  const At onCircle(150, 150, 20, 37);
  const At onBArc(140, 160, 20 * std::numbers::sqrt2, 45);  // B at (100, 100): its arc
  const At tangent(150, 150, 30, 37);
  const At pastBArc(140, 160, 20 * std::numbers::sqrt2 + 5, 45);
  // Edge 0 of the demo stock runs from (10, 30) to (200, 10), through (105, 20).
  const double slope = std::atan2(-20.0, 190.0) * 180.0 / std::numbers::pi;
  return {
      {"the demo's L touching a circle at its corner, on the reported 200 x 200 sheet",
       [] {
         Stock stock = PlainStock();
         stock.outline = Rect(0, 0, 200, 200);
         return MakeSheet(stock, {Piece(PartA(40, 0), 0), Piece(Shape::Circle(70, 10, 10), 1)});
       }(),
       1,
       -kPush,
       0,
       {K::kOverlap, 0, 1}},
      {"the apex of a wedge on a circle",
       MakeSheet(PlainStock(), {Piece(Shape::Circle(150, 150, 20), 0),
                                Piece(Moved(Wedge(37), onCircle.x, onCircle.y), 1)}),
       1,
       push(217).x,
       push(217).y,
       {K::kOverlap, 0, 1}},
      {"the corner of a square on the arc edge of B",
       MakeSheet(PlainStock(),
                 {PartB(100, 100, true, 0), Piece(Rect(onBArc.x, onBArc.y, 10, 10), 1)}),
       1,
       -kPush,
       -kPush,
       {K::kOverlap, 0, 1}},
      {"tangent circles",
       MakeSheet(PlainStock(), {Piece(Shape::Circle(150, 150, 20), 0),
                                Piece(Shape::Circle(tangent.x, tangent.y, 10), 1)}),
       1,
       push(217).x,
       push(217).y,
       {K::kOverlap, 0, 1}},
      {"a circle tangent to the arc edge of B",
       MakeSheet(PlainStock(),
                 {PartB(100, 100, true, 0), Piece(Shape::Circle(pastBArc.x, pastBArc.y, 5), 1)}),
       1,
       push(225).x,
       push(225).y,
       {K::kOverlap, 0, 1}},
      {"turned rectangles along part of an edge",
       MakeSheet(PlainStock(), {Piece(Turned(Rect(0, 0, 20, 10), 37, 100, 100), 0),
                                Piece(Turned(Rect(20, 3, 15, 12), 37, 100, 100), 1)}),
       1,
       push(217).x,
       push(217).y,
       {K::kOverlap, 0, 1}},
      {"a square along the bottom edge of the sheet",
       MakeSheet(PlainStock(), {Piece(Rect(40, 0, 10, 10), 0)}),
       0,
       0,
       -kPush,
       {K::kOutsideStock, 0, -1}},
      {"a turned square along the demo stock's slanted edge",
       MakeSheet(DemoStock(), {Piece(Turned(Rect(0, 0, 10, 10), slope, 105, 20), 0)}),
       0,
       push(slope - 90).x,
       push(slope - 90).y,
       {K::kOutsideStock, 0, -1}},
      {"a circle tangent to the demo stock's notch",
       MakeSheet(DemoStock(), {Piece(Shape::Circle(270 - std::hypot(20, 50) - 5, 150, 5), 0)}),
       0,
       kPush,
       0,
       {K::kOutsideStock, 0, -1}},
      {"a square tangent to a circular defect",
       MakeSheet(DemoStock(), {Piece(Rect(180, 95, 10, 10), 0)}),
       0,
       -kPush,
       0,
       {K::kOnDefect, 0, 0}},
      {"a turned square along the edge of a square defect",
       [] {
         Stock stock = PlainStock();
         stock.defects = {Hole{Turned(Rect(0, 0, 10, 10), 37, 150, 150), false, 0.0, 9}};
         return MakeSheet(stock, {Piece(Turned(Rect(10, 2, 10, 6), 37, 150, 150), 0)});
       }(),
       0,
       push(217).x,
       push(217).y,
       {K::kOnDefect, 0, 0}},
      {"a circle in B's usable hole touching the hole's arc",
       MakeSheet(PlainStock(), {PartB(100, 100, true, 0),
                                Piece(Shape::Circle(140, 135 - std::hypot(10, 5) + 3, 3), 1)}),
       1,
       0,
       -kPush,
       {K::kOverlap, 0, 1}},
      {"a turned square in the corner of a usable square hole",
       MakeSheet(PlainStock(),
                 {Piece(Turned(Rect(0, 0, 50, 50), 37, 150, 100), 0,
                        {Hole{Turned(Rect(10, 10, 30, 30), 37, 150, 100), true, 0.0, 0}}),
                  Piece(Turned(Rect(10, 10, 10, 10), 37, 150, 100), 1)}),
       1,
       push(37 + 225).x,
       push(37 + 225).y,
       {K::kOverlap, 0, 1}},
  };
}

TEST(Contacts, TouchingPassesAndPushedInFails) {
  for (const Contact& c : Contacts()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Kinds(CheckSheet(c.sheet, 0)), std::vector<Expected>{});
    Sheet pushed = c.sheet;
    PlacedPiece& piece = pushed.pieces[static_cast<size_t>(c.moved)];
    piece.outline = Moved(piece.outline, c.dx, c.dy);
    EXPECT_EQ(Kinds(CheckSheet(pushed, 0)), std::vector<Expected>{c.pushed});
  }
}

// Pairs that touch at a random angle and place: an L with a circle at its
// corner, tangent circles, turned rectangles sharing part of an edge, a
// wedge's apex on a circle. Each must pass, and fail once the second shape
// is pushed in by twice the push above (a glancing push at a corner shares
// little area). Before the flattened shapes were put on a common grid, about
// one in seventy of the rectangles came out as overlapping by a whole piece
// (fewer away from the origin, where coordinates carry fewer fraction bits).
TEST(Contacts, RandomContactsOfTurnedShapes) {
  Stock stock = PlainStock();
  stock.outline = Rect(-200, -200, 400, 400);
  for (const uint32_t seed : {1u, 2u, 3u}) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int32_t round = 0; round < 200; ++round) {
      const double turn = 360.0 * unit(random);
      const double x = 200.0 * unit(random) - 100.0, y = 200.0 * unit(random) - 100.0;
      const double radius = 1.0 + 20.0 * unit(random), other = 1.0 + 20.0 * unit(random);
      // A circle of radius 10 at most meets the L only at its corner,
      // wherever it sits between the L's two arms.
      const double small = 1.0 + 9.0 * unit(random), side = 90.0 * unit(random);
      // The rectangles share at least 2 of their edges.
      const double offset = 18.0 * unit(random) - 10.0;
      const double push = 2.0 * kPush;
      const struct {
        const char* kind;
        Shape first, second;
        double towards;  // direction of the push, degrees
      } pairs[] = {
          {"L and circle at its corner", Turned(PartA(0, 0), turn, x, y),
           Turned(Shape::Circle(At(20, 10, small, side).x, At(20, 10, small, side).y, small), turn,
                  x, y),
           turn + side + 180.0},
          {"tangent circles", Shape::Circle(x, y, radius),
           Shape::Circle(At(x, y, radius + other, turn).x, At(x, y, radius + other, turn).y, other),
           turn + 180.0},
          {"rectangles edge to edge", Turned(Rect(0, 0, 20, 10), turn, x, y),
           Turned(Rect(20, offset, 15, 12), turn, x, y), turn + 180.0},
          {"wedge on a circle", Shape::Circle(x, y, radius),
           Moved(Wedge(turn), At(x, y, radius, turn).x, At(x, y, radius, turn).y), turn + 180.0},
      };
      for (const auto& pair : pairs) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round) + ": " +
                     pair.kind);
        Sheet sheet = MakeSheet(stock, {Piece(pair.first, 0), Piece(pair.second, 1)});
        EXPECT_EQ(Kinds(CheckSheet(sheet, 0)), std::vector<Expected>{});
        const At by(0, 0, push, pair.towards);
        sheet.pieces[1].outline = Moved(pair.second, by.x, by.y);
        EXPECT_EQ(Kinds(CheckSheet(sheet, 0)), (std::vector<Expected>{{K::kOverlap, 0, 1}}));
      }
    }
  }
}

}  // namespace
}  // namespace varnest::check
