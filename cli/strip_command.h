#pragma once
// `varnest strip INSTANCE [--time-limit S] [-o LAYOUT.json] [--svg LAYOUT.svg]
// [flags]`: the shortest strip that holds every part (strip_search.h), with
// the files and messages of `nest`.

#include <cstdint>

#include <CLI/CLI.hpp>

#include "cli/nest_command.h"

namespace varnest::cli {

// The engine's level for every trial when neither the problem nor --level
// sets one. The engine's fitness is the placed area, so a stock that holds
// everything easily ends its search at once whatever the level; only trials
// near the shortest length need the search, and at level 1 or 10 it finds
// nothing there. 100 is a trade: a minute holds thirty to four hundred
// trials of an ESICUP instance, and higher levels did not reach shorter
// strips in the same time.
inline constexpr int32_t kDefaultStripLevel = 100;
inline constexpr double kDefaultStripTimeLimit = 60.0;

struct StripOptions {
  NestOptions files;  // the instance, the outputs, -q and --progress
  double timeLimit = kDefaultStripTimeLimit;
  int32_t maxRuns = 0;   // 0: no limit but the time
  bool verbose = false;  // one line per engine run

  void AddTo(CLI::App& command);
};

int RunStripCommand(const StripOptions& options, const ParameterFlags& flags);

}  // namespace varnest::cli
