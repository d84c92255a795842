// Validation of hand-made layouts against their problem: the geometric check
// and the checks that a layout belongs to its problem.

#include <gtest/gtest.h>

#include <functional>

#include "cli/demo_problem.h"
#include "cli/run_check.h"
#include "cli/validate_command.h"
#include "fixtures/moved_shape.h"

namespace varnest::cli {
namespace {

using fixtures::Moved;

// Part `index` of the problem placed unturned with its defined shape moved.
check::PlacedPiece Place(const Problem& problem, int32_t index, double dx, double dy) {
  const std::vector<Copy> copies = ExpandParts(problem);
  const Copy& copy = copies[static_cast<size_t>(index)];
  const PartEntry& part = problem.parts[copy.entry];
  check::PlacedPiece piece;
  piece.partIndex = index;
  piece.partId = copy.id;
  piece.x = dx;
  piece.y = dy;
  piece.outline = Moved(part.shape, dx, dy);
  for (const check::Hole& hole : part.holes) {
    piece.holes.push_back({Moved(hole.shape, dx, dy), hole.nestInside, 0.0, hole.id});
  }
  return piece;
}

Layout OneSheet(std::vector<check::PlacedPiece> pieces, int32_t stockIndex = 0,
                int32_t stockId = 0) {
  Layout layout;
  check::Sheet sheet;
  sheet.stock.index = stockIndex;
  sheet.stock.id = stockId;
  sheet.pieces = std::move(pieces);
  layout.sheets = {sheet};
  return layout;
}

bool Mentions(const std::vector<std::string>& lines, const std::vector<std::string>& words) {
  for (const std::string& line : lines) {
    bool all = true;
    for (const std::string& word : words) all = all && line.find(word) != std::string::npos;
    if (all) return true;
  }
  return false;
}

// Parts of the demo problem: 0 is the L-shaped polygon A, 20 is polygon B with
// its usable hole, 40 and 41 are circles of radius 10 defined at (20, 30).
TEST(Validate, DemoProblemLayouts) {
  const Problem demo = DemoProblem();
  const auto valid = [&] {
    return std::vector<check::PlacedPiece>{Place(demo, 0, 100, 40), Place(demo, 40, 130, 10),
                                           Place(demo, 41, 160, 10)};
  };
  const struct {
    const char* name;
    std::function<Layout()> layout;
    std::vector<std::vector<std::string>> expected;  // words of each expected line
  } cases[] = {
      {"valid", [&] { return OneSheet(valid()); }, {}},
      {"two circles moved onto each other",
       [&] {
         auto pieces = valid();
         pieces[2] = Place(demo, 41, 135, 10);
         return OneSheet(pieces);
       },
       {{"sheet 0", "id 40", "id 41", "overlaps"}}},
      {"a piece on a defect",
       [&] { return OneSheet({Place(demo, 40, 140, 70)}); },
       {{"id 40", "defect 0 (id 0)"}}},
      {"a piece outside the stock",
       [&] { return OneSheet({Place(demo, 40, 300, 10)}); },
       {{"id 40", "outside stock 0"}}},
      {"an angle the part's step does not allow",
       [&] {
         auto pieces = valid();
         pieces[0].angle = 90;
         return OneSheet(pieces);
       },
       {{"part 0", "angle 90"}}},
      {"a mirrored piece of a part that may not be mirrored",
       [&] {
         auto pieces = valid();
         pieces[1].mirrored = true;
         return OneSheet(pieces);
       },
       {{"id 40", "mirrored"}}},
      {"a piece larger than its part",
       [&] {
         auto pieces = valid();
         pieces[1].outline.radius = 10.5;
         return OneSheet(pieces);
       },
       {{"id 40", "area"}}},
      {"a part placed twice",
       [&] {
         auto pieces = valid();
         pieces.push_back(Place(demo, 0, 100, 70));
         return OneSheet(pieces);
       },
       {{"piece 3", "already placed as sheet 0 piece 0"}}},
      {"a part that does not exist",
       [&] {
         auto pieces = valid();
         pieces[2].partIndex = 80;
         return OneSheet(pieces);
       },
       {{"part 80 does not exist"}}},
      {"a wrong part id",
       [&] {
         auto pieces = valid();
         pieces[2].partId = 7;
         return OneSheet(pieces);
       },
       {{"gives part 41 id 41"}}},
      {"a stock that does not exist",
       [&] { return OneSheet(valid(), 1); },
       {{"stock 1 does not exist"}}},
      {"a wrong stock id", [&] { return OneSheet(valid(), 0, 3); }, {{"gives stock 0 id 0"}}},
      {"a piece without the hole of its part",
       [&] {
         auto b = Place(demo, 20, 180, 20);
         b.holes.clear();
         return OneSheet({b});
       },
       {{"id 20", "0 holes"}}},
      {"a circle for a polygon part",
       [&] {
         auto pieces = valid();
         pieces[0].outline = check::Shape::Circle(110, 50, 5);
         return OneSheet(pieces);
       },
       {{"part 0", "circle"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> faults = ValidateLayout(demo, c.layout());
    EXPECT_EQ(faults.size(), c.expected.size()) << ::testing::PrintToString(faults);
    for (const auto& words : c.expected) {
      EXPECT_TRUE(Mentions(faults, words))
          << ::testing::PrintToString(words) << " in " << ::testing::PrintToString(faults);
    }
  }
}

// Whether a hole receives pieces is the problem's to say, not the layout's.
TEST(Validate, HoleUsabilityComesFromTheProblem) {
  Problem problem;
  StockEntry stock;
  stock.shape = check::Shape::Polygon({{0, 0, 0}, {100, 0, 1}, {100, 100, 2}, {0, 100, 3}});
  problem.stocks = {stock};
  PartEntry frame;
  frame.shape = check::Shape::Polygon({{0, 0, 0}, {50, 0, 1}, {50, 50, 2}, {0, 50, 3}});
  frame.holes = {check::Hole{check::Shape::Circle(25, 25, 15), true, 0.0, 0}};
  PartEntry small;
  small.shape = check::Shape::Circle(0, 0, 5);
  problem.parts = {frame, small};

  for (const bool usable : {true, false}) {
    SCOPED_TRACE(usable ? "usable hole" : "closed hole");
    problem.parts[0].holes[0].nestInside = usable;
    Layout layout = OneSheet({Place(problem, 0, 10, 10), Place(problem, 1, 35, 35)});
    layout.sheets[0].pieces[0].holes[0].nestInside = !usable;  // the layout claims otherwise
    const std::vector<std::string> faults = ValidateLayout(problem, layout);
    EXPECT_EQ(faults.size(), usable ? 0u : 1u) << ::testing::PrintToString(faults);
  }
}

// The cutter of the run is the layout's where it records one, else the
// problem's: two demo circles (radius 10) 3 apart keep the gap of a cutter of
// diameter 1 (2 between parts), not that of a cutter of diameter 2.
TEST(Validate, CutterGapsOfTheRun) {
  Problem demo = DemoProblem();
  Layout layout = OneSheet({Place(demo, 40, 130, 10), Place(demo, 41, 153, 10)});
  const auto tooClose = [](const std::vector<std::string>& faults) {
    return Mentions(faults, {"id 40", " is 3", "id 41", "the cutter leaves 4"});
  };
  EXPECT_EQ(ValidateLayout(demo, layout), std::vector<std::string>{});

  demo.parameters.cutterDiameter = 2.0;
  const std::vector<std::string> byProblem = ValidateLayout(demo, layout);
  EXPECT_EQ(byProblem.size(), 1u) << ::testing::PrintToString(byProblem);
  EXPECT_TRUE(tooClose(byProblem)) << ::testing::PrintToString(byProblem);

  layout.parameters.cutterDiameter = 1.0;
  EXPECT_EQ(ValidateLayout(demo, layout), std::vector<std::string>{});
  layout.parameters.cutterDiameter = 2.0;
  layout.parameters.cutterType = 1;  // 2 between parts, none to the sheet's edge
  EXPECT_EQ(ValidateLayout(demo, layout), std::vector<std::string>{});
}

TEST(Validate, CheckOptionsTakeTheLayoutsParametersOverTheProblems) {
  Parameters problem, layout;
  problem.cutterDiameter = 2.0;
  problem.resolution = 0.5;
  layout.cutterType = 1;
  const check::CheckOptions options = CheckOptionsOf(problem, layout);
  EXPECT_EQ(options.cutterDiameter, 2.0);
  EXPECT_EQ(options.cutterType, 1);
  EXPECT_EQ(options.resolution, 0.5);
  EXPECT_EQ(options.precision, 1e-6);  // the engine's default
}

// One warning per hole that crosses its part, once for a run of consecutive
// entries that cross alike: the demo's ten parts B are ten entries.
TEST(PartWarnings, HolesThatCrossTheirPart) {
  const std::vector<std::string> demo = PartWarnings(DemoProblem());
  ASSERT_EQ(demo.size(), 1u) << ::testing::PrintToString(demo);
  EXPECT_TRUE(Mentions(
      demo, {"parts 20 to 29 (ids 20 to 29): hole 0 reaches 0.573", "outside the part's outline"}))
      << demo[0];

  Problem problem;
  PartEntry frame;
  frame.shape = check::Shape::Polygon({{0, 0, 0}, {50, 0, 1}, {50, 50, 2}, {0, 50, 3}});
  frame.holes = {check::Hole{check::Shape::Circle(45, 25, 10), true, 0.0, 7}};
  frame.identity.quantity = 3;
  frame.identity.id = 5;
  PartEntry inside = frame;
  inside.holes[0].shape = check::Shape::Circle(25, 25, 10);
  inside.identity = {};
  PartEntry deeper = frame;
  deeper.holes[0].shape = check::Shape::Circle(50, 25, 10);
  deeper.identity = {};
  problem.parts = {frame, inside, frame, deeper};
  const std::vector<std::string> lines = PartWarnings(problem);
  EXPECT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
  EXPECT_TRUE(Mentions(lines, {"parts 0 to 2 (id 5): hole 0 (id 7) reaches 5 "})) << lines[0];
  EXPECT_TRUE(Mentions(lines, {"parts 4 to 6 (id 5): hole 0 (id 7) reaches 5 "}));
  EXPECT_TRUE(Mentions(lines, {"part 7 (id 7): hole 0 (id 7) reaches 10 "}));
}

}  // namespace
}  // namespace varnest::cli
