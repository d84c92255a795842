// The run: a fixed list of stages, each a call. Execute reads as its steps:
// check, order, prepare, scale, turn, rasterise, search, report, release.

#include <algorithm>
#include <chrono>

#include "engine/varnest2d.h"
#include "grid/grid_sets.h"
#include "model/direction_turn.h"
#include "model/equality.h"
#include "model/hole_usability.h"
#include "model/input_check.h"
#include "model/ordering.h"
#include "model/part_preparation.h"
#include "model/stock_preparation.h"
#include "search/genetic_search.h"

namespace varnest {

namespace {

void Call(TVarnest2D::TCallback callback, void* data) {
  if (callback != nullptr) callback(data);
}

// The grid scale maps the widest prepared shape to 1e8 integer units.
constexpr double kScaledExtent = 1e8;

}  // namespace

double TVarnest2D::PrepareShapes() {
  double extent = 0.0;
  for (size_t i = 0; i < FParts.size(); ++i) {
    part2d_any& part = FParts[i];
    if (part.IsPolygon() && i > 0 &&
        SamePart(part, FParts[i - 1], FPrecision, FRotationCenter)) {
      // Equal neighbours in the part array share their preparation; the
      // extent is already counted.
      CopyPreparedPart(part, FParts[i - 1]);
      continue;
    }
    PreparePart(part, FPrecision, FCutterDiameter, FRotationCenter, FCutterType, FResolution);
    extent = std::max(extent, PreparedExtent(part));
  }
  for (stock2d_any& stock : FStocks) {
    stock.FGridIndex = -1;
    PrepareStock(stock, FPrecision);
    extent = std::max(extent, PreparedExtent(stock));
  }
  CheckHoleUsability(FParts, FStocks);
  MakeAreasAbsolute(FParts, FStocks);
  return extent;
}

// The search, timed in whole milliseconds as a tick counter would: the
// clock is read around the search, never inside it.
void TVarnest2D::RunSearchStage() {
  TSearchContext context(FParts, FPartOrder, FStocks, FStockOrder, FGrids, FSolution, FRandom,
                         FRandomSeed, FStopRequested, FSearchDone);
  context.Resolution = FResolution;
  context.Precision = FPrecision;
  context.CutterDiameter = FCutterDiameter;
  context.CutterType = FCutterType;
  context.RotationCenter = FRotationCenter;
  context.FScale = FScale;
  context.OptimizationStartingCorner = FOptimizationStartingCorner;
  context.OptimizationStartingDirection = FOptimizationStartingDirection;
  context.OptimizationLevel = FOptimizationLevel;
  context.OnIteration = OnIteration;
  context.OnIterationData = OnIterationData;

  const auto t1 = std::chrono::steady_clock::now();
  RunSearch(context);
  const auto ticks = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - t1);
  FSolution.FOptimizationTime = static_cast<double>(ticks.count()) * 0.001;
}

void TVarnest2D::Execute() {
  if (!IsIdle()) return;  // a callback must not start a nested run
  FStopRequested = 0;
  FSearchDone = 0;
  FRunning = true;

  CheckInput(FParts, FStocks, FPrecision, FErrorInfo);
  FStockOrder.assign(FStocks.size(), 0);
  FPartOrder.assign(FParts.size(), 0);
  BuildProcessingOrder(FStocks, FParts, FStockOrder, FPartOrder, FPrecision);
  if (FStocks.empty() || FParts.empty()) {
    FStockOrder.clear();
    FPartOrder.clear();
    FStopRequested = 1;
    FSearchDone = 1;
    FRunning = false;
    return;
  }
  FSolution.FNumberOfStockPieces = get_NumberOfStockPieces();
  FSolution.FNumberOfParts = get_NumberOfParts();

  const double extent = PrepareShapes();
  // With no extent there is no scale: nothing can be rasterised, so the run
  // reports an empty result and says why.
  const bool scalable = extent > 0.0;
  if (scalable) {
    FScale = kScaledExtent / extent;
    TurnForStartingDirection(FParts, FStocks, FOptimizationStartingDirection);
    BuildStockGrids(FGrids, FStocks, FStockOrder, FResolution, FPrecision, FScale);
    BuildPartGrids(FGrids, FParts, FPartOrder, FResolution, FPrecision, FRotationCenter, FScale,
                   FOptimizationStartingCorner, FOptimizationStartingDirection, FCutterType);
  } else {
    FErrorInfo.Record(kErrorNoExtent, -1, 0);
  }

  Call(OnSearchStart, OnSearchStartData);
  FSolution.Reset();
  if (scalable && FStopRequested == 0 && FSearchDone == 0) {
    RunSearchStage();
  }

  FStopRequested = 1;
  FSearchDone = 1;
  FRunning = false;
  FTotalNumberOfUtilizedDemandPieces = FSolution.FTotalNumberOfUtilizedDemandPieces;
  FStockOrder.clear();
  FPartOrder.clear();
  Call(OnFinish, OnFinishData);

  FErrorInfo.Clear();
  FParts.clear();
  FStocks.clear();
  FGrids.Release();
  FSolution.Release();
  FScale = 1.0;
}

}  // namespace varnest
