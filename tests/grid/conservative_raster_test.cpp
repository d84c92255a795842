// The property that keeps layouts free of overlaps: for every strip of a grid,
// the intervals, taken back to outline units, cover what the shape occupies
// inside the strip's band (part grids) or what is blocked there (stock
// grids), and exceed it by no more than the rounding of the scaled units.
//
// The oracle is computed independently of the rasteriser, from the exact
// geometry: the projection onto x of the shape inside the open band is the x
// range of every boundary piece inside the band (edges and arcs clipped
// analytically, arcs cut at their quadrant points) together with the
// cross-section at mid-band (a vertical segment through the shape that meets
// no boundary inside the band runs through the whole band). Touching the
// band's lines alone does not count, as a horizontal edge lying on a line
// belongs to neither neighbour.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures/settings.h"
#include "tests/grid/shape_builder.h"
#include "varnest/grid/rasterise.h"

namespace varnest {
namespace {

using testing::AngleOnSpan;
using testing::ArcSpan;
using testing::FitBox;

constexpr double kPrecision = 1e-6;
constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * kPi;

// ----- Exact geometry of the generated shapes ---------------------------------

struct TEdge {
  TPoint2D a, b;
  bool arc = false;
  TPoint2D c;
  double r = 0;
  double start = 0, sweep = 0;  // counter-clockwise span of an arc, radians
  bool clockwise = false;       // travelled from a to b against the span
};

using TLoop = std::vector<TEdge>;

TLoop LoopOf(const TPolygon& polygon) {
  TLoop loop;
  const size_t n = polygon.FVertices.size();
  for (size_t i = 0; i < n; ++i) {
    TEdge e;
    e.a = PointOf(polygon.FVertices[i]);
    e.b = PointOf(polygon.FVertices[(i + 1) % n]);
    const TPolygonArc& arc = polygon.FArcs[i];
    if (arc.IsArc != 0) {
      e.arc = true;
      e.c = arc.Center;
      e.r = std::hypot(e.a.X - e.c.X, e.a.Y - e.c.Y);
      e.clockwise = arc.Clockwise != 0;
      TPolygonArc span = arc;
      span.StartPoint = e.a;
      span.EndPoint = e.b;
      ArcSpan(span, e.start, e.sweep);
    }
    loop.push_back(e);
  }
  return loop;
}

TLoop LoopOf(const TCircle& circle) {
  TEdge e;
  e.arc = true;
  e.c = circle.FCenter;
  e.r = circle.FRadius;
  e.a = e.b = {e.c.X + e.r, e.c.Y};
  e.start = 0;
  e.sweep = kTwoPi;
  return {e};
}

TLoop LoopOf(const TTrueHole& hole) {
  return hole.FShape.FShapeType == 0 ? LoopOf(*hole.FShape.FPolygon) : LoopOf(*hole.FShape.FCircle);
}

struct TRange {
  double lo, hi;
};

// The arc's angle intervals cut at every quadrant point, so that x and y are
// monotone on each.
std::vector<TRange> QuadrantPieces(const TEdge& e) {
  std::vector<TRange> pieces;
  double from = e.start;
  const double end = e.start + e.sweep;
  double next = (std::floor(from / (kPi / 2)) + 1) * (kPi / 2);
  while (next < end) {
    pieces.push_back({from, next});
    from = next;
    next += kPi / 2;
  }
  pieces.push_back({from, end});
  return pieces;
}

// x ranges of the parts of an edge strictly inside the band (lo, hi), closed.
// An arc may pass through the band more than once: one range per quadrant.
void ClipToBand(const TEdge& e, double lo, double hi, std::vector<TRange>& ranges) {
  if (!e.arc) {
    if (e.a.Y == e.b.Y) {
      if (e.a.Y > lo && e.a.Y < hi)
        ranges.push_back({std::min(e.a.X, e.b.X), std::max(e.a.X, e.b.X)});
      return;
    }
    const double u = std::max(lo, std::min(e.a.Y, e.b.Y));
    const double v = std::min(hi, std::max(e.a.Y, e.b.Y));
    if (!(u < v)) return;
    auto xAt = [&](double y) { return e.a.X + (e.b.X - e.a.X) * (y - e.a.Y) / (e.b.Y - e.a.Y); };
    ranges.push_back({std::min(xAt(u), xAt(v)), std::max(xAt(u), xAt(v))});
    return;
  }
  for (const TRange& piece : QuadrantPieces(e)) {
    const double y0 = e.c.Y + e.r * std::sin(piece.lo);
    const double y1 = e.c.Y + e.r * std::sin(piece.hi);
    const double u = std::max(lo, std::min(y0, y1));
    const double v = std::min(hi, std::max(y0, y1));
    if (!(u < v)) continue;
    const double side = std::cos(0.5 * (piece.lo + piece.hi)) >= 0 ? 1.0 : -1.0;
    auto xAt = [&](double y) {
      const double dy = y - e.c.Y;
      return e.c.X + side * std::sqrt(std::max(0.0, e.r * e.r - dy * dy));
    };
    ranges.push_back({std::min(xAt(u), xAt(v)), std::max(xAt(u), xAt(v))});
  }
}

// Where the loops meet the horizontal line y; pairs of them bound the inside.
void CrossingsAt(const TLoop& loop, double y, std::vector<double>& xs) {
  for (const TEdge& e : loop) {
    if (!e.arc) {
      if ((e.a.Y < y) != (e.b.Y < y)) {
        xs.push_back(e.a.X + (e.b.X - e.a.X) * (y - e.a.Y) / (e.b.Y - e.a.Y));
      }
      continue;
    }
    const double s = (y - e.c.Y) / e.r;
    if (!(std::fabs(s) < 1)) continue;
    const double t1 = std::asin(s);
    for (double t : {t1, kPi - t1}) {
      if (AngleOnSpan(t, e.start, e.sweep)) xs.push_back(e.c.X + e.r * std::cos(t));
    }
  }
}

std::vector<TRange> InsideAt(const std::vector<TLoop>& loops, double y) {
  std::vector<double> xs;
  for (const TLoop& loop : loops) CrossingsAt(loop, y, xs);
  std::sort(xs.begin(), xs.end());
  std::vector<TRange> inside;
  for (size_t k = 0; k + 1 < xs.size(); k += 2) inside.push_back({xs[k], xs[k + 1]});
  return inside;
}

std::vector<TRange> Merge(std::vector<TRange> ranges) {
  std::sort(ranges.begin(), ranges.end(),
            [](const TRange& a, const TRange& b) { return a.lo < b.lo; });
  std::vector<TRange> merged;
  for (const TRange& r : ranges) {
    if (!merged.empty() && r.lo <= merged.back().hi) {
      merged.back().hi = std::max(merged.back().hi, r.hi);
    } else {
      merged.push_back(r);
    }
  }
  return merged;
}

struct TShape {
  std::string family;
  std::optional<TPolygon> polygon;
  std::optional<TCircle> circle;
  std::vector<TTrueHole> holes;
  double width = 0, height = 0;
};

// What a part occupies inside the band: its outline minus its usable holes.
std::vector<TRange> PartOracle(const TShape& shape, const TLoop& outline, double lo, double hi) {
  std::vector<TLoop> material{outline};
  for (const TTrueHole& hole : shape.holes) {
    if (hole.FUsable != 0) material.push_back(LoopOf(hole));
  }
  std::vector<TRange> ranges = InsideAt(material, 0.5 * (lo + hi));
  for (const TLoop& loop : material) {
    for (const TEdge& e : loop) ClipToBand(e, lo, hi, ranges);
  }
  return Merge(ranges);
}

// What a stock blocks inside the band: within its box, everything but the
// inside of the outline minus every hole.
std::vector<TRange> StockOracle(const TShape& shape, const TLoop& outline, double lo, double hi) {
  const double w = shape.width;
  const double h = shape.height;
  if (h > lo + 1e-9 && h < hi - 1e-9) return {{0, w}};  // the top of the box lies in the band
  std::vector<TLoop> all{outline};
  for (const TTrueHole& hole : shape.holes) all.push_back(LoopOf(hole));
  std::vector<TRange> ranges{{0, 0}, {w, w}};
  double from = 0;
  for (const TRange& free : InsideAt(all, 0.5 * (lo + hi))) {
    ranges.push_back({from, free.lo});
    from = free.hi;
  }
  ranges.push_back({from, w});
  for (const TLoop& loop : all) {
    for (const TEdge& e : loop) ClipToBand(e, lo, hi, ranges);
  }
  return Merge(ranges);
}

// True when the ranges, each widened by tol on both sides, cover [a, b].
bool Covered(double a, double b, const std::vector<TRange>& ranges, double tol) {
  double reached = a;
  for (const TRange& r : ranges) {
    if (r.lo - tol > reached) break;
    reached = std::max(reached, r.hi + tol);
    if (reached >= b) return true;
  }
  return reached >= b;
}

// ----- Generated shapes -------------------------------------------------------

using TRng = std::mt19937;

double Uniform(TRng& rng, double lo, double hi) {
  return std::uniform_real_distribution<double>(lo, hi)(rng);
}

// Polyline through the loop, for the simplicity and containment checks only.
std::vector<TPoint2D> Sample(const TLoop& loop) {
  std::vector<TPoint2D> points;
  for (const TEdge& e : loop) {
    if (!e.arc) {
      points.push_back(e.a);
      continue;
    }
    const int steps = std::max(6, static_cast<int>(e.sweep / (kPi / 36)));
    for (int k = 0; k < steps; ++k) {
      const double f = static_cast<double>(k) / steps;
      const double t = e.clockwise ? e.start + e.sweep * (1 - f) : e.start + e.sweep * f;
      points.push_back({e.c.X + e.r * std::cos(t), e.c.Y + e.r * std::sin(t)});
    }
  }
  return points;
}

double Cross(TPoint2D o, TPoint2D a, TPoint2D b) {
  return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X);
}

bool SegmentsCross(TPoint2D a, TPoint2D b, TPoint2D c, TPoint2D d) {
  const double d1 = Cross(c, d, a), d2 = Cross(c, d, b);
  const double d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0));
}

