#include "cli/layout_format.h"

#include <cmath>
#include <limits>

#include "cli/problem_format.h"

namespace varnest::cli {

namespace {

constexpr int64_t kLeastInt = std::numeric_limits<int32_t>::min();
constexpr int64_t kMostInt = std::numeric_limits<int32_t>::max();

OrderedJson WritePiece(const check::PlacedPiece& piece) {
  OrderedJson out = {{"part_index", piece.partIndex},
                     {"part_id", piece.partId},
                     {"angle", piece.angle},
                     {"mirrored", piece.mirrored},
                     {"position", WritePoint(piece.x, piece.y)}};
  WriteShapeInto(out, piece.outline, false);
  if (!piece.holes.empty()) {
    OrderedJson holes = OrderedJson::array();
    for (const check::Hole& hole : piece.holes) {
      OrderedJson item = {{"id", hole.id}, {"nest_inside", hole.nestInside}};
      WriteShapeInto(item, hole.shape, false);
      holes.push_back(std::move(item));
    }
    out["holes"] = std::move(holes);
  }
  return out;
}

check::PlacedPiece ReadPiece(const JsonNode& node) {
  node.ExpectObject(
      {"part_index", "part_id", "angle", "mirrored", "position", "polygon", "circle", "holes"});
  check::PlacedPiece piece;
  piece.partIndex = node.At("part_index").Integer(0, kMostInt);
  piece.partId = node.At("part_id").Integer(kLeastInt, kMostInt);
  if (const auto angle = node.Find("angle")) piece.angle = angle->Number();
  if (const auto mirrored = node.Find("mirrored")) piece.mirrored = mirrored->Boolean();
  if (const auto position = node.Find("position")) ReadPoint(*position, piece.x, piece.y);
  piece.outline = ReadShapeOf(node);
  if (const auto holes = node.Find("holes")) {
    for (size_t h = 0; h < holes->ExpectArray(); ++h) {
      const JsonNode item = holes->Item(h);
      item.ExpectObject({"id", "nest_inside", "polygon", "circle"});
      check::Hole hole;
      hole.shape = ReadShapeOf(item);
      if (const auto id = item.Find("id")) hole.id = id->Integer(kLeastInt, kMostInt);
      if (const auto nest = item.Find("nest_inside")) hole.nestInside = nest->Boolean();
      piece.holes.push_back(std::move(hole));
    }
  }
  return piece;
}

// JSON has no NaN; a ratio over a stock without area is written as 0.
double Finite(double value) { return std::isfinite(value) ? value : 0.0; }

}  // namespace

OrderedJson WriteLayout(const Layout& layout) {
  OrderedJson out = {{"format", kLayoutFormat}, {"version", kFormatVersion}};
  if (!layout.problemName.empty()) out["problem"] = layout.problemName;
  out["parameters"] = WriteParameters(layout.parameters);
  if (!layout.partOverrides.Empty()) {
    OrderedJson overrides = OrderedJson::object();
    if (layout.partOverrides.rotationStep) {
      overrides["rotation_step"] = *layout.partOverrides.rotationStep;
    }
    if (layout.partOverrides.mirror) overrides["mirror"] = true;
    out["part_overrides"] = std::move(overrides);
  }
  out["optimization_time"] = Finite(layout.optimizationTime);
  out["stopped"] = layout.stopped;
  out["input_check"] = {{"code", layout.errorCode},
                        {"index", layout.errorIndex},
                        {"sub_index", layout.errorSubIndex}};
  out["parts"] = layout.parts;
  out["placed_parts"] = layout.placedParts;
  if (layout.strip) {
    const StripSummary& strip = *layout.strip;
    out["strip"] = {{"height", Finite(strip.height)},
                    {"length", Finite(strip.length)},
                    {"density", Finite(strip.density)},
                    {"runs", strip.runs},
                    {"seconds", Finite(strip.seconds)}};
  }
  OrderedJson sheets = OrderedJson::array();
  for (const check::Sheet& sheet : layout.sheets) {
    OrderedJson pieces = OrderedJson::array();
    for (const check::PlacedPiece& piece : sheet.pieces) pieces.push_back(WritePiece(piece));
    sheets.push_back({{"stock_index", sheet.stock.index},
                      {"stock_id", sheet.stock.id},
                      {"utilization", Finite(sheet.utilization)},
                      {"pieces", std::move(pieces)}});
  }
  out["sheets"] = std::move(sheets);
  return out;
}

Layout ReadLayout(const Json& document, const std::string& file) {
  const JsonNode root(document, "", file);
  root.ExpectObject({"format", "version", "problem", "parameters", "part_overrides",
                     "optimization_time", "stopped", "input_check", "parts", "placed_parts",
                     "strip", "sheets"});
  if (const auto format = root.Find("format"); format && format->String() != kLayoutFormat) {
    format->Expected(std::string("\"") + kLayoutFormat + "\"");
  }
  if (const auto version = root.Find("version")) version->Integer(kFormatVersion, kFormatVersion);
  Layout layout;
  if (const auto name = root.Find("problem")) layout.problemName = name->String();
  if (const auto parameters = root.Find("parameters"))
    layout.parameters = ReadParameters(*parameters);
  if (const auto overrides = root.Find("part_overrides")) {
    overrides->ExpectObject({"rotation_step", "mirror"});
    if (const auto step = overrides->Find("rotation_step")) {
      layout.partOverrides.rotationStep = step->Number(0.0, 360.0, "a number from 0 to 360");
    }
    if (const auto mirror = overrides->Find("mirror")) {
      layout.partOverrides.mirror = mirror->Boolean();
    }
  }
  if (const auto time = root.Find("optimization_time")) layout.optimizationTime = time->Number();
  if (const auto stopped = root.Find("stopped")) layout.stopped = stopped->Boolean();
  if (const auto check = root.Find("input_check")) {
    check->ExpectObject({"code", "index", "sub_index"});
    layout.errorCode = check->At("code").Integer(kLeastInt, kMostInt);
    layout.errorIndex = check->At("index").Integer(kLeastInt, kMostInt);
    layout.errorSubIndex = check->At("sub_index").Integer(kLeastInt, kMostInt);
  }
  if (const auto parts = root.Find("parts")) layout.parts = parts->Integer(0, kMostInt);
  if (const auto placed = root.Find("placed_parts"))
    layout.placedParts = placed->Integer(0, kMostInt);
  if (const auto strip = root.Find("strip")) {
    strip->ExpectObject({"height", "length", "density", "runs", "seconds"});
    StripSummary summary;
    summary.height = strip->At("height").Number();
    summary.length = strip->At("length").Number();
    summary.density = strip->At("density").Number();
    summary.runs = strip->At("runs").Integer(0, kMostInt);
    summary.seconds = strip->At("seconds").Number();
    layout.strip = summary;
  }
  const JsonNode sheets = root.At("sheets");
  for (size_t s = 0; s < sheets.ExpectArray(); ++s) {
    const JsonNode item = sheets.Item(s);
    item.ExpectObject({"stock_index", "stock_id", "utilization", "pieces"});
    check::Sheet sheet;
    sheet.stock.index = item.At("stock_index").Integer(0, kMostInt);
    if (const auto id = item.Find("stock_id")) sheet.stock.id = id->Integer(kLeastInt, kMostInt);
    if (const auto used = item.Find("utilization")) sheet.utilization = used->Number();
    const JsonNode pieces = item.At("pieces");
    for (size_t p = 0; p < pieces.ExpectArray(); ++p)
      sheet.pieces.push_back(ReadPiece(pieces.Item(p)));
    layout.sheets.push_back(std::move(sheet));
  }
  return layout;
}

}  // namespace varnest::cli
