#pragma once
// TVarnest2D: the nesting engine as a client sees it.
//
// A client creates one engine, sets its parameters, defines a problem through
// the fixed protocol of definition calls (counts, then each stock and part,
// then vertices, arcs and holes), calls Execute, and reads the layout from
// inside the OnFinish callback. Everything runs on the caller's thread.
//
// No call reports an error or throws. A call with an index out of range, or a
// setter or definition call made while a run is in progress (from inside a
// callback), does nothing. Queries write through their out-parameters and
// leave them untouched when they do not answer.

#include <cstdint>
#include <string>
#include <vector>

#include "varnest/geometry/random.h"
#include "varnest/grid/grid_sets.h"
#include "varnest/model/error_info.h"
#include "varnest/model/part.h"
#include "varnest/model/run_settings.h"
#include "varnest/model/stock.h"
#include "varnest/search/solution.h"

namespace varnest {

class TVarnest2D {
 public:
  using TCallback = void (*)(void* data);

  TVarnest2D();
  ~TVarnest2D();
  TVarnest2D(const TVarnest2D&) = delete;
  TVarnest2D& operator=(const TVarnest2D&) = delete;

  // --- Parameters -----------------------------------------------------------
  void set_CutterDiameter(double value);
  void set_Resolution(double value);
  void set_Precision(double value);
  void set_RotationCenter(int32_t value);
  void set_CutterType(int32_t value);
  void set_RandomSeed(int32_t value);
  void set_OptimizationLevel(int32_t value);
  void set_OptimizationStartingCorner(int32_t value);
  void set_OptimizationStartingDirection(int32_t value);

  double get_CutterDiameter() const { return FCutterDiameter; }
  double get_Resolution() const { return FResolution; }
  double get_Precision() const { return FPrecision; }
  int32_t get_RotationCenter() const { return FRotationCenter; }
  int32_t get_CutterType() const { return FCutterType; }
  int32_t get_RandomSeed() const { return FRandomSeed; }
  int32_t get_OptimizationLevel() const { return FOptimizationLevel; }
  int32_t get_OptimizationStartingCorner() const { return FOptimizationStartingCorner; }
  int32_t get_OptimizationStartingDirection() const { return FOptimizationStartingDirection; }
  int32_t get_NumberOfParts() const { return static_cast<int32_t>(FParts.size()); }
  int32_t get_NumberOfStockPieces() const { return static_cast<int32_t>(FStocks.size()); }

  // Copies the version text with its terminating zero (13 wide characters).
  void GetVersion(wchar_t* buffer) const;

  // Asks a running search to end after the layout it is evaluating.
  void RequestStop() { FStopRequested = 1; }
  // True between runs and inside OnFinish; false while the search runs.
  // Both flags can be raised in the middle of a search (a stop requested in
  // the generation that also ends the stock), so the running flag guards the
  // problem against definition calls until the search has really ended.
  bool IsIdle() const { return FStopRequested != 0 && FSearchDone != 0 && !FRunning; }

  // --- Problem definition ---------------------------------------------------
  void set_NumberOfParts(int32_t count);
  void set_NumberOfStockPieces(int32_t count);

  void SetPart(int32_t index, int32_t type, int32_t numberOfVertices, double centerX,
               double centerY, double radius, int32_t numberOfHoles, double rotationStep,
               double rotationCenterX, double rotationCenterY, int32_t allowMirror,
               int32_t priority, int32_t id);
  void SetPartVertex(int32_t part, int32_t vertex, double x, double y, int32_t id);
  void SetPartArc(int32_t part, int32_t edge, double centerX, double centerY, int32_t clockwise,
                  int32_t id);
  void SetPartHole(int32_t part, int32_t hole, int32_t type, int32_t numberOfVertices,
                   double centerX, double centerY, double radius, int32_t nestInside, int32_t id);
  void SetPartHoleVertex(int32_t part, int32_t hole, int32_t vertex, double x, double y,
                         int32_t id);
  void SetPartHoleArc(int32_t part, int32_t hole, int32_t edge, double centerX, double centerY,
                      int32_t clockwise, int32_t id);

  void SetStock(int32_t index, int32_t type, int32_t numberOfVertices, double centerX,
                double centerY, double radius, int32_t numberOfHoles, double margin,
                int32_t priority, int32_t id);
  void SetStockVertex(int32_t stock, int32_t vertex, double x, double y, int32_t id);
  void SetStockArc(int32_t stock, int32_t edge, double centerX, double centerY, int32_t clockwise,
                   int32_t id);
  void SetStockHole(int32_t stock, int32_t hole, int32_t type, int32_t numberOfVertices,
                    double centerX, double centerY, double radius, double value, int32_t id);
  void SetStockHoleVertex(int32_t stock, int32_t hole, int32_t vertex, double x, double y,
                          int32_t id);
  void SetStockHoleArc(int32_t stock, int32_t hole, int32_t edge, double centerX, double centerY,
                       int32_t clockwise, int32_t id);

  // --- The run ----------------------------------------------------------------
  void Execute();

