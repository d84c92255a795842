#pragma once
// Crossings of straight edges and arcs, as the tracing of offset outlines asks
// for them: each function answers the first crossing that lies on the piece of
// the current edge still to be walked.

#include "varnest/geometry/arc.h"
#include "varnest/geometry/point.h"

namespace varnest {

// True when x lies within the extent of the segment a-b (bounds included).
// The point is assumed to lie on the segment's line.
bool PointInSegmentBox(TPoint2D x, TPoint2D a, TPoint2D b, double tol);

// The crossing of two segments; false for parallel lines (under tol) or a
// crossing outside either segment.
bool SegmentIntersection(TPoint2D a1, TPoint2D a2, TPoint2D b1, TPoint2D b2, TPoint2D& x,
                         double tol);

// The moving piece runs along the line p1-p2 from u to p2; other is the edge
// q1-q2 with its arc record. For an arc, angle is x's angle on it. A crossing
// with an arc at u itself (under tol) does not count.
bool IntersectFromSegment(TPoint2D p1, TPoint2D p2, TPoint2D q1, TPoint2D q2, TPoint2D u,
                          const TPolygonArc& other, TPoint2D& x, double& angle, double tol);

// The moving piece is the rest of arc current from angle a on; other is the
// edge q1-q2 with its arc record. A crossing at angle a itself does not count.
bool IntersectFromArc(TPoint2D q1, TPoint2D q2, const TPolygonArc& current, double a,
                      const TPolygonArc& other, TPoint2D& x, double& angleOnCurrent,
                      double& angleOnOther, double tol);

// Every point where the edge p1-p2 (record p) meets the edge q1-q2 (record
// q), on both edges, written to crossings; returns how many (at most two).
int EdgeCrossings(TPoint2D p1, TPoint2D p2, const TPolygonArc& p, TPoint2D q1, TPoint2D q2,
                  const TPolygonArc& q, TPoint2D crossings[2], double tol);

}  // namespace varnest