bool IsSimple(const std::vector<TPoint2D>& p) {
  const size_t n = p.size();
  for (size_t i = 0; i < n; ++i) {
    for (size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;
      if (SegmentsCross(p[i], p[(i + 1) % n], p[j], p[(j + 1) % n])) return false;
    }
  }
  return true;
}

double SegmentDistance(TPoint2D p, TPoint2D a, TPoint2D b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

double DistanceToPolyline(TPoint2D p, const std::vector<TPoint2D>& line) {
  double best = 1e300;
  for (size_t i = 0; i < line.size(); ++i) {
    best = std::min(best, SegmentDistance(p, line[i], line[(i + 1) % line.size()]));
  }
  return best;
}

bool Inside(TPoint2D p, const std::vector<TPoint2D>& polygon) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const TPoint2D& a = polygon[i];
    const TPoint2D& b = polygon[j];
    if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < (b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y) + a.X) {
      inside = !inside;
    }
  }
  return inside;
}

// Bulges edge i of a counter-clockwise polygon by the signed sagitta h
// (positive outwards).
void Bulge(TPolygon& polygon, size_t i, double h) {
  const size_t n = polygon.FVertices.size();
  const TPoint2D a = PointOf(polygon.FVertices[i]);
  const TPoint2D b = PointOf(polygon.FVertices[(i + 1) % n]);
  const double len = std::hypot(b.X - a.X, b.Y - a.Y);
  const TPoint2D out{(b.Y - a.Y) / len, -(b.X - a.X) / len};
  const TPoint2D mid{0.5 * (a.X + b.X), 0.5 * (a.Y + b.Y)};
  const double s = std::fabs(h);
  const double r = (s * s + 0.25 * len * len) / (2 * s);
  const double side = h > 0 ? 1.0 : -1.0;
  const TPoint2D center{mid.X + side * out.X * (s - r), mid.Y + side * out.Y * (s - r)};
  testing::SetArc(polygon, i, center, h < 0);
}

