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
//
// Both offsets hold to a length tolerance of 1e-6 of the outline's larger
// side (1e-4 on the normalised copy): the grown outline holds the true
// outward offset shrunk by no more than that, and the inward offset lies
// within that of the true one. Arcs stay arcs wherever they stray further
// than that from their chords; those too flat for the angle arithmetic of
// the tracing are replaced by straight pieces on the side that keeps the
// offset whole.

#include "varnest/geometry/base_shape.h"
#include "varnest/geometry/polygon.h"

namespace varnest {

// Straightens arcs that carry no direction (equal end angles, a sweep within
// 1 degree of 360) or lie within the offsets' tolerance of their chords (a
// length on the normalised copy, where the offsets call this), and removes
// zero-radius arcs and zero-length edges.
void RemoveDegenerateEdges(TPolygon& polygon, double precision);

// Offsets a counter-clockwise outline whose arcs carry their angles. The
// input keeps its vertices and arcs (its box is recomputed). The raw outline
// is handed back through raw. A distance that is not positive under
// precision offsets nothing: both results are copies of the input.
TOffsetPolygon OffsetOutward(TPolygon& polygon, double distance, double precision,
                             TOffsetPolygon& raw);
// Every point of an inward offset lies at the distance from the outline. The
// trace starts where the raw outline keeps that distance; where the offset
// falls apart (a waist narrower than twice the distance) the largest piece is
// the result, and where it swallows the outline (a hole narrower than twice
// the distance everywhere) an empty polygon.
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
