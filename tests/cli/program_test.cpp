// The built program, run as a user runs it: bad input, round trips, the demo
// and an ESICUP instance, Ctrl-C. Tests that need the engine to place pieces
// skip while it places none.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tests/cli/program_runner.h"

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using namespace varnest::cli::test;

Json Without(Json layout, const char* key) {
  layout.erase(key);
  return layout;
}

// A sound problem; every bad input below changes one thing in it.
constexpr const char* kSound = R"({
  "stocks": [{"polygon": {"vertices": [{"x": 0, "y": 0}, {"x": 100, "y": 0}, {"x": 100, "y": 50}, {"x": 0, "y": 50}]}}],
  "parts": [{"quantity": 4, "rotation_step": 90,
             "polygon": {"vertices": [{"x": 0, "y": 0}, {"x": 20, "y": 0}, {"x": 20, "y": 10}, {"x": 0, "y": 10}],
                         "arcs": [{"edge": 1, "center": {"x": 20, "y": 5}, "clockwise": false}]},
             "holes": [{"nest_inside": true, "polygon": {"vertices": [{"x": 5, "y": 2}, {"x": 8, "y": 2}, {"x": 8, "y": 5}],
                                                           "arcs": [{"edge": 0, "center": {"x": 6.5, "y": 2}}]}}]}]
})";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST_F(Program, SoundProblemIsAccepted) {
  Spit(Path("sound.json"), kSound);
  const Result r = Run({"nest", "sound.json", "-o", "out.json", "--svg", "out.svg", "-q"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(Path("out.json")));
  EXPECT_TRUE(fs::exists(Path("out.svg")));
}

