#include "varnest/geometry/offset.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/contour_trace.h"
#include "varnest/geometry/fuzzy.h"
#include "varnest/geometry/intersection.h"

namespace varnest {

namespace {

// The working copy is scaled so that its larger side has this length.
constexpr double kNormalSize = 100.0;
// The length tolerance of both offsets, on the working copy: no edge of an
// offset strays further than this from the true offset of the outline (an
// arc kept as its chord, or an arc replaced by straight pieces). 1e-4 of the
// size 100 is 1e-6 of the outline's larger side, far below any raster step:
// a strip is a fraction of the largest part, and nothing finer than 1e-4 of
// a part is worth a grid row.
constexpr double kFlatness = 1e-4;
// Arcs that turn by less than this many degrees have radii of up to
// thousands of times the outline, where the angle tolerance of the tracing
// stands for lengths far above kFlatness. Before offsetting they are
// replaced by straight pieces on the side that the offset may not lose.
constexpr double kSmallSweep = 1.0;
// Arcs within this many degrees of a full turn nearly meet themselves. In a
// raw outline such an arc is the loop of a joint at a nearly straight reflex
// corner, which the trace cuts away, so its chord serves as well; an outline
// handed to the offsets has its own such arcs split in two first.
constexpr double kFullTurnMargin = 1.0;
// A flattened arc never gets more pieces than this (the tolerance needs at
// most 60 for an arc of under a degree on the working copy).
constexpr int kMostFlatPieces = 256;
// Marks a joint whose end is known only once the next moved edge exists.
constexpr double kPendingEndX = 1e200;
// How far below the offset distance a point of an inward offset may lie from
// the outline and still belong to it: the chords that the clean-up keeps of
// arcs come within kFlatness, rounding within far less. The loops that moving
// the edges leaves behind come closer.
constexpr double kClearanceSlack = 2.0 * kFlatness;
// A start candidate closer than this to a traced contour lies on it.
constexpr double kOnContour = 2.0 * kFlatness;
// Two crossings closer than this fraction of their edge are one crossing
// found twice (at a vertex shared by three edges, say): no piece between.
constexpr double kShortestPiece = 1e-9;

enum class TSide { kOutward, kInward };

double WrapOnce(double angle) { return angle > 360.0 ? angle - 360.0 : angle; }

double WrapDegrees(double angle) {
  if (angle >= 360.0) return angle - 360.0;
  if (angle < 0.0) return angle + 360.0;
  return angle;
}

// The angle of the point at the fraction t of an arc's sweep, in [0, 360).
double AngleAlongArc(const TPolygonArc& arc, double t) {
  const double turn = t * arc.SweepAngle;
  return WrapDegrees(arc.StartAngle + (IsClockwiseArc(arc) ? -turn : turn));
}

// The largest distance between an arc and its chord.
double Sagitta(const TPolygonArc& arc) {
  return std::fabs(arc.Radius) * (1.0 - std::cos(DegreesToRadians(arc.SweepAngle) / 2.0));
}

// Appends the straight pieces that replace an arc of small sweep, after its
// start vertex (already appended): inscribed chords, or, to keep the side
// away from the centre, the tangents at evenly spaced points of the arc
// (through the arc's ends, their corners at radius r / cos(h / 2)). Either
// way every piece stays within kFlatness of the arc.
void AppendFlattenedArc(const TPolygonArc& arc, bool circumscribe,
                        std::vector<TPolygonVertex>& vertices, std::vector<TPolygonArc>& arcs) {
  const double r = std::fabs(arc.Radius);
  const double sweep = DegreesToRadians(arc.SweepAngle);
  const double step =
      circumscribe ? 2.0 * std::acos(r / (r + kFlatness)) : 2.0 * std::acos(1.0 - kFlatness / r);
  int pieces = kMostFlatPieces;
  if (step > 0.0 && sweep / step < kMostFlatPieces) {
    pieces = std::max(1, static_cast<int>(std::ceil(sweep / step)));
  }
  const double h = arc.SweepAngle / pieces;
  const double direction = IsClockwiseArc(arc) ? -1.0 : 1.0;
  TPolygonArc onCircle = arc;
  if (circumscribe) onCircle.Radius = arc.Radius / std::cos(DegreesToRadians(h) / 2.0);
  const TPolygonArc straight;
  arcs.push_back(straight);
  const int first = circumscribe ? 0 : 1;
  for (int j = first; j < pieces; ++j) {
    const double along = circumscribe ? j + 0.5 : static_cast<double>(j);
    vertices.push_back(VertexOf(ArcPoint(onCircle, arc.StartAngle + direction * along * h)));
    arcs.push_back(straight);
  }
}

// Appends an arc as two halves, after its start vertex: each half turns
// clearly less than a full circle.
void AppendHalves(const TPolygonArc& arc, std::vector<TPolygonVertex>& vertices,
                  std::vector<TPolygonArc>& arcs) {
  const double half = arc.SweepAngle / 2.0;
  const double middle = WrapDegrees(arc.StartAngle + (IsClockwiseArc(arc) ? -half : half));
  const TPoint2D point = ArcPoint(arc, middle);
  TPolygonArc first = arc;
  first.EndAngle = middle;
  first.EndPoint = point;
  first.SweepAngle = half;
  TPolygonArc second = arc;
  second.StartAngle = middle;
  second.StartPoint = point;
  second.SweepAngle = half;
  arcs.push_back(first);
  vertices.push_back(VertexOf(point));
  arcs.push_back(second);
}

// Arcs that the offsets cannot carry as they are. An arc within kFlatness of
// its chord is left for the clean-up to straighten. One of small sweep (and
// a larger sagitta) becomes straight pieces on the side that keeps the offset
// whole: outwards the flattened outline must hold the outline, so an arc
// that bulges out is circumscribed and one that bends in is inscribed;
// inwards the other way round. One that nearly closes is split in two. The
// new vertices have Id 0, like every vertex of an offset.
void ConditionArcs(TPolygon& work, bool inward, double tol) {
  const size_t n = work.FVertices.size();
  std::vector<TPolygonVertex> vertices;
  std::vector<TPolygonArc> arcs;
  vertices.reserve(n);
  arcs.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const TPolygonArc& arc = work.FArcs[i];
    vertices.push_back(work.FVertices[i]);
    const bool bulges = arc.IsArc != 0 && FuzzyCompare(arc.StartAngle, arc.EndAngle, tol) != 0 &&
                        FuzzyCompare(arc.Radius, 0.0, tol) != 0 && Sagitta(arc) > kFlatness;
    if (bulges && arc.SweepAngle < kSmallSweep) {
      AppendFlattenedArc(arc, IsClockwiseArc(arc) == inward, vertices, arcs);
    } else if (bulges && FuzzyCompare(arc.SweepAngle, 360.0, kFullTurnMargin) == 0) {
      AppendHalves(arc, vertices, arcs);
    } else {
      arcs.push_back(arc);
    }
  }
  work.FVertices = std::move(vertices);
  work.FArcs = std::move(arcs);
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
  const double inner =
      FuzzyCompare(back, forward, tol) > 0 ? back - forward : 360.0 - forward + back;
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

// The distance from p to edge i of the outline.
double EdgeDistance(TPoint2D p, const TPolygon& outline, size_t i, double tol) {
  const TPoint2D a = PointOf(outline.FVertices[i]);
  const TPoint2D b = PointOf(outline.FVertices[(i + 1) % outline.FVertices.size()]);
  const TPolygonArc& arc = outline.FArcs[i];
  if (arc.IsArc == 0) return DistanceToSegment(p, a, b);
  if (IsAngleOnArc(arc, arc.StartAngle, arc.EndAngle, AngleAbout(p, arc.Center, tol), tol)) {
    return std::fabs(Distance(p, arc.Center) - std::fabs(arc.Radius));
  }
  return std::fmin(Distance(p, a), Distance(p, b));
}

// The box of every edge, widened by the tolerance under which the box of an
// arc decides whether the arc passes an extreme of its circle.
std::vector<TBox> EdgeBoxes(const TPolygon& polygon, double tol) {
  const size_t n = polygon.FVertices.size();
  std::vector<TBox> boxes(n);
  for (size_t i = 0; i < n; ++i) {
    TBox& box = boxes[i];
    const TPoint2D a = PointOf(polygon.FVertices[i]);
    const TPoint2D b = PointOf(polygon.FVertices[(i + 1) % n]);
    if (polygon.FArcs[i].IsArc != 0) {
      ArcBoundingBox(polygon.FArcs[i], a, b, tol, box.FMinX, box.FMinY, box.FMaxX, box.FMaxY);
    } else {
      box.FMinX = std::fmin(a.X, b.X);
      box.FMaxX = std::fmax(a.X, b.X);
      box.FMinY = std::fmin(a.Y, b.Y);
      box.FMaxY = std::fmax(a.Y, b.Y);
    }
    const double margin = 2.0 * tol;
    box.FMinX -= margin;
    box.FMinY -= margin;
    box.FMaxX += margin;
    box.FMaxY += margin;
  }
  return boxes;
}

double DistanceToBox(TPoint2D p, const TBox& box) {
  const double dx = std::fmax(std::fmax(box.FMinX - p.X, p.X - box.FMaxX), 0.0);
  const double dy = std::fmax(std::fmax(box.FMinY - p.Y, p.Y - box.FMaxY), 0.0);
  return std::sqrt(dx * dx + dy * dy);
}

// The distance from p to the outline when it is below limit, and limit
// otherwise. The questions asked of it (is a point as far from the outline
// as the offset distance, does it lie on a contour) care only about the
// nearest edges, so every edge whose box lies at the limit or beyond is
// passed over.
double DistanceBelow(TPoint2D p, const TPolygon& outline, const std::vector<TBox>& boxes,
                     double limit, double tol) {
  double best = limit;
  for (size_t i = 0; i < boxes.size(); ++i) {
    if (DistanceToBox(p, boxes[i]) >= best) continue;
    best = std::fmin(best, EdgeDistance(p, outline, i, tol));
  }
  return best;
}

// The point of edge i at the fraction t of its length (of its sweep for an
// arc).
TPoint2D PointAlongEdge(const TPolygon& polygon, size_t i, double t) {
  const TPoint2D a = PointOf(polygon.FVertices[i]);
  const TPoint2D b = PointOf(polygon.FVertices[(i + 1) % polygon.FVertices.size()]);
  const TPolygonArc& arc = polygon.FArcs[i];
  if (arc.IsArc == 0) return TPoint2D{a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)};
  return ArcPoint(arc, AngleAlongArc(arc, t));
}

// Whether a traced inward offset is a real one: a positive area (returned in
// area), and every vertex and three points of every edge at least the
// required distance from the outline. When the offset swallows the outline,
// or the walk began on a loop, the trace returns the remains of crossed
// edges, which come close to the outline or run clockwise.
bool KeepsClearance(const TPolygon& result, const TPolygon& outline,
                    const std::vector<TBox>& outlineBoxes, double required, double tol,
                    double& area) {
  area = 0.0;
  if (result.FVertices.empty()) return false;
  TPolygon probe(result);
  probe.ComputeArea();
  area = probe.FArea;
  if (FuzzyCompare(area, 0.0, tol) <= 0) return false;
  for (size_t i = 0; i < result.FVertices.size(); ++i) {
    for (const double t : {0.0, 0.25, 0.5, 0.75}) {
      const TPoint2D p = PointAlongEdge(result, i, t);
      if (!(DistanceBelow(p, outline, outlineBoxes, required, tol) >= required)) {
        return false;
      }
    }
  }
  return true;
}

// The fraction of raw edge e's length (sweep) at which the point x lies.
double FractionAlongEdge(const TPolygon& raw, size_t e, TPoint2D x, double tol) {
  const TPolygonArc& arc = raw.FArcs[e];
  double t = 0.0;
  if (arc.IsArc == 0) {
    const TPoint2D a = PointOf(raw.FVertices[e]);
    const TPoint2D b = PointOf(raw.FVertices[(e + 1) % raw.FVertices.size()]);
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double squared = dx * dx + dy * dy;
    if (squared > 0.0) t = ((x.X - a.X) * dx + (x.Y - a.Y) * dy) / squared;
  } else if (arc.SweepAngle > 0.0) {
    const double angle = AngleOnCircle(x, arc.Center, arc.Radius, tol);
    const double travelled = AngleTravelled(arc.StartAngle, angle, IsClockwiseArc(arc), tol);
    t = FuzzyCompare(travelled, 360.0, tol) == 0 ? 0.0 : travelled / arc.SweepAngle;
  }
  return std::clamp(t, 0.0, 1.0);
}

bool BoxesMeet(const TBox& p, const TBox& q, double tol) {
  return FuzzyCompare(p.FMinX, q.FMaxX, tol) <= 0 && FuzzyCompare(q.FMinX, p.FMaxX, tol) <= 0 &&
         FuzzyCompare(p.FMinY, q.FMaxY, tol) <= 0 && FuzzyCompare(q.FMinY, p.FMaxY, tol) <= 0;
}

// Where an inward trace may begin. The other raw edges cut every raw edge
// into pieces, and a piece either belongs to the boundary of the inner offset
// as a whole or not at all; it belongs when its middle keeps the full distance
// from the outline (every raw point lies at most the distance from it, and
// exactly there only on the boundary). The middles of those pieces are the
// starts, lowest first. Raw vertices and arc bottoms do not serve: where the
// distance exceeds the radius of an arc or the length of an edge, none of
// them lies on the boundary.
std::vector<TTraceStart> InnerTraceStarts(const TOffsetPolygon& raw, const TPolygon& work,
                                          const std::vector<TBox>& workBoxes, double required,
                                          double tol) {
  const size_t m = raw.FVertices.size();
  const std::vector<TBox> boxes = EdgeBoxes(raw, tol);
  std::vector<TTraceStart> starts;
  std::vector<double> cuts;
  for (size_t e = 0; e < m; ++e) {
    const TPoint2D p1 = PointOf(raw.FVertices[e]);
    const TPoint2D p2 = PointOf(raw.FVertices[(e + 1) % m]);
    cuts.assign({0.0, 1.0});
    for (size_t f = 0; f < m; ++f) {
      if (f == e || !BoxesMeet(boxes[e], boxes[f], tol)) continue;
      TPoint2D crossings[2];
      const int count =
          EdgeCrossings(p1, p2, raw.FArcs[e], PointOf(raw.FVertices[f]),
                        PointOf(raw.FVertices[(f + 1) % m]), raw.FArcs[f], crossings, tol);
      for (int k = 0; k < count; ++k) cuts.push_back(FractionAlongEdge(raw, e, crossings[k], tol));
    }
    std::sort(cuts.begin(), cuts.end());
    for (size_t k = 0; k + 1 < cuts.size(); ++k) {
      if (!(cuts[k + 1] - cuts[k] > kShortestPiece)) continue;
      const double t = (cuts[k] + cuts[k + 1]) / 2.0;
      const TPoint2D middle = PointAlongEdge(raw, e, t);
      if (!(DistanceBelow(middle, work, workBoxes, required, tol) >= required)) continue;
      const double angle = raw.FArcs[e].IsArc != 0 ? AngleAlongArc(raw.FArcs[e], t) : 0.0;
      starts.push_back(TTraceStart{static_cast<int32_t>(e), middle, angle});
    }
  }
  std::stable_sort(starts.begin(), starts.end(), [](const TTraceStart& a, const TTraceStart& b) {
    return a.Point.Y < b.Point.Y;
  });
  return starts;
}

// The inward offset: of the contours that the walk finds from the starts,
// the one of largest area. An outline with a waist narrower than twice the
// distance falls apart into several pieces; every start on a piece already
// traced is skipped, so each piece costs one walk. Empty when no start keeps
// the distance (the offset swallows the outline).
TOffsetPolygon LargestInnerContour(const TOffsetPolygon& raw, const TPolygon& work, double d,
                                   double tol) {
  const double required = d - kClearanceSlack;
  const std::vector<TBox> workBoxes = EdgeBoxes(work, tol);
  TOffsetPolygon best;
  double bestArea = 0.0;
  struct TTraced {
    TOffsetPolygon Contour;
    std::vector<TBox> Boxes;
  };
  std::vector<TTraced> traced;
  for (const TTraceStart& start : InnerTraceStarts(raw, work, workBoxes, required, tol)) {
    bool known = false;
    for (const TTraced& t : traced) {
      known = known || DistanceBelow(start.Point, t.Contour, t.Boxes, kOnContour, tol) < kOnContour;
    }
    if (known) continue;
    TOffsetPolygon contour = TraceContourFrom(raw, start, tol);
    RemoveDegenerateEdges(contour, tol);
    double area = 0.0;
    if (!KeepsClearance(contour, work, workBoxes, required, tol, area)) continue;
    if (FuzzyCompare(area, bestArea, tol) > 0) {
      best = contour;
      bestArea = area;
    }
    std::vector<TBox> boxes = EdgeBoxes(contour, tol);
    traced.push_back(TTraced{std::move(contour), std::move(boxes)});
  }
  return best;
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
  ConditionArcs(work, inward, precision);
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
    result = LargestInnerContour(raw, work, d, precision);
  } else {
    result = TraceOuterContour(raw, precision);
    RemoveDegenerateEdges(result, precision);
  }

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
          FuzzyCompare(arc.SweepAngle, 360.0, kFullTurnMargin) == 0) {
        arc.IsArc = 0;
      } else if (FuzzyCompare(arc.Radius, 0.0, precision) == 0) {
        continue;  // vertex and record removed
      } else if (Sagitta(arc) <= kFlatness) {
        arc.IsArc = 0;
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
      const TPolygonVertex& next =
          i + 1 < n ? vertices[i + 1] : (kept > 0 ? vertices[0] : vertices[i]);
      if (FuzzyCompare(Distance(PointOf(vertices[i]), PointOf(next)), 0.0, precision) == 0)
        continue;
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
