// Hand-made layouts whose findings are known: overlaps, touching pieces,
// arcs of the stock, defects, usable and non-usable holes, bad geometry.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <tuple>

#include "check/layout_check.h"
#include "tests/check/sheets.h"

namespace varnest::check {
namespace {

using namespace sheets;

struct Case {
  const char* name;
  Sheet sheet;
  std::vector<Expected> expected;
};

std::vector<Case> Cases() {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  using K = FindingKind;
  return {
      {"overlapping squares",
       MakeSheet(PlainStock(), {Piece(Rect(20, 40, 10, 10), 0), Piece(Rect(25, 40, 10, 10), 1)}),
       {{K::kOverlap, 0, 1}}},
      {"overlap with a clockwise outline",
       MakeSheet(PlainStock(),
                 {Piece(Rect(20, 40, 10, 10), 0), Piece(ClockwiseRect(25, 40, 10, 10), 1)}),
       {{K::kOverlap, 0, 1}}},
      {"squares touching along an edge and at a corner",
       MakeSheet(PlainStock(),
                 {Piece(Rect(20, 40, 10, 10), 0), Piece(ClockwiseRect(30, 40, 10, 10), 1),
                  Piece(Rect(40, 50, 10, 10), 2)}),
       {}},
      {"touching circles, and a circle touching a square",
       MakeSheet(PlainStock(),
                 {Piece(Shape::Circle(50, 50, 5), 0), Piece(Shape::Circle(60, 50, 5), 1),
                  Piece(Rect(65, 40, 10, 20), 2)}),
       {}},
      {"overlap of rounding size is noise",
       MakeSheet(PlainStock(),
                 {Piece(Rect(20, 40, 10, 10), 0), Piece(Rect(30 - 1e-9, 40, 10, 10), 1)}),
       {}},
      {"overlap of one raster cell at a corner",
       MakeSheet(PlainStock(),
                 {Piece(Rect(20, 40, 10, 10), 0), Piece(Rect(29.9, 49.9, 10, 10), 1)}),
       {{K::kOverlap, 0, 1}}},
      {"the far piece of three overlaps only its neighbour",
       MakeSheet(PlainStock(), {Piece(Rect(100, 100, 10, 10), 0), Piece(Rect(0, 0, 10, 10), 1),
                                Piece(Rect(5, 5, 10, 10), 2)}),
       {{K::kOverlap, 1, 2}}},
      {"piece inside the notch of the stock's arc edge",
       MakeSheet(DemoStock(), {Piece(Rect(220, 145, 10, 10), 0)}),
       {{K::kOutsideStock, 0, -1}}},
      {"piece crossing the stock's arc notch",
       MakeSheet(DemoStock(), {Piece(Rect(205, 145, 20, 10), 0)}),
       {{K::kOutsideStock, 0, -1}}},
      {"piece in the bulge of the stock's arc edge, beyond its chord",
       MakeSheet(DemoStock(), {Piece(Rect(25, 75, 10, 10), 0)}),
       {}},
      {"piece whose corner lies on the stock's slanted edge within a few ulps",
       // A layout of the demo problem that once came out as wholly outside.
       MakeSheet(DemoStock(),
                 {Piece(Moved(Shape::Polygon({V(0, 0), V(20, 0), V(20, 10), V(10, 10), V(10, 20),
                                              V(0, 20)}),
                              23.691228745043105, 261.0962925005632),
                        0)}),
       {}},
      {"piece far outside the stock",
       MakeSheet(DemoStock(), {Piece(Rect(500, 500, 10, 10), 0)}),
       {{K::kOutsideStock, 0, -1}}},
      {"piece on a defect, another tangent to a defect",
       MakeSheet(DemoStock(), {Piece(Rect(155, 95, 10, 10), 0), Piece(Rect(180, 95, 10, 10), 1),
                               Piece(Shape::Circle(110, 225, 5), 2)}),
       {{K::kOnDefect, 0, 0}}},
      {"circle on the second defect",
       MakeSheet(DemoStock(), {Piece(Shape::Circle(110, 215, 10), 0)}),
       {{K::kOnDefect, 0, 1}}},
      {"piece inside a usable hole of another",
       MakeSheet(PlainStock(), {PartB(100, 100, true, 0), Piece(Shape::Circle(127, 144, 4), 1)}),
       {}},
      {"piece in the arc bulge of a usable hole",
       MakeSheet(PlainStock(), {PartB(100, 100, true, 0), Piece(Shape::Circle(140, 128, 2), 1)}),
       {}},
      {"piece inside a hole that may not receive pieces",
       MakeSheet(PlainStock(), {PartB(100, 100, false, 0), Piece(Shape::Circle(127, 144, 4), 1)}),
       {{K::kOverlap, 0, 1}}},
      {"piece sticking out of a usable hole",
       MakeSheet(PlainStock(), {PartB(100, 100, true, 0), Piece(Shape::Circle(120, 160, 4), 1)}),
       {{K::kOverlap, 0, 1}}},
      {"usable hole over a defect",
       [] {
         Sheet sheet = MakeSheet(PlainStock(), {PartB(100, 100, true, 0)});
         sheet.stock.defects = {Hole{Shape::Circle(127, 144, 4), false, 0.0, 9}};
         return sheet;
       }(),
       {}},
      {"circle stock with a margin",
       [] {
         Stock stock;
         stock.outline = Shape::Circle(0, 0, 100);
         stock.margin = 5;
         return MakeSheet(stock, {Piece(Rect(90, -2, 4, 4), 0), Piece(Rect(92, 10, 5, 4), 1)});
       }(),
       {{K::kOutsideStock, 1, -1}}},
      {"pieces that cannot be rebuilt, next to sound ones",
       MakeSheet(PlainStock(),
                 {Piece(Rect(0, 0, 10, 10), 0),
                  Piece(Shape::Polygon({V(0, 0), V(20, 0), V(20, 10), V(10, -5), V(0, 10)}), 1),
                  Piece(Shape::Polygon({V(0, 0), V(nan, 0), V(0, 1)}), 2),
                  Piece(Shape::Circle(5, 5, 0), 3), Piece(Rect(5, 5, 10, 10), 4)}),
       {{K::kBadPiece, 1, -1}, {K::kBadPiece, 2, -1}, {K::kBadPiece, 3, -1}, {K::kOverlap, 0, 4}}},
      {"stock that cannot be rebuilt",
       [] {
         Stock stock;
         stock.outline = Shape::Polygon({V(0, 0), V(10, 0)});
         return MakeSheet(stock, {Piece(Rect(0, 0, 1, 1), 0)});
       }(),
       {{K::kBadStock, -1, -1}}},
      {"circle stock eaten by its margin",
       [] {
         Stock stock;
         stock.outline = Shape::Circle(0, 0, 10);
         stock.margin = 10;
         return MakeSheet(stock, {Piece(Rect(0, 0, 1, 1), 0)});
       }(),
       {{K::kBadStock, -1, -1}}},
  };
}

TEST(LayoutCheck, KnownLayouts) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    std::vector<Expected> expected = c.expected;
    std::sort(expected.begin(), expected.end());
    const std::vector<Finding> findings = CheckSheet(c.sheet, 0);
    EXPECT_EQ(Kinds(findings), expected);
    for (const Finding& f : findings) {
      EXPECT_FALSE(Describe(f, {c.sheet}).empty());
    }
  }
}

