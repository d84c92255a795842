#include "varnest/geometry/polygon.h"

#include <cmath>
#include <utility>
#include <vector>

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/fuzzy.h"

namespace varnest {

namespace {

size_t Next(size_t i, size_t n) { return i + 1 == n ? 0 : i + 1; }

TPoint2D Rotated(TPoint2D p, TPoint2D c, double ca, double sa) {
  return TPoint2D{c.X + ca * (p.X - c.X) - sa * (p.Y - c.Y),
                  sa * (p.X - c.X) + c.Y + ca * (p.Y - c.Y)};
}

// Rotating may carry an angle past 360 once; callers rotate by [0, 360).
double WrapOnce(double angle) { return angle > 360.0 ? angle - 360.0 : angle; }

}  // namespace

void TPolygon::ComputeBoundingBox(double precision) {
  const size_t n = FVertices.size();
  if (n == 0) {
    FMinX = FMinY = FMaxX = FMaxY = FWidth = FHeight = 0.0;
    return;
  }
  FMinX = FMaxX = FVertices[0].X;
  FMinY = FMaxY = FVertices[0].Y;
  for (size_t i = 1; i < n; ++i) {
    const TPolygonVertex& v = FVertices[i];
    if (v.X < FMinX) FMinX = v.X;
    if (v.X > FMaxX) FMaxX = v.X;
    if (v.Y < FMinY) FMinY = v.Y;
    if (v.Y > FMaxY) FMaxY = v.Y;
  }
  for (size_t i = 0; i < n; ++i) {
    if (FArcs[i].IsArc == 0) continue;
    double minX, minY, maxX, maxY;
    ArcBoundingBox(FArcs[i], PointOf(FVertices[i]), PointOf(FVertices[Next(i, n)]), precision, minX,
                   minY, maxX, maxY);
    if (minX < FMinX) FMinX = minX;
    if (maxX > FMaxX) FMaxX = maxX;
    if (minY < FMinY) FMinY = minY;
    if (maxY > FMaxY) FMaxY = maxY;
  }
  FWidth = FMaxX - FMinX;
  FHeight = FMaxY - FMinY;
}

void TPolygon::ComputeArea() {
  const size_t n = FVertices.size();
  double sum = 0.0;
  for (size_t i = 0; i < n; ++i) {
    const TPolygonVertex& a = FVertices[i];
    const TPolygonVertex& b = FVertices[Next(i, n)];
    sum += (a.X - b.X) * (a.Y + b.Y);
  }
  FArea = 0.5 * sum;
  // On a counter-clockwise outline a counter-clockwise arc bulges outwards.
  for (size_t i = 0; i < n; ++i) {
    if (FArcs[i].IsArc == 0) continue;
    if (IsClockwiseArc(FArcs[i])) {
      FArea -= SegmentArea(FArcs[i]);
    } else {
      FArea += SegmentArea(FArcs[i]);
    }
  }
}

TPoint2D TPolygon::Centroid() {
  ComputeArea();
  const size_t n = FVertices.size();
  double sumX = 0.0;
  double sumY = 0.0;
  for (size_t i = 0; i < n; ++i) {
    const TPolygonVertex& a = FVertices[i];
    const TPolygonVertex& b = FVertices[Next(i, n)];
    const double cross = a.X * b.Y - a.Y * b.X;
    sumX += cross * (a.X + b.X);
    sumY += cross * (a.Y + b.Y);
  }
  if (FArea != 0.0) {
    const TPoint2D centroid{sumX / (6.0 * FArea), sumY / (6.0 * FArea)};
    if (std::isfinite(centroid.X) && std::isfinite(centroid.Y)) return centroid;
  }
  // No area to weigh by: the mean of the vertices still lies on the outline's
  // hull, which is what a rotation centre needs.
  if (n == 0) return TPoint2D{};
  TPoint2D mean;
  for (const TPolygonVertex& v : FVertices) {
    mean.X += v.X;
    mean.Y += v.Y;
  }
  mean.X /= static_cast<double>(n);
  mean.Y /= static_cast<double>(n);
  return mean;
}

TPoint2D TPolygon::BoundingBoxCenter() const {
  return TPoint2D{(FMaxX + FMinX) / 2.0, (FMaxY + FMinY) / 2.0};
}

TPoint2D TPolygon::RotationCenterPoint(int32_t mode, TPoint2D given) {
  if (mode == 0) return given;
  if (mode == 1) return BoundingBoxCenter();
  return Centroid();
}

void TPolygon::CompleteArcs(double precision) {
  const size_t n = FVertices.size();
  for (size_t i = 0; i < n; ++i) {
    TPolygonArc& arc = FArcs[i];
    if (arc.IsArc == 0) continue;
    arc.StartPoint = PointOf(FVertices[i]);
    arc.EndPoint = PointOf(FVertices[Next(i, n)]);
    ArcRadiusFromStart(arc);
    if (FuzzyCompare(arc.Radius, 0.0, precision) == 0) {
      arc.IsArc = 0;
      continue;
    }
    ComputeArcAngles(arc, precision);
  }
}

void TPolygon::RefreshArcs(double precision) {
  for (size_t i = 0; i < FVertices.size(); ++i) {
    TPolygonArc& arc = FArcs[i];
    if (arc.IsArc == 0) continue;
    arc.Radius = Distance(arc.Center, PointOf(FVertices[i]));
    ComputeArcAngles(arc, precision);
  }
}

void TPolygon::SplitArcsAtTheirEnds(double precision) {
  const size_t n = FVertices.size();
  enum class TSplit { kNone, kFullTurn, kOffCircle };
  const auto splitOf = [&](size_t i) {
    const TPolygonArc& arc = FArcs[i];
    if (arc.IsArc == 0) return TSplit::kNone;
    const TPoint2D from = PointOf(FVertices[i]);
    const TPoint2D to = PointOf(FVertices[Next(i, n)]);
    const double radius = Distance(arc.Center, from);
    if (FuzzyCompare(radius, 0.0, precision) == 0) return TSplit::kNone;
    if (FuzzyCompare(Distance(from, to), 0.0, precision) == 0) return TSplit::kFullTurn;
    if (FuzzyCompare(Distance(arc.Center, to), radius, precision) != 0) return TSplit::kOffCircle;
    return TSplit::kNone;
  };
  bool any = false;
  for (size_t i = 0; i < n && !any; ++i) any = splitOf(i) != TSplit::kNone;
  if (!any) return;
  std::vector<TPolygonVertex> vertices;
  std::vector<TPolygonArc> arcs;
  for (size_t i = 0; i < n; ++i) {
    const TSplit split = splitOf(i);
    vertices.push_back(FVertices[i]);
    arcs.push_back(FArcs[i]);
    if (split == TSplit::kNone) continue;
    const TPoint2D c = FArcs[i].Center;
    const TPoint2D from = PointOf(FVertices[i]);
    if (split == TSplit::kFullTurn) {
      vertices.push_back(TPolygonVertex{0, 2.0 * c.X - from.X, 2.0 * c.Y - from.Y});
      arcs.push_back(FArcs[i]);
      continue;
    }
    // Where the circle meets the ray from the centre to the end vertex.
    const TPoint2D to = PointOf(FVertices[Next(i, n)]);
    const double scale = Distance(c, from) / Distance(c, to);
    vertices.push_back(TPolygonVertex{0, c.X + (to.X - c.X) * scale, c.Y + (to.Y - c.Y) * scale});
    arcs.push_back(TPolygonArc{});
  }
  FVertices = std::move(vertices);
  FArcs = std::move(arcs);
  CompleteArcs(precision);
}

void TPolygon::Translate(double dx, double dy) {
  for (TPolygonVertex& v : FVertices) {
    v.X += dx;
    v.Y += dy;
  }
  for (TPolygonArc& arc : FArcs) {
    if (arc.IsArc == 0) continue;
    arc.Center.X += dx;
    arc.Center.Y += dy;
    arc.StartPoint.X += dx;
    arc.StartPoint.Y += dy;
    arc.EndPoint.X += dx;
    arc.EndPoint.Y += dy;
  }
}

void TPolygon::Scale(double factor) {
  for (TPolygonVertex& v : FVertices) {
    v.X *= factor;
    v.Y *= factor;
  }
  for (TPolygonArc& arc : FArcs) {
    if (arc.IsArc == 0) continue;
    arc.StartPoint.X *= factor;
    arc.StartPoint.Y *= factor;
    arc.EndPoint.X *= factor;
    arc.EndPoint.Y *= factor;
    arc.Center.X *= factor;
    arc.Center.Y *= factor;
    arc.Radius *= factor;
  }
}

double TPolygon::FitScale(double size, double precision, double& minX, double& minY) {
  ComputeBoundingBox(precision);
  minX = FMinX;
  minY = FMinY;
  // A side of zero length does not limit the factor; with both sides zero
  // there is nothing to fit and the outline keeps its size.
  const bool useWidth = FWidth > 0.0 && std::isfinite(FWidth);
  const bool useHeight = FHeight > 0.0 && std::isfinite(FHeight);
  double factor = 1.0;
  if (useWidth && useHeight) {
    factor = std::fmin(size / FWidth, size / FHeight);
  } else if (useWidth) {
    factor = size / FWidth;
  } else if (useHeight) {
    factor = size / FHeight;
  }
  return std::isfinite(factor) && factor > 0.0 ? factor : 1.0;
}

void TPolygon::Rotate(TPoint2D center, double angle) {
  const double a = DegreesToRadians(angle);
  const double ca = std::cos(a);
  const double sa = std::sin(a);
  for (TPolygonVertex& v : FVertices) {
    const TPoint2D p = Rotated(PointOf(v), center, ca, sa);
    v.X = p.X;
    v.Y = p.Y;
  }
  for (TPolygonArc& arc : FArcs) {
    if (arc.IsArc == 0) continue;
    arc.Center = Rotated(arc.Center, center, ca, sa);
    arc.StartPoint = Rotated(arc.StartPoint, center, ca, sa);
    arc.EndPoint = Rotated(arc.EndPoint, center, ca, sa);
    arc.StartAngle = WrapOnce(arc.StartAngle + angle);
    arc.EndAngle = WrapOnce(arc.EndAngle + angle);
  }
}

bool TPolygon::IsClockwise(double precision) const {
  const size_t n = FVertices.size();
  double s = 0.0;
  for (size_t i = 0; i < n; ++i) {
    const TPolygonVertex& a = FVertices[i];
    const TPolygonVertex& b = FVertices[Next(i, n)];
    s += a.X * b.Y - a.Y * b.X;
  }
  return FuzzyCompare(s, 0.0, precision) <= 0;
}

void TPolygon::MakeCounterClockwise(double precision) {
  const size_t n = FVertices.size();
  if (n == 0 || !IsClockwise(precision)) return;
  // Edge i takes over edge i - 1 traversed backwards; laying the records out
  // in reverse order then puts every arc between its own two vertices again.
  std::vector<TPolygonArc> reversedEdges(n);
  for (size_t i = 0; i < n; ++i) {
    const TPolygonArc& previous = FArcs[i == 0 ? n - 1 : i - 1];
    TPolygonArc edge = FArcs[i];
    edge.Id = previous.Id;  // the identifier belongs to the edge it names
    if (previous.IsArc != 0) {
      edge.IsArc = 1;
      edge.Center = previous.Center;
      edge.Radius = previous.Radius;
      edge.Clockwise = IsClockwiseArc(previous) ? 0 : 1;
      edge.StartPoint = previous.EndPoint;
      edge.EndPoint = previous.StartPoint;
      edge.StartAngle = previous.EndAngle;
      edge.EndAngle = previous.StartAngle;
      edge.SweepAngle = previous.SweepAngle;
    } else {
      edge.IsArc = 0;
    }
    reversedEdges[i] = edge;
  }
  std::vector<TPolygonVertex> vertices(n);
  std::vector<TPolygonArc> arcs(n);
  for (size_t k = 0; k < n; ++k) {
    vertices[n - 1 - k] = FVertices[k];
    arcs[n - 1 - k] = reversedEdges[k];
  }
  FVertices = std::move(vertices);
  FArcs = std::move(arcs);
}

bool TPolygon::SameShape(const TPolygon& other, double tolerance) const {
  const size_t n = FVertices.size();
  if (other.FVertices.size() != n) return false;
  if (FuzzyCompare(FArea, other.FArea, tolerance) != 0) return false;
  auto same = [tolerance](const TPolygonVertex& a, const TPolygonVertex& b) {
    return FuzzyCompare(a.X, b.X, tolerance) == 0 && FuzzyCompare(a.Y, b.Y, tolerance) == 0;
  };
  // Only the first vertex of other that matches vertex 0 is tried.
  size_t offset = n;
  for (size_t i = 0; i < n; ++i) {
    if (same(other.FVertices[i], FVertices[0])) {
      offset = i;
      break;
    }
  }
  if (offset == n) return false;
  for (size_t k = 0; k < n; ++k) {
    if (!same(other.FVertices[(offset + k) % n], FVertices[k])) return false;
  }
  for (size_t k = 0; k < n; ++k) {
    const TPolygonArc& mine = FArcs[k];
    const TPolygonArc& theirs = other.FArcs[(offset + k) % n];
    if ((mine.IsArc != 0) != (theirs.IsArc != 0)) return false;
    if (mine.IsArc != 0 && (FuzzyCompare(mine.Center.X, theirs.Center.X, tolerance) != 0 ||
                            FuzzyCompare(mine.Center.Y, theirs.Center.Y, tolerance) != 0)) {
      return false;
    }
  }
  return true;
}

}  // namespace varnest
