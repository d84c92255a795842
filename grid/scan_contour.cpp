#include "varnest/grid/scan_contour.h"

#include <algorithm>
#include <cmath>

#include "varnest/geometry/fuzzy.h"

namespace varnest {

namespace {

// Which way an arc has to be cut. The lowest point of the circle is B, the
// highest T.
enum class TSplit { kNone, kThroughB, kThroughT, kThroughBThenT, kThroughTThenB };

double Distance(const TPoint2D& a, const TPoint2D& b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  return std::sqrt(dx * dx + dy * dy);
}

const TPolygonArc* ArcOfEdge(const TPolygon& polygon, size_t i) {
  if (i >= polygon.FArcs.size() || polygon.FArcs[i].IsArc == 0) return nullptr;
  return &polygon.FArcs[i];
}

// How the arc from `start` to `end` about its centre must be cut so that every
// piece rises or falls monotonically.
TSplit SplitOf(const TPolygonArc& arc, const TPoint2D& start, const TPoint2D& end,
               double precision) {
  const double cx = arc.Center.X;
  const bool clockwise = arc.Clockwise != 0;
  if ((start.X - cx) * (end.X - cx) < 0.0) {
    // The ends lie on opposite sides of the centre: one extreme is passed.
    const bool movingLeft = FuzzyCompare(end.X, start.X, precision) <= 0;
    if (!clockwise) return movingLeft ? TSplit::kThroughT : TSplit::kThroughB;
    return movingLeft ? TSplit::kThroughB : TSplit::kThroughT;
  }
  const int sideStart = FuzzyCompare(start.X, cx, precision);
  const int sideEnd = FuzzyCompare(end.X, cx, precision);
  const int rise = FuzzyCompare(start.Y, end.Y, precision);
  if (!clockwise) {
    if (rise <= 0 && sideStart < 0 && sideEnd < 0) return TSplit::kThroughBThenT;
    if (rise > 0 && sideStart > 0 && sideEnd > 0) return TSplit::kThroughTThenB;
  } else {
    if (rise < 0 && sideStart > 0 && sideEnd > 0) return TSplit::kThroughBThenT;
    if (rise >= 0 && sideStart < 0 && sideEnd < 0) return TSplit::kThroughTThenB;
  }
  // An end that lies on the vertical through the centre is B or T itself.
  // Starting there (or ending there) and finishing on the far side means the
  // arc passes the opposite extreme; without this cut the piece would rise
  // and fall again, and a line could meet it twice.
  const double cy = arc.Center.Y;
  if (sideStart == 0 && sideEnd != 0) {
    const bool startAtTop = start.Y > cy;
    // Counter-clockwise from B runs up the right side, from T down the left;
    // clockwise the other way round.
    const int farSide = (startAtTop != clockwise) ? 1 : -1;
    if (sideEnd == farSide) return startAtTop ? TSplit::kThroughB : TSplit::kThroughT;
  } else if (sideEnd == 0 && sideStart != 0) {
    const bool endAtTop = end.Y > cy;
    // Counter-clockwise, T is reached up the right side and B down the left.
    const int farSide = (endAtTop != clockwise) ? -1 : 1;
    if (sideStart == farSide) return endAtTop ? TSplit::kThroughB : TSplit::kThroughT;
  }
  return TSplit::kNone;
}

void EmitPoint(TScanContour& contour, const TPoint2D& point) { contour.Points.push_back(point); }

void EmitArcPiece(TScanContour& contour, const TPolygonArc& arc, double radius,
                  const TPoint2D& from, const TPoint2D& to) {
  TPolygonArc piece;
  piece.IsArc = 1;
  piece.Clockwise = arc.Clockwise != 0 ? 1 : 0;
  piece.Radius = radius;
  piece.Center = arc.Center;
  piece.StartPoint = from;
  piece.EndPoint = to;
  contour.Edges.push_back(piece);
}

// One contour edge as a walk meets it: the stored record, the two points in
// the order of travel, and whether that order is against the stored one.
struct TWalkEdge {
  const TPolygonArc* Edge;
  const TPoint2D* From;  // the point visited first
  const TPoint2D* To;    // the point visited next
  bool Reversed;
};

// Counter-clockwise pieces run down the left side of their circle and up the
// right side; clockwise pieces the other way round.
bool RunsOnLeftSide(double ys, double ye, bool clockwise) { return (ye <= ys) != clockwise; }

// The x of the piece's widest point, at the height of its centre; meaningful
// when the piece passes that height.
double BulgeX(const TPolygonArc& arc) {
  const bool left = RunsOnLeftSide(arc.StartPoint.Y, arc.EndPoint.Y, arc.Clockwise != 0);
  return left ? arc.Center.X - arc.Radius : arc.Center.X + arc.Radius;
}

bool ArcPieceXAtY(const TPolygonArc& arc, bool reversed, double y, double precision, double& x) {
  double ys = arc.StartPoint.Y;
  double ye = arc.EndPoint.Y;
  bool clockwise = arc.Clockwise != 0;
  if (reversed) {
    std::swap(ys, ye);
    clockwise = !clockwise;
  }
  const double low = std::min(ys, ye);
  const double high = std::max(ys, ye);
  if (FuzzyCompare(y, low, precision) < 0 || FuzzyCompare(y, high, precision) > 0) return false;
  const double dy = y - arc.Center.Y;
  const double d = std::sqrt(std::fabs(arc.Radius * arc.Radius - dy * dy));
  x = RunsOnLeftSide(ys, ye, clockwise) ? arc.Center.X - d : arc.Center.X + d;
  return true;
}

// x where the edge, walked from `from` to `to`, meets the line y.
double CrossingX(const TWalkEdge& e, double y, double precision) {
  const TPoint2D& a = *e.From;
  const TPoint2D& b = *e.To;
  if (e.Edge->IsArc != 0) {
    double x = b.X;
    ArcPieceXAtY(*e.Edge, e.Reversed, y, precision, x);
    return x;
  }
  // A flat edge meets its own line everywhere; only degenerate strips (lower
  // than twice the tolerance) ask for it.
  if (b.Y == a.Y) return b.X;
  return a.X + (b.X - a.X) * (y - a.Y) / (b.Y - a.Y);
}

// The extent of one strip in a record, widened under the tolerance.
struct TExtent {
  double& Min;
  double& Max;
  uint8_t& State;
  double Precision;