TPolygon StarPolygon(TRng& rng, TPoint2D center, double rMin, double rMax, int n, double bulgy) {
  std::vector<double> angles;
  for (int k = 0; k < n; ++k) angles.push_back(Uniform(rng, 0, kTwoPi));
  std::sort(angles.begin(), angles.end());
  std::vector<TPoint2D> points;
  for (double a : angles) {
    const double r = Uniform(rng, rMin, rMax);
    points.push_back({center.X + r * std::cos(a), center.Y + r * std::sin(a)});
  }
  TPolygon polygon = testing::MakePolygon(points);
  for (size_t i = 0; i < points.size(); ++i) {
    if (Uniform(rng, 0, 1) >= bulgy) continue;
    const TPoint2D& a = points[i];
    const TPoint2D& b = points[(i + 1) % points.size()];
    const double len = std::hypot(b.X - a.X, b.Y - a.Y);
    if (len < 1e-3) continue;
    const bool outwards = Uniform(rng, 0, 1) < 0.6;
    const double h = len * (outwards ? Uniform(rng, 0.05, 0.9) : -Uniform(rng, 0.05, 0.3));
    Bulge(polygon, i, h);
  }
  return polygon;
}

// Columns of random widths and heights over the line y = 0; many tops lie
// on scan lines, which makes runs on the line with neighbours on either side.
TPolygon Skyline(TRng& rng, double resolution) {
  const int columns = 2 + static_cast<int>(rng() % 7);
  std::vector<TPoint2D> top;
  double x = 0;
  for (int k = 0; k < columns; ++k) {
    double h = Uniform(rng, 0.3, 8);
    if (rng() % 2 == 0) h = std::max(1.0, std::round(h / resolution)) * resolution;
    const double w = Uniform(rng, 0.2, 3);
    top.push_back({x, h});
    top.push_back({x + w, h});
    x += w;
  }
  std::vector<TPoint2D> points{{x, 0}};
  for (auto it = top.rbegin(); it != top.rend(); ++it) points.push_back(*it);
  points.push_back({0, 0});
  std::rotate(points.begin(), points.end() - 1, points.end());  // start at the origin
  // Counter-clockwise: origin, along the bottom, then the tops right to left.
  return testing::MakePolygon(points);
}

