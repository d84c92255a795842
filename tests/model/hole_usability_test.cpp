#include <gtest/gtest.h>

#include "varnest/model/hole_usability.h"
#include "tests/geometry/shape_corpus.h"

namespace varnest {
namespace {

using corpus::MakePolygon;
using corpus::Measured;

TTrueHole Square(double size, uint8_t nestInside) {
  TTrueHole hole;
  hole.FNestInside = nestInside;
  hole.FUsable = nestInside;
  hole.FShape.FPolygon = Measured(MakePolygon({{0, 0}, {size, 0}, {size, size}, {0, size}}));
  hole.FShape.ComputeBoundingBox(corpus::kPrecision);
  return hole;
}

// A prepared part with one kept rotation whose holes are the given ones.
part2d_any PartWithHoles(std::vector<TTrueHole> holes, double width, double height) {
  part2d_any part;
  part.FShapeType = kShapePolygon;
  part.FNumberOfHoles = static_cast<int32_t>(holes.size());
  part.FHoles = holes;
  part.FNumberOfRotations = 1;
  part.FRotatedHoles.push_back(holes);
  part.FShiftedHoles.push_back(holes);
  TOffsetPolygon grown;
  grown.FWidth = width;
  grown.FHeight = height;
  part.FOffsetOutlines.push_back(grown);
  part.FRotatedOutlines.push_back(TPolygon());
  return part;
}

part2d_any Circle(double radius, int32_t rotations) {
  part2d_any part;
  part.FShapeType = kShapeCircle;
  part.FCircle = TCircle({0, 0}, radius);
  part.FNumberOfRotations = rotations;
  return part;
}

stock2d_any StockWithDefect(double size) {
  stock2d_any stock;
  stock.FShapeType = kShapePolygon;
  stock.FNumberOfHoles = 1;
  stock.FHoles.push_back(Square(size, 0));
  return stock;
}

void ExpectUsable(const part2d_any& part, size_t h, uint8_t usable, const char* what) {
  EXPECT_EQ(part.FHoles[h].FUsable, usable) << what;
  EXPECT_EQ(part.FRotatedHoles[0][h].FUsable, usable) << what;
  EXPECT_EQ(part.FShiftedHoles[0][h].FUsable, usable) << what;
}

TEST(CheckHoleUsability, HolesOfThirtyByThirty) {
  struct Case {
    const char* name;
    part2d_array_any others;
    stock2d_array_any stocks;
    uint8_t usable;
  };
  const Case cases[] = {
      {"a grown box of 30 x 20 fits", {PartWithHoles({}, 30, 20)}, {}, 1},
      {"every grown box wider than 30", {PartWithHoles({}, 30.5, 5)}, {}, 0},
      {"a defect of 20 x 20 fits", {PartWithHoles({}, 31, 5)}, {StockWithDefect(20)}, 1},
      {"a defect of 30 x 30 fits", {}, {StockWithDefect(30)}, 1},
      {"a defect too large", {}, {StockWithDefect(31)}, 0},
      {"a circle of diameter 30", {Circle(15, 1)}, {}, 1},
      {"a circle too large", {Circle(15.1, 1)}, {}, 0},
      {"a part left out of the run fits nothing", {Circle(2, 0)}, {}, 0},
      {"a defect never given has no size", {}, {[] {
                                               stock2d_any s = StockWithDefect(5);
                                               s.FHoles[0].FShape.FPolygon.reset();
                                               return s;
                                             }()},
       0},
  };
  for (const Case& c : cases) {
    // The holder's own grown box (40 x 40) never fits its hole.
    part2d_array_any parts{PartWithHoles({Square(30, 1), Square(30, 0)}, 40, 40)};
    parts.insert(parts.end(), c.others.begin(), c.others.end());
    CheckHoleUsability(parts, c.stocks);
    ExpectUsable(parts[0], 0, c.usable, c.name);
    ExpectUsable(parts[0], 1, 0, c.name);  // not for nesting: stays 0
  }
}

TEST(CheckHoleUsability, SwallowedHoleIsNotUsable) {
  part2d_array_any parts{PartWithHoles({Square(30, 1)}, 40, 40), PartWithHoles({}, 10, 10)};
  parts[0].FShiftedHoles[0][0].FShape.FPolygon = TPolygon();  // emptied by the cutter
  parts[0].FRotatedHoles[0][0].FShape.FPolygon = TPolygon();
  CheckHoleUsability(parts, {});
  ExpectUsable(parts[0], 0, 0, "swallowed");
}

}  // namespace
}  // namespace varnest
