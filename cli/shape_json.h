#pragma once
// Outlines and circles in the JSON of problem and layout files:
//   polygon: {"vertices": [{"x", "y", "id"}...], "arcs": [{"edge", "center", "clockwise",
//   "id"}...]} circle:  {"center": {"x", "y"}, "radius"}
// Edge i runs from vertex i to vertex i + 1 (the last to the first); an arc
// entry makes that edge an arc about its centre.

#include <nlohmann/json.hpp>

#include "check/layout.h"
#include "cli/json_reader.h"

namespace varnest::cli {

using OrderedJson = nlohmann::ordered_json;

// Reads a polygon; `least` is the smallest vertex count accepted.
check::Shape ReadPolygon(const JsonNode& node, size_t least = 3);
check::Shape ReadCircle(const JsonNode& node);
// The shape of an object that holds exactly one of "polygon" and "circle".
check::Shape ReadShapeOf(const JsonNode& owner);
void ReadPoint(const JsonNode& node, double& x, double& y);

OrderedJson WritePoint(double x, double y);
// Placed outlines carry no arc ids (the result queries report none).
OrderedJson WritePolygon(const check::Shape& polygon, bool arcIds = true);
OrderedJson WriteCircle(const check::Shape& circle);
// Adds "polygon" or "circle" to the object.
void WriteShapeInto(OrderedJson& owner, const check::Shape& shape, bool arcIds = true);

}  // namespace varnest::cli
