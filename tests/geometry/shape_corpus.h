#pragma once
// Named shapes and independent measuring tools shared by the geometry and
// model tests. The tools sample outlines densely into polylines, so that
// areas, boxes, containment, distances and self-crossings are checked without
// the formulas under test.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <vector>

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/polygon.h"

namespace varnest::corpus {

inline constexpr double kPrecision = 1e-6;

struct XY {
  double x, y;
};

inline TPolygon MakePolygon(std::initializer_list<XY> points) {
  TPolygon polygon(static_cast<int32_t>(points.size()));
  size_t i = 0;
  for (const XY& p : points) {
    polygon.FVertices[i] = TPolygonVertex{0, p.x, p.y};
    ++i;
  }
  return polygon;
}

inline TPolygon MakePolygonFrom(const std::vector<TPoint2D>& points) {
  TPolygon polygon(static_cast<int32_t>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) {
    polygon.FVertices[i] = TPolygonVertex{0, points[i].X, points[i].Y};
  }
  return polygon;
}

// Makes edge i an arc about center, as the definition calls do.
inline void SetArc(TPolygon& polygon, size_t edge, XY center, bool clockwise) {
  polygon.FArcs[edge].IsArc = 1;
  polygon.FArcs[edge].Center = TPoint2D{center.x, center.y};
  polygon.FArcs[edge].Clockwise = clockwise ? 1 : 0;
}

// What the input check derives: arc data, box, area.
inline TPolygon Measured(TPolygon polygon, double precision = kPrecision) {
  polygon.CompleteArcs(precision);
  polygon.ComputeBoundingBox(precision);
  polygon.ComputeArea();
  return polygon;
}

inline TPolygon UnitSquare() { return Measured(MakePolygon({{0, 0}, {1, 0}, {1, 1}, {0, 1}})); }
inline TPolygon Square10() { return Measured(MakePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}})); }
inline TPolygon LShape() {
  return Measured(MakePolygon({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}}));
}
// The demo's three polygon parts (part B with its arc edge).
inline TPolygon DemoA() { return LShape(); }
inline TPolygon DemoB() {
  TPolygon p = MakePolygon({{20, 0}, {60, 40}, {20, 80}, {0, 40}});
  SetArc(p, 1, {40, 60}, false);
  return Measured(p);
}
inline TPolygon DemoC() {
  return Measured(MakePolygon({{10, 0}, {20, 10}, {10, 20}, {0, 20}, {0, 10}, {10, 10}}));
}
// A comb: teeth of width 4 separated by notches of width `gap`, depth 10.
inline TPolygon Comb(int teeth, double gap) {
  std::vector<TPoint2D> points;
  const double pitch = 4.0 + gap;
  const double width = teeth * 4.0 + (teeth - 1) * gap;
  points.push_back({0, 0});
  points.push_back({width, 0});
  for (int t = teeth - 1; t >= 0; --t) {
    const double left = t * pitch;
    points.push_back({left + 4.0, 15});
    points.push_back({left, 15});
    if (t > 0) {
      points.push_back({left, 5});
      points.push_back({left - gap, 5});
    }
  }
  return Measured(MakePolygonFrom(points));
}
// The square with its right edge a counter-clockwise half circle (a "D").
inline TPolygon DShape() {
  TPolygon p = MakePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  SetArc(p, 1, {10, 5}, false);
  return Measured(p);
}

// A w x h rectangle with its corners rounded to radius r (r < min(w, h) / 2).
inline TPolygon RoundedRectangle(double w, double h, double r) {
  TPolygon p =
      MakePolygon({{r, 0}, {w - r, 0}, {w, r}, {w, h - r}, {w - r, h}, {r, h}, {0, h - r}, {0, r}});
  SetArc(p, 1, {w - r, r}, false);
  SetArc(p, 3, {w - r, h - r}, false);
  SetArc(p, 5, {r, h - r}, false);
  SetArc(p, 7, {r, r}, false);
  return Measured(p);
}

// The lower half of the disc of radius r about (r, 0): one arc and its chord.
inline TPolygon HalfDisc(double r) {
  TPolygon p = MakePolygon({{0, 0}, {2 * r, 0}});
  SetArc(p, 0, {r, 0}, false);
  return Measured(p);
}

// Edge 0 of a w x h rectangle bent into an arc of the given sweep (degrees,
// below 180): bulging out of the rectangle, or into it when dented.
inline TPolygon BentRectangle(double w, double h, double sweep, bool dented) {
  TPolygon p = MakePolygon({{0, 0}, {w, 0}, {w, h}, {0, h}});
  const double half = sweep * kPi / 360.0;
  const double offset = (w / 2) / std::tan(half);  // centre to chord
  SetArc(p, 0, {w / 2, dented ? -offset : offset}, dented);
  return Measured(p);
}

