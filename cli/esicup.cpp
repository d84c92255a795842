#include "cli/esicup.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <set>
#include <sstream>

namespace varnest::cli {

namespace {

// Orientations are compared in whole millionths of a degree.
constexpr double kUnitsPerDegree = 1e6;
constexpr int64_t kFullTurn = 360 * 1000000LL;
// Without a list the instance allows any angle, which no step can offer.
constexpr double kStepForFreeRotation = 90.0;
// Room added to the side-by-side length for the raster's rounding.
constexpr double kLengthSlack = 1.1;

int64_t ToUnits(double degrees) {
  const double turned = std::fmod(degrees, 360.0);
  int64_t units =
      static_cast<int64_t>(std::llround((turned < 0 ? turned + 360.0 : turned) * kUnitsPerDegree));
  return units % kFullTurn;
}

std::string Degrees(const std::set<int64_t>& units) {
  std::ostringstream text;
  bool first = true;
  for (const int64_t u : units) {
    text << (first ? "" : ", ") << static_cast<double>(u) / kUnitsPerDegree;
    first = false;
  }
  return text.str();
}

struct Extent {
  double width, height;
};

// The box of the outline turned counter-clockwise by the angle.
Extent TurnedExtent(const check::Shape& shape, double degrees) {
  const double a = degrees * std::numbers::pi / 180.0;
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  bool first = true;
  for (const check::Vertex& v : shape.vertices) {
    const double x = std::cos(a) * v.x - std::sin(a) * v.y;
    const double y = std::sin(a) * v.x + std::cos(a) * v.y;
    if (first) {
      minX = maxX = x;
      minY = maxY = y;
      first = false;
    }
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  return {maxX - minX, maxY - minY};
}

check::Shape ReadOutline(const JsonNode& shape) {
  // Third-party format: keys we do not use are left alone.
  const std::string type = shape.At("type").String();
  if (type != "simple_polygon") shape.At("type").Expected("\"simple_polygon\"");
  const JsonNode data = shape.At("data");
  const size_t n = data.ExpectArray(3);
  std::vector<check::Vertex> vertices;
  for (size_t i = 0; i < n; ++i) {
    const JsonNode point = data.Item(i);
    if (point.ExpectArray(2) != 2) point.Expected("a point [x, y]");
    check::Vertex vertex;
    vertex.x = point.Item(0).Number();
    vertex.y = point.Item(1).Number();
    vertex.id = static_cast<int32_t>(vertices.size());
    vertices.push_back(vertex);
  }
  // The files close every polygon by repeating its first point.
  if (vertices.size() > 1 && vertices.front().x == vertices.back().x &&
      vertices.front().y == vertices.back().y) {
    vertices.pop_back();
  }
  if (vertices.size() < 3) data.Fail("expected at least 3 distinct points");
  return check::Shape::Polygon(std::move(vertices));
}

}  // namespace

bool LooksLikeEsicup(const Json& document) {
  return document.is_object() && document.contains("strip_height") && document.contains("items") &&
         !document.contains("parts");
}

double RotationStepFor(const std::vector<double>& orientations, bool& exact) {
  std::set<int64_t> wanted;
  for (const double o : orientations) wanted.insert(ToUnits(o));
  if (wanted.empty()) wanted.insert(0);
  int64_t step = kFullTurn;
  for (const int64_t u : wanted) step = std::gcd(step, u);
  std::set<int64_t> offered;
  for (int64_t u = 0; u < kFullTurn; u += step) offered.insert(u);
  exact = offered == wanted;
  return step == kFullTurn ? 0.0 : static_cast<double>(step) / kUnitsPerDegree;
}

Problem ReadEsicup(const Json& document, const std::string& file, std::vector<std::string>& notes) {
  const JsonNode root(document, "", file);
  if (!root.Value().is_object()) root.Expected("an object");
  Problem problem;
  if (const auto name = root.Find("name")) problem.name = name->String();
  const JsonNode heightNode = root.At("strip_height");
  const double height = heightNode.Number();
  if (!(height > 0.0)) heightNode.Expected("a height greater than 0");

  const JsonNode items = root.At("items");
  if (items.ExpectArray() == 0) items.Fail("expected at least one item, found none");
  double length = 0.0;
  int64_t copies = 0;
  for (size_t i = 0; i < items.ExpectArray(); ++i) {
    const JsonNode item = items.Item(i);
    if (!item.Value().is_object()) item.Expected("an object");
    PartEntry part;
    part.shape = ReadOutline(item.At("shape"));
    part.identity.id = item.At("id").Integer(0, std::numeric_limits<int32_t>::max());
    part.identity.idStep = 0;  // every copy carries the item's id
    part.identity.quantity = item.At("demand").Integer(0, 1000000);
    copies += part.identity.quantity;

    std::vector<double> orientations;
    bool free = true;
    if (const auto list = item.Find("allowed_orientations")) {
      free = false;
      for (size_t k = 0; k < list->ExpectArray(); ++k)
        orientations.push_back(list->Item(k).Number());
    }
    bool exact = false;
    part.rotationStep = free ? kStepForFreeRotation : RotationStepFor(orientations, exact);
    if (free) {
      notes.push_back("item " + std::to_string(*part.identity.id) +
                      " may turn freely; it is offered every multiple of 90 degrees");
    } else if (!exact) {
      std::set<int64_t> wanted;
      for (const double o : orientations) wanted.insert(ToUnits(o));
      std::ostringstream step;
      step << part.rotationStep;
      notes.push_back("item " + std::to_string(*part.identity.id) + " allows " +
                      (wanted.empty() ? std::string("no orientation") : Degrees(wanted)) +
                      " degrees; rotation step " + step.str() +
                      " is the nearest that includes them and allows more");
    }

    // Side by side, each copy in its narrowest allowed orientation that fits
    // the strip's height; that length always holds every item.
    double narrowest = std::numeric_limits<double>::infinity();
    const int32_t turns =
        part.rotationStep > 0 ? static_cast<int32_t>(360.0 / part.rotationStep) : 1;
    for (int32_t k = 0; k < turns; ++k) {
      const Extent extent = TurnedExtent(part.shape, k * part.rotationStep);
      if (extent.height <= height) narrowest = std::min(narrowest, extent.width);
    }
    if (!std::isfinite(narrowest)) {
      notes.push_back(
          "item " + std::to_string(*part.identity.id) +
          " is higher than the strip in every allowed orientation and cannot be placed");
      narrowest = 0.0;
    }
    length += narrowest * part.identity.quantity;
    problem.parts.push_back(std::move(part));
  }
  if (copies == 0) items.Fail("every item has demand 0: nothing to nest");

  length = std::max(length * kLengthSlack, height);
  StockEntry stock;
  stock.shape =
      check::Shape::Polygon({{0, 0, 0}, {length, 0, 1}, {length, height, 2}, {0, height, 3}});
  stock.identity.id = 0;
  problem.stocks.push_back(std::move(stock));
  problem.parameters.direction = 1;
  problem.parameters.resolution = height / kStripsPerHeight;
  return problem;
}

}  // namespace varnest::cli