// Edge i becomes an arc that starts (or ends) exactly at the lowest or
// highest point of its circle: its centre lies straight above or below that
// end. Which way round it runs decides whether it passes the opposite
// extreme.
void ExtremeEndArc(TPolygon& polygon, size_t i, bool atEnd, bool clockwise) {
  const size_t n = polygon.FVertices.size();
  const TPoint2D a = PointOf(polygon.FVertices[atEnd ? (i + 1) % n : i]);
  const TPoint2D b = PointOf(polygon.FVertices[atEnd ? i : (i + 1) % n]);
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  if (std::fabs(dy) < 1e-3) return;
  const double s = (dx * dx + dy * dy) / (2 * dy);
  testing::SetArc(polygon, i, {a.X, a.Y + s}, clockwise);
}

// The outline of a random polyomino whose cells are a fraction of a strip
// high: bumps under overhanging arms inside one band are common. Rows that
// fall on scan lines get exactly the line's height.
std::optional<TPolygon> Polyomino(TRng& rng, double resolution) {
  constexpr int kSize = 12;
  bool cell[kSize + 2][kSize + 2] = {};
  const int want = 8 + static_cast<int>(rng() % 40);
  cell[1 + static_cast<int>(rng() % kSize)][1 + static_cast<int>(rng() % kSize)] = true;
  for (int count = 1, tries = 0; count < want && tries < 100000; ++tries) {
    const int c = 1 + static_cast<int>(rng() % kSize), r = 1 + static_cast<int>(rng() % kSize);
    if (cell[c][r]) continue;
    if (cell[c - 1][r] || cell[c + 1][r] || cell[c][r - 1] || cell[c][r + 1]) {
      cell[c][r] = true;
      ++count;
    }
  }
  // Fill enclosed gaps: what the outside cannot reach belongs to the shape.
  bool outside[kSize + 2][kSize + 2] = {};
  std::vector<std::pair<int, int>> stack{{0, 0}};
  outside[0][0] = true;
  while (!stack.empty()) {
    const auto [c, r] = stack.back();
    stack.pop_back();
    const int dc[] = {1, -1, 0, 0}, dr[] = {0, 0, 1, -1};
    for (int k = 0; k < 4; ++k) {
      const int nc = c + dc[k], nr = r + dr[k];
      if (nc < 0 || nr < 0 || nc > kSize + 1 || nr > kSize + 1) continue;
      if (outside[nc][nr] || cell[nc][nr]) continue;
      outside[nc][nr] = true;
      stack.push_back({nc, nr});
    }
  }
  int minC = kSize + 2, minR = kSize + 2;
  for (int c = 0; c < kSize + 2; ++c) {
    for (int r = 0; r < kSize + 2; ++r) {
      if (!outside[c][r]) cell[c][r] = true;
      if (cell[c][r]) minC = std::min(minC, c), minR = std::min(minR, r);
    }
  }
  // Cells touching only at a corner would pinch the outline.
  for (int c = 0; c + 1 < kSize + 2; ++c) {
    for (int r = 0; r + 1 < kSize + 2; ++r) {
      const bool a = cell[c][r], b = cell[c + 1][r], d = cell[c][r + 1], e = cell[c + 1][r + 1];
      if ((a && e && !b && !d) || (b && d && !a && !e)) return std::nullopt;
    }
  }
  const int parts = 2 + static_cast<int>(rng() % 3);  // rows per strip
  const double rowHeight = resolution / parts;
  const double columnWidth = Uniform(rng, 0.3, 1.2);
  auto X = [&](int c) { return (c - minC) * columnWidth; };
  auto Y = [&](int r) {
    const int k = r - minR;
    return static_cast<double>(k / parts) * resolution + static_cast<double>(k % parts) * rowHeight;
  };
  // Counter-clockwise boundary edges of the cell set, chained from vertex to
  // vertex (without pinches every vertex has one way on).
  std::vector<std::pair<int, int>> next((kSize + 3) * (kSize + 3), {-1, -1});
  auto key = [](int c, int r) { return c * (kSize + 3) + r; };
  int startC = -1, startR = -1;
  for (int c = 0; c < kSize + 2; ++c) {
    for (int r = 0; r < kSize + 2; ++r) {
      if (!cell[c][r]) continue;
      auto edge = [&](bool open, int c0, int r0, int c1, int r1) {
        if (!open) return;
        next[key(c0, r0)] = {c1, r1};
        startC = c0, startR = r0;
      };
      edge(r == 0 || !cell[c][r - 1], c, r, c + 1, r);
      edge(c == kSize + 1 || !cell[c + 1][r], c + 1, r, c + 1, r + 1);
      edge(r == kSize + 1 || !cell[c][r + 1], c + 1, r + 1, c, r + 1);
      edge(c == 0 || !cell[c - 1][r], c, r + 1, c, r);
    }
  }
  std::vector<TPoint2D> points;
  int c = startC, r = startR;
  do {
    points.push_back({X(c), Y(r)});
    const auto [nc, nr] = next[key(c, r)];
    c = nc, r = nr;
  } while ((c != startC || r != startR) && points.size() < 1000);
  return testing::MakePolygon(points);
}

