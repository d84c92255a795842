// The gaps a cutter promises, and layouts that keep them exactly or fall
// short by a tenth, on arcs and circles; holes that cross their own part.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "check/clearance.h"
#include "check/layout_check.h"
#include "tests/check/sheets.h"

namespace varnest::check {
namespace {

using namespace sheets;
using K = FindingKind;

TEST(Clearance, GrowthDistanceRoundsUpToWholeStrips) {
  const struct {
    double diameter;
    int32_t type;
    double resolution, precision, expected;
  } cases[] = {
      {0.25, 1, 0.1, 1e-6, 0.3},        // up to the next strip
      {0.3, 1, 0.1, 1e-6, 0.3},         // 0.3 / 0.1 falls just short of 3: still three strips
      {0.5, 1, 0.1, 1e-6, 0.5},         // whole already
      {0.2000001, 1, 0.1, 1e-6, 0.2},   // within the precision of two strips
      {0.2 + 1e-13, 1, 0.1, 0.0, 0.2},  // precision 0: within a trillionth
      {0.0, 1, 0.1, 1e-6, 0.0},        {0.25, 0, 0.1, 1e-6, 0.25},  // type 0 grows by d itself
      {0.25, 1, 0.0, 1e-6, 0.25},                                   // no strips to round to
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("d " + std::to_string(c.diameter) + ", type " + std::to_string(c.type));
    EXPECT_NEAR(GrowthDistance(c.diameter, c.type, c.resolution, c.precision), c.expected, 1e-12);
  }
}

TEST(Clearance, PromisesAsMeasured) {
  const auto expect = [](const Clearances& got, const Clearances& want) {
    EXPECT_NEAR(got.betweenPieces, want.betweenPieces, 1e-12);
    EXPECT_NEAR(got.toStockEdge, want.toStockEdge, 1e-12);
    EXPECT_NEAR(got.toDefect, want.toDefect, 1e-12);
    EXPECT_NEAR(got.pieceInUsableHole, want.pieceInUsableHole, 1e-12);
    EXPECT_NEAR(got.defectInUsableHole, want.defectInUsableHole, 1e-12);
  };
  expect(PromisedClearances(2, 0, 0.1, 1e-6), {4, 2, 2, 2, 0});
  expect(PromisedClearances(2, 1, 0.1, 1e-6), {2, 0, 0, 2, 2});
  expect(PromisedClearances(0.25, 1, 0.1, 1e-6), {0.3, 0, 0, 0.25, 0.25});
  expect(PromisedClearances(0, 0, 0.1, 1e-6), {});
  expect(PromisedClearances(-1, 1, 0.1, 1e-6), {});
}

// A sheet whose two things (a piece and a piece, the stock or a defect) keep
// exactly the promised gap; moving the named piece by (dx, dy) takes a tenth
// off that gap.
struct GapCase {
  const char* name;
  CheckOptions options;
  Sheet sheet;
  int32_t moved;
  double dx, dy;
  Expected finding;  // of the moved sheet
  double gap;        // of the moved sheet
};

std::vector<GapCase> GapCases() {
  const CheckOptions type0 = OptionsForCutter(2, 0, 0.1);
  const CheckOptions type1 = OptionsForCutter(2, 1, 0.1);
  const CheckOptions rounded = OptionsForCutter(0.25, 1, 0.1);  // g = 0.3
  const double holeRadius = std::hypot(10.0, 5.0);              // B's hole arc, about (40, 35)
  const double notch = std::hypot(20.0, 50.0);   // demo stock's notch, about (270, 150)
  const double bArc = 20 * std::numbers::sqrt2;  // B's arc, about (40, 60)
  const auto at = [](double cx, double cy, double r, double degrees, double radius) {
    const double a = degrees * std::numbers::pi / 180.0;
    return Shape::Circle(cx + r * std::cos(a), cy + r * std::sin(a), radius);
  };
  const auto toward = [](double degrees, double by) {
    const double a = degrees * std::numbers::pi / 180.0;
    return std::pair{by * std::cos(a), by * std::sin(a)};
  };
  const auto in37 = toward(217, 0.1);
  const auto in45 = toward(225, 0.1);
  Stock circleStock;
  circleStock.outline = Shape::Circle(0, 0, 100);
  circleStock.margin = 5;
  return {
      {"type 0: circles 2d apart at an angle",
       type0,
       MakeSheet(PlainStock(), {Piece(Shape::Circle(150, 150, 20), 0),
                                Piece(at(150, 150, 20 + 4 + 10, 37, 10), 1)}),
       1,
       in37.first,
       in37.second,
       {K::kTooClose, 0, 1},
       3.9},
      {"type 0: a circle 2d beyond B's arc edge",
       type0,
       MakeSheet(PlainStock(),
                 {PartB(100, 100, true, 0), Piece(at(140, 160, bArc + 4 + 5, 45, 5), 1)}),
       1,
       in45.first,
       in45.second,
       {K::kTooClose, 0, 1},
       3.9},
      {"type 0: a circle d from the sheet's edge",
       type0,
       MakeSheet(PlainStock(), {Piece(Shape::Circle(50, 12, 10), 0)}),
       0,
       0,
       -0.1,
       {K::kNearStockEdge, 0, -1},
       1.9},
      {"type 0: a circle d from the demo stock's notch",
       type0,
       MakeSheet(DemoStock(), {Piece(Shape::Circle(270 - notch - 2 - 5, 150, 5), 0)}),
       0,
       0.1,
       0,
       {K::kNearStockEdge, 0, -1},
       1.9},
      {"type 0: a circle d from a circular defect",
       type0,
       MakeSheet(DemoStock(), {Piece(Shape::Circle(160 + 20 + 2 + 5, 100, 5), 0)}),
       0,
       -0.1,
       0,
       {K::kNearDefect, 0, 0},
       1.9},
      {"type 0: a circle d inside B's usable hole, from its arc",
       type0,
       MakeSheet(PlainStock(), {PartB(100, 100, true, 0),
                                Piece(Shape::Circle(140, 135 - holeRadius + 2 + 2, 2), 1)}),
       1,
       0,
       -0.1,
       {K::kTooClose, 0, 1},
       1.9},
      {"type 0: a circle stock's usable edge, its radius less the margin",
       type0,
       MakeSheet(circleStock, {Piece(Shape::Circle(83, 0, 10), 0)}),
       0,
       0.1,
       0,
       {K::kNearStockEdge, 0, -1},
       1.9},
      {"type 1: circles g apart",
       type1,
       MakeSheet(PlainStock(), {Piece(Shape::Circle(150, 150, 20), 0),
                                Piece(at(150, 150, 20 + 2 + 10, 37, 10), 1)}),
       1,
       in37.first,
       in37.second,
       {K::kTooClose, 0, 1},
       1.9},
      {"type 1: a circle d inside B's usable hole",
       type1,
       MakeSheet(PlainStock(), {PartB(100, 100, true, 0),
                                Piece(Shape::Circle(140, 135 - holeRadius + 2 + 2, 2), 1)}),
       1,
       0,
       -0.1,
       {K::kTooClose, 0, 1},
       1.9},
      {"type 1: a defect d inside B's usable hole",
       type1,
       [&] {
         Stock stock = PlainStock();
         stock.defects = {Hole{Shape::Circle(140, 135 - holeRadius + 2 + 2, 2), false, 0.0, 8}};
         return MakeSheet(stock, {PartB(100, 100, true, 0)});
       }(),
       0,
       0,
       0.1,
       {K::kNearDefect, 0, 0},
       1.9},
      {"type 1, d 0.25: circles apart by d rounded up to 0.3",
       rounded,
       MakeSheet(PlainStock(), {Piece(Shape::Circle(150, 150, 20), 0),
                                Piece(at(150, 150, 20 + 0.3 + 10, 37, 10), 1)}),
       1,
       toward(217, 0.02).first,
       toward(217, 0.02).second,
       {K::kTooClose, 0, 1},
       0.28},
  };
}

TEST(Clearance, GapsKeptExactlyPassAndATenthShortFails) {
  for (const GapCase& c : GapCases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Kinds(CheckSheet(c.sheet, 0, c.options)), std::vector<Expected>{});
    Sheet closer = c.sheet;
    PlacedPiece& piece = closer.pieces[static_cast<size_t>(c.moved)];
    piece.outline = Moved(piece.outline, c.dx, c.dy);
    for (Hole& hole : piece.holes) hole.shape = Moved(hole.shape, c.dx, c.dy);
    const std::vector<Finding> findings = CheckSheet(closer, 0, c.options);
    ASSERT_EQ(Kinds(findings), std::vector<Expected>{c.finding});
    // Flattening only widens what is measured, by the chord tolerance of
    // each shape at most.
    EXPECT_GE(findings[0].distance, c.gap - 1e-9);
    EXPECT_LE(findings[0].distance, c.gap + 2 * 1e-5 * 300);
    EXPECT_GT(findings[0].required, findings[0].distance);
  }
}

// What no cutter type asks for is not reported: under type 0 a defect may
// touch the edge of a usable hole that surrounds it, under type 1 a piece may
// touch the sheet's edge and a defect.
TEST(Clearance, ContactsThatTheCutterAllows) {
  const Stock holed = [] {
    Stock stock = PlainStock();
    stock.defects = {Hole{Shape::Circle(140, 135 - std::hypot(10.0, 5.0) + 2, 2), false, 0.0, 62}};
    return stock;
  }();
  const Sheet type0Sheet = MakeSheet(holed, {PartB(100, 100, true, 0)});
  EXPECT_EQ(Kinds(CheckSheet(type0Sheet, 0, OptionsForCutter(2, 0, 0.1))), std::vector<Expected>{});
  const Sheet type1Sheet = MakeSheet(
      DemoStock(), {Piece(Rect(180, 95, 10, 10), 0), Piece(Shape::Circle(110, 225, 5), 1),
                    Piece(Turned(Rect(0, 0, 10, 10),
                                 std::atan2(-20.0, 190.0) * 180.0 / std::numbers::pi, 105, 20),
                          2)});
  EXPECT_EQ(Kinds(CheckSheet(type1Sheet, 0, OptionsForCutter(2, 1, 0.1))), std::vector<Expected>{});
  // Without a cutter nothing but contact matters.
  EXPECT_EQ(Kinds(CheckSheet(type1Sheet, 0)), std::vector<Expected>{});
}

TEST(Clearance, DescriptionGivesTheGapAndThePromise) {
  const Sheet sheet =
      MakeSheet(PlainStock(), {Piece(Rect(20, 40, 10, 10), 0), Piece(Rect(33, 40, 10, 10), 1)});
  const std::vector<Finding> findings = CheckSheet(sheet, 0, OptionsForCutter(2, 0, 0.1));
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(Describe(findings[0], sheet),
            "sheet 0: piece 0 (part 0, id 100) is 3 from piece 1 (part 1, id 101); the cutter "
            "leaves 4");
}

// B's hole pokes out of B's straight edge x - y = 20 by the hole's radius
// less the distance of its centre (40, 35) from that edge.
TEST(HolesOutsidePart, FoundWithHowFarTheyReach) {
  const PlacedPiece b = PartB(0, 0, true, 0);
  const std::vector<HoleOutsidePart> found = HolesOutsidePart(b.outline, b.holes);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].hole, 0);
  EXPECT_NEAR(found[0].depth, std::hypot(10.0, 5.0) - 15.0 / std::numbers::sqrt2, 1e-3);
  EXPECT_GT(found[0].area, 0.0);

  const struct {
    const char* name;
    Shape outline;
    std::vector<Hole> holes;
    std::vector<int32_t> expected;
  } cases[] = {
      {"holes inside, one along the outline's edge",
       Rect(0, 0, 50, 50),
       {Hole{Rect(10, 10, 10, 10), true, 0, 0}, Hole{Rect(0, 30, 10, 10), false, 0, 1},
        Hole{Shape::Circle(35, 35, 15), true, 0, 2}},
       {}},
      {"a hole that may not receive parts crossing the outline",
       Rect(0, 0, 50, 50),
       {Hole{Rect(10, 10, 10, 10), false, 0, 0}, Hole{Rect(45, 20, 10, 10), false, 0, 1}},
       {1}},
      {"a circle hole crossing a circle part",
       Shape::Circle(0, 0, 20),
       {Hole{Shape::Circle(15, 0, 6), true, 0, 0}},
       {0}},
      {"a hole wholly outside the part",
       Rect(0, 0, 50, 50),
       {Hole{Rect(60, 0, 5, 5), true, 0, 0}},
       {0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<int32_t> holes;
    for (const HoleOutsidePart& hole : HolesOutsidePart(c.outline, c.holes)) {
      holes.push_back(hole.hole);
    }
    EXPECT_EQ(holes, c.expected);
  }
}

// A hole that crosses its own part is a finding of the input, not of the
// layout: a small circle in the part of B's usable hole that lies beyond B's
// outline touches no material of B.
TEST(HolesOutsidePart, NoLayoutFinding) {
  const double out = std::hypot(10.0, 5.0) - 0.25;  // from the hole's arc centre (140, 135)
  const Shape circle =
      Shape::Circle(140 + out / std::numbers::sqrt2, 135 - out / std::numbers::sqrt2, 0.2);
  const Sheet sheet = MakeSheet(PlainStock(), {PartB(100, 100, true, 0), Piece(circle, 1)});
  EXPECT_EQ(Kinds(CheckSheet(sheet, 0)), std::vector<Expected>{});
  EXPECT_EQ(Kinds(CheckSheet(sheet, 0, OptionsForCutter(0.05, 0, 0.1))), std::vector<Expected>{});
}

}  // namespace
}  // namespace varnest::check
