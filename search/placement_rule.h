#pragma once

#include <cstdint>

namespace varnest {

// The two placement rules a chromosome may carry: the lowest base line, or
// the lowest top edge of the part.
inline constexpr uint8_t kLowestBase = 0;
inline constexpr uint8_t kLowestTop = 1;

}  // namespace varnest
