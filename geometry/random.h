#pragma once
// The engine's random source: a 32-bit linear congruential generator whose
// exact sequence is part of the result (layouts are pinned by their seed).

#include <cstdint>

namespace varnest {

class TRandomSource {
 public:
  static constexpr int32_t kMaxDraw = 0x7FFF;

  // Sets the state and discards one draw, as the search has always done.
  void SeedRandom(uint32_t seed) {
    FState = seed;
    NextRandom();
  }

  // A number from 0 to 32767 inclusive.
  int32_t NextRandom() {
    FState = FState * 22695477u + 1u;  // wraps modulo 2^32 by definition
    return static_cast<int32_t>((FState >> 16) & 0x7FFFu);
  }

  // A draw scaled to [0, 1]; the divisor is 32767, not 32768, so 1.0 occurs.
  double NextProbability() { return NextRandom() * (1.0 / 32767.0); }

  uint32_t State() const { return FState; }

 private:
  uint32_t FState = 0;
};

}  // namespace varnest
