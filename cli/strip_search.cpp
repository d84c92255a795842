#include "cli/strip_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <utility>

#include "check/flatten.h"
#include "cli/input_error.h"
#include "cli/progress.h"

namespace varnest::cli {

namespace {

// A trial this much shorter than the best is not worth a run: the raster and
// the search's own variation are coarser than that.
constexpr double kSmallestStep = 1e-3;
// The step with which a new seed starts once the last one has shrunk below
// the smallest: near the best, where another seed's packing may still fit.
constexpr double kRetryStep = 1e-2;
// A start length that does not hold every part is doubled this often.
constexpr int32_t kGrowths = 2;

double NetArea(const check::Shape& outline, const std::vector<check::Hole>& holes) {
  double area = std::fabs(check::ExactArea(outline));
  for (const check::Hole& hole : holes) area -= std::fabs(check::ExactArea(hole.shape));
  return area;
}

check::Shape Rectangle(double minX, double minY, double length, double height) {
  return check::Shape::Polygon({{minX, minY, 0},
                                {minX + length, minY, 1},
                                {minX + length, minY + height, 2},
                                {minX, minY + height, 3}});
}

// The reported form of a layout: its sheet is the strip cut where the pieces
// end, so the drawing shows the used length and the utilisation is the
// density.
Layout Finished(Layout layout, const Strip& strip, int32_t runs, double seconds) {
  StripSummary summary;
  summary.height = strip.height;
  summary.length = UsedLength(layout, strip.minX);
  const double used = strip.height * summary.length;
  summary.density = used > 0.0 ? PlacedArea(layout) / used : 0.0;
  summary.runs = runs;
  summary.seconds = seconds;
  for (check::Sheet& sheet : layout.sheets) {
    sheet.stock.outline = Rectangle(strip.minX, strip.minY, summary.length, strip.height);
    sheet.utilization = summary.density;
  }
  layout.strip = summary;
  return layout;
}

}  // namespace

Strip StripOf(const Problem& problem, const std::string& file) {
  const auto fail = [&]() {
    throw InputError(file, "/stocks",
                     "strip packing needs exactly one stock, an axis-parallel rectangle without "
                     "holes or arcs");
  };
  if (problem.stocks.size() != 1 || problem.stocks[0].identity.quantity != 1) fail();
  const StockEntry& stock = problem.stocks[0];
  const std::vector<check::Vertex>& v = stock.shape.vertices;
  if (stock.shape.IsCircle() || !stock.holes.empty() || v.size() != 4) fail();
  for (size_t i = 0; i < 4; ++i) {
    const check::Vertex& a = v[i];
    const check::Vertex& b = v[(i + 1) % 4];
    if (a.isArc || (a.x != b.x && a.y != b.y)) fail();
  }
  Strip strip;
  strip.minX = std::min({v[0].x, v[1].x, v[2].x, v[3].x});
  strip.minY = std::min({v[0].y, v[1].y, v[2].y, v[3].y});
  strip.startLength = std::max({v[0].x, v[1].x, v[2].x, v[3].x}) - strip.minX;
  strip.height = std::max({v[0].y, v[1].y, v[2].y, v[3].y}) - strip.minY;
  if (!(strip.startLength > 0.0) || !(strip.height > 0.0)) fail();
  return strip;
}

Problem WithStripLength(const Problem& problem, const Strip& strip, double length) {
  Problem trial = problem;
  trial.stocks[0].shape = Rectangle(strip.minX, strip.minY, length, strip.height);
  return trial;
}

double UsedLength(const Layout& layout, double minX) {
  double most = -std::numeric_limits<double>::infinity();
  for (const check::Sheet& sheet : layout.sheets) {
    for (const check::PlacedPiece& piece : sheet.pieces)
      most = std::max(most, check::ExactMaxX(piece.outline));
  }
  return std::isfinite(most) ? std::max(0.0, most - minX) : 0.0;
}

double PlacedArea(const Layout& layout) {
  double area = 0.0;
  for (const check::Sheet& sheet : layout.sheets) {
    for (const check::PlacedPiece& piece : sheet.pieces)
      area += NetArea(piece.outline, piece.holes);
  }
  return area;
}

double PartArea(const Problem& problem) {
  double area = 0.0;
  for (const PartEntry& part : problem.parts)
    area += NetArea(part.shape, part.holes) * part.identity.quantity;
  return area;
}

StripResult SearchStrip(const Problem& problem, const Strip& strip, const StripSettings& settings) {
  const auto start = std::chrono::steady_clock::now();
  const std::function<double()> elapsed = settings.elapsed ? settings.elapsed : [start]() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  const std::function<bool()> timeUp = [&]() { return elapsed() >= settings.timeLimit; };
  // The length at 100 % density: no layout is shorter.
  const double areaBound = PartArea(problem) / strip.height;

  // One handler for the whole series, so that a Ctrl-C between two runs
  // still ends it.
  const InterruptHandler interrupts;
  int32_t runs = 0;
  int32_t seed = problem.parameters.Resolved().seed.value_or(0);
  std::optional<Layout> best;  // the shortest complete layout so far
  double bestLength = std::numeric_limits<double>::infinity();
  Layout fullest;  // while nothing is complete: the run that placed the most
  bool anyRun = false;

  const auto runsLeft = [&]() { return settings.maxRuns <= 0 || runs < settings.maxRuns; };
  const auto trial = [&](double length) {
    Problem trialProblem = WithStripLength(problem, strip, length);
    trialProblem.parameters.seed = seed;
    RunSettings run;
    run.progress = settings.progress;
    bool cutShort = false;
    if (best) run.stopWhen = [&]() { return cutShort = cutShort || timeUp(); };
    Layout layout = RunProblem(trialProblem, run);
    ++runs;
    StripTrial told;
    told.cutShort = cutShort;
    told.run = runs;
    told.length = length;
    told.seed = seed;
    told.complete = layout.placedParts == layout.parts;
    if (told.complete) {
      told.usedLength = UsedLength(layout, strip.minX);
      if (told.usedLength < bestLength) {
        bestLength = told.usedLength;
        best = std::move(layout);
        told.best = true;
      }
    } else if (!best && (!anyRun || layout.placedParts > fullest.placedParts)) {
      fullest = std::move(layout);
    }
    anyRun = true;
    if (settings.onTrial) settings.onTrial(told);
    return told.complete;
  };

  double length = strip.startLength;
  for (int32_t growth = 0; !trial(length) && growth < kGrowths; ++growth) {
    if (InterruptHandler::StopRequested() || !runsLeft()) break;
    length *= 2.0;
  }

  if (best) {
    const auto halfWayToBound = [&]() { return 0.5 * (1.0 - areaBound / bestLength); };
    double step = halfWayToBound();
    // Stops when the area bound leaves less than the smallest step to win.
    while (!InterruptHandler::StopRequested() && !timeUp() && runsLeft() &&
           bestLength - areaBound > kSmallestStep * bestLength) {
      step = std::min(step, halfWayToBound());
      if (step < kSmallestStep) {
        seed = seed == std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::min()
                                                           : seed + 1;
        step = std::min(kRetryStep, halfWayToBound());
      }
      if (!trial(bestLength * (1.0 - step))) step *= 0.5;
    }
  }

  StripResult result;
  result.complete = best.has_value();
  result.interrupted = InterruptHandler::StopRequested();
  result.layout = Finished(best ? std::move(*best) : std::move(fullest), strip, runs, elapsed());
  result.layout.stopped = result.interrupted;
  return result;
}

}  // namespace varnest::cli
