#include "varnest/grid/rasterise.h"

#include <algorithm>
#include <vector>

#include "varnest/geometry/fuzzy.h"
#include "varnest/grid/scan_contour.h"

namespace varnest {

namespace {

// Record room per scan line: a record uses up at least one contour edge, and
// splitting gives at most three pieces per polygon edge.
int64_t RecordRoom(int32_t shapeKind, const TPolygon* polygon) {
  if (shapeKind == 1) return 4;
  return polygon != nullptr ? 3 * static_cast<int64_t>(polygon->NumberOfVertices()) : 0;
}

int64_t HoleRecordRoom(const TTrueHole& hole) {
  const TBaseShape& shape = hole.FShape;
  if (shape.FShapeType != 0) return 4;
  return shape.FPolygon ? 3 * static_cast<int64_t>(shape.FPolygon->NumberOfVertices()) : 0;
}

TScanContour HoleContour(const TTrueHole& hole, double precision) {
  const TBaseShape& shape = hole.FShape;
  if (shape.FShapeType == 0) {
    return PrepareScanContour(0, shape.FPolygon ? &*shape.FPolygon : nullptr, nullptr, precision);
  }
  return PrepareScanContour(1, nullptr, shape.FCircle ? &*shape.FCircle : nullptr, precision);
}

// The five sort keys compared under the tolerance. A NaN key ranks equal to
// everything: FuzzyCompare calls NaN greater from both sides, and a gnome
// sort on a relation that is not antisymmetric swaps the same two records
// forever.
int CompareKey(double a, double b, double precision) {
  if (std::isnan(a) || std::isnan(b)) return 0;
  return FuzzyCompare(a, b, precision);
}

bool Greater(const TGridCrossing& a, const TGridCrossing& b, double precision) {
  const double ka[] = {a.X, a.UpperMin, a.UpperMax, a.LowerMin, a.LowerMax};
  const double kb[] = {b.X, b.UpperMin, b.UpperMax, b.LowerMin, b.LowerMax};
  for (size_t k = 0; k < 5; ++k) {
    const int c = CompareKey(ka[k], kb[k], precision);
    if (c != 0) return c > 0;
  }
  return false;
}

// A scan line carries few records, and the gnome sort keeps records equal in
// all five keys in their order.
void GnomeSort(std::vector<TGridCrossing>& records, double precision) {
  const int64_t count = static_cast<int64_t>(records.size());
  int64_t i = 0;
  while (i < count - 1) {
    if (Greater(records[static_cast<size_t>(i)], records[static_cast<size_t>(i + 1)], precision)) {
      std::swap(records[static_cast<size_t>(i)], records[static_cast<size_t>(i + 1)]);
      if (i > 0) --i;
    } else {
      ++i;
    }
  }
}

// Ends that cross within the tolerance are stored in order, so that every
// interval keeps FStart <= FEnd.
void AppendOrdered(TGridLine& line, int32_t a, int32_t b) {
  line.Append(std::min(a, b), std::max(a, b));
}

struct TLineWriter {
  double Scale;
  int32_t WallEnd;  // scaled x of the right wall of a stock
  std::vector<const TGridCrossing*> Selected;

  int32_t Scaled(double v) const { return ScaledRound(v * Scale); }

