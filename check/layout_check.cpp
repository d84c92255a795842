#include "check/layout_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "check/clearance.h"
#include "check/flatten.h"

// Not among the algorithms that boost/geometry.hpp brings in.
#include <boost/geometry/algorithms/point_on_surface.hpp>

namespace varnest::check {

namespace bg = boost::geometry;

namespace {

// A rebuilt piece: the material it occupies (outline minus usable holes).
struct PieceRegion {
  Polygon outline;
  Region material;
  std::vector<Polygon> usableHoles;  // grown, as taken out of the material
  Box box;
  double boundary = 0.0;
  Point inside;  // a point of the outline's interior
};

struct DefectRegion {
  Polygon polygon;
  Box box;
  double boundary = 0.0;
  Point inside;
};

// The larger side of the box of a shape's vertices or circle: the length
// against which the tolerances are scaled. Arcs may bulge beyond it; it is a
// scale, not a bound.
double ShapeSize(const Shape& shape) {
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

// The tolerances of one sheet (or part) in its own units.
struct Scale {
  double size = 0.0;
  double chord = 0.0;
  double depth = 0.0;
  double grid = 0.0;
  double clearance = 0.0;

  Scale(double length, const CheckOptions& options)
      : size(length),
        chord(options.relativeChordTolerance * length),
        depth(options.relativeDepthTolerance * length),
        grid(SnapGrid(length)),
        clearance(options.relativeClearanceTolerance * length) {}
};

std::optional<Polygon> StockPolygon(const Stock& stock, const Scale& scale) {
  Shape outline = stock.outline;
  if (outline.IsCircle()) outline.radius -= stock.margin;
  FlatShape flat = FlattenShape(outline, Bias::kGrow, scale.chord, scale.grid);
  if (flat.status != FlattenStatus::kOk) return std::nullopt;
  return std::move(flat.polygon);
}

// The piece's outline, shrunk, minus its usable holes, grown. Holes that may
// not receive pieces stay material: a piece inside one is an overlap.
std::optional<PieceRegion> BuildPiece(const PlacedPiece& piece, const Scale& scale) {
  FlatShape outline = FlattenShape(piece.outline, Bias::kShrink, scale.chord, scale.grid);
  if (outline.status != FlattenStatus::kOk) return std::nullopt;
  PieceRegion region;
  region.outline = std::move(outline.polygon);
  region.material.push_back(region.outline);
  for (const Hole& hole : piece.holes) {
    if (!hole.nestInside) continue;
    FlatShape flat = FlattenShape(hole.shape, Bias::kGrow, scale.chord, scale.grid);
    if (flat.status == FlattenStatus::kEmpty) continue;  // no room to take away
    if (flat.status != FlattenStatus::kOk) return std::nullopt;
    Region rest;
    bg::difference(region.material, flat.polygon, rest);
    region.material = std::move(rest);
    region.usableHoles.push_back(std::move(flat.polygon));
  }
  bg::envelope(region.outline, region.box);
  region.boundary = static_cast<double>(bg::perimeter(region.material));
  region.inside = bg::return_point_on_surface(region.outline);
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

std::optional<double> AreaOutside(const Polygon& piece, const Polygon& outline) {
  try {
    Region outside;
    bg::difference(piece, outline, outside);
    return bg::area(outside);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

template <typename A, typename B>
std::optional<double> Distance(const A& a, const B& b) {
  try {
    return static_cast<double>(bg::distance(a, b));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// Whether two boxes come within `reach` of each other.
bool WithinReach(const Box& a, const Box& b, double reach) {
  return a.min_corner().x() - reach <= b.max_corner().x() &&
         b.min_corner().x() - reach <= a.max_corner().x() &&
         a.min_corner().y() - reach <= b.max_corner().y() &&
         b.min_corner().y() - reach <= a.max_corner().y();
}

bool InUsableHole(const PieceRegion& host, const Point& point) {
  return std::any_of(host.usableHoles.begin(), host.usableHoles.end(),
                     [&](const Polygon& hole) { return bg::covered_by(point, hole); });
}

// The checks of one sheet, sharing its scale, promised gaps and findings.
class SheetCheck {
 public:
  SheetCheck(const Sheet& sheet, int32_t sheetIndex, const CheckOptions& options)
      : FSheet(sheet),
        FIndex(sheetIndex),
        FScale(ShapeSize(sheet.stock.outline), options),
        FGaps(PromisedClearances(options.cutterDiameter, options.cutterType, options.resolution,
                                 options.precision)) {}

  std::vector<Finding> Run() {
    const std::optional<Polygon> stock = std::isfinite(FScale.size) && FScale.size > 0.0
                                             ? StockPolygon(FSheet.stock, FScale)
                                             : std::nullopt;
    if (!stock) {
      Add({FindingKind::kBadStock, FIndex, -1, -1});
      return std::move(FFindings);
    }
    FStock = *stock;
    BuildDefects();
    BuildPieces();
    for (size_t i = 0; i < FPieces.size(); ++i) {
      if (FPieces[i]) CheckAgainstStock(static_cast<int32_t>(i), *FPieces[i]);
    }
    CheckPairs();
    return std::move(FFindings);
  }

 private:
  void Add(Finding finding) { FFindings.push_back(finding); }
  // A gap short of its promise by more than the tolerance.
  bool TooClose(double distance, double required) const {
    return required > 0.0 && distance < required - FScale.clearance;
  }

  void BuildDefects() {
    const std::vector<Hole>& holes = FSheet.stock.defects;
    FDefects.resize(holes.size());
    for (size_t d = 0; d < holes.size(); ++d) {
      FlatShape flat = FlattenShape(holes[d].shape, Bias::kShrink, FScale.chord, FScale.grid);
      if (flat.status == FlattenStatus::kEmpty) continue;  // nothing to cover
      if (flat.status != FlattenStatus::kOk) {
        Add({FindingKind::kBadStock, FIndex, -1, static_cast<int32_t>(d)});
        continue;
      }
      DefectRegion region;
      region.polygon = std::move(flat.polygon);
      bg::envelope(region.polygon, region.box);
      region.boundary = static_cast<double>(bg::perimeter(region.polygon));
      try {
        region.inside = bg::return_point_on_surface(region.polygon);
      } catch (const std::exception&) {
        Add({FindingKind::kBadStock, FIndex, -1, static_cast<int32_t>(d)});
        continue;
      }
      FDefects[d] = std::move(region);
    }
  }

  void BuildPieces() {
    FPieces.resize(FSheet.pieces.size());
    for (size_t i = 0; i < FPieces.size(); ++i) {
      try {
        FPieces[i] = BuildPiece(FSheet.pieces[i], FScale);
      } catch (const std::exception&) {
        FPieces[i].reset();
      }
      if (!FPieces[i]) Add({FindingKind::kBadPiece, FIndex, static_cast<int32_t>(i), -1});
    }
  }

  // The stock's outline and its defects, against one piece.
  void CheckAgainstStock(int32_t index, const PieceRegion& piece) {
    const std::optional<double> outside = AreaOutside(piece.outline, FStock);
    if (!outside) {
      Add({FindingKind::kUndecided, FIndex, index, -1});
    } else if (*outside > FScale.depth * static_cast<double>(bg::perimeter(piece.outline))) {
      Add({FindingKind::kOutsideStock, FIndex, index, -1, *outside});
    } else if (FGaps.toStockEdge > 0.0) {
      const bg::model::linestring<Point> edge(FStock.outer().begin(), FStock.outer().end());
      const std::optional<double> gap = Distance(piece.outline, edge);
      if (!gap) {
        Add({FindingKind::kUndecided, FIndex, index, -1});
      } else if (TooClose(*gap, FGaps.toStockEdge)) {
        Add({FindingKind::kNearStockEdge, FIndex, index, -1, 0.0, *gap, FGaps.toStockEdge});
      }
    }
    const double reach = std::max(FGaps.toDefect, FGaps.defectInUsableHole);
    for (size_t d = 0; d < FDefects.size(); ++d) {
      if (!FDefects[d]) continue;
      const DefectRegion& defect = *FDefects[d];
      const int32_t other = static_cast<int32_t>(d);
      if (!WithinReach(piece.box, defect.box, reach)) continue;
      const std::optional<double> covered = bg::intersects(piece.box, defect.box)
                                                ? SharedArea(piece.material, defect.polygon)
                                                : std::optional<double>(0.0);
      if (!covered) {
        Add({FindingKind::kUndecided, FIndex, index, -1});
        continue;
      }
      if (*covered > FScale.depth * std::min(piece.boundary, defect.boundary)) {
        Add({FindingKind::kOnDefect, FIndex, index, other, *covered});
        continue;
      }
      const double required =
          InUsableHole(piece, defect.inside) ? FGaps.defectInUsableHole : FGaps.toDefect;
      if (!(required > 0.0)) continue;
      const std::optional<double> gap = Distance(piece.material, defect.polygon);
      if (!gap) {
        Add({FindingKind::kUndecided, FIndex, index, -1});
      } else if (TooClose(*gap, required)) {
        Add({FindingKind::kNearDefect, FIndex, index, other, 0.0, *gap, required});
      }
    }
  }

  // One pair of pieces whose boxes come within the reach of a promised gap.
  void CheckPair(int32_t i, int32_t j, std::vector<Finding>& found) const {
    const PieceRegion& first = *FPieces[static_cast<size_t>(i)];
    const PieceRegion& second = *FPieces[static_cast<size_t>(j)];
    if (bg::intersects(first.box, second.box)) {
      const std::optional<double> area = SharedArea(first.material, second.material);
      if (!area) {
        found.push_back({FindingKind::kUndecided, FIndex, i, j});
        return;
      }
      if (*area > FScale.depth * std::min(first.boundary, second.boundary)) {
        found.push_back({FindingKind::kOverlap, FIndex, i, j, *area});
        return;
      }
    }
    const bool nested = InUsableHole(first, second.inside) || InUsableHole(second, first.inside);
    const double required = nested ? FGaps.pieceInUsableHole : FGaps.betweenPieces;
    if (!(required > 0.0) || !WithinReach(first.box, second.box, required)) return;
    const std::optional<double> gap = Distance(first.material, second.material);
    if (!gap) {
      found.push_back({FindingKind::kUndecided, FIndex, i, j});
    } else if (TooClose(*gap, required)) {
      found.push_back({FindingKind::kTooClose, FIndex, i, j, 0.0, *gap, required});
    }
  }

  void CheckPairs() {
    // Sweep over the boxes in order of their left side: only pairs whose
    // boxes come within the largest promised gap of each other are looked at.
    const double reach = std::max(FGaps.betweenPieces, FGaps.pieceInUsableHole);
    std::vector<int32_t> order;
    for (size_t i = 0; i < FPieces.size(); ++i) {
      if (FPieces[i]) order.push_back(static_cast<int32_t>(i));
    }
    const auto box = [&](int32_t i) -> const Box& { return FPieces[static_cast<size_t>(i)]->box; };
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
      return box(a).min_corner().x() < box(b).min_corner().x();
    });
    std::vector<Finding> found;
    for (size_t a = 0; a < order.size(); ++a) {
      for (size_t b = a + 1; b < order.size(); ++b) {
        if (box(order[b]).min_corner().x() - reach > box(order[a]).max_corner().x()) break;
        if (!WithinReach(box(order[a]), box(order[b]), reach)) continue;
        CheckPair(std::min(order[a], order[b]), std::max(order[a], order[b]), found);
      }
    }
    std::sort(found.begin(), found.end(), [](const Finding& x, const Finding& y) {
      return x.piece != y.piece ? x.piece < y.piece : x.other < y.other;
    });
    FFindings.insert(FFindings.end(), found.begin(), found.end());
  }

  const Sheet& FSheet;
  const int32_t FIndex;
  const Scale FScale;
  const Clearances FGaps;
  Polygon FStock;
  std::vector<std::optional<DefectRegion>> FDefects;
  std::vector<std::optional<PieceRegion>> FPieces;
  std::vector<Finding> FFindings;
};

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

std::string Number(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

std::string Gap(const Finding& finding) { return " is " + Number(finding.distance) + " from "; }

std::string Promise(const Finding& finding) {
  return "; the cutter leaves " + Number(finding.required);
}

}  // namespace

std::vector<Finding> CheckSheet(const Sheet& sheet, int32_t sheetIndex,
                                const CheckOptions& options) {
  return SheetCheck(sheet, sheetIndex, options).Run();
}

CheckOptions OptionsForCutter(double cutterDiameter, int32_t cutterType, double resolution,
                              double precision) {
  CheckOptions options;
  options.cutterDiameter = cutterDiameter;
  options.cutterType = cutterType;
  options.resolution = resolution;
  options.precision = precision;
  return options;
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
             PieceName(sheet, finding.other) + " by an area of " + Number(finding.area);
    case FindingKind::kOutsideStock:
      return where + PieceName(sheet, finding.piece) + " reaches outside " + StockName(sheet) +
             " by an area of " + Number(finding.area);
    case FindingKind::kOnDefect:
      return where + PieceName(sheet, finding.piece) + " covers " +
             DefectName(sheet, finding.other) + " of " + StockName(sheet) + " by an area of " +
             Number(finding.area);
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
      return where + "the check could not compute the shared area or the distance of " +
             PieceName(sheet, finding.piece) +
             (finding.other >= 0 ? " and " + PieceName(sheet, finding.other)
                                 : std::string(" and its stock or a defect"));
    case FindingKind::kTooClose:
      return where + PieceName(sheet, finding.piece) + Gap(finding) +
             PieceName(sheet, finding.other) + Promise(finding);
    case FindingKind::kNearStockEdge:
      return where + PieceName(sheet, finding.piece) + Gap(finding) + "the edge of " +
             StockName(sheet) + Promise(finding);
    case FindingKind::kNearDefect:
      return where + PieceName(sheet, finding.piece) + Gap(finding) +
             DefectName(sheet, finding.other) + " of " + StockName(sheet) + Promise(finding);
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

std::vector<HoleOutsidePart> HolesOutsidePart(const Shape& outline, const std::vector<Hole>& holes,
                                              const CheckOptions& options) {
  std::vector<HoleOutsidePart> found;
  const Scale scale(ShapeSize(outline), options);
  if (!(scale.size > 0.0) || !std::isfinite(scale.size)) return found;
  // The outline grown and the holes shrunk: flattening alone never makes a
  // hole look as if it crossed.
  const FlatShape part = FlattenShape(outline, Bias::kGrow, scale.chord, scale.grid);
  if (part.status != FlattenStatus::kOk) return found;
  const bg::model::linestring<Point> edge(part.polygon.outer().begin(), part.polygon.outer().end());
  for (size_t h = 0; h < holes.size(); ++h) {
    const FlatShape hole = FlattenShape(holes[h].shape, Bias::kShrink, scale.chord, scale.grid);
    if (hole.status != FlattenStatus::kOk) continue;
    try {
      Region outside;
      bg::difference(hole.polygon, part.polygon, outside);
      const double area = bg::area(outside);
      if (!(area > scale.depth * static_cast<double>(bg::perimeter(hole.polygon)))) continue;
      // The farthest corner of what lies outside: the hole's own points
      // beyond the outline, and where it crosses it.
      double depth = 0.0;
      bg::for_each_point(outside, [&](const Point& p) {
        depth = std::max(depth, static_cast<double>(bg::distance(p, edge)));
      });
      found.push_back({static_cast<int32_t>(h), area, depth});
    } catch (const std::exception&) {
      continue;
    }
  }
  return found;
}

}  // namespace varnest::check
