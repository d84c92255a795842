#pragma once
// Building outlines for the grid tests and benchmarks: straight and arc
// edges, the exact box (arcs included) and the move into the frame that the
// rasteriser expects (box starting at the origin). Written here so the grid
// tests do not depend on the kernel's own box and translation operations.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <vector>

#include "varnest/geometry/circle.h"
#include "varnest/geometry/polygon.h"
#include "varnest/model/hole.h"

namespace varnest::testing {

inline TPolygon MakePolygon(const std::vector<TPoint2D>& points) {
  TPolygon polygon(static_cast<int32_t>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) {
    polygon.FVertices[i] = TPolygonVertex{static_cast<int32_t>(i), points[i].X, points[i].Y};
  }
  return polygon;
}

// Makes edge `edge` an arc about `center`; the radius is taken from the start
// vertex, as the engine does.
inline void SetArc(TPolygon& polygon, size_t edge, TPoint2D center, bool clockwise) {
  const size_t n = polygon.FVertices.size();
  TPolygonArc& arc = polygon.FArcs[edge];
  arc.IsArc = 1;
  arc.Clockwise = clockwise ? 1 : 0;
  arc.Center = center;
  arc.StartPoint = PointOf(polygon.FVertices[edge]);
  arc.EndPoint = PointOf(polygon.FVertices[(edge + 1) % n]);
  arc.Radius = std::hypot(arc.StartPoint.X - center.X, arc.StartPoint.Y - center.Y);
}

// Counter-clockwise start angle and sweep (radians, sweep in (0, 2 pi]) of an
// arc edge, whatever its stored direction.
inline void ArcSpan(const TPolygonArc& arc, double& start, double& sweep) {
  constexpr double kTwoPi = 2 * std::numbers::pi;
  const double a = std::atan2(arc.StartPoint.Y - arc.Center.Y, arc.StartPoint.X - arc.Center.X);
  const double b = std::atan2(arc.EndPoint.Y - arc.Center.Y, arc.EndPoint.X - arc.Center.X);
  start = arc.Clockwise != 0 ? b : a;
  const double end = arc.Clockwise != 0 ? a : b;
  sweep = std::fmod(end - start + 2 * kTwoPi, kTwoPi);
  if (sweep <= 0.0) sweep = kTwoPi;
}

// True when the polar angle `angle` lies on the counter-clockwise span.
inline bool AngleOnSpan(double angle, double start, double sweep) {
  constexpr double kTwoPi = 2 * std::numbers::pi;
  const double offset = std::fmod(angle - start + 4 * kTwoPi, kTwoPi);
  return offset <= sweep;
}

// The exact box: vertices, and the axis points of every arc that passes them.
inline void FitBox(TPolygon& polygon) {
  if (polygon.FVertices.empty()) return;
  double minX = polygon.FVertices[0].X, maxX = minX;
  double minY = polygon.FVertices[0].Y, maxY = minY;
  auto take = [&](double x, double y) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  };
  for (const TPolygonVertex& v : polygon.FVertices) take(v.X, v.Y);
  for (const TPolygonArc& arc : polygon.FArcs) {
    if (arc.IsArc == 0) continue;
    double start = 0, sweep = 0;
    ArcSpan(arc, start, sweep);
    for (int q = 0; q < 4; ++q) {
      const double angle = q * std::numbers::pi / 2;
      if (!AngleOnSpan(angle, start, sweep)) continue;
      take(arc.Center.X + arc.Radius * std::cos(angle), arc.Center.Y + arc.Radius * std::sin(angle));
    }
  }
  polygon.FMinX = minX;
  polygon.FMinY = minY;
  polygon.FMaxX = maxX;
  polygon.FMaxY = maxY;
  polygon.FWidth = maxX - minX;
  polygon.FHeight = maxY - minY;
}

inline void FitBox(TCircle& circle) {
  circle.FMinX = circle.FCenter.X - circle.FRadius;
  circle.FMinY = circle.FCenter.Y - circle.FRadius;
  circle.FMaxX = circle.FCenter.X + circle.FRadius;
  circle.FMaxY = circle.FCenter.Y + circle.FRadius;
  circle.FWidth = circle.FMaxX - circle.FMinX;
  circle.FHeight = circle.FMaxY - circle.FMinY;
}

