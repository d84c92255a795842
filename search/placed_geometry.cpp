#include "varnest/search/placed_geometry.h"

#include <algorithm>

#include "varnest/geometry/arc_primitives.h"
#include "varnest/model/search_frame.h"

namespace varnest {

namespace {

TPoint2D Add(TPoint2D a, TPoint2D b) { return TPoint2D{a.X + b.X, a.Y + b.Y}; }

// Where a point of the part's own frame lands: turned about the centre of
// rotation, mirrored by x -> -x for a mirrored piece, moved by the position.
struct TPieceFrame {
  TPoint2D Center;
  double Angle = 0.0;  // degrees
  bool Mirrored = false;
  TPoint2D Position;

  TPoint2D Place(TPoint2D p) const {
    TPoint2D turned = RotatePoint(p, Center, Angle);
    if (Mirrored) turned.X = -turned.X;
    return Add(turned, Position);
  }
};

uint8_t Flipped(uint8_t clockwise) { return clockwise != 0 ? 0 : 1; }

// A defined polygon (outline or hole) carried into the stock.
TPolygon PlacePolygon(const TPolygon& defined, const TPieceFrame& frame) {
  TPolygon placed(defined.NumberOfVertices());
  for (size_t v = 0; v < defined.FVertices.size(); ++v) {
    const TPolygonVertex& vertex = defined.FVertices[v];
    const TPoint2D p = frame.Place(PointOf(vertex));
    placed.FVertices[v] = TPolygonVertex{vertex.Id, p.X, p.Y};
    TPolygonArc arc = v < defined.FArcs.size() ? defined.FArcs[v] : TPolygonArc();
    if (arc.IsArc != 0) {
      arc.Center = frame.Place(arc.Center);
      if (frame.Mirrored) arc.Clockwise = Flipped(arc.Clockwise);
    }
    placed.FArcs[v] = arc;
  }
  return placed;
}

// The grown outline as prepared has its box at the origin, and for direction
// 1 it was turned by 90 degrees; turned back it is the grown outline in the
// part's turned frame, moved to its box corner.
TPolygon PlaceGrownOutline(const TOffsetPolygon& grown, bool mirrored, const TSearchFrame& frame,
                           TPoint2D shift) {
  const double width = frame.AlongY() ? grown.FMaxY : grown.FMaxX;
  const auto place = [&](TPoint2D p) {
    TPoint2D q = frame.Unturned(p, grown.FMaxX);
    if (mirrored) q.X = width - q.X;
    return Add(q, shift);
  };
  TPolygon placed(grown.NumberOfVertices());
  for (size_t v = 0; v < grown.FVertices.size(); ++v) {
    const TPolygonVertex& vertex = grown.FVertices[v];
    const TPoint2D p = place(PointOf(vertex));
    placed.FVertices[v] = TPolygonVertex{vertex.Id, p.X, p.Y};
    TPolygonArc arc = v < grown.FArcs.size() ? grown.FArcs[v] : TPolygonArc();
    if (arc.IsArc != 0) {
      arc.Center = place(arc.Center);
      if (mirrored) arc.Clockwise = Flipped(arc.Clockwise);
    }
    placed.FArcs[v] = arc;
  }
  return placed;
}

void PlaceHoles(const part2d_any& part, const TPieceFrame& frame, TPiece_any& piece) {
  piece.FPlacedHoles.clear();
  if (part.FNumberOfHoles <= 0) return;
  piece.FPlacedHoles.resize(part.FHoles.size());
  for (size_t h = 0; h < part.FHoles.size(); ++h) {
    const TTrueHole& defined = part.FHoles[h];
    TTrueHole& placed = piece.FPlacedHoles[h];
    placed.FId = defined.FId;
    placed.FShape.FShapeType = defined.FShape.FShapeType;
    if (defined.FShape.IsPolygon()) {
      if (defined.FShape.FPolygon)
        placed.FShape.FPolygon = PlacePolygon(*defined.FShape.FPolygon, frame);
    } else if (defined.FShape.FCircle) {
      TCircle circle = *defined.FShape.FCircle;
      circle.FCenter = frame.Place(circle.FCenter);
      placed.FShape.FCircle = circle;
    }
  }
}

void BuildPlacedPiece(const TPiece_any& found, const part2d_any& part, TPoint2D corner,
                      const TRunSettings& settings, TPiece_any& piece) {
  const int32_t cutterType = settings.CutterType;
  const double d = settings.CutterDiameter;
  piece.AssignPlacement(found);
  piece.FPartId = part.FId;
  piece.FPlacedOutline.reset();
  piece.FPlacedCircle.reset();
  piece.FPlacedOffsetOutline.reset();
  piece.FPlacedOffsetCircle.reset();

  const int32_t k = found.FRotationIndex;
  const bool mirrored = found.FMirrored == 1;
  const bool rotationKnown = k >= 0 && static_cast<size_t>(k) < part.FRotationMultiples.size();
  const TOffsetPolygon* grown =
      part.IsPolygon() && k >= 0 && static_cast<size_t>(k) < part.FOffsetOutlines.size()
          ? &part.FOffsetOutlines[static_cast<size_t>(k)]
          : nullptr;

  // Corner of the grown shape's outer box in the turned frame.
  double ox = 0.0;
  double oy = 0.0;
  if (grown != nullptr) {
    ox = mirrored ? -grown->FOuterMaxX : grown->FOuterMinX;
    oy = grown->FOuterMinY;
  } else if (!part.IsPolygon() && part.FOffsetCircle) {
    ox = mirrored ? -part.FOffsetCircle->FOuterMaxX : part.FOffsetCircle->FOuterMinX;
    oy = part.FOffsetCircle->FOuterMinY;
  }

  // With CutterType 0 the grid position is that of the grown box; otherwise
  // it is that of the plain box, which lies d further in.
  const TPoint2D g = found.FGridPosition;
  TPoint2D position{g.X - ox + corner.X, g.Y - oy + corner.Y};
  if (cutterType != 0) {
    position.X -= d;
    position.Y -= d;
  }
  piece.FPosition = position;
  piece.FOffsetPosition = TPoint2D{position.X - d, position.Y - d};

  TPieceFrame frame;
  frame.Center = part.FCenterOfRotation;
  frame.Angle =
      rotationKnown ? part.FRotationMultiples[static_cast<size_t>(k)] * part.FRotationStep : 0.0;
  frame.Mirrored = mirrored;
  frame.Position = position;

  if (part.IsPolygon()) {
    if (part.FOutline) piece.FPlacedOutline = PlacePolygon(*part.FOutline, frame);
    if (grown != nullptr) {
      TPoint2D shift = Add(g, corner);
      if (cutterType == 1) {
        shift.X -= d;
        shift.Y -= d;
      }
      piece.FPlacedOffsetOutline = PlaceGrownOutline(*grown, mirrored, settings.Frame(), shift);
    }
  } else if (part.FCircle) {
    // The circle itself is not turned: only its holes turn with the part.
    const TCircle& defined = *part.FCircle;
    const TPoint2D center{(mirrored ? -defined.FCenter.X : defined.FCenter.X) + position.X,
                          defined.FCenter.Y + position.Y};
    piece.FPlacedCircle = TCircle(center, defined.FRadius);
    const double grownRadius = part.FOffsetCircle ? part.FOffsetCircle->FRadius : defined.FRadius;
    piece.FPlacedOffsetCircle = TCircle(center, grownRadius);
  }
  PlaceHoles(part, frame, piece);
}

}  // namespace

TPoint2D StockCorner(const stock2d_any& stock) {
  if (stock.IsPolygon()) {
    return stock.FOutline ? TPoint2D{stock.FOutline->FMinX, stock.FOutline->FMinY} : TPoint2D{};
  }
  if (!stock.FCircle) return TPoint2D{};
  // The grid of a circle stock is that of its usable circle (the radius less
  // the margin), concentric with the defined one.
  if (!stock.FOffsetCircle) return TPoint2D{stock.FCircle->FMinX, stock.FCircle->FMinY};
  const double usable = stock.FOffsetCircle->FRadius;
  return TPoint2D{stock.FCircle->FCenter.X - usable, stock.FCircle->FCenter.Y - usable};
}

void BuildPlacedLayout(const TSearchLayout& best, solutie& solution, const part2d_array_any& parts,
                       const stock2d_array_any& stocks, Chromosome& layout, int32_t stockIndex,
                       const TRunSettings& settings) {
  const TPoint2D corner = StockCorner(stocks[static_cast<size_t>(stockIndex)]);
  const size_t count = static_cast<size_t>(std::max(best.FNumberOfPlacedPieces, 0));
  layout.FPieces.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const TPiece_any& found = best.FPieces[i];
    const part2d_any& part = parts[static_cast<size_t>(found.FPartIndex)];
    BuildPlacedPiece(found, part, corner, settings, layout.FPieces[i]);
    solution.FPartStock[static_cast<size_t>(found.FPartIndex)] = stockIndex;
  }
  layout.FPlacedArea = best.FPlacedArea;
}

}  // namespace varnest
