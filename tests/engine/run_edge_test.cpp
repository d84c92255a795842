#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "varnest/engine/varnest2d.h"

namespace varnest {
namespace {

void DefineRectangleStock(TVarnest2D& engine, int32_t index, double w, double h, int32_t id) {
  engine.SetStock(index, 0, 4, 0, 0, 0, 0, 0.0, 0, id);
  const double v[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
  for (int32_t i = 0; i < 4; ++i) engine.SetStockVertex(index, i, v[i][0], v[i][1], i);
}

void DefineRectanglePart(TVarnest2D& engine, int32_t index, double w, double h, int32_t id,
                         int32_t holes = 0) {
  engine.SetPart(index, 0, 4, 0, 0, 0, holes, 0.0, 0, 0, 0, 0, id);
  const double v[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
  for (int32_t i = 0; i < 4; ++i) engine.SetPartVertex(index, i, v[i][0], v[i][1], i);
}

struct Result {
  TVarnest2D* engine = nullptr;
  int finishes = 0;
  int32_t sheets = -1, placed = -1, code = -1, index = -1;
  std::vector<int32_t> stockOfSheet;
  std::vector<int32_t> piecesOfSheet;
  std::vector<std::vector<int32_t>> partIds;
};

void Collect(void* data) {
  auto* r = static_cast<Result*>(data);
  ++r->finishes;
  TVarnest2D& e = *r->engine;
  int32_t sub = 0;
  e.GetErrorInfo(r->code, r->index, sub);
  e.GetSheetCount(r->sheets);
  e.GetTotalNumberOfUtilizedDemandPieces(r->placed);
  for (int32_t s = 0; s < r->sheets; ++s) {
    int32_t count = 0, stock = 0, id = 0;
    e.GetSheetPartCount(s, count, stock, id);
    r->stockOfSheet.push_back(stock);
    r->piecesOfSheet.push_back(count);
    std::vector<int32_t> ids;
    for (int32_t p = 0; p < count; ++p) {
      int32_t type, n, mirrored, holes, stockIndex, partIndex, stockId, partId;
      double cx, cy, rad, angle, x, y;
      e.GetPlacedPart(s, p, type, n, cx, cy, rad, angle, mirrored, holes, x, y, stockIndex,
                      partIndex, stockId, partId);
      ids.push_back(partId);
    }
    r->partIds.push_back(ids);
  }
}

Result RunEngine(TVarnest2D& engine) {
  Result r;
  r.engine = &engine;
  engine.OnFinish = Collect;
  engine.OnFinishData = &r;
  engine.Execute();
  return r;
}

TEST(RunEdges, EqualStocksRepeatTheLayoutWhileEqualPartsRemain) {
  TVarnest2D engine;
  engine.set_NumberOfStockPieces(3);
  for (int32_t s = 0; s < 3; ++s) DefineRectangleStock(engine, s, 20, 10, 100 + s);
  engine.set_NumberOfParts(5);  // two fill a stock; five fill two stocks and a half
  for (int32_t p = 0; p < 5; ++p) DefineRectanglePart(engine, p, 10, 10, p);
  const Result r = RunEngine(engine);
  ASSERT_EQ(r.sheets, 3);
  EXPECT_EQ(r.piecesOfSheet, (std::vector<int32_t>{2, 2, 1}));
  EXPECT_EQ(r.stockOfSheet, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(r.placed, 5);
  // Every part appears once, with its own identifier.
  std::vector<int32_t> all;
  for (const auto& ids : r.partIds) all.insert(all.end(), ids.begin(), ids.end());
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, (std::vector<int32_t>{0, 1, 2, 3, 4}));
}

TEST(RunEdges, AFirstStockSmallerThanEveryPartEndsTheSearch) {
  TVarnest2D engine;
  engine.set_NumberOfStockPieces(2);
  DefineRectangleStock(engine, 0, 5, 5, 0);
  DefineRectangleStock(engine, 1, 100, 100, 1);
  engine.set_NumberOfParts(2);
  DefineRectanglePart(engine, 0, 10, 10, 0);
  DefineRectanglePart(engine, 1, 10, 10, 1);
  const Result r = RunEngine(engine);
  EXPECT_EQ(r.finishes, 1);
  EXPECT_EQ(r.sheets, 0);
  EXPECT_EQ(r.placed, 0);
}

TEST(RunEdges, ZeroExtentSkipsTheSearchAndSaysWhy) {
  TVarnest2D engine;
  engine.set_NumberOfStockPieces(1);
  DefineRectangleStock(engine, 0, 0, 0, 0);
  engine.set_NumberOfParts(1);
  DefineRectanglePart(engine, 0, 0, 0, 0);
  const Result r = RunEngine(engine);
  EXPECT_EQ(r.finishes, 1);
  EXPECT_EQ(r.sheets, 0);
  EXPECT_EQ(r.code, kErrorNoExtent);
  EXPECT_EQ(r.index, -1);
}

TEST(RunEdges, DegeneratePartsAmongSoundOnesAreSimplyNotPlaced) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  TVarnest2D engine;
  engine.set_NumberOfStockPieces(1);
  DefineRectangleStock(engine, 0, 100, 100, 0);
  engine.set_NumberOfParts(6);
  DefineRectanglePart(engine, 0, 10, 10, 0);
  DefineRectanglePart(engine, 1, 0, 10, 1);      // zero width
  DefineRectanglePart(engine, 2, 10, 0, 2);      // zero height
  DefineRectanglePart(engine, 3, 10, 10, 3);
  engine.SetPartVertex(3, 2, nan, 10, 2);        // a NaN vertex
  DefineRectanglePart(engine, 4, 500, 500, 4);   // larger than the stock
  engine.SetPart(5, 3, 0, 1, 1, 1, 0, 0.0, 0, 0, 0, 0, 5);  // unknown shape kind
  const Result r = RunEngine(engine);
  ASSERT_EQ(r.sheets, 1);
  EXPECT_EQ(r.partIds[0], (std::vector<int32_t>{0}));
}

TEST(RunEdges, ASmallPartNestsInsideTheUsableHoleOfABigOne) {
  TVarnest2D engine;
  engine.set_NumberOfStockPieces(1);
  DefineRectangleStock(engine, 0, 42, 42, 0);
  engine.set_NumberOfParts(2);
  DefineRectanglePart(engine, 0, 40, 40, 0, 1);
  engine.SetPartHole(0, 0, 0, 4, 0, 0, 0, 1, 7);
  const double hole[4][2] = {{5, 5}, {35, 5}, {35, 35}, {5, 35}};
  for (int32_t v = 0; v < 4; ++v) engine.SetPartHoleVertex(0, 0, v, hole[v][0], hole[v][1], v);
  DefineRectanglePart(engine, 1, 20, 20, 1);
  const Result r = RunEngine(engine);
  ASSERT_EQ(r.sheets, 1);
  EXPECT_EQ(r.piecesOfSheet[0], 2);  // the only room for the small part is the hole
}

}  // namespace
}  // namespace varnest
