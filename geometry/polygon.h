#pragma once
// TPolygon: the outline type of the engine (part and stock outlines, polygon
// holes). Vertices and edge records are two parallel flat arrays.

#include <cstdint>
#include <vector>

#include "geometry/arc.h"
#include "geometry/point.h"

namespace varnest {

class TPolygon : public TBox {
 public:
  std::vector<TPolygonVertex> FVertices;
  std::vector<TPolygonArc> FArcs;  // exactly one record per vertex
  double FArea = 0.0;              // signed, positive for counter-clockwise

  TPolygon() = default;
  // n vertices at (0, 0) with Id 0, every edge straight.
  explicit TPolygon(int32_t n)
      : FVertices(n > 0 ? static_cast<size_t>(n) : 0), FArcs(FVertices.size()) {}

  TPolygon(const TPolygon&) = default;
  TPolygon(TPolygon&&) noexcept = default;
  TPolygon& operator=(const TPolygon& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  TPolygon& operator=(TPolygon&&) noexcept = default;
  ~TPolygon() = default;

  int32_t NumberOfVertices() const { return static_cast<int32_t>(FVertices.size()); }

  // Frees both arrays; the width and height go to 0, the rest of the box and
  // the area stay as they were.
  void Clear() {
    FVertices.clear();
    FVertices.shrink_to_fit();
    FArcs.clear();
    FArcs.shrink_to_fit();
    FWidth = 0.0;
    FHeight = 0.0;
  }

 protected:
  void CopyFrom(const TPolygon& other) {
    FVertices = other.FVertices;
    FArcs = other.FArcs;
    FArea = other.FArea;
    AssignBox(other);
  }
};

// The type in which offset outlines are held. The outer box is the box of the
// plain outline in the part's own frame, widened by the cutter diameter; the
// placed geometry of a layout reads it.
class TOffsetPolygon : public TPolygon {
 public:
  double FOuterMinX = 0.0;
  double FOuterMinY = 0.0;
  double FOuterMaxX = 0.0;
  double FOuterMaxY = 0.0;

  TOffsetPolygon() = default;
  explicit TOffsetPolygon(int32_t n) : TPolygon(n) {}
  explicit TOffsetPolygon(const TPolygon& plain) : TPolygon(plain) {}
  TOffsetPolygon(const TOffsetPolygon&) = default;
  TOffsetPolygon(TOffsetPolygon&&) noexcept = default;
  TOffsetPolygon& operator=(TOffsetPolygon&&) noexcept = default;
  ~TOffsetPolygon() = default;

  TOffsetPolygon& operator=(const TOffsetPolygon& other) {
    if (this != &other) {
      CopyFrom(other);
      FOuterMinX = other.FOuterMinX;
      FOuterMinY = other.FOuterMinY;
      FOuterMaxX = other.FOuterMaxX;
      FOuterMaxY = other.FOuterMaxY;
    }
    return *this;
  }

  // From a plain polygon the outer box is unknown, so it is cleared.
  TOffsetPolygon& operator=(const TPolygon& plain) {
    if (static_cast<const TPolygon*>(this) != &plain) {
      CopyFrom(plain);
      FOuterMinX = FOuterMinY = FOuterMaxX = FOuterMaxY = 0.0;
    }
    return *this;
  }
};

}  // namespace varnest