// A disc of radius r about the origin with a notch cut out of it: one arc of
// 360 - gap degrees and two straight edges to the point at the given depth
// below the rim (depth r: to the centre; 0: the chord).
inline TPolygon NotchedDisc(double r, double gap, double depth) {
  const double a = gap / 2 * kPi / 180.0;
  const TPoint2D start{r * std::cos(a), r * std::sin(a)};
  const TPoint2D end{r * std::cos(a), -r * std::sin(a)};
  TPolygon p =
      depth > 0 ? MakePolygonFrom({start, end, {r - depth, 0}}) : MakePolygonFrom({start, end});
  SetArc(p, 0, {0, 0}, false);
  return Measured(p);
}

// A 200-vertex outline whose every second edge is an arc: a rounded star.
inline TPolygon ArcRichOutline(int vertices = 200) {
  std::vector<TPoint2D> points;
  for (int i = 0; i < vertices; ++i) {
    const double angle = 2.0 * kPi * i / vertices;
    const double radius = (i % 4 < 2) ? 50.0 : 42.0;
    points.push_back({radius * std::cos(angle), radius * std::sin(angle)});
  }
  TPolygon p = MakePolygonFrom(points);
  for (int i = 0; i < vertices; i += 2) {
    const TPoint2D a = points[static_cast<size_t>(i)];
    const TPoint2D b = points[static_cast<size_t>((i + 1) % vertices)];
    // Centre on the inner side of the chord: the arc bulges outwards.
    const TPoint2D mid{(a.X + b.X) / 2, (a.Y + b.Y) / 2};
    SetArc(p, static_cast<size_t>(i), {mid.X * 0.2, mid.Y * 0.2}, false);
  }
  return Measured(p);
}

// A random convex polygon: sorted angles on an ellipse.
inline TPolygon RandomConvexPolygon(std::mt19937& rng, int vertices) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<double> angles;
  for (int i = 0; i < vertices; ++i) angles.push_back(unit(rng) * 2.0 * kPi);
  std::sort(angles.begin(), angles.end());
  const double rx = 5.0 + 50.0 * unit(rng);
  const double ry = 5.0 + 50.0 * unit(rng);
  const double cx = -20.0 + 40.0 * unit(rng);
  const double cy = -20.0 + 40.0 * unit(rng);
  std::vector<TPoint2D> points;
  for (double a : angles) {
    const TPoint2D p{cx + rx * std::cos(a), cy + ry * std::sin(a)};
    if (!points.empty() && std::hypot(p.X - points.back().X, p.Y - points.back().Y) < 0.5) continue;
    points.push_back(p);
  }
  return MakePolygonFrom(points);
}

// A random convex shape with arc edges: a polygon inscribed in a circle,
// some of its edges replaced by arcs no more curved than the circle itself.
inline TPolygon RandomConvexArcShape(std::mt19937& rng, int vertices) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double r = 10.0 + 40.0 * unit(rng);
  const TPoint2D c{-30.0 + 60.0 * unit(rng), -30.0 + 60.0 * unit(rng)};
  std::vector<double> angles;
  for (int i = 0; i < vertices; ++i) angles.push_back(unit(rng) * 2.0 * kPi);
  std::sort(angles.begin(), angles.end());
  std::vector<TPoint2D> points;
  for (double a : angles) {
    const TPoint2D p{c.X + r * std::cos(a), c.Y + r * std::sin(a)};
    if (!points.empty() && std::hypot(p.X - points.back().X, p.Y - points.back().Y) < 1.0) continue;
    points.push_back(p);
  }
  if (points.size() >= 2 &&
      std::hypot(points.front().X - points.back().X, points.front().Y - points.back().Y) < 1.0) {
    points.pop_back();
  }
  TPolygon polygon = MakePolygonFrom(points);
  for (size_t i = 0; i < points.size(); ++i) {
    if (unit(rng) < 0.5) continue;
    const TPoint2D a = points[i];
    const TPoint2D b = points[(i + 1) % points.size()];
    // The chord must leave the centre on its left (an edge of less than half
    // the circle), otherwise the arc through the far side bends the wrong way.
    const double cross = (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
    if (cross <= 1.0) continue;
    // A centre between the circle's centre and beyond it: radius >= r.
    const TPoint2D mid{(a.X + b.X) / 2, (a.Y + b.Y) / 2};
    const double s = -3.0 * unit(rng);
    SetArc(polygon, i, {c.X + s * (mid.X - c.X), c.Y + s * (mid.Y - c.Y)}, false);
  }
  polygon = Measured(polygon);
  // Offsetting replaces arcs of less than a degree by straight pieces (within
  // its length tolerance), for which Steiner's formula holds only within that
  // tolerance; the corpus keeps clear of them.
  bool straightened = false;
  for (TPolygonArc& arc : polygon.FArcs) {
    if (arc.IsArc != 0 && arc.SweepAngle < 2.0) {
      arc.IsArc = 0;
      straightened = true;
    }
  }
  return straightened ? Measured(polygon) : polygon;
}

