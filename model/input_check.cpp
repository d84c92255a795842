#include "model/input_check.h"

#include <cmath>

namespace varnest {

namespace {

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
// given clockwise under holeCode.
void MeasureHoles(std::vector<TTrueHole>& holes, double precision, int32_t index,
                  int32_t holeCode, double& netArea, error_info& errorInfo) {
  for (size_t j = 0; j < holes.size(); ++j) {
    TBaseShape& shape = holes[j].FShape;
    if (!shape.IsPolygon()) {
      if (!shape.FCircle) continue;
      MeasureCircle(*shape.FCircle);
      netArea -= shape.FCircle->FArea;
    } else {
      if (!shape.FPolygon) continue;
      MeasurePolygon(*shape.FPolygon, precision);
      netArea -= std::fabs(shape.FPolygon->FArea);
      if (shape.FPolygon->FArea < 0.0) errorInfo.Record(holeCode, index, static_cast<int32_t>(j));
    }
  }
}

}  // namespace

void CheckInput(part2d_array_any& parts, stock2d_array_any& stocks, double precision,
                error_info& errorInfo) {
  for (size_t i = 0; i < parts.size(); ++i) {
    part2d_any& part = parts[i];
    const int32_t index = static_cast<int32_t>(i);
    if (!part.IsPolygon()) {
      if (part.FCircle) {
        MeasureCircle(*part.FCircle);
        part.FArea = part.FCircle->FArea;
      }
    } else if (part.FOutline) {
      MeasurePolygon(*part.FOutline, precision);
      part.FArea = part.FOutline->FArea;
    }
    part.FNetArea = std::fabs(part.FArea);
    if (part.FArea < 0.0) errorInfo.Record(kErrorPartOutlineClockwise, index);
    MeasureHoles(part.FHoles, precision, index, kErrorPartHoleClockwise, part.FNetArea, errorInfo);
  }
  for (size_t i = 0; i < stocks.size(); ++i) {
    stock2d_any& stock = stocks[i];
    const int32_t index = static_cast<int32_t>(i);
    if (!stock.IsPolygon()) {
      if (stock.FCircle) {
        MeasureCircle(*stock.FCircle);
        stock.FArea = stock.FCircle->FArea;
      }
    } else if (stock.FOutline) {
      MeasurePolygon(*stock.FOutline, precision);
      stock.FArea = stock.FOutline->FArea;
    }
    stock.FNetArea = std::fabs(stock.FArea);
    if (stock.FArea < 0.0) errorInfo.Record(kErrorStockOutlineClockwise, index);
    MeasureHoles(stock.FHoles, precision, index, kErrorStockHoleClockwise, stock.FNetArea,
                 errorInfo);
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
