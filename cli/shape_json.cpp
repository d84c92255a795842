#include "cli/shape_json.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace varnest::cli {

namespace {
constexpr int64_t kLeastId = std::numeric_limits<int32_t>::min();
constexpr int64_t kMostId = std::numeric_limits<int32_t>::max();
}  // namespace

void ReadPoint(const JsonNode& node, double& x, double& y) {
  node.ExpectObject({"x", "y"});
  x = node.At("x").Number();
  y = node.At("y").Number();
}

check::Shape ReadPolygon(const JsonNode& node, size_t least) {
  node.ExpectObject({"vertices", "arcs"});
  const JsonNode vertices = node.At("vertices");
  const size_t n = vertices.ExpectArray(least);
  check::Shape shape = check::Shape::Polygon({});
  shape.vertices.resize(n);
  for (size_t v = 0; v < n; ++v) {
    const JsonNode item = vertices.Item(v);
    item.ExpectObject({"x", "y", "id"});
    check::Vertex& vertex = shape.vertices[v];
    vertex.x = item.At("x").Number();
    vertex.y = item.At("y").Number();
    vertex.id = item.Has("id") ? item.At("id").Integer(kLeastId, kMostId) : static_cast<int32_t>(v);
  }
  const std::optional<JsonNode> arcs = node.Find("arcs");
  if (!arcs) return shape;
  std::vector<std::string> arcOfEdge(n);
  for (size_t a = 0; a < arcs->ExpectArray(); ++a) {
    const JsonNode item = arcs->Item(a);
    item.ExpectObject({"edge", "center", "clockwise", "id"});
    const JsonNode edgeNode = item.At("edge");
    if (!edgeNode.Value().is_number_integer() || edgeNode.Value().get<int64_t>() < 0 ||
        edgeNode.Value().get<int64_t>() >= static_cast<int64_t>(n)) {
      edgeNode.Expected("an edge index from 0 to " + std::to_string(n - 1) + " (the polygon has " +
                        std::to_string(n) + " vertices and as many edges)");
    }
    const size_t edge = edgeNode.Value().get<size_t>();
    if (!arcOfEdge[edge].empty()) {
      edgeNode.Fail("edge " + std::to_string(edge) + " already has an arc, at " + arcOfEdge[edge]);
    }
    arcOfEdge[edge] = item.Pointer();
    check::Vertex& vertex = shape.vertices[edge];
    vertex.isArc = true;
    ReadPoint(item.At("center"), vertex.centerX, vertex.centerY);
    vertex.clockwise = item.Has("clockwise") && item.At("clockwise").Boolean();
    vertex.arcId = item.Has("id") ? item.At("id").Integer(kLeastId, kMostId) : 0;
  }
  return shape;
}

check::Shape ReadCircle(const JsonNode& node) {
  node.ExpectObject({"center", "radius"});
  check::Shape shape = check::Shape::Circle(0, 0, 0);
  ReadPoint(node.At("center"), shape.centerX, shape.centerY);
  const JsonNode radius = node.At("radius");
  shape.radius = radius.Number();
  if (!(shape.radius > 0.0)) radius.Expected("a radius greater than 0");
  return shape;
}

check::Shape ReadShapeOf(const JsonNode& owner) {
  const bool polygon = owner.Has("polygon");
  const bool circle = owner.Has("circle");
  if (polygon && circle) owner.Fail("give either \"polygon\" or \"circle\", not both");
  if (polygon) return ReadPolygon(owner.At("polygon"));
  if (circle) return ReadCircle(owner.At("circle"));
  owner.Fail("missing the shape: expected a \"polygon\" or a \"circle\" key");
}

OrderedJson WritePoint(double x, double y) { return {{"x", x}, {"y", y}}; }

OrderedJson WritePolygon(const check::Shape& polygon, bool arcIds) {
  OrderedJson vertices = OrderedJson::array();
  OrderedJson arcs = OrderedJson::array();
  for (size_t v = 0; v < polygon.vertices.size(); ++v) {
    const check::Vertex& vertex = polygon.vertices[v];
    vertices.push_back({{"x", vertex.x}, {"y", vertex.y}, {"id", vertex.id}});
    if (!vertex.isArc) continue;
    OrderedJson arc = {{"edge", v},
                       {"center", WritePoint(vertex.centerX, vertex.centerY)},
                       {"clockwise", vertex.clockwise}};
    if (arcIds) arc["id"] = vertex.arcId;
    arcs.push_back(std::move(arc));
  }
  OrderedJson out = {{"vertices", std::move(vertices)}};
  if (!arcs.empty()) out["arcs"] = std::move(arcs);
  return out;
}

OrderedJson WriteCircle(const check::Shape& circle) {
  return {{"center", WritePoint(circle.centerX, circle.centerY)}, {"radius", circle.radius}};
}

void WriteShapeInto(OrderedJson& owner, const check::Shape& shape, bool arcIds) {
  if (shape.IsCircle()) {
    owner["circle"] = WriteCircle(shape);
  } else {
    owner["polygon"] = WritePolygon(shape, arcIds);
  }
}

}  // namespace varnest::cli
