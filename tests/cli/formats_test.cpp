// The problem and layout formats, the built-in demo problem and the ESICUP
// conversion, tested on the library behind the program.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "check/flatten.h"
#include "cli/demo_problem.h"
#include "cli/engine_problem.h"
#include "cli/esicup.h"
#include "cli/json_writer.h"
#include "cli/layout_format.h"
#include "cli/problem_format.h"
#include "fixtures/demo_problem.h"

namespace varnest::cli {
namespace {

std::string ProblemText(const Problem& problem) { return PrettyJson(WriteProblem(problem)); }

TEST(ProblemFormat, WrittenProblemReadsBackTheSame) {
  const std::string text = ProblemText(DemoProblem());
  const Problem read = ReadProblem(ParseJson(text, "demo.json"), "demo.json");
  EXPECT_EQ(ProblemText(read), text);
}

// The built-in demo problem defines the engine exactly as the demonstration
// window's calls do (the shared test fixture replays them).
TEST(DemoProblem, DefinesWhatTheWindowDefines) {
  TVarnest2D ours, window;
  const Problem demo = DemoProblem();
  ApplyParameters(ours, demo.parameters);
  DefineProblem(ours, demo);
  fixtures::DefineDemoProblem(window);

  EXPECT_EQ(ours.get_Resolution(), window.get_Resolution());
  EXPECT_EQ(ours.get_Precision(), window.get_Precision());
  EXPECT_EQ(ours.get_CutterDiameter(), window.get_CutterDiameter());
  EXPECT_EQ(ours.get_CutterType(), window.get_CutterType());
  EXPECT_EQ(ours.get_RotationCenter(), window.get_RotationCenter());
  EXPECT_EQ(ours.get_RandomSeed(), window.get_RandomSeed());
  EXPECT_EQ(ours.get_OptimizationLevel(), window.get_OptimizationLevel());
  EXPECT_EQ(ours.get_OptimizationStartingCorner(), window.get_OptimizationStartingCorner());
  EXPECT_EQ(ours.get_OptimizationStartingDirection(), window.get_OptimizationStartingDirection());

  const auto samePolygon = [](const TPolygon& a, const TPolygon& b) {
    ASSERT_EQ(a.NumberOfVertices(), b.NumberOfVertices());
    for (size_t v = 0; v < a.FVertices.size(); ++v) {
      EXPECT_EQ(a.FVertices[v].X, b.FVertices[v].X);
      EXPECT_EQ(a.FVertices[v].Y, b.FVertices[v].Y);
      EXPECT_EQ(a.FVertices[v].Id, b.FVertices[v].Id);
      EXPECT_EQ(a.FArcs[v].IsArc, b.FArcs[v].IsArc);
      if (a.FArcs[v].IsArc == 0) continue;
      EXPECT_EQ(a.FArcs[v].Center.X, b.FArcs[v].Center.X);
      EXPECT_EQ(a.FArcs[v].Center.Y, b.FArcs[v].Center.Y);
      EXPECT_EQ(a.FArcs[v].Clockwise, b.FArcs[v].Clockwise);
      EXPECT_EQ(a.FArcs[v].Id, b.FArcs[v].Id);
    }
  };
  const auto sameHoles = [&](const std::vector<TTrueHole>& a, const std::vector<TTrueHole>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t h = 0; h < a.size(); ++h) {
      EXPECT_EQ(a[h].FId, b[h].FId);
      EXPECT_EQ(a[h].FNestInside, b[h].FNestInside);
      EXPECT_EQ(a[h].FValue, b[h].FValue);
      EXPECT_EQ(a[h].FShape.FShapeType, b[h].FShape.FShapeType);
      ASSERT_EQ(a[h].FShape.FPolygon.has_value(), b[h].FShape.FPolygon.has_value());
      if (a[h].FShape.FPolygon) samePolygon(*a[h].FShape.FPolygon, *b[h].FShape.FPolygon);
      ASSERT_EQ(a[h].FShape.FCircle.has_value(), b[h].FShape.FCircle.has_value());
      if (a[h].FShape.FCircle) {
        EXPECT_EQ(a[h].FShape.FCircle->FCenter.X, b[h].FShape.FCircle->FCenter.X);
        EXPECT_EQ(a[h].FShape.FCircle->FCenter.Y, b[h].FShape.FCircle->FCenter.Y);
        EXPECT_EQ(a[h].FShape.FCircle->FRadius, b[h].FShape.FCircle->FRadius);
      }
    }
  };

