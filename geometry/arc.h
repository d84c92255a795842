#pragma once
// The per-edge arc record. Edge i of a polygon runs from vertex i to vertex
// (i + 1) mod n: straight when IsArc is 0, a circular arc about Center when 1.

#include <cstdint>

#include "varnest/geometry/point.h"

namespace varnest {

struct TPolygonArc {
  uint8_t IsArc = 0;
  // Any non-zero value means clockwise; operations that flip the direction
  // always write 0 or 1.
  uint8_t Clockwise = 0;
  int32_t Id = 0;
  double Radius = 0.0;
  double StartAngle = 0.0;  // degrees, polar angle of StartPoint about Center
  double EndAngle = 0.0;    // degrees, polar angle of EndPoint about Center
  double SweepAngle = 0.0;  // degrees travelled in the arc's direction, (0, 360]
  TPoint2D Center;
  TPoint2D StartPoint;
  TPoint2D EndPoint;
};

}  // namespace varnest
