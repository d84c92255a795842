#pragma once
// The result of one run as the command line keeps it: the used sheets as the
// result queries report them, and what the run said about itself.

#include <cstdint>
#include <string>
#include <vector>

#include "check/layout.h"
#include "cli/problem.h"

namespace varnest::cli {

struct Layout {
  std::string problemName;
  Parameters parameters;  // every parameter of the run
  double optimizationTime = 0.0;
  bool stopped = false;  // ended early at the user's request
  int32_t errorCode = 0;
  int32_t errorIndex = 0;
  int32_t errorSubIndex = 0;
  int32_t parts = 0;  // part copies in the problem
  int32_t placedParts = 0;
  std::vector<check::Sheet> sheets;
};

}  // namespace varnest::cli
