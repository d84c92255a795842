#include "varnest/engine/varnest2d.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "varnest/model/run_limits.h"

namespace varnest {

namespace {
constexpr wchar_t kVersion[] = L"0.9.5.1.beta";
}

TVarnest2D::TVarnest2D() : FVersion(kVersion) {}

TVarnest2D::~TVarnest2D() = default;

void TVarnest2D::GetVersion(wchar_t* buffer) const {
  if (buffer == nullptr) return;
  std::wmemcpy(buffer, FVersion.c_str(), FVersion.size() + 1);
}

void TVarnest2D::set_CutterDiameter(double value) {
  if (IsIdle()) FCutterDiameter = value;
}

void TVarnest2D::set_Resolution(double value) {
  if (!IsIdle()) return;
  // Written so that NaN, zero and negative values all fall back to 1.0.
  FResolution = value > 0.0 ? value : 1.0;
}

void TVarnest2D::set_Precision(double value) { FPrecision = value; }

void TVarnest2D::set_RotationCenter(int32_t value) { FRotationCenter = value; }

void TVarnest2D::set_CutterType(int32_t value) { FCutterType = value; }

void TVarnest2D::set_RandomSeed(int32_t value) { FRandomSeed = value; }

// Above the largest level the population would not fit any memory.
void TVarnest2D::set_OptimizationLevel(int32_t value) {
  if (IsIdle()) FOptimizationLevel = std::clamp(value, 1, kMaxOptimizationLevel);
}

void TVarnest2D::set_OptimizationStartingCorner(int32_t value) {
  if (IsIdle()) FOptimizationStartingCorner = (value >= 0 && value <= 3) ? value : 0;
}

// Unlike the corner, an out-of-range direction falls back to 1, not 0.
void TVarnest2D::set_OptimizationStartingDirection(int32_t value) {
  if (IsIdle()) FOptimizationStartingDirection = (value == 0 || value == 1) ? value : 1;
}

part2d_any* TVarnest2D::PartAt(int32_t index) {
  return index >= 0 && index < get_NumberOfParts() ? &FParts[static_cast<size_t>(index)] : nullptr;
}
const part2d_any* TVarnest2D::PartAt(int32_t index) const {
  return index >= 0 && index < get_NumberOfParts() ? &FParts[static_cast<size_t>(index)] : nullptr;
}
stock2d_any* TVarnest2D::StockAt(int32_t index) {
  return index >= 0 && index < get_NumberOfStockPieces() ? &FStocks[static_cast<size_t>(index)]
                                                         : nullptr;
}
const stock2d_any* TVarnest2D::StockAt(int32_t index) const {
  return index >= 0 && index < get_NumberOfStockPieces() ? &FStocks[static_cast<size_t>(index)]
                                                         : nullptr;
}

}  // namespace varnest
