#include "cli/json_reader.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

namespace varnest::cli {

InputError::InputError(std::string file, std::string pointer, const std::string& problem,
                       size_t line, size_t column)
    : std::runtime_error(problem),
      FFile(std::move(file)),
      FPointer(std::move(pointer)),
      FLine(line),
      FColumn(column) {}

namespace {

std::string EscapeToken(const std::string& token) {
  std::string out;
  for (const char c : token) {
    if (c == '~') {
      out += "~0";
    } else if (c == '/') {
      out += "~1";
    } else {
      out += c;
    }
  }
  return out;
}

// Builds the document through the parser's event interface, which lets it
// know the pointer of the value being read when the text goes wrong, and
// notice a key given twice.
class Builder : public nlohmann::json_sax<Json> {
 public:
  enum class Fault { kNone, kSyntax, kRepeatedKey };
  Json root;
  Fault fault = Fault::kNone;
  std::string errorPointer;
  std::string errorMessage;
  size_t errorPosition = 0;

  bool null() override { return Put(Json(nullptr)); }
  bool boolean(bool value) override { return Put(Json(value)); }
  bool number_integer(number_integer_t value) override { return Put(Json(value)); }
  bool number_unsigned(number_unsigned_t value) override { return Put(Json(value)); }
  bool number_float(number_float_t value, const string_t&) override { return Put(Json(value)); }
  bool string(string_t& value) override { return Put(Json(value)); }
  bool binary(binary_t& value) override { return Put(Json::binary(value)); }

  bool start_object(std::size_t) override { return Open(Json::object()); }
  bool start_array(std::size_t) override { return Open(Json::array()); }
  bool end_object() override { return Close(); }
  bool end_array() override { return Close(); }

  bool key(string_t& value) override {
    Frame& frame = FStack.back();
    if (!frame.keys.insert(value).second) {
      fault = Fault::kRepeatedKey;
      errorPointer = PointerOf(FStack.size()) + "/" + EscapeToken(value);
      errorMessage = "the key \"" + value + "\" is given twice in one object";
      return false;
    }
    frame.key = value;
    return true;
  }

  bool parse_error(std::size_t position, const std::string&,
                   const nlohmann::json::exception& error) override {
    fault = Fault::kSyntax;
    errorPosition = position;
    errorPointer = PendingPointer();
    errorMessage = error.what();
    return false;
  }

 private:
  struct Frame {
    Json* container;
    std::optional<std::string> key;  // in an object: the key of the value being read
    std::set<std::string> keys;
  };
  std::vector<Frame> FStack;

  Json* Insert(Json value) {
    if (FStack.empty()) {
      root = std::move(value);
      return &root;
    }
    Frame& frame = FStack.back();
    if (frame.container->is_array()) {
      frame.container->push_back(std::move(value));
      return &frame.container->back();
    }
    Json& slot = (*frame.container)[frame.key.value_or("")];
    slot = std::move(value);
    return &slot;
  }
  // A complete value ends the member it belonged to.
  void EndMember() {
    if (!FStack.empty()) FStack.back().key.reset();
  }
  bool Put(Json value) {
    Insert(std::move(value));
    EndMember();
    return true;
  }
  bool Open(Json empty) {
    Json* inserted = Insert(std::move(empty));
    FStack.push_back({inserted, {}, {}});
    return true;
  }
  bool Close() {
    FStack.pop_back();
    EndMember();
    return true;
  }

