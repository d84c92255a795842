// Parts nested inside the holes of other parts when the cutter is kept out of
// the holes (cutter type 1): every hole is shrunk by the cutter before its
// grid is built, and a hole with arc edges must still have room left.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/flatten.h"
#include "check/layout_check.h"
#include "varnest/engine/varnest2d.h"
#include "tests/engine/collected_run.h"

namespace varnest {
namespace {

namespace bg = boost::geometry;
using testing_support::Nest;

constexpr double kCutter = 3.0;
constexpr int32_t kSquares = 12;

// A 100 x 60 frame around an 80 x 40 hole with corners of radius 2, marked
// for nesting, and twelve 8 x 8 squares, on a stock that holds the frame with
// no room for a square beside it under either cutter type: every square
// placed lies in the hole.
void DefineFrameAndSquares(TVarnest2D& engine, int32_t cutterType) {
  engine.set_CutterDiameter(kCutter);
  engine.set_CutterType(cutterType);
  engine.set_Resolution(0.5);
  engine.set_OptimizationLevel(2);
  engine.set_NumberOfStockPieces(1);
  engine.SetStock(0, 0, 4, 0, 0, 0, 0, 0.0, 0, 0);
  const double stock[4][2] = {{0, 0}, {108, 0}, {108, 68}, {0, 68}};
  for (int32_t v = 0; v < 4; ++v) engine.SetStockVertex(0, v, stock[v][0], stock[v][1], v);

  engine.set_NumberOfParts(1 + kSquares);
  engine.SetPart(0, 0, 4, 0, 0, 0, 1, 0.0, 0, 0, 0, 0, 0);
  const double frame[4][2] = {{0, 0}, {100, 0}, {100, 60}, {0, 60}};
  for (int32_t v = 0; v < 4; ++v) engine.SetPartVertex(0, v, frame[v][0], frame[v][1], v);
  // The hole's corners are quarter circles about points 2 inside its box.
  engine.SetPartHole(0, 0, 0, 8, 0, 0, 0, 1, 0);
  const double hole[8][2] = {{12, 10}, {88, 10}, {90, 12}, {90, 48},
                             {88, 50}, {12, 50}, {10, 48}, {10, 12}};
  for (int32_t v = 0; v < 8; ++v) engine.SetPartHoleVertex(0, 0, v, hole[v][0], hole[v][1], v);
  const double centres[4][2] = {{88, 12}, {88, 48}, {12, 48}, {12, 12}};
  for (int32_t c = 0; c < 4; ++c) {
    engine.SetPartHoleArc(0, 0, 2 * c + 1, centres[c][0], centres[c][1], 0, c);
  }

  const double square[4][2] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
  for (int32_t i = 1; i <= kSquares; ++i) {
    engine.SetPart(i, 0, 4, 0, 0, 0, 0, 0.0, 0, 0, 0, 0, i);
    for (int32_t v = 0; v < 4; ++v) engine.SetPartVertex(i, v, square[v][0], square[v][1], v);
  }
}

check::Polygon Flat(const check::Shape& shape, check::Bias bias) {
  const check::FlatShape flat = check::FlattenShape(shape, bias, 1e-6);
  EXPECT_EQ(flat.status, check::FlattenStatus::kOk);
  return flat.polygon;
}

struct TNested {
  size_t inHole = 0;
  std::vector<check::Sheet> sheets;
};

// Runs the problem and counts the squares placed in the frame's hole; each
// of them must keep the cutter's distance from the hole's edge.
TNested NestInFrame(int32_t cutterType) {
  TNested result;
  result.sheets = Nest([&](TVarnest2D& engine) { DefineFrameAndSquares(engine, cutterType); });
  if (result.sheets.size() != 1) return result;
  const check::Sheet& sheet = result.sheets[0];
  const check::PlacedPiece* frame = nullptr;
  for (const check::PlacedPiece& piece : sheet.pieces) {
    if (piece.partIndex == 0) frame = &piece;
  }
  if (frame == nullptr || frame->holes.size() != 1) return result;
  const check::Polygon hole = Flat(frame->holes[0].shape, check::Bias::kGrow);
  const bg::model::linestring<check::Point> edge(hole.outer().begin(), hole.outer().end());
  for (const check::PlacedPiece& piece : sheet.pieces) {
    if (piece.partIndex == 0) continue;
    const check::Polygon square = Flat(piece.outline, check::Bias::kShrink);
    if (!bg::within(square, hole)) continue;
    ++result.inHole;
    EXPECT_GE(bg::distance(square, edge), kCutter - 1e-6)
        << "part " << piece.partIndex << " comes closer than the cutter to the hole's edge";
  }
  return result;
}

// Under cutter type 0 the squares are grown by the cutter (14 x 14) and the
// hole takes ten of them. Under type 1 the hole shrinks by the cutter to
// 74 x 34 (its corners turn sharp) and the squares keep the cutter's distance
// from each other: it takes all twelve.
TEST(CutterHoles, RoundedHoleTakesSquaresUnderEitherCutterType) {
  struct Case {
    int32_t cutterType;
    size_t inHole;
  };
  for (const Case& c : {Case{0, 10}, Case{1, 12}}) {
    SCOPED_TRACE("cutter type " + std::to_string(c.cutterType));
    const TNested nested = NestInFrame(c.cutterType);
    ASSERT_EQ(nested.sheets.size(), 1u);
    EXPECT_EQ(nested.inHole, c.inHole);
    EXPECT_EQ(nested.sheets[0].pieces.size(), 1 + c.inHole);  // the frame and the squares in it
    for (const check::Finding& finding : check::CheckLayout(nested.sheets)) {
      ADD_FAILURE() << check::Describe(finding, nested.sheets);
    }
  }
}

}  // namespace
}  // namespace varnest
