#include "cli/problem.h"

#include "varnest/engine/varnest2d.h"

namespace varnest::cli {

namespace {

template <typename T>
void Take(std::optional<T>& to, const std::optional<T>& from) {
  if (from) to = from;
}

template <typename Entry>
std::vector<Copy> Expand(const std::vector<Entry>& entries) {
  std::vector<Copy> copies;
  for (size_t e = 0; e < entries.size(); ++e) {
    const Identity& identity = entries[e].identity;
    const int32_t first = static_cast<int32_t>(copies.size());
    for (int32_t k = 0; k < identity.quantity; ++k) {
      copies.push_back({e, static_cast<int32_t>(identity.IdOf(first, k))});
    }
  }
  return copies;
}

}  // namespace

void Parameters::OverrideWith(const Parameters& other) {
  Take(resolution, other.resolution);
  Take(precision, other.precision);
  Take(cutterDiameter, other.cutterDiameter);
  Take(cutterType, other.cutterType);
  Take(rotationCenter, other.rotationCenter);
  Take(seed, other.seed);
  Take(level, other.level);
  Take(corner, other.corner);
  Take(direction, other.direction);
}

Parameters Parameters::Resolved() const {
  const TVarnest2D defaults;
  Parameters out;
  out.resolution = resolution.value_or(defaults.get_Resolution());
  out.precision = precision.value_or(defaults.get_Precision());
  out.cutterDiameter = cutterDiameter.value_or(defaults.get_CutterDiameter());
  out.cutterType = cutterType.value_or(defaults.get_CutterType());
  out.rotationCenter = rotationCenter.value_or(defaults.get_RotationCenter());
  out.seed = seed.value_or(defaults.get_RandomSeed());
  out.level = level.value_or(defaults.get_OptimizationLevel());
  out.corner = corner.value_or(defaults.get_OptimizationStartingCorner());
  out.direction = direction.value_or(defaults.get_OptimizationStartingDirection());
  return out;
}

int64_t Identity::IdOf(int32_t firstIndex, int32_t copy) const {
  const int64_t base = id ? *id : firstIndex;
  const int64_t step = idStep ? *idStep : (id ? 0 : 1);
  return base + step * copy;
}

std::vector<Copy> ExpandParts(const Problem& problem) { return Expand(problem.parts); }
std::vector<Copy> ExpandStocks(const Problem& problem) { return Expand(problem.stocks); }

void PartOverrides::ApplyTo(Problem& problem) const {
  for (PartEntry& part : problem.parts) {
    if (part.shape.IsCircle()) continue;
    if (rotationStep) part.rotationStep = *rotationStep;
    if (mirror) part.mirror = true;
  }
}

}  // namespace varnest::cli
