#include "varnest/geometry/contact.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace varnest {

namespace {

constexpr double kTwoPi = 6.283185307179586;

double Wrapped(double angle) {
  double a = std::fmod(angle, kTwoPi);
  if (a < 0.0) a += kTwoPi;
  return a;
}

double PolarAngle(TPoint2D p, TPoint2D c) { return Wrapped(std::atan2(p.Y - c.Y, p.X - c.X)); }

double Length(TPoint2D a, TPoint2D b) { return std::hypot(b.X - a.X, b.Y - a.Y); }

double Cross(TPoint2D a, TPoint2D b) { return a.X * b.Y - a.Y * b.X; }
double Dot(TPoint2D a, TPoint2D b) { return a.X * b.X + a.Y * b.Y; }
TPoint2D Minus(TPoint2D a, TPoint2D b) { return {a.X - b.X, a.Y - b.Y}; }
TPoint2D Along(TPoint2D from, TPoint2D direction, double t) {
  return {from.X + t * direction.X, from.Y + t * direction.Y};
}

TEdgeGeometry Segment(TPoint2D from, TPoint2D to) {
  TEdgeGeometry edge;
  edge.From = from;
  edge.To = to;
  return edge;
}

TEdgeGeometry Arc(TPoint2D from, TPoint2D to, TPoint2D center, bool clockwise, double tol) {
  TEdgeGeometry edge;
  edge.From = from;
  edge.To = to;
  edge.IsArc = true;
  edge.Clockwise = clockwise;
  edge.Center = center;
  edge.Radius = Length(center, from);
  edge.StartAngle = PolarAngle(from, center);
  const double end = PolarAngle(to, center);
  double sweep = Wrapped(clockwise ? edge.StartAngle - end : end - edge.StartAngle);
  // Coinciding ends make a full turn, not an arc of nothing.
  if (Length(from, to) <= tol || sweep == 0.0) sweep = kTwoPi;
  edge.Sweep = sweep;
  return edge;
}

// The angle travelled from the arc's start to the polar angle a, in the
// arc's direction, in [0, 2 pi).
double Travelled(const TEdgeGeometry& arc, double a) {
  return Wrapped(arc.Clockwise ? arc.StartAngle - a : a - arc.StartAngle);
}

// Whether a point of the arc's circle lies on the arc, ends included within
// tol (a length).
bool OnArc(const TEdgeGeometry& arc, TPoint2D p, double tol) {
  if (arc.Sweep >= kTwoPi) return true;
  const double slack = arc.Radius > 0.0 ? tol / arc.Radius : kTwoPi;
  const double t = Travelled(arc, PolarAngle(p, arc.Center));
  return t <= arc.Sweep + slack || t >= kTwoPi - slack;
}

// Strictly inside the arc, away from both ends by more than tol.
bool InsideArc(const TEdgeGeometry& arc, TPoint2D p, double tol) {
  const double slack = arc.Radius > 0.0 ? tol / arc.Radius : kTwoPi;
  const double t = Travelled(arc, PolarAngle(p, arc.Center));
  if (arc.Sweep >= kTwoPi) return true;
  return t > slack && t < arc.Sweep - slack;
}

TPoint2D ArcPointAt(const TEdgeGeometry& arc, double travelled) {
  const double a = arc.Clockwise ? arc.StartAngle - travelled : arc.StartAngle + travelled;
  return {arc.Center.X + arc.Radius * std::cos(a), arc.Center.Y + arc.Radius * std::sin(a)};
}

struct TBounds {
  double MinX, MinY, MaxX, MaxY;
};

TBounds BoundsOf(const TEdgeGeometry& edge, double tol) {
  TBounds b{std::min(edge.From.X, edge.To.X), std::min(edge.From.Y, edge.To.Y),
            std::max(edge.From.X, edge.To.X), std::max(edge.From.Y, edge.To.Y)};
  if (edge.IsArc) {
    // The extremes of the circle that the arc passes.
    for (int k = 0; k < 4; ++k) {
      const double a = k * (kTwoPi / 4.0);
      const TPoint2D p{edge.Center.X + edge.Radius * std::cos(a),
                       edge.Center.Y + edge.Radius * std::sin(a)};
      if (!OnArc(edge, p, 0.0)) continue;
      b.MinX = std::min(b.MinX, p.X);
      b.MinY = std::min(b.MinY, p.Y);
      b.MaxX = std::max(b.MaxX, p.X);
      b.MaxY = std::max(b.MaxY, p.Y);
    }
  }
  return TBounds{b.MinX - tol, b.MinY - tol, b.MaxX + tol, b.MaxY + tol};
}

// The points two edges share: at most two, or a stretch they have in common
// (Overlap, with its two ends as the points).
struct TMeeting {
  std::array<TPoint2D, 2> Points{};
  int Count = 0;
  bool Overlap = false;

