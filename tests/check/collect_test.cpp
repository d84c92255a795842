// The collector reads a run through the public queries. The stock part runs
// on any engine; the layout parts need an engine that places pieces and skip
// while it places none.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "check/collect.h"
#include "check/layout_check.h"
#include "fixtures/demo_problem.h"

namespace varnest::check {
namespace {

// Runs the engine and hands it to `inspect` from inside OnFinish.
void RunAndInspect(TVarnest2D& engine, std::function<void(const TVarnest2D&)> inspect) {
  struct Context {
    TVarnest2D* engine;
    std::function<void(const TVarnest2D&)>* inspect;
  } context{&engine, &inspect};
  engine.OnFinish = [](void* data) {
    auto* c = static_cast<Context*>(data);
    (*c->inspect)(*c->engine);
  };
  engine.OnFinishData = &context;
  engine.Execute();
  engine.OnFinish = nullptr;
  engine.OnFinishData = nullptr;
}

TEST(Collect, DemoStockAsDefined) {
  TVarnest2D engine;
  fixtures::DefineDemoProblem(engine);
  Stock stock;
  bool finished = false;
  RunAndInspect(engine, [&](const TVarnest2D& e) {
    finished = true;
    stock = CollectStock(e, 0);
  });
  ASSERT_TRUE(finished);
  EXPECT_EQ(stock.index, 0);
  EXPECT_EQ(stock.id, 0);
  ASSERT_FALSE(stock.outline.IsCircle());
  const double xs[] = {10, 200, 290, 250, 10, 100};
  const double ys[] = {30, 10, 100, 200, 290, 100};
  ASSERT_EQ(stock.outline.vertices.size(), 6u);
  for (size_t v = 0; v < 6; ++v) {
    const Vertex& vertex = stock.outline.vertices[v];
    EXPECT_EQ(vertex.x, xs[v]);
    EXPECT_EQ(vertex.y, ys[v]);
    EXPECT_EQ(vertex.id, static_cast<int32_t>(v));
    EXPECT_EQ(vertex.isArc, v == 2 || v == 5) << v;
  }
  EXPECT_EQ(stock.outline.vertices[2].centerX, 270);
  EXPECT_EQ(stock.outline.vertices[2].centerY, 150);
  EXPECT_TRUE(stock.outline.vertices[2].clockwise);
  EXPECT_EQ(stock.outline.vertices[2].arcId, 6);
  EXPECT_FALSE(stock.outline.vertices[5].clockwise);
  EXPECT_EQ(stock.outline.vertices[5].arcId, 7);
  ASSERT_EQ(stock.defects.size(), 2u);
  EXPECT_TRUE(stock.defects[1].shape.IsCircle());
  EXPECT_EQ(stock.defects[1].shape.centerX, 110);
  EXPECT_EQ(stock.defects[1].shape.centerY, 200);
  EXPECT_EQ(stock.defects[1].shape.radius, 20);
  EXPECT_EQ(stock.defects[1].id, 1);
}

TEST(Collect, DemoLayoutPassesTheCheck) {
  TVarnest2D engine;
  fixtures::DefineDemoProblem(engine);
  std::vector<Sheet> sheets;
  int32_t placed = 0;
  RunAndInspect(engine, [&](const TVarnest2D& e) {
    sheets = CollectSheets(e);
    e.GetTotalNumberOfUtilizedDemandPieces(placed);
  });
  if (sheets.empty()) {
    GTEST_SKIP() << "the engine placed nothing";
  }
  size_t pieces = 0;
  for (const Sheet& sheet : sheets) {
    pieces += sheet.pieces.size();
    for (const PlacedPiece& piece : sheet.pieces) {
      // Parts 20 to 29 carry the one usable hole.
      const bool holed = piece.partIndex >= 20 && piece.partIndex < 30;
      ASSERT_EQ(piece.holes.size(), holed ? 1u : 0u) << piece.partIndex;
      if (holed) {
        EXPECT_TRUE(piece.holes[0].nestInside);
      }
      EXPECT_EQ(piece.outline.IsCircle(), piece.partIndex >= 40);
    }
  }
  EXPECT_EQ(static_cast<int32_t>(pieces), placed);
  for (const Finding& finding : CheckLayout(sheets)) {
    ADD_FAILURE() << Describe(finding, sheets);
  }
}

// A square with an off-centre circular hole, turned and mirrored: the
// collector computes the placed hole's centre itself (no query reports it).
// A rigid motion keeps distances, so the hole centre's distance to every
// placed corner must be the defined one.
TEST(Collect, PlacedCircleHoleMovesWithItsPart) {
  const double corners[4][2] = {{0, 0}, {40, 0}, {40, 30}, {0, 30}};
  const double hole[2] = {10, 8};
  for (const int32_t mirror : {0, 1}) {
    SCOPED_TRACE(mirror ? "mirror allowed" : "no mirror");
    TVarnest2D engine;
    engine.set_Resolution(0.5);
    engine.set_NumberOfStockPieces(1);
    engine.SetStock(0, 0, 4, 0, 0, 0, 0, 0.0, 0, 0);
    const double stock[4][2] = {{0, 0}, {100, 0}, {100, 45}, {0, 45}};
    for (int32_t v = 0; v < 4; ++v) engine.SetStockVertex(0, v, stock[v][0], stock[v][1], v);
    engine.set_NumberOfParts(3);
    for (int32_t p = 0; p < 3; ++p) {
      engine.SetPart(p, 0, 4, 0, 0, 0, 1, 90.0, 0, 0, mirror, 0, p);
      for (int32_t v = 0; v < 4; ++v) engine.SetPartVertex(p, v, corners[v][0], corners[v][1], v);
      engine.SetPartHole(p, 0, 1, 0, hole[0], hole[1], 3, 0, 0);
    }
    std::vector<Sheet> sheets;
    RunAndInspect(engine, [&](const TVarnest2D& e) { sheets = CollectSheets(e); });
    if (sheets.empty()) {
      GTEST_SKIP() << "the engine placed nothing";
    }
    for (const Sheet& sheet : sheets) {
      for (const PlacedPiece& piece : sheet.pieces) {
        ASSERT_EQ(piece.outline.vertices.size(), 4u);
        ASSERT_EQ(piece.holes.size(), 1u);
        const Shape& placed = piece.holes[0].shape;
        ASSERT_TRUE(placed.IsCircle());
        EXPECT_EQ(placed.radius, 3);
        for (size_t v = 0; v < 4; ++v) {
          const Vertex& corner = piece.outline.vertices[v];
          EXPECT_NEAR(std::hypot(corner.x - placed.centerX, corner.y - placed.centerY),
                      std::hypot(corners[v][0] - hole[0], corners[v][1] - hole[1]), 1e-9)
              << "part " << piece.partIndex << " corner " << v;
        }
      }
    }
    EXPECT_TRUE(CheckLayout(sheets).empty());
  }
}

}  // namespace
}  // namespace varnest::check
