#pragma once

#include <cstdint>

namespace varnest {

struct TPoint2D {
  double X = 0.0;
  double Y = 0.0;
};

// One vertex of an outline; Id is the caller's identifier (0 for vertices the
// engine makes itself) and travels unchanged into the placed geometry.
struct TPolygonVertex {
  int32_t Id = 0;
  double X = 0.0;
  double Y = 0.0;
};

inline TPoint2D MakePoint(double x, double y) { return TPoint2D{x, y}; }
inline TPoint2D PointOf(const TPolygonVertex& v) { return TPoint2D{v.X, v.Y}; }
inline TPolygonVertex VertexOf(const TPoint2D& p) { return TPolygonVertex{0, p.X, p.Y}; }

// The six-field bounding box block shared by polygons, circles and base
// shapes; code copies it whole from a shape into the base shape that holds it.
struct TBox {
  double FMinX = 0.0;
  double FMinY = 0.0;
  double FMaxX = 0.0;
  double FMaxY = 0.0;
  double FWidth = 0.0;
  double FHeight = 0.0;

  void AssignBox(const TBox& other) { *this = other; }
};

}  // namespace varnest
