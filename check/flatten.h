#pragma once
// Arcs and circles turned into polygons for Boost.Geometry.
//
// A flattened boundary can never be the true one, so every curve is flattened
// towards a chosen side: kShrink keeps the polygon inside the true shape,
// kGrow keeps the true shape inside the polygon. The check shrinks what must
// stay clear of other things (pieces, defects) and grows what must contain
// them (stocks, usable holes), so flattening alone never makes a valid layout
// look invalid; it can only hide a fault shallower than the chord tolerance.
//
// For each arc the side is set by the polygon's orientation: an arc that
// turns the same way as its outline bulges outwards (the shape lies inside
// its circle there), one that turns the other way is a notch. Inside a circle
// the polyline runs on chords between points on the arc; outside it, on
// tangents through points at radius r / cos(h / 2), h being the angular step.
// Either way it stays within the chord tolerance of the arc.

// Boost.Geometry 1.74 leaves a scale factor of its overlay's rescaling
// formally unset on a path it never takes; GCC's optimiser warns about it
// where the overlay is inlined into our code.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#pragma GCC diagnostic pop

#include "check/layout.h"

namespace varnest::check {

using Point = boost::geometry::model::d2::point_xy<double>;
using Polygon = boost::geometry::model::polygon<Point>;  // clockwise, closed
using Region = boost::geometry::model::multi_polygon<Polygon>;
using Box = boost::geometry::model::box<Point>;

enum class Bias { kShrink, kGrow };

enum class FlattenStatus {
  kOk,
  kNotFinite,     // a coordinate, centre or radius is NaN or infinite
  kEmpty,         // fewer than three distinct points, no area, or no positive radius
  kSelfCrossing,  // the outline crosses or touches itself
};

struct FlatShape {
  FlattenStatus status = FlattenStatus::kEmpty;
  Polygon polygon;  // one outer ring, valid for Boost.Geometry when status is kOk
};

// Arcs of one full turn or less are split into steps of at most this many
// degrees even when the tolerance allows more, which keeps a tangent point
// within twice the radius.
inline constexpr double kLargestStepDegrees = 120.0;
// Every arc or circle gets at most this many segments, whatever the tolerance;
// the side of the flattening holds regardless.
inline constexpr int kMostSegmentsPerArc = 4096;

// chordTolerance: the largest distance between a curve and its polyline, in
// the shape's own units (> 0). grid: when positive (a power of two), every
// point is rounded to a multiple of it, which moves it by at most 0.71 grid,
// possibly against the bias; see SnapGrid.
FlatShape FlattenShape(const Shape& shape, Bias bias, double chordTolerance, double grid = 0.0);

// The grid for shapes on a sheet of this size: the largest power of two not
// above size x 2^-26 (about 1.5e-8 of the size). Boost.Geometry 1.74 computes
// its overlays in plain doubles here (its integer rescaling is off, see
// CMakeLists.txt) and then mistakes a vertex that lies within a few ulps of
// another shape's vertex, on that shape's edge, for a crossing: the
// intersection of two touching pieces came out as the whole of one of them.
// On a common grid such near coincidences become exact ones, which its
// predicates handle. 0 for a size that is not positive and finite.
double SnapGrid(double size);

// The signed area of the shape with its arcs exact (positive when the outline
// runs counter-clockwise; a circle is always positive).
double ExactArea(const Shape& shape);

// The largest x the shape reaches, its arcs exact: an arc reaches its circle's
// rightmost point only when it passes through it. -infinity for a polygon
// without vertices.
double ExactMaxX(const Shape& shape);

}  // namespace varnest::check
