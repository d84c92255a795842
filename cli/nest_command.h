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
  void AddTo(CLI::App& command);
  Parameters Overrides() const;
  // Applies the rotation step and mirror overrides to every polygon part.
  void ApplyPartOverrides(Problem& problem) const;

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
};

// The problem of a file (our format or ESICUP) or the demo problem, with the
// flags applied. Notes of the ESICUP conversion go to standard error unless
// quiet. Throws InputError.
Problem LoadProblem(const std::string& path, const ParameterFlags& flags, bool quiet);

// Warnings about the run on standard error: the engine's input-check
// finding, an interrupted search, and every finding of the independent check.
void ReportRunWarnings(const Layout& layout);
// One line per sheet and a total.
void PrintSummary(const Layout& layout, std::FILE* to);

int RunNestCommand(const NestOptions& options, const ParameterFlags& flags);

}  // namespace varnest::cli