  ASSERT_EQ(ours.FStocks.size(), window.FStocks.size());
  for (size_t s = 0; s < ours.FStocks.size(); ++s) {
    const stock2d_any& a = ours.FStocks[s];
    const stock2d_any& b = window.FStocks[s];
    EXPECT_EQ(a.FShapeType, b.FShapeType);
    EXPECT_EQ(a.FId, b.FId);
    EXPECT_EQ(a.FMargin, b.FMargin);
    EXPECT_EQ(a.FPriority, b.FPriority);
    ASSERT_TRUE(a.FOutline && b.FOutline);
    samePolygon(*a.FOutline, *b.FOutline);
    sameHoles(a.FHoles, b.FHoles);
  }
  ASSERT_EQ(ours.FParts.size(), window.FParts.size());
  for (size_t p = 0; p < ours.FParts.size(); ++p) {
    SCOPED_TRACE("part " + std::to_string(p));
    const part2d_any& a = ours.FParts[p];
    const part2d_any& b = window.FParts[p];
    EXPECT_EQ(a.FShapeType, b.FShapeType);
    EXPECT_EQ(a.FId, b.FId);
    EXPECT_EQ(a.FPriority, b.FPriority);
    EXPECT_EQ(a.FRotationStep, b.FRotationStep);
    EXPECT_EQ(a.FNumberOfRotations, b.FNumberOfRotations);
    EXPECT_EQ(a.FAllowMirror, b.FAllowMirror);
    EXPECT_EQ(a.FCenterOfRotation.X, b.FCenterOfRotation.X);
    EXPECT_EQ(a.FCenterOfRotation.Y, b.FCenterOfRotation.Y);
    EXPECT_EQ(a.FNumberOfHoles, b.FNumberOfHoles);
    ASSERT_EQ(a.FOutline.has_value(), b.FOutline.has_value());
    if (a.FOutline) samePolygon(*a.FOutline, *b.FOutline);
    ASSERT_EQ(a.FCircle.has_value(), b.FCircle.has_value());
    if (a.FCircle) {
      EXPECT_EQ(a.FCircle->FCenter.X, b.FCircle->FCenter.X);
      EXPECT_EQ(a.FCircle->FCenter.Y, b.FCircle->FCenter.Y);
      EXPECT_EQ(a.FCircle->FRadius, b.FCircle->FRadius);
    }
    sameHoles(a.FHoles, b.FHoles);
  }
}

TEST(ProblemFormat, QuantitiesExpandIntoConsecutiveCopies) {
  const char* text = R"({
    "stocks": [{"circle": {"center": {"x": 0, "y": 0}, "radius": 50}, "quantity": 2, "id": 9}],
    "parts": [
      {"quantity": 3, "circle": {"center": {"x": 0, "y": 0}, "radius": 1}},
      {"quantity": 2, "id": 7, "circle": {"center": {"x": 0, "y": 0}, "radius": 1}},
      {"quantity": 0, "id": 99, "circle": {"center": {"x": 0, "y": 0}, "radius": 1}},
      {"quantity": 3, "id": 10, "id_step": 5, "circle": {"center": {"x": 0, "y": 0}, "radius": 1}},
      {"circle": {"center": {"x": 0, "y": 0}, "radius": 1}}
    ]})";
  const Problem problem = ReadProblem(ParseJson(text, "q.json"), "q.json");
  std::vector<int32_t> ids, entries;
  for (const Copy& copy : ExpandParts(problem)) {
    ids.push_back(copy.id);
    entries.push_back(static_cast<int32_t>(copy.entry));
  }
  EXPECT_EQ(ids, (std::vector<int32_t>{0, 1, 2, 7, 7, 10, 15, 20, 8}));
  EXPECT_EQ(entries, (std::vector<int32_t>{0, 0, 0, 1, 1, 3, 3, 3, 4}));
  const std::vector<Copy> stocks = ExpandStocks(problem);
  ASSERT_EQ(stocks.size(), 2u);
  EXPECT_EQ(stocks[0].id, 9);
  EXPECT_EQ(stocks[1].id, 9);
}

TEST(ProblemFormat, CopyIdsMustStayThirtyTwoBit) {
  const char* text = R"({
    "stocks": [{"circle": {"center": {"x": 0, "y": 0}, "radius": 50}}],
    "parts": [{"quantity": 3, "id": 2147483647, "id_step": 1,
               "circle": {"center": {"x": 0, "y": 0}, "radius": 1}}]})";
  try {
    ReadProblem(ParseJson(text, "ids.json"), "ids.json");
    FAIL() << "accepted ids beyond 32 bits";
  } catch (const InputError& error) {
    EXPECT_EQ(error.Pointer(), "/parts/0");
    EXPECT_NE(std::string(error.what()).find("32-bit"), std::string::npos) << error.what();
  }
}

// The line and column of a syntax error agree with those the JSON library
// puts in its own message, and the pointer names the value being read.
TEST(JsonReader, SyntaxErrorsCarryLineColumnAndPointer) {
  const struct {
    const char* text;
    const char* pointer;
  } cases[] = {
      {"{\n  \"a\": [1,\n  2,,]\n}", "/a/2"},
      {"{\"a\": {\"b\": NaN}}", "/a/b"},
      {"{\n\n  \"parts\": [ {\"x\": 1} {\"y\": 2} ]}", "/parts/1"},
      {"[1, 2", "/2"},
      {"{\"k\": 1,\n \"j\" 2}", "/j"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      ParseJson(c.text, "t.json");
      FAIL() << "parsed";
    } catch (const InputError& error) {
      EXPECT_EQ(error.Pointer(), c.pointer);
      try {
        const nlohmann::json ignored = nlohmann::json::parse(c.text);
        (void)ignored;
      } catch (const nlohmann::json::parse_error& own) {
        const std::string expected =
            "line " + std::to_string(error.Line()) + ", column " + std::to_string(error.Column());
        EXPECT_NE(std::string(own.what()).find(expected), std::string::npos)
            << own.what() << " vs " << expected;
      }
    }
  }
}