TEST(LayoutCheck, OverlapAreaIsTheSharedArea) {
  const Sheet sheet =
      MakeSheet(PlainStock(), {Piece(Rect(20, 40, 10, 10), 0), Piece(Rect(25, 42, 10, 10), 1)});
  const std::vector<Finding> findings = CheckSheet(sheet, 4);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].sheet, 4);
  EXPECT_NEAR(findings[0].area, 40.0, 1e-9);

  // A circle of radius 4 wholly inside a hole that may not receive it: the
  // whole circle is shared, less at most its flattening (chord tolerance x
  // perimeter).
  const Sheet holed =
      MakeSheet(PlainStock(), {PartB(100, 100, false, 0), Piece(Shape::Circle(127, 144, 4), 1)});
  const std::vector<Finding> inHole = CheckSheet(holed, 0);
  ASSERT_EQ(inHole.size(), 1u);
  EXPECT_NEAR(inHole[0].area, 16.0 * 3.141592653589793, 1e-5 * 300 * 8 * 3.141592653589793);
}

TEST(LayoutCheck, DescriptionNamesSheetPiecesIdsAndDefects) {
  const Sheet overlap =
      MakeSheet(PlainStock(), {Piece(Rect(20, 40, 10, 10), 0), Piece(Rect(25, 40, 10, 10), 1)});
  const std::vector<Finding> a = CheckSheet(overlap, 0);
  ASSERT_EQ(a.size(), 1u);
  const std::string text = Describe(a[0], {overlap});
  EXPECT_NE(text.find("sheet 0"), std::string::npos) << text;
  EXPECT_NE(text.find("id 100"), std::string::npos) << text;
  EXPECT_NE(text.find("id 101"), std::string::npos) << text;

  const Sheet defect = MakeSheet(DemoStock(), {Piece(Rect(155, 95, 10, 10), 0)});
  const std::vector<Finding> b = CheckSheet(defect, 0);
  ASSERT_EQ(b.size(), 1u);
  const std::string onDefect = Describe(b[0], {defect});
  EXPECT_NE(onDefect.find("defect 0 (id 60)"), std::string::npos) << onDefect;
  EXPECT_NE(onDefect.find("stock 0 (id 50)"), std::string::npos) << onDefect;
}