  // The pointer of the container at depth `depth` (0 is the document).
  std::string PointerOf(size_t depth) const {
    std::string pointer;
    for (size_t i = 0; i + 1 < depth; ++i) {
      const Frame& frame = FStack[i];
      pointer += "/";
      pointer += frame.container->is_array() ? std::to_string(frame.container->size() - 1)
                                             : EscapeToken(frame.key.value_or(""));
    }
    return pointer;
  }
  // The pointer of the value the parser was reading.
  std::string PendingPointer() const {
    if (FStack.empty()) return "";
    const Frame& frame = FStack.back();
    const std::string container = PointerOf(FStack.size());
    if (frame.container->is_array()) {
      return container + "/" + std::to_string(frame.container->size());
    }
    return frame.key ? container + "/" + EscapeToken(*frame.key) : container;
  }
};

// nlohmann's messages start with "[json.exception...] parse error at line
// L, column C: "; keep what follows, the place is given separately.
std::string Explanation(const std::string& what) {
  std::string text = what;
  if (text.rfind("[json.exception", 0) == 0) {
    const size_t close = text.find("] ");
    if (close != std::string::npos) text = text.substr(close + 2);
  }
  const size_t column = text.find(", column ");
  if (text.rfind("parse error", 0) == 0 && column != std::string::npos) {
    const size_t colon = text.find(": ", column);
    if (colon != std::string::npos) text = text.substr(colon + 2);
  }
  return text;
}

}  // namespace

std::string ReadTextFile(const std::string& path) {
  if (path == "-") {
    std::ostringstream text;
    text << std::cin.rdbuf();
    return text.str();
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InputError(path, "", std::string("cannot open the file: ") + std::strerror(errno));
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw InputError(path, "", "cannot read the file");
  return text;
}

Json ParseJson(const std::string& text, const std::string& file) {
  Builder builder;
  const bool ok = Json::sax_parse(text, &builder, nlohmann::json::input_format_t::json, true);
  if (ok && builder.fault == Builder::Fault::kNone) return std::move(builder.root);
  if (builder.fault == Builder::Fault::kRepeatedKey) {
    throw InputError(file, builder.errorPointer, builder.errorMessage);
  }
  // The parser's position counts the character it stopped on.
  const size_t end =
      std::min(builder.errorPosition > 0 ? builder.errorPosition - 1 : 0, text.size());
  size_t line = 1, column = 1;
  for (size_t i = 0; i < end; ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  throw InputError(file, builder.errorPointer,
                   "not valid JSON: " + Explanation(builder.errorMessage), line, column);
}

std::string Describe(const Json& value) {
  switch (value.type()) {
    case Json::value_t::null:
      return "null";
    case Json::value_t::object:
      return "an object";
    case Json::value_t::array:
      return "an array";
    case Json::value_t::string: {
      std::string text = value.get<std::string>();
      if (text.size() > 40) text = text.substr(0, 37) + "...";
      return "the string " + Json(text).dump();
    }
    case Json::value_t::boolean:
      return value.get<bool>() ? "true" : "false";
    default:
      return value.dump();
  }
}

void JsonNode::Fail(const std::string& problem) const {
  throw InputError(File(), FPointer, problem);
}

void JsonNode::Expected(const std::string& what) const {
  Fail("expected " + what + ", found " + Describe(Value()));
}

void JsonNode::ExpectObject(std::initializer_list<const char*> keys) const {
  if (!Value().is_object()) Expected("an object");
  for (const auto& item : Value().items()) {
    bool known = false;
    for (const char* key : keys) known = known || item.key() == key;
    if (known) continue;
    std::string list;
    for (const char* key : keys) list += std::string(list.empty() ? "" : ", ") + key;
    throw InputError(File(), FPointer + "/" + EscapeToken(item.key()),
                     "unknown key \"" + item.key() + "\" (expected one of: " + list + ")");
  }
}

bool JsonNode::Has(const char* key) const { return Value().is_object() && Value().contains(key); }

JsonNode JsonNode::At(const char* key) const {
  if (!Value().is_object()) Expected("an object");
  if (!Value().contains(key)) Fail(std::string("missing the required key \"") + key + "\"");
  return {Value().at(key), FPointer + "/" + EscapeToken(key), File()};
}

std::optional<JsonNode> JsonNode::Find(const char* key) const {
  if (!Has(key)) return std::nullopt;
  return At(key);
}

size_t JsonNode::ExpectArray(size_t least) const {
  if (!Value().is_array()) Expected("an array");
  if (Value().size() < least) {
    Fail("expected an array of at least " + std::to_string(least) + " entr" +
         (least == 1 ? "y" : "ies") + ", found " + std::to_string(Value().size()));
  }
  return Value().size();
}

JsonNode JsonNode::Item(size_t index) const {
  return {Value().at(index), FPointer + "/" + std::to_string(index), File()};
}

double JsonNode::Number() const {
  if (!Value().is_number()) Expected("a number");
  const double value = Value().get<double>();
  if (!std::isfinite(value)) Expected("a finite number");
  return value;
}

double JsonNode::Number(double least, double most, const char* what) const {
  if (!Value().is_number()) Expected(what);
  const double value = Number();
  if (value < least || value > most) Expected(what);
  return value;
}

int32_t JsonNode::Integer(int64_t least, int64_t most) const {
  const std::string what =
      "a whole number from " + std::to_string(least) + " to " + std::to_string(most);
  if (!Value().is_number()) Expected(what);
  double value = 0.0;
  if (Value().is_number_unsigned()) {
    const uint64_t u = Value().get<uint64_t>();
    if (u > static_cast<uint64_t>(most)) Expected(what);
    return static_cast<int32_t>(u);
  }
  if (Value().is_number_integer()) {
    const int64_t i = Value().get<int64_t>();
    if (i < least || i > most) Expected(what);
    return static_cast<int32_t>(i);
  }
  value = Value().get<double>();
  if (!(value == std::floor(value)) || value < static_cast<double>(least) ||
      value > static_cast<double>(most)) {
    Expected(what);
  }
  return static_cast<int32_t>(value);
}

bool JsonNode::Boolean() const {
  if (!Value().is_boolean()) Expected("true or false");
  return Value().get<bool>();
}

std::string JsonNode::String() const {
  if (!Value().is_string()) Expected("a string");
  return Value().get<std::string>();
}

}  // namespace varnest::cli