// A random simple polygon: random points joined in random order, crossings
// removed by reversing the stretch between two crossing edges until none is
// left. Deep notches and overhangs are common.
TPolygon TangledPolygon(TRng& rng) {
  const int n = 5 + static_cast<int>(rng() % 12);
  std::vector<TPoint2D> p;
  for (int k = 0; k < n; ++k) p.push_back({Uniform(rng, 0, 12), Uniform(rng, 0, 12)});
  // Every reversal shortens the tour, so this ends; the bound is a guard.
  int rounds = 0;
  for (bool changed = true; changed && ++rounds < 100000;) {
    changed = false;
    for (int i = 0; i < n && !changed; ++i) {
      for (int j = i + 2; j < n && !changed; ++j) {
        if (i == 0 && j == n - 1) continue;
        if (SegmentsCross(p[i], p[i + 1], p[j], p[(j + 1) % n])) {
          std::reverse(p.begin() + i + 1, p.begin() + j + 1);
          changed = true;
        }
      }
    }
  }
  double area = 0;
  for (int k = 0; k < n; ++k) area += p[k].X * p[(k + 1) % n].Y - p[(k + 1) % n].X * p[k].Y;
  if (area < 0) std::reverse(p.begin(), p.end());
  TPolygon polygon = testing::MakePolygon(p);
  for (int i = 0; i < n; ++i) {
    const double pick = Uniform(rng, 0, 1);
    const size_t e = static_cast<size_t>(i);
    if (pick < 0.15) {
      ExtremeEndArc(polygon, e, rng() % 2 == 0, rng() % 2 == 0);
    } else if (pick < 0.35) {
      const TPoint2D& a = p[e];
      const TPoint2D& b = p[(e + 1) % n];
      const double len = std::hypot(b.X - a.X, b.Y - a.Y);
      if (len > 1e-3) Bulge(polygon, e, len * Uniform(rng, -0.25, 0.25));
    }
  }
  return polygon;
}

