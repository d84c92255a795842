// The run: a fixed list of stages, each a call. Execute reads as its steps:
// check, order, prepare, scale, turn, rasterise, search, report, release.

#include <algorithm>
#include <chrono>
#include <new>
#include <stdexcept>

#include "varnest/engine/varnest2d.h"
#include "varnest/grid/grid_sets.h"
#include "varnest/grid/scaled_units.h"
#include "varnest/model/direction_turn.h"
#include "varnest/model/equality.h"
#include "varnest/model/hole_usability.h"
#include "varnest/model/input_check.h"
#include "varnest/model/ordering.h"
#include "varnest/model/part_preparation.h"
#include "varnest/model/run_limits.h"
#include "varnest/model/stock_preparation.h"
#include "varnest/search/genetic_search.h"

namespace varnest {

namespace {

// Runs its action when it goes out of scope, however that happens.
template <typename Action>
class TScopeExit {
 public:
  explicit TScopeExit(Action action) : FAction(std::move(action)) {}
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;
  ~TScopeExit() { FAction(); }

 private:
  Action FAction;
};

}  // namespace

TRunSettings TVarnest2D::RunSettings() const {
  TRunSettings settings;
  settings.Resolution = FResolution;
  settings.Precision = SoundPrecision(FPrecision);
  settings.CutterDiameter = NonNegativeLength(FCutterDiameter);
  settings.CutterType = FCutterType;
  settings.RotationCenter = FRotationCenter;
  settings.OptimizationStartingCorner = FOptimizationStartingCorner;
  settings.OptimizationStartingDirection = FOptimizationStartingDirection;
  settings.OptimizationLevel = std::clamp(FOptimizationLevel, 1, kMaxOptimizationLevel);
  return settings;
}

void TVarnest2D::Call(TCallback callback, void* data) {
  if (callback == nullptr) return;
  // A callback must not start a run of its own, whatever the idle flags say.
  const bool outer = FInCallback;
  FInCallback = true;
  const TScopeExit restore([&] { FInCallback = outer; });
  callback(data);
}

double TVarnest2D::PrepareShapes(const TRunSettings& settings) {
  double extent = 0.0;
  for (size_t i = 0; i < FParts.size(); ++i) {
    part2d_any& part = FParts[i];
    if (part.IsPolygon() && i > 0 &&
        SamePart(part, FParts[i - 1], settings.Precision, settings.RotationCenter)) {
      // Equal neighbours in the part array share their preparation; the
      // extent is already counted.
      CopyPreparedPart(part, FParts[i - 1]);
      continue;
    }
    PreparePart(part, settings);
    extent = std::max(extent, PreparedExtent(part));
  }
  for (stock2d_any& stock : FStocks) {
    stock.FGridIndex = -1;
    PrepareStock(stock, settings.Precision);
    extent = std::max(extent, PreparedExtent(stock));
  }
  CheckHoleUsability(FParts, FStocks);
  MakeAreasAbsolute(FParts, FStocks);
  return extent;
}

bool TVarnest2D::BuildGrids(TRunSettings& settings) {
  if (EstimatePreparedShapeBytes(FParts) > kMaxPreparedShapeBytes) {
    FErrorInfo.Record(kErrorRunTooLarge, kTooLargeShapes);
    return false;
  }
  const double extent = PrepareShapes(settings);
  // With no extent there is no scale: nothing can be rasterised, so the run
  // reports an empty result and says why.
  if (!(extent > 0.0)) {
    FErrorInfo.Record(kErrorNoExtent, -1, 0);
    return false;
  }
  FScale = kScaledExtent / extent;
  settings.Scale = FScale;
  TurnForStartingDirection(FParts, FStocks, settings.OptimizationStartingDirection);
  FPartEqualsPrevious =
      EqualNeighbours(FParts, FPartOrder, settings.Precision, settings.RotationCenter);
  if (EstimateGridBytes(FParts, FPartOrder, FPartEqualsPrevious, FStocks, FStockOrder, settings) >
      kMaxGridBytes) {
    FErrorInfo.Record(kErrorRunTooLarge, kTooLargeGrids);
    return false;
  }
  if (EstimatePopulationBytes(FParts, settings.OptimizationLevel) > kMaxPopulationBytes) {
    FErrorInfo.Record(kErrorRunTooLarge, kTooLargePopulation);
    return false;
  }
  BuildStockGrids(FGrids, FStocks, FStockOrder, settings);
  BuildPartGrids(FGrids, FParts, FPartOrder, FPartEqualsPrevious, settings);
  return true;
}

// The search, timed in whole milliseconds as a tick counter would: the
// clock is read around the search, never inside it.
void TVarnest2D::RunSearchStage(const TRunSettings& settings) {
  TSearchContext context(settings, FParts, FPartOrder, FPartEqualsPrevious, FStocks, FStockOrder,
                         FGrids, FSolution, FRandom, FRandomSeed, FStopRequested, FSearchDone);
  context.OnIteration = OnIteration;
  context.OnIterationData = OnIterationData;

  const auto t1 = std::chrono::steady_clock::now();
  RunSearch(context);
  const auto ticks =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t1);
  FSolution.FOptimizationTime = static_cast<double>(ticks.count()) * 0.001;
}

