#pragma once
// A problem or layout file that cannot be used, with the place of the fault:
// the file, the JSON pointer of the value at fault, and the line and column
// when the text itself is not JSON.

#include <cstddef>
#include <stdexcept>
#include <string>

namespace varnest::cli {

class InputError : public std::runtime_error {
 public:
  InputError(std::string file, std::string pointer, const std::string& problem, size_t line = 0,
             size_t column = 0);

  const std::string& File() const { return FFile; }
  const std::string& Pointer() const { return FPointer; }
  size_t Line() const { return FLine; }  // 0 when the fault is not in the syntax
  size_t Column() const { return FColumn; }

 private:
  std::string FFile;
  std::string FPointer;
  size_t FLine;
  size_t FColumn;
};

// How messages name an input path: "-" is standard input.
inline std::string InputName(const std::string& path) {
  return path == "-" ? "<standard input>" : path;
}

}  // namespace varnest::cli
