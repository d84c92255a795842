#include "varnest/geometry/contour_trace.h"

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/fuzzy.h"
#include "varnest/geometry/intersection.h"

namespace varnest {

namespace {

struct TCrossing {
  bool found = false;
  int32_t edge = 0;
  TPoint2D point;
  double angleOnCurrent = -1.0;
  double angleOnEdge = -1.0;
};

void TakeArcOf(TPolygonArc& target, const TPolygonArc& source) {
  target.IsArc = source.IsArc;
  if (source.IsArc != 0) {
    target.Center = source.Center;
    target.Radius = source.Radius;
    target.Clockwise = source.Clockwise;
  }
}

}  // namespace

TTraceStart LowestTraceStart(const TOffsetPolygon& raw, double tol) {
  const int32_t m = raw.NumberOfVertices();
  TTraceStart best;
  if (m == 0) return best;
  auto vertex = [&raw](int32_t i) { return PointOf(raw.FVertices[static_cast<size_t>(i)]); };
  best.Point = vertex(0);
  best.Angle = raw.FArcs[0].StartAngle;
  for (int32_t v = 0; v < m; ++v) {
    const TPolygonArc& arc = raw.FArcs[static_cast<size_t>(v)];
    if (FuzzyCompare(best.Point.Y, vertex(v).Y, tol) >= 0) {
      best = TTraceStart{v, vertex(v), arc.StartAngle};
    }
    if (arc.IsArc != 0) {
      TPoint2D low;
      double angle = 0.0;
      bool atEndHeight = false;
      ArcLowestPoint(arc, vertex(v), vertex(v + 1 == m ? 0 : v + 1), low, angle, atEndHeight, tol);
      if (!atEndHeight && FuzzyCompare(best.Point.Y, low.Y, tol) >= 0) {
        best = TTraceStart{v, low, angle};
      }
    }
  }
  return best;
}

TOffsetPolygon TraceOuterContour(const TOffsetPolygon& raw, double tol) {
  if (raw.NumberOfVertices() == 0) return TOffsetPolygon();
  return TraceContourFrom(raw, LowestTraceStart(raw, tol), tol);
}

TOffsetPolygon TraceContourFrom(const TOffsetPolygon& raw, const TTraceStart& from, double tol) {
  const int32_t m = raw.NumberOfVertices();
  if (m == 0 || from.Edge < 0 || from.Edge >= m) return TOffsetPolygon();
  auto next = [m](int32_t i) { return i + 1 == m ? 0 : i + 1; };
  auto vertex = [&raw](int32_t i) { return PointOf(raw.FVertices[static_cast<size_t>(i)]); };
  auto arcOf = [&raw](int32_t i) -> const TPolygonArc& {
    return raw.FArcs[static_cast<size_t>(i)];
  };
  const int32_t start = from.Edge;
  const TPoint2D best = from.Point;
  const double bestAngle = from.Angle;

  // At most m steps, each adding one result vertex, plus the start vertex.
  const size_t capacity = static_cast<size_t>(m) + 1;
  std::vector<TPolygonVertex> vertices(capacity);
  std::vector<TPolygonArc> arcs(capacity);

  vertices[0] = VertexOf(best);
  size_t c = 0;
  TakeArcOf(arcs[0], arcOf(start));
  double a = 0.0;  // the current angle on an arc edge
  if (arcOf(start).IsArc != 0) {
    arcs[0].StartAngle = bestAngle;
    a = bestAngle;
  }
  TPoint2D u = best;
  int32_t b = start;

  for (int32_t step = 0; step < m; ++step) {
    const TPolygonArc& current = arcOf(b);
    const bool onArc = current.IsArc != 0;
    const TPoint2D p1 = vertex(b);
    const TPoint2D p2 = vertex(next(b));
    double distanceBound = Distance(p1, p2) + 1.0;
    double angleBound = onArc ? current.SweepAngle + 1.0 : 0.0;
    TCrossing crossing;

    // The edges after b up to and including the start edge; on the first
    // step every edge but the start edge and the one before it.
    bool first = true;
    for (int32_t f = next(b); next(f) != b; f = next(f)) {
      if (!first && f == next(start)) break;
      first = false;
      const TPolygonArc& other = arcOf(f);
      const TPoint2D q1 = vertex(f);
      const TPoint2D q2 = vertex(next(f));
      TPoint2D x;
      if (!onArc) {
        double angle = -1.0;
        if (!IntersectFromSegment(p1, p2, q1, q2, u, other, x, angle, tol)) continue;
        const double distance = Distance(u, x);
        // Later edges win ties.
        if (FuzzyCompare(distance, 0.0, tol) > 0 &&
            FuzzyCompare(distance, distanceBound, tol) <= 0) {
          crossing = TCrossing{true, f, x, -1.0, angle};
          distanceBound = distance;
        }
      } else {
        double onCurrent = -1.0;
        double onOther = -1.0;
        if (!IntersectFromArc(q1, q2, current, a, other, x, onCurrent, onOther, tol)) continue;
        const double travelled = AngleTravelled(a, onCurrent, IsClockwiseArc(current), tol);
        // A crossing at the very point where the walk entered the arc has
        // travelled 360 and does not count.
        if (FuzzyCompare(travelled, 0.0, tol) > 0 && FuzzyCompare(travelled, 360.0, tol) < 0 &&
            FuzzyCompare(travelled, angleBound, tol) <= 0) {
          crossing = TCrossing{true, f, x, onCurrent, onOther};
          angleBound = travelled;
        }
      }
    }

    if (crossing.found) {
      if (arcs[c].IsArc != 0) {
        arcs[c].EndAngle = crossing.angleOnCurrent;
        arcs[c].SweepAngle = angleBound;
      }
      vertices[c + 1] = VertexOf(crossing.point);
      ++c;
      const TPolygonArc& entered = arcOf(crossing.edge);
      TakeArcOf(arcs[c], entered);
      if (entered.IsArc != 0) arcs[c].StartAngle = crossing.angleOnEdge;
      u = crossing.point;
      a = crossing.angleOnEdge;
      b = crossing.edge;
    } else {
      if (arcs[c].IsArc != 0) {
        arcs[c].EndAngle = current.EndAngle;
        ComputeSweep(arcs[c], tol);
      }
      b = next(b);
      ++c;
      vertices[c] = raw.FVertices[static_cast<size_t>(b)];
      const TPolygonArc& entered = arcOf(b);
      TakeArcOf(arcs[c], entered);
      if (entered.IsArc != 0) arcs[c].StartAngle = entered.StartAngle;
      u = vertex(b);
      if (entered.IsArc != 0) a = entered.StartAngle;
    }
    if (b == start) break;
  }

  // Back on the start edge: the last result edge lies on the same raw edge
  // as result edge 0 and is merged into it, so that edge 0 starts where the
  // walk re-entered the start edge. A walk that began at the start vertex of
  // a straight edge re-enters it there, and nothing changes; one that began
  // inside an edge leaves no vertex at its starting point.
  if (c > 0 && b == start) {
    vertices[0] = VertexOf(u);
    if (arcs[c].IsArc != 0) {
      arcs[0].StartAngle = a;
      ComputeSweep(arcs[0], tol);
    }
    --c;
  }

  TOffsetPolygon result;
  vertices.resize(c + 1);
  arcs.resize(c + 1);
  result.FVertices = std::move(vertices);
  result.FArcs = std::move(arcs);
  return result;
}

}  // namespace varnest