bool PlaceHoles(TRng& rng, TShape& shape, const TLoop& outline, int count) {
  const std::vector<TPoint2D> boundary = Sample(outline);
  std::vector<std::vector<TPoint2D>> placed;
  for (int attempt = 0; attempt < 40 && static_cast<int>(shape.holes.size()) < count; ++attempt) {
    const TPoint2D p{Uniform(rng, 0, shape.width), Uniform(rng, 0, shape.height)};
    if (!Inside(p, boundary)) continue;
    double room = DistanceToPolyline(p, boundary);
    for (const auto& other : placed) {
      if (Inside(p, other)) room = 0;
      room = std::min(room, DistanceToPolyline(p, other));
    }
    if (room < 0.3) continue;
    const double r = room * Uniform(rng, 0.2, 0.6);
    TTrueHole hole;
    if (rng() % 2 == 0) {
      hole = testing::CircleHole(p, r, false);
    } else {
      TPolygon polygon =
          StarPolygon(rng, p, 0.4 * r, 0.7 * r, 3 + static_cast<int>(rng() % 5), 0.4);
      if (!IsSimple(Sample(LoopOf(polygon)))) continue;
      FitBox(polygon);
      hole = testing::PolygonHole(polygon, false);
    }
    const std::vector<TPoint2D> samples = Sample(LoopOf(hole));
    bool clear = true;
    for (const TPoint2D& q : samples) {
      if (!Inside(q, boundary) || DistanceToPolyline(q, boundary) < 0.05) clear = false;
      for (const auto& other : placed) {
        if (Inside(q, other) || DistanceToPolyline(q, other) < 0.05) clear = false;
      }
    }
    if (!clear) continue;
    hole.FUsable = rng() % 3 != 0 ? 1 : 0;
    placed.push_back(samples);
    shape.holes.push_back(hole);
  }
  return true;
}

