#pragma once
// Tracing the outer boundary of a raw offset outline.
//
// Moving every edge of an outline by the offset distance and joining the
// moved edges gives a raw outline that crosses itself wherever the offset
// swallows a notch, a short edge or a corner. The trace walks once along it
// from its lowest point, which on an outward offset always lies on the outer
// boundary, and whenever the edge it follows is crossed by a later edge it
// switches to that edge at the crossing. The current edge only ever moves forward and never past the
// start edge, so the walk takes at most one step per raw edge and the result
// has at most one vertex more than the raw outline.

#include <functional>

#include "geometry/polygon.h"

namespace varnest {

// Which points may start the walk. The lowest point of an outward offset
// always lies on its outer boundary; an inward offset can leave a loop below
// the boundary (a short edge swallowed between two convex corners), and a
// walk started on that loop traces the loop. Inward offsets therefore start
// at the lowest point that the filter accepts.
using TStartFilter = std::function<bool(TPoint2D)>;

// The result's arcs carry IsArc, Center, Radius, Clockwise and their angles;
// their end points are left for the caller to fill from the vertices. With a
// filter that accepts no candidate the result is empty.
TOffsetPolygon TraceOuterContour(const TOffsetPolygon& raw, double tol,
                                 const TStartFilter& acceptStart = nullptr);

}  // namespace varnest
