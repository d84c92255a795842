#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <limits>

#include "varnest/engine/varnest2d.h"

namespace varnest {
namespace {

TEST(Engine, NewEngineHasItsDefaultsAndIsIdle) {
  TVarnest2D engine;
  wchar_t version[40];
  std::wmemset(version, L'#', 40);
  engine.GetVersion(version);
  EXPECT_STREQ(version, L"0.9.5.1.beta");
  EXPECT_EQ(version[13], L'#');  // nothing written past the terminating zero
  EXPECT_TRUE(engine.IsIdle());
  EXPECT_EQ(engine.get_Resolution(), 1.0);
  EXPECT_EQ(engine.get_Precision(), 1e-6);
  EXPECT_EQ(engine.get_CutterDiameter(), 0.0);
  EXPECT_EQ(engine.get_OptimizationLevel(), 1);
  EXPECT_EQ(engine.get_RotationCenter(), 1);
  EXPECT_EQ(engine.get_CutterType(), 0);
  EXPECT_EQ(engine.get_RandomSeed(), 0);
  EXPECT_EQ(engine.get_OptimizationStartingCorner(), 0);
  EXPECT_EQ(engine.get_OptimizationStartingDirection(), 0);
  EXPECT_EQ(engine.get_NumberOfParts(), 0);
  EXPECT_EQ(engine.get_NumberOfStockPieces(), 0);
  int32_t code = -1, index = -1, sub = -1;
  engine.GetErrorInfo(code, index, sub);
  EXPECT_EQ(code + index + sub, 0);
}

TEST(Engine, SettersClampAsDocumented) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct RealCase {
    double given, stored;
  };
  for (const RealCase& c : {RealCase{0.0, 1.0}, RealCase{-2.0, 1.0}, RealCase{nan, 1.0},
                            RealCase{0.1, 0.1}, RealCase{250.0, 250.0}}) {
    TVarnest2D engine;
    engine.set_Resolution(c.given);
    EXPECT_EQ(engine.get_Resolution(), c.stored) << c.given;
  }
  struct IntCase {
    void (TVarnest2D::*set)(int32_t);
    int32_t (TVarnest2D::*get)() const;
    int32_t given, stored;
  };
  const IntCase cases[] = {
      {&TVarnest2D::set_OptimizationLevel, &TVarnest2D::get_OptimizationLevel, 0, 1},
      {&TVarnest2D::set_OptimizationLevel, &TVarnest2D::get_OptimizationLevel, -5, 1},
      {&TVarnest2D::set_OptimizationLevel, &TVarnest2D::get_OptimizationLevel, 10000, 10000},
      {&TVarnest2D::set_OptimizationStartingCorner, &TVarnest2D::get_OptimizationStartingCorner, 3, 3},
      {&TVarnest2D::set_OptimizationStartingCorner, &TVarnest2D::get_OptimizationStartingCorner, 4, 0},
      {&TVarnest2D::set_OptimizationStartingCorner, &TVarnest2D::get_OptimizationStartingCorner, -1, 0},
      // An out-of-range direction falls back to 1, although the default is 0.
      {&TVarnest2D::set_OptimizationStartingDirection, &TVarnest2D::get_OptimizationStartingDirection, 1, 1},
      {&TVarnest2D::set_OptimizationStartingDirection, &TVarnest2D::get_OptimizationStartingDirection, 2, 1},
      {&TVarnest2D::set_OptimizationStartingDirection, &TVarnest2D::get_OptimizationStartingDirection, -1, 1},
      {&TVarnest2D::set_RotationCenter, &TVarnest2D::get_RotationCenter, -7, -7},
      {&TVarnest2D::set_CutterType, &TVarnest2D::get_CutterType, 9, 9},
      {&TVarnest2D::set_RandomSeed, &TVarnest2D::get_RandomSeed, -12345, -12345},
  };
  for (const IntCase& c : cases) {
    TVarnest2D engine;
    (engine.*c.set)(c.given);
    EXPECT_EQ((engine.*c.get)(), c.stored) << c.given;
  }
  TVarnest2D engine;
  engine.set_Precision(nan);
  EXPECT_TRUE(std::isnan(engine.get_Precision()));
  engine.set_CutterDiameter(-3.0);
  EXPECT_EQ(engine.get_CutterDiameter(), -3.0);
}

// Inside a run only the random seed may change; every other setter and every
// definition call is ignored.
struct RunProbe {
  TVarnest2D* engine = nullptr;
  int searchStarts = 0;
  int finishes = 0;
  bool idleInSearchStart = true;
  bool idleInFinish = false;
};

void TrySettersDuringRun(void* data) {
  auto* probe = static_cast<RunProbe*>(data);
  TVarnest2D& engine = *probe->engine;
  ++probe->searchStarts;
  probe->idleInSearchStart = engine.IsIdle();
  engine.set_CutterDiameter(5.0);
  engine.set_Resolution(0.5);
  engine.set_OptimizationLevel(50);
  engine.set_OptimizationStartingCorner(2);
  engine.set_OptimizationStartingDirection(1);
  engine.set_RandomSeed(77);
  engine.set_NumberOfParts(0);
  engine.SetPartVertex(0, 0, 99.0, 99.0, 99);
  engine.set_NumberOfStockPieces(3);
}

void NoteFinish(void* data) {
  auto* probe = static_cast<RunProbe*>(data);
  ++probe->finishes;
  probe->idleInFinish = probe->engine->IsIdle();
  // Inside OnFinish the problem is still there.
  EXPECT_EQ(probe->engine->get_NumberOfParts(), 1);
  EXPECT_EQ(probe->engine->get_NumberOfStockPieces(), 1);
}

void DefineTinyProblem(TVarnest2D& engine) {
  engine.set_NumberOfStockPieces(1);
  engine.SetStock(0, 0, 4, 0, 0, 0, 0, 0.0, 0, 0);
  const double stock[4][2] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  for (int32_t v = 0; v < 4; ++v) engine.SetStockVertex(0, v, stock[v][0], stock[v][1], v);
  engine.set_NumberOfParts(1);
  engine.SetPart(0, 0, 4, 0, 0, 0, 0, 0.0, 0, 0, 0, 0, 0);
  const double part[4][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  for (int32_t v = 0; v < 4; ++v) engine.SetPartVertex(0, v, part[v][0], part[v][1], v);
}

TEST(Engine, CallsFromInsideARunAreIgnoredButTheSeed) {
  TVarnest2D engine;
  RunProbe probe;
  probe.engine = &engine;
  engine.OnSearchStart = TrySettersDuringRun;
  engine.OnSearchStartData = &probe;
  engine.OnFinish = NoteFinish;
  engine.OnFinishData = &probe;
  DefineTinyProblem(engine);
  engine.Execute();

  EXPECT_EQ(probe.searchStarts, 1);
  EXPECT_EQ(probe.finishes, 1);
  EXPECT_FALSE(probe.idleInSearchStart);
  EXPECT_TRUE(probe.idleInFinish);
  EXPECT_EQ(engine.get_CutterDiameter(), 0.0);
  EXPECT_EQ(engine.get_Resolution(), 1.0);
  EXPECT_EQ(engine.get_OptimizationLevel(), 1);
  EXPECT_EQ(engine.get_OptimizationStartingCorner(), 0);
  EXPECT_EQ(engine.get_OptimizationStartingDirection(), 0);
  EXPECT_EQ(engine.get_RandomSeed(), 77);
  // A run consumes its problem; the parameters stay.
  EXPECT_TRUE(engine.IsIdle());
  EXPECT_EQ(engine.get_NumberOfParts(), 0);
  EXPECT_EQ(engine.get_NumberOfStockPieces(), 0);
}

TEST(Engine, RunWithoutPartsOrStocksMakesNoCallbackAndKeepsTheDefinition) {
  for (bool withStock : {true, false}) {
    TVarnest2D engine;
    RunProbe probe;
    probe.engine = &engine;
    engine.OnSearchStart = TrySettersDuringRun;
    engine.OnSearchStartData = &probe;
    engine.OnFinish = NoteFinish;
    engine.OnFinishData = &probe;
    if (withStock) {
      engine.set_NumberOfStockPieces(2);
    } else {
      engine.set_NumberOfParts(2);
    }
    engine.Execute();
    EXPECT_EQ(probe.searchStarts + probe.finishes, 0);
    EXPECT_TRUE(engine.IsIdle());
    EXPECT_EQ(engine.get_NumberOfStockPieces() + engine.get_NumberOfParts(), 2);
  }
}

}  // namespace
}  // namespace varnest
