#include "geometry/offset.h"

#include <cmath>
#include <limits>
#include <utility>

#include "geometry/arc_primitives.h"
#include "geometry/contour_trace.h"
#include "geometry/fuzzy.h"
#include "geometry/intersection.h"

namespace varnest {

namespace {

// The working copy is scaled so that its larger side has this length.
constexpr double kNormalSize = 100.0;
// Arcs that turn by less than this many degrees, or miss a full turn by less,
// carry no usable direction and are treated as their chord.
constexpr double kDegenerateSweepTolerance = 1.0;
// Marks a joint whose end is known only once the next moved edge exists.
constexpr double kPendingEndX = 1e200;
// How far below the offset distance a point of an inward offset may lie from
// the outline before the offset counts as swallowed. Valid offsets keep the
// distance to rounding (1e-8 of the size); the loops that remain when the
// offset swallows the outline come far closer.
constexpr double kClearanceSlack = 1e-3;

enum class TSide { kOutward, kInward };

double WrapOnce(double angle) { return angle > 360.0 ? angle - 360.0 : angle; }

double WrapDegrees(double angle) {
  if (angle >= 360.0) return angle - 360.0;
  if (angle < 0.0) return angle + 360.0;
  return angle;
}

// Tangent directions at a corner, in degrees: leaving the corner backwards
// along the incoming edge, and forwards along the outgoing edge. On an arc
// the tangent is a quarter turn from the radius, in the arc's direction.
double BackwardDirection(const TPolygonArc& incoming, TPoint2D previous, TPoint2D corner,
                         double tol) {
  if (incoming.IsArc == 0) return AngleAbout(previous, corner, tol);
  return WrapDegrees(incoming.EndAngle + (IsClockwiseArc(incoming) ? 90.0 : -90.0));
}

double ForwardDirection(const TPolygonArc& outgoing, TPoint2D corner, TPoint2D next, double tol) {
  if (outgoing.IsArc == 0) return AngleAbout(next, corner, tol);
  return WrapDegrees(outgoing.StartAngle + (IsClockwiseArc(outgoing) ? -90.0 : 90.0));
}

// The inner angle at the corner after edge i of a counter-clockwise outline is
// the clockwise turn from the backward to the forward direction (equal
// directions give 360). Below 180 the corner is convex: the two edges moved
// inwards overlap there and are joined straight. For two straight edges the
// directions are those towards the neighbouring vertices; where an arc meets
// the corner its tangent takes that place, so that arcs are judged by the
// same geometry as straight edges.
bool IsConvexCorner(const TPolygon& outline, size_t i, double tol) {
  const size_t n = outline.FVertices.size();
  const size_t corner = (i + 1) % n;
  const size_t after = (i + 2) % n;
  const TPoint2D c = PointOf(outline.FVertices[corner]);
  const double back = BackwardDirection(outline.FArcs[i], PointOf(outline.FVertices[i]), c, tol);
  const double forward =
      ForwardDirection(outline.FArcs[corner], c, PointOf(outline.FVertices[after]), tol);
  const double inner = FuzzyCompare(back, forward, tol) > 0 ? back - forward : 360.0 - forward + back;
  return FuzzyCompare(inner, 180.0, tol) < 0;
}

double EdgeDirection(double dx, double dy, double length, double tol) {
  if (!(length > 0.0)) return 0.0;  // no direction; only reachable with a broken tolerance
  return PolarAngleRadians(dy / length, dx / length, tol);
}

double DistanceToSegment(TPoint2D p, TPoint2D a, TPoint2D b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  const double squared = dx * dx + dy * dy;
  if (!(squared > 0.0)) return Distance(p, a);
  double t = ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / squared;
  if (t < 0.0) t = 0.0;
  if (t > 1.0) t = 1.0;
  return Distance(p, TPoint2D{a.X + t * dx, a.Y + t * dy});
}

double DistanceToOutline(TPoint2D p, const TPolygon& outline, double tol) {
  const size_t n = outline.FVertices.size();
  double best = std::numeric_limits<double>::infinity();
  for (size_t i = 0; i < n; ++i) {
    const TPoint2D a = PointOf(outline.FVertices[i]);
    const TPoint2D b = PointOf(outline.FVertices[(i + 1) % n]);
    const TPolygonArc& arc = outline.FArcs[i];
    double distance = 0.0;
    if (arc.IsArc == 0) {
      distance = DistanceToSegment(p, a, b);
    } else if (IsAngleOnArc(arc, arc.StartAngle, arc.EndAngle, AngleAbout(p, arc.Center, tol),
                            tol)) {
      distance = std::fabs(Distance(p, arc.Center) - std::fabs(arc.Radius));
    } else {
      distance = std::fmin(Distance(p, a), Distance(p, b));
    }
    if (distance < best) best = distance;
  }
  return best;
}

TPoint2D EdgeMidpoint(const TPolygon& polygon, size_t i) {
  const TPoint2D a = PointOf(polygon.FVertices[i]);
  const TPoint2D b = PointOf(polygon.FVertices[(i + 1) % polygon.FVertices.size()]);
  const TPolygonArc& arc = polygon.FArcs[i];
  if (arc.IsArc == 0) return TPoint2D{(a.X + b.X) / 2.0, (a.Y + b.Y) / 2.0};
  const double half = arc.SweepAngle / 2.0;
  return ArcPoint(arc, arc.StartAngle + (IsClockwiseArc(arc) ? -half : half));
}

// Whether a traced inward offset is a real one: a positive area, and its
// vertices and edge midpoints as far from the outline as the offset distance.
// When the offset swallows the outline (a hole narrower than twice the
// distance), the trace still returns the remains of the crossed edges, which
// come close to the outline or run clockwise.
bool KeepsClearance(const TPolygon& result, const TPolygon& outline, double distance, double tol) {
  if (result.FVertices.empty()) return false;
  TPolygon probe(result);
  probe.ComputeArea();
  if (FuzzyCompare(probe.FArea, 0.0, tol) <= 0) return false;
  const double required = distance * (1.0 - kClearanceSlack);
  for (size_t i = 0; i < result.FVertices.size(); ++i) {
    if (!(DistanceToOutline(PointOf(result.FVertices[i]), outline, tol) >= required)) return false;
    if (!(DistanceToOutline(EdgeMidpoint(result, i), outline, tol) >= required)) return false;
  }
  return true;
}

// Moves edge i of the working outline by the distance: its start and end.
void MoveEdge(const TPolygon& work, size_t i, double distance, TSide side, double tol,
              TPolygonArc& moved, TPoint2D& start, TPoint2D& end) {
  const size_t m = work.FVertices.size();
  const TPoint2D a = PointOf(work.FVertices[i]);
  const TPoint2D b = PointOf(work.FVertices[(i + 1) % m]);
  const TPolygonArc& edge = work.FArcs[i];
  const bool inward = side == TSide::kInward;
  if (edge.IsArc == 0) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double squared = dx * dx + dy * dy;
    const double trueLength = std::sqrt(squared);
    const double length = FuzzyCompare(squared, 0.0, tol) == 0 ? 0.0 : trueLength;
    // The direction comes from the true length: an edge that counts as of
    // no length still points somewhere, and dividing by the zeroed length
    // would not.
    const double phi = EdgeDirection(dx, dy, trueLength, tol);
    double psi = phi - kPi / 2.0;  // the right-hand normal
    if (FuzzyCompare(psi, 0.0, tol) < 0) psi += 2.0 * kPi;
    if (inward) {
      start = TPoint2D{a.X - distance * std::cos(psi), a.Y - distance * std::sin(psi)};
    } else {
      start = TPoint2D{a.X + distance * std::cos(psi), a.Y + distance * std::sin(psi)};
    }
    end = TPoint2D{start.X + length * std::cos(phi), start.Y + length * std::sin(phi)};
    return;
  }
  moved.IsArc = 1;
  moved.Center = edge.Center;
  moved.Clockwise = edge.Clockwise;
  moved.SweepAngle = edge.SweepAngle;
  // Inwards a clockwise arc grows and a counter-clockwise one shrinks.
  const double k = inward == IsClockwiseArc(edge) ? 1.0 : -1.0;
  const double radius = edge.Radius + distance * k;
  if (FuzzyCompare(radius, 0.0, tol) < 0) {
    // The arc has passed through its centre and lies on the far side.
    moved.Radius = std::fabs(radius);
    moved.StartAngle = WrapOnce(edge.StartAngle + 180.0);
    moved.EndAngle = WrapOnce(edge.EndAngle + 180.0);
  } else {
    moved.Radius = radius;
    moved.StartAngle = edge.StartAngle;
    moved.EndAngle = edge.EndAngle;
  }
  start = ArcPoint(moved, moved.StartAngle);
  end = ArcPoint(moved, moved.EndAngle);
  moved.StartPoint = start;
  moved.EndPoint = end;
}

TOffsetPolygon Offset(TPolygon& polygon, double distance, double precision, TOffsetPolygon& raw,
                      TSide side) {
  double minX = 0.0;
  double minY = 0.0;
  const double scale = polygon.FitScale(kNormalSize, precision, minX, minY);
  if (!(FuzzyCompare(distance, 0.0, precision) > 0)) {
    raw = polygon;
    return TOffsetPolygon(polygon);
  }
  const bool inward = side == TSide::kInward;

  TPolygon work(polygon);
  work.Translate(-minX, -minY);
  work.Scale(scale);
  const double d = distance * scale;
  RemoveDegenerateEdges(work, precision);
  const size_t m = work.FVertices.size();
  const size_t count = 2 * m;

  raw = TOffsetPolygon(static_cast<int32_t>(count));
  for (size_t i = 0; i < m; ++i) {
    TPoint2D start;
    TPoint2D end;
    MoveEdge(work, i, d, side, precision, raw.FArcs[2 * i], start, end);
    raw.FVertices[2 * i] = VertexOf(start);
    raw.FVertices[2 * i + 1] = VertexOf(end);

    if (inward && IsConvexCorner(work, i, precision)) continue;  // straight joint
    TPolygonArc& joint = raw.FArcs[2 * i + 1];
    joint.IsArc = 1;
    joint.Clockwise = inward ? 1 : 0;
    joint.Center = PointOf(work.FVertices[(i + 1) % m]);
    joint.Radius = d;
    joint.StartPoint = end;
    joint.EndPoint.X = kPendingEndX;
  }
  for (size_t j = 0; j < count; ++j) {
    TPolygonArc& arc = raw.FArcs[j];
    if (arc.IsArc == 0 || FuzzyCompare(arc.EndPoint.X, kPendingEndX, precision) != 0) continue;
    arc.EndPoint = PointOf(raw.FVertices[(j + 1) % count]);
    ComputeArcAngles(arc, precision);
  }

  // Inwards, two straight edges at a convex corner overlap; trimming them at
  // their crossing shrinks the joint between them to nothing. Where the next
  // edge is an arc its chord is not its path: the joint stays, and the trace
  // cuts the two at their true crossing.
  if (inward) {
    for (size_t k = 0; k < count; k += 2) {
      const size_t k1 = k + 1;
      const size_t k2 = (k + 2) % count;
      const size_t k3 = (k + 3) % count;
      if (raw.FArcs[k].IsArc != 0 || raw.FArcs[k1].IsArc != 0 || raw.FArcs[k2].IsArc != 0) {
        continue;
      }
      TPoint2D x;
      if (SegmentIntersection(PointOf(raw.FVertices[k]), PointOf(raw.FVertices[k1]),
                              PointOf(raw.FVertices[k2]), PointOf(raw.FVertices[k3]), x,
                              precision)) {
        raw.FVertices[k1] = VertexOf(x);
        raw.FVertices[k2] = VertexOf(x);
      }
    }
  }

  RemoveDegenerateEdges(raw, precision);
  TOffsetPolygon result;
  if (inward) {
    const double required = d * (1.0 - kClearanceSlack);
    result = TraceOuterContour(raw, precision, [&](TPoint2D p) {
      return DistanceToOutline(p, work, precision) >= required;
    });
  } else {
    result = TraceOuterContour(raw, precision);
  }
  RemoveDegenerateEdges(result, precision);
  if (inward && !KeepsClearance(result, work, d, precision)) result = TOffsetPolygon();

  const size_t n = result.FVertices.size();
  for (size_t i = 0; i < n; ++i) {
    TPolygonArc& arc = result.FArcs[i];
    if (arc.IsArc == 0) continue;
    arc.StartPoint = PointOf(result.FVertices[i]);
    arc.EndPoint = PointOf(result.FVertices[(i + 1) % n]);
  }
  const double back = 1.0 / scale;
  raw.Scale(back);
  raw.Translate(minX, minY);
  result.Scale(back);
  result.Translate(minX, minY);
  return result;
}

}  // namespace