  void Add(TPoint2D p) {
    if (Count < 2) Points[static_cast<size_t>(Count++)] = p;
  }
};

TMeeting SegmentsMeet(const TEdgeGeometry& a, const TEdgeGeometry& b, double tol) {
  TMeeting meeting;
  const TPoint2D d1 = Minus(a.To, a.From);
  const TPoint2D d2 = Minus(b.To, b.From);
  const double len1 = std::hypot(d1.X, d1.Y);
  const double len2 = std::hypot(d2.X, d2.Y);
  if (len1 == 0.0 || len2 == 0.0) return meeting;
  const TPoint2D w = Minus(b.From, a.From);
  const double cross = Cross(d1, d2);
  if (std::fabs(cross) <= tol * std::max(len1, len2)) {
    // Parallel: they meet only on one line, over the stretch both cover.
    if (std::fabs(Cross(d1, w)) / len1 > tol) return meeting;
    const double t0 = Dot(w, d1) / (len1 * len1);
    const double t1 = Dot(Minus(b.To, a.From), d1) / (len1 * len1);
    const double lo = std::max(0.0, std::min(t0, t1));
    const double hi = std::min(1.0, std::max(t0, t1));
    if ((hi - lo) * len1 < -tol) return meeting;
    if ((hi - lo) * len1 > tol) {
      meeting.Overlap = true;
      meeting.Add(Along(a.From, d1, lo));
      meeting.Add(Along(a.From, d1, hi));
    } else {
      meeting.Add(Along(a.From, d1, 0.5 * (lo + hi)));
    }
    return meeting;
  }
  const double t = Cross(w, d2) / cross;
  const double u = Cross(w, d1) / cross;
  const double slack1 = tol / len1;
  const double slack2 = tol / len2;
  if (t < -slack1 || t > 1.0 + slack1 || u < -slack2 || u > 1.0 + slack2) return meeting;
  meeting.Add(Along(a.From, d1, std::clamp(t, 0.0, 1.0)));
  return meeting;
}

TMeeting SegmentMeetsArc(const TEdgeGeometry& segment, const TEdgeGeometry& arc, double tol) {
  TMeeting meeting;
  const TPoint2D d = Minus(segment.To, segment.From);
  const double len = std::hypot(d.X, d.Y);
  if (len == 0.0) return meeting;
  const TPoint2D unit{d.X / len, d.Y / len};
  const double along = Dot(Minus(arc.Center, segment.From), unit);
  const TPoint2D foot = Along(segment.From, unit, along);
  const double h = Length(foot, arc.Center);
  if (h > arc.Radius + tol) return meeting;
  const double s = h < arc.Radius ? std::sqrt(arc.Radius * arc.Radius - h * h) : 0.0;
  for (const double offset : {-s, s}) {
    const double t = along + offset;
    if (t < -tol || t > len + tol) continue;
    const TPoint2D p = Along(segment.From, unit, std::clamp(t, 0.0, len));
    if (OnArc(arc, p, tol)) meeting.Add(p);
    if (s == 0.0) break;
  }
  return meeting;
}

TMeeting ArcsMeet(const TEdgeGeometry& a, const TEdgeGeometry& b, double tol) {
  TMeeting meeting;
  const double d = Length(a.Center, b.Center);
  if (d <= tol && std::fabs(a.Radius - b.Radius) <= tol) {
    // One circle: the arcs share a stretch when either passes inside the
    // other, else at most their ends.
    const TPoint2D middle = ArcPointAt(a, 0.5 * a.Sweep);
    if (InsideArc(b, a.From, tol) || InsideArc(b, a.To, tol) || InsideArc(a, b.From, tol) ||
        InsideArc(a, b.To, tol) || OnArc(b, middle, tol)) {
      meeting.Overlap = true;
      meeting.Add(a.From);
      meeting.Add(a.To);
      return meeting;
    }
    for (const TPoint2D p : {b.From, b.To}) {
      if (OnArc(a, p, tol)) meeting.Add(p);
    }
    return meeting;
  }
  if (d == 0.0 || d > a.Radius + b.Radius + tol || d < std::fabs(a.Radius - b.Radius) - tol) {
    return meeting;
  }
  const double along = (a.Radius * a.Radius - b.Radius * b.Radius + d * d) / (2.0 * d);
  const double q = a.Radius * a.Radius - along * along;
  const double h = q > 0.0 ? std::sqrt(q) : 0.0;
  const TPoint2D unit{(b.Center.X - a.Center.X) / d, (b.Center.Y - a.Center.Y) / d};
  const TPoint2D m = Along(a.Center, unit, along);
  for (const double side : {-h, h}) {
    const TPoint2D p{m.X - side * unit.Y, m.Y + side * unit.X};
    if (OnArc(a, p, tol) && OnArc(b, p, tol)) meeting.Add(p);
    if (h == 0.0) break;
  }
  return meeting;
}

TMeeting EdgesMeet(const TEdgeGeometry& a, const TEdgeGeometry& b, double tol) {
  if (!a.IsArc && !b.IsArc) return SegmentsMeet(a, b, tol);
  if (!a.IsArc) return SegmentMeetsArc(a, b, tol);
  if (!b.IsArc) return SegmentMeetsArc(b, a, tol);
  return ArcsMeet(a, b, tol);
}

// Whether the meeting holds a point other than the given shared vertices.
bool MeetsElsewhere(const TMeeting& meeting, std::span<const TPoint2D> shared, double tol) {
  for (int k = 0; k < meeting.Count; ++k) {
    const TPoint2D p = meeting.Points[static_cast<size_t>(k)];
    bool atShared = false;
    for (const TPoint2D s : shared) atShared = atShared || Length(p, s) <= 2.0 * tol;
    if (!atShared) return true;
  }
  return false;
}

// Calls test(i, j) for every pair of edges whose boxes come within tol of
// each other, i before j in the given list, until a test returns true.
template <typename Test>
bool AnyNearPair(std::span<const TEdgeGeometry> edges, double tol, Test test) {
  std::vector<TBounds> bounds;
  bounds.reserve(edges.size());
  for (const TEdgeGeometry& edge : edges) bounds.push_back(BoundsOf(edge, tol));
  std::vector<size_t> byLeft(edges.size());
  std::iota(byLeft.begin(), byLeft.end(), size_t{0});
  std::sort(byLeft.begin(), byLeft.end(),
            [&](size_t a, size_t b) { return bounds[a].MinX < bounds[b].MinX; });
  for (size_t p = 0; p < byLeft.size(); ++p) {
    const TBounds& bp = bounds[byLeft[p]];
    for (size_t q = p + 1; q < byLeft.size() && bounds[byLeft[q]].MinX <= bp.MaxX; ++q) {
      const TBounds& bq = bounds[byLeft[q]];
      if (bq.MinY > bp.MaxY || bq.MaxY < bp.MinY) continue;
      if (test(std::min(byLeft[p], byLeft[q]), std::max(byLeft[p], byLeft[q]))) return true;
    }
  }
  return false;
}

// --- Crossings with horizontal lines --------------------------------------------

// A piece of an edge that rises or falls monotonically: an arc is cut at the
// top and bottom of its circle.
struct TMonotonePiece {
  TPoint2D Low;
  TPoint2D High;
  bool IsArc = false;
  TPoint2D Center;
  double Radius = 0.0;
  double Side = 1.0;  // +1: the right half of the circle, -1: the left
};

void AppendPieces(const TEdgeGeometry& edge, std::vector<TMonotonePiece>& pieces) {
  const auto add = [&](TPoint2D a, TPoint2D b, double side) {
    TMonotonePiece piece;
    piece.Low = a.Y <= b.Y ? a : b;
    piece.High = a.Y <= b.Y ? b : a;
    piece.IsArc = edge.IsArc;
    piece.Center = edge.Center;
    piece.Radius = edge.Radius;
    piece.Side = side;
    pieces.push_back(piece);
  };
  if (!edge.IsArc) {
    add(edge.From, edge.To, 1.0);
    return;
  }
  // Travelled angles of the circle's top and bottom that lie inside the arc.
  std::array<double, 2> cuts{};
  size_t count = 0;
  for (const double extreme : {kTwoPi / 4.0, 3.0 * kTwoPi / 4.0}) {
    const double t = Travelled(edge, extreme);
    if (t > 0.0 && t < edge.Sweep) cuts[count++] = t;
  }
  if (count == 2 && cuts[1] < cuts[0]) std::swap(cuts[0], cuts[1]);
  double from = 0.0;
  TPoint2D start = edge.From;
  for (size_t k = 0; k <= count; ++k) {
    const double to = k < count ? cuts[k] : edge.Sweep;
    const TPoint2D end = k < count ? ArcPointAt(edge, to) : edge.To;
    const TPoint2D middle = ArcPointAt(edge, 0.5 * (from + to));
    add(start, end, middle.X >= edge.Center.X ? 1.0 : -1.0);
    from = to;
    start = end;
  }
}

std::vector<TMonotonePiece> PiecesOf(std::span<const TEdgeGeometry> edges) {
  std::vector<TMonotonePiece> pieces;
  pieces.reserve(edges.size() + 2);
  for (const TEdgeGeometry& edge : edges) AppendPieces(edge, pieces);
  return pieces;
}

// The x of every piece that the line y crosses. Each piece counts from its
// low end up to, not including, its high end, so a vertex where the boundary
// turns back counts twice or not at all and one it passes counts once.
void CrossingsAt(std::span<const TMonotonePiece> pieces, double y, std::vector<double>& xs) {
  xs.clear();
  for (const TMonotonePiece& piece : pieces) {
    if (!(piece.Low.Y <= y && y < piece.High.Y)) continue;
    if (!piece.IsArc) {
      const double t = (y - piece.Low.Y) / (piece.High.Y - piece.Low.Y);
      xs.push_back(piece.Low.X + t * (piece.High.X - piece.Low.X));
    } else {
      const double dy = y - piece.Center.Y;
      const double q = piece.Radius * piece.Radius - dy * dy;
      xs.push_back(piece.Center.X + piece.Side * (q > 0.0 ? std::sqrt(q) : 0.0));
    }
  }
  std::sort(xs.begin(), xs.end());
}

struct TSpan {
  double From;
  double To;
};

// Pairs sorted crossings into the spans inside the boundary.
void AppendSpans(const std::vector<double>& xs, std::vector<TSpan>& spans) {
  for (size_t k = 0; k + 1 < xs.size(); k += 2) spans.push_back({xs[k], xs[k + 1]});
}

// The length of the outline's spans outside every hole span on one line.
class TFreeLength {
 public:
  TFreeLength(std::span<const TEdgeGeometry> outline,
              std::span<const std::vector<TEdgeGeometry>> holes)
      : FOutline(PiecesOf(outline)) {
    for (const std::vector<TEdgeGeometry>& hole : holes) FHoles.push_back(PiecesOf(hole));
  }

