#pragma once
// TPolygon: the outline type of the engine (part and stock outlines, polygon
// holes). Vertices and edge records are two parallel flat arrays.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "varnest/geometry/arc.h"
#include "varnest/geometry/point.h"

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

  // --- Geometric operations ---------------------------------------------------
  // None of the derived fields (area, box, arc angles) follows a change by
  // itself: each operation names the fields it writes, and callers recompute
  // the rest.

  // Box block, arcs included where they bulge past their end vertices.
  void ComputeBoundingBox(double precision);
  // FArea: shoelace sum plus or minus the circular segment of every arc.
  void ComputeArea();
  // The area centroid of the vertices (recomputes FArea first). An outline of
  // zero area has no centroid; it gives the mean of its vertices instead.
  TPoint2D Centroid();
  // The centre of the stored box.
  TPoint2D BoundingBoxCenter() const;
  // Mode 0: the given point; 1: the box centre; any other: the centroid.
  TPoint2D RotationCenterPoint(int32_t mode, TPoint2D given);
  // The input check's completion of the arcs: end points from the vertices,
  // radius from the start point, then angles and sweep. An arc whose centre
  // lies on its start vertex (radius 0 under precision) has no direction and
  // becomes a straight edge.
  void CompleteArcs(double precision);
  // Radius and angles of every arc from its centre and its stored end points.
  void RefreshArcs(double precision);
  void Translate(double dx, double dy);
  void Scale(double factor);
  // Recomputes the box and returns the factor that makes its larger side
  // size; a box that is a single point (or not finite) keeps the factor 1.
  double FitScale(double size, double precision, double& minX, double& minY);
  // Counter-clockwise by angle degrees about center; arc angles follow.
  void Rotate(TPoint2D center, double angle);
  // Doubled area of the vertices within precision of 0 also counts as clockwise.
  bool IsClockwise(double precision) const;
  // Makes every arc one that operations which cut outlines at their vertices
  // can follow. An arc whose ends coincide (within precision) is a full
  // turn, which they would take for no turn at all: it becomes two half turns
  // through the point opposite its vertex. An arc whose end vertex lies off
  // its circle (its centre is not on the bisector of its ends) runs on its
  // circle to the end vertex's angle and on in a straight line to the vertex,
  // as it is drawn: it gets that point as a vertex of its own. The arcs are
  // completed as the input check completes them.
  void SplitArcsAtTheirEnds(double precision);
  // Reverses a clockwise outline; every arc stays on its geometric edge.
  void MakeCounterClockwise(double precision);
  // The same outline, possibly listed from another starting vertex.
  bool SameShape(const TPolygon& other, double tolerance) const;

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
