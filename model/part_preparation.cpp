#include "varnest/model/part_preparation.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "varnest/geometry/finite.h"
#include "varnest/geometry/fuzzy.h"
#include "varnest/geometry/offset.h"
#include "varnest/model/equality.h"
#include "varnest/model/shape_preparation.h"

namespace varnest {

namespace {

constexpr TPoint2D kOrigin{0.0, 0.0};

void ExcludeFromRun(part2d_any& part) {
  part.FNumberOfRotations = 0;
  part.FRotationMultiples.clear();
  part.FRotatedOutlines.clear();
  part.FOffsetOutlines.clear();
  part.FRotatedHoles.clear();
  part.FShiftedHoles.clear();
  part.FOrientations.clear();
  part.FNumberOfOrientations = 0;
  part.FShiftedCircle.reset();
  part.FOffsetCircle.reset();
}

size_t HoleCount(const part2d_any& part) {
  return part.FNumberOfHoles > 0 ? part.FHoles.size() : 0;
}

int32_t RequestedRotations(const part2d_any& part) {
  return part.FNumberOfRotations > 0 ? part.FNumberOfRotations : 0;
}

void AllocateOrientations(part2d_any& part) {
  const size_t rotations = part.FRotationMultiples.size();
  part.FNumberOfRotations = static_cast<int32_t>(rotations);
  part.FOrientations.assign(static_cast<size_t>(part.MirrorCount() + 1) * rotations,
                            TPartOrientation{});
}

bool HolesFinite(const std::vector<std::vector<TTrueHole>>& perRotation) {
  for (const std::vector<TTrueHole>& holes : perRotation) {
    for (const TTrueHole& hole : holes) {
      if (!IsFinite(hole.FShape)) return false;
    }
  }
  return true;
}

bool HasExtent(const TBox& box, double precision) {
  return FuzzyCompare(box.FWidth, 0.0, precision) > 0 &&
         FuzzyCompare(box.FHeight, 0.0, precision) > 0;
}

// The defined shape must enclose a finite, non-zero area.
bool EnclosesArea(double area, double precision) {
  return std::isfinite(area) && FuzzyCompare(std::fabs(area), 0.0, precision) > 0;
}

bool DefinedHolesFinite(const part2d_any& part) {
  for (const TTrueHole& hole : part.FHoles) {
    if (!IsFinite(hole.FShape)) return false;
  }
  return true;
}

// A prepared copy of a defined hole turned with rotation m about the centre.
TTrueHole TurnedHoleCopy(TTrueHole& defined, TPoint2D center, double angle, double precision) {
  TTrueHole copy = PreparedHoleCopy(defined, true, precision);
  copy.FShape.Rotate(center, angle);
  return copy;
}

bool SameHoleSet(const std::vector<TTrueHole>& a, const std::vector<TTrueHole>& b,
                 double precision) {
  for (size_t j = 0; j < a.size() && j < b.size(); ++j) {
    if (!SameHole(a[j], b[j], precision)) return false;
  }
  return true;
}

// The holes in the frame of the grown shape: shrunk by the cutter when the
// cutter type asks for it (by d, the cutter itself), then moved by the growth
// distance g, which is where the grown outline put the plain one.
void ShiftHoles(part2d_any& part, size_t k, const TRunSettings& settings, TPoint2D shift) {
  std::vector<TTrueHole>& rotated = part.FRotatedHoles[k];
  std::vector<TTrueHole>& shifted = part.FShiftedHoles[k];
  shifted.resize(rotated.size());
  for (size_t h = 0; h < rotated.size(); ++h) {
    if (settings.CutterType != 0) {
      MakeInnerOffset(rotated[h].FShape, settings.CutterDiameter, settings.Precision);
    }
    shifted[h] = rotated[h];
    shifted[h].FShape.Translate(shift.X, shift.Y);
  }
}

}  // namespace

void PreparePolygonPart(part2d_any& part, const TRunSettings& settings) {
  const double precision = settings.Precision;
  if (!part.IsPolygon() || part.FRejected || !part.FOutline || !IsFinite(*part.FOutline) ||
      !EnclosesArea(part.FArea, precision) || !DefinedHolesFinite(part)) {
    ExcludeFromRun(part);
    return;
  }
  TPolygon& outline = *part.FOutline;
  const size_t holeCount = HoleCount(part);
  const int32_t requested = RequestedRotations(part);

  outline.ComputeBoundingBox(precision);
  part.FCenterOfRotation =
      outline.RotationCenterPoint(settings.RotationCenter, part.FCenterOfRotation);
  const TPoint2D center = part.FCenterOfRotation;
  // The prepared shapes take full turns apart; the defined one stays as given.
  TPolygon whole = outline;
  whole.SplitArcsAtTheirEnds(precision);

  part.FRotatedOutlines.clear();
  part.FRotatedHoles.clear();
  part.FShiftedHoles.clear();
  part.FRotationMultiples.clear();
  for (int32_t m = 0; m < requested; ++m) {
    const double angle = static_cast<double>(m) * part.FRotationStep;
    TPolygon turned = whole;
    if (part.FArea < 0.0) turned.MakeCounterClockwise(precision);
    turned.Rotate(center, angle);
    turned.ComputeBoundingBox(precision);
    const double mx = turned.FMinX;
    const double my = turned.FMinY;
    turned.Translate(-mx, -my);  // the stored box keeps the turned position

    std::vector<TTrueHole> holes(holeCount);
    for (size_t h = 0; h < holeCount; ++h) {
      holes[h] = TurnedHoleCopy(part.FHoles[h], center, angle, precision);
      holes[h].FShape.ComputeBoundingBox(precision);
    }
    for (TTrueHole& hole : holes) hole.FShape.Translate(-mx, -my);

    bool repeats = false;
    for (size_t i = 0; i < part.FRotatedOutlines.size() && !repeats; ++i) {
      repeats = turned.SameShape(part.FRotatedOutlines[i], precision) &&
                SameHoleSet(holes, part.FRotatedHoles[i], precision);
    }
    if (repeats) continue;
    part.FRotatedOutlines.push_back(std::move(turned));
    part.FRotatedHoles.push_back(std::move(holes));
    part.FRotationMultiples.push_back(m);
  }
  AllocateOrientations(part);
  const size_t kept = part.FRotationMultiples.size();
  part.FShiftedHoles.resize(kept);

  // One offset computation: rotation 0 is grown, every other rotation is a
  // turned copy of the grown rotation 0 (the turn's centre does not matter,
  // moving to the origin follows).
  const double g = settings.GrowthDistance();
  part.FOffsetOutlines.assign(kept, TOffsetPolygon());
  for (size_t k = 0; k < kept; ++k) {
    TOffsetPolygon& offset = part.FOffsetOutlines[k];
    const TPolygon& plain = part.FRotatedOutlines[k];
    if (k == 0) {
      offset = plain;
    } else {
      offset = part.FOffsetOutlines[0];
    }
    SetOuterBox(offset, plain);
    if (k == 0) {
      GrowOutline(offset, g, precision);
    } else {
      offset.Rotate(kOrigin, static_cast<double>(part.FRotationMultiples[k]) * part.FRotationStep);
    }
    offset.ComputeBoundingBox(precision);
    offset.Translate(-offset.FMinX, -offset.FMinY);
    ShiftHoles(part, k, settings, TPoint2D{g, g});
  }

  for (size_t k = 0; k < kept; ++k) {
    ResetBoxToOrigin(part.FRotatedOutlines[k]);
    TOffsetPolygon& offset = part.FOffsetOutlines[k];
    ResetBoxToOrigin(offset);
    WidenOuterBox(offset, settings.CutterDiameter);
  }

  bool usable = kept > 0 && HolesFinite(part.FRotatedHoles) && HolesFinite(part.FShiftedHoles);
  for (size_t k = 0; k < kept && usable; ++k) {
    const TOffsetPolygon& offset = part.FOffsetOutlines[k];
    usable = IsFinite(part.FRotatedOutlines[k]) && IsFinite(offset) && OuterBoxFinite(offset) &&
             offset.NumberOfVertices() > 0 && HasExtent(offset, precision);
  }
  if (!usable) ExcludeFromRun(part);
}

void PrepareCirclePart(part2d_any& part, const TRunSettings& settings) {
  const double precision = settings.Precision;
  if (!part.IsCircle() || part.FRejected || !part.FCircle || !IsFinite(*part.FCircle) ||
      !(FuzzyCompare(part.FCircle->FRadius, 0.0, precision) > 0) ||
      !EnclosesArea(part.FArea, precision) || !DefinedHolesFinite(part)) {
    ExcludeFromRun(part);
    return;
  }
  TCircle& circle = *part.FCircle;
  const size_t holeCount = HoleCount(part);
  const int32_t requested = RequestedRotations(part);

  circle.ComputeBoundingBox();
  part.FCenterOfRotation =
      circle.RotationCenterPoint(settings.RotationCenter, part.FCenterOfRotation);
  const TPoint2D center = part.FCenterOfRotation;

  TCircle shifted = circle;
  shifted.ComputeBoundingBox();
  const double mx = shifted.FMinX;
  const double my = shifted.FMinY;
  shifted.Translate(-mx, -my);  // centre (r, r); the stored box is still the defined one

  part.FRotatedHoles.clear();
  part.FShiftedHoles.clear();
  part.FRotatedOutlines.clear();
  part.FOffsetOutlines.clear();
  part.FRotationMultiples.clear();
  for (int32_t m = 0; m < requested; ++m) {
    const double angle = static_cast<double>(m) * part.FRotationStep;
    std::vector<TTrueHole> holes(holeCount);
    for (size_t h = 0; h < holeCount; ++h) {
      holes[h] = TurnedHoleCopy(part.FHoles[h], center, angle, precision);
      holes[h].FShape.Translate(-mx, -my);
      holes[h].FShape.ComputeBoundingBox(precision);
    }
    bool repeats = false;
    for (size_t i = 0; i < part.FRotatedHoles.size() && !repeats; ++i) {
      repeats = SameHoleSet(holes, part.FRotatedHoles[i], precision);
    }
    if (repeats) continue;
    part.FRotatedHoles.push_back(std::move(holes));
    part.FRotationMultiples.push_back(m);
  }
  AllocateOrientations(part);
  const size_t kept = part.FRotationMultiples.size();
  part.FShiftedHoles.resize(kept);

  const double g = settings.GrowthDistance();
  TOffsetCircle offset(shifted);
  SetOuterBox(offset, offset);
  offset.Grow(g);
  offset.ComputeBoundingBox();
  const TPoint2D shift{-offset.FMinX, -offset.FMinY};  // (g, g)
  offset.Translate(shift.X, shift.Y);
  for (size_t k = 0; k < kept; ++k) {
    ShiftHoles(part, k, settings, shift);
  }

  ResetBoxToOrigin(shifted);
  ResetBoxToOrigin(offset);
  WidenOuterBox(offset, settings.CutterDiameter);
  part.FShiftedCircle = shifted;
  part.FOffsetCircle = offset;

  const bool usable = kept > 0 && IsFinite(shifted) && IsFinite(offset) && OuterBoxFinite(offset) &&
                      HasExtent(offset, precision) && HolesFinite(part.FRotatedHoles) &&
                      HolesFinite(part.FShiftedHoles);
  if (!usable) ExcludeFromRun(part);
}

void PreparePart(part2d_any& part, const TRunSettings& settings) {
  if (part.IsPolygon()) {
    PreparePolygonPart(part, settings);
  } else if (part.IsCircle()) {
    PrepareCirclePart(part, settings);
  } else {
    ExcludeFromRun(part);
  }
}

void CopyPreparedPart(part2d_any& target, const part2d_any& source) {
  target.FOutline = source.FOutline;
  target.FCenterOfRotation = source.FCenterOfRotation;
  target.FNumberOfRotations = source.FNumberOfRotations;
  target.FRotatedOutlines = source.FRotatedOutlines;
  target.FOffsetOutlines = source.FOffsetOutlines;
  target.FRotationMultiples = source.FRotationMultiples;
  const size_t rotations =
      source.FNumberOfRotations > 0 ? static_cast<size_t>(source.FNumberOfRotations) : 0;
  target.FOrientations.assign(static_cast<size_t>(target.MirrorCount() + 1) * rotations,
                              TPartOrientation{});
  for (size_t h = 0; h < target.FHoles.size() && h < source.FHoles.size(); ++h) {
    target.FHoles[h].FShape = source.FHoles[h].FShape;
  }
  target.FRotatedHoles = source.FRotatedHoles;
  target.FShiftedHoles = source.FShiftedHoles;
}

double EstimatePreparedShapeBytes(const part2d_array_any& parts) {
  // A grown outline has at most about twice the vertices of the plain one;
  // with the plain copy and the shifted holes that is four per vertex.
  constexpr double kBytesPerVertex = 4.0 * (sizeof(TPolygonVertex) + sizeof(TPolygonArc));
  constexpr double kCircleVertices = 4.0;
  double bytes = 0.0;
  for (const part2d_any& part : parts) {
    double vertices = part.FOutline ? part.FOutline->NumberOfVertices() : kCircleVertices;
    for (const TTrueHole& hole : part.FHoles) {
      const TBaseShape& shape = hole.FShape;
      vertices += shape.IsPolygon() && shape.FPolygon ? shape.FPolygon->NumberOfVertices()
                                                      : kCircleVertices;
    }
    bytes += RequestedRotations(part) * vertices * kBytesPerVertex;
  }
  return bytes;
}

bool IsNestable(const part2d_any& part) {
  return (part.IsPolygon() || part.IsCircle()) && part.FNumberOfRotations > 0;
}

double PreparedExtent(const part2d_any& part) {
  if (!IsNestable(part)) return 0.0;
  double extent = 0.0;
  if (part.IsPolygon()) {
    for (const TOffsetPolygon& offset : part.FOffsetOutlines)
      extent = std::max(extent, offset.FMaxX);
  } else if (part.FOffsetCircle) {
    extent = part.FOffsetCircle->FMaxX;
  }
  return extent;
}

}  // namespace varnest