// Random points seen from the origin in angular order, 10 to 50 from it.
inline std::vector<TPoint2D> RandomStarPoints(std::mt19937& rng, int vertices) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<TPoint2D> points;
  for (int k = 0; k < vertices; ++k) {
    const double a = 2.0 * kPi * (k + 0.8 * unit(rng)) / vertices;
    const double r = 10.0 + 40.0 * unit(rng);
    points.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return points;
}

// A random star-shaped outline (every vertex seen from the origin in angular
// order) with some edges bent into short arcs either way; not necessarily
// simple once bent, so callers skip the self-crossing ones.
inline TPolygon RandomStarShape(std::mt19937& rng, int vertices) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const std::vector<TPoint2D> points = RandomStarPoints(rng, vertices);
  TPolygon polygon = MakePolygonFrom(points);
  for (size_t k = 0; k < points.size(); ++k) {
    if (unit(rng) >= 0.3) continue;
    const TPoint2D a = points[k];
    const TPoint2D b = points[(k + 1) % points.size()];
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double length = std::hypot(dx, dy);
    // The centre 0.6 to 3 lengths off the chord: bulges of up to 0.18 length.
    const double off = (unit(rng) < 0.5 ? -1.0 : 1.0) * (0.6 + 2.4 * unit(rng)) * length;
    // A centre on the left makes the short arc counter-clockwise (bulging
    // out), one on the right clockwise (bulging in).
    SetArc(polygon, k, {(a.X + b.X) / 2 - dy / length * off, (a.Y + b.Y) / 2 + dx / length * off},
           off < 0);
  }
  return Measured(polygon);
}

// A random star-shaped outline whose edges are bent, half of them, into arcs
// of every sweep from a thousandth of a degree to 120 degrees, either way;
// not necessarily simple, so callers skip the self-crossing ones.
inline TPolygon RandomArcShape(std::mt19937& rng, int vertices) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const std::vector<TPoint2D> points = RandomStarPoints(rng, vertices);
  TPolygon polygon = MakePolygonFrom(points);
  for (size_t k = 0; k < points.size(); ++k) {
    if (unit(rng) < 0.5) continue;
    // A third of the arcs turn by 0.001 to 2 degrees, the rest up to 120.
    const double sweep =
        unit(rng) < 1.0 / 3.0 ? std::pow(10.0, -3.0 + 3.3 * unit(rng)) : 2.0 + 118.0 * unit(rng);
    const bool dented = unit(rng) < 0.5;
    const TPoint2D a = points[k];
    const TPoint2D b = points[(k + 1) % points.size()];
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double length = std::hypot(dx, dy);
    // From the chord's middle to the centre, on the left for an arc that
    // bulges out (counter-clockwise), on the right for a dent.
    const double off = (length / 2) / std::tan(sweep * kPi / 360.0) * (dented ? -1.0 : 1.0);
    SetArc(polygon, k, {(a.X + b.X) / 2 - dy / length * off, (a.Y + b.Y) / 2 + dx / length * off},
           dented);
  }
  return Measured(polygon);
}

// --- Independent measurements -------------------------------------------------

// The boundary as a closed polyline: straight edges as they are, arcs cut
// into pieces of at most `step` degrees, walked from their angles.
inline std::vector<TPoint2D> Sample(const TPolygon& polygon, double step = 0.5) {
  std::vector<TPoint2D> points;
  const size_t n = polygon.FVertices.size();
  for (size_t i = 0; i < n; ++i) {
    points.push_back(PointOf(polygon.FVertices[i]));
    const TPolygonArc& arc = polygon.FArcs[i];
    if (arc.IsArc == 0) continue;
    const int pieces = std::max(2, static_cast<int>(std::ceil(arc.SweepAngle / step)));
    const double direction = IsClockwiseArc(arc) ? -1.0 : 1.0;
    for (int k = 1; k < pieces; ++k) {
      points.push_back(ArcPoint(arc, arc.StartAngle + direction * arc.SweepAngle * k / pieces));
    }
  }
  return points;
}

inline double PolylineArea(const std::vector<TPoint2D>& points) {
  double sum = 0.0;
  for (size_t i = 0; i < points.size(); ++i) {
    const TPoint2D a = points[i];
    const TPoint2D b = points[(i + 1) % points.size()];
    sum += a.X * b.Y - b.X * a.Y;
  }
  return sum / 2.0;
}

