#pragma once
// The small computations that every operation on outlines with arc edges
// rests on: polar angles, sweeps, whether an angle lies on an arc, the box and
// the lowest point of an arc, and the arc record constructors.
//
// Angles are degrees, counter-clockwise from the positive x axis. Every
// comparison goes through FuzzyCompare with the tolerance the caller passes
// (the engine passes its Precision; 0 selects FuzzyCompare's default).

#include <cstdint>

#include "varnest/geometry/arc.h"
#include "varnest/geometry/point.h"

namespace varnest {

inline constexpr double kPi = 3.141592653589793;

// The conversions keep the order of operations of the original formulas
// (degrees x pi x (1/180)), so every build rounds them the same way.
inline double DegreesToRadians(double degrees) { return degrees * kPi * (1.0 / 180.0); }
inline double RadiansToDegrees(double radians) { return radians * 180.0 * (1.0 / kPi); }

inline bool IsClockwiseArc(const TPolygonArc& arc) { return arc.Clockwise != 0; }

double Distance(TPoint2D a, TPoint2D b);

// The polar angle, in radians, of a direction given by its sine and cosine
// ratios; the quadrant rule is the one of AngleOnCircle. Used for points on
// circles and for the directions of straight edges.
double PolarAngleRadians(double sineRatio, double cosineRatio, double tol);

TPoint2D ArcPoint(const TPolygonArc& arc, double angle);
// The polar angle of p about c on a circle of radius r. A zero radius has no
// direction; it gives 0 instead of dividing by zero.
double AngleOnCircle(TPoint2D p, TPoint2D c, double r, double tol);
double AngleAbout(TPoint2D p, TPoint2D c, double tol);

void ArcRadiusFromStart(TPolygonArc& arc);
void ComputeArcAngles(TPolygonArc& arc, double tol);
void ComputeSweep(TPolygonArc& arc, double tol);
// Degrees travelled from a to b in the given direction, in (0, 360].
double AngleTravelled(double a, double b, bool clockwise, double tol);
bool IsAngleOnArc(const TPolygonArc& arc, double start, double end, double angle, double tol);

// p and q are the arc's start and end vertices.
void ArcBoundingBox(const TPolygonArc& arc, TPoint2D p, TPoint2D q, double tol, double& minX,
                    double& minY, double& maxX, double& maxY);
// atEndHeight: the point only means "as low as the end vertex q".
void ArcLowestPoint(const TPolygonArc& arc, TPoint2D p, TPoint2D q, TPoint2D& point,
                    double& angle, bool& atEndHeight, double tol);

// The circular segment between the chord and the arc.
double SegmentArea(const TPolygonArc& arc);
TPoint2D RotatePoint(TPoint2D p, TPoint2D c, double angle);

// Arc record constructors; none of them sets IsArc.
TPolygonArc MakeArcFromPoints(bool clockwise, TPoint2D center, TPoint2D start, TPoint2D end,
                              double tol, int32_t id);
TPolygonArc MakeArcFromAngles(bool clockwise, TPoint2D center, double radius, double startAngle,
                              double endAngle, int32_t id);
TPolygonArc MakeArcToPoint(bool clockwise, TPoint2D center, double radius, double startAngle,
                           TPoint2D end, double tol, int32_t id);
TPolygonArc MakeArcFromPoint(bool clockwise, TPoint2D center, double radius, TPoint2D start,
                             double endAngle, double tol, int32_t id);

}  // namespace varnest