void RemoveDegenerateEdges(TPolygon& polygon, double precision) {
  std::vector<TPolygonVertex>& vertices = polygon.FVertices;
  std::vector<TPolygonArc>& arcs = polygon.FArcs;

  // First pass: every arc decides by itself.
  size_t kept = 0;
  for (size_t i = 0; i < vertices.size(); ++i) {
    TPolygonArc arc = arcs[i];
    if (arc.IsArc != 0) {
      if (FuzzyCompare(arc.StartAngle, arc.EndAngle, precision) == 0 ||
          FuzzyCompare(arc.SweepAngle, 360.0, kDegenerateSweepTolerance) == 0 ||
          FuzzyCompare(arc.SweepAngle, 0.0, kDegenerateSweepTolerance) == 0) {
        arc.IsArc = 0;
      } else if (FuzzyCompare(arc.Radius, 0.0, precision) == 0) {
        continue;  // vertex and record removed
      }
    }
    vertices[kept] = vertices[i];
    arcs[kept] = arc;
    ++kept;
  }
  vertices.resize(kept);
  arcs.resize(kept);

  // Second pass: a straight edge of no length goes with its start vertex.
  // Removing vertex i leaves its successor to be compared with the vertex
  // after it, so each vertex is compared with its original successor, and the
  // last one with the first vertex that stayed.
  const size_t n = vertices.size();
  kept = 0;
  for (size_t i = 0; i < n; ++i) {
    if (arcs[i].IsArc == 0) {
      const TPolygonVertex& next = i + 1 < n ? vertices[i + 1] : (kept > 0 ? vertices[0] : vertices[i]);
      if (FuzzyCompare(Distance(PointOf(vertices[i]), PointOf(next)), 0.0, precision) == 0) continue;
    }
    vertices[kept] = vertices[i];
    arcs[kept] = arcs[i];
    ++kept;
  }
  vertices.resize(kept);
  arcs.resize(kept);
}

