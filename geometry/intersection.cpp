#include "varnest/geometry/intersection.h"

#include <algorithm>
#include <cmath>

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/fuzzy.h"

namespace varnest {

namespace {

// The crossing of the lines a1-a2 and b1-b2 by Cramer's rule on
// a x + b y = c; false when the determinant is 0 under tol.
bool LineIntersection(TPoint2D a1, TPoint2D a2, TPoint2D b1, TPoint2D b2, TPoint2D& x, double tol) {
  const double la = a1.Y - a2.Y;
  const double lb = a2.X - a1.X;
  const double ma = b1.Y - b2.Y;
  const double mb = b2.X - b1.X;
  const double det = la * mb - ma * lb;
  if (FuzzyCompare(det, 0.0, tol) == 0) return false;
  const double lc = la * a1.X + lb * a1.Y;
  const double mc = ma * b1.X + mb * b1.Y;
  x = TPoint2D{(lc * mb - mc * lb) / det, (la * mc - ma * lc) / det};
  return true;
}

struct TCandidates {
  TPoint2D points[2];
  int count = 0;
};

// Where the line through p1 and p2 meets the circle (c, r). A horizontal line
// is solved directly, and its tangent gives the touching point twice; any
// other line as a quadratic in y, where a tangent counts as no crossing.
TCandidates LineCircle(TPoint2D p1, TPoint2D p2, TPoint2D c, double r, double tol) {
  TCandidates result;
  if (FuzzyCompare(p1.Y, p2.Y, tol) == 0) {
    const double dy = p1.Y - c.Y;
    if (FuzzyCompare(std::fabs(dy), r, tol) > 0) return result;
    const double q = r * r - dy * dy;
    const double h = FuzzyCompare(q, 0.0, tol) > 0 ? std::sqrt(q) : 0.0;
    result.points[0] = TPoint2D{c.X - h, p1.Y};
    result.points[1] = TPoint2D{c.X + h, p1.Y};
    result.count = 2;
    return result;
  }
  const double g = p1.X - p2.X;
  const double f = p1.Y - p2.Y;  // not 0: the line is not horizontal
  const double cross = p2.X * p1.Y - p1.X * p2.Y;
  const double d = cross - c.X * f;
  const double e = g * g + f * f;
  const double l = c.Y * (f * f) - d * g;
  const double k = d * d + (c.Y * c.Y) * (f * f) - (r * r) * (f * f);
  const double discriminant = l * l - e * k;
  if (FuzzyCompare(discriminant, 0.0, tol) <= 0) return result;
  const double root = std::sqrt(discriminant);
  const double ys[2] = {(l - root) / e, (l + root) / e};
  for (int i = 0; i < 2; ++i) {
    result.points[i] = TPoint2D{(cross + g * ys[i]) / f, ys[i]};
  }
  result.count = 2;
  return result;
}

// Where the circles of two arcs meet: none when they are concentric, apart,
// or one lies inside the other; touching circles give one point twice.
TCandidates CircleCircle(const TPolygonArc& current, const TPolygonArc& other, double tol) {
  TCandidates result;
  const double dx = other.Center.X - current.Center.X;
  const double dy = other.Center.Y - current.Center.Y;
  const double d = std::sqrt(dx * dx + dy * dy);
  const double rc = std::fabs(current.Radius);
  const double ro = std::fabs(other.Radius);
  if (FuzzyCompare(d, 0.0, tol) == 0 || FuzzyCompare(d, rc + ro, tol) > 0 ||
      FuzzyCompare(d, std::fabs(current.Radius - other.Radius), tol) < 0) {
    return result;
  }
  const double along = (rc * rc - ro * ro + d * d) / (2.0 * d);
  const double q = rc * rc - along * along;
  const double h = FuzzyCompare(q, 0.0, tol) > 0 ? std::sqrt(q) : 0.0;
  const double mx = current.Center.X + along * (dx / d);
  const double my = current.Center.Y + along * (dy / d);
  result.points[0] = TPoint2D{mx + h * (dy / d), my - h * (dx / d)};
  result.points[1] = TPoint2D{mx - h * (dy / d), my + h * (dx / d)};
  result.count = 2;
  return result;
}

bool OnWholeArc(const TPolygonArc& arc, TPoint2D p, double tol) {
  return IsAngleOnArc(arc, arc.StartAngle, arc.EndAngle,
                      AngleOnCircle(p, arc.Center, arc.Radius, tol), tol);
}

// Whether the angle b is where the walk along an arc stands at angle a: the
// angle travelled from a to b is a whole turn or nothing.
bool AtCurrentAngle(double a, double b, bool clockwise, double tol) {
  const double travelled = AngleTravelled(a, b, clockwise, tol);
  return FuzzyCompare(travelled, 0.0, tol) == 0 || FuzzyCompare(travelled, 360.0, tol) == 0;
}

}  // namespace

bool PointInSegmentBox(TPoint2D x, TPoint2D a, TPoint2D b, double tol) {
  const bool inX = FuzzyCompare(x.X, std::min(a.X, b.X), tol) >= 0 &&
                   FuzzyCompare(x.X, std::max(a.X, b.X), tol) <= 0;
  if (FuzzyCompare(a.Y, b.Y, tol) == 0) return inX;
  const bool inY = FuzzyCompare(x.Y, std::min(a.Y, b.Y), tol) >= 0 &&
                   FuzzyCompare(x.Y, std::max(a.Y, b.Y), tol) <= 0;
  if (FuzzyCompare(a.X, b.X, tol) == 0) return inY;
  return inX && inY;
}

bool SegmentIntersection(TPoint2D a1, TPoint2D a2, TPoint2D b1, TPoint2D b2, TPoint2D& x,
                         double tol) {
  if (!LineIntersection(a1, a2, b1, b2, x, tol)) return false;
  return PointInSegmentBox(x, a1, a2, tol) && PointInSegmentBox(x, b1, b2, tol);
}

bool IntersectFromSegment(TPoint2D p1, TPoint2D p2, TPoint2D q1, TPoint2D q2, TPoint2D u,
                          const TPolygonArc& other, TPoint2D& x, double& angle, double tol) {
  if (other.IsArc == 0) {
    TPoint2D crossing;
    if (!LineIntersection(p1, p2, q1, q2, crossing, tol)) return false;
    if (!PointInSegmentBox(crossing, u, p2, tol) || !PointInSegmentBox(crossing, q1, q2, tol)) {
      return false;
    }
    x = crossing;
    return true;
  }
  angle = -1.0;
  const TCandidates candidates = LineCircle(p1, p2, other.Center, other.Radius, tol);
  bool taken = false;
  for (int i = 0; i < candidates.count; ++i) {
    const TPoint2D c = candidates.points[i];
    const double theta = AngleOnCircle(c, other.Center, other.Radius, tol);
    if (!IsAngleOnArc(other, other.StartAngle, other.EndAngle, theta, tol)) continue;
    if (!PointInSegmentBox(c, u, p2, tol)) continue;
    // The walk stands on the current point already: a crossing there would
    // hide one further on, where the line leaves the circle again.
    if (FuzzyCompare(Distance(u, c), 0.0, tol) == 0) continue;
    // The second candidate wins only when strictly nearer to the current point.
    if (!taken || Distance(u, c) < Distance(u, x)) {
      x = c;
      angle = theta;
      taken = true;
    }
  }
  return taken;
}

bool IntersectFromArc(TPoint2D q1, TPoint2D q2, const TPolygonArc& current, double a,
                      const TPolygonArc& other, TPoint2D& x, double& angleOnCurrent,
                      double& angleOnOther, double tol) {
  angleOnCurrent = -1.0;
  const TCandidates candidates = other.IsArc != 0
                                     ? CircleCircle(current, other, tol)
                                     : LineCircle(q1, q2, current.Center, current.Radius, tol);

  bool taken = false;
  for (int i = 0; i < candidates.count; ++i) {
    const TPoint2D c = candidates.points[i];
    const double onCurrent = AngleOnCircle(c, current.Center, current.Radius, tol);
    double onOther = -1.0;
    bool counts = false;
    if (other.IsArc != 0) {
      onOther = AngleOnCircle(c, other.Center, other.Radius, tol);
      counts = IsAngleOnArc(current, current.StartAngle, current.EndAngle, onCurrent, tol) &&
               IsAngleOnArc(other, other.StartAngle, other.EndAngle, onOther, tol) &&
               IsAngleOnArc(current, a, current.EndAngle, onCurrent, tol);
    } else {
      counts = IsAngleOnArc(current, a, current.EndAngle, onCurrent, tol) &&
               PointInSegmentBox(c, q1, q2, tol);
    }
    // As on a straight piece, a crossing where the walk stands does not
    // count and must not hide the next one.
    if (!counts || AtCurrentAngle(a, onCurrent, IsClockwiseArc(current), tol)) continue;
    // The second candidate wins only when it comes earlier along the arc.
    if (!taken || IsAngleOnArc(current, a, angleOnCurrent, onCurrent, tol)) {
      x = c;
      angleOnCurrent = onCurrent;
      angleOnOther = onOther;
      taken = true;
    }
  }
  return taken;
}

int EdgeCrossings(TPoint2D p1, TPoint2D p2, const TPolygonArc& p, TPoint2D q1, TPoint2D q2,
                  const TPolygonArc& q, TPoint2D crossings[2], double tol) {
  if (p.IsArc == 0 && q.IsArc == 0) {
    return SegmentIntersection(p1, p2, q1, q2, crossings[0], tol) ? 1 : 0;
  }
  TCandidates candidates;
  if (p.IsArc != 0 && q.IsArc != 0) {
    candidates = CircleCircle(p, q, tol);
  } else if (p.IsArc != 0) {
    candidates = LineCircle(q1, q2, p.Center, p.Radius, tol);
  } else {
    candidates = LineCircle(p1, p2, q.Center, q.Radius, tol);
  }
  int count = 0;
  for (int i = 0; i < candidates.count; ++i) {
    const TPoint2D c = candidates.points[i];
    const bool onP = p.IsArc != 0 ? OnWholeArc(p, c, tol) : PointInSegmentBox(c, p1, p2, tol);
    const bool onQ = q.IsArc != 0 ? OnWholeArc(q, c, tol) : PointInSegmentBox(c, q1, q2, tol);
    if (onP && onQ) crossings[count++] = c;
  }
  return count;
}

}  // namespace varnest