  double At(double y) {
    FInside.clear();
    CrossingsAt(FOutline, y, FXs);
    AppendSpans(FXs, FInside);
    FBlocked.clear();
    for (const std::vector<TMonotonePiece>& hole : FHoles) {
      CrossingsAt(hole, y, FXs);
      AppendSpans(FXs, FBlocked);
    }
    std::sort(FBlocked.begin(), FBlocked.end(),
              [](const TSpan& a, const TSpan& b) { return a.From < b.From; });
    double length = 0.0;
    for (const TSpan& inside : FInside) {
      double x = inside.From;
      for (const TSpan& blocked : FBlocked) {
        if (blocked.To <= x) continue;
        if (blocked.From >= inside.To) break;
        if (blocked.From > x) length += blocked.From - x;
        x = std::max(x, blocked.To);
        if (x >= inside.To) break;
      }
      if (x < inside.To) length += inside.To - x;
    }
    return length;
  }

  // Every height at which a piece starts or ends: the integrand is smooth
  // between them but for kinks where boundaries cross.
  std::vector<double> Breaks() const {
    std::vector<double> ys;
    const auto collect = [&](const std::vector<TMonotonePiece>& pieces) {
      for (const TMonotonePiece& piece : pieces) {
        ys.push_back(piece.Low.Y);
        ys.push_back(piece.High.Y);
      }
    };
    collect(FOutline);
    for (const std::vector<TMonotonePiece>& hole : FHoles) collect(hole);
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    return ys;
  }

