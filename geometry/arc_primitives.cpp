#include "varnest/geometry/arc_primitives.h"

#include <cmath>

#include "varnest/geometry/fuzzy.h"

namespace varnest {

namespace {

constexpr double kHalfPi = kPi / 2.0;

// The ratios come from rounded coordinates and may stray past +-1, where asin
// and acos have no value. They are clamped only when they really lie beyond
// +-1: clamping every ratio within the tolerance of +-1 would snap directions
// up to 0.08 degree away from an axis onto it (a ratio of 1 - 1e-6 is an angle
// of 1.4e-3 radians), which turns nearly vertical edges and arc ends visibly.
double ClampedAsin(double s) {
  if (s >= 1.0) return std::asin(1.0);
  if (s > -1.0) return std::asin(s);
  return std::asin(-1.0);
}

double ClampedAcos(double c) {
  if (c >= 1.0) return std::acos(1.0);
  if (c > -1.0) return std::acos(c);
  return std::acos(-1.0);
}

void WidenToDirection(int direction, double cx, double cy, double r, double tol, double& minX,
                      double& minY, double& maxX, double& maxY) {
  switch (direction) {
    case 0:
      if (FuzzyCompare(maxX, cx + r, tol) < 0) maxX = cx + r;
      break;
    case 90:
      if (FuzzyCompare(maxY, cy + r, tol) < 0) maxY = cy + r;
      break;
    case 180:
      if (FuzzyCompare(minX, cx - r, tol) > 0) minX = cx - r;
      break;
    default:  // 270
      if (FuzzyCompare(minY, cy - r, tol) > 0) minY = cy - r;
      break;
  }
}

// Clockwise arcs cover s down to s - w; counter-clockwise ones s up to s + w.
bool ClockwiseCovers(double s, double w, double direction, double tol) {
  return FuzzyCompare(s, direction, tol) >= 0 && FuzzyCompare(s - w, direction, tol) <= 0;
}

bool CounterClockwiseCovers(double s, double w, double direction, double tol) {
  return FuzzyCompare(s, direction, tol) <= 0 && FuzzyCompare(s + w, direction, tol) >= 0;
}

}  // namespace

double Distance(TPoint2D a, TPoint2D b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  return std::sqrt(dx * dx + dy * dy);
}

double PolarAngleRadians(double sineRatio, double cosineRatio, double tol) {
  const double alpha = ClampedAsin(sineRatio);
  const double beta = ClampedAcos(cosineRatio);
  if (FuzzyCompare(alpha, 0.0, tol) < 0) {  // below the centre
    return FuzzyCompare(beta, kHalfPi, tol) > 0 ? kPi - alpha : alpha + 2.0 * kPi;
  }
  return FuzzyCompare(beta, kHalfPi, tol) > 0 ? beta : alpha;
}

TPoint2D ArcPoint(const TPolygonArc& arc, double angle) {
  const double a = DegreesToRadians(angle);
  return TPoint2D{std::cos(a) * arc.Radius + arc.Center.X, std::sin(a) * arc.Radius + arc.Center.Y};
}

double AngleOnCircle(TPoint2D p, TPoint2D c, double r, double tol) {
  if (r == 0.0) return 0.0;
  return RadiansToDegrees(PolarAngleRadians((p.Y - c.Y) / r, (p.X - c.X) / r, tol));
}

double AngleAbout(TPoint2D p, TPoint2D c, double tol) {
  return AngleOnCircle(p, c, Distance(c, p), tol);
}

void ArcRadiusFromStart(TPolygonArc& arc) { arc.Radius = Distance(arc.Center, arc.StartPoint); }

void ComputeArcAngles(TPolygonArc& arc, double tol) {
  arc.StartAngle = AngleOnCircle(arc.StartPoint, arc.Center, arc.Radius, tol);
  arc.EndAngle = AngleOnCircle(arc.EndPoint, arc.Center, arc.Radius, tol);
  ComputeSweep(arc, tol);
}

void ComputeSweep(TPolygonArc& arc, double tol) {
  const double s = arc.StartAngle;
  const double e = arc.EndAngle;
  if (IsClockwiseArc(arc)) {
    arc.SweepAngle = FuzzyCompare(s, e, tol) > 0 ? s - e : 360.0 - e + s;
  } else {
    arc.SweepAngle = FuzzyCompare(s, e, tol) < 0 ? e - s : e + 360.0 - s;
  }
}

double AngleTravelled(double a, double b, bool clockwise, double tol) {
  if (clockwise) return FuzzyCompare(b, a, tol) >= 0 ? a + 360.0 - b : a - b;
  return FuzzyCompare(b, a, tol) <= 0 ? b + 360.0 - a : b - a;
}

bool IsAngleOnArc(const TPolygonArc& arc, double start, double end, double angle, double tol) {
  if (IsClockwiseArc(arc)) {
    if (FuzzyCompare(end, start, tol) < 0) {
      return FuzzyCompare(angle, end, tol) >= 0 && FuzzyCompare(angle, start, tol) <= 0;
    }
    return FuzzyCompare(angle, end, tol) >= 0 || FuzzyCompare(angle, start, tol) <= 0;
  }
  if (FuzzyCompare(end, start, tol) > 0) {
    return FuzzyCompare(angle, start, tol) >= 0 && FuzzyCompare(angle, end, tol) <= 0;
  }
  return FuzzyCompare(angle, start, tol) >= 0 || FuzzyCompare(angle, end, tol) <= 0;
}

void ArcBoundingBox(const TPolygonArc& arc, TPoint2D p, TPoint2D q, double tol, double& minX,
                    double& minY, double& maxX, double& maxY) {
  minX = maxX = p.X;
  minY = maxY = p.Y;
  if (FuzzyCompare(minX, q.X, tol) > 0) minX = q.X;
  if (FuzzyCompare(maxX, q.X, tol) < 0) maxX = q.X;
  if (FuzzyCompare(minY, q.Y, tol) > 0) minY = q.Y;
  if (FuzzyCompare(maxY, q.Y, tol) < 0) maxY = q.Y;

  const double s = arc.StartAngle;
  const double w = arc.SweepAngle;
  const double r = std::fabs(arc.Radius);
  const double cx = arc.Center.X;
  const double cy = arc.Center.Y;
  if (IsClockwiseArc(arc)) {
    for (int direction : {0, 90, 180, 270}) {
      if (ClockwiseCovers(s, w, direction, tol)) {
        WidenToDirection(direction, cx, cy, r, tol, minX, minY, maxX, maxY);
      }
    }
    // Below 0 a clockwise arc reaches the directions once more, as negatives.
    for (int direction : {-90, -180, -270}) {
      if (FuzzyCompare(s, 0.0, tol) >= 0 && FuzzyCompare(s - w, direction, tol) <= 0) {
        WidenToDirection(direction + 360, cx, cy, r, tol, minX, minY, maxX, maxY);
      }
    }
  } else {
    for (int direction : {90, 180, 270, 360, 450, 540, 630}) {
      if (CounterClockwiseCovers(s, w, direction, tol)) {
        WidenToDirection(direction % 360, cx, cy, r, tol, minX, minY, maxX, maxY);
      }
    }
  }
}

void ArcLowestPoint(const TPolygonArc& arc, TPoint2D p, TPoint2D q, TPoint2D& point,
                    double& angle, bool& atEndHeight, double tol) {
  point = p;
  angle = arc.StartAngle;
  if (FuzzyCompare(p.Y, q.Y, tol) > 0) point.Y = q.Y;

  const double s = arc.StartAngle;
  const double w = arc.SweepAngle;
  const double r = std::fabs(arc.Radius);
  const bool passesBottom =
      IsClockwiseArc(arc)
          ? ClockwiseCovers(s, w, 270.0, tol) ||
                (FuzzyCompare(s, 0.0, tol) >= 0 && FuzzyCompare(s - w, -90.0, tol) <= 0)
          : CounterClockwiseCovers(s, w, 270.0, tol) || CounterClockwiseCovers(s, w, 630.0, tol);
  if (passesBottom && FuzzyCompare(point.Y, arc.Center.Y - r, tol) >= 0) {
    point = TPoint2D{arc.Center.X, arc.Center.Y - r};
    angle = 270.0;
  }
  atEndHeight = FuzzyCompare(point.Y, q.Y, tol) == 0;
}

double SegmentArea(const TPolygonArc& arc) {
  const double theta = DegreesToRadians(arc.SweepAngle);
  return (theta - std::sin(theta)) * (arc.Radius * arc.Radius) * 0.5;
}

TPoint2D RotatePoint(TPoint2D p, TPoint2D c, double angle) {
  const double a = DegreesToRadians(angle);
  const double ca = std::cos(a);
  const double sa = std::sin(a);
  return TPoint2D{c.X + ca * (p.X - c.X) - sa * (p.Y - c.Y),
                  sa * (p.X - c.X) + c.Y + ca * (p.Y - c.Y)};
}

TPolygonArc MakeArcFromPoints(bool clockwise, TPoint2D center, TPoint2D start, TPoint2D end,
                              double tol, int32_t id) {
  TPolygonArc arc;
  arc.Clockwise = clockwise ? 1 : 0;
  arc.Id = id;
  arc.Center = center;
  arc.StartPoint = start;
  arc.EndPoint = end;
  ArcRadiusFromStart(arc);
  ComputeArcAngles(arc, tol);
  return arc;
}

TPolygonArc MakeArcFromAngles(bool clockwise, TPoint2D center, double radius, double startAngle,
                              double endAngle, int32_t id) {
  TPolygonArc arc;
  arc.Clockwise = clockwise ? 1 : 0;
  arc.Id = id;
  arc.Center = center;
  arc.Radius = radius;
  arc.StartAngle = startAngle;
  arc.EndAngle = endAngle;
  arc.StartPoint = ArcPoint(arc, startAngle);
  arc.EndPoint = ArcPoint(arc, endAngle);
  return arc;
}

TPolygonArc MakeArcToPoint(bool clockwise, TPoint2D center, double radius, double startAngle,
                           TPoint2D end, double tol, int32_t id) {
  TPolygonArc arc;
  arc.Clockwise = clockwise ? 1 : 0;
  arc.Id = id;
  arc.Center = center;
  arc.Radius = radius;
  arc.StartAngle = startAngle;
  arc.StartPoint = ArcPoint(arc, startAngle);
  arc.EndPoint = end;
  arc.EndAngle = AngleAbout(end, center, tol);
  return arc;
}

TPolygonArc MakeArcFromPoint(bool clockwise, TPoint2D center, double radius, TPoint2D start,
                             double endAngle, double tol, int32_t id) {
  TPolygonArc arc;
  arc.Clockwise = clockwise ? 1 : 0;
  arc.Id = id;
  arc.Center = center;
  arc.Radius = radius;
  arc.StartPoint = start;
  arc.StartAngle = AngleAbout(start, center, tol);
  arc.EndAngle = endAngle;
  arc.EndPoint = ArcPoint(arc, endAngle);
  return arc;
}

}  // namespace varnest