TEST_F(Program, BadInputGivesOneMessageStatusTwoAndLeavesOutputsAlone) {
  const std::string sound = kSound;
  const struct {
    const char* name;
    std::string text;
    std::vector<std::string> message;  // words of the one error line
  } cases[] = {
      {"syntax error",
       Replace(sound, "\"stocks\": [", "\"stocks\": [,"),
       {"bad.json:2:14:", "at /stocks/0", "not valid JSON"}},
      {"NaN",
       Replace(sound, "\"x\": 100, \"y\": 0", "\"x\": NaN, \"y\": 0"),
       {"bad.json:2:", "at /stocks/0/polygon/vertices/1/x", "not valid JSON"}},
      {"number too large",
       Replace(sound, "\"x\": 100, \"y\": 0", "\"x\": 1e999, \"y\": 0"),
       {"bad.json:2:", "at /stocks/0/polygon/vertices/1/x", "number overflow"}},
      {"missing field",
       Replace(sound, "{\"x\": 0, \"y\": 0}, {\"x\": 100", "{\"x\": 0}, {\"x\": 100"),
       {"bad.json: at /stocks/0/polygon/vertices/0:", "missing the required key \"y\""}},
      {"wrong type",
       Replace(sound, "\"quantity\": 4", "\"quantity\": \"four\""),
       {"at /parts/0/quantity:", "expected a whole number", "found the string \"four\""}},
      {"negative quantity",
       Replace(sound, "\"quantity\": 4", "\"quantity\": -4"),
       {"at /parts/0/quantity:", "found -4"}},
      {"arc on a missing edge",
       Replace(sound, "\"edge\": 1", "\"edge\": 4"),
       {"at /parts/0/polygon/arcs/0/edge:", "expected an edge index from 0 to 3", "found 4"}},
      {"hole edge index out of range",
       Replace(sound, "\"edge\": 0", "\"edge\": 3"),
       {"at /parts/0/holes/0/polygon/arcs/0/edge:", "from 0 to 2", "found 3"}},
      {"no stocks",
       "{\"stocks\": [], \"parts\": []}",
       {"at /stocks:", "expected at least one stock"}},
      {"empty part list",
       "{\"stocks\": [{\"circle\": {\"center\": {\"x\": 0, \"y\": 0}, \"radius\": 9}}], \"parts\": "
       "[]}",
       {"at /parts:", "expected at least one part"}},
      {"misspelt key",
       Replace(sound, "\"rotation_step\"", "\"rotaton_step\""),
       {"at /parts/0/rotaton_step:", "unknown key"}},
      {"two shapes",
       Replace(sound, "\"quantity\": 4,", "\"quantity\": 4, \"circle\": {},"),
       {"at /parts/0:", "not both"}},
      {"too few vertices",
       Replace(sound, "{\"x\": 8, \"y\": 2}, {\"x\": 8, \"y\": 5}", "{\"x\": 8, \"y\": 2}"),
       {"at /parts/0/holes/0/polygon/vertices:", "at least 3"}},
      {"corner out of range",
       Replace(sound, "\"stocks\"", "\"parameters\": {\"corner\": 4}, \"stocks\""),
       {"at /parameters/corner:", "from 0 to 3"}},
      {"key given twice",
       Replace(sound, "\"quantity\": 4", "\"quantity\": 4, \"quantity\": 5"),
       {"at /parts/0/quantity:", "given twice"}},
      {"nothing to nest",
       Replace(sound, "\"quantity\": 4", "\"quantity\": 0"),
       {"at /parts:", "quantity 0"}},
      {"not an object", "[1, 2]", {"at the top level:", "expected an object, found an array"}},
  };
  Spit(Path("out.json"), "KEEP\n");
  Spit(Path("out.svg"), "KEEP\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Spit(Path("bad.json"), c.text);
    const Result r = Run({"nest", "bad.json", "-o", "out.json", "--svg", "out.svg"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.rfind("varnest: error: bad.json", 0), 0u) << r.err;
    for (const std::string& word : c.message)
      EXPECT_NE(r.err.find(word), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Slurp(Path("out.json")), "KEEP\n");
    EXPECT_EQ(Slurp(Path("out.svg")), "KEEP\n");
    EXPECT_EQ(Files(), (std::vector<std::string>{"bad.json", "out.json", "out.svg"}));
  }
}

TEST_F(Program, OtherBadInputAlsoGivesStatusTwo) {
  Spit(Path("out.json"), "KEEP\n");
  Spit(Path("sound.json"), kSound);
  Spit(Path("layout.json"), "{\"sheets\": [{\"stock_index\": 0, \"pieces\": [}]}");
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string word;
  } cases[] = {
      {"missing problem file",
       {"nest", "missing.json", "-o", "out.json"},
       "missing.json: cannot open"},
      {"bad flag value", {"nest", "sound.json", "-o", "out.json", "--corner", "9"}, "--corner"},
      {"unknown flag", {"nest", "--frobnicate", "-o", "out.json"}, "frobnicate"},
      {"bad layout file", {"validate", "sound.json", "layout.json"}, "layout.json:1:"},
      {"missing layout file", {"validate", "sound.json", "none.json"}, "none.json: cannot open"},
      {"output in a missing folder", {"nest", "sound.json", "-o", "no/such/out.json"}, "no/such"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Result r = Run(c.args);
    // A folder that does not exist is no input error of the problem, but no
    // run is made for it either.
    EXPECT_EQ(r.status, std::string(c.name) == "output in a missing folder" ? 1 : 2) << r.err;
    EXPECT_NE(r.err.find(c.word), std::string::npos) << r.err;
    EXPECT_EQ(Slurp(Path("out.json")), "KEEP\n");
  }
}

TEST_F(Program, DemoProblemRoundTrip) {
  const Result printed = Run({"demo-problem"});
  ASSERT_EQ(printed.status, 0) << printed.err;
  Spit(Path("demo.json"), printed.out);
  const Result fromFile = Run({"nest", "demo.json", "-o", "a.json", "-q"});
  ASSERT_EQ(fromFile.status, 0) << fromFile.err;
  const Result builtIn = Run({"nest", "-o", "b.json", "-q"});
  ASSERT_EQ(builtIn.status, 0) << builtIn.err;
  const Result piped = Run({"nest", "-", "-q"}, "demo.json");  // the layout on standard output
  ASSERT_EQ(piped.status, 0) << piped.err;

  const Json a = Without(Json::parse(Slurp(Path("a.json"))), "optimization_time");
  const Json b = Without(Json::parse(Slurp(Path("b.json"))), "optimization_time");
  const Json c = Without(Json::parse(piped.out), "optimization_time");
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, c);
  EXPECT_EQ(a.at("parts"), 80);
  EXPECT_EQ(a.at("parameters").at("resolution"), 0.1);
}

