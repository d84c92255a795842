#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fixtures/demo_problem.h"
#include "fixtures/settings.h"
#include "varnest/engine/varnest2d.h"
#include "varnest/geometry/arc_primitives.h"
#include "varnest/model/equality.h"
#include "varnest/model/hole_usability.h"
#include "varnest/model/input_check.h"
#include "varnest/model/part_preparation.h"

namespace varnest {
namespace {

constexpr double kPrecision = 1e-6;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct TCutter {
  double diameter = 0.0;
  int32_t type = 0;
  double resolution = 0.1;
  int32_t rotationCenter = 1;
};

// Defines polygon parts through the engine, as a client does, and runs the
// input check.
class Parts {
 public:
  explicit Parts(int32_t count) { engine.set_NumberOfParts(count); }

  void Polygon(int32_t index, std::initializer_list<std::pair<double, double>> vertices,
               double step, int32_t holes = 0, int32_t mirror = 0, double cx = 0, double cy = 0) {
    engine.SetPart(index, 0, static_cast<int32_t>(vertices.size()), 0, 0, 0, holes, step, cx, cy,
                   mirror, 0, index);
    int32_t v = 0;
    for (const auto& [x, y] : vertices) {
      engine.SetPartVertex(index, v, x, y, v + 1);
      ++v;
    }
  }
  void PolygonHole(int32_t index, int32_t hole,
                   std::initializer_list<std::pair<double, double>> vertices,
                   int32_t nestInside = 1) {
    engine.SetPartHole(index, hole, 0, static_cast<int32_t>(vertices.size()), 0, 0, 0, nestInside,
                       hole);
    int32_t v = 0;
    for (const auto& [x, y] : vertices) {
      engine.SetPartHoleVertex(index, hole, v, x, y, 0);
      ++v;
    }
  }
  part2d_any& Checked(int32_t index) {
    if (!checked) {
      error_info info;
      CheckInput(engine.FParts, engine.FStocks, kPrecision, info);
      checked = true;
    }
    return engine.FParts[static_cast<size_t>(index)];
  }
  part2d_any& Prepared(int32_t index, const TCutter& cutter = {}) {
    part2d_any& part = Checked(index);
    PreparePart(part, fixtures::Cutting(kPrecision, cutter.diameter, cutter.rotationCenter,
                                        cutter.type, cutter.resolution));
    return part;
  }

