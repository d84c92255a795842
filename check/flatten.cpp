#include "check/flatten.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace varnest::check {

namespace bg = boost::geometry;

Shape Shape::Polygon(std::vector<Vertex> vertices) {
  Shape shape;
  shape.kind = Kind::kPolygon;
  shape.vertices = std::move(vertices);
  return shape;
}

Shape Shape::Circle(double centerX, double centerY, double radius) {
  Shape shape;
  shape.kind = Kind::kCircle;
  shape.centerX = centerX;
  shape.centerY = centerY;
  shape.radius = radius;
  return shape;
}

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

bool Finite(double value) { return std::isfinite(value); }

// The geometry of one arc edge from start to end.
struct ArcEdge {
  double cx, cy, radius, startAngle, sweep;  // sweep > 0, travelled in direction
  double direction;                          // +1 counter-clockwise, -1 clockwise
};

// False when the edge is straight for flattening: not an arc, or an arc of no
// radius (its centre on its start vertex), which has no curve to follow.
bool DescribeArc(const Vertex& start, const Vertex& end, ArcEdge& arc) {
  if (!start.isArc) return false;
  arc.cx = start.centerX;
  arc.cy = start.centerY;
  arc.radius = std::hypot(start.x - arc.cx, start.y - arc.cy);
  if (!(arc.radius > 0.0)) return false;
  arc.startAngle = std::atan2(start.y - arc.cy, start.x - arc.cx);
  const double endAngle = std::atan2(end.y - arc.cy, end.x - arc.cx);
  arc.direction = start.clockwise ? -1.0 : 1.0;
  double sweep = std::fmod(arc.direction * (endAngle - arc.startAngle), kTwoPi);
  if (sweep <= 0.0) sweep += kTwoPi;  // equal end angles: a full turn
  arc.sweep = sweep;
  return true;
}

// Number of equal steps for a sweep on a circle of this radius so that the
// polyline stays within the tolerance on either side.
int StepsFor(double sweep, double radius, double tolerance) {
  double step = kLargestStepDegrees * std::numbers::pi / 180.0;
  if (tolerance < radius) step = std::min(step, 2.0 * std::acos(1.0 - tolerance / radius));
  const double steps = std::ceil(sweep / step);
  if (!(steps >= 1.0)) return 1;
  return static_cast<int>(std::min(steps, static_cast<double>(kMostSegmentsPerArc)));
}

// Points strictly between the arc's end points: on the arc (inside its disc)
// or on the tangent polygon around it (outside).
void AppendArcPoints(const ArcEdge& arc, bool insideDisc, double tolerance,
                     std::vector<Point>& out) {
  const int steps = StepsFor(arc.sweep, arc.radius, tolerance);
  const double h = arc.sweep / steps;
  if (insideDisc) {
    for (int k = 1; k < steps; ++k) {
      const double a = arc.startAngle + arc.direction * h * k;
      out.emplace_back(arc.cx + arc.radius * std::cos(a), arc.cy + arc.radius * std::sin(a));
    }
  } else {
    const double outer = arc.radius / std::cos(0.5 * h);
    for (int k = 0; k < steps; ++k) {
      const double a = arc.startAngle + arc.direction * h * (k + 0.5);
      out.emplace_back(arc.cx + outer * std::cos(a), arc.cy + outer * std::sin(a));
    }
  }
}

// The polygon's points with every arc flattened; insideDisc(arc) decides the
// side per arc.
template <typename Side>
std::vector<Point> Trace(const std::vector<Vertex>& vertices, double tolerance, Side insideDisc) {
  std::vector<Point> points;
  const size_t n = vertices.size();
  for (size_t i = 0; i < n; ++i) {
    const Vertex& v = vertices[i];
    points.emplace_back(v.x, v.y);
    ArcEdge arc{};
    if (DescribeArc(v, vertices[(i + 1) % n], arc)) {
      AppendArcPoints(arc, insideDisc(arc), tolerance, points);
    }
  }
  return points;
}

double ShoelaceArea(const std::vector<Point>& points) {
  double twice = 0.0;
  const size_t n = points.size();
  for (size_t i = 0; i < n; ++i) {
    const Point& a = points[i];
    const Point& b = points[(i + 1) % n];
    twice += a.x() * b.y() - b.x() * a.y();
  }
  return 0.5 * twice;
}

bool ShapeIsFinite(const Shape& shape) {
  if (shape.IsCircle()) {
    return Finite(shape.centerX) && Finite(shape.centerY) && Finite(shape.radius);
  }
  return std::all_of(shape.vertices.begin(), shape.vertices.end(), [](const Vertex& v) {
    return Finite(v.x) && Finite(v.y) && (!v.isArc || (Finite(v.centerX) && Finite(v.centerY)));
  });
}

// Rounds to the nearest multiple of the grid; the grid is a power of two, so
// the division and the product are exact.
double Snapped(double value, double grid) { return std::nearbyint(value / grid) * grid; }

