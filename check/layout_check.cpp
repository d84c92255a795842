#include "check/layout_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "check/flatten.h"

namespace varnest::check {

namespace bg = boost::geometry;

namespace {

// A rebuilt piece: the material it occupies (outline minus usable holes).
struct PieceRegion {
  Polygon outline;
  Region material;
  Box box;
  double boundary = 0.0;
};

struct DefectRegion {
  Polygon polygon;
  Box box;
  double boundary = 0.0;
};

// The larger side of the box of the stock's vertices or circle: the length
// against which the tolerances are scaled. Arcs may bulge beyond it; it is a
// scale, not a bound.
double SheetSize(const Stock& stock) {
  const Shape& shape = stock.outline;
  if (shape.IsCircle()) return 2.0 * std::fabs(shape.radius);
  if (shape.vertices.empty()) return 0.0;
  double minX = shape.vertices.front().x, maxX = minX;
  double minY = shape.vertices.front().y, maxY = minY;
  for (const Vertex& v : shape.vertices) {
    minX = std::min(minX, v.x);
    maxX = std::max(maxX, v.x);
    minY = std::min(minY, v.y);
    maxY = std::max(maxY, v.y);
  }
  return std::max(maxX - minX, maxY - minY);
}

std::optional<Polygon> StockPolygon(const Stock& stock, double chord) {
  Shape outline = stock.outline;
  if (outline.IsCircle()) outline.radius -= stock.margin;
  FlatShape flat = FlattenShape(outline, Bias::kGrow, chord);
  if (flat.status != FlattenStatus::kOk) return std::nullopt;
  return std::move(flat.polygon);
}

// The piece's outline, shrunk, minus its usable holes, grown. Holes that may
// not receive pieces stay material: a piece inside one is an overlap.
std::optional<PieceRegion> BuildPiece(const PlacedPiece& piece, double chord) {
  FlatShape outline = FlattenShape(piece.outline, Bias::kShrink, chord);
  if (outline.status != FlattenStatus::kOk) return std::nullopt;
  PieceRegion region;
  region.outline = std::move(outline.polygon);
  region.material.push_back(region.outline);
  for (const Hole& hole : piece.holes) {
    if (!hole.nestInside) continue;
    FlatShape flat = FlattenShape(hole.shape, Bias::kGrow, chord);
    if (flat.status == FlattenStatus::kEmpty) continue;  // no room to take away
    if (flat.status != FlattenStatus::kOk) return std::nullopt;
    Region rest;
    bg::difference(region.material, flat.polygon, rest);
    region.material = std::move(rest);
  }
  bg::envelope(region.outline, region.box);
  region.boundary = static_cast<double>(bg::perimeter(region.material));
  return region;
}

template <typename A, typename B>
std::optional<double> SharedArea(const A& a, const B& b) {
  try {
    Region shared;
    bg::intersection(a, b, shared);
    return bg::area(shared);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<double> AreaOutside(const Polygon& piece, const Polygon& stock) {
  try {
    Region outside;
    bg::difference(piece, stock, outside);
    return bg::area(outside);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void CheckPairs(const std::vector<std::optional<PieceRegion>>& pieces, int32_t sheetIndex,
                double depth, std::vector<Finding>& findings) {
  // Sweep over the boxes in order of their left side: only pairs whose boxes
  // meet are intersected.
  std::vector<int32_t> order;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i]) order.push_back(static_cast<int32_t>(i));
  }
  const auto minX = [&](int32_t i) { return pieces[static_cast<size_t>(i)]->box.min_corner().x(); };
  std::stable_sort(order.begin(), order.end(),
                   [&](int32_t a, int32_t b) { return minX(a) < minX(b); });
  std::vector<Finding> found;
  for (size_t a = 0; a < order.size(); ++a) {
    const PieceRegion& first = *pieces[static_cast<size_t>(order[a])];
    for (size_t b = a + 1; b < order.size(); ++b) {
      const PieceRegion& second = *pieces[static_cast<size_t>(order[b])];
      if (second.box.min_corner().x() > first.box.max_corner().x()) break;
      if (!bg::intersects(first.box, second.box)) continue;
      const int32_t i = std::min(order[a], order[b]);
      const int32_t j = std::max(order[a], order[b]);
      const std::optional<double> area = SharedArea(first.material, second.material);
      if (!area) {
        found.push_back({FindingKind::kUndecided, sheetIndex, i, j, 0.0});
      } else if (*area > depth * std::min(first.boundary, second.boundary)) {
        found.push_back({FindingKind::kOverlap, sheetIndex, i, j, *area});
      }
    }
  }
  std::sort(found.begin(), found.end(), [](const Finding& x, const Finding& y) {
    return x.piece != y.piece ? x.piece < y.piece : x.other < y.other;
  });
  findings.insert(findings.end(), found.begin(), found.end());
}

std::string PieceName(const Sheet* sheet, int32_t piece) {
  char text[96];
  if (sheet != nullptr && piece >= 0 && piece < static_cast<int32_t>(sheet->pieces.size())) {
    const PlacedPiece& p = sheet->pieces[static_cast<size_t>(piece)];
    std::snprintf(text, sizeof text, "piece %d (part %d, id %d)", piece, p.partIndex, p.partId);
  } else {
    std::snprintf(text, sizeof text, "piece %d", piece);
  }
  return text;
}

std::string StockName(const Sheet* sheet) {
  if (sheet == nullptr) return "its stock";
  char text[64];
  std::snprintf(text, sizeof text, "stock %d (id %d)", sheet->stock.index, sheet->stock.id);
  return text;
}

std::string DefectName(const Sheet* sheet, int32_t defect) {
  char text[64];
  if (sheet != nullptr && defect >= 0 &&
      defect < static_cast<int32_t>(sheet->stock.defects.size())) {
    std::snprintf(text, sizeof text, "defect %d (id %d)", defect,
                  sheet->stock.defects[static_cast<size_t>(defect)].id);
  } else {
    std::snprintf(text, sizeof text, "defect %d", defect);
  }
  return text;
}

std::string Area(double area) {
  char text[48];
  std::snprintf(text, sizeof text, "%.6g", area);
  return text;
}

}  // namespace

std::vector<Finding> CheckSheet(const Sheet& sheet, int32_t sheetIndex,
                                const CheckOptions& options) {
  std::vector<Finding> findings;
  const double size = SheetSize(sheet.stock);
  const double chord = options.relativeChordTolerance * size;
  const double depth = options.relativeDepthTolerance * size;
  const std::optional<Polygon> stock =
      std::isfinite(size) && size > 0.0 ? StockPolygon(sheet.stock, chord) : std::nullopt;
  if (!stock) {
    findings.push_back({FindingKind::kBadStock, sheetIndex, -1, -1, 0.0});
    return findings;
  }

  std::vector<DefectRegion> defects(sheet.stock.defects.size());
  std::vector<bool> usableDefect(defects.size(), false);
  for (size_t d = 0; d < defects.size(); ++d) {
    FlatShape flat = FlattenShape(sheet.stock.defects[d].shape, Bias::kShrink, chord);
    if (flat.status == FlattenStatus::kEmpty) continue;  // nothing to cover
    if (flat.status != FlattenStatus::kOk) {
      findings.push_back({FindingKind::kBadStock, sheetIndex, -1, static_cast<int32_t>(d), 0.0});
      continue;
    }
    defects[d].polygon = std::move(flat.polygon);
    bg::envelope(defects[d].polygon, defects[d].box);
    defects[d].boundary = static_cast<double>(bg::perimeter(defects[d].polygon));
    usableDefect[d] = true;
  }

  std::vector<std::optional<PieceRegion>> pieces(sheet.pieces.size());
  for (size_t i = 0; i < pieces.size(); ++i) {
    const int32_t index = static_cast<int32_t>(i);
    try {
      pieces[i] = BuildPiece(sheet.pieces[i], chord);
    } catch (const std::exception&) {
      pieces[i].reset();
    }
    if (!pieces[i]) {
      findings.push_back({FindingKind::kBadPiece, sheetIndex, index, -1, 0.0});
      continue;
    }
    const PieceRegion& piece = *pieces[i];
    const std::optional<double> outside = AreaOutside(piece.outline, *stock);
    if (!outside) {
      findings.push_back({FindingKind::kUndecided, sheetIndex, index, -1, 0.0});
    } else if (*outside > depth * static_cast<double>(bg::perimeter(piece.outline))) {
      findings.push_back({FindingKind::kOutsideStock, sheetIndex, index, -1, *outside});
    }
    for (size_t d = 0; d < defects.size(); ++d) {
      if (!usableDefect[d] || !bg::intersects(piece.box, defects[d].box)) continue;
      const std::optional<double> covered = SharedArea(piece.material, defects[d].polygon);
      if (covered && *covered > depth * std::min(piece.boundary, defects[d].boundary)) {
        findings.push_back(
            {FindingKind::kOnDefect, sheetIndex, index, static_cast<int32_t>(d), *covered});
      } else if (!covered) {
        findings.push_back({FindingKind::kUndecided, sheetIndex, index, -1, 0.0});
      }
    }
  }
  CheckPairs(pieces, sheetIndex, depth, findings);
  return findings;
}

std::vector<Finding> CheckLayout(const std::vector<Sheet>& sheets, const CheckOptions& options) {
  std::vector<Finding> findings;
  for (size_t s = 0; s < sheets.size(); ++s) {
    std::vector<Finding> more = CheckSheet(sheets[s], static_cast<int32_t>(s), options);
    findings.insert(findings.end(), more.begin(), more.end());
  }
  return findings;
}

namespace {

std::string DescribeOn(const Finding& finding, const Sheet* sheet) {
  const std::string where = "sheet " + std::to_string(finding.sheet) + ": ";
  switch (finding.kind) {
    case FindingKind::kOverlap:
      return where + PieceName(sheet, finding.piece) + " overlaps " +
             PieceName(sheet, finding.other) + " by an area of " + Area(finding.area);
    case FindingKind::kOutsideStock:
      return where + PieceName(sheet, finding.piece) + " reaches outside " + StockName(sheet) +
             " by an area of " + Area(finding.area);
    case FindingKind::kOnDefect:
      return where + PieceName(sheet, finding.piece) + " covers " +
             DefectName(sheet, finding.other) + " of " + StockName(sheet) + " by an area of " +
             Area(finding.area);
    case FindingKind::kBadPiece:
      return where + PieceName(sheet, finding.piece) +
             " has an outline or usable hole that is empty, not finite or crosses itself";
    case FindingKind::kBadStock:
      if (finding.other >= 0) {
        return where + DefectName(sheet, finding.other) + " of " + StockName(sheet) +
               " is not finite or crosses itself";
      }
      return where + StockName(sheet) +
             " has an outline that is empty, not finite or crosses itself";
    case FindingKind::kUndecided:
      return where + "the check could not compute the shared area of " +
             PieceName(sheet, finding.piece) +
             (finding.other >= 0 ? " and " + PieceName(sheet, finding.other)
                                 : std::string(" and its stock or a defect"));
  }
  return where + "unknown finding";
}

}  // namespace

std::string Describe(const Finding& finding, const std::vector<Sheet>& sheets) {
  return DescribeOn(finding,
                    finding.sheet >= 0 && finding.sheet < static_cast<int32_t>(sheets.size())
                        ? &sheets[static_cast<size_t>(finding.sheet)]
                        : nullptr);
}

std::string Describe(const Finding& finding, const Sheet& sheet) {
  return DescribeOn(finding, &sheet);
}

}  // namespace varnest::check
