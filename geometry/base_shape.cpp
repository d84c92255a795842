#include "varnest/geometry/base_shape.h"

namespace varnest {

bool TBaseShape::IsEmpty() const {
  if (IsPolygon()) return !FPolygon || FPolygon->NumberOfVertices() == 0;
  return !FCircle || !(FCircle->FRadius > 0.0);
}

void TBaseShape::ComputeBoundingBox(double precision) {
  if (IsPolygon()) {
    if (FPolygon) {
      FPolygon->ComputeBoundingBox(precision);
      AssignBox(*FPolygon);
      return;
    }
  } else if (FCircle) {
    FCircle->ComputeBoundingBox();
    AssignBox(*FCircle);
    return;
  }
  AssignBox(TBox{});
}

void TBaseShape::Translate(double dx, double dy) {
  if (IsPolygon()) {
    if (FPolygon) FPolygon->Translate(dx, dy);
  } else if (FCircle) {
    FCircle->Translate(dx, dy);
  }
}

void TBaseShape::Rotate(TPoint2D center, double angle) {
  if (IsPolygon()) {
    if (FPolygon) FPolygon->Rotate(center, angle);
  } else if (FCircle) {
    FCircle->Rotate(center, angle);
  }
}

}  // namespace varnest