// A search that ran out of memory leaves nothing placed: a half-committed
// layout is no result.
void TVarnest2D::AbandonSearch() {
  FErrorInfo.Record(kErrorRunTooLarge, kTooLargeMemory);
  FSolution.Reset();
  FSolution.FTotalNumberOfUtilizedDemandPieces = 0;
}

void TVarnest2D::Execute() {
  // A callback must not start a nested run: inside OnFinish the engine is
  // idle again, yet the run is not over.
  if (!IsIdle() || FInCallback) return;
  // The parameters as they are now serve the whole run, whatever a callback
  // sets in the meantime; the scale joins them once the shapes are prepared.
  TRunSettings settings = RunSettings();
  FStopRequested = 0;
  FSearchDone = 0;
  FRunning = true;
  bool consumed = false;
  // However the run ends, even by an exception from a callback, the engine is
  // idle afterwards and, once the run has started for real, has released the
  // problem and the run data.
  const TScopeExit end([&] {
    FStopRequested = 1;
    FSearchDone = 1;
    FRunning = false;
    FStockOrder.clear();
    FPartOrder.clear();
    FPartEqualsPrevious.clear();
    if (!consumed) return;
    FErrorInfo.Clear();
    FParts.clear();
    FStocks.clear();
    FGrids.Release();
    FSolution.Release();
    FScale = 1.0;
  });

  CheckInput(FParts, FStocks, settings.Precision, FErrorInfo);
  FStockOrder.assign(FStocks.size(), 0);
  FPartOrder.assign(FParts.size(), 0);
  BuildProcessingOrder(FStocks, FParts, FStockOrder, FPartOrder, settings.Precision);
  if (FStocks.empty() || FParts.empty()) return;
  consumed = true;
  FSolution.FNumberOfStockPieces = get_NumberOfStockPieces();
  FSolution.FNumberOfParts = get_NumberOfParts();

  // The estimates keep a run within memory; an allocation that fails anyway
  // ends the run with nothing placed rather than ending the host program.
  bool searchable = false;
  try {
    searchable = BuildGrids(settings);
  } catch (const std::bad_alloc&) {
    FErrorInfo.Record(kErrorRunTooLarge, kTooLargeMemory);
  } catch (const std::length_error&) {
    FErrorInfo.Record(kErrorRunTooLarge, kTooLargeMemory);
  }
  if (!searchable) FGrids.Release();

  Call(OnSearchStart, OnSearchStartData);
  FSolution.Reset();
  if (searchable && FStopRequested == 0 && FSearchDone == 0) {
    try {
      RunSearchStage(settings);
    } catch (const std::bad_alloc&) {
      AbandonSearch();
    } catch (const std::length_error&) {
      AbandonSearch();
    }
  }

  FStopRequested = 1;
  FSearchDone = 1;
  FRunning = false;
  FTotalNumberOfUtilizedDemandPieces = FSolution.FTotalNumberOfUtilizedDemandPieces;
  FStockOrder.clear();
  FPartOrder.clear();
  Call(OnFinish, OnFinishData);
}

}  // namespace varnest
