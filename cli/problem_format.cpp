#include "cli/problem_format.h"

#include <limits>

#include "cli/esicup.h"
#include "cli/input_error.h"
#include "varnest/model/run_limits.h"

namespace varnest::cli {

namespace {

constexpr int64_t kLeastInt = std::numeric_limits<int32_t>::min();
constexpr int64_t kMostInt = std::numeric_limits<int32_t>::max();
constexpr double kHuge = std::numeric_limits<double>::max();

void ReadHeader(const JsonNode& root) {
  if (const auto format = root.Find("format"); format && format->String() != kProblemFormat) {
    format->Expected(std::string("\"") + kProblemFormat + "\"");
  }
  if (const auto version = root.Find("version")) version->Integer(kFormatVersion, kFormatVersion);
}

Identity ReadIdentity(const JsonNode& entry) {
  Identity identity;
  if (const auto id = entry.Find("id")) identity.id = id->Integer(kLeastInt, kMostInt);
  if (const auto step = entry.Find("id_step")) identity.idStep = step->Integer(kLeastInt, kMostInt);
  if (const auto quantity = entry.Find("quantity"))
    identity.quantity = quantity->Integer(0, kMostCopies);
  return identity;
}

// The copies' ids and the total count must stay 32-bit; checked once the
// entry's first engine index is known.
void CheckCopies(const JsonNode& entry, const Identity& identity, int64_t first, const char* what) {
  if (first + identity.quantity > kMostCopies) {
    entry.Fail(std::string("more than ") + std::to_string(kMostCopies) + " " + what +
               " in all once quantities are expanded");
  }
  if (identity.quantity == 0) return;
  const int32_t index = static_cast<int32_t>(first);
  for (const int32_t copy : {0, identity.quantity - 1}) {
    const int64_t id = identity.IdOf(index, copy);
    if (id < kLeastInt || id > kMostInt) {
      entry.Fail("the id of copy " + std::to_string(copy) + " (" + std::to_string(id) +
                 ") is not a 32-bit integer");
    }
  }
}

std::vector<check::Hole> ReadHoles(const JsonNode& owner, bool partHoles) {
  std::vector<check::Hole> holes;
  const std::optional<JsonNode> list = owner.Find("holes");
  if (!list) return holes;
  for (size_t h = 0; h < list->ExpectArray(); ++h) {
    const JsonNode item = list->Item(h);
    if (partHoles) {
      item.ExpectObject({"polygon", "circle", "nest_inside", "id"});
    } else {
      item.ExpectObject({"polygon", "circle", "value", "id"});
    }
    check::Hole hole;
    hole.shape = ReadShapeOf(item);
    if (partHoles) hole.nestInside = item.Has("nest_inside") && item.At("nest_inside").Boolean();
    if (!partHoles && item.Has("value")) hole.value = item.At("value").Number();
    hole.id = item.Has("id") ? item.At("id").Integer(kLeastInt, kMostInt) : static_cast<int32_t>(h);
    holes.push_back(std::move(hole));
  }
  return holes;
}

void ExpectEntries(const JsonNode& list, const char* what) {
  if (list.ExpectArray() == 0)
    list.Fail(std::string("expected at least one ") + what + ", found none");
}

void ExpectSomeCopies(const JsonNode& list, int64_t copies, const char* what) {
  if (copies == 0) list.Fail(std::string("every ") + what + " has quantity 0: nothing to nest");
}

void WriteIdentity(OrderedJson& out, const Identity& identity) {
  if (identity.id) out["id"] = *identity.id;
  if (identity.idStep) out["id_step"] = *identity.idStep;
  out["quantity"] = identity.quantity;
}

OrderedJson WriteHoles(const std::vector<check::Hole>& holes, bool partHoles) {
  OrderedJson out = OrderedJson::array();
  for (const check::Hole& hole : holes) {
    OrderedJson item = {{"id", hole.id}};
    if (partHoles) {
      item["nest_inside"] = hole.nestInside;
    } else {
      item["value"] = hole.value;
    }
    WriteShapeInto(item, hole.shape);
    out.push_back(std::move(item));
  }
  return out;
}

}  // namespace

Parameters ReadParameters(const JsonNode& node) {
  node.ExpectObject({"resolution", "precision", "cutter_diameter", "cutter_type", "rotation_center",
                     "seed", "level", "corner", "direction"});
  Parameters p;
  if (const auto v = node.Find("resolution")) {
    p.resolution = v->Number(std::numeric_limits<double>::min(), kHuge, "a number greater than 0");
  }
  if (const auto v = node.Find("precision"))
    p.precision = v->Number(0.0, kHuge, "a number of at least 0");
  if (const auto v = node.Find("cutter_diameter")) {
    p.cutterDiameter = v->Number(0.0, kHuge, "a number of at least 0");
  }
  if (const auto v = node.Find("cutter_type")) p.cutterType = v->Integer(0, 1);
  if (const auto v = node.Find("rotation_center")) p.rotationCenter = v->Integer(0, 2);
  if (const auto v = node.Find("seed")) p.seed = v->Integer(kLeastInt, kMostInt);
  if (const auto v = node.Find("level")) p.level = v->Integer(1, kMaxOptimizationLevel);
  if (const auto v = node.Find("corner")) p.corner = v->Integer(0, 3);
  if (const auto v = node.Find("direction")) p.direction = v->Integer(0, 1);
  return p;
}

Problem ReadProblem(const Json& document, const std::string& file) {
  const JsonNode root(document, "", file);
  root.ExpectObject({"format", "version", "name", "parameters", "stocks", "parts"});
  ReadHeader(root);
  Problem problem;
  if (const auto name = root.Find("name")) problem.name = name->String();
  if (const auto parameters = root.Find("parameters"))
    problem.parameters = ReadParameters(*parameters);

  const JsonNode stocks = root.At("stocks");
  ExpectEntries(stocks, "stock");
  int64_t stockCopies = 0;
  for (size_t s = 0; s < stocks.ExpectArray(); ++s) {
    const JsonNode item = stocks.Item(s);
    item.ExpectObject(
        {"id", "id_step", "quantity", "priority", "margin", "polygon", "circle", "holes"});
    StockEntry stock;
    stock.shape = ReadShapeOf(item);
    stock.holes = ReadHoles(item, false);
    if (const auto margin = item.Find("margin"))
      stock.margin = margin->Number(0.0, kHuge, "a number of at least 0");
    if (const auto priority = item.Find("priority"))
      stock.priority = priority->Integer(kLeastInt, kMostInt);
    stock.identity = ReadIdentity(item);
    CheckCopies(item, stock.identity, stockCopies, "stocks");
    stockCopies += stock.identity.quantity;
    problem.stocks.push_back(std::move(stock));
  }
  ExpectSomeCopies(stocks, stockCopies, "stock");

  const JsonNode parts = root.At("parts");
  ExpectEntries(parts, "part");
  int64_t partCopies = 0;
  for (size_t p = 0; p < parts.ExpectArray(); ++p) {
    const JsonNode item = parts.Item(p);
    item.ExpectObject({"id", "id_step", "quantity", "priority", "rotation_step", "rotation_center",
                       "mirror", "polygon", "circle", "holes"});
    PartEntry part;
    part.shape = ReadShapeOf(item);
    part.holes = ReadHoles(item, true);
    if (const auto step = item.Find("rotation_step")) {
      part.rotationStep = step->Number(0.0, 360.0, "a rotation step from 0 to 360 degrees");
    }
    if (const auto centre = item.Find("rotation_center")) {
      ReadPoint(*centre, part.rotationCenterX, part.rotationCenterY);
    }
    if (const auto mirror = item.Find("mirror")) part.mirror = mirror->Boolean();
    if (const auto priority = item.Find("priority"))
      part.priority = priority->Integer(kLeastInt, kMostInt);
    part.identity = ReadIdentity(item);
    CheckCopies(item, part.identity, partCopies, "parts");
    partCopies += part.identity.quantity;
    problem.parts.push_back(std::move(part));
  }
  ExpectSomeCopies(parts, partCopies, "part");
  return problem;
}

Problem ReadProblemFile(const std::string& path, std::vector<std::string>& notes) {
  const std::string file = InputName(path);
  const Json document = ParseJson(ReadTextFile(path), file);
  if (LooksLikeEsicup(document)) return ReadEsicup(document, file, notes);
  return ReadProblem(document, file);
}

OrderedJson WriteParameters(const Parameters& p) {
  OrderedJson out = OrderedJson::object();
  if (p.resolution) out["resolution"] = *p.resolution;
  if (p.precision) out["precision"] = *p.precision;
  if (p.cutterDiameter) out["cutter_diameter"] = *p.cutterDiameter;
  if (p.cutterType) out["cutter_type"] = *p.cutterType;
  if (p.rotationCenter) out["rotation_center"] = *p.rotationCenter;
  if (p.seed) out["seed"] = *p.seed;
  if (p.level) out["level"] = *p.level;
  if (p.corner) out["corner"] = *p.corner;
  if (p.direction) out["direction"] = *p.direction;
  return out;
}

OrderedJson WriteProblem(const Problem& problem) {
  OrderedJson out = {{"format", kProblemFormat}, {"version", kFormatVersion}};
  if (!problem.name.empty()) out["name"] = problem.name;
  out["parameters"] = WriteParameters(problem.parameters);
  OrderedJson stocks = OrderedJson::array();
  for (const StockEntry& stock : problem.stocks) {
    OrderedJson item = OrderedJson::object();
    WriteIdentity(item, stock.identity);
    item["priority"] = stock.priority;
    item["margin"] = stock.margin;
    WriteShapeInto(item, stock.shape);
    if (!stock.holes.empty()) item["holes"] = WriteHoles(stock.holes, false);
    stocks.push_back(std::move(item));
  }
  out["stocks"] = std::move(stocks);
  OrderedJson parts = OrderedJson::array();
  for (const PartEntry& part : problem.parts) {
    OrderedJson item = OrderedJson::object();
    WriteIdentity(item, part.identity);
    item["priority"] = part.priority;
    item["rotation_step"] = part.rotationStep;
    item["rotation_center"] = WritePoint(part.rotationCenterX, part.rotationCenterY);
    item["mirror"] = part.mirror;
    WriteShapeInto(item, part.shape);
    if (!part.holes.empty()) item["holes"] = WriteHoles(part.holes, true);
    parts.push_back(std::move(item));
  }
  out["parts"] = std::move(parts);
  return out;
}

}  // namespace varnest::cli
