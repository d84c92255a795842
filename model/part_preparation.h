#pragma once
// Part preparation: every part turned into the shapes the grids are built
// from. Its outline made counter-clockwise, turned into every rotation of its
// step with rotations that repeat an earlier shape dropped, each moved so that
// its box starts at the origin; the same grown by the cutter; and its holes in
// both frames. Circles keep their outline under rotation; only their holes
// turn.
//
// A part that cannot be nested is excluded from the run: after preparation it
// has no kept rotation (FNumberOfRotations 0), no per-rotation shapes and no
// orientations, so the grids give it nothing and the search never offers it.
// That is the outcome for a shape kind other than polygon and circle, a part
// the input check rejected (an outline or hole that crosses itself), a
// missing outline or circle, an outline or circle that encloses no area (under
// the precision) or an area too large to be finite, a circle of no positive
// radius, any coordinate or radius that is not finite in the defined or the
// prepared shapes, and a grown shape whose box has no width or no height.

#include <cstdint>

#include "varnest/model/part.h"
#include "varnest/model/run_settings.h"

namespace varnest {

// Each reads the settings' precision, cutter diameter and type, rotation
// centre mode and resolution.
void PreparePolygonPart(part2d_any& part, const TRunSettings& settings);
void PrepareCirclePart(part2d_any& part, const TRunSettings& settings);
// The preparation of the part's kind; other kinds are excluded.
void PreparePart(part2d_any& part, const TRunSettings& settings);

// Gives target the preparation of an equal (SamePart) polygon part.
void CopyPreparedPart(part2d_any& target, const part2d_any& source);

// An upper bound on the bytes that preparing the parts takes: every
// requested rotation of every outline and hole, plain, grown and shifted.
// Read before preparation, from the defined shapes. A double, so that no
// product of absurd counts overflows.
double EstimatePreparedShapeBytes(const part2d_array_any& parts);

// True when the prepared part takes part in the run.
bool IsNestable(const part2d_any& part);

// The largest width of the part's prepared, grown shapes (their boxes start
// at the origin); 0 for a part that is not nestable.
double PreparedExtent(const part2d_any& part);

}  // namespace varnest
