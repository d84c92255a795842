// Strip packing: the shrinking search on instances whose optimum is known,
// the used length of curved pieces, time limits and Ctrl-C, and the command
// as a user runs it.

#include <signal.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "check/layout_check.h"
#include "cli/esicup.h"
#include "cli/input_error.h"
#include "cli/progress.h"
#include "cli/strip_search.h"
#include "cli/validate_command.h"
#include "tests/cli/program_runner.h"

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using namespace varnest;
using namespace varnest::cli;
using namespace varnest::cli::test;

Json Rectangle(double w, double h) {
  return {{"type", "simple_polygon"}, {"data", {{0, 0}, {w, 0}, {w, h}, {0, h}, {0, 0}}}};
}

struct Item {
  double width, height;
  int demand;
  std::vector<double> orientations;
};

Json Instance(const std::string& name, double height, const std::vector<Item>& items) {
  Json list = Json::array();
  for (const Item& item : items) {
    list.push_back({{"id", list.size()},
                    {"demand", item.demand},
                    {"allowed_orientations", item.orientations},
                    {"shape", Rectangle(item.width, item.height)}});
  }
  return {{"name", name}, {"strip_height", height}, {"items", list}};
}

Problem ReadInstance(const Json& instance, int32_t level) {
  std::vector<std::string> notes;
  Problem problem = ReadEsicup(instance, "test.json", notes);
  problem.parameters.level = level;
  return problem;
}

// Everything a finished strip layout must satisfy whatever the search did:
// it belongs to the problem, passes the independent check against the strip
// cut at the reported length, and its figures agree with its pieces.
void ExpectSoundStripLayout(const Problem& problem, const Strip& strip, const Layout& layout) {
  EXPECT_EQ(ValidateLayout(problem, layout), std::vector<std::string>{});
  EXPECT_TRUE(check::CheckLayout(layout.sheets).empty());
  ASSERT_TRUE(layout.strip.has_value());
  const StripSummary& summary = *layout.strip;
  EXPECT_DOUBLE_EQ(summary.length, UsedLength(layout, strip.minX));
  EXPECT_NEAR(summary.density, PlacedArea(layout) / (strip.height * summary.length), 1e-12);
  // No layout beats 100 % density.
  EXPECT_GE(summary.length, PartArea(problem) / strip.height * (1.0 - 1e-12));
}