FlatShape Finish(std::vector<Point> points) {
  FlatShape result;
  // Repeated points (a closing vertex given twice, a zero-length edge) say
  // nothing about the shape; Boost.Geometry would count them as spikes.
  points.erase(std::unique(points.begin(), points.end(),
                           [](const Point& a, const Point& b) { return bg::equals(a, b); }),
               points.end());
  while (points.size() > 1 && bg::equals(points.front(), points.back())) points.pop_back();
  if (points.size() < 3) return result;
  for (const Point& p : points) bg::append(result.polygon.outer(), p);
  bg::correct(result.polygon);
  if (!Finite(bg::area(result.polygon))) {
    result.status = FlattenStatus::kNotFinite;
    return result;
  }
  if (!(bg::area(result.polygon) > 0.0)) return result;
  result.status = bg::is_valid(result.polygon) ? FlattenStatus::kOk : FlattenStatus::kSelfCrossing;
  return result;
}

// Points within half a grid step of each other become one point, and a point
// that lies on another shape's edge within a few ulps lies on the same
// coordinates as that shape's vertices, so Boost.Geometry meets exact
// coincidences instead of near ones. Should the rounding fold a sliver of
// the shape onto itself (or overflow), the shape is kept as traced.
FlatShape FinishOnGrid(std::vector<Point> points, double grid) {
  if (!(grid > 0.0)) return Finish(std::move(points));
  std::vector<Point> snapped = points;
  for (Point& p : snapped) p = Point(Snapped(p.x(), grid), Snapped(p.y(), grid));
  FlatShape result = Finish(std::move(snapped));
  return result.status == FlattenStatus::kOk ? result : Finish(std::move(points));
}

FlatShape FlattenCircle(const Shape& circle, Bias bias, double tolerance, double grid) {
  if (!(circle.radius > 0.0)) return {};
  const int steps = std::max(3, StepsFor(kTwoPi, circle.radius, tolerance));
  const double h = kTwoPi / steps;
  const double radius = bias == Bias::kShrink ? circle.radius : circle.radius / std::cos(0.5 * h);
  std::vector<Point> points;
  points.reserve(static_cast<size_t>(steps));
  for (int k = 0; k < steps; ++k) {
    const double a = h * k;
    points.emplace_back(circle.centerX + radius * std::cos(a),
                        circle.centerY + radius * std::sin(a));
  }
  return FinishOnGrid(std::move(points), grid);
}

}  // namespace

FlatShape FlattenShape(const Shape& shape, Bias bias, double chordTolerance, double grid) {
  if (!ShapeIsFinite(shape)) return {FlattenStatus::kNotFinite, {}};
  const double tolerance = chordTolerance > 0.0 ? chordTolerance : 0.0;
  if (shape.IsCircle()) return FlattenCircle(shape, bias, tolerance, grid);
  // One vertex is enough: its edge may be an arc of a full turn.
  if (shape.vertices.empty()) return {};

  // The orientation decides which arcs bulge out and which are notches; the
  // points on the arcs are close enough to the true outline to tell it.
  const double area =
      ShoelaceArea(Trace(shape.vertices, tolerance, [](const ArcEdge&) { return true; }));
  if (!Finite(area)) return {FlattenStatus::kNotFinite, {}};
  if (area == 0.0) return {};
  const bool counterClockwise = area > 0.0;
  const bool shrink = bias == Bias::kShrink;
  return FinishOnGrid(Trace(shape.vertices, tolerance,
                            [&](const ArcEdge& arc) {
                              const bool bulgesOut = (arc.direction > 0.0) == counterClockwise;
                              return bulgesOut == shrink;
                            }),
                      grid);
}

double SnapGrid(double size) {
  if (!(size > 0.0) || !Finite(size)) return 0.0;
  int exponent = 0;
  std::frexp(size, &exponent);  // size = m x 2^exponent, 0.5 <= m < 1
  return std::ldexp(1.0, exponent - 1 - 26);
}

double ExactArea(const Shape& shape) {
  if (shape.IsCircle()) return std::numbers::pi * shape.radius * shape.radius;
  double twice = 0.0;
  const size_t n = shape.vertices.size();
  for (size_t i = 0; i < n; ++i) {
    const Vertex& a = shape.vertices[i];
    const Vertex& b = shape.vertices[(i + 1) % n];
    twice += a.x * b.y - b.x * a.y;
    ArcEdge arc{};
    if (DescribeArc(a, b, arc)) {
      // The circular segment between the chord and the arc, on the side the
      // arc turns to: added for a counter-clockwise arc, taken off for a
      // clockwise one.
      const double segment = 0.5 * arc.radius * arc.radius * (arc.sweep - std::sin(arc.sweep));
      twice += 2.0 * arc.direction * segment;
    }
  }
  return 0.5 * twice;
}

double ExactMaxX(const Shape& shape) {
  if (shape.IsCircle()) return shape.centerX + shape.radius;
  double most = -std::numeric_limits<double>::infinity();
  const size_t n = shape.vertices.size();
  for (size_t i = 0; i < n; ++i) {
    const Vertex& a = shape.vertices[i];
    most = std::max(most, a.x);
    ArcEdge arc{};
    if (!DescribeArc(a, shape.vertices[(i + 1) % n], arc)) continue;
    // How far the arc travels from its start to the rightmost point (angle 0).
    double toRightmost = std::fmod(-arc.direction * arc.startAngle, kTwoPi);
    if (toRightmost < 0.0) toRightmost += kTwoPi;
    if (toRightmost <= arc.sweep) most = std::max(most, arc.cx + arc.radius);
  }
  return most;
}

}  // namespace varnest::check