inline double PolylineLength(const std::vector<TPoint2D>& points) {
  double sum = 0.0;
  for (size_t i = 0; i < points.size(); ++i) {
    const TPoint2D a = points[i];
    const TPoint2D b = points[(i + 1) % points.size()];
    sum += std::hypot(b.X - a.X, b.Y - a.Y);
  }
  return sum;
}

// The exact perimeter: chords and arc lengths.
inline double Perimeter(const TPolygon& polygon) {
  double sum = 0.0;
  const size_t n = polygon.FVertices.size();
  for (size_t i = 0; i < n; ++i) {
    const TPolygonArc& arc = polygon.FArcs[i];
    if (arc.IsArc != 0) {
      sum += std::fabs(arc.Radius) * DegreesToRadians(arc.SweepAngle);
    } else {
      const TPolygonVertex& a = polygon.FVertices[i];
      const TPolygonVertex& b = polygon.FVertices[(i + 1) % n];
      sum += std::hypot(b.X - a.X, b.Y - a.Y);
    }
  }
  return sum;
}

inline bool InsidePolyline(const std::vector<TPoint2D>& points, TPoint2D p) {
  bool inside = false;
  for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
    const TPoint2D a = points[i];
    const TPoint2D b = points[j];
    if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < (b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y) + a.X) {
      inside = !inside;
    }
  }
  return inside;
}

inline double DistanceToSegment(TPoint2D p, TPoint2D a, TPoint2D b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  const double squared = dx * dx + dy * dy;
  double t = squared > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / squared : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

inline double DistanceToPolyline(const std::vector<TPoint2D>& points, TPoint2D p) {
  double best = 1e300;
  for (size_t i = 0; i < points.size(); ++i) {
    best = std::min(best, DistanceToSegment(p, points[i], points[(i + 1) % points.size()]));
  }
  return best;
}

// The exact distance from p to the outline: chords, and arcs by their
// angular span (atan2 here, not the kernel's angle rule).
inline double DistanceToOutline(const TPolygon& outline, TPoint2D p) {
  double best = 1e300;
  const size_t n = outline.FVertices.size();
  for (size_t i = 0; i < n; ++i) {
    const TPoint2D a = PointOf(outline.FVertices[i]);
    const TPoint2D b = PointOf(outline.FVertices[(i + 1) % n]);
    const TPolygonArc& arc = outline.FArcs[i];
    if (arc.IsArc == 0) {
      best = std::min(best, DistanceToSegment(p, a, b));
      continue;
    }
    double theta = RadiansToDegrees(std::atan2(p.Y - arc.Center.Y, p.X - arc.Center.X));
    double fromStart = IsClockwiseArc(arc) ? arc.StartAngle - theta : theta - arc.StartAngle;
    fromStart = std::fmod(std::fmod(fromStart, 360.0) + 360.0, 360.0);
    if (fromStart <= arc.SweepAngle) {
      best = std::min(best, std::fabs(std::hypot(p.X - arc.Center.X, p.Y - arc.Center.Y) -
                                      std::fabs(arc.Radius)));
    } else {
      const TPoint2D s = ArcPoint(arc, arc.StartAngle);
      const TPoint2D e = ArcPoint(arc, arc.EndAngle);
      best = std::min({best, std::hypot(p.X - s.X, p.Y - s.Y), std::hypot(p.X - e.X, p.Y - e.Y)});
    }
  }
  return best;
}

// Proper crossings between non-neighbouring pieces of a closed polyline.
inline bool SelfCrosses(const std::vector<TPoint2D>& points) {
  auto orient = [](TPoint2D a, TPoint2D b, TPoint2D c) {
    return (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
  };
  const size_t n = points.size();
  for (size_t i = 0; i < n; ++i) {
    const TPoint2D a = points[i];
    const TPoint2D b = points[(i + 1) % n];
    for (size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;
      const TPoint2D c = points[j];
      const TPoint2D d = points[(j + 1) % n];
      const double o1 = orient(a, b, c), o2 = orient(a, b, d);
      const double o3 = orient(c, d, a), o4 = orient(c, d, b);
      const double eps = 1e-9;
      if (((o1 > eps && o2 < -eps) || (o1 < -eps && o2 > eps)) &&
          ((o3 > eps && o4 < -eps) || (o3 < -eps && o4 > eps))) {
        return true;
      }
    }
  }
  return false;
}

struct TSampledBox {
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
};

inline TSampledBox BoxOf(const std::vector<TPoint2D>& points) {
  TSampledBox box;
  for (const TPoint2D& p : points) {
    box.minX = std::min(box.minX, p.X);
    box.maxX = std::max(box.maxX, p.X);
    box.minY = std::min(box.minY, p.Y);
    box.maxY = std::max(box.maxY, p.Y);
  }
  return box;
}

}  // namespace varnest::corpus
