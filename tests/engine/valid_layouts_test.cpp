// Layouts judged by the independent check rather than by the engine itself:
// the demonstration problem in every packing setting a user can pick, and
// shapes whose heights are not whole strips packed from every corner.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "check/flatten.h"
#include "check/layout_check.h"
#include "varnest/engine/varnest2d.h"
#include "fixtures/demo_problem.h"
#include "tests/engine/collected_run.h"

namespace varnest {
namespace {

using testing_support::Nest;

void ExpectNoFindings(const std::vector<check::Sheet>& sheets) {
  for (const check::Finding& finding : check::CheckLayout(sheets)) {
    ADD_FAILURE() << check::Describe(finding, sheets);
  }
}

// Outline area minus the area of every hole, whatever the hole is for.
double NetArea(const check::Shape& outline, const std::vector<check::Hole>& holes) {
  double area = std::abs(check::ExactArea(outline));
  for (const check::Hole& hole : holes) area -= std::abs(check::ExactArea(hole.shape));
  return area;
}

// A kept rotation is a whole multiple of the step below a full turn; a part
// without a step is never turned.
bool IsKeptRotation(double angle, double step) {
  if (step == 0.0) return angle == 0.0;
  const double multiple = angle / step;
  return multiple >= 0.0 && multiple < 360.0 / step &&
         std::abs(multiple - std::round(multiple)) < 1e-9;
}

std::string Name(const fixtures::DemoSettings& s) {
  return "step" + std::to_string(static_cast<int>(s.rotationStep)) + "_mirror" +
         std::to_string(s.allowMirror) + "_corner" + std::to_string(s.corner) + "_direction" +
         std::to_string(s.direction) + "_level" + std::to_string(s.level);
}

class DemoSettings : public testing::TestWithParam<fixtures::DemoSettings> {};

TEST_P(DemoSettings, EveryLayoutIsValidAndReportedTruly) {
  const fixtures::DemoSettings settings = GetParam();
  const std::vector<check::Sheet> sheets =
      Nest([&](TVarnest2D& engine) { fixtures::DefineDemoProblem(engine, settings); });
  ASSERT_EQ(sheets.size(), 1u);  // one stock
  const check::Sheet& sheet = sheets[0];
  // The sheet is large enough that every setting places a fair share.
  EXPECT_GE(sheet.pieces.size(), 20u);

  ExpectNoFindings(sheets);

  double placedArea = 0.0;
  for (const check::PlacedPiece& piece : sheet.pieces) {
    // Circles (parts 40 to 79) have no step; the polygons have the setting's.
    const double step = piece.partIndex >= 40 ? 0.0 : settings.rotationStep;
    EXPECT_TRUE(IsKeptRotation(piece.angle, step))
        << "part " << piece.partIndex << " at " << piece.angle << " degrees";
    if (!settings.allowMirror) {
      EXPECT_FALSE(piece.mirrored) << "part " << piece.partIndex;
    }
    placedArea += NetArea(piece.outline, piece.holes);
  }
  const double stockArea = NetArea(sheet.stock.outline, sheet.stock.defects);
  EXPECT_NEAR(sheet.utilization, placedArea / stockArea, 1e-9);
}

std::vector<fixtures::DemoSettings> EverySettingAtLevelOne() {
  std::vector<fixtures::DemoSettings> settings;
  for (double step : {0.0, 45.0, 90.0, 180.0}) {
    for (int32_t mirror : {0, 1}) {
      for (int32_t corner = 0; corner < 4; ++corner) {
        for (int32_t direction : {0, 1}) settings.push_back({step, mirror, corner, direction, 1});
      }
    }
  }
  return settings;
}

INSTANTIATE_TEST_SUITE_P(LevelOne, DemoSettings, testing::ValuesIn(EverySettingAtLevelOne()),
                         [](const auto& param) { return Name(param.param); });

// A longer search explores far more orders and orientation masks than level 1.
INSTANTIATE_TEST_SUITE_P(LevelThirty, DemoSettings,
                         testing::Values(fixtures::DemoSettings{180.0, 1, 2, 1, 30},
                                         fixtures::DemoSettings{90.0, 0, 3, 0, 30}),
                         [](const auto& param) { return Name(param.param); });

// A column of squares in a stock one square wide whose height ends 0.95 into
// its last strip: starting from a top corner, the grids are flipped about the
// top of that strip, and the squares must be mapped back about it too, or the
// lowest one hangs out of the stock by most of a strip.
TEST(ValidLayouts, ShapesThatAreNotWholeStripsPackFromEveryCorner) {
  constexpr double kSide = 3.9;    // four strips of 1.0, the last one 0.9 full
  constexpr double kLong = 28.05;  // 29 strips; the top one is blocked
  for (int32_t direction : {0, 1}) {
    for (int32_t corner = 0; corner < 4; ++corner) {
      SCOPED_TRACE("corner " + std::to_string(corner) + " direction " +
                   std::to_string(direction));
      // Strips run across the column in either direction.
      const double w = direction == 0 ? 4.0 : kLong;
      const double h = direction == 0 ? kLong : 4.0;
      const std::vector<check::Sheet> sheets = Nest([&](TVarnest2D& engine) {
        engine.set_Resolution(1.0);
        engine.set_OptimizationStartingCorner(corner);
        engine.set_OptimizationStartingDirection(direction);
        engine.set_NumberOfStockPieces(1);
        engine.SetStock(0, 0, 4, 0, 0, 0, 0, 0.0, 0, 0);
        const double stock[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
        for (int32_t v = 0; v < 4; ++v) engine.SetStockVertex(0, v, stock[v][0], stock[v][1], v);
        engine.set_NumberOfParts(8);
        const double square[4][2] = {{0, 0}, {kSide, 0}, {kSide, kSide}, {0, kSide}};
        for (int32_t i = 0; i < 8; ++i) {
          engine.SetPart(i, 0, 4, 0, 0, 0, 0, 0.0, 0, 0, 0, 0, i);
          for (int32_t v = 0; v < 4; ++v) {
            engine.SetPartVertex(i, v, square[v][0], square[v][1], v);
          }
        }
      });
      ASSERT_EQ(sheets.size(), 1u);
      // Seven squares take 28 strips: every free strip.
      EXPECT_EQ(sheets[0].pieces.size(), 7u);
      ExpectNoFindings(sheets);
    }
  }
}

}  // namespace
}  // namespace varnest
