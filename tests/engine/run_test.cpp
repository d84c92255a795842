#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "varnest/engine/varnest2d.h"
#include "fixtures/demo_problem.h"

namespace varnest {
namespace {

// Everything a client can read about a finished run, gathered in OnFinish.
struct PlacedPiece {
  int32_t type, vertices, mirrored, holes, partIndex, partId;
  double angle, x, y, cx, cy, r;
  std::vector<double> coordinates;  // every vertex and arc centre, in order
};

struct Sheet {
  int32_t stockIndex = -1, stockId = -1;
  double utilization = 0.0;
  std::vector<PlacedPiece> pieces;
};

struct RunRecord {
  TVarnest2D* engine = nullptr;
  int searchStarts = 0, iterations = 0, finishes = 0;
  int iterationsBeforeSearchStart = 0;
  int stopAtIteration = -1;  // request a stop in this OnIteration call
  bool stopInSearchStart = false;
  int32_t seedInSearchStart = -1;
  std::vector<Sheet> sheets;
  int32_t placed = -1;
  double time = -1.0;
};

void OnStart(void* data) {
  auto* run = static_cast<RunRecord*>(data);
  ++run->searchStarts;
  run->iterationsBeforeSearchStart = run->iterations;
  if (run->seedInSearchStart >= 0) run->engine->set_RandomSeed(run->seedInSearchStart);
  if (run->stopInSearchStart) run->engine->RequestStop();
}

void OnIteration(void* data) {
  auto* run = static_cast<RunRecord*>(data);
  ++run->iterations;
  // Neither setters nor definition calls do anything while the search runs.
  run->engine->set_OptimizationLevel(500);
  run->engine->set_NumberOfParts(0);
  if (run->iterations == run->stopAtIteration) run->engine->RequestStop();
}

void OnFinish(void* data) {
  auto* run = static_cast<RunRecord*>(data);
  ++run->finishes;
  TVarnest2D& e = *run->engine;
  run->engine->GetOptimizationTime(run->time);
  int32_t count = -1;
  e.GetSheetCount(count);
  for (int32_t s = 0; s < count; ++s) {
    Sheet sheet;
    int32_t n = 0, type = 0;
    e.GetSheetStock(s, type, sheet.stockIndex, sheet.stockId);
    e.GetSheetPartCount(s, n, sheet.stockIndex, sheet.stockId);
    e.GetSheetUtilization(s, sheet.utilization, sheet.stockIndex, sheet.stockId);
    for (int32_t p = 0; p < n; ++p) {
      PlacedPiece piece{};
      int32_t stockIndex, stockId;
      e.GetPlacedPart(s, p, piece.type, piece.vertices, piece.cx, piece.cy, piece.r, piece.angle,
                      piece.mirrored, piece.holes, piece.x, piece.y, stockIndex,
                      piece.partIndex, stockId, piece.partId);
      for (int32_t v = 0; v < piece.vertices; ++v) {
        int32_t isArc, clockwise, partIndex, partId, vertexId;
        double x, y, cx, cy;
        e.GetPlacedPartVertex(s, p, v, isArc, x, y, cx, cy, clockwise, stockIndex, partIndex,
                              stockId, partId, vertexId);
        piece.coordinates.insert(piece.coordinates.end(), {x, y});
        if (isArc) piece.coordinates.insert(piece.coordinates.end(), {cx, cy});
      }
      sheet.pieces.push_back(piece);
    }
    run->sheets.push_back(sheet);
  }
  e.GetTotalNumberOfUtilizedDemandPieces(run->placed);
}

RunRecord RunDemo(const fixtures::DemoSettings& settings, TVarnest2D* reuse = nullptr,
                  RunRecord run = {}) {
  TVarnest2D local;
  TVarnest2D& engine = reuse ? *reuse : local;
  run.engine = &engine;
  engine.OnSearchStart = OnStart;
  engine.OnSearchStartData = &run;
  engine.OnIteration = OnIteration;
  engine.OnIterationData = &run;
  engine.OnFinish = OnFinish;
  engine.OnFinishData = &run;
  fixtures::DefineDemoProblem(engine, settings);
  engine.Execute();
  run.engine = nullptr;
  return run;
}

bool SameLayout(const RunRecord& a, const RunRecord& b) {
  if (a.sheets.size() != b.sheets.size()) return false;
  for (size_t s = 0; s < a.sheets.size(); ++s) {
    const Sheet& x = a.sheets[s];
    const Sheet& y = b.sheets[s];
    if (x.stockIndex != y.stockIndex || x.pieces.size() != y.pieces.size()) return false;
    for (size_t p = 0; p < x.pieces.size(); ++p) {
      const PlacedPiece& u = x.pieces[p];
      const PlacedPiece& v = y.pieces[p];
      if (u.partIndex != v.partIndex || u.angle != v.angle || u.mirrored != v.mirrored ||
          u.x != v.x || u.y != v.y || u.cx != v.cx || u.cy != v.cy ||
          u.coordinates != v.coordinates)
        return false;
    }
  }
  return true;
}

TEST(Run, TheDemoProblemNestsWithCallbacksInOrder) {
  const RunRecord run = RunDemo({});
  EXPECT_EQ(run.searchStarts, 1);
  EXPECT_EQ(run.finishes, 1);
  EXPECT_EQ(run.iterationsBeforeSearchStart, 0);
  EXPECT_GT(run.iterations, 0);
  ASSERT_EQ(run.sheets.size(), 1u);
  EXPECT_EQ(run.sheets[0].stockIndex, 0);
  EXPECT_GT(run.sheets[0].pieces.size(), 10u);
  EXPECT_EQ(run.placed, static_cast<int32_t>(run.sheets[0].pieces.size()));
  EXPECT_GT(run.sheets[0].utilization, 0.3);
  EXPECT_LE(run.sheets[0].utilization, 1.0);
  EXPECT_GE(run.time, 0.0);
}

TEST(Run, SameSeedSameLayoutInTwoEnginesAndTwoRuns) {
  const fixtures::DemoSettings settings{90.0, 1, 0, 0, 3};
  const RunRecord first = RunDemo(settings);
  const RunRecord second = RunDemo(settings);
  TVarnest2D engine;
  const RunRecord third = RunDemo(settings, &engine);
  const RunRecord fourth = RunDemo(settings, &engine);  // a second run of a new definition
  EXPECT_TRUE(SameLayout(first, second));
  EXPECT_TRUE(SameLayout(first, third));
  EXPECT_TRUE(SameLayout(first, fourth));
  EXPECT_EQ(engine.get_NumberOfParts(), 0);
  EXPECT_EQ(engine.get_OptimizationLevel(), 3);  // the callbacks' setter was ignored
}

TEST(Run, AStopInSearchStartGivesNoLayoutButFinishes) {
  RunRecord run;
  run.stopInSearchStart = true;
  run = RunDemo({}, nullptr, run);
  EXPECT_EQ(run.finishes, 1);
  EXPECT_EQ(run.iterations, 0);
  EXPECT_TRUE(run.sheets.empty());
  EXPECT_EQ(run.placed, 0);
}

TEST(Run, AStopInIterationEndsEarlyWithTheBestLayoutSoFar) {
  const fixtures::DemoSettings settings{0.0, 0, 0, 0, 30};
  const RunRecord full = RunDemo(settings);
  RunRecord stopped;
  stopped.stopAtIteration = 5;
  stopped = RunDemo(settings, nullptr, stopped);
  // The search looks at the flag after the call that raised it and once more
  // at the top of the next generation, where it ends.
  EXPECT_LE(stopped.iterations, 6);
  EXPECT_LT(stopped.iterations, full.iterations);
  ASSERT_EQ(stopped.sheets.size(), 1u);
  EXPECT_GT(stopped.sheets[0].pieces.size(), 0u);
}

TEST(Run, TheSeedSetInSearchStartIsTheOneTheSearchUses) {
  const fixtures::DemoSettings settings{0.0, 0, 0, 0, 28};
  RunRecord reseeded;
  reseeded.seedInSearchStart = 4242;
  reseeded = RunDemo(settings, nullptr, reseeded);
  TVarnest2D engine;
  engine.set_RandomSeed(4242);
  RunRecord direct;
  direct.engine = &engine;
  engine.OnFinish = OnFinish;
  engine.OnFinishData = &direct;
  fixtures::SetDemoParameters(engine, settings);
  engine.set_RandomSeed(4242);  // the demo parameters reset it to 0
  fixtures::DefineDemoStock(engine);
  fixtures::DefineDemoParts(engine, settings.rotationStep, settings.allowMirror);
  engine.Execute();
  EXPECT_TRUE(SameLayout(reseeded, direct));
}

TEST(Run, AfterExecuteNothingOfTheRunRemains) {
  TVarnest2D engine;
  RunDemo({}, &engine);
  EXPECT_EQ(engine.get_NumberOfParts(), 0);
  EXPECT_EQ(engine.get_NumberOfStockPieces(), 0);
  double time = -1.0;
  engine.GetOptimizationTime(time);
  EXPECT_EQ(time, 0.0);
  int32_t type = -5, stockIndex = -5, stockId = -5;
  engine.GetSheetStock(0, type, stockIndex, stockId);
  EXPECT_EQ(stockIndex, 0);  // "the number of stocks", now 0
  int32_t placed = -1;
  engine.GetTotalNumberOfUtilizedDemandPieces(placed);
  EXPECT_GT(placed, 0);  // kept until the next run
  int32_t code = -1, index = -1, sub = -1;
  engine.GetErrorInfo(code, index, sub);
  EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace varnest
