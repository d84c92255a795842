#pragma once
// Offsetting outlines by the cutter.
//
// Both directions first build a raw offset outline: every edge of the outline
// moved by the distance, and at every old vertex a joint from the end of one
// moved edge to the start of the next (an arc about the vertex, or a straight
// piece where an inward offset meets at a convex corner). The tracing then
// cuts away the loops that moving the edges creates. The work happens on a
// copy normalised so that its larger side is 100, which makes the engine's
// absolute Precision mean the same for every size of outline.

#include "geometry/base_shape.h"
#include "geometry/polygon.h"

namespace varnest {

// Straightens arcs that carry no direction (equal end angles, a sweep within
// 1 degree of 0 or 360) and removes zero-radius arcs and zero-length edges.
void RemoveDegenerateEdges(TPolygon& polygon, double precision);

// Offsets a counter-clockwise outline whose arcs carry their angles. The
// input keeps its vertices and arcs (its box is recomputed). The raw outline
// is handed back through raw. A distance that is not positive under
// precision offsets nothing: both results are copies of the input.
TOffsetPolygon OffsetOutward(TPolygon& polygon, double distance, double precision,
                             TOffsetPolygon& raw);
// Every point of an inward offset lies at the distance from the outline. The
// trace starts at the lowest raw point that keeps that distance (the lowest
// point itself may lie on a loop cut off at a convex corner), and a result
// that comes closer anywhere, or runs clockwise, is what the crossed edges
// leave when the offset swallows the outline (a hole narrower than twice the
// distance): the offset is then an empty polygon.
TOffsetPolygon OffsetInward(TPolygon& polygon, double distance, double precision,
                            TOffsetPolygon& raw);

// Replaces the outline by its outward offset; area and box are left for the
// caller to recompute. Nothing happens for a distance that is not positive.
void GrowOutline(TPolygon& polygon, double distance, double precision);

// Shrinks a hole shape in place by distance and returns a new shape holding
// the raw offset outline (for a circle, the shrunk circle). A swallowed hole
// ends empty (TBaseShape::IsEmpty). Both boxes are left as they were.
TBaseShape MakeInnerOffset(TBaseShape& shape, double distance, double precision);

}  // namespace varnest