  void Widen(double x) {
    if (FuzzyCompare(x, Min, Precision) < 0) Min = x;
    if (FuzzyCompare(x, Max, Precision) > 0) Max = x;
  }
};

// A monotone arc piece bulges furthest left or right at the height of its
// centre. The walk only sees vertices and line crossings, so where the piece
// passes that height inside the strip [low, high] its extreme x is added
// here; otherwise a strip could miss a sliver of the arc.
void WidenByBulge(const TPolygonArc& arc, double low, double high, TExtent& extent) {
  if (arc.IsArc == 0) return;
  const double ys = arc.StartPoint.Y;
  const double ye = arc.EndPoint.Y;
  const double cy = arc.Center.Y;
  const double from = std::max(low, std::min(ys, ye));
  const double to = std::min(high, std::max(ys, ye));
  if (!(cy >= from && cy <= to)) return;
  extent.Widen(BulgeX(arc));
}

enum class TStrip { kUpper, kLower };

struct TScanLine {
  const TScanContour& Contour;
  double Y;
  double YBelow;
  double YAbove;
  double Precision;
};

// Follows the contour from `start` away from the line into one strip; `given`
// is the point before `start` in the direction of travel (step +1 forward,
// -1 backward).
void Walk(const TScanLine& line, int32_t start, int32_t given, int32_t step, TStrip strip,
          TGridCrossing& record) {
  const TScanContour& c = line.Contour;
  const int32_t n = c.Count();
  const bool upper = strip == TStrip::kUpper;
  const double far = upper ? line.YAbove : line.YBelow;
  const double low = std::min(line.Y, far);
  const double high = std::max(line.Y, far);
  const double p = line.Precision;
  TExtent extent = upper ? TExtent{record.UpperMin, record.UpperMax, record.UpperState, p}
                         : TExtent{record.LowerMin, record.LowerMax, record.LowerState, p};
  auto beyond = [&](double y) {
    const int side = FuzzyCompare(y, far, p);
    return upper ? side >= 0 : side <= 0;
  };
  auto back = [&](double y) {
    const int side = FuzzyCompare(y, line.Y, p);
    return upper ? side <= 0 : side >= 0;
  };
  auto edgeInto = [&](int32_t previous, int32_t q) {
    // Forward, the stored edge runs from the previous point to q; backward,
    // the stored edge from q to the previous point is taken in reverse.
    const int32_t stored = step > 0 ? previous : q;
    return TWalkEdge{&c.Edges[static_cast<size_t>(stored)],
                     &c.Points[static_cast<size_t>(previous)], &c.Points[static_cast<size_t>(q)],
                     step < 0};
  };

  int32_t previous = given;
  int32_t q = start;
  // A closed contour always comes back to the line, so the walk ends within
  // one round; the bound only guards inputs whose heights are not numbers.
  for (int32_t visited = 0; visited < n; ++visited) {
    const double y = c.Points[static_cast<size_t>(q)].Y;
    const TWalkEdge edge = edgeInto(previous, q);
    if (beyond(y)) {
      extent.Widen(CrossingX(edge, far, p));
      WidenByBulge(*edge.Edge, low, high, extent);
      extent.State = 1;
      return;
    }
    if (back(y)) {
      extent.Widen(CrossingX(edge, line.Y, p));
      WidenByBulge(*edge.Edge, low, high, extent);
      return;
    }
    extent.Widen(c.Points[static_cast<size_t>(q)].X);
    WidenByBulge(*edge.Edge, low, high, extent);
    extent.State = 2;
    previous = q;
    q = (q + step + n) % n;
  }
}

// The four walks by direction and strip; `given` is the neighbour of `start`
// the walk comes from.
void WalkForwardUpper(const TScanLine& line, int32_t start, int32_t given, TGridCrossing& record) {
  Walk(line, start, given, +1, TStrip::kUpper, record);
}
void WalkForwardLower(const TScanLine& line, int32_t start, int32_t given, TGridCrossing& record) {
  Walk(line, start, given, +1, TStrip::kLower, record);
}
void WalkBackwardUpper(const TScanLine& line, int32_t start, int32_t given, TGridCrossing& record) {
  Walk(line, start, given, -1, TStrip::kUpper, record);
}
void WalkBackwardLower(const TScanLine& line, int32_t start, int32_t given, TGridCrossing& record) {
  Walk(line, start, given, -1, TStrip::kLower, record);
}

size_t StartRecord(std::vector<TGridCrossing>& crossings, double x) {
  TGridCrossing record;
  record.X = x;
  record.LowerMin = record.LowerMax = x;
  record.UpperMin = record.UpperMax = x;
  crossings.push_back(record);
  return crossings.size() - 1;
}

}  // namespace

int32_t CountSplitEdges(const TPolygon& polygon, double precision) {
  const size_t n = polygon.FVertices.size();
  int64_t count = static_cast<int64_t>(n);
  for (size_t i = 0; i < n; ++i) {
    const TPolygonArc* arc = ArcOfEdge(polygon, i);
    if (arc == nullptr) continue;
    const TPoint2D start = PointOf(polygon.FVertices[i]);
    const TPoint2D end = PointOf(polygon.FVertices[(i + 1) % n]);
    const double cx = arc->Center.X;
    if ((start.X - cx) * (end.X - cx) < 0.0) {
      count += 1;
      continue;
    }
    const int sideStart = FuzzyCompare(start.X, cx, precision);
    const int sideEnd = FuzzyCompare(end.X, cx, precision);
    const int rise = FuzzyCompare(start.Y, end.Y, precision);
    const bool clockwise = arc->Clockwise != 0;
    if (sideStart != 0 && sideStart == sideEnd) {
      const bool left = sideStart < 0;
      const bool both = clockwise ? (left ? rise >= 0 : rise <= 0) : (left ? rise <= 0 : rise >= 0);
      if (both) count += 2;
    } else if (sideStart == 0 || sideEnd == 0) {
      // An end on the vertical through the centre: at most one cut.
      count += 1;
    }
  }
  return static_cast<int32_t>(std::min<int64_t>(count, INT32_MAX));
}

void SplitArcsAtExtremes(const TPolygon& polygon, double precision, TScanContour& contour) {
  const size_t n = polygon.FVertices.size();
  for (size_t i = 0; i < n; ++i) {
    const TPoint2D start = PointOf(polygon.FVertices[i]);
    const TPoint2D end = PointOf(polygon.FVertices[(i + 1) % n]);
    EmitPoint(contour, start);
    const TPolygonArc* arc = ArcOfEdge(polygon, i);
    if (arc == nullptr) {
      contour.Edges.push_back(TPolygonArc{});
      continue;
    }
    const double r = Distance(arc->Center, start);
    const TPoint2D bottom{arc->Center.X, arc->Center.Y - r};
    const TPoint2D top{arc->Center.X, arc->Center.Y + r};
    switch (SplitOf(*arc, start, end, precision)) {
      case TSplit::kNone:
        EmitArcPiece(contour, *arc, r, start, end);
        break;
      case TSplit::kThroughB:
        EmitArcPiece(contour, *arc, r, start, bottom);
        EmitPoint(contour, bottom);
        EmitArcPiece(contour, *arc, r, bottom, end);
        break;
      case TSplit::kThroughT:
        EmitArcPiece(contour, *arc, r, start, top);
        EmitPoint(contour, top);
        EmitArcPiece(contour, *arc, r, top, end);
        break;
      case TSplit::kThroughBThenT:
        EmitArcPiece(contour, *arc, r, start, bottom);
        EmitPoint(contour, bottom);
        EmitArcPiece(contour, *arc, r, bottom, top);
        EmitPoint(contour, top);
        EmitArcPiece(contour, *arc, r, top, end);
        break;
      case TSplit::kThroughTThenB:
        EmitArcPiece(contour, *arc, r, start, top);
        EmitPoint(contour, top);
        EmitArcPiece(contour, *arc, r, top, bottom);
        EmitPoint(contour, bottom);
        EmitArcPiece(contour, *arc, r, bottom, end);
        break;
    }
  }
}

void CircleToQuarterArcs(const TCircle& circle, TScanContour& contour) {
  const double r = circle.FRadius;
  const double cx = circle.FCenter.X;
  const double cy = circle.FCenter.Y;
  contour.Points = {{cx, cy - r}, {cx + r, cy}, {cx, cy + r}, {cx - r, cy}};
  contour.Edges.assign(4, TPolygonArc{});
  for (size_t k = 0; k < 4; ++k) {
    TPolygonArc& edge = contour.Edges[k];
    edge.IsArc = 1;
    edge.Clockwise = 0;
    edge.Radius = r;
    edge.Center = circle.FCenter;
    edge.StartPoint = contour.Points[k];
    edge.EndPoint = contour.Points[(k + 1) % 4];
  }
}

TScanContour PrepareScanContour(int32_t shapeKind, const TPolygon* polygon, const TCircle* circle,
                                double precision) {
  TScanContour contour;
  if (shapeKind == 0 && polygon != nullptr) {
    const int32_t room = CountSplitEdges(*polygon, precision);
    contour.Points.reserve(static_cast<size_t>(room));
    contour.Edges.reserve(static_cast<size_t>(room));
    SplitArcsAtExtremes(*polygon, precision, contour);
  } else if (shapeKind == 1 && circle != nullptr) {
    CircleToQuarterArcs(*circle, contour);
  }
  return contour;
}

bool ArcXAtY(const TPolygonArc& arc, double y, double precision, double& x) {
  return ArcPieceXAtY(arc, false, y, precision, x);
}

void FindCrossings(const TScanContour& contour, double yBelow, double y, double yAbove,
                   std::vector<TGridCrossing>& crossings, double precision) {
  const int32_t n = contour.Count();
  if (n < 2 || static_cast<int32_t>(contour.Edges.size()) != n) return;
  const TScanLine line{contour, y, yBelow, yAbove, precision};
  const double p = precision;
  auto Y = [&](int32_t k) { return contour.Points[static_cast<size_t>(k)].Y; };
  auto X = [&](int32_t k) { return contour.Points[static_cast<size_t>(k)].X; };
  auto next = [&](int32_t k) { return k + 1 == n ? 0 : k + 1; };

  for (int32_t C = 0; C < n; ++C) {
    const int32_t P = C == 0 ? n - 1 : C - 1;
    const double yP = Y(P);
    const double yC = Y(C);
    // Flat edges and edges leaving the line are handled where their run
    // begins.
    if (FuzzyCompare(yP, yC, p) == 0) continue;
    if (FuzzyCompare(yP, y, p) == 0) continue;

    if (FuzzyCompare(yC, y, p) == 0) {
      // C arrives on the line: follow the run of points at its height.
      int32_t last = C;
      for (int32_t k = 1; k < n && FuzzyCompare(Y(next(last)), yC, p) == 0; ++k) last = next(last);
      const int32_t after = next(last);
      const bool fromBelow = yP <= yC;
      const bool toBelow = Y(after) <= yC;
      const bool sameX = FuzzyCompare(X(last), X(C), p) == 0;
      if (fromBelow && toBelow) {
        // Touches the line from below: both sides get their own record.
        size_t r = StartRecord(crossings, X(C));
        WalkBackwardLower(line, P, C, crossings[r]);
        r = StartRecord(crossings, X(last));
        WalkForwardLower(line, after, last, crossings[r]);
      } else if (fromBelow) {
        size_t r = StartRecord(crossings, X(last));
        WalkForwardUpper(line, after, last, crossings[r]);
        if (!sameX) r = StartRecord(crossings, X(C));
        WalkBackwardLower(line, P, C, crossings[r]);
      } else if (toBelow) {
        size_t r = StartRecord(crossings, X(C));
        WalkBackwardUpper(line, P, C, crossings[r]);
        if (!sameX) r = StartRecord(crossings, X(last));
        WalkForwardLower(line, after, last, crossings[r]);
      } else {
        size_t r = StartRecord(crossings, X(C));
        WalkBackwardUpper(line, P, C, crossings[r]);
        r = StartRecord(crossings, X(last));
        WalkForwardUpper(line, after, last, crossings[r]);
      }
      continue;
    }

    const int sideP = FuzzyCompare(yP, y, p);
    const int sideC = FuzzyCompare(yC, y, p);
    if (sideP * sideC >= 0) continue;
    // The edge P -> C passes through the line.
    const TWalkEdge edge{&contour.Edges[static_cast<size_t>(P)],
                         &contour.Points[static_cast<size_t>(P)],
                         &contour.Points[static_cast<size_t>(C)], false};
    const size_t r = StartRecord(crossings, CrossingX(edge, y, p));
    if (FuzzyCompare(yC, yP, p) <= 0) {
      WalkForwardLower(line, C, P, crossings[r]);
      WalkBackwardUpper(line, P, C, crossings[r]);
    } else {
      WalkForwardUpper(line, C, P, crossings[r]);
      WalkBackwardLower(line, P, C, crossings[r]);
    }
  }
}

bool ContourXExtent(const TScanContour& contour, double& minX, double& maxX) {
  if (contour.Points.empty()) return false;
  minX = maxX = contour.Points[0].X;
  auto take = [&](double x) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
  };
  for (const TPoint2D& point : contour.Points) take(point.X);
  for (const TPolygonArc& edge : contour.Edges) {
    if (edge.IsArc == 0) continue;
    const double ys = edge.StartPoint.Y;
    const double ye = edge.EndPoint.Y;
    const double cy = edge.Center.Y;
    if (cy < std::min(ys, ye) || cy > std::max(ys, ye)) continue;
    take(BulgeX(edge));
  }
  return true;
}

}  // namespace varnest
