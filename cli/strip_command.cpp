#include "cli/strip_command.h"

#include <algorithm>
#include <cstdio>

#include "check/clearance.h"
#include "cli/esicup.h"
#include "cli/input_error.h"
#include "cli/run_check.h"
#include "cli/strip_search.h"

namespace varnest::cli {

namespace {

void PrintTrial(const StripTrial& trial) {
  const char* cut = trial.cutShort ? " (stopped at the time limit)" : "";
  if (trial.complete) {
    std::fprintf(stderr, "varnest: run %d (seed %d): length %.6g: all placed, used %.6g%s%s\n",
                 trial.run, trial.seed, trial.length, trial.usedLength,
                 trial.best ? ", the best so far" : "", cut);
  } else {
    std::fprintf(stderr, "varnest: run %d (seed %d): length %.6g: not every part placed%s\n",
                 trial.run, trial.seed, trial.length, cut);
  }
}

void PrintStripSummary(const Layout& layout, std::FILE* to) {
  const StripSummary& strip = *layout.strip;
  std::fprintf(to, "%d of %d parts placed; strip length %.6g (height %.6g), density %.2f %%\n",
               layout.placedParts, layout.parts, strip.length, strip.height, 100.0 * strip.density);
  std::fprintf(to, "%d engine run%s in %.2f s\n", strip.runs, strip.runs == 1 ? "" : "s",
               strip.seconds);
}

// The reported strip ends where its last piece does, but the strip of the
// run went on: the check sees that end moved out by the gap the cutter keeps
// from a stock's edge, so that the last piece is not taken to crowd it.
Layout WithOpenEnd(Layout layout, const Problem& problem) {
  const check::CheckOptions options = CheckOptionsOf(problem.parameters, layout.parameters);
  const double gap = check::PromisedClearances(options.cutterDiameter, options.cutterType,
                                               options.resolution, options.precision)
                         .toStockEdge;
  for (check::Sheet& sheet : layout.sheets) {
    std::vector<check::Vertex>& corners = sheet.stock.outline.vertices;
    if (corners.empty()) continue;
    const double end =
        std::max_element(corners.begin(), corners.end(), [](const auto& a, const auto& b) {
          return a.x < b.x;
        })->x;
    for (check::Vertex& corner : corners) {
      if (corner.x == end) corner.x += gap;
    }
  }
  return layout;
}

}  // namespace

void StripOptions::AddTo(CLI::App& command) {
  files
      .AddTo(command,
             "Strip-packing instance (ESICUP, or ours with one rectangular stock); "
             "'-' reads standard input")
      ->required();
  command
      .add_option("--time-limit", timeLimit,
                  "Seconds for the whole search (default 60); checked between and during runs")
      ->check(CLI::NonNegativeNumber);
  command.add_option("--max-runs", maxRuns, "Engine runs at most (default: no limit)")
      ->check(CLI::NonNegativeNumber);
  command.add_flag("-v,--verbose", verbose, "One line per engine run on standard error");
}

int RunStripCommand(const StripOptions& options, const ParameterFlags& flags) {
  Problem problem = LoadProblem(options.files.problemPath, flags, options.files.quiet);
  const Strip strip = StripOf(problem, InputName(options.files.problemPath));
  // Packing along y from the strip's start keeps the used length short.
  problem.parameters.corner = 0;
  problem.parameters.direction = 1;
  if (!problem.parameters.level) problem.parameters.level = kDefaultStripLevel;
  if (!problem.parameters.resolution)
    problem.parameters.resolution = strip.height / kStripsPerHeight;
  const LayoutOutputs outputs(options.files);
  outputs.CheckFolders();

  StripSettings settings;
  settings.timeLimit = options.timeLimit;
  settings.maxRuns = options.maxRuns;
  settings.progress = options.files.DrawProgress();
  if (options.verbose && !options.files.quiet) settings.onTrial = PrintTrial;
  const StripResult result = SearchStrip(problem, strip, settings);

  ReportRunWarnings(problem, WithOpenEnd(result.layout, problem));
  if (!result.complete) {
    std::fprintf(stderr,
                 "varnest: warning: no run placed every part; this layout places %d of %d\n",
                 result.layout.placedParts, result.layout.parts);
  }
  outputs.Write(result.layout);
  if (!options.files.quiet) PrintStripSummary(result.layout, outputs.SummaryStream());
  return kExitOk;
}

}  // namespace varnest::cli