TEST(LayoutFormat, WrittenLayoutReadsBackTheSame) {
  Layout layout;
  layout.problemName = "round trip";
  layout.parameters = Parameters{}.Resolved();
  layout.optimizationTime = 1.25;
  layout.errorCode = 3;
  layout.errorIndex = 4;
  layout.errorSubIndex = 1;
  layout.parts = 3;
  layout.placedParts = 2;
  check::Sheet sheet;
  sheet.stock.index = 0;
  sheet.stock.id = 17;
  sheet.utilization = 0.1 + 0.2;  // a value whose shortest decimal form is long
  check::PlacedPiece polygon;
  polygon.partIndex = 2;
  polygon.partId = 5;
  polygon.angle = 45;
  polygon.mirrored = true;
  polygon.x = -1.0 / 3.0;
  polygon.y = 7;
  polygon.outline = check::Shape::Polygon({{0, 0, 4, false, 0, 0, false, 0},
                                           {10, 0, 5, true, 10, 5, true, 0},
                                           {10, 10, 6, false, 0, 0, false, 0}});
  polygon.holes = {check::Hole{check::Shape::Circle(6, 3, 1), true, 0.0, 8}};
  check::PlacedPiece circle;
  circle.partIndex = 0;
  circle.partId = 0;
  circle.outline = check::Shape::Circle(50, 60, 2.5);
  sheet.pieces = {polygon, circle};
  layout.sheets = {sheet};

  for (const bool strip : {false, true}) {
    SCOPED_TRACE(strip ? "with a strip summary" : "without a strip summary");
    if (strip) layout.strip = StripSummary{40.004, 66.8053, 0.1 + 0.2, 96, 30.0001};
    const std::string text = PrettyJson(WriteLayout(layout));
    const Layout read = ReadLayout(ParseJson(text, "l.json"), "l.json");
    EXPECT_EQ(PrettyJson(WriteLayout(read)), text);
    ASSERT_EQ(read.sheets.size(), 1u);
    EXPECT_EQ(read.sheets[0].utilization, 0.1 + 0.2);
    EXPECT_EQ(read.sheets[0].pieces[0].x, -1.0 / 3.0);
    ASSERT_EQ(read.strip.has_value(), strip);
    if (strip) {
      EXPECT_EQ(read.strip->density, 0.1 + 0.2);
    }
  }
}

TEST(Esicup, RotationStepOfOrientationLists) {
  const struct {
    std::vector<double> orientations;
    double step;
    bool exact;
  } cases[] = {
      {{0}, 0, true},
      {{0, 180}, 180, true},
      {{0, 90, 180, 270}, 90, true},
      {{-90, 0, 90, 180}, 90, true},
      {{0, 120, 240}, 120, true},
      {{360}, 0, true},
      {{}, 0, true},
      {{90}, 90, false},
      {{0, 90}, 90, false},
      {{45, 135}, 45, false},
      {{0, 0.5}, 0.5, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.orientations));
    bool exact = !c.exact;
    EXPECT_DOUBLE_EQ(RotationStepFor(c.orientations, exact), c.step);
    EXPECT_EQ(exact, c.exact);
  }
}

TEST(Esicup, ShirtsBecomesOneStripStockAndItsItems) {
  const std::filesystem::path file = std::filesystem::path(VARNEST_ESICUP_DIR) / "shirts.json";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "no " << file;
  std::vector<std::string> notes;
  const Problem problem = ReadProblemFile(file.string(), notes);
  EXPECT_TRUE(notes.empty());  // shirts allows 0 and 180 only: step 180 exactly
  EXPECT_EQ(problem.name, "shirts");
  ASSERT_EQ(problem.stocks.size(), 1u);
  ASSERT_EQ(problem.parts.size(), 8u);
  EXPECT_EQ(ExpandParts(problem).size(), 99u);
  double area = 0.0;
  for (const PartEntry& part : problem.parts) {
    EXPECT_EQ(part.rotationStep, 180.0);
    EXPECT_FALSE(part.mirror);
    area += check::ExactArea(part.shape) * part.identity.quantity;
  }
  EXPECT_NEAR(area, 2160.0, 1e-9);  // the instance's item area: outlines kept whole
  EXPECT_EQ(problem.parts[0].shape.vertices.size(), 8u);  // the closing point dropped
  const check::Shape& strip = problem.stocks[0].shape;
  ASSERT_EQ(strip.vertices.size(), 4u);
  EXPECT_EQ(strip.vertices[2].y, 40.0);
  EXPECT_GE(strip.vertices[2].x, area / 40.0);
  EXPECT_EQ(problem.parameters.direction, 1);
}

}  // namespace
}  // namespace varnest::cli