// Instances that tile their strip exactly, so the shortest length is the
// area bound. The first run packs loosely; the shrinking runs must get to
// within the raster's rounding of the optimum.
TEST(StripSearch, ShrinksToTheOptimumOfExactTilings) {
  const struct {
    const char* name;
    Json instance;
    double optimum;
  } cases[] = {
      {"mixed rectangles that must turn",
       Instance("mix", 12,
                {{8, 4, 3, {0, 90, 180, 270}},
                 {6, 4, 2, {0, 90, 180, 270}},
                 {4, 12, 1, {0, 90, 180, 270}}}),
       16.0},
      {"four squares", Instance("squares", 10, {{5, 5, 4, {0}}}), 10.0},
      {"bars and tiles", Instance("bars", 10, {{10, 3, 2, {0, 90}}, {2, 5, 4, {0}}}), 10.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Problem problem = ReadInstance(c.instance, 10);
    const Strip strip = StripOf(problem, "test.json");
    const double resolution = *problem.parameters.resolution;
    StripSettings settings;
    settings.maxRuns = 1;
    const StripResult first = SearchStrip(problem, strip, settings);
    settings.maxRuns = 8;
    const StripResult searched = SearchStrip(problem, strip, settings);
    for (const StripResult* result : {&first, &searched}) {
      EXPECT_TRUE(result->complete);
      EXPECT_FALSE(result->interrupted);
      EXPECT_EQ(result->layout.placedParts, result->layout.parts);
      ExpectSoundStripLayout(problem, strip, result->layout);
    }
    EXPECT_EQ(first.layout.strip->runs, 1);
    EXPECT_LE(searched.layout.strip->runs, 8);
    EXPECT_LE(searched.layout.strip->length, first.layout.strip->length);
    EXPECT_LE(searched.layout.strip->length, c.optimum + 2 * resolution);
  }
}

// The search does exactly what its schedule says: the same problem and
// settings give the same layout.
TEST(StripSearch, RunsOfTheSameSeriesAreTheSame) {
  const Problem problem = ReadInstance(
      Instance("mix", 12, {{8, 4, 3, {0, 90}}, {6, 4, 2, {0}}, {4, 12, 1, {0, 90}}}), 5);
  const Strip strip = StripOf(problem, "test.json");
  StripSettings settings;
  settings.maxRuns = 6;
  const StripResult a = SearchStrip(problem, strip, settings);
  const StripResult b = SearchStrip(problem, strip, settings);
  EXPECT_EQ(a.layout.strip->length, b.layout.strip->length);
  EXPECT_EQ(a.layout.strip->runs, b.layout.strip->runs);
  ASSERT_EQ(a.layout.sheets.size(), b.layout.sheets.size());
  for (size_t s = 0; s < a.layout.sheets.size(); ++s) {
    ASSERT_EQ(a.layout.sheets[s].pieces.size(), b.layout.sheets[s].pieces.size());
    for (size_t p = 0; p < a.layout.sheets[s].pieces.size(); ++p) {
      EXPECT_EQ(a.layout.sheets[s].pieces[p].x, b.layout.sheets[s].pieces[p].x);
      EXPECT_EQ(a.layout.sheets[s].pieces[p].y, b.layout.sheets[s].pieces[p].y);
      EXPECT_EQ(a.layout.sheets[s].pieces[p].angle, b.layout.sheets[s].pieces[p].angle);
    }
  }
}

// A limit that has passed before the search starts still leaves the first
// run, which is never cut short; a limit that passes just as the second run
// starts stops that run, and no third one starts. What is reported is
// complete either way.
TEST(StripSearch, TimeLimitEndsTheSeriesWithACompleteLayout) {
  const Problem problem = ReadInstance(
      Instance("mix", 12, {{8, 4, 3, {0, 90}}, {6, 4, 2, {0, 90}}, {4, 12, 1, {0}}}), 20);
  const Strip strip = StripOf(problem, "test.json");
  for (const int32_t runs : {1, 2}) {
    SCOPED_TRACE(runs);
    // The clock reads 0 until `runs - 1` runs have finished and the search
    // has looked at it once more (the check before the next run), then 2.
    int32_t finished = 0, readsAfter = 0;
    StripSettings settings;
    settings.timeLimit = 1.0;
    settings.elapsed = [&]() {
      return finished >= runs - 1 && readsAfter++ >= (runs == 1 ? 0 : 1) ? 2.0 : 0.0;
    };
    std::vector<bool> cutShort;
    settings.onTrial = [&](const StripTrial& trial) {
      ++finished;
      cutShort.push_back(trial.cutShort);
    };
    const StripResult result = SearchStrip(problem, strip, settings);
    const std::vector<bool> expected =
        runs == 1 ? std::vector<bool>{false} : std::vector<bool>{false, true};
    EXPECT_EQ(cutShort, expected);
    EXPECT_TRUE(result.complete);
    EXPECT_FALSE(result.layout.stopped);  // a time limit is no Ctrl-C
    EXPECT_EQ(result.layout.strip->runs, runs);
    EXPECT_EQ(result.layout.strip->seconds, 2.0);
    ExpectSoundStripLayout(problem, strip, result.layout);
  }
}

// A Ctrl-C ends the series, also one pressed between two runs: the next run
// must still see it.
TEST(StripSearch, InterruptBetweenRunsEndsTheSeries) {
  const Problem problem = ReadInstance(Instance("squares", 10, {{5, 5, 4, {0}}}), 5);
  const Strip strip = StripOf(problem, "test.json");
  const InterruptHandler outer;
  ASSERT_FALSE(InterruptHandler::StopRequested());
  ::raise(SIGINT);
  {
    const InterruptHandler inner;  // a nested handler keeps the pending Ctrl-C
    EXPECT_TRUE(InterruptHandler::StopRequested());
  }
  const StripResult result = SearchStrip(problem, strip, StripSettings{});
  EXPECT_TRUE(result.interrupted);
  EXPECT_TRUE(result.layout.stopped);
  EXPECT_EQ(result.layout.strip->runs, 1);
}

check::Vertex Corner(double x, double y) { return {x, y, 0, false, 0, 0, false, 0}; }
check::Vertex ArcFrom(double x, double y, double cx, double cy, bool clockwise) {
  return {x, y, 0, true, cx, cy, clockwise, 0};
}

// The used length of curved pieces: an arc reaches the circle's rightmost
// point only when it passes through it.
TEST(StripSearch, UsedLengthFollowsArcsAndCircles) {
  const struct {
    const char* name;
    check::Shape shape;
    double maxX;
  } cases[] = {
      {"circle", check::Shape::Circle(3, 4, 2), 5},
      {"right edge bulging out",
       check::Shape::Polygon(
           {Corner(0, 0), ArcFrom(10, 0, 10, 5, false), Corner(10, 10), Corner(0, 10)}),
       15},
      {"right edge cut in",
       check::Shape::Polygon(
           {Corner(0, 0), ArcFrom(10, 0, 10, 5, true), Corner(10, 10), Corner(0, 10)}),
       10},
      {"top edge bulging up, away from +x",
       check::Shape::Polygon(
           {Corner(0, 0), Corner(10, 0), ArcFrom(10, 10, 5, 10, false), Corner(0, 10)}),
       10},
      {"quarter arc ending at the rightmost point",
       check::Shape::Polygon({Corner(0, -5), Corner(0, 0), ArcFrom(0, 5, 0, 0, true)}), 5},
      {"arc from the rightmost point onwards",
       check::Shape::Polygon({Corner(0, 0), ArcFrom(5, 0, 0, 0, false), Corner(0, 5)}), 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Layout layout;
    layout.sheets.resize(1);
    check::PlacedPiece piece;
    piece.outline = c.shape;
    layout.sheets[0].pieces.push_back(piece);
    EXPECT_NEAR(UsedLength(layout, -1.0), c.maxX + 1.0, 1e-12);
  }
  EXPECT_EQ(UsedLength(Layout{}, 0.0), 0.0);
}

TEST(StripSearch, OnlyOneRectangularStockIsAStrip) {
  const auto problemWith = [](std::vector<check::Vertex> vertices, size_t holes, int32_t copies) {
    Problem problem;
    StockEntry stock;
    stock.shape = check::Shape::Polygon(std::move(vertices));
    stock.holes.resize(holes);
    stock.identity.quantity = copies;
    problem.stocks.push_back(stock);
    return problem;
  };
  const std::vector<check::Vertex> box = {Corner(2, 1), Corner(12, 1), Corner(12, 5), Corner(2, 5)};
  const Strip strip = StripOf(problemWith(box, 0, 1), "f.json");
  EXPECT_EQ(strip.minX, 2);
  EXPECT_EQ(strip.minY, 1);
  EXPECT_EQ(strip.startLength, 10);
  EXPECT_EQ(strip.height, 4);

  std::vector<check::Vertex> slanted = box;
  slanted[2].x = 13;
  std::vector<check::Vertex> curved = box;
  curved[1] = ArcFrom(12, 1, 12, 3, false);
  const std::vector<check::Vertex> flat = {Corner(0, 0), Corner(5, 0), Corner(5, 0), Corner(0, 0)};
  for (const Problem& bad :
       {problemWith(box, 1, 1), problemWith(box, 0, 2), problemWith(slanted, 0, 1),
        problemWith(curved, 0, 1), problemWith(flat, 0, 1),
        problemWith({Corner(0, 0), Corner(1, 0), Corner(0, 1)}, 0, 1)}) {
    EXPECT_THROW(StripOf(bad, "f.json"), InputError);
  }
}

// ---- The command as a user runs it -------------------------------------------

TEST_F(Program, StripWritesAValidLayoutWithItsFigures) {
  Spit(Path("mix.json"), Instance("mix", 12,
                                  {{8, 4, 3, {0, 90, 180, 270}},
                                   {6, 4, 2, {0, 90, 180, 270}},
                                   {4, 12, 1, {0, 90, 180, 270}}})
                             .dump());
  const Result r = Run({"strip", "mix.json", "-o", "out.json", "--svg", "out.svg", "--level", "10",
                        "--max-runs", "6", "--time-limit", "30"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const Json layout = Json::parse(Slurp(Path("out.json")));
  const Json& strip = layout.at("strip");
  EXPECT_EQ(strip.at("height"), 12.0);
  EXPECT_LE(strip.at("runs").get<int>(), 6);
  EXPECT_GE(strip.at("length").get<double>(), 16.0);
  EXPECT_NEAR(strip.at("density").get<double>(), 192.0 / (12.0 * strip.at("length").get<double>()),
              1e-9);
  EXPECT_EQ(layout.at("placed_parts"), 6);
  EXPECT_EQ(layout.at("parameters").at("direction"), 1);
  EXPECT_EQ(layout.at("parameters").at("corner"), 0);
  EXPECT_NE(r.out.find("6 of 6 parts placed; strip length"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("density"), std::string::npos) << r.out;
  EXPECT_NE(Slurp(Path("out.svg")).find("<svg"), std::string::npos);
  const Result valid = Run({"validate", "mix.json", "out.json"});
  EXPECT_EQ(valid.status, 0) << valid.out << valid.err;
}

// A problem of ours is a strip too. Without a resolution of its own its
// raster follows the strip's height, as an instance's does; with one, or with
// the flag, that one holds.
TEST_F(Program, StripOfOurFormatTakesTheRasterFromTheHeight) {
  const auto problem = [](const char* parameters) {
    return std::string(R"({"format": "varnest-problem", "version": 1, "parameters": {)") +
           parameters + R"(},
      "stocks": [{"polygon": {"vertices": [{"x": 0, "y": 0}, {"x": 40, "y": 0},
                                           {"x": 40, "y": 20}, {"x": 0, "y": 20}]}}],
      "parts": [{"quantity": 4, "polygon": {"vertices": [{"x": 0, "y": 0}, {"x": 10, "y": 0},
                                                        {"x": 10, "y": 10}, {"x": 0, "y": 10}]}}]})";
  };
  Spit(Path("plain.json"), problem(R"("level": 5)"));
  Spit(Path("own.json"), problem(R"("level": 5, "resolution": 0.5)"));
  const struct {
    const char* name;
    std::vector<std::string> args;
    double resolution;
  } cases[] = {
      {"no resolution", {"strip", "plain.json"}, 20.0 / 400},
      {"the problem's", {"strip", "own.json"}, 0.5},
      {"the flag's", {"strip", "own.json", "--resolution", "0.25"}, 0.25},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"-o", "out.json", "-q", "--max-runs", "3"});
    const Result r = Run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const Json layout = Json::parse(Slurp(Path("out.json")));
    EXPECT_DOUBLE_EQ(layout.at("parameters").at("resolution").get<double>(), c.resolution);
    EXPECT_EQ(layout.at("placed_parts"), 4);
    EXPECT_EQ(Run({"validate", args[1], "out.json"}).status, 0);
  }
}

// With a cutter of type 0 the last piece keeps the cutter from the end of
// every trial strip, but the reported strip is cut where that piece ends: the
// command's own check must not take the cut for an edge the piece crowds.
TEST_F(Program, StripWithACutterDoesNotCrowdItsCut) {
  Spit(Path("mix.json"), Instance("mix", 12, {{8, 4, 3, {0, 90}}, {4, 4, 2, {0}}}).dump());
  const Result r = Run(
      {"strip", "mix.json", "-o", "out.json", "-q", "--max-runs", "3", "--cutter-diameter", "0.5"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("independent check"), std::string::npos) << r.err;
  const Result valid = Run({"validate", "mix.json", "out.json"});
  EXPECT_EQ(valid.status, 0) << valid.out << valid.err;
  EXPECT_NE(valid.out.find("cutter diameter 0.5, type 0 kept"), std::string::npos) << valid.out;
}

// A real instance under a limit shorter than its runs: the first run is
// complete, the second is stopped when the limit passes, and the file is a
// valid layout.
TEST_F(Program, StripUnderAShortLimitStillValidates) {
  const fs::path shapes = fs::path(VARNEST_ESICUP_DIR) / "shapes0.json";
  if (!fs::exists(shapes)) GTEST_SKIP() << "no " << shapes;
  const Result r = Run({"strip", shapes.string(), "-o", "out.json", "-q", "--time-limit", "0.3"});
  ASSERT_EQ(r.status, 0) << r.err;
  const Json layout = Json::parse(Slurp(Path("out.json")));
  EXPECT_EQ(layout.at("placed_parts"), 43);
  EXPECT_FALSE(layout.at("stopped").get<bool>());
  const Result valid = Run({"validate", shapes.string(), "out.json"});
  EXPECT_EQ(valid.status, 0) << valid.out << valid.err;
}

TEST_F(Program, StripBadInputGivesStatusTwoAndWritesNothing) {
  Spit(Path("squares.json"), Instance("squares", 10, {{5, 5, 4, {0}}}).dump());
  Spit(Path("broken.json"), "{\"strip_height\": 10, \"items\": [}");
  Spit(Path("nostrip.json"), R"({"stocks": [{"circle": {"center": {"x": 0, "y": 0}, "radius": 9}}],
    "parts": [{"circle": {"center": {"x": 0, "y": 0}, "radius": 1}}]})");
  Spit(Path("out.json"), "KEEP\n");
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string words;
  } cases[] = {
      {"missing file", {"strip", "missing.json", "-o", "out.json"}, "missing.json: cannot open"},
      {"bad JSON", {"strip", "broken.json", "-o", "out.json"}, "broken.json:1:"},
      {"not a strip", {"strip", "nostrip.json", "-o", "out.json"}, "nostrip.json: at /stocks:"},
      {"no instance", {"strip", "-o", "out.json"}, "problem is required"},
      {"negative limit",
       {"strip", "squares.json", "-o", "out.json", "--time-limit", "-1"},
       "--time-limit"},
      {"start is fixed",
       {"strip", "squares.json", "-o", "out.json", "--direction", "0"},
       "direction"},
      {"bad level", {"strip", "squares.json", "-o", "out.json", "--level", "0"}, "--level"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Result r = Run(c.args);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find(c.words), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Slurp(Path("out.json")), "KEEP\n");
    EXPECT_EQ(Files(), (std::vector<std::string>{"broken.json", "nostrip.json", "out.json",
                                                 "squares.json"}));
  }
}

}  // namespace