inline void Translate(TPolygon& polygon, double dx, double dy) {
  for (TPolygonVertex& v : polygon.FVertices) {
    v.X += dx;
    v.Y += dy;
  }
  for (TPolygonArc& arc : polygon.FArcs) {
    arc.Center.X += dx;
    arc.Center.Y += dy;
    arc.StartPoint.X += dx;
    arc.StartPoint.Y += dy;
    arc.EndPoint.X += dx;
    arc.EndPoint.Y += dy;
  }
}

inline TTrueHole CircleHole(TPoint2D center, double radius, bool usable) {
  TTrueHole hole;
  hole.FUsable = usable ? 1 : 0;
  hole.FShape.FShapeType = 1;
  hole.FShape.FCircle.emplace(center, radius);
  FitBox(*hole.FShape.FCircle);
  return hole;
}

inline TTrueHole PolygonHole(const TPolygon& polygon, bool usable) {
  TTrueHole hole;
  hole.FUsable = usable ? 1 : 0;
  hole.FShape.FShapeType = 0;
  hole.FShape.FPolygon = polygon;
  return hole;
}

inline void TranslateHole(TTrueHole& hole, double dx, double dy) {
  if (hole.FShape.FShapeType == 0) {
    if (hole.FShape.FPolygon) {
      Translate(*hole.FShape.FPolygon, dx, dy);
      FitBox(*hole.FShape.FPolygon);
    }
  } else if (hole.FShape.FCircle) {
    hole.FShape.FCircle->FCenter.X += dx;
    hole.FShape.FCircle->FCenter.Y += dy;
    FitBox(*hole.FShape.FCircle);
  }
}

// Fits the box and moves the outline and its holes so the box starts at the
// origin.
inline void MoveIntoFrame(TPolygon& outline, std::vector<TTrueHole>& holes) {
  FitBox(outline);
  const double dx = -outline.FMinX;
  const double dy = -outline.FMinY;
  Translate(outline, dx, dy);
  FitBox(outline);
  for (TTrueHole& hole : holes) TranslateHole(hole, dx, dy);
}

// A circle of radius r centred at (r, r), as preparation leaves it.
inline TCircle FramedCircle(double r) {
  TCircle circle(TPoint2D{r, r}, r);
  FitBox(circle);
  return circle;
}

// The demonstration problem's shapes, moved into their frames.
struct TDemoShapes {
  TPolygon Stock;
  std::vector<TTrueHole> StockDefects;
  TPolygon A, B, C;
  std::vector<TTrueHole> HolesOfB;
  TCircle Circle;
};

inline TDemoShapes DemoShapes() {
  TDemoShapes s;
  s.Stock = MakePolygon({{10, 30}, {200, 10}, {290, 100}, {250, 200}, {10, 290}, {100, 100}});
  SetArc(s.Stock, 2, {270, 150}, true);
  SetArc(s.Stock, 5, {55, 65}, false);
  s.StockDefects = {CircleHole({160, 100}, 20, false), CircleHole({110, 200}, 20, false)};
  MoveIntoFrame(s.Stock, s.StockDefects);

  std::vector<TTrueHole> none;
  s.A = MakePolygon({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}});
  MoveIntoFrame(s.A, none);

  s.B = MakePolygon({{20, 0}, {60, 40}, {20, 80}, {0, 40}});
  SetArc(s.B, 1, {40, 60}, false);
  TPolygon hole = MakePolygon({{30, 30}, {50, 40}, {20, 60}, {10, 40}});
  SetArc(hole, 0, {40, 35}, false);
  FitBox(hole);
  s.HolesOfB = {PolygonHole(hole, true)};
  MoveIntoFrame(s.B, s.HolesOfB);

  s.C = MakePolygon({{10, 0}, {20, 10}, {10, 20}, {0, 20}, {0, 10}, {10, 10}});
  MoveIntoFrame(s.C, none);

  s.Circle = FramedCircle(10);
  return s;
}

}  // namespace varnest::testing