  // Appends the intervals of one side of the line: the spans between pairs
  // of records, or with walls, the spans outside them. A closed contour
  // gives an even number of records per side; an odd count (degenerate input
  // under the tolerance) drops the last record rather than read past the
  // others.
  void Append(const std::vector<TGridCrossing>& records, bool upper, bool walls, TGridLine& line) {
    Selected.clear();
    for (const TGridCrossing& r : records) {
      if ((upper ? r.UpperState : r.LowerState) != 0) Selected.push_back(&r);
    }
    const size_t m = Selected.size();
    if (m == 0 && !walls) return;
    const size_t paired = m & ~static_cast<size_t>(1);
    auto low = [&](size_t k) {
      return Scaled(upper ? Selected[k]->UpperMin : Selected[k]->LowerMin);
    };
    auto high = [&](size_t k) {
      return Scaled(upper ? Selected[k]->UpperMax : Selected[k]->LowerMax);
    };
    if (!walls) {
      for (size_t j = 0; j + 1 < paired; j += 2) AppendOrdered(line, low(j), high(j + 1));
      return;
    }
    // The walls pair with the first and the last record, the records in
    // between pair with each other. With every record dropped the walls pair
    // with each other and the band is blocked whole.
    if (paired == 0) {
      AppendOrdered(line, 0, WallEnd);
      return;
    }
    AppendOrdered(line, 0, high(0));
    for (size_t j = 1; j + 1 < paired; j += 2) AppendOrdered(line, low(j), high(j + 1));
    AppendOrdered(line, low(paired - 1), WallEnd);
  }
};

// Overhangs within a strip can make the appended starts decrease; placement
// expects increasing starts with no two intervals touching.
void SortAndNormalize(TGridLine& line) {
  std::sort(line.FIntervals.begin(), line.FIntervals.end(),
            [](const TGridInterval& a, const TGridInterval& b) {
              return a.FStart != b.FStart ? a.FStart < b.FStart : a.FEnd < b.FEnd;
            });
  line.Normalize();
}

// Least and greatest height of a contour; its points include the lowest and
// highest point of every arc, so these are the contour's own.
void ContourHeights(const TScanContour& contour, double& low, double& high) {
  low = high = contour.Points[0].Y;
  for (const TPoint2D& point : contour.Points) {
    low = std::min(low, point.Y);
    high = std::max(high, point.Y);
  }
}

}  // namespace

namespace {

void BuildGrid(TGrid& grid, const TPolygon* polygon, const TCircle* circle,
               std::span<const TTrueHole> holes, TGridMode mode, const TRunSettings& settings) {
  const double resolution = settings.Resolution;
  const double precision = settings.Precision;
  const double scale = settings.Scale;
  const int32_t shapeKind = polygon != nullptr ? 0 : 1;
  grid.Release();
  grid.FScale = scale;

  const bool isPolygon = shapeKind == 0 && polygon != nullptr;
  const bool isCircle = shapeKind == 1 && circle != nullptr;
  double width = 0.0;
  double height = 0.0;
  if (isPolygon) {
    width = polygon->FWidth;
    height = polygon->FHeight;
  } else if (isCircle) {
    width = circle->FMaxX;
    height = circle->FMaxY;
  }
  grid.FScaledWidth = ScaledTrunc(width * scale);
  grid.FScaledHeight = ScaledRound(height * scale);
  const int32_t n = NumberOfStrips(height, resolution, precision);
  grid.FNumberOfLines = n;
  grid.FResolution = resolution;
  grid.FLastX = -1;
  grid.FLastLine = -1;
  grid.FLines.assign(static_cast<size_t>(n) + 1, TGridLine{});

  // Vertex cells: every outline vertex, or the lowest, leftmost, rightmost
  // and highest points of a circle centred at (r, r).
  if (isPolygon) {
    grid.FVertexCells.reserve(polygon->FVertices.size());
    for (const TPolygonVertex& v : polygon->FVertices) {
      grid.FVertexCells.push_back(
          TGridCell{LineOf(v.Y, resolution, precision), ScaledRound(v.X * scale)});
    }
  } else if (isCircle) {
    const double r = circle->FRadius;
    const int32_t middle = LineOf(r, resolution, precision);
    grid.FVertexCells = {{0, ScaledRound(r * scale)},
                         {middle, 0},
                         {middle, ScaledRound(2 * r * scale)},
                         {LineOf(2 * r, resolution, precision), ScaledRound(r * scale)}};
  }
  if (n == 0) return;

  const bool partMode = mode == TGridMode::kPart;
  int64_t room = RecordRoom(shapeKind, polygon);
  for (const TTrueHole& hole : holes) room += HoleRecordRoom(hole);

  // The outline first, then the holes that take part, in hole order: every
  // hole of a stock, only the usable holes of a part (the others are solid).
  std::vector<TScanContour> contours;
  std::vector<uint8_t> isHole;
  contours.push_back(PrepareScanContour(shapeKind, polygon, circle, precision));
  isHole.push_back(0);
  for (const TTrueHole& hole : holes) {
    if (partMode && hole.FUsable == 0) continue;
    contours.push_back(HoleContour(hole, precision));
    isHole.push_back(1);
  }
  std::vector<uint8_t> reached(contours.size(), 0);

  const int32_t wallEnd =
      isCircle ? ScaledRound(2 * circle->FRadius * scale) : ScaledRound(width * scale);
  TLineWriter writer{scale, wallEnd, {}};
  std::vector<TGridLine> lower(static_cast<size_t>(n) + 1);
  std::vector<TGridCrossing> records;
  records.reserve(static_cast<size_t>(std::min<int64_t>(room, 1 << 20)));

  // A part's usable holes lie inside its outline and open it: the records of
  // all its contours pair up in order. A stock blocks everything outside its
  // outline and inside any defect, whatever the defects do to the outline
  // and to each other, so each of its contours is paired on its own and the
  // blocked spans are joined.
  const auto collect = [&](size_t c, double yBelow, double y, double yAbove) {
    const size_t before = records.size();
    FindCrossings(contours[c], yBelow, y, yAbove, records, precision);
    if (records.size() > before) reached[c] = 1;
  };
  for (int32_t k = 0; k <= n; ++k) {
    const double y = k * resolution;
    const double yBelow = (k - 1) * resolution;
    const double yAbove = (k + 1) * resolution;
    TGridLine& above = grid.FLines[static_cast<size_t>(k)];
    TGridLine& below = lower[static_cast<size_t>(k)];
    if (partMode) {
      records.clear();
      for (size_t c = 0; c < contours.size(); ++c) collect(c, yBelow, y, yAbove);
      GnomeSort(records, precision);
      writer.Append(records, true, false, above);
      writer.Append(records, false, false, below);
    } else {
      for (size_t c = 0; c < contours.size(); ++c) {
        records.clear();
        collect(c, yBelow, y, yAbove);
        GnomeSort(records, precision);
        const bool outline = isHole[c] == 0;
        writer.Append(records, true, outline, above);
        writer.Append(records, false, outline, below);
      }
    }
    SortAndNormalize(above);
    SortAndNormalize(below);
  }

  // Strip i, the band between scan lines i and i + 1, takes what the
  // boundary reaches above line i and below line i + 1.
  for (int32_t i = 0; i < n; ++i) {
    grid.FLines[static_cast<size_t>(i)].MergeShifted(lower[static_cast<size_t>(i) + 1], 0);
  }

  // A defect that lies strictly between two scan lines meets no line and
  // gives no records, yet parts must not cover it: block its x extent in its
  // strip. A usable hole of a part needs nothing of the kind: the material
  // around it in the same strip covers its extent anyway.
  if (!partMode) {
    for (size_t c = 0; c < contours.size(); ++c) {
      if (isHole[c] == 0 || reached[c] != 0 || contours[c].Count() == 0) continue;
      double low = 0.0;
      double high = 0.0;
      ContourHeights(contours[c], low, high);
      if (FuzzyCompare(low, 0.0, precision) < 0 ||
          FuzzyCompare(high, n * resolution, precision) > 0) {
        continue;
      }
      double minX = 0.0;
      double maxX = 0.0;
      ContourXExtent(contours[c], minX, maxX);
      const int32_t strip = std::clamp(LineOf(low, resolution, precision), 0, n - 1);
      TGridLine defect;
      AppendOrdered(defect, writer.Scaled(minX), writer.Scaled(maxX));
      grid.FLines[static_cast<size_t>(strip)].MergeShifted(defect, 0);
    }
  }

  // The strip above the last one stays an empty spare, even where the
  // outline pokes above the top line within the tolerance.
  grid.FLines[static_cast<size_t>(n)].Clear();
}

}  // namespace

void BuildFromShape(TGrid& grid, const TPolygon& polygon, std::span<const TTrueHole> holes,
                    TGridMode mode, const TRunSettings& settings) {
  BuildGrid(grid, &polygon, nullptr, holes, mode, settings);
}

void BuildFromShape(TGrid& grid, const TCircle& circle, std::span<const TTrueHole> holes,
                    TGridMode mode, const TRunSettings& settings) {
  BuildGrid(grid, nullptr, &circle, holes, mode, settings);
}

}  // namespace varnest