 private:
  std::vector<TMonotonePiece> FOutline;
  std::vector<std::vector<TMonotonePiece>> FHoles;
  std::vector<double> FXs;
  std::vector<TSpan> FInside;
  std::vector<TSpan> FBlocked;
};

// Eight-point Gauss-Legendre on [a, b].
template <typename F>
double GaussLegendre(F& f, double a, double b) {
  static constexpr double kNodes[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                                       0.9602898564975363};
  static constexpr double kWeights[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                         0.1012285362903763};
  const double half = 0.5 * (b - a);
  const double middle = 0.5 * (a + b);
  double sum = 0.0;
  for (int k = 0; k < 4; ++k) {
    sum += kWeights[k] * (f(middle - half * kNodes[k]) + f(middle + half * kNodes[k]));
  }
  return sum * half;
}

// Halves the band until both halves agree with the whole; kinks and the
// square-root ends of arcs converge, only more slowly. A budget of splits
// bounds the work whatever the boundary does.
template <typename F>
double Adaptive(F& f, double a, double b, double whole, double tolerance, int& splits) {
  const double middle = 0.5 * (a + b);
  const double left = GaussLegendre(f, a, middle);
  const double right = GaussLegendre(f, middle, b);
  if (splits <= 0 || std::fabs(left + right - whole) <= tolerance) return left + right;
  --splits;
  return Adaptive(f, a, middle, left, 0.5 * tolerance, splits) +
         Adaptive(f, middle, b, right, 0.5 * tolerance, splits);
}

// Splits allowed per band between breaks: far more than any smooth boundary
// needs, few enough that a run never waits on them.
constexpr int kSplitsPerBand = 4000;

}  // namespace