// Two circles of the demo problem (parts 40 and 41, radius 10, defined at
// (20, 30)) placed by hand, then moved onto each other.
TEST_F(Program, ValidateNamesBothIdsOfAnOverlap) {
  ASSERT_EQ(Run({"demo-problem"}).status, 0);
  Spit(Path("demo.json"), Run({"demo-problem"}).out);
  const auto layout = [](double secondX) {
    return R"({"sheets": [{"stock_index": 0, "stock_id": 0, "pieces": [
      {"part_index": 40, "part_id": 40, "circle": {"center": {"x": 150, "y": 40}, "radius": 10}},
      {"part_index": 41, "part_id": 41, "circle": {"center": {"x": )" +
           std::to_string(secondX) + R"(, "y": 40}, "radius": 10}}]}]})";
  };
  Spit(Path("good.json"), layout(180));
  const Result good = Run({"validate", "demo.json", "good.json"});
  EXPECT_EQ(good.status, 0) << good.out << good.err;
  EXPECT_NE(good.out.find("valid"), std::string::npos);

  Spit(Path("broken.json"), layout(155));
  const Result broken = Run({"validate", "demo.json", "broken.json"});
  EXPECT_EQ(broken.status, 1) << broken.out << broken.err;
  EXPECT_NE(broken.out.find("id 40"), std::string::npos) << broken.out;
  EXPECT_NE(broken.out.find("id 41"), std::string::npos) << broken.out;
  EXPECT_NE(broken.out.find("invalid"), std::string::npos) << broken.out;
}

// A layout made with a cutter validates with that cutter, which the layout
// file records: the same layout under a larger diameter has pieces too close.
// The demo's parts B, whose hole crosses their outline, give one warning in
// both commands; a warning alone leaves the layout valid.
TEST_F(Program, CutterGapsAndPartWarningsInNestAndValidate) {
  Spit(Path("demo.json"), Run({"demo-problem"}).out);
  const Result nest = Run({"nest", "demo.json", "--cutter-diameter", "2", "-o", "cut.json", "-q"});
  ASSERT_EQ(nest.status, 0) << nest.err;
  const std::string warning = "warning: parts 20 to 29 (ids 20 to 29): hole 0 reaches 0.573";
  EXPECT_NE(nest.err.find("varnest: " + warning), std::string::npos) << nest.err;
  EXPECT_EQ(nest.err.find(warning, nest.err.find(warning) + 1), std::string::npos) << nest.err;
  EXPECT_EQ(nest.err.find("independent check"), std::string::npos) << nest.err;
  Json layout = Json::parse(Slurp(Path("cut.json")));
  if (layout.at("sheets").empty()) GTEST_SKIP() << "the engine placed nothing";

  const Result valid = Run({"validate", "demo.json", "cut.json"});
  EXPECT_EQ(valid.status, 0) << valid.out;
  EXPECT_NE(valid.out.find(warning), std::string::npos) << valid.out;
  EXPECT_NE(valid.out.find("the gaps of cutter diameter 2, type 0 kept"), std::string::npos)
      << valid.out;

  layout["parameters"]["cutter_diameter"] = 3.0;
  Spit(Path("wider.json"), layout.dump());
  const Result wider = Run({"validate", "demo.json", "wider.json"});
  EXPECT_EQ(wider.status, 1) << wider.out;
  EXPECT_NE(wider.out.find("the cutter leaves 6"), std::string::npos) << wider.out;
  EXPECT_NE(wider.out.find("the cutter leaves 3"), std::string::npos) << wider.out;
}

// The rotation step and mirroring given on the command line travel with the
// layout, so validate judges the pieces by the parts they were nested as;
// without that record the turned and mirrored pieces are not the problem's.
TEST_F(Program, ValidateUsesThePartOverridesOfTheRun) {
  Spit(Path("demo.json"), Run({"demo-problem"}).out);
  const Result nest = Run({"nest", "demo.json", "--rotation-step", "90", "--mirror", "--level", "2",
                           "-o", "turned.json", "-q"});
  ASSERT_EQ(nest.status, 0) << nest.err;
  Json layout = Json::parse(Slurp(Path("turned.json")));
  EXPECT_EQ(layout.at("part_overrides"), Json::parse(R"({"rotation_step": 90.0, "mirror": true})"));
  const Result valid = Run({"validate", "demo.json", "turned.json"});
  EXPECT_EQ(valid.status, 0) << valid.out;

  bool turnedOrMirrored = false;
  for (const Json& piece : layout.at("sheets").at(0).at("pieces")) {
    turnedOrMirrored = turnedOrMirrored || piece.at("angle").get<double>() != 0.0 ||
                       piece.at("mirrored").get<bool>();
  }
  ASSERT_TRUE(turnedOrMirrored);
  layout.erase("part_overrides");
  Spit(Path("bare.json"), layout.dump());
  EXPECT_EQ(Run({"validate", "demo.json", "bare.json"}).status, 1);
}

// The engine's input-check finding reaches the user as a warning.
TEST_F(Program, InputCheckFindingIsAWarning) {
  Spit(Path("clockwise.json"), R"({
    "stocks": [{"polygon": {"vertices": [{"x": 0, "y": 0}, {"x": 100, "y": 0}, {"x": 100, "y": 50}, {"x": 0, "y": 50}]}}],
    "parts": [{"polygon": {"vertices": [{"x": 0, "y": 0}, {"x": 0, "y": 10}, {"x": 10, "y": 10}, {"x": 10, "y": 0}]}}]
  })");
  const Result r = Run({"nest", "clockwise.json", "-o", "out.json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const Json layout = Json::parse(Slurp(Path("out.json")));
  if (layout.at("input_check").at("code") == 0)
    GTEST_SKIP() << "the engine's input check found nothing";
  EXPECT_EQ(layout.at("input_check").at("code"), 1);
  EXPECT_EQ(layout.at("input_check").at("index"), 0);
  EXPECT_NE(r.err.find("warning: part 0: the outline runs clockwise"), std::string::npos) << r.err;
}

// The examples of docs/problem-format.md: the first JSON block is a problem,
// the second a valid layout of it.
TEST_F(Program, DocumentedExamplesAreValid) {
  const std::string doc = Slurp(fs::path(VARNEST_DOCS_DIR) / "problem-format.md");
  std::vector<std::string> blocks;
  for (size_t at = doc.find("```json\n"); at != std::string::npos; at = doc.find("```json\n", at)) {
    at += 8;
    const size_t end = doc.find("```", at);
    ASSERT_NE(end, std::string::npos);
    blocks.push_back(doc.substr(at, end - at));
    at = end + 3;
  }
  ASSERT_EQ(blocks.size(), 2u);
  Spit(Path("problem.json"), blocks[0]);
  Spit(Path("layout.json"), blocks[1]);
  const Result nest = Run({"nest", "problem.json", "-o", "out.json", "-q", "--level", "1"});
  EXPECT_EQ(nest.status, 0) << nest.err;
  EXPECT_EQ(nest.err, "");  // counter-clockwise throughout: no warning
  const Result valid = Run({"validate", "problem.json", "layout.json"});
  EXPECT_EQ(valid.status, 0) << valid.out << valid.err;
}

// A symbolic link stays a link; what it points to is replaced.
TEST_F(Program, OutputThroughALinkKeepsTheLink) {
  Spit(Path("real.json"), "old\n");
  fs::create_symlink("real.json", Path("link.json"));
  ASSERT_EQ(Run({"nest", "-o", "link.json", "-q"}).status, 0);
  EXPECT_TRUE(fs::is_symlink(Path("link.json")));
  EXPECT_NE(Slurp(Path("real.json")).find("varnest-layout"), std::string::npos);
}

TEST_F(Program, DemoNestsWritesJsonAndSvgAndValidates) {
  const Result r = Run({"nest", "-o", "demo-layout.json", "--svg", "demo-layout.svg"});
  ASSERT_EQ(r.status, 0) << r.err;
  const Json layout = Json::parse(Slurp(Path("demo-layout.json")));
  const std::string svg = Slurp(Path("demo-layout.svg"));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  if (layout.at("sheets").empty()) GTEST_SKIP() << "the engine placed nothing";

  EXPECT_NE(r.out.find("sheet 0:"), std::string::npos) << r.out;  // the summary per sheet
  EXPECT_EQ(r.err.find("independent check"), std::string::npos) << r.err;
  size_t captions = 0;
  for (size_t at = svg.find(">sheet "); at != std::string::npos; at = svg.find(">sheet ", at + 1))
    ++captions;
  EXPECT_EQ(captions, layout.at("sheets").size());

  Spit(Path("demo.json"), Run({"demo-problem"}).out);
  const Result valid = Run({"validate", "demo.json", "demo-layout.json"});
  EXPECT_EQ(valid.status, 0) << valid.out << valid.err;

  // Break it by hand: one circle piece moved onto another.
  Json broken = layout;
  Json* first = nullptr;
  Json* second = nullptr;
  for (Json& sheet : broken.at("sheets")) {
    for (Json& piece : sheet.at("pieces")) {
      if (!piece.contains("circle")) continue;
      (first == nullptr ? first : second) = &piece;
      if (second != nullptr) break;
    }
    if (second != nullptr) break;
    first = nullptr;  // both on one sheet
  }
  if (second == nullptr) GTEST_SKIP() << "no sheet with two circles";
  (*second)["circle"]["center"] = (*first)["circle"]["center"];
  Spit(Path("broken.json"), broken.dump());
  const Result rejected = Run({"validate", "demo.json", "broken.json"});
  EXPECT_EQ(rejected.status, 1) << rejected.out;
  const std::string firstId = "id " + std::to_string((*first)["part_id"].get<int>());
  const std::string secondId = "id " + std::to_string((*second)["part_id"].get<int>());
  EXPECT_NE(rejected.out.find(firstId), std::string::npos) << rejected.out;
  EXPECT_NE(rejected.out.find(secondId), std::string::npos) << rejected.out;
}

TEST_F(Program, ShirtsNestsEveryItemAndValidates) {
  const fs::path shirts = fs::path(VARNEST_ESICUP_DIR) / "shirts.json";
  if (!fs::exists(shirts)) GTEST_SKIP() << "no " << shirts;
  const Result r = Run({"nest", shirts.string(), "-o", "shirts-layout.json", "-q"});
  ASSERT_EQ(r.status, 0) << r.err;
  const Json layout = Json::parse(Slurp(Path("shirts-layout.json")));
  EXPECT_EQ(layout.at("parts"), 99);
  if (layout.at("sheets").empty()) GTEST_SKIP() << "the engine placed nothing";
  EXPECT_EQ(layout.at("placed_parts"), 99);
  const Result valid = Run({"validate", shirts.string(), "shirts-layout.json"});
  EXPECT_EQ(valid.status, 0) << valid.out << valid.err;
}

// Ctrl-C once: the search stops and the best layout so far is written and
// valid. Twice: the program ends at once and leaves the output alone.
TEST_F(Program, InterruptStopsTheSearchAndASecondOneEndsAtOnce) {
  Spit(Path("demo.json"), Run({"demo-problem"}).out);
  for (const int interrupts : {1, 2}) {
    SCOPED_TRACE(std::to_string(interrupts) + " interrupts");
    Spit(Path("out.json"), "KEEP\n");
    std::vector<std::string> args = {VARNEST_PROGRAM, "nest",       "demo.json", "--level",
                                     "3000",          "--progress", "-o",        "out.json"};
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const fs::path previous = fs::current_path();
    fs::current_path(FDir);
    pid_t pid = 0;
    std::vector<char*> argv = Argv(args);
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    fs::current_path(previous);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);

    // Wait for the search to report progress; the end of the stream means the
    // run finished before the search evaluated anything.
    std::string err;
    bool searching = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    char buffer[512];
    while (!searching && std::chrono::steady_clock::now() < deadline) {
      pollfd p{pipeFds[0], POLLIN, 0};
      if (poll(&p, 1, 200) <= 0) continue;
      const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
      if (n <= 0) break;
      err.append(buffer, static_cast<size_t>(n));
      searching = err.find("layouts evaluated") != std::string::npos;
    }
    if (searching) {
      for (int i = 0; i < interrupts; ++i) {
        kill(pid, SIGINT);
        if (i + 1 < interrupts) {
          // Let the first one be seen before the second.
          while (err.find("stopping") == std::string::npos) {
            const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
            if (n <= 0) break;
            err.append(buffer, static_cast<size_t>(n));
          }
        }
      }
    }
    // A run that shows no progress in time is ended, not waited for.
    if (!searching) kill(pid, SIGKILL);
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
      err.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    int wait = 0;
    waitpid(pid, &wait, 0);
    if (!searching) GTEST_SKIP() << "the run ended before the search evaluated a layout";

    if (interrupts == 1) {
      EXPECT_EQ(StatusOf(wait), 0) << err;
      const Json layout = Json::parse(Slurp(Path("out.json")));
      EXPECT_TRUE(layout.at("stopped").get<bool>());
      EXPECT_EQ(Run({"validate", "demo.json", "out.json"}).status, 0);
    } else {
      EXPECT_EQ(StatusOf(wait), 130) << err;
      EXPECT_EQ(Slurp(Path("out.json")), "KEEP\n");
    }
    EXPECT_EQ(Files(), (std::vector<std::string>{"demo.json", "out.json"}));
  }
}

}  // namespace
