#pragma once

#include <cstdint>

#include "varnest/geometry/point.h"

namespace varnest {

class TCircle : public TBox {
 public:
  double FRadius = 0.0;
  double FArea = 0.0;
  TPoint2D FCenter;

  TCircle() = default;
  TCircle(TPoint2D center, double radius) : FRadius(radius), FCenter(center) {}
  TCircle(const TCircle&) = default;
  TCircle& operator=(const TCircle& other) {
    if (this != &other) CopyCircle(other);
    return *this;
  }
  ~TCircle() = default;

  // Box block from centre and radius (no tolerance involved).
  void ComputeBoundingBox();
  void ComputeArea();
  // Radius, centre x and centre y, each equal under the tolerance.
  bool SameShape(const TCircle& other, double tolerance) const;
  // A negative radius becomes 0.
  void Grow(double distance);
  // A radius of 0 or less becomes 0.
  void Shrink(double distance);
  // Moves the centre; the box is not touched.
  void Translate(double dx, double dy);
  // Turns the centre counter-clockwise about center; radius and box stay.
  void Rotate(TPoint2D center, double angle);
  // Mode 0: the given point; any other mode: the centre of the stored box.
  TPoint2D RotationCenterPoint(int32_t mode, TPoint2D given) const;

 protected:
  void CopyCircle(const TCircle& other) {
    FRadius = other.FRadius;
    FArea = other.FArea;
    FCenter = other.FCenter;
    AssignBox(other);
  }
};

// The circle of a part grown by the cutter. Its outer box (the box of the
// defined circle widened by the cutter diameter) is declared in the order
// min x, max x, min y, max y.
class TOffsetCircle : public TCircle {
 public:
  double FOuterMinX = 0.0;
  double FOuterMaxX = 0.0;
  double FOuterMinY = 0.0;
  double FOuterMaxY = 0.0;

  TOffsetCircle() = default;
  explicit TOffsetCircle(const TCircle& circle) : TCircle(circle) {}
  TOffsetCircle(const TOffsetCircle&) = default;
  ~TOffsetCircle() = default;

  // Assignment takes over the circle only; the outer box of the target stays,
  // because preparation sets it separately from the shape it was grown from.
  TOffsetCircle& operator=(const TCircle& circle) {
    if (static_cast<const TCircle*>(this) != &circle) CopyCircle(circle);
    return *this;
  }
  TOffsetCircle& operator=(const TOffsetCircle& other) {
    return *this = static_cast<const TCircle&>(other);
  }
};

}  // namespace varnest