std::vector<TEdgeGeometry> EdgesOf(const TPolygon& polygon, double tol) {
  std::vector<TEdgeGeometry> edges;
  const size_t n = polygon.FVertices.size();
  edges.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const TPoint2D from = PointOf(polygon.FVertices[i]);
    const TPoint2D to = PointOf(polygon.FVertices[(i + 1) % n]);
    const TPolygonArc arc = i < polygon.FArcs.size() ? polygon.FArcs[i] : TPolygonArc();
    if (arc.IsArc != 0 && Length(arc.Center, from) > tol) {
      edges.push_back(Arc(from, to, arc.Center, arc.Clockwise != 0, tol));
    } else if (Length(from, to) > tol) {
      edges.push_back(Segment(from, to));
    }
  }
  return edges;
}

std::vector<TEdgeGeometry> EdgesOf(const TCircle& circle) {
  const TPoint2D start{circle.FCenter.X + circle.FRadius, circle.FCenter.Y};
  if (!(circle.FRadius > 0.0)) return {};
  return {Arc(start, start, circle.FCenter, false, 0.0)};
}

std::vector<TEdgeGeometry> EdgesOf(const TBaseShape& shape, double tol) {
  if (shape.IsPolygon())
    return shape.FPolygon ? EdgesOf(*shape.FPolygon, tol) : std::vector<TEdgeGeometry>{};
  return shape.FCircle ? EdgesOf(*shape.FCircle) : std::vector<TEdgeGeometry>{};
}

