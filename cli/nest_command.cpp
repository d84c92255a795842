#include "cli/nest_command.h"

#include <unistd.h>

#include <cstdio>

#include "check/layout_check.h"
#include "cli/demo_problem.h"
#include "cli/input_error.h"
#include "cli/json_writer.h"
#include "cli/layout_format.h"
#include "cli/nest_run.h"
#include "cli/output_file.h"
#include "cli/problem_format.h"
#include "cli/run_check.h"
#include "cli/svg.h"
#include "varnest/model/run_limits.h"

namespace varnest::cli {

namespace {

template <typename T>
std::optional<T> IfGiven(const CLI::Option* option, T value) {
  return option != nullptr && option->count() > 0 ? std::optional<T>(value) : std::nullopt;
}

std::string InputCheckWarning(const Layout& layout) {
  const std::string part = "part " + std::to_string(layout.errorIndex);
  const std::string stock = "stock " + std::to_string(layout.errorIndex);
  const std::string hole = "hole " + std::to_string(layout.errorSubIndex);
  switch (layout.errorCode) {
    case 1:
      return part + ": the outline runs clockwise; it was nested reversed";
    case 2:
      return stock + ": the outline runs clockwise; it was nested reversed";
    case 3:
      return part + ", " + hole + ": the hole runs clockwise; it was nested reversed";
    case 4:
      return stock + ", " + hole + ": the hole runs clockwise; it was nested reversed";
    case 5:
      return "every shape has zero width: nothing could be nested";
    case 6:
      return stock + ", defect " + std::to_string(layout.errorSubIndex) +
             ": crosses the sheet's outline or another defect, or lies outside the sheet; "
             "everything inside any defect was kept free";
    case 7:
      return part + (layout.errorSubIndex < 0 ? ": the outline" : ", " + hole + ":") +
             " crosses or touches itself; the part was not nested";
    case 8:
      return stock +
             (layout.errorSubIndex < 0 ? ": the outline"
                                       : ", defect " + std::to_string(layout.errorSubIndex) + ":") +
             " crosses or touches itself; the sheet was not used";
    case 9:
      return std::string("the run would need more memory than the engine allows for its ") +
             (layout.errorIndex == 0   ? "prepared part rotations"
              : layout.errorIndex == 1 ? "raster grids (try a coarser resolution)"
              : layout.errorIndex == 2 ? "search population (try a lower level)"
                                       : "work") +
             ": nothing was nested";
    default:
      return "the engine's input check reported finding " + std::to_string(layout.errorCode);
  }
}

}  // namespace

void ParameterFlags::AddTo(CLI::App& command, Start start) {
  FResolutionOption = command.add_option("--resolution", FResolution, "Height of a raster strip")
                          ->check(CLI::PositiveNumber);
  FPrecisionOption =
      command.add_option("--precision", FPrecision, "Tolerance of geometric comparisons")
          ->check(CLI::NonNegativeNumber);
  FCutterDiameterOption =
      command.add_option("--cutter-diameter", FCutterDiameter, "Distance by which parts are grown")
          ->check(CLI::NonNegativeNumber);
  FCutterTypeOption =
      command.add_option("--cutter-type", FCutterType, "0 or 1")->check(CLI::Range(0, 1));
  FRotationCenterOption =
      command
          .add_option("--rotation-center", FRotationCenter,
                      "0: the part's given point, 1: its box centre, 2: its centroid")
          ->check(CLI::Range(0, 2));
  FSeedOption = command.add_option("--seed", FSeed, "Random seed of the search");
  FLevelOption = command.add_option("--level", FLevel, "Optimisation level (size of the search)")
                     ->check(CLI::Range(1, kMaxOptimizationLevel));
  if (start == Start::kFlags) {
    FCornerOption = command
                        .add_option("--corner", FCorner,
                                    "Starting corner: 0 low x low y, 1 high x low y, 2 high x "
                                    "high y, 3 low x high y")
                        ->check(CLI::Range(0, 3));
    FDirectionOption =
        command.add_option("--direction", FDirection, "0: along x first, 1: along y first")
            ->check(CLI::Range(0, 1));
  }
  FRotationStepOption = command
                            .add_option("--rotation-step", FRotationStep,
                                        "Rotation step of every polygon part (degrees)")
                            ->check(CLI::Range(0.0, 360.0));
  FMirrorOption = command.add_flag("--mirror", FMirror, "Allow every polygon part to be mirrored");
}

Parameters ParameterFlags::Overrides() const {
  Parameters p;
  p.resolution = IfGiven(FResolutionOption, FResolution);
  p.precision = IfGiven(FPrecisionOption, FPrecision);
  p.cutterDiameter = IfGiven(FCutterDiameterOption, FCutterDiameter);
  p.cutterType = IfGiven(FCutterTypeOption, FCutterType);
  p.rotationCenter = IfGiven(FRotationCenterOption, FRotationCenter);
  p.seed = IfGiven(FSeedOption, FSeed);
  p.level = IfGiven(FLevelOption, FLevel);
  p.corner = IfGiven(FCornerOption, FCorner);
  p.direction = IfGiven(FDirectionOption, FDirection);
  return p;
}

PartOverrides ParameterFlags::PartOverridesOf() const {
  PartOverrides overrides;
  overrides.rotationStep = IfGiven(FRotationStepOption, FRotationStep);
  overrides.mirror = FMirrorOption != nullptr && FMirrorOption->count() > 0;
  return overrides;
}

Problem LoadProblem(const std::string& path, const ParameterFlags& flags, bool quiet) {
  std::vector<std::string> notes;
  Problem problem = path.empty() ? DemoProblem() : ReadProblemFile(path, notes);
  if (!quiet) {
    for (const std::string& note : notes) std::fprintf(stderr, "varnest: note: %s\n", note.c_str());
  }
  problem.parameters.OverrideWith(flags.Overrides());
  problem.partOverrides = flags.PartOverridesOf();
  problem.partOverrides.ApplyTo(problem);
  return problem;
}

void ReportRunWarnings(const Problem& problem, const Layout& layout) {
  for (const std::string& warning : PartWarnings(problem)) {
    std::fprintf(stderr, "varnest: warning: %s\n", warning.c_str());
  }
  if (layout.errorCode != 0) {
    std::fprintf(stderr, "varnest: warning: %s\n", InputCheckWarning(layout).c_str());
  }
  if (layout.stopped) {
    std::fprintf(stderr, "varnest: warning: stopped early; this is the best layout found so far\n");
  }
  const check::CheckOptions options = CheckOptionsOf(problem.parameters, layout.parameters);
  for (const check::Finding& finding : check::CheckLayout(layout.sheets, options)) {
    std::fprintf(stderr, "varnest: warning: the layout fails the independent check: %s\n",
                 check::Describe(finding, layout.sheets).c_str());
  }
}

void PrintSummary(const Layout& layout, std::FILE* to) {
  for (size_t s = 0; s < layout.sheets.size(); ++s) {
    const check::Sheet& sheet = layout.sheets[s];
    std::fprintf(to, "sheet %zu: stock %d (id %d), %zu parts placed, %.2f %% used\n", s,
                 sheet.stock.index, sheet.stock.id, sheet.pieces.size(), 100.0 * sheet.utilization);
  }
  std::fprintf(to, "%d of %d parts placed on %zu sheet%s; search time %.3f s\n", layout.placedParts,
               layout.parts, layout.sheets.size(), layout.sheets.size() == 1 ? "" : "s",
               layout.optimizationTime);
}

CLI::Option* NestOptions::AddTo(CLI::App& command, const std::string& problemHelp) {
  CLI::Option* problem = command.add_option("problem", problemPath, problemHelp);
  command.add_option("-o,--output", layoutPath,
                     "Layout file; without it (and without --svg) the layout goes to "
                     "standard output");
  command.add_option("--svg", svgPath, "Drawing of the layout");
  command.add_flag("-q,--quiet", quiet, "No progress line, notes or summary");
  command.add_flag("--progress", progress,
                   "Draw the progress line even when standard error is not a terminal");
  return problem;
}

bool NestOptions::DrawProgress() const {
  return !quiet && (progress || ::isatty(STDERR_FILENO) != 0);
}

LayoutOutputs::LayoutOutputs(const NestOptions& options)
    : FLayoutPath(!options.layoutPath.empty() ? options.layoutPath
                                              : (options.svgPath.empty() ? "-" : "")),
      FSvgPath(options.svgPath) {}

void LayoutOutputs::CheckFolders() const {
  if (!FLayoutPath.empty()) CheckOutputFolder(FLayoutPath);
  if (!FSvgPath.empty()) CheckOutputFolder(FSvgPath);
}

void LayoutOutputs::Write(const Layout& layout) const {
  if (!FLayoutPath.empty()) WriteFileAtomically(FLayoutPath, PrettyJson(WriteLayout(layout)));
  if (!FSvgPath.empty()) WriteFileAtomically(FSvgPath, RenderSvg(layout));
}

std::FILE* LayoutOutputs::SummaryStream() const { return FLayoutPath == "-" ? stderr : stdout; }

int RunNestCommand(const NestOptions& options, const ParameterFlags& flags) {
  const Problem problem = LoadProblem(options.problemPath, flags, options.quiet);
  const LayoutOutputs outputs(options);
  outputs.CheckFolders();

  RunSettings settings;
  settings.progress = options.DrawProgress();
  const Layout layout = RunProblem(problem, settings);

  ReportRunWarnings(problem, layout);
  outputs.Write(layout);
  if (!options.quiet) PrintSummary(layout, outputs.SummaryStream());
  return kExitOk;
}

}  // namespace varnest::cli
