#pragma once
// Reading JSON files with messages that say where and what: the parser
// reports syntax errors with line, column and the JSON pointer it had
// reached, and JsonNode reads typed values that know their own pointer.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/input_error.h"

namespace varnest::cli {

using Json = nlohmann::json;

// The file's text; "-" reads standard input. Throws InputError when the file
// cannot be read.
std::string ReadTextFile(const std::string& path);

// Parses text; `file` names it in messages. Besides syntax errors, a key
// given twice in one object is an error: JSON leaves its meaning open.
Json ParseJson(const std::string& text, const std::string& file);

// A value inside a parsed document, with its pointer.
class JsonNode {
 public:
  JsonNode(const Json& value, std::string pointer, const std::string& file)
      : FValue(&value), FPointer(std::move(pointer)), FFile(&file) {}

  const Json& Value() const { return *FValue; }
  const std::string& Pointer() const { return FPointer; }
  const std::string& File() const { return *FFile; }

  // Objects. Expect fails unless the value is an object whose keys all come
  // from the list, so that a misspelt key is not silently ignored.
  void ExpectObject(std::initializer_list<const char*> keys) const;
  bool Has(const char* key) const;
  JsonNode At(const char* key) const;  // a required key
  std::optional<JsonNode> Find(const char* key) const;

  // Arrays.
  size_t ExpectArray(size_t least = 0) const;  // returns the size
  JsonNode Item(size_t index) const;

  // Scalars. Numbers must be finite; whole numbers must be integers of the
  // given range (3.0 counts as 3).
  double Number() const;
  double Number(double least, double most, const char* what) const;
  int32_t Integer(int64_t least, int64_t most) const;
  bool Boolean() const;
  std::string String() const;

  [[noreturn]] void Fail(const std::string& problem) const;
  // "expected <what>, found <a description of this value>"
  [[noreturn]] void Expected(const std::string& what) const;

 private:
  const Json* FValue;
  std::string FPointer;
  const std::string* FFile;
};

// A short description of a value for messages: "the string \"two\"", "-3",
// "an array", "null".
std::string Describe(const Json& value);

}  // namespace varnest::cli