  TVarnest2D engine;
  bool checked = false;
};

const std::initializer_list<std::pair<double, double>> kL = {{0, 0},   {20, 0},  {20, 10},
                                                             {10, 10}, {10, 20}, {0, 20}};
const std::initializer_list<std::pair<double, double>> kSquare = {
    {0, 0}, {10, 0}, {10, 10}, {0, 10}};

double RecomputedArea(TPolygon p) {
  p.ComputeArea();
  return p.FArea;
}

TEST(GrowthDistance, RoundsUpToWholeStrips) {
  struct Case {
    double d;
    int32_t type;
    double resolution, expected;
  };
  const Case cases[] =
      {
          {0.25, 0, 0.1, 0.25},   {0.25, 1, 0.1, 3 * 0.1}, {0.3, 1, 0.1, 3 * 0.1},
          {0.5, 1, 0.1, 5 * 0.1}, {0.0, 1, 0.1, 0.0},      {0.25, 2, 0.1, 3 * 0.1},
          {0.25, 1, 0.0, 0.25},  // no strip height: nothing to round to
      };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(GrowthDistance(c.d, c.type, c.resolution, kPrecision), c.expected)
        << c.d << " type " << c.type << " resolution " << c.resolution;
  }
  EXPECT_TRUE(std::isnan(GrowthDistance(kNaN, 1, 0.1, kPrecision)));
}

TEST(PreparePolygonPart, KeptRotationsOfTheL) {
  struct Case {
    double step;
    int32_t kept;
  };
  for (const Case c : {Case{45, 8}, Case{90, 4}, Case{180, 2}, Case{0, 1}, Case{120, 3}}) {
    Parts parts(1);
    parts.Polygon(0, kL, c.step);
    const part2d_any& part = parts.Prepared(0);
    ASSERT_EQ(part.FNumberOfRotations, c.kept) << c.step;
    ASSERT_EQ(part.FRotatedOutlines.size(), static_cast<size_t>(c.kept));
    ASSERT_EQ(part.FOffsetOutlines.size(), static_cast<size_t>(c.kept));
    EXPECT_EQ(part.FOrientations.size(), static_cast<size_t>(c.kept));
    for (int32_t k = 0; k < c.kept; ++k) {
      EXPECT_EQ(part.FRotationMultiples[k], k) << c.step;
      const TPolygon& turned = part.FRotatedOutlines[k];
      EXPECT_NEAR(RecomputedArea(turned), 300, 1e-9);
      TPolygon box = turned;
      box.ComputeBoundingBox(kPrecision);
      EXPECT_NEAR(box.FMinX, 0, 1e-9);
      EXPECT_NEAR(box.FMinY, 0, 1e-9);
      EXPECT_EQ(turned.FMinX, 0);
      EXPECT_NEAR(turned.FMaxX, box.FMaxX, 1e-9);
      // Without a cutter the grown outline is the outline.
      EXPECT_NEAR(part.FOffsetOutlines[k].FMaxX, turned.FMaxX, 1e-9);
      EXPECT_NEAR(part.FOffsetOutlines[k].FMaxY, turned.FMaxY, 1e-9);
    }
  }
}

TEST(PreparePolygonPart, SymmetricRotationsAreDropped) {
  for (int32_t mode : {0, 1, 2}) {
    Parts parts(1);
    parts.Polygon(0, kSquare, 90);
    const part2d_any& part = parts.Prepared(0, TCutter{0, 0, 0.1, mode});
    EXPECT_EQ(part.FNumberOfRotations, 1) << mode;
    ASSERT_EQ(part.FRotationMultiples.size(), 1u);
    EXPECT_EQ(part.FRotationMultiples[0], 0);
  }
  Parts diamond(1);
  diamond.Polygon(0, kSquare, 45);
  const part2d_any& part = diamond.Prepared(0);
  ASSERT_EQ(part.FNumberOfRotations, 2);
  EXPECT_EQ(part.FRotationMultiples[1], 1);
  EXPECT_NEAR(part.FRotatedOutlines[1].FMaxX, 10 * std::sqrt(2.0), 1e-9);
}

TEST(PreparePolygonPart, ClockwiseOutlineEndsCounterClockwise) {
  Parts parts(1);
  parts.Polygon(0, {{0, 0}, {0, 20}, {10, 20}, {10, 10}, {20, 10}, {20, 0}}, 45);
  part2d_any& part = parts.Prepared(0, TCutter{0.5, 0, 0.1, 1});
  EXPECT_LT(part.FArea, 0);
  ASSERT_EQ(part.FNumberOfRotations, 8);
  for (const TPolygon& turned : part.FRotatedOutlines) {
    EXPECT_FALSE(turned.IsClockwise(kPrecision));
    EXPECT_NEAR(RecomputedArea(turned), 300, 1e-9);
  }
  for (const TOffsetPolygon& grown : part.FOffsetOutlines) {
    EXPECT_FALSE(grown.IsClockwise(kPrecision));
    EXPECT_GT(RecomputedArea(grown), 300);
  }
}

// The grown outline of every rotation is the grown rotation 0 turned: its box
// exceeds the plain outline's by the growth distance on every side, and the
// outer box is the turned outline's own box widened by the cutter diameter.
TEST(PreparePolygonPart, GrownOutlinesAndOuterBoxes) {
  Parts parts(1);
  parts.Polygon(0, kL, 90, 0, 0, 100, 50);
  const TCutter cutter{0.25, 1, 0.1, 0};
  const double g = 3 * 0.1;
  part2d_any& part = parts.Prepared(0, cutter);
  ASSERT_EQ(part.FNumberOfRotations, 4);
  for (int32_t k = 0; k < 4; ++k) {
    const TPolygon& plain = part.FRotatedOutlines[k];
    const TOffsetPolygon& grown = part.FOffsetOutlines[k];
    EXPECT_EQ(grown.FMinX, 0);
    EXPECT_NEAR(grown.FMaxX, plain.FMaxX + 2 * g, 1e-9) << k;
    EXPECT_NEAR(grown.FMaxY, plain.FMaxY + 2 * g, 1e-9) << k;
    // The L turned by k x 90 about (100, 50).
    TPolygon turned = *part.FOutline;
    turned.Rotate({100, 50}, 90.0 * k);
    turned.ComputeBoundingBox(kPrecision);
    EXPECT_NEAR(grown.FOuterMinX, turned.FMinX - 0.25, 1e-9) << k;
    EXPECT_NEAR(grown.FOuterMinY, turned.FMinY - 0.25, 1e-9) << k;
    EXPECT_NEAR(grown.FOuterMaxX, turned.FMaxX + 0.25, 1e-9) << k;
    EXPECT_NEAR(grown.FOuterMaxY, turned.FMaxY + 0.25, 1e-9) << k;
  }
  EXPECT_EQ(part.FCenterOfRotation.X, 100);
}

// The holes of the grown shape sit where the grown outline put the plain
// outline: moved by the growth distance g, not by the cutter diameter d.
TEST(PreparePolygonPart, ShiftedHolesFollowTheGrownOutline) {
  Parts parts(1);
  parts.Polygon(0, {{0, 0}, {40, 0}, {40, 40}, {0, 40}}, 90, 1);
  parts.PolygonHole(0, 0, {{10, 10}, {30, 10}, {30, 20}, {10, 20}});
  const double g = 3 * 0.1;
  part2d_any& part = parts.Prepared(0, TCutter{0.25, 1, 0.1, 1});
  ASSERT_EQ(part.FNumberOfRotations, 4);  // the hole is off centre
  for (size_t k = 0; k < 4; ++k) {
    const TPolygon& rotated = *part.FRotatedHoles[k][0].FShape.FPolygon;
    const TPolygon& shifted = *part.FShiftedHoles[k][0].FShape.FPolygon;
    ASSERT_EQ(rotated.NumberOfVertices(), shifted.NumberOfVertices());
    for (size_t v = 0; v < rotated.FVertices.size(); ++v) {
      EXPECT_NEAR(shifted.FVertices[v].X - rotated.FVertices[v].X, g, 1e-12);
      EXPECT_NEAR(shifted.FVertices[v].Y - rotated.FVertices[v].Y, g, 1e-12);
    }
    // The hole was shrunk by the cutter diameter: 20 x 10 becomes 19.5 x 9.5.
    TPolygon measured = rotated;
    measured.ComputeBoundingBox(kPrecision);
    EXPECT_NEAR(measured.FWidth + measured.FHeight, 19.5 + 9.5, 1e-9);
    EXPECT_FALSE(rotated.IsClockwise(kPrecision));
  }
  // Rotation 1 is a quarter turn: the hole lies across.
  TPolygon across = *part.FRotatedHoles[1][0].FShape.FPolygon;
  across.ComputeBoundingBox(kPrecision);
  EXPECT_NEAR(across.FWidth, 9.5, 1e-9);
}

TEST(PreparePolygonPart, HoleSwallowedByTheCutterIsNoHole) {
  Parts parts(1);
  parts.Polygon(0, {{0, 0}, {40, 0}, {40, 40}, {0, 40}}, 0, 1);
  parts.PolygonHole(0, 0, {{10, 10}, {30, 10}, {30, 10.4}, {10, 10.4}});
  part2d_any& part = parts.Prepared(0, TCutter{0.25, 1, 0.1, 1});
  ASSERT_EQ(part.FNumberOfRotations, 1);
  EXPECT_TRUE(part.FRotatedHoles[0][0].FShape.IsEmpty());
  EXPECT_TRUE(part.FShiftedHoles[0][0].FShape.IsEmpty());
  stock2d_array_any stocks;
  CheckHoleUsability(parts.engine.FParts, stocks);  // the part itself would fit... nothing
  EXPECT_EQ(part.FShiftedHoles[0][0].FUsable, 0);
  EXPECT_EQ(part.FHoles[0].FUsable, 0);
}

TEST(PrepareCirclePart, ShiftedAndGrownCircles) {
  TVarnest2D engine;
  engine.set_NumberOfParts(2);
  engine.SetPart(0, 1, 0, 20, 30, 10, 0, 0, 0, 0, 0, 0, 0);
  engine.SetPart(1, 1, 0, 20, 30, 10, 0, 0, 0, 0, 1, 0, 1);
  error_info info;
  CheckInput(engine.FParts, engine.FStocks, kPrecision, info);
  part2d_any& plain = engine.FParts[0];
  PrepareCirclePart(plain, fixtures::Cutting(kPrecision, 0.0, 1, 0, 0.1));
  ASSERT_EQ(plain.FNumberOfRotations, 1);
  EXPECT_EQ(plain.FShiftedCircle->FCenter.X, 10);
  EXPECT_EQ(plain.FShiftedCircle->FCenter.Y, 10);
  EXPECT_EQ(plain.FShiftedCircle->FMinX, 0);
  EXPECT_EQ(plain.FShiftedCircle->FMaxX, 20);
  EXPECT_EQ(plain.FShiftedCircle->FMaxY, 20);
  EXPECT_EQ(plain.FCenterOfRotation.X, 20);  // the circle's centre for mode 1
  EXPECT_EQ(plain.FOrientations.size(), 1u);

  part2d_any& cut = engine.FParts[1];
  PrepareCirclePart(cut, fixtures::Cutting(kPrecision, 0.25, 1, 1, 0.1));
  const TOffsetCircle& grown = *cut.FOffsetCircle;
  EXPECT_NEAR(grown.FRadius, 10.3, 1e-12);
  EXPECT_NEAR(grown.FWidth, 20.6, 1e-12);
  EXPECT_NEAR(grown.FCenter.X, 10.3, 1e-12);
  EXPECT_EQ(grown.FMinX, 0);
  EXPECT_NEAR(grown.FMaxX, 20.6, 1e-12);
  EXPECT_NEAR(grown.FOuterMinX, 9.75, 1e-12);
  EXPECT_NEAR(grown.FOuterMaxX, 30.25, 1e-12);
  EXPECT_NEAR(grown.FOuterMinY, 19.75, 1e-12);
  EXPECT_NEAR(grown.FOuterMaxY, 40.25, 1e-12);
  EXPECT_EQ(cut.FOrientations.size(), 2u);  // mirror allowed
  EXPECT_NEAR(PreparedExtent(cut), 20.6, 1e-12);
}

TEST(PrepareCirclePart, HolesTurnAndRepeatingTurnsAreDropped) {
  TVarnest2D engine;
  engine.set_NumberOfParts(2);
  // A hole on the centre turns into itself; an off-centre hole does not.
  engine.SetPart(0, 1, 0, 50, 50, 20, 1, 90, 0, 0, 0, 0, 0);
  engine.SetPartHole(0, 0, 1, 0, 50, 50, 5, 1, 0);
  engine.SetPart(1, 1, 0, 50, 50, 20, 1, 90, 0, 0, 0, 0, 1);
  engine.SetPartHole(1, 0, 1, 0, 60, 50, 5, 1, 0);
  error_info info;
  CheckInput(engine.FParts, engine.FStocks, kPrecision, info);
  PrepareCirclePart(engine.FParts[0], fixtures::Cutting(kPrecision, 0.0, 1, 0, 0.1));
  PrepareCirclePart(engine.FParts[1], fixtures::Cutting(kPrecision, 1.0, 1, 1, 0.1));
  EXPECT_EQ(engine.FParts[0].FNumberOfRotations, 1);
  const part2d_any& off = engine.FParts[1];
  ASSERT_EQ(off.FNumberOfRotations, 4);
  // Rotation 1: the hole at (60, 50) turned about (50, 50) by 90 is at
  // (50, 60), in the frame of the shifted circle (30, 30) less.
  const TCircle& turned = *off.FRotatedHoles[1][0].FShape.FCircle;
  EXPECT_NEAR(turned.FCenter.X, 20, 1e-9);
  EXPECT_NEAR(turned.FCenter.Y, 30, 1e-9);
  EXPECT_EQ(turned.FRadius, 4);  // shrunk by the cutter
  const TCircle& shifted = *off.FShiftedHoles[1][0].FShape.FCircle;
  EXPECT_NEAR(shifted.FCenter.X, 21, 1e-9);  // moved by g = 1
  EXPECT_NEAR(off.FRotatedHoles[1][0].FShape.FMinX, 15, 1e-9);
}

// Parts that cannot be nested take no part in the run: no rotations, no
// shapes, no orientations.
TEST(PreparePart, DegeneratePartsAreExcluded) {
  struct Case {
    const char* name;
    int32_t type;
    std::vector<std::pair<double, double>> vertices;
    double radius;
    double cutter;
    bool nestable;
  };
  const Case cases[] = {
      {"square", 0, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0, 0.5, true},
      {"circle", 1, {}, 5, 0.5, true},
      {"unknown kind", 7, {}, 5, 0.5, false},
      {"no vertices", 0, {}, 0, 0.5, false},
      {"segment", 0, {{0, 0}, {10, 0}}, 0, 0.5, false},
      {"collinear", 0, {{0, 0}, {5, 5}, {10, 10}}, 0, 0.5, false},
      {"NaN vertex", 0, {{0, 0}, {kNaN, 0}, {0, 10}}, 0, 0.5, false},
      {"infinite vertex", 0, {{0, 0}, {INFINITY, 0}, {0, 10}}, 0, 0.5, false},
      {"huge vertex", 0, {{0, 0}, {1e308, 0}, {1e308, 1e308}}, 0, 0.5, false},
      {"zero radius", 1, {}, 0, 0.5, false},
      {"negative radius", 1, {}, -5, 0.5, false},
      {"NaN radius", 1, {}, kNaN, 0.5, false},
      {"NaN cutter", 0, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0, kNaN, false},
      {"NaN cutter circle", 1, {}, 5, kNaN, false},
      {"infinite cutter", 0, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0, INFINITY, false},
  };
  for (const Case& c : cases) {
    TVarnest2D engine;
    engine.set_NumberOfParts(1);
    engine.SetPart(0, c.type, static_cast<int32_t>(c.vertices.size()), 3, 3, c.radius, 0, 90, 0, 0,
                   1, 0, 0);
    for (size_t v = 0; v < c.vertices.size(); ++v) {
      engine.SetPartVertex(0, static_cast<int32_t>(v), c.vertices[v].first, c.vertices[v].second,
                           0);
    }
    error_info info;
    CheckInput(engine.FParts, engine.FStocks, kPrecision, info);
    part2d_any& part = engine.FParts[0];
    PreparePart(part, fixtures::Cutting(kPrecision, c.cutter, 1, 0, 0.1));
    EXPECT_EQ(IsNestable(part), c.nestable) << c.name;
    if (c.nestable) {
      EXPECT_GT(PreparedExtent(part), 0) << c.name;
      continue;
    }
    EXPECT_EQ(part.FNumberOfRotations, 0) << c.name;
    EXPECT_TRUE(part.FRotatedOutlines.empty() && part.FOffsetOutlines.empty()) << c.name;
    EXPECT_TRUE(part.FRotatedHoles.empty() && part.FShiftedHoles.empty()) << c.name;
    EXPECT_TRUE(part.FOrientations.empty() && part.FRotationMultiples.empty()) << c.name;
    EXPECT_FALSE(part.FOffsetCircle.has_value()) << c.name;
    EXPECT_EQ(PreparedExtent(part), 0) << c.name;
  }
}

TEST(PreparePolygonPart, MirrorFlagSizesTheOrientationTable) {
  for (int32_t mirror : {0, 1, 2, -1}) {
    Parts parts(1);
    parts.Polygon(0, kL, 90, 0, mirror);
    const part2d_any& part = parts.Prepared(0);
    EXPECT_EQ(part.FOrientations.size(), static_cast<size_t>(4 * (part.MirrorCount() + 1)))
        << mirror;
    EXPECT_EQ(part.FAllowMirror, mirror);  // stored as given
    EXPECT_EQ(part.FOrientations[0].RotationIndex, -1);
  }
}

// --- Equality -----------------------------------------------------------------

TEST(SamePart, PolygonCentresMatterOnlyForGivenCentres) {
  for (int32_t mode : {0, 1, 2}) {
    Parts parts(2);
    parts.Polygon(0, kL, 90, 0, 0, 1, 1);
    parts.Polygon(1, kL, 90, 0, 0, 5, 5);
    parts.Checked(0);
    EXPECT_EQ(SamePart(parts.engine.FParts[0], parts.engine.FParts[1], kPrecision, mode), mode != 0)
        << mode;
  }
}

TEST(SamePart, WhatMakesPartsDiffer) {
  Parts parts(8);
  parts.Polygon(0, kL, 90);
  parts.Polygon(1, kL, 90);        // equal to 0
  parts.Polygon(2, kL, 45);        // another step
  parts.Polygon(3, kL, 90, 0, 1);  // mirrored
  parts.Polygon(4, kL, 90, 0, 2);  // mirrored, another flag value
  parts.Polygon(5, {{20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}, {0, 0}}, 90);  // other start
  parts.Polygon(6, kL, 90, 1);
  parts.PolygonHole(6, 0, {{1, 1}, {2, 1}, {2, 2}}, 1);
  parts.Polygon(7, kL, 90, 1);
  parts.PolygonHole(7, 0, {{1, 1}, {2, 1}, {2, 2}}, 0);  // the same hole, not for nesting
  const part2d_array_any& p = parts.engine.FParts;
  parts.Checked(0);
  EXPECT_TRUE(SamePart(p[0], p[1], kPrecision, 1));
  EXPECT_FALSE(SamePart(p[0], p[2], kPrecision, 1));
  EXPECT_FALSE(SamePart(p[0], p[3], kPrecision, 1));
  EXPECT_TRUE(SamePart(p[3], p[4], kPrecision, 1));
  EXPECT_TRUE(SamePart(p[0], p[5], kPrecision, 1));
  EXPECT_FALSE(SamePart(p[0], p[6], kPrecision, 1));
  EXPECT_FALSE(SamePart(p[6], p[7], kPrecision, 1));
}

TEST(SamePart, CirclesCompareMirrorAndTheStepThatTurnsTheirHoles) {
  TVarnest2D engine;
  engine.set_NumberOfParts(7);
  engine.SetPart(0, 1, 0, 5, 5, 3, 0, 90, 0, 0, 0, 0, 0);
  engine.SetPart(1, 1, 0, 5, 5, 3, 0, 45, 0, 0, 0, 0, 1);  // step differs, no holes
  engine.SetPart(2, 1, 0, 5, 5, 3, 0, 90, 0, 0, 1, 0, 2);  // mirror differs
  engine.SetPart(3, 1, 0, 5, 5, 3, 1, 90, 0, 0, 0, 0, 3);
  engine.SetPartHole(3, 0, 1, 0, 6, 5, 1, 0, 0);
  engine.SetPart(4, 1, 0, 5, 5, 3, 1, 45, 0, 0, 0, 0, 4);  // holes and another step
  engine.SetPartHole(4, 0, 1, 0, 6, 5, 1, 0, 0);
  engine.SetPart(5, 1, 0, 5, 5, 3, 1, 90, 1, 1, 0, 0, 5);  // holes and another given centre
  engine.SetPartHole(5, 0, 1, 0, 6, 5, 1, 0, 0);
  engine.SetPart(6, 7, 0, 5, 5, 3, 0, 90, 0, 0, 0, 0, 6);  // an unknown kind
  const part2d_array_any& p = engine.FParts;
  EXPECT_TRUE(SamePart(p[0], p[1], kPrecision, 1));
  EXPECT_FALSE(SamePart(p[0], p[2], kPrecision, 1));
  EXPECT_FALSE(SamePart(p[3], p[4], kPrecision, 1));
  EXPECT_TRUE(SamePart(p[3], p[5], kPrecision, 1));
  EXPECT_FALSE(SamePart(p[3], p[5], kPrecision, 0));
  EXPECT_FALSE(SamePart(p[6], p[6], kPrecision, 1));
}

TEST(SameHole, KindFlagAndShape) {
  TTrueHole a;
  a.FShape.FShapeType = 1;
  a.FShape.FCircle = TCircle({1, 1}, 2);
  TTrueHole b = a;
  EXPECT_TRUE(SameHole(a, b, kPrecision));
  b.FNestInside = 1;
  EXPECT_FALSE(SameHole(a, b, kPrecision));
  b.FNestInside = 0;
  b.FShape.FCircle->FRadius = 2.5;
  EXPECT_FALSE(SameHole(a, b, kPrecision));
  TTrueHole emptyA, emptyB;
  EXPECT_TRUE(SameHole(emptyA, emptyB, kPrecision));  // both no hole
  EXPECT_FALSE(SameHole(emptyA, a, kPrecision));
}

// --- Sharing the preparation ---------------------------------------------------------

void ExpectSamePolygon(const TPolygon& a, const TPolygon& b, const std::string& what) {
  ASSERT_EQ(a.FVertices.size(), b.FVertices.size()) << what;
  for (size_t i = 0; i < a.FVertices.size(); ++i) {
    EXPECT_EQ(a.FVertices[i].X, b.FVertices[i].X) << what << " vertex " << i;
    EXPECT_EQ(a.FVertices[i].Y, b.FVertices[i].Y) << what << " vertex " << i;
    EXPECT_EQ(a.FVertices[i].Id, b.FVertices[i].Id) << what << " vertex " << i;
    const TPolygonArc& x = a.FArcs[i];
    const TPolygonArc& y = b.FArcs[i];
    EXPECT_EQ(x.IsArc, y.IsArc) << what << " arc " << i;
    EXPECT_EQ(x.Clockwise, y.Clockwise) << what << " arc " << i;
    EXPECT_EQ(x.Radius, y.Radius) << what << " arc " << i;
    EXPECT_EQ(x.StartAngle, y.StartAngle) << what << " arc " << i;
    EXPECT_EQ(x.EndAngle, y.EndAngle) << what << " arc " << i;
    EXPECT_EQ(x.SweepAngle, y.SweepAngle) << what << " arc " << i;
    EXPECT_EQ(x.Center.X, y.Center.X) << what << " arc " << i;
    EXPECT_EQ(x.Center.Y, y.Center.Y) << what << " arc " << i;
  }
  EXPECT_EQ(a.FArea, b.FArea) << what;
  EXPECT_EQ(a.FMinX, b.FMinX) << what;
  EXPECT_EQ(a.FMinY, b.FMinY) << what;
  EXPECT_EQ(a.FMaxX, b.FMaxX) << what;
  EXPECT_EQ(a.FMaxY, b.FMaxY) << what;
  EXPECT_EQ(a.FWidth, b.FWidth) << what;
  EXPECT_EQ(a.FHeight, b.FHeight) << what;
}

void ExpectSameHoles(const std::vector<TTrueHole>& a, const std::vector<TTrueHole>& b,
                     const std::string& what) {
  ASSERT_EQ(a.size(), b.size()) << what;
  for (size_t h = 0; h < a.size(); ++h) {
    EXPECT_EQ(a[h].FId, b[h].FId) << what;
    EXPECT_EQ(a[h].FNestInside, b[h].FNestInside) << what;
    EXPECT_EQ(a[h].FShape.FShapeType, b[h].FShape.FShapeType) << what;
    ASSERT_EQ(a[h].FShape.FPolygon.has_value(), b[h].FShape.FPolygon.has_value()) << what;
    if (a[h].FShape.FPolygon) ExpectSamePolygon(*a[h].FShape.FPolygon, *b[h].FShape.FPolygon, what);
    EXPECT_EQ(a[h].FShape.FMinX, b[h].FShape.FMinX) << what;
    EXPECT_EQ(a[h].FShape.FWidth, b[h].FShape.FWidth) << what;
  }
}

void ExpectSamePreparation(const part2d_any& a, const part2d_any& b, const std::string& what) {
  ExpectSamePolygon(*a.FOutline, *b.FOutline, what + " outline");
  EXPECT_EQ(a.FCenterOfRotation.X, b.FCenterOfRotation.X) << what;
  EXPECT_EQ(a.FCenterOfRotation.Y, b.FCenterOfRotation.Y) << what;
  ASSERT_EQ(a.FNumberOfRotations, b.FNumberOfRotations) << what;
  EXPECT_EQ(a.FRotationMultiples, b.FRotationMultiples) << what;
  EXPECT_EQ(a.FOrientations.size(), b.FOrientations.size()) << what;
  for (size_t k = 0; k < static_cast<size_t>(a.FNumberOfRotations); ++k) {
    const std::string rotation = what + " rotation " + std::to_string(k);
    ExpectSamePolygon(a.FRotatedOutlines[k], b.FRotatedOutlines[k], rotation + " plain");
    ExpectSamePolygon(a.FOffsetOutlines[k], b.FOffsetOutlines[k], rotation + " grown");
    EXPECT_EQ(a.FOffsetOutlines[k].FOuterMinX, b.FOffsetOutlines[k].FOuterMinX) << rotation;
    EXPECT_EQ(a.FOffsetOutlines[k].FOuterMinY, b.FOffsetOutlines[k].FOuterMinY) << rotation;
    EXPECT_EQ(a.FOffsetOutlines[k].FOuterMaxX, b.FOffsetOutlines[k].FOuterMaxX) << rotation;
    EXPECT_EQ(a.FOffsetOutlines[k].FOuterMaxY, b.FOffsetOutlines[k].FOuterMaxY) << rotation;
    ExpectSameHoles(a.FRotatedHoles[k], b.FRotatedHoles[k], rotation + " rotated holes");
    ExpectSameHoles(a.FShiftedHoles[k], b.FShiftedHoles[k], rotation + " shifted holes");
  }
  ExpectSameHoles(a.FHoles, b.FHoles, what + " defined holes");
}

// The demo's parts 0 to 19 are one shape: 1 to 19 copy the preparation of
// their predecessor, and each copy equals a fresh preparation of that part.
TEST(CopyPreparedPart, DemoPartsShareTheirPreparation) {
  for (double step : {0.0, 90.0, 45.0}) {
    TVarnest2D engine;
    fixtures::DefineDemoProblem(engine, fixtures::DemoSettings{step, 1});
    engine.set_CutterDiameter(0.5);
    error_info info;
    CheckInput(engine.FParts, engine.FStocks, engine.FPrecision, info);
    const part2d_array_any pristine = engine.FParts;
    part2d_array_any& parts = engine.FParts;
    const auto prepare = [&](part2d_any& part) {
      PreparePart(
          part, fixtures::Cutting(engine.FPrecision, engine.FCutterDiameter, engine.FRotationCenter,
                                  engine.FCutterType, engine.FResolution));
    };
    prepare(parts[0]);
    for (size_t i = 1; i < 20; ++i) {
      ASSERT_TRUE(SamePart(parts[i], parts[i - 1], engine.FPrecision, engine.FRotationCenter)) << i;
      CopyPreparedPart(parts[i], parts[i - 1]);
      part2d_any fresh = pristine[i];
      prepare(fresh);
      ExpectSamePreparation(parts[i], fresh,
                            "step " + std::to_string(step) + " part " + std::to_string(i));
      EXPECT_EQ(parts[i].FId, static_cast<int32_t>(i));
      EXPECT_EQ(parts[i].FIndex, static_cast<int32_t>(i));
      EXPECT_EQ(parts[i].FArea, pristine[i].FArea);
    }
    EXPECT_FALSE(SamePart(parts[20], parts[19], engine.FPrecision, engine.FRotationCenter));
    // Part 20 (with its arc edge and hole) prepares into a nestable part.
    prepare(parts[20]);
    EXPECT_TRUE(IsNestable(parts[20]));
  }
}

}  // namespace
}  // namespace varnest
