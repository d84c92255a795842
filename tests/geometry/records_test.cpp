#include <gtest/gtest.h>

#include "varnest/geometry/base_shape.h"
#include "varnest/geometry/circle.h"
#include "varnest/geometry/polygon.h"

namespace varnest {
namespace {

TPolygon Triangle() {
  TPolygon p(3);
  p.FVertices[0] = {10, 0.0, 0.0};
  p.FVertices[1] = {11, 4.0, 0.0};
  p.FVertices[2] = {12, 0.0, 3.0};
  p.FArcs[1].IsArc = 1;
  p.FArcs[1].Center = {2.0, 2.0};
  p.FArcs[1].Id = 5;
  p.FArea = 6.0;
  p.FMinX = 0.0;
  p.FMaxX = 4.0;
  p.FMaxY = 3.0;
  p.FWidth = 4.0;
  p.FHeight = 3.0;
  return p;
}

TEST(Polygon, ConstructionWithCountGivesZeroedStraightEdges) {
  TPolygon p(4);
  ASSERT_EQ(p.NumberOfVertices(), 4);
  ASSERT_EQ(p.FArcs.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(p.FVertices[i].X, 0.0);
    EXPECT_EQ(p.FVertices[i].Id, 0);
    EXPECT_EQ(p.FArcs[i].IsArc, 0);
  }
  EXPECT_EQ(TPolygon(-3).NumberOfVertices(), 0);
}

TEST(Polygon, CopyTakesEverythingAndSelfAssignmentDoesNothing) {
  const TPolygon source = Triangle();
  TPolygon target(7);
  target = source;
  EXPECT_EQ(target.NumberOfVertices(), 3);
  EXPECT_EQ(target.FVertices[2].Id, 12);
  EXPECT_EQ(target.FArcs[1].Center.Y, 2.0);
  EXPECT_EQ(target.FArea, 6.0);
  EXPECT_EQ(target.FWidth, 4.0);

  TPolygon& alias = target;
  target = alias;
  EXPECT_EQ(target.NumberOfVertices(), 3);
  EXPECT_EQ(target.FArcs[1].Id, 5);

  target = TPolygon();
  EXPECT_EQ(target.NumberOfVertices(), 0);
  EXPECT_TRUE(target.FArcs.empty());
}

TEST(Polygon, ClearDropsArraysAndSize) {
  TPolygon p = Triangle();
  p.Clear();
  EXPECT_EQ(p.NumberOfVertices(), 0);
  EXPECT_TRUE(p.FArcs.empty());
  EXPECT_EQ(p.FWidth, 0.0);
  EXPECT_EQ(p.FHeight, 0.0);
  EXPECT_EQ(p.FMaxX, 4.0);  // the rest of the box stays
}

TEST(OffsetPolygon, OuterBoxFollowsTheKindOfSource) {
  TOffsetPolygon offset;
  offset.FOuterMinX = -1.0;
  offset.FOuterMaxY = 9.0;

  TOffsetPolygon other;
  other = offset;  // offset from offset: outer box copied
  EXPECT_EQ(other.FOuterMinX, -1.0);
  EXPECT_EQ(other.FOuterMaxY, 9.0);

  other = Triangle();  // offset from plain: outer box cleared
  EXPECT_EQ(other.NumberOfVertices(), 3);
  EXPECT_EQ(other.FOuterMinX, 0.0);
  EXPECT_EQ(other.FOuterMaxY, 0.0);

  const TOffsetPolygon constructed(Triangle());
  EXPECT_EQ(constructed.FArea, 6.0);
  EXPECT_EQ(constructed.FOuterMaxX, 0.0);
}

TEST(OffsetCircle, AssignmentKeepsTheTargetsOuterBox) {
  TOffsetCircle target;
  target.FOuterMinX = 1.0;
  target.FOuterMaxX = 2.0;
  target.FOuterMinY = 3.0;
  target.FOuterMaxY = 4.0;

  TCircle circle({5.0, 6.0}, 7.0);
  circle.FArea = 8.0;
  circle.FMaxX = 12.0;
  target = circle;
  EXPECT_EQ(target.FRadius, 7.0);
  EXPECT_EQ(target.FCenter.X, 5.0);
  EXPECT_EQ(target.FArea, 8.0);
  EXPECT_EQ(target.FMaxX, 12.0);
  EXPECT_EQ(target.FOuterMinX, 1.0);
  EXPECT_EQ(target.FOuterMaxY, 4.0);

  TOffsetCircle source;
  source.FRadius = 9.0;
  source.FOuterMinX = 100.0;
  target = source;
  EXPECT_EQ(target.FRadius, 9.0);
  EXPECT_EQ(target.FOuterMinX, 1.0);

  EXPECT_EQ(TOffsetCircle(circle).FOuterMaxX, 0.0);
}

TEST(BaseShape, AssignmentCopiesOnlyTheSelectedShape) {
  TBaseShape source;
  source.FShapeType = 1;
  source.FPolygon = Triangle();  // not selected: must not travel
  source.FCircle = TCircle({1.0, 1.0}, 2.0);
  source.FWidth = 4.0;

  TBaseShape target;
  target.FPolygon = Triangle();
  target = source;
  EXPECT_EQ(target.FShapeType, 1);
  ASSERT_TRUE(target.FCircle.has_value());
  EXPECT_EQ(target.FCircle->FRadius, 2.0);
  EXPECT_FALSE(target.FPolygon.has_value());
  EXPECT_EQ(target.FWidth, 4.0);

  TBaseShape noCircle;
  noCircle.FShapeType = 1;
  target = noCircle;
  EXPECT_EQ(target.FShapeType, 1);
  EXPECT_FALSE(target.FCircle.has_value());

  TBaseShape& alias = source;
  source = alias;
  EXPECT_TRUE(source.FCircle.has_value());
  EXPECT_TRUE(source.FPolygon.has_value());  // self-assignment changed nothing

  source.Clear();
  EXPECT_EQ(source.FShapeType, 0);
  EXPECT_FALSE(source.FCircle || source.FPolygon);
  EXPECT_EQ(source.FWidth, 4.0);  // the box stays
}

}  // namespace
}  // namespace varnest
