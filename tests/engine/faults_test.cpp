// Problems beyond the demonstration that once gave layouts through defects
// and neighbours, runs that never ended, or allocations that would end the
// host program. Each layout is judged by the independent check.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "check/collect.h"
#include "check/flatten.h"
#include "check/layout_check.h"
#include "cli/engine_problem.h"
#include "cli/problem.h"
#include "varnest/engine/varnest2d.h"
#include "fixtures/demo_problem.h"
#include "fixtures/problem_entries.h"
#include "fixtures/shapes.h"
#include "varnest/model/error_info.h"
#include "varnest/model/run_limits.h"

namespace varnest {
namespace {

using fixtures::ArcFrom;
using fixtures::Circle;
using fixtures::Part;
using fixtures::Polygon;
using fixtures::Rect;
using fixtures::Stock;
using fixtures::V;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// What a client learns from one run.
struct Outcome {
  TVarnest2D* engine = nullptr;
  int searchStarts = 0;
  int finishes = 0;
  int32_t code = 0, index = 0, subIndex = 0;
  int32_t placed = 0;
  std::vector<check::Sheet> sheets;
};

void OnStart(void* data) { ++static_cast<Outcome*>(data)->searchStarts; }

void OnFinished(void* data) {
  auto& outcome = *static_cast<Outcome*>(data);
  ++outcome.finishes;
  outcome.engine->GetErrorInfo(outcome.code, outcome.index, outcome.subIndex);
  outcome.engine->GetTotalNumberOfUtilizedDemandPieces(outcome.placed);
  outcome.sheets = check::CollectSheets(*outcome.engine);
}

Outcome Nest(TVarnest2D& engine, const std::function<void(TVarnest2D&)>& define) {
  Outcome outcome;
  outcome.engine = &engine;
  engine.OnSearchStart = OnStart;
  engine.OnSearchStartData = &outcome;
  engine.OnFinish = OnFinished;
  engine.OnFinishData = &outcome;
  define(engine);
  engine.Execute();
  return outcome;
}

Outcome Nest(const cli::Problem& problem) {
  TVarnest2D engine;
  return Nest(engine, [&](TVarnest2D& e) {
    cli::ApplyParameters(e, problem.parameters);
    cli::DefineProblem(e, problem);
  });
}

// Every finding of the independent check fails the test, with the case named.
void ExpectValid(const Outcome& outcome, const std::string& name) {
  for (const check::Finding& finding : check::CheckLayout(outcome.sheets)) {
    ADD_FAILURE() << name << ": " << check::Describe(finding, outcome.sheets);
  }
}

// --- Pieces where they must not be -------------------------------------------

struct LayoutCase {
  std::string name;
  cli::Problem problem;
  int32_t placed;  // parts the run must place
  int32_t code;    // the input check's finding
};

cli::Problem Problem(std::vector<cli::StockEntry> stocks, std::vector<cli::PartEntry> parts,
                     cli::Parameters parameters = {}) {
  cli::Problem problem;
  problem.stocks = std::move(stocks);
  problem.parts = std::move(parts);
  problem.parameters = parameters;
  return problem;
}

cli::Parameters Settings(double resolution, int32_t corner = 0, int32_t direction = 0) {
  cli::Parameters parameters;
  parameters.resolution = resolution;
  parameters.corner = corner;
  parameters.direction = direction;
  return parameters;
}

std::vector<LayoutCase> LayoutCases() {
  std::vector<LayoutCase> cases;
  // A defect across the edge of a circle stock: the part of the sheet beyond
  // the defect's far side used to count as free.
  cases.push_back({"defect across a circle stock's edge",
                   Problem({Stock(Circle(75, 75, 75), {Rect(0, 0, 60, 60)}, 2.0)},
                           {Part(Rect(0, 0, 4, 4), 6)}, Settings(1.0, 1)),
                   6, kErrorDefectCrossing});
  // Two defects that overlap: their overlap used to count as free.
  cases.push_back({"overlapping defects",
                   Problem({Stock(Rect(0, 0, 60, 100), {Rect(0, 0, 40, 40), Rect(10, 10, 50, 50)})},
                           {Part(Rect(0, 0, 8, 8), 30)}, Settings(1.0)),
                   30, kErrorDefectCrossing});
  // A mirrored piece packed along y used to land up to a strip away from
  // where its grid was proven free: onto the defect, or off the sheet.
  for (int32_t corner = 0; corner < 4; ++corner) {
    cases.push_back({"mirrored triangle along y from corner " + std::to_string(corner),
                     Problem({Stock(Rect(0, 0, 3, 12), {Circle(0.5, 3, 0.3)})},
                             {Part(Polygon({V(0, 0), V(2.1, 0), V(0, 10)}), 1, 0.0, true)},
                             Settings(1.0, corner, 1)),
                     1, kErrorNone});
  }
  // A circle given as a polygon of one vertex and a full-turn arc: its four
  // copies used to land on one spot.
  cases.push_back({"circle as a one-vertex polygon",
                   Problem({Stock(Rect(0, 0, 100, 30))}, {Part(Polygon({ArcFrom(10, 0, 0, 0)}), 4)},
                           Settings(0.5)),
                   4, kErrorNone});
  // An arc whose centre is not on the bisector of its ends runs on its
  // circle to the angle of its end and straight on to the end vertex, as it
  // is drawn; the raster used to follow the circle the whole way.
  cases.push_back(
      {"arc whose centre is off its bisector",
       Problem({Stock(Polygon({V(0, 0), V(40, 0), ArcFrom(40, 35, 40, 17.5, false), V(0, 35)}))},
               {Part(Rect(0, 0, 3, 3), 60)}, Settings(1.0, 3, 1)),
       60, kErrorNone});
  // A closing arc that bulges across another edge: such parts used to be
  // placed wholly outside a sheet whose right side is an arc. They are left
  // out now; the square beside them still nests.
  cases.push_back(
      {"outline that crosses itself",
       Problem({Stock(Polygon({V(0, 0), ArcFrom(100, 0, 100, 50, false), V(100, 100), V(0, 100)}))},
               {Part(Polygon({V(0, 0), V(20, 0), V(20, 10), ArcFrom(0, 10, 9.5, 5, true)}), 3),
                Part(Rect(0, 0, 10, 10), 1)},
               Settings(1.0)),
       1, kErrorPartSelfCrossing});
  return cases;
}

TEST(Faults, LayoutsStayOnTheSheetAndOffDefects) {
  for (const LayoutCase& c : LayoutCases()) {
    const Outcome outcome = Nest(c.problem);
    EXPECT_EQ(outcome.finishes, 1) << c.name;
    EXPECT_EQ(outcome.placed, c.placed) << c.name;
    EXPECT_EQ(outcome.code, c.code) << c.name;
    ExpectValid(outcome, c.name);
  }
}

// Mirrored orientations turned by 45 degrees and packed along y, from the
// corners that flip the strips: they used to overlap their neighbours and
// come closer than the cutter leaves (found by the independent check).
TEST(Faults, MirroredTurnedPartsAlongYKeepTheirDistance) {
  struct Case {
    std::string name;
    bool plainSheet;  // the demo parts on a plain 200 x 200 sheet
    int32_t corner;
    double cutter;
    int32_t cutterType;
  };
  const Case cases[] = {
      {"plain sheet, corner 3", true, 3, 0.0, 0},
      {"demo sheet, cutter type 1, corner 1", false, 1, 2.0, 1},
      {"plain sheet, cutter type 1, corner 1", true, 1, 0.25, 1},
  };
  for (const Case& c : cases) {
    TVarnest2D engine;
    const Outcome outcome = Nest(engine, [&](TVarnest2D& e) {
      fixtures::DefineDemoProblem(e, {45.0, 1, c.corner, 1, 2});
      if (c.plainSheet) {
        e.set_NumberOfStockPieces(1);
        e.SetStock(0, 0, 4, 0, 0, 0, 0, 0.0, 0, 0);
        const double v[4][2] = {{0, 0}, {200, 0}, {200, 200}, {0, 200}};
        for (int32_t i = 0; i < 4; ++i) e.SetStockVertex(0, i, v[i][0], v[i][1], i);
      }
      e.set_CutterDiameter(c.cutter);
      e.set_CutterType(c.cutterType);
    });
    EXPECT_GT(outcome.placed, 0) << c.name;
    for (const check::Finding& finding :
         check::CheckLayout(outcome.sheets, check::OptionsForCutter(c.cutter, c.cutterType, 0.1))) {
      ADD_FAILURE() << c.name << ": " << check::Describe(finding, outcome.sheets);
    }
  }
}

// The net area of a sheet is what its outline leaves free of defects, so
// utilisation stays a fraction of it whatever the defects do.
TEST(Faults, UtilisationIsTheShareOfTheAreaTheDefectsLeaveFree) {
  constexpr double kPi = 3.141592653589793;
  struct Case {
    std::string name;
    cli::StockEntry stock;
    double freeArea;
  };
  const Case cases[] = {
      {"overlapping defects",  // 6000 + 3000 with 1000 in common
       Stock(Rect(0, 0, 100, 100), {Rect(0, 0, 60, 100), Rect(40, 0, 100, 50)}), 2000.0},
      {"a defect across the corner", Stock(Rect(0, 0, 100, 100), {Circle(0, 0, 20)}),
       10000.0 - kPi * 400.0 / 4.0},
      {"a defect larger than the sheet and one inside it",
       Stock(Rect(0, 0, 100, 100), {Rect(-10, -10, 110, 50), Rect(20, 20, 30, 30)}), 5000.0},
      {"a defect wholly outside the sheet", Stock(Rect(0, 0, 100, 100), {Rect(200, 0, 300, 10)}),
       10000.0},
      {"a defect inside another",
       Stock(Rect(0, 0, 100, 100), {Rect(10, 10, 60, 60), Rect(20, 20, 30, 30)}), 7500.0},
  };
  for (const Case& c : cases) {
    const Outcome outcome = Nest(Problem({c.stock}, {Part(Rect(0, 0, 10, 10), 8)}, Settings(1.0)));
    ExpectValid(outcome, c.name);
    EXPECT_EQ(outcome.code, kErrorDefectCrossing) << c.name;
    ASSERT_EQ(outcome.sheets.size(), 1u) << c.name;
    const check::Sheet& sheet = outcome.sheets[0];
    const double placed = 100.0 * static_cast<double>(sheet.pieces.size());
    EXPECT_NEAR(sheet.utilization, placed / c.freeArea, 1e-9) << c.name;
    EXPECT_LE(sheet.utilization, 1.0) << c.name;
  }
}

// Defects inside the sheet that at most touch it and each other keep the net
// area the shapes' own areas give, and no finding.
TEST(Faults, DefectsApartFromEachOtherAreNoFinding) {
  const Outcome outcome =
      Nest(Problem({Stock(Rect(0, 0, 100, 100), {Circle(50, 50, 10), Rect(0, 0, 10, 10),
                                                 Rect(10, 10, 20, 20), Rect(20, 0, 30, 10)})},
                   {Part(Rect(0, 0, 10, 10), 4)}, Settings(1.0)));
  ExpectValid(outcome, "defects that touch");
  EXPECT_EQ(outcome.code, kErrorNone);
}

// Parameters that used to make a run endless or let pieces leave the sheet
// get a sound meaning in the run, whatever the getters report.
TEST(Faults, HostileParametersGiveSoundRuns) {
  struct Case {
    std::string name;
    std::function<void(TVarnest2D&)> set;
  };
  const Case cases[] = {
      // A NaN or negative tolerance never finds two values equal: the search
      // used to wait forever for generations without improvement.
      {"NaN precision", [](TVarnest2D& e) { e.set_Precision(kNaN); }},
      {"negative precision", [](TVarnest2D& e) { e.set_Precision(-1e-6); }},
      // A negative cutter used to shrink the parts below their outline.
      {"negative cutter diameter", [](TVarnest2D& e) { e.set_CutterDiameter(-3.0); }},
      {"negative cutter diameter, type 1",
       [](TVarnest2D& e) {
         e.set_CutterDiameter(-3.0);
         e.set_CutterType(1);
       }},
      {"NaN cutter diameter", [](TVarnest2D& e) { e.set_CutterDiameter(kNaN); }},
  };
  for (const Case& c : cases) {
    TVarnest2D engine;
    const Outcome outcome = Nest(engine, [&](TVarnest2D& e) {
      fixtures::DefineDemoProblem(e, {0.0, 0, 0, 0, 2});
      c.set(e);
    });
    EXPECT_EQ(outcome.finishes, 1) << c.name;
    EXPECT_GE(outcome.placed, 20) << c.name;
    ExpectValid(outcome, c.name);
  }
}

// A negative margin would make the usable circle larger than the sheet; it
// counts as none, and so does a margin that is not a number.
TEST(Faults, ANegativeMarginCountsAsNone) {
  const auto nest = [](double margin) {
    return Nest(Problem({Stock(Circle(50, 50, 50), {}, margin)}, {Part(Rect(0, 0, 10, 10), 80)},
                        Settings(1.0)));
  };
  const Outcome none = nest(0.0);
  ASSERT_GT(none.placed, 0);
  ASSERT_LT(none.placed, 80);
  for (const double margin : {-1e9, -5.0, kNaN}) {
    const Outcome outcome = nest(margin);
    EXPECT_EQ(outcome.placed, none.placed) << margin;
    if (!std::isnan(margin)) ExpectValid(outcome, "margin " + std::to_string(margin));
  }
}

// Problems too large for any memory: the run says so and places nothing,
// the callbacks come as usual, and the host program goes on.
TEST(Faults, RunsTooLargeForMemoryPlaceNothingAndSayWhy) {
  struct Case {
    std::string name;
    std::function<void(TVarnest2D&)> define;
    int32_t reason;
  };
  const auto sheet = [](TVarnest2D& e, double w, double h) {
    e.set_NumberOfStockPieces(1);
    e.SetStock(0, 0, 4, 0, 0, 0, 0, 0.0, 0, 0);
    const double v[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
    for (int32_t i = 0; i < 4; ++i) e.SetStockVertex(0, i, v[i][0], v[i][1], i);
  };
  const auto squares = [](TVarnest2D& e, int32_t count, double size) {
    e.set_NumberOfParts(count);
    for (int32_t p = 0; p < count; ++p) {
      e.SetPart(p, 0, 4, 0, 0, 0, 0, 0.0, 0, 0, 0, 0, p);
      const double v[4][2] = {{0, 0}, {size, 0}, {size, size}, {0, size}};
      for (int32_t i = 0; i < 4; ++i) e.SetPartVertex(p, i, v[i][0], v[i][1], i);
    }
  };
  const Case cases[] = {
      {"resolution 1e-5 on a 1000 x 1000 sheet",
       [&](TVarnest2D& e) {
         e.set_Resolution(1e-5);
         sheet(e, 1000, 1000);
         squares(e, 3, 10);
       },
       kTooLargeGrids},
      {"a part coordinate of 1e300",
       [&](TVarnest2D& e) {
         sheet(e, 100, 100);
         squares(e, 3, 10);
         e.SetPartVertex(1, 2, 10, 1e300, 2);
       },
       kTooLargeGrids},
      {"a cutter diameter of 6e14",
       [&](TVarnest2D& e) {
         e.set_CutterDiameter(6e14);
         sheet(e, 100, 100);
         squares(e, 3, 10);
       },
       kTooLargeGrids},
      {"a big polygon in a hundred thousandth of a degree",
       [&](TVarnest2D& e) {
         sheet(e, 100, 100);
         e.set_NumberOfParts(1);
         constexpr int32_t kVertices = 20000;
         e.SetPart(0, 0, kVertices, 0, 0, 0, 0, 1e-5, 0, 0, 0, 0, 0);
         for (int32_t i = 0; i < kVertices; ++i) {
           const double a = 6.283185307179586 * i / kVertices;
           e.SetPartVertex(0, i, 5 + 5 * std::cos(a), 5 + 5 * std::sin(a), i);
         }
       },
       kTooLargeShapes},
      {"the largest level over many parts",
       [&](TVarnest2D& e) {
         e.set_OptimizationLevel(kMaxOptimizationLevel);
         sheet(e, 1000, 1000);
         squares(e, 20000, 1);
       },
       kTooLargePopulation},
  };
  for (const Case& c : cases) {
    TVarnest2D engine;
    const Outcome outcome = Nest(engine, c.define);
    EXPECT_EQ(outcome.searchStarts, 1) << c.name;
    EXPECT_EQ(outcome.finishes, 1) << c.name;
    EXPECT_EQ(outcome.placed, 0) << c.name;
    EXPECT_EQ(outcome.code, kErrorRunTooLarge) << c.name;
    EXPECT_EQ(outcome.index, c.reason) << c.name;
    EXPECT_TRUE(engine.IsIdle()) << c.name;
  }
}

// Counts that no memory holds are ignored like any other call the engine
// cannot honour; the definition stays as it was.
TEST(Faults, CountsThatCannotBeHeldAreIgnored) {
  TVarnest2D engine;
  engine.set_NumberOfParts(2);
  engine.set_NumberOfStockPieces(1);
  engine.set_NumberOfParts(INT_MAX);
  engine.set_NumberOfStockPieces(INT_MAX);
  EXPECT_EQ(engine.get_NumberOfParts(), 2);
  EXPECT_EQ(engine.get_NumberOfStockPieces(), 1);
  engine.SetPart(0, 0, INT_MAX, 0, 0, 0, 0, 0.0, 0, 0, 0, 0, 7);
  engine.SetPart(1, 0, 4, 0, 0, 0, INT_MAX, 0.0, 0, 0, 0, 0, 8);
  engine.SetStock(0, 0, INT_MAX, 0, 0, 0, 0, 0.0, 0, 9);
  EXPECT_EQ(engine.FParts[0].FId, -1);
  EXPECT_EQ(engine.FParts[1].FId, -1);
  EXPECT_EQ(engine.FStocks[0].FId, -1);
  engine.set_OptimizationLevel(INT_MAX);
  EXPECT_EQ(engine.get_OptimizationLevel(), kMaxOptimizationLevel);
}

// Execute from inside OnFinish used to recurse until the stack ran out: the
// engine is idle there, but the run is not over.
TEST(Faults, ExecuteFromACallbackIsIgnored) {
  struct Nested {
    TVarnest2D* engine = nullptr;
    int finishes = 0;
  };
  Nested nested;
  TVarnest2D engine;
  nested.engine = &engine;
  const auto again = [](void* data) {
    auto& n = *static_cast<Nested*>(data);
    ++n.finishes;
    fixtures::DefineDemoProblem(*n.engine);
    n.engine->Execute();
  };
  engine.OnFinish = again;
  engine.OnFinishData = &nested;
  engine.OnSearchStart = again;
  engine.OnSearchStartData = &nested;
  fixtures::DefineDemoProblem(engine);
  engine.Execute();
  EXPECT_EQ(nested.finishes, 2);  // the run's own two callbacks, nothing nested
  EXPECT_TRUE(engine.IsIdle());
  EXPECT_EQ(engine.get_NumberOfParts(), 0);  // the run consumed its problem
}

// An exception from the host's callback leaves the engine idle and the run
// released, ready for the next problem.
TEST(Faults, AnExceptionFromACallbackLeavesTheEngineIdle) {
  TVarnest2D engine;
  engine.OnSearchStart = [](void*) { throw std::runtime_error("host gave up"); };
  fixtures::DefineDemoProblem(engine);
  EXPECT_THROW(engine.Execute(), std::runtime_error);
  EXPECT_TRUE(engine.IsIdle());
  EXPECT_EQ(engine.get_NumberOfParts(), 0);
  engine.OnSearchStart = nullptr;
  const Outcome outcome = Nest(engine, [](TVarnest2D& e) { fixtures::DefineDemoProblem(e); });
  EXPECT_GT(outcome.placed, 0);
}

// The grids are built for the cutter type the run started with; a change
// from OnSearchStart used to leave the search reading the other type's grids.
TEST(Faults, ACutterTypeSetDuringTheRunWaitsForTheNextRun) {
  const auto define = [](TVarnest2D& e) {
    fixtures::DefineDemoProblem(e, {0.0, 0, 0, 0, 2});
    e.set_CutterDiameter(0.5);
  };
  TVarnest2D plain;
  const Outcome expected = Nest(plain, define);
  TVarnest2D changed;
  changed.OnSearchStart = [](void* data) { static_cast<TVarnest2D*>(data)->set_CutterType(1); };
  changed.OnSearchStartData = &changed;
  Outcome outcome;
  outcome.engine = &changed;
  changed.OnFinish = OnFinished;
  changed.OnFinishData = &outcome;
  define(changed);
  changed.Execute();
  EXPECT_EQ(outcome.placed, expected.placed);
  ASSERT_EQ(outcome.sheets.size(), expected.sheets.size());
  ASSERT_EQ(outcome.sheets[0].pieces.size(), expected.sheets[0].pieces.size());
  for (size_t p = 0; p < outcome.sheets[0].pieces.size(); ++p) {
    EXPECT_EQ(outcome.sheets[0].pieces[p].x, expected.sheets[0].pieces[p].x) << p;
    EXPECT_EQ(outcome.sheets[0].pieces[p].y, expected.sheets[0].pieces[p].y) << p;
  }
  EXPECT_EQ(changed.get_CutterType(), 1);  // kept for the next run
}

}  // namespace
}  // namespace varnest
