#include <gtest/gtest.h>

#include "varnest/model/error_info.h"
#include "varnest/model/hole.h"
#include "varnest/model/part.h"
#include "varnest/model/piece.h"
#include "varnest/model/stock.h"

namespace varnest {
namespace {

TEST(PartRecord, ConstructionAndResetGiveTheUndefinedState) {
  part2d_any part;
  EXPECT_EQ(part.FShapeType, kShapeUndefined);
  EXPECT_EQ(part.FId, -1);
  EXPECT_EQ(part.FIndex, -1);
  EXPECT_EQ(part.FNumberOfRotations, 0);
  EXPECT_FALSE(part.FOutline || part.FCircle);

  part.FShapeType = 0;
  part.FOutline = TPolygon(3);
  part.FHoles.resize(2);
  part.FNumberOfHoles = 2;
  part.FRotatedOutlines.resize(4);
  part.FOrientations.resize(8);
  part.FId = 9;
  part.FAllowMirror = 1;
  part.Reset();
  EXPECT_EQ(part.FShapeType, kShapeUndefined);
  EXPECT_FALSE(part.FOutline);
  EXPECT_TRUE(part.FHoles.empty());
  EXPECT_TRUE(part.FRotatedOutlines.empty());
  EXPECT_TRUE(part.FOrientations.empty());
  EXPECT_EQ(part.FNumberOfHoles, 0);
  EXPECT_EQ(part.FAllowMirror, 0);
  EXPECT_EQ(part.FId, -1);
}

TEST(PartRecord, AnyNonZeroMirrorFlagMeansOneMirrorImage) {
  part2d_any part;
  for (int32_t flag : {1, 2, -1, 255}) {
    part.FAllowMirror = flag;
    EXPECT_EQ(part.MirrorCount(), 1) << flag;
  }
  part.FAllowMirror = 0;
  EXPECT_EQ(part.MirrorCount(), 0);
}

TEST(StockRecord, ConstructionAndReset) {
  stock2d_any stock;
  EXPECT_EQ(stock.FShapeType, kShapeUndefined);
  EXPECT_EQ(stock.FGridIndex, -1);
  stock.FCircle = TCircle({0, 0}, 5);
  stock.FMargin = 2.0;
  stock.FGridIndex = 3;
  stock.Reset();
  EXPECT_FALSE(stock.FCircle);
  EXPECT_EQ(stock.FMargin, 0.0);
  EXPECT_EQ(stock.FGridIndex, -1);
}

TEST(HoleRecord, CopyTakesFlagsShapeAndValue) {
  TTrueHole hole;
  EXPECT_EQ(hole.FId, -1);
  EXPECT_EQ(hole.FNestInside, 0);
  hole.FId = 4;
  hole.FNestInside = 1;
  hole.FUsable = 1;
  hole.FValue = 2.5;
  hole.FShape.FShapeType = 1;
  hole.FShape.FCircle = TCircle({1, 2}, 3);

  TTrueHole copy;
  copy = hole;
  EXPECT_EQ(copy.FId, 4);
  EXPECT_EQ(copy.FUsable, 1);
  EXPECT_EQ(copy.FValue, 2.5);
  ASSERT_TRUE(copy.FShape.FCircle);
  EXPECT_EQ(copy.FShape.FCircle->FRadius, 3.0);
  copy.FShape.FCircle->FRadius = 10.0;
  EXPECT_EQ(hole.FShape.FCircle->FRadius, 3.0);  // nothing is shared

  TTrueHole& alias = copy;
  copy = alias;
  EXPECT_EQ(copy.FShape.FCircle->FRadius, 10.0);
}

TEST(PieceRecord, CopyIsDeepAndAbsentShapesStayAbsent) {
  TPiece_any piece;
  piece.FPlacedOutline = TPolygon(4);
  piece.FPlacedHoles.resize(1);
  piece.FRotationIndex = 2;
  piece.FPosition = {3.0, 4.0};

  TPiece_any target;
  target.FPlacedOffsetCircle = TCircle({0, 0}, 1);
  target = piece;
  EXPECT_TRUE(target.FPlacedOutline);
  EXPECT_FALSE(target.FPlacedOffsetCircle);  // the source had none
  EXPECT_EQ(target.NumberOfHoles(), 1);
  EXPECT_EQ(target.FRotationIndex, 2);
  EXPECT_EQ(target.FPosition.Y, 4.0);

  TPiece_any& alias = target;
  target = alias;
  EXPECT_EQ(target.FPlacedOutline->NumberOfVertices(), 4);
}

TEST(ErrorInfo, RecordAndClear) {
  error_info info;
  EXPECT_EQ(info.FCode, 0);
  info.Record(kErrorPartHoleClockwise, 2, 1);
  EXPECT_EQ(info.FCode, 3);
  EXPECT_EQ(info.FSubIndex, 1);
  info.Clear();
  EXPECT_EQ(info.FCode + info.FIndex + info.FSubIndex, 0);
}

}  // namespace
}  // namespace varnest
