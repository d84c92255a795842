// The run: a fixed list of stages, each a call.

#include "engine/varnest2d.h"

namespace varnest {

namespace {
void Call(TVarnest2D::TCallback callback, void* data) {
  if (callback != nullptr) callback(data);
}
}  // namespace

void TVarnest2D::Execute() {
  if (!IsIdle()) return;  // a callback must not start a nested run
  FStopRequested = 0;
  FSearchDone = 0;

  if (FStocks.empty() || FParts.empty()) {
    FStopRequested = 1;
    FSearchDone = 1;
    return;
  }

  FSolution.FNumberOfStockPieces = get_NumberOfStockPieces();
  FSolution.FNumberOfParts = get_NumberOfParts();

  Call(OnSearchStart, OnSearchStartData);
  if (FStopRequested == 0 && FSearchDone == 0) {
    FSolution.Reset();
  }

  FStopRequested = 1;
  FSearchDone = 1;
  FTotalNumberOfUtilizedDemandPieces = FSolution.FTotalNumberOfUtilizedDemandPieces;
  Call(OnFinish, OnFinishData);

  FErrorInfo.Clear();
  FParts.clear();
  FStocks.clear();
  FSolution.Release();
}

}  // namespace varnest
