#include <gtest/gtest.h>

#include <cmath>

#include "varnest/geometry/arc_primitives.h"
#include "varnest/geometry/base_shape.h"
#include "varnest/geometry/circle.h"
#include "tests/geometry/shape_corpus.h"

namespace varnest {
namespace {

using corpus::kPrecision;

TEST(Circle, GrowAndShrinkNeverGoNegative) {
  struct Case {
    bool grow;
    double by, expected;
  };
  const Case cases[] = {{false, 2, 0}, {false, 3, 0}, {false, 1, 1}, {true, -3, 0},
                        {true, -2, 0}, {true, 0.5, 2.5}};
  for (const Case& c : cases) {
    TCircle circle({0, 0}, 2);
    if (c.grow) {
      circle.Grow(c.by);
    } else {
      circle.Shrink(c.by);
    }
    EXPECT_EQ(circle.FRadius, c.expected) << (c.grow ? "grow " : "shrink ") << c.by;
  }
  TCircle shrunk({4, 4}, 1);
  shrunk.Shrink(5);
  shrunk.ComputeBoundingBox();
  EXPECT_EQ(shrunk.FWidth, 0);
  EXPECT_EQ(shrunk.FMinX, 4);
}

TEST(Circle, BoxAreaAndRotationCentre) {
  TCircle circle({2, 3}, 1);
  circle.ComputeBoundingBox();
  circle.ComputeArea();
  EXPECT_EQ(circle.FMinX, 1);
  EXPECT_EQ(circle.FMinY, 2);
  EXPECT_EQ(circle.FMaxX, 3);
  EXPECT_EQ(circle.FMaxY, 4);
  EXPECT_EQ(circle.FWidth, 2);
  EXPECT_EQ(circle.FHeight, 2);
  EXPECT_DOUBLE_EQ(circle.FArea, kPi);
  EXPECT_EQ(circle.RotationCenterPoint(0, {9, 9}).X, 9);
  for (int mode : {1, 2, -1}) {
    const TPoint2D c = circle.RotationCenterPoint(mode, {9, 9});
    EXPECT_EQ(c.X, 2);
    EXPECT_EQ(c.Y, 3);
  }
  // Moving and turning touch the centre only.
  circle.Translate(1, 1);
  EXPECT_EQ(circle.FCenter.X, 3);
  EXPECT_EQ(circle.FMinX, 1);
  circle.Rotate({0, 0}, 90);
  EXPECT_NEAR(circle.FCenter.X, -4, 1e-12);
  EXPECT_NEAR(circle.FCenter.Y, 3, 1e-12);
  EXPECT_EQ(circle.FRadius, 1);
}

TEST(Circle, SameShapeUnderTolerance) {
  const TCircle a({1, 1}, 5);
  EXPECT_TRUE(a.SameShape(TCircle({1, 1}, 5 + 1e-7), kPrecision));
  EXPECT_FALSE(a.SameShape(TCircle({1, 1}, 5.1), kPrecision));
  EXPECT_FALSE(a.SameShape(TCircle({1, 1.1}, 5), kPrecision));
}

TEST(BaseShape, BoxIsCopiedFromTheSelectedShape) {
  TBaseShape shape;
  shape.FPolygon = corpus::DShape();
  shape.ComputeBoundingBox(kPrecision);
  EXPECT_EQ(shape.FMaxX, 15);
  EXPECT_EQ(shape.FHeight, 10);
  shape.FShapeType = 1;  // now the (absent) circle is selected
  shape.ComputeBoundingBox(kPrecision);
  EXPECT_EQ(shape.FMaxX, 0);
  shape.FCircle = TCircle({5, 5}, 2);
  shape.ComputeBoundingBox(kPrecision);
  EXPECT_EQ(shape.FMinX, 3);
  shape.Translate(1, 0);
  EXPECT_EQ(shape.FCircle->FCenter.X, 6);
  EXPECT_EQ(shape.FMinX, 3);  // the box stays
  shape.Rotate({0, 0}, 180);
  EXPECT_NEAR(shape.FCircle->FCenter.X, -6, 1e-12);
}

TEST(BaseShape, Emptiness) {
  TBaseShape shape;
  EXPECT_TRUE(shape.IsEmpty());  // a polygon hole never defined
  shape.FPolygon = TPolygon();
  EXPECT_TRUE(shape.IsEmpty());
  shape.FPolygon = corpus::UnitSquare();
  EXPECT_FALSE(shape.IsEmpty());
  shape.FShapeType = 1;
  EXPECT_TRUE(shape.IsEmpty());
  shape.FCircle = TCircle({0, 0}, 0);
  EXPECT_TRUE(shape.IsEmpty());
  shape.FCircle->FRadius = 1;
  EXPECT_FALSE(shape.IsEmpty());
}

}  // namespace
}  // namespace varnest
