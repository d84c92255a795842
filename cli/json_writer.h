#pragma once
// JSON text for people: nested objects and arrays are indented, but any value
// whose one-line form fits the line (a point, a vertex, an arc) stays on one
// line, so a problem or layout file reads one vertex per line.

#include <string>

#include <nlohmann/json.hpp>

namespace varnest::cli {

std::string PrettyJson(const nlohmann::ordered_json& value);

}  // namespace varnest::cli
