#include "cli/json_writer.h"

namespace varnest::cli {

namespace {

constexpr size_t kLineWidth = 100;
constexpr size_t kIndent = 2;

using Value = nlohmann::ordered_json;

// The one-line form, with a space after every colon and comma.
std::string OneLine(const Value& value) {
  if (value.is_object()) {
    if (value.empty()) return "{}";
    std::string out = "{";
    bool first = true;
    for (const auto& item : value.items()) {
      if (!first) out += ", ";
      out += Value(item.key()).dump();
      out += ": ";
      out += OneLine(item.value());
      first = false;
    }
    return out + "}";
  }
  if (value.is_array()) {
    if (value.empty()) return "[]";
    std::string out = "[";
    bool first = true;
    for (const Value& item : value) {
      if (!first) out += ", ";
      out += OneLine(item);
      first = false;
    }
    return out + "]";
  }
  return value.dump();
}

void Write(const Value& value, size_t indent, size_t used, std::string& out) {
  const std::string line = OneLine(value);
  if ((!value.is_object() && !value.is_array()) || value.empty() ||
      indent + used + line.size() <= kLineWidth) {
    out += line;
    return;
  }
  const std::string inner(indent + kIndent, ' ');
  const bool object = value.is_object();
  out += object ? "{\n" : "[\n";
  bool first = true;
  for (const auto& item : value.items()) {
    if (!first) out += ",\n";
    first = false;
    out += inner;
    size_t prefix = 0;
    if (object) {
      const std::string key = Value(item.key()).dump() + ": ";
      out += key;
      prefix = key.size();
    }
    Write(item.value(), indent + kIndent, prefix, out);
  }
  out += '\n';
  out.append(indent, ' ');
  out += object ? '}' : ']';
}

}  // namespace

std::string PrettyJson(const nlohmann::ordered_json& value) {
  std::string out;
  Write(value, 0, 0, out);
  return out + "\n";
}

}  // namespace varnest::cli
