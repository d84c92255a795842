#include "varnest/model/input_check.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "varnest/geometry/contact.h"

namespace varnest {

namespace {

// The distance within which two boundaries count as meeting: the run's
// tolerance, or when that is 0 (relative comparisons) a trillionth of the
// shape's size.
double ContactTolerance(double precision, const TBox& box) {
  const double size = std::max(
      {std::fabs(box.FMinX), std::fabs(box.FMaxX), std::fabs(box.FMinY), std::fabs(box.FMaxY)});
  return std::max(precision, 1e-12 * size);
}

bool PolygonCrossesItself(const TPolygon& polygon, double precision) {
  const double tol = ContactTolerance(precision, polygon);
  return CrossesItself(EdgesOf(polygon, tol), tol);
}

// A polygon outline or hole: arcs completed, then box and signed area.
void MeasurePolygon(TPolygon& polygon, double precision) {
  polygon.CompleteArcs(precision);
  polygon.ComputeBoundingBox(precision);
  polygon.ComputeArea();
}

void MeasureCircle(TCircle& circle) {
  circle.ComputeBoundingBox();
  circle.ComputeArea();
}

// Measures the holes, takes their areas off netArea and records every hole
// given clockwise under holeCode, and every polygon hole that crosses itself
// under crossingCode. Returns whether some hole crosses itself.
bool MeasureHoles(std::vector<TTrueHole>& holes, double precision, int32_t index, int32_t holeCode,
                  int32_t crossingCode, double& netArea, error_info& errorInfo) {
  bool crossing = false;
  for (size_t j = 0; j < holes.size(); ++j) {
    TBaseShape& shape = holes[j].FShape;
    const int32_t hole = static_cast<int32_t>(j);
    if (!shape.IsPolygon()) {
      if (!shape.FCircle) continue;
      MeasureCircle(*shape.FCircle);
      netArea -= shape.FCircle->FArea;
    } else {
      if (!shape.FPolygon) continue;
      MeasurePolygon(*shape.FPolygon, precision);
      netArea -= std::fabs(shape.FPolygon->FArea);
      if (shape.FPolygon->FArea < 0.0) errorInfo.Record(holeCode, index, hole);
      if (PolygonCrossesItself(*shape.FPolygon, precision)) {
        errorInfo.Record(crossingCode, index, hole);
        crossing = true;
      }
    }
  }
  return crossing;
}

// Defects are meant to lie inside their stock and apart from each other,
// touching at most. One that crosses the outline or another defect, or lies
// outside the outline or inside another defect, is recorded; the stock's net
// area is then what is really left free, which the areas of the shapes alone
// cannot tell.
void CheckDefects(stock2d_any& stock, int32_t index, double precision, error_info& errorInfo) {
  const TBox* box = nullptr;
  if (stock.IsPolygon()) {
    if (stock.FOutline) box = &*stock.FOutline;
  } else if (stock.FCircle) {
    box = &*stock.FCircle;
  }
  if (box == nullptr) return;
  const double tol = ContactTolerance(precision, *box);
  std::vector<std::vector<TEdgeGeometry>> contours;
  std::vector<int32_t> defectIndex;
  contours.push_back(stock.IsPolygon() ? EdgesOf(*stock.FOutline, tol) : EdgesOf(*stock.FCircle));
  if (contours[0].empty()) return;
  for (size_t j = 0; j < stock.FHoles.size(); ++j) {
    std::vector<TEdgeGeometry> edges = EdgesOf(stock.FHoles[j].FShape, tol);
    if (edges.empty()) continue;
    contours.push_back(std::move(edges));
    defectIndex.push_back(static_cast<int32_t>(j));
  }
  if (defectIndex.empty()) return;

  const std::vector<uint8_t> meets = MeetingContours(contours, tol);
  const auto others = [&](size_t c) {
    std::vector<std::vector<TEdgeGeometry>> rest;
    for (size_t k = 1; k < contours.size(); ++k) {
      if (k != c) rest.push_back(contours[k]);
    }
    return rest;
  };
  bool found = false;
  for (size_t c = 1; c < contours.size(); ++c) {
    bool crossing = false;
    if (meets[c] != 0) {
      // Boundaries that meet may only touch. An area that the defect has
      // outside the outline, or in common with other defects, beyond what
      // the tolerance along its boundary explains, is a crossing.
      const double slack = tol * BoundaryLength(contours[c]);
      const double area = FreeArea(contours[c], {});
      crossing = FreeArea(contours[c], std::span(&contours[0], 1)) > slack ||
                 area - FreeArea(contours[c], others(c)) > slack;
    } else {
      const TPoint2D point = PointOn(contours[c]);
      crossing = !Encloses(contours[0], point);
      for (size_t k = 1; k < contours.size() && !crossing; ++k) {
        crossing =
            k != c && (Encloses(contours[k], point) || Encloses(contours[c], PointOn(contours[k])));
      }
    }
    if (crossing) {
      errorInfo.Record(kErrorDefectCrossing, index, defectIndex[c - 1]);
      found = true;
    }
  }
  if (found) {
    stock.FNetArea =
        FreeArea(contours[0], std::span<const std::vector<TEdgeGeometry>>(contours).subspan(1));
  }
}
}  // namespace

namespace {

// What a record's findings are recorded as.
struct TFindingCodes {
  int32_t OutlineClockwise;
  int32_t HoleClockwise;
  int32_t SelfCrossing;
};

// Measures a part or a stock: its shape's box and area, its net area, and
// the findings of its outline and holes. A record whose outline or hole
// crosses itself is rejected.
template <typename Record>
void CheckRecord(Record& record, int32_t index, double precision, const TFindingCodes& codes,
                 error_info& errorInfo) {
  record.FRejected = false;
  if (!record.IsPolygon()) {
    if (record.FCircle) {
      MeasureCircle(*record.FCircle);
      record.FArea = record.FCircle->FArea;
    }
  } else if (record.FOutline) {
    MeasurePolygon(*record.FOutline, precision);
    record.FArea = record.FOutline->FArea;
  }
  record.FNetArea = std::fabs(record.FArea);
  if (record.FArea < 0.0) errorInfo.Record(codes.OutlineClockwise, index);
  if (record.IsPolygon() && record.FOutline && PolygonCrossesItself(*record.FOutline, precision)) {
    errorInfo.Record(codes.SelfCrossing, index, -1);
    record.FRejected = true;
  }
  if (MeasureHoles(record.FHoles, precision, index, codes.HoleClockwise, codes.SelfCrossing,
                   record.FNetArea, errorInfo)) {
    record.FRejected = true;
  }
}

}  // namespace

void CheckInput(part2d_array_any& parts, stock2d_array_any& stocks, double precision,
                error_info& errorInfo) {
  constexpr TFindingCodes kPartCodes{kErrorPartOutlineClockwise, kErrorPartHoleClockwise,
                                     kErrorPartSelfCrossing};
  constexpr TFindingCodes kStockCodes{kErrorStockOutlineClockwise, kErrorStockHoleClockwise,
                                      kErrorStockSelfCrossing};
  for (size_t i = 0; i < parts.size(); ++i) {
    CheckRecord(parts[i], static_cast<int32_t>(i), precision, kPartCodes, errorInfo);
  }
  for (size_t i = 0; i < stocks.size(); ++i) {
    stock2d_any& stock = stocks[i];
    const int32_t index = static_cast<int32_t>(i);
    CheckRecord(stock, index, precision, kStockCodes, errorInfo);
    if (!stock.FRejected) CheckDefects(stock, index, precision, errorInfo);
  }
}

void MakeAreasAbsolute(part2d_array_any& parts, stock2d_array_any& stocks) {
  for (part2d_any& part : parts) {
    part.FArea = std::fabs(part.FArea);
    part.FNetArea = std::fabs(part.FNetArea);
  }
  for (stock2d_any& stock : stocks) {
    stock.FArea = std::fabs(stock.FArea);
    stock.FNetArea = std::fabs(stock.FNetArea);
  }
}

}  // namespace varnest