bool CrossesItself(std::span<const TEdgeGeometry> edges, double tol) {
  const size_t n = edges.size();
  return AnyNearPair(edges, tol, [&](size_t i, size_t j) {
    const TMeeting meeting = EdgesMeet(edges[i], edges[j], tol);
    if (meeting.Count == 0) return false;
    // Neighbours share the vertex between them (two edges share both).
    std::array<TPoint2D, 2> shared{};
    size_t sharedCount = 0;
    if (j == i + 1) shared[sharedCount++] = edges[i].To;
    if (i == 0 && j == n - 1) shared[sharedCount++] = edges[j].To;
    return MeetsElsewhere(meeting, std::span<const TPoint2D>(shared.data(), sharedCount), tol);
  });
}

std::vector<uint8_t> MeetingContours(std::span<const std::vector<TEdgeGeometry>> contours,
                                     double tol) {
  std::vector<TEdgeGeometry> edges;
  std::vector<size_t> owner;
  for (size_t c = 0; c < contours.size(); ++c) {
    edges.insert(edges.end(), contours[c].begin(), contours[c].end());
    owner.insert(owner.end(), contours[c].size(), c);
  }
  std::vector<uint8_t> meets(contours.size(), 0);
  AnyNearPair(edges, tol, [&](size_t i, size_t j) {
    const size_t a = owner[i];
    const size_t b = owner[j];
    if (a == b || (meets[a] != 0 && meets[b] != 0)) return false;
    if (EdgesMeet(edges[i], edges[j], tol).Count > 0) meets[a] = meets[b] = 1;
    return false;
  });
  return meets;
}

bool Encloses(std::span<const TEdgeGeometry> boundary, TPoint2D p) {
  const std::vector<TMonotonePiece> pieces = PiecesOf(boundary);
  std::vector<double> xs;
  CrossingsAt(pieces, p.Y, xs);
  const auto left = std::lower_bound(xs.begin(), xs.end(), p.X) - xs.begin();
  return left % 2 == 1;
}

TPoint2D PointOn(std::span<const TEdgeGeometry> boundary) {
  return boundary.empty() ? TPoint2D{} : boundary.front().From;
}

double BoundaryLength(std::span<const TEdgeGeometry> boundary) {
  double length = 0.0;
  for (const TEdgeGeometry& edge : boundary) {
    length += edge.IsArc ? edge.Radius * edge.Sweep : Length(edge.From, edge.To);
  }
  return length;
}

double FreeArea(std::span<const TEdgeGeometry> outline,
                std::span<const std::vector<TEdgeGeometry>> holes) {
  TFreeLength length(outline, holes);
  const std::vector<double> breaks = length.Breaks();
  if (breaks.size() < 2) return 0.0;
  const double span = breaks.back() - breaks.front();
  double width = 0.0;
  for (const TEdgeGeometry& edge : outline) {
    const TBounds b = BoundsOf(edge, 0.0);
    width = std::max({width, std::fabs(b.MaxX), std::fabs(b.MinX)});
  }
  const double tolerance = 1e-12 * span * std::max(width, span);
  double area = 0.0;
  for (size_t k = 0; k + 1 < breaks.size(); ++k) {
    const double a = breaks[k];
    const double b = breaks[k + 1];
    if (!(b > a)) continue;
    // Where an arc turns back at a band's end its length grows like a square
    // root; y = a + (b - a)(1 - cos(pi t)) / 2 makes that smooth in t.
    const double half = 0.5 * (b - a);
    const auto f = [&](double t) {
      const double angle = kTwoPi * 0.5 * t;
      return length.At(a + half * (1.0 - std::cos(angle))) * half * (kTwoPi * 0.5) *
             std::sin(angle);
    };
    int splits = kSplitsPerBand;
    area += Adaptive(f, 0.0, 1.0, GaussLegendre(f, 0.0, 1.0), tolerance * (b - a) / span, splits);
  }
  return area;
}

}  // namespace varnest