  // --- Definition queries -----------------------------------------------------
  void GetPart(int32_t part, int32_t& type, int32_t& numberOfVertices, double& centerX,
               double& centerY, double& radius, int32_t& numberOfHoles, double& rotationStep,
               double& rotationCenterX, double& rotationCenterY, int32_t& allowMirror,
               int32_t& priority, int32_t& id) const;
  void GetStock(int32_t stock, int32_t& type, int32_t& numberOfVertices, double& centerX,
                double& centerY, double& radius, int32_t& numberOfHoles, double& margin,
                int32_t& priority, int32_t& id) const;
  void GetStockVertex(int32_t stock, int32_t vertex, double& x, double& y, int32_t& id) const;
  void GetStockArc(int32_t stock, int32_t edge, int32_t& isArc, double& centerX, double& centerY,
                   int32_t& clockwise, int32_t& id) const;
  void GetStockBounds(int32_t stock, double& minX, double& minY, double& maxX, double& maxY) const;
  void GetPartHole(int32_t part, int32_t hole, int32_t& type, int32_t& numberOfVertices,
                   double& centerX, double& centerY, double& radius, int32_t& nestInside,
                   int32_t& id) const;
  void GetStockHole(int32_t stock, int32_t hole, int32_t& type, int32_t& numberOfVertices,
                    double& centerX, double& centerY, double& radius, double& value,
                    int32_t& id) const;
  void GetStockHoleVertex(int32_t stock, int32_t hole, int32_t vertex, double& x, double& y,
                          int32_t& id) const;
  void GetStockHoleArc(int32_t stock, int32_t hole, int32_t edge, int32_t& isArc, double& centerX,
                       double& centerY, int32_t& clockwise, int32_t& id) const;

  // --- Result queries (answer from the run inside OnFinish) ----------------------
  void GetSheetStock(int32_t sheet, int32_t& type, int32_t& stockIndex, int32_t& stockId) const;
  void GetSheetPartCount(int32_t sheet, int32_t& count, int32_t& stockIndex,
                         int32_t& stockId) const;
  void GetSheetUtilization(int32_t sheet, double& utilization, int32_t& stockIndex,
                           int32_t& stockId) const;
  void GetPlacedPart(int32_t sheet, int32_t piece, int32_t& type, int32_t& numberOfVertices,
                     double& centerX, double& centerY, double& radius, double& angle,
                     int32_t& mirrored, int32_t& numberOfHoles, double& x, double& y,
                     int32_t& stockIndex, int32_t& partIndex, int32_t& stockId,
                     int32_t& partId) const;
  void GetPlacedPartVertex(int32_t sheet, int32_t piece, int32_t vertex, int32_t& isArc, double& x,
                           double& y, double& centerX, double& centerY, int32_t& clockwise,
                           int32_t& stockIndex, int32_t& partIndex, int32_t& stockId,
                           int32_t& partId, int32_t& vertexId) const;
  void GetPlacedPartHoleVertex(int32_t sheet, int32_t piece, int32_t hole, int32_t vertex,
                               int32_t& isArc, double& x, double& y, double& centerX,
                               double& centerY, int32_t& clockwise, int32_t& stockIndex,
                               int32_t& partIndex, int32_t& stockId, int32_t& partId,
                               int32_t& holeId, int32_t& vertexId) const;
  void GetOptimizationTime(double& seconds) const;

  // The input check's finding of the current run (readable inside OnFinish).
  void GetErrorInfo(int32_t& code, int32_t& index, int32_t& subIndex) const;
  // The number of used sheets (idle only, like the other sheet queries).
  void GetSheetCount(int32_t& count) const;
  // The number of parts placed by the last run; kept until the next run.
  void GetTotalNumberOfUtilizedDemandPieces(int32_t& count) const;

  // --- Callback slots -----------------------------------------------------------
  TCallback OnIteration = nullptr;
  void* OnIterationData = nullptr;
  TCallback OnFinish = nullptr;
  void* OnFinishData = nullptr;
  TCallback OnSearchStart = nullptr;
  void* OnSearchStartData = nullptr;

  // --- State --------------------------------------------------------------------
  // Plain fields, readable by clients and tests; change them only through the
  // calls above.
  int32_t FCutterType = 0;
  error_info FErrorInfo;
  int32_t FOptimizationLevel = 1;
  int32_t FRotationCenter = 1;
  std::wstring FVersion;
  uint8_t FStopRequested = 1;  // also the stop request while a run is in progress
  uint8_t FSearchDone = 1;
  bool FRunning = false;     // from the start of Execute until the search is over
  bool FInCallback = false;  // a callback of the engine is running
  int32_t FRandomSeed = 0;
  int32_t FTotalNumberOfUtilizedDemandPieces = 0;
  double FCutterDiameter = 0.0;
  double FPrecision = 1e-6;
  double FResolution = 1.0;
  part2d_array_any FParts;
  stock2d_array_any FStocks;
  int32_t FOptimizationStartingCorner = 0;
  int32_t FOptimizationStartingDirection = 0;

  // Run data: empty between runs.
  std::vector<int32_t> FPartOrder;
  std::vector<int32_t> FStockOrder;
  // Per position of FPartOrder: whether that part equals the one before.
  std::vector<uint8_t> FPartEqualsPrevious;
  double FScale = 1.0;
  TGridSets FGrids;
  solutie FSolution;
  TRandomSource FRandom;

 private:
  // The parameters as one run uses them (see TRunSettings).
  TRunSettings RunSettings() const;
  // Calls a callback, if there is one, marked as running.
  void Call(TCallback callback, void* data);
  // Prepares every part and stock for rasterising; returns the widest
  // prepared extent, which sets the integer scale.
  double PrepareShapes(const TRunSettings& settings);
  // Preparation, scale, direction turn and grids. False when there is
  // nothing to search, with the reason recorded in FErrorInfo.
  bool BuildGrids(TRunSettings& settings);
  void RunSearchStage(const TRunSettings& settings);
  void AbandonSearch();

  part2d_any* PartAt(int32_t index);
  const part2d_any* PartAt(int32_t index) const;
  stock2d_any* StockAt(int32_t index);
  const stock2d_any* StockAt(int32_t index) const;
  const Chromosome* SheetAt(int32_t sheet) const;
};

}  // namespace varnest
