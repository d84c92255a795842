// The search frame: the flips that realise the starting corner, direction
// and mirror image, and the way back to the caller's coordinates.

#include "varnest/model/search_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fixtures/settings.h"
#include "search_fixture.h"
#include "varnest/geometry/arc_primitives.h"
#include "varnest/grid/grid_sets.h"
#include "varnest/grid/rasterise.h"
#include "varnest/model/direction_turn.h"
#include "varnest/model/input_check.h"
#include "varnest/model/part_preparation.h"
#include "varnest/model/stock_preparation.h"
#include "varnest/search/placed_geometry.h"
#include "varnest/search/placement.h"

namespace varnest {
namespace {

constexpr double kPrecision = 1e-6;

std::string Name(int32_t corner, int32_t direction, bool mirrored) {
  return "corner " + std::to_string(corner) + ", direction " + std::to_string(direction) +
         (mirrored ? ", mirrored" : "");
}

// A box found at (x, y) of the search frame, placed back in the caller's
// frame and carried into the search frame again, is the box the grid holds:
// at the bottom of its strips, or, flipped top to bottom an odd number of
// times, at their top.
TEST(SearchFrame, APlacedBoxMapsBackOntoItsGrid) {
  const TFrameExtent stock{10.3, 7.7, 8.0};
  const TFrameExtent part{2.1, 3.4, 4.0};
  const double x = 1.25;
  const double y = 2.0;
  for (int32_t direction = 0; direction < 2; ++direction) {
    for (int32_t corner = 0; corner < 4; ++corner) {
      for (const bool mirrored : {false, true}) {
        const TSearchFrame frame(corner, direction);
        const TPoint2D corner0 = frame.PlacedCorner(x, y, part, mirrored, stock);
        // The part's box in the caller's frame: turned back, width and
        // height trade places.
        const double w = frame.AlongY() ? part.Height : part.Width;
        const double h = frame.AlongY() ? part.Width : part.Height;
        double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
        for (const TPoint2D p :
             {corner0, TPoint2D{corner0.X + w, corner0.Y}, TPoint2D{corner0.X, corner0.Y + h},
              TPoint2D{corner0.X + w, corner0.Y + h}}) {
          const TPoint2D q = frame.ToSearchFrame(p, stock);
          minX = std::min(minX, q.X);
          minY = std::min(minY, q.Y);
          maxX = std::max(maxX, q.X);
          maxY = std::max(maxY, q.Y);
        }
        const bool flippedY = frame.FlipsY() != (mirrored && frame.MirrorFlipsY());
        const double bottom = flippedY ? y + part.StripHeight - part.Height : y;
        const std::string name = Name(corner, direction, mirrored);
        EXPECT_NEAR(minX, x, 1e-12) << name;
        EXPECT_NEAR(maxX, x + part.Width, 1e-12) << name;
        EXPECT_NEAR(minY, bottom, 1e-12) << name;
        EXPECT_NEAR(maxY, bottom + part.Height, 1e-12) << name;
      }
    }
  }
}

// Points along an outline: its vertices and points along every edge, arcs
// followed on their circle.
std::vector<TPoint2D> Samples(const TPolygon& outline) {
  std::vector<TPoint2D> points;
  const size_t n = outline.FVertices.size();
  for (size_t i = 0; i < n; ++i) {
    const TPoint2D a = PointOf(outline.FVertices[i]);
    const TPoint2D b = PointOf(outline.FVertices[(i + 1) % n]);
    const TPolygonArc& arc = outline.FArcs[i];
    constexpr int kSteps = 40;
    for (int k = 0; k < kSteps; ++k) {
      const double t = static_cast<double>(k) / kSteps;
      if (arc.IsArc == 0) {
        points.push_back({a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)});
        continue;
      }
      const double r = Distance(arc.Center, a);
      const double from = std::atan2(a.Y - arc.Center.Y, a.X - arc.Center.X);
      double to = std::atan2(b.Y - arc.Center.Y, b.X - arc.Center.X);
      const double turn = 2.0 * kPi;
      if (arc.Clockwise != 0) {
        while (to >= from) to -= turn;
      } else {
        while (to <= from) to += turn;
      }
      const double angle = from + t * (to - from);
      points.push_back({arc.Center.X + r * std::cos(angle), arc.Center.Y + r * std::sin(angle)});
    }
  }
  return points;
}

// Whether the grid marks the search-frame point: a strip whose span holds its
// x, the strip below too for a point on a strip line.
bool Marked(const TGrid& grid, TPoint2D p, double resolution, double scale) {
  const double strip = p.Y / resolution;
  std::vector<int32_t> lines{static_cast<int32_t>(std::floor(strip))};
  if (std::fabs(strip - std::round(strip)) < 1e-9)
    lines.push_back(static_cast<int32_t>(std::round(strip)) - 1);
  const double x = p.X * scale;
  for (const int32_t line : lines) {
    if (line < 0 || line >= grid.FNumberOfLines) continue;

    for (const TGridInterval& span : grid.FLines[static_cast<size_t>(line)].FIntervals) {
      if (span.FStart - 2.0 <= x && x <= span.FEnd + 2.0) return true;
    }
  }
  return false;
}

// For every corner, direction and mirror image, a part whose width and
// height are not whole strips is placed back exactly inside the cells that
// its stamped grid marks: the grids, not the shape's own box, decide where a
// piece may go.
TEST(SearchFrame, EveryPlacedOutlineLiesInTheCellsItsGridMarks) {
  constexpr double kResolution = 1.0;
  for (int32_t direction = 0; direction < 2; ++direction) {
    for (int32_t corner = 0; corner < 4; ++corner) {
      testing::SearchWorld world;
      part2d_any part;
      part.FShapeType = kShapePolygon;
      part.FIndex = 0;
      part.FAllowMirror = 1;
      part.FNumberOfRotations = 1;
      // A kite, widest across its middle, with one edge bulging out: no side
      // a whole number of strips, and its width changes in every strip.
      // Its box is 2.1 x 3.4, so mirrored across a strip of 3 it must move
      // by 0.9.
      TPolygon outline(4);
      outline.FVertices = {{0, 1.0, 0}, {0, 2.1, 1.2}, {0, 1.0, 3.4}, {0, 0, 1.5}};
      outline.FArcs[1] = TPolygonArc{1, 0, 0, 0, 0, 0, 0, {-1.13, 0.96}, {}, {}};
      part.FOutline = outline;
      world.parts.push_back(part);
      stock2d_any stock;
      stock.FShapeType = kShapePolygon;
      stock.FIndex = 0;
      TPolygon sheet(4);
      sheet.FVertices = {{0, 2, 3}, {0, 12.3, 3}, {0, 12.3, 10.7}, {0, 2, 10.7}};
      stock.FOutline = sheet;
      world.stocks.push_back(stock);

      TRunSettings& settings = world.settings;
      settings = fixtures::Cutting(kPrecision, 0.0, 1, 0, kResolution);
      settings.OptimizationStartingCorner = corner;
      settings.OptimizationStartingDirection = direction;
      error_info findings;
      CheckInput(world.parts, world.stocks, kPrecision, findings);
      PreparePart(world.parts[0], settings);
      PrepareStock(world.stocks[0], kPrecision);
      const double scale =
          1e8 / std::max(PreparedExtent(world.parts[0]), PreparedExtent(world.stocks[0]));
      settings.Scale = scale;
      MakeAreasAbsolute(world.parts, world.stocks);
      TurnForStartingDirection(world.parts, world.stocks, direction);
      world.Finish();
      BuildStockGrids(world.grids, world.stocks, world.stockOrder, settings);
      BuildPartGrids(world.grids, world.parts, world.partOrder, world.partEqualsPrevious, settings);
      TSearchContext& context = world.context;
      const TSearchFrame frame = settings.Frame();
      const TStockExtents extents = StockExtents(world.stocks[0]);
      const TFrameExtent sheetExtent{
          extents.Width, extents.Height,
          NumberOfStrips(extents.Height, kResolution, kPrecision) * kResolution};
      const TPoint2D sheetCorner = StockCorner(world.stocks[0]);
      BeginStockLayout(context, world.stocks[0]);

      for (const TPartOrientation& orientation : world.parts[0].FOrientations) {
        const std::string name = Name(corner, direction, orientation.Mirrored != 0);
        const TGrid& grid =
            world.grids.FOffsetPartGrids[static_cast<size_t>(orientation.GridIndex)];
        const int32_t x = static_cast<int32_t>(1.3 * scale);
        const int32_t line = 2;
        TSearchLayout layout;
        RecordPlacement(context, world.parts[0], 0, orientation, x, line, layout);
        TGrid stamped;
        stamped.FNumberOfLines = context.FStockGrid.FNumberOfLines;
        stamped.FLines.resize(static_cast<size_t>(stamped.FNumberOfLines) + 1);
        StampPart(stamped, grid, x, line);

        Chromosome committed;
        BuildPlacedLayout(layout, world.solution, world.parts, world.stocks, committed, 0,
                          settings);
        ASSERT_EQ(committed.FPieces.size(), 1u) << name;
        for (const TPoint2D p : Samples(*committed.FPieces[0].FPlacedOutline)) {
          const TPoint2D relative{p.X - sheetCorner.X, p.Y - sheetCorner.Y};
          const TPoint2D q = frame.ToSearchFrame(relative, sheetExtent);
          EXPECT_TRUE(Marked(stamped, q, kResolution, scale))
              << name << ": (" << p.X << ", " << p.Y << ") is at (" << q.X << ", " << q.Y
              << ") of the search frame";
        }
      }
    }
  }
}

}  // namespace
}  // namespace varnest
