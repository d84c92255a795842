#pragma once
// The result of one run as the command line keeps it: the used sheets as the
// result queries report them, and what the run said about itself.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/layout.h"
#include "cli/problem.h"

namespace varnest::cli {

// What strip packing adds to its layout: the strip and its shortest length.
struct StripSummary {
  double height = 0.0;
  double length = 0.0;   // the largest x reached by a piece, from the strip's start
  double density = 0.0;  // the placed pieces' net area over height x length
  int32_t runs = 0;      // engine runs of the whole search
  double seconds = 0.0;  // time of the whole search
};

struct Layout {
  std::string problemName;
  Parameters parameters;        // every parameter of the run
  PartOverrides partOverrides;  // what the command line set on every polygon part
  double optimizationTime = 0.0;
  bool stopped = false;  // ended early at the user's request
  int32_t errorCode = 0;
  int32_t errorIndex = 0;
  int32_t errorSubIndex = 0;
  int32_t parts = 0;  // part copies in the problem
  int32_t placedParts = 0;
  std::vector<check::Sheet> sheets;
  std::optional<StripSummary> strip;  // layouts of `varnest strip` only
};

}  // namespace varnest::cli
