#pragma once
// Where boundaries meet, for the input check: whether an outline crosses or
// touches itself, whether two boundaries meet, whether a point lies inside a
// boundary, and the area that an outline leaves free of holes that may cross
// it or each other.
//
// The raster of a run pairs the crossings of every scan line in order, which
// is only right for boundaries that do not cross. These are the tests that
// tell the input check which boundaries those are.

#include <cstdint>
#include <span>
#include <vector>

#include "varnest/geometry/base_shape.h"
#include "varnest/geometry/circle.h"
#include "varnest/geometry/point.h"
#include "varnest/geometry/polygon.h"

namespace varnest {

// One edge as plain geometry. An arc runs about Center with the radius of its
// start point, in its direction, to the polar angle of its end point; an arc
// whose ends coincide is a full turn.
struct TEdgeGeometry {
  TPoint2D From;
  TPoint2D To;
  bool IsArc = false;
  bool Clockwise = false;
  TPoint2D Center;
  double Radius = 0.0;
  double StartAngle = 0.0;  // radians
  double Sweep = 0.0;       // radians travelled in the arc's direction, (0, 2 pi]
};

// The edges of a polygon (straight edges shorter than tol are left out: a
// repeated vertex is no edge), a circle (one full turn) or a base shape.
std::vector<TEdgeGeometry> EdgesOf(const TPolygon& polygon, double tol);
std::vector<TEdgeGeometry> EdgesOf(const TCircle& circle);
std::vector<TEdgeGeometry> EdgesOf(const TBaseShape& shape, double tol);

// True when two edges that do not follow each other share a point, or two
// that do share a point other than the vertex between them: the boundary
// crosses or touches itself.
bool CrossesItself(std::span<const TEdgeGeometry> edges, double tol);

// For each boundary, whether it shares a point (within tol) with another
// boundary of the list.
std::vector<uint8_t> MeetingContours(std::span<const std::vector<TEdgeGeometry>> contours,
                                     double tol);

// Whether p lies inside the closed boundary (by the parity of its crossings
// with the horizontal line through p). Meant for points that lie off the
// boundary.
bool Encloses(std::span<const TEdgeGeometry> boundary, TPoint2D p);

// A point of the boundary: the start of its first edge.
TPoint2D PointOn(std::span<const TEdgeGeometry> boundary);

// The length of the boundary, arcs along their curve.
double BoundaryLength(std::span<const TEdgeGeometry> boundary);

// The area inside the outline and outside every hole, whatever the holes do
// to the outline and to each other. Integrated along y between every height
// where an edge starts, ends or turns, to a relative accuracy far below any
// tolerance of a run.
double FreeArea(std::span<const TEdgeGeometry> outline,
                std::span<const std::vector<TEdgeGeometry>> holes);

}  // namespace varnest