TEST(LayoutCheck, SheetsAreCheckedApart) {
  // The same square on two sheets is no overlap; each sheet's findings carry
  // its own index.
  const Sheet one = MakeSheet(PlainStock(), {Piece(Rect(20, 40, 10, 10), 0)});
  const Sheet two =
      MakeSheet(PlainStock(), {Piece(Rect(20, 40, 10, 10), 0), Piece(Rect(500, 40, 10, 10), 1)});
  const std::vector<Finding> findings = CheckLayout({one, two});
  EXPECT_EQ(Kinds(findings), (std::vector<Expected>{{FindingKind::kOutsideStock, 1, -1}}));
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].sheet, 1);
}

// Random squares and circles, each inside its own cell of a grid and
// touching the cell's left and bottom walls (squares span the whole width, so
// neighbouring squares touch): a valid layout whatever the draw. Moving one
// piece by a whole cell to the right makes it overlap its right neighbour,
// which holds the same bottom-left corner region, and nothing else.
TEST(LayoutCheck, RandomCellLayouts) {
  for (const uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> fraction(0.3, 1.0);
    std::bernoulli_distribution square(0.5);
    const double cell = 20.0;
    const int32_t columns = 10, rows = 10;
    std::vector<PlacedPiece> pieces;
    for (int32_t r = 0; r < rows; ++r) {
      for (int32_t c = 0; c < columns; ++c) {
        const double x = c * cell, y = r * cell;
        const int32_t id = static_cast<int32_t>(pieces.size());
        if (square(random)) {
          pieces.push_back(Piece(Rect(x, y, cell, cell * fraction(random)), id));
        } else {
          const double radius = 0.5 * cell * fraction(random);
          pieces.push_back(Piece(Shape::Circle(x + radius, y + radius, radius), id));
        }
      }
    }
    Sheet sheet = MakeSheet(PlainStock(), pieces);
    sheet.stock.outline = Rect(0, 0, columns * cell, rows * cell);
    EXPECT_TRUE(CheckSheet(sheet, 0).empty());

    std::uniform_int_distribution<int32_t> column(0, columns - 2), row(0, rows - 1);
    const int32_t moved = column(random) + columns * row(random);
    PlacedPiece& piece = sheet.pieces[static_cast<size_t>(moved)];
    piece.outline = Moved(piece.outline, cell, 0.0);
    EXPECT_EQ(Kinds(CheckSheet(sheet, 0)),
              (std::vector<Expected>{{FindingKind::kOverlap, moved, moved + 1}}));
  }
}

}  // namespace
}  // namespace varnest::check