TOffsetPolygon OffsetOutward(TPolygon& polygon, double distance, double precision,
                             TOffsetPolygon& raw) {
  return Offset(polygon, distance, precision, raw, TSide::kOutward);
}

TOffsetPolygon OffsetInward(TPolygon& polygon, double distance, double precision,
                            TOffsetPolygon& raw) {
  return Offset(polygon, distance, precision, raw, TSide::kInward);
}

void GrowOutline(TPolygon& polygon, double distance, double precision) {
  if (!(FuzzyCompare(distance, 0.0, precision) > 0)) return;
  TOffsetPolygon raw;
  TOffsetPolygon grown = OffsetOutward(polygon, distance, precision, raw);
  polygon.FVertices = std::move(grown.FVertices);
  polygon.FArcs = std::move(grown.FArcs);
  for (TPolygonArc& arc : polygon.FArcs) {
    if (arc.IsArc != 0) ComputeSweep(arc, precision);
  }
}

TBaseShape MakeInnerOffset(TBaseShape& shape, double distance, double precision) {
  TBaseShape rawShape;
  if (shape.IsPolygon()) {
    if (shape.FPolygon) {
      TOffsetPolygon work(*shape.FPolygon);
      shape.FPolygon.reset();
      TOffsetPolygon raw;
      TOffsetPolygon inner = OffsetInward(work, distance, precision, raw);
      shape.FPolygon = TPolygon(inner);
      rawShape.FPolygon = TPolygon(raw);
    }
  } else if (shape.FCircle) {
    TOffsetCircle work(*shape.FCircle);
    shape.FCircle.reset();
    work.Shrink(distance);
    shape.FCircle = TCircle(work);
    rawShape.FCircle = TCircle(work);
  }
  rawShape.FShapeType = shape.FShapeType;
  return rawShape;
}

}  // namespace varnest
