#pragma once
// Scan-line crossings of one closed contour.
//
// The rasteriser looks at a shape one horizontal scan line at a time: the
// line y = k * resolution between strip k - 1 below and strip k above. For
// every place where a contour meets that line it needs how far in x the
// contour reaches inside the strip above and inside the strip below before it
// leaves the strip or comes back to the line. To make that a walk from vertex
// to vertex, arcs are first cut into pieces that rise or fall monotonically
// (a piece then meets every horizontal line at most once), and circles into
// four quarter arcs.
//
// Every record uses up at least one edge of the prepared contour that no
// other record uses, so a contour never gives more records than it has edges.

#include <cstdint>
#include <vector>

#include "varnest/geometry/arc.h"
#include "varnest/geometry/circle.h"
#include "varnest/geometry/point.h"
#include "varnest/geometry/polygon.h"

namespace varnest {

// One closed contour ready for scanning. Points[k] is the start of edge k and
// edge k ends at Points[(k + 1) mod Count()]. Of a straight edge only IsArc = 0
// means anything; an arc piece carries IsArc = 1, Clockwise, Radius, Center,
// StartPoint and EndPoint (the angle fields are not used). Every arc piece is
// monotone in y: it touches the lowest or highest point of its circle only at
// its ends.
struct TScanContour {
  std::vector<TPoint2D> Points;
  std::vector<TPolygonArc> Edges;

  int32_t Count() const { return static_cast<int32_t>(Points.size()); }
};

// One place where a contour meets a scan line. All x values are in outline
// units. States: 0 the contour does not enter that strip here; 1 it runs
// through the strip up to the strip's far line; 2 it enters the strip and
// comes back to this line.
struct TGridCrossing {
  uint8_t UpperState = 0;
  uint8_t LowerState = 0;
  double X = 0.0;  // for a horizontal run on the line: the run end this record belongs to
  double LowerMin = 0.0;
  double LowerMax = 0.0;
  double UpperMin = 0.0;
  double UpperMax = 0.0;
};

// Room for the pieces of a polygon once its arcs are split; may exceed what
// SplitArcsAtExtremes emits.
int32_t CountSplitEdges(const TPolygon& polygon, double precision);

// Appends the polygon's edges to the contour, arcs cut at the lowest and
// highest points of their circles where they pass them.
void SplitArcsAtExtremes(const TPolygon& polygon, double precision, TScanContour& contour);

// Replaces the contour by the four counter-clockwise quarter arcs of the
// circle, starting at its lowest point.
void CircleToQuarterArcs(const TCircle& circle, TScanContour& contour);

// Shape kind 0 takes the polygon, kind 1 the circle; a missing shape or any
// other kind gives an empty contour.
TScanContour PrepareScanContour(int32_t shapeKind, const TPolygon* polygon, const TCircle* circle,
                                double precision);

// The x where a monotone arc piece meets the line y. Returns false, leaving x
// as it was, when y lies outside the piece's height range (ends included,
// under the tolerance).
bool ArcXAtY(const TPolygonArc& arc, double y, double precision, double& x);

// Appends the records of one contour on the scan line y, where yBelow and
// yAbove are the neighbouring scan lines. The caller keeps one array across
// all contours of a scan line.
void FindCrossings(const TScanContour& contour, double yBelow, double y, double yAbove,
                   std::vector<TGridCrossing>& crossings, double precision);

// Least and greatest x of the contour, bulges of arc pieces included.
// Returns false for an empty contour.
bool ContourXExtent(const TScanContour& contour, double& minX, double& maxX);

}  // namespace varnest
