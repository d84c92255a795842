#pragma once
// A tagged holder of one polygon or one circle with its bounding box; holes
// embed one.

#include <cstdint>
#include <optional>

#include "varnest/geometry/circle.h"
#include "varnest/geometry/polygon.h"

namespace varnest {

class TBaseShape : public TBox {
 public:
  uint8_t FShapeType = 0;  // 0: FPolygon is the shape; any other value: FCircle
  std::optional<TPolygon> FPolygon;
  std::optional<TCircle> FCircle;

  TBaseShape() = default;
  TBaseShape(const TBaseShape& other) : TBox() { CopyFrom(other); }
  TBaseShape(TBaseShape&&) noexcept = default;
  TBaseShape& operator=(TBaseShape&&) noexcept = default;
  ~TBaseShape() = default;

  // Copies only the shape that the kind selects; the other one is dropped.
  TBaseShape& operator=(const TBaseShape& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }

  bool IsPolygon() const { return FShapeType == 0; }

  // True when the shape encloses nothing: the selected polygon or circle is
  // absent, a polygon without vertices, or a circle of no positive radius. An
  // inward offset that swallows a hole leaves it empty; it is then no hole.
  bool IsEmpty() const;

  // The selected shape's box, copied into this shape's box (all 0 when the
  // selected shape is absent).
  void ComputeBoundingBox(double precision);
  // Forwarded to the selected shape; this shape's box is not touched.
  void Translate(double dx, double dy);
  void Rotate(TPoint2D center, double angle);

  // Destroys both shapes and resets the kind; the box stays.
  void Clear() {
    FPolygon.reset();
    FCircle.reset();
    FShapeType = 0;
  }

 private:
  void CopyFrom(const TBaseShape& other) {
    FPolygon.reset();
    FCircle.reset();
    FShapeType = other.FShapeType;
    if (FShapeType != 0) {
      if (other.FCircle) FCircle = *other.FCircle;
    } else {
      if (other.FPolygon) FPolygon = *other.FPolygon;
    }
    AssignBox(other);
  }
};

}  // namespace varnest
