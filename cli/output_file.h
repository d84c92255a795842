#pragma once
// Output files appear whole or not at all: the text goes to a temporary file
// beside the target, which is renamed over it only once fully written, so an
// existing file is never truncated by a failed or interrupted run.

#include <stdexcept>
#include <string>

namespace varnest::cli {

class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "-" writes to standard output. Throws OutputError naming the file.
void WriteFileAtomically(const std::string& path, const std::string& text);

// Throws OutputError when the folder that would hold `path` does not exist,
// so a run is not wasted on an output that cannot be written.
void CheckOutputFolder(const std::string& path);

}  // namespace varnest::cli