// Heights within this distance of a scan line, but not on it, are where the
// tolerance of the rasteriser (not its logic) decides; the oracle is exact,
// so such shapes are not generated.
bool ClearOfLines(const TShape& shape, const std::vector<TLoop>& loops, double resolution) {
  auto clear = [&](double y) {
    const double k = std::round(y / resolution);
    const double d = std::fabs(y - k * resolution);
    return d < 1e-12 || d > 1e-4;
  };
  for (const TLoop& loop : loops) {
    for (const TEdge& e : loop) {
      if (!clear(e.a.Y)) return false;
      if (e.arc) {
        for (double t : {kPi / 2, 3 * kPi / 2}) {
          if (AngleOnSpan(t, e.start, e.sweep) && !clear(e.c.Y + e.r * std::sin(t))) return false;
        }
      }
    }
  }
  return clear(shape.height);
}

std::optional<TShape> TryGenerate(TRng& rng, int family, double resolution) {
  TShape shape;
  std::vector<TTrueHole> none;
  if (family == 3) {
    shape.family = "circle";
    const double r = Uniform(rng, 0.4, 7);
    shape.circle = testing::FramedCircle(r);
    shape.width = shape.height = 2 * r;
  } else {
    TPolygon polygon;
    if (family == 2) {
      shape.family = "skyline";
      polygon = Skyline(rng, resolution);
    } else if (family == 4) {
      shape.family = "tangled";
      polygon = TangledPolygon(rng);
    } else if (family == 5) {
      shape.family = "polyomino";
      std::optional<TPolygon> cells = Polyomino(rng, resolution);
      if (!cells) return std::nullopt;
      polygon = *cells;
    } else {
      shape.family = "arc star";
      polygon = StarPolygon(rng, {0, 0}, 1, 8, 3 + static_cast<int>(rng() % 10), 0.5);
    }
    testing::MoveIntoFrame(polygon, none);
    // Snap some vertices between straight edges onto scan lines (not onto
    // the bottom line, where a column top would fold onto the base).
    const size_t n = polygon.FVertices.size();
    for (size_t i = 0; i < n; ++i) {
      const bool straight =
          polygon.FArcs[i].IsArc == 0 && polygon.FArcs[(i + n - 1) % n].IsArc == 0;
      if (!straight || rng() % 3 != 0) continue;
      const double k = std::round(polygon.FVertices[i].Y / resolution);
      if (k >= 1) polygon.FVertices[i].Y = k * resolution;
    }
    for (size_t i = 0; i < n; ++i) {  // arcs keep their end points in step
      polygon.FArcs[i].StartPoint = PointOf(polygon.FVertices[i]);
      polygon.FArcs[i].EndPoint = PointOf(polygon.FVertices[(i + 1) % n]);
    }
    FitBox(polygon);  // the box still starts at the origin: snapping keeps every y >= 0
    if (!IsSimple(Sample(LoopOf(polygon)))) return std::nullopt;
    shape.width = polygon.FWidth;
    shape.height = polygon.FHeight;
    shape.polygon = polygon;
  }
  const TLoop outline = shape.polygon ? LoopOf(*shape.polygon) : LoopOf(*shape.circle);
  if (rng() % 2 == 0) PlaceHoles(rng, shape, outline, 1 + static_cast<int>(rng() % 3));
  std::vector<TLoop> loops{outline};
  for (const TTrueHole& hole : shape.holes) loops.push_back(LoopOf(hole));
  if (!ClearOfLines(shape, loops, resolution)) return std::nullopt;
  return shape;
}

// Retries with the same random stream, so every seed names one shape.
std::optional<TShape> Generate(TRng& rng, int family, double resolution) {
  for (int attempt = 0; attempt < 30; ++attempt) {
    if (std::optional<TShape> shape = TryGenerate(rng, family, resolution)) return shape;
  }
  return std::nullopt;
}

