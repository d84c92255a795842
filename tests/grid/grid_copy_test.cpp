#include <gtest/gtest.h>

#include "varnest/grid/grid.h"
#include "varnest/grid/grid_sets.h"

namespace varnest {
namespace {

// Three strips of an L-like shape 10 units wide, with a spare strip on top as
// the rasteriser leaves it.
TGrid SampleGrid() {
  TGrid grid;
  grid.FNumberOfLines = 3;
  grid.FLines.resize(4);
  grid.FLines[0].Append(0, 10);
  grid.FLines[1].Append(0, 4);
  grid.FLines[1].Append(6, 7);
  grid.FLines[2].Append(0, 4);
  grid.FVertexCells = {{0, 0}, {0, 10}, {2, 4}, {1, 7}};
  grid.FScaledWidth = 10;
  grid.FScaledHeight = 30;
  grid.FResolution = 0.5;
  grid.FScale = 2.0;
  grid.FLastX = 3;
  grid.FLastLine = 1;
  return grid;
}

void ExpectSameContent(const TGrid& a, const TGrid& b) {
  ASSERT_EQ(a.FNumberOfLines, b.FNumberOfLines);
  for (int32_t i = 0; i < a.FNumberOfLines; ++i) EXPECT_EQ(a.FLines[i], b.FLines[i]) << i;
  EXPECT_EQ(a.FVertexCells, b.FVertexCells);
  EXPECT_EQ(a.FScaledWidth, b.FScaledWidth);
  EXPECT_EQ(a.FScaledHeight, b.FScaledHeight);
}

TEST(GridCopy, TransformsStripsAndCellsWithoutTheMemo) {
  const TGrid source = SampleGrid();
  TGrid mirrorX, mirrorY, turned;
  mirrorX.AssignMirrorX(source);
  mirrorY.AssignMirrorY(source);
  turned.AssignRotate180(source);

  for (const TGrid* copy : {&mirrorX, &mirrorY, &turned}) {
    EXPECT_EQ(copy->FLines.size(), 3u);  // no spare strip in a copy
    EXPECT_EQ(copy->FLastX, -1);
    EXPECT_EQ(copy->FLastLine, -1);
    EXPECT_EQ(copy->FScaledWidth, 10);
    EXPECT_EQ(copy->FResolution, 0.5);
    EXPECT_EQ(copy->FScale, 2.0);
  }
  EXPECT_EQ(mirrorX.FLines[1].FIntervals, (std::vector<TGridInterval>{{3, 4}, {6, 10}}));
  EXPECT_EQ(mirrorX.FVertexCells, (std::vector<TGridCell>{{0, 10}, {0, 0}, {2, 6}, {1, 3}}));
  EXPECT_EQ(mirrorY.FLines[0].FIntervals, source.FLines[2].FIntervals);
  EXPECT_EQ(mirrorY.FVertexCells, (std::vector<TGridCell>{{2, 0}, {2, 10}, {0, 4}, {1, 7}}));
  EXPECT_EQ(turned.FLines[0].FIntervals, (std::vector<TGridInterval>{{6, 10}}));
}

TEST(GridCopy, MirrorsComposeAsExpected) {
  const TGrid source = SampleGrid();
  TGrid once, twice;
  once.AssignMirrorX(source);
  twice.AssignMirrorX(once);
  TGrid plain;
  plain.Assign(source);
  ExpectSameContent(twice, plain);

  TGrid xThenY, turned;
  xThenY.AssignMirrorY(once);
  turned.AssignRotate180(source);
  ExpectSameContent(xThenY, turned);

  // A copy onto itself, through any transform, uses the unchanged source.
  TGrid self = SampleGrid();
  self.AssignRotate180(self);
  ExpectSameContent(self, turned);
}

TEST(GridCopy, AssignOntoItselfChangesNothingNotEvenTheMemo) {
  TGrid grid = SampleGrid();
  grid.Assign(grid);
  EXPECT_EQ(grid.FLastX, 3);
  EXPECT_EQ(grid.FLastLine, 1);
  EXPECT_EQ(grid.FLines.size(), 4u);
}

TEST(GridCopy, AssignReusesAndResizesTheTarget) {
  TGrid target = SampleGrid();
  TGrid small;
  small.FNumberOfLines = 1;
  small.FLines.resize(1);
  small.FLines[0].Append(2, 2);
  small.FScaledWidth = 5;
  target.Assign(small);
  ASSERT_EQ(target.FLines.size(), 1u);
  EXPECT_EQ(target.FLines[0].FIntervals, (std::vector<TGridInterval>{{2, 2}}));
  EXPECT_TRUE(target.FVertexCells.empty());
  target.Release();
  EXPECT_EQ(target.FNumberOfLines, 0);
  EXPECT_TRUE(target.FLines.empty());
  EXPECT_EQ(target.FResolution, 1.0);
  EXPECT_EQ(target.FScaledWidth, 5);  // the scaled size stays
}

}  // namespace
}  // namespace varnest

namespace varnest {
namespace {

TEST(GridCopy, SearchFrameFollowsCornerAndDirection) {
  const TGrid source = SampleGrid();
  TGrid plain, mirrorX, mirrorY, turned;
  plain.Assign(source);
  mirrorX.AssignMirrorX(source);
  mirrorY.AssignMirrorY(source);
  turned.AssignRotate180(source);
  struct Case {
    int32_t corner, direction;
    const TGrid* expected;
  };
  const Case cases[] = {
      {0, 0, &plain},   {1, 0, &mirrorX}, {2, 0, &turned},  {3, 0, &mirrorY},
      {0, 1, &mirrorX}, {1, 1, &turned},  {2, 1, &mirrorY}, {3, 1, &plain},
  };
  for (const Case& c : cases) {
    TGrid framed;
    AssignInSearchFrame(framed, source, TSearchFrame(c.corner, c.direction));
    SCOPED_TRACE(testing::Message() << "corner " << c.corner << " direction " << c.direction);
    ExpectSameContent(framed, *c.expected);
  }
}

}  // namespace
}  // namespace varnest
