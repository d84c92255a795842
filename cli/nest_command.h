#pragma once
// `varnest nest [PROBLEM] [-o LAYOUT.json] [--svg LAYOUT.svg] [flags]`.
//
// The pieces are kept apart so that another command (strip packing) can
// reuse them: the parameter flags, the loading of a problem with its
// overrides, the run (nest_run.h), and the writing of the results.

#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/layout.h"
#include "cli/problem.h"

namespace varnest::cli {

// Exit statuses of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitInvalid = 1;  // an invalid layout, or an output that could not be written
inline constexpr int kExitBadInput = 2;

// The engine parameter flags and the two per-part overrides that the
// demonstration window offers (rotation step and mirroring of polygon parts).
class ParameterFlags {
 public:
  // A command that fixes where packing starts (strip packing) leaves out
  // --corner and --direction.
  enum class Start { kFlags, kFixed };
  void AddTo(CLI::App& command, Start start = Start::kFlags);
  Parameters Overrides() const;
  // The rotation step and mirror overrides of every polygon part.
  PartOverrides PartOverridesOf() const;

 private:
  double FResolution = 0, FPrecision = 0, FCutterDiameter = 0, FRotationStep = 0;
  int32_t FCutterType = 0, FRotationCenter = 0, FSeed = 0, FLevel = 0, FCorner = 0, FDirection = 0;
  bool FMirror = false;
  CLI::Option* FResolutionOption = nullptr;
  CLI::Option* FPrecisionOption = nullptr;
  CLI::Option* FCutterDiameterOption = nullptr;
  CLI::Option* FCutterTypeOption = nullptr;
  CLI::Option* FRotationCenterOption = nullptr;
  CLI::Option* FSeedOption = nullptr;
  CLI::Option* FLevelOption = nullptr;
  CLI::Option* FCornerOption = nullptr;
  CLI::Option* FDirectionOption = nullptr;
  CLI::Option* FRotationStepOption = nullptr;
  CLI::Option* FMirrorOption = nullptr;
};

struct NestOptions {
  std::string problemPath;  // empty: the built-in demo problem; "-": standard input
  std::string layoutPath;   // empty: standard output, unless an SVG is asked for
  std::string svgPath;
  bool quiet = false;
  bool progress = false;  // the progress line even when standard error is no terminal

  // The problem argument (returned), -o, --svg, -q and --progress.
  CLI::Option* AddTo(CLI::App& command, const std::string& problemHelp);
  // The progress line is drawn unless quiet, on a terminal or when asked.
  bool DrawProgress() const;
};

// Where a command's results go: the layout JSON to its file, or to standard
// output when neither it nor a drawing is named; the drawing to its file.
class LayoutOutputs {
 public:
  explicit LayoutOutputs(const NestOptions& options);
  // Before the run, so that no run is wasted on an output that cannot be
  // written. Throws OutputError.
  void CheckFolders() const;
  // Each file whole or not at all. Throws OutputError.
  void Write(const Layout& layout) const;
  // The summary goes to standard error while the layout takes standard output.
  std::FILE* SummaryStream() const;

 private:
  std::string FLayoutPath;  // empty: none; "-": standard output
  std::string FSvgPath;     // empty: none
};

// The problem of a file (our format or ESICUP) or the demo problem, with the
// flags applied. Notes of the ESICUP conversion go to standard error unless
// quiet. Throws InputError.
Problem LoadProblem(const std::string& path, const ParameterFlags& flags, bool quiet);

// Warnings about the run on standard error: holes that cross their part's
// outline, the engine's input-check finding, an interrupted search, and every
// finding of the independent check with the run's cutter.
void ReportRunWarnings(const Problem& problem, const Layout& layout);
// One line per sheet and a total.
void PrintSummary(const Layout& layout, std::FILE* to);

int RunNestCommand(const NestOptions& options, const ParameterFlags& flags);

}  // namespace varnest::cli
