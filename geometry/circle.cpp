#include "varnest/geometry/circle.h"

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/fuzzy.h"

namespace varnest {

void TCircle::ComputeBoundingBox() {
  FMinX = FCenter.X - FRadius;
  FMinY = FCenter.Y - FRadius;
  FMaxX = FCenter.X + FRadius;
  FMaxY = FCenter.Y + FRadius;
  FWidth = FMaxX - FMinX;
  FHeight = FMaxY - FMinY;
}

void TCircle::ComputeArea() { FArea = (kPi * FRadius) * FRadius; }

bool TCircle::SameShape(const TCircle& other, double tolerance) const {
  return FuzzyCompare(FRadius, other.FRadius, tolerance) == 0 &&
         FuzzyCompare(FCenter.X, other.FCenter.X, tolerance) == 0 &&
         FuzzyCompare(FCenter.Y, other.FCenter.Y, tolerance) == 0;
}

void TCircle::Grow(double distance) {
  FRadius += distance;
  if (FRadius < 0.0) FRadius = 0.0;
}

void TCircle::Shrink(double distance) {
  FRadius -= distance;
  if (FRadius <= 0.0) FRadius = 0.0;
}

void TCircle::Translate(double dx, double dy) {
  FCenter.X += dx;
  FCenter.Y += dy;
}

void TCircle::Rotate(TPoint2D center, double angle) { FCenter = RotatePoint(FCenter, center, angle); }

TPoint2D TCircle::RotationCenterPoint(int32_t mode, TPoint2D given) const {
  if (mode == 0) return given;
  return TPoint2D{(FMaxX + FMinX) / 2.0, (FMaxY + FMinY) / 2.0};
}

}  // namespace varnest
