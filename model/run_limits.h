#pragma once
// The limits the engine holds itself to, so that a problem too large for any
// memory is refused with a finding instead of ending the program that embeds
// the engine. Each is checked before the allocation it guards; docs/engine.md
// lists them for clients.

#include <cstdint>

namespace varnest {

// The most parts, stocks, holes of one record, or vertices of one polygon
// that a definition call accepts; a call asking for more is ignored.
inline constexpr int32_t kMaxDefinitionCount = 1 << 22;

// The largest optimisation level: a population of 2 x 100000 - 26 members.
inline constexpr int32_t kMaxOptimizationLevel = 100000;

// What a run may spend, in bytes, on each of its three large structures. A
// run whose estimate exceeds one of them places nothing and records
// kErrorRunTooLarge.
inline constexpr double kMaxPreparedShapeBytes = 2.0 * (1 << 30);
inline constexpr double kMaxGridBytes = 2.0 * (1 << 30);
inline constexpr double kMaxPopulationBytes = 2.0 * (1 << 30);

}  // namespace varnest
