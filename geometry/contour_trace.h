#pragma once
// Tracing the outer boundary of a raw offset outline.
//
// Moving every edge of an outline by the offset distance and joining the
// moved edges gives a raw outline that crosses itself wherever the offset
// swallows a notch, a short edge or a corner. The trace walks once along it
// from a point of the boundary it is to follow, and whenever the edge it
// follows is crossed by a later edge it switches to that edge at the crossing.
// The current edge only ever moves forward and never past the start edge, so
// the walk takes at most one step per raw edge and the result has at most one
// vertex more than the raw outline.
//
// The walk is right because the pieces of an offset boundary come in the
// order of the outline they were moved from: walking the boundary, the point
// of the outline nearest to it never moves backwards, so the next piece always
// lies on a later raw edge. What the walk cannot know is where to begin. The
// lowest point of an outward offset always lies on its outer boundary; an
// inward offset is found by its distance from the outline, and its caller
// names the start (see offset.cpp).

#include <cstdint>

#include "varnest/geometry/polygon.h"

namespace varnest {

// A point of raw edge Edge where a walk begins; Angle is its polar angle on
// the edge's circle when the edge is an arc.
struct TTraceStart {
  int32_t Edge = 0;
  TPoint2D Point;
  double Angle = 0.0;
};

// The lowest point of the raw outline (raw vertices and the bottoms of raw
// arcs; ties go to the later index, and at one index to the arc's point).
TTraceStart LowestTraceStart(const TOffsetPolygon& raw, double tol);

// The result's arcs carry IsArc, Center, Radius, Clockwise and their angles;
// their end points are left for the caller to fill from the vertices. The
// walk starts at the lowest point.
TOffsetPolygon TraceOuterContour(const TOffsetPolygon& raw, double tol);

// The same walk from a given point of the boundary. Result vertex 0 is the
// point where the walk last entered the start edge, so the start point itself
// becomes a vertex only where the boundary turns there.
TOffsetPolygon TraceContourFrom(const TOffsetPolygon& raw, const TTraceStart& start, double tol);

}  // namespace varnest