std::string Describe(const std::vector<TRange>& ranges) {
  std::ostringstream out;
  out.precision(9);
  for (const TRange& r : ranges) out << "[" << r.lo << ", " << r.hi << "] ";
  return out.str();
}

// Checks every strip of one grid against the oracle; returns the first
// difference, or nothing.
std::optional<std::string> CheckGrid(const TShape& shape, TGridMode mode, double resolution,
                                     double scale) {
  TGrid grid;
  const TPolygon* polygon = shape.polygon ? &*shape.polygon : nullptr;
  const TCircle* circle = shape.circle ? &*shape.circle : nullptr;
  const TRunSettings settings = fixtures::RasterSettings(resolution, kPrecision, scale);
  if (polygon != nullptr) {
    BuildFromShape(grid, *polygon, shape.holes, mode, settings);
  } else {
    BuildFromShape(grid, *circle, shape.holes, mode, settings);
  }
  const TLoop outline = polygon ? LoopOf(*polygon) : LoopOf(*circle);
  const int32_t n = grid.FNumberOfLines;
  if (n * resolution < shape.height - kPrecision || (n - 1) * resolution >= shape.height) {
    return "strip count " + std::to_string(n) + " for height " + std::to_string(shape.height);
  }
  if (!grid.FLines[static_cast<size_t>(n)].Empty()) return std::string("spare strip not empty");
  // Rounding moves each end by half a unit; the tolerance of the walks may
  // leave an extent short by up to the precision.
  const double tol = 0.5 / scale + 2 * kPrecision;
  for (int32_t i = 0; i < n; ++i) {
    const double lo = i * resolution;
    const double hi = (i + 1) * resolution;
    const std::vector<TRange> truth = mode == TGridMode::kPart
                                          ? PartOracle(shape, outline, lo, hi)
                                          : StockOracle(shape, outline, lo, hi);
    std::vector<TRange> got;
    for (const TGridInterval& v : grid.FLines[static_cast<size_t>(i)].FIntervals) {
      got.push_back({v.FStart / scale, v.FEnd / scale});
    }
    std::optional<std::string> problem;
    for (const TRange& t : truth) {
      if (!Covered(t.lo, t.hi, got, tol)) problem = "not covered";
    }
    for (const TRange& g : got) {
      if (!Covered(g.lo, g.hi, truth, tol)) problem = "exceeds the shape";
    }
    if (problem) {
      return *problem + " in strip " + std::to_string(i) + ": grid " + Describe(got) + " shape " +
             Describe(truth);
    }
  }
  return std::nullopt;
}

TEST(ConservativeRaster, StripsCoverTheShapeAndNoMoreOnGeneratedShapes) {
  const double resolutions[] = {1.0, 0.5, 0.37, 0.1, 2.3, 4.0};
  constexpr uint32_t kSeeds = 2000;
  uint32_t checked = 0;
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    TRng rng(seed);
    const double resolution = resolutions[rng() % 6];
    const int family = static_cast<int>(seed % 6);
    const std::optional<TShape> shape = Generate(rng, family, resolution);
    if (!shape) continue;
    // The run's scale (1e8 over the widest shape) and a coarse one where
    // rounding dominates.
    const double scale = (rng() % 3 == 0 ? 1e3 : 1e8) / shape->width;
    for (TGridMode mode : {TGridMode::kPart, TGridMode::kStock}) {
      const std::optional<std::string> problem = CheckGrid(*shape, mode, resolution, scale);
      if (problem) {
        ADD_FAILURE() << "seed " << seed << " (" << shape->family << ", " << shape->holes.size()
                      << " holes, resolution " << resolution << ", "
                      << (mode == TGridMode::kPart ? "part" : "stock") << "): " << *problem;
      }
    }
    ++checked;
  }
  EXPECT_GT(checked, kSeeds * 95 / 100);
  // the generator must not reject many seeds
}

}  // namespace
}  // namespace varnest
