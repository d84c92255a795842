// The layouts of the demonstration problem at a few settings, pinned by a
// hash of every coordinate a client reads back. The search is deterministic,
// so a change that only makes it faster leaves these hashes alone; one that
// moves a single piece by one ulp does not.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fixtures/demo_problem.h"
#include "tests/engine/collected_run.h"

namespace varnest {
namespace {

// FNV-1a over the bytes of each value, in the order they are reported.
class LayoutHash {
 public:
  void Add(uint64_t bits) {
    for (int byte = 0; byte < 8; ++byte) {
      value_ ^= (bits >> (8 * byte)) & 0xffu;
      value_ *= 0x100000001b3u;
    }
  }
  void Add(double v) { Add(std::bit_cast<uint64_t>(v)); }
  void Add(int32_t v) { Add(static_cast<uint64_t>(static_cast<uint32_t>(v))); }
  void Add(bool v) { Add(static_cast<uint64_t>(v)); }

  void Add(const check::Shape& shape) {
    Add(shape.IsCircle());
    Add(shape.centerX);
    Add(shape.centerY);
    Add(shape.radius);
    for (const check::Vertex& v : shape.vertices) {
      Add(v.x);
      Add(v.y);
      Add(v.isArc);
      if (v.isArc) {
        Add(v.centerX);
        Add(v.centerY);
        Add(v.clockwise);
      }
    }
  }

  uint64_t value() const { return value_; }

 private:
  uint64_t value_ = 0xcbf29ce484222325u;
};

std::string Hex(uint64_t v) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016llx", static_cast<unsigned long long>(v));
  return text;
}

uint64_t HashOf(const std::vector<check::Sheet>& sheets) {
  LayoutHash hash;
  for (const check::Sheet& sheet : sheets) {
    hash.Add(sheet.stock.index);
    hash.Add(sheet.utilization);
    for (const check::PlacedPiece& piece : sheet.pieces) {
      hash.Add(piece.partIndex);
      hash.Add(piece.angle);
      hash.Add(piece.mirrored);
      hash.Add(piece.x);
      hash.Add(piece.y);
      hash.Add(piece.outline);
      for (const check::Hole& hole : piece.holes) hash.Add(hole.shape);
    }
  }
  return hash.value();
}

TEST(PinnedLayouts, TheDemoProblemNestsAsItAlwaysHas) {
  struct Case {
    fixtures::DemoSettings settings;
    uint64_t hash;
  };
  const Case cases[] = {
      {{0.0, 0, 0, 0, 1}, 0xae18f4fe32219604},
      {{90.0, 1, 2, 1, 4}, 0x9700322bb2074b59},
      {{45.0, 0, 1, 0, 2}, 0xda5b79e9a2e15b96},
      {{180.0, 1, 3, 1, 3}, 0x3d757fc7cca2bcc4},
  };
  for (const Case& c : cases) {
    const std::vector<check::Sheet> sheets = testing_support::Nest(
        [&](TVarnest2D& engine) { fixtures::DefineDemoProblem(engine, c.settings); });
    EXPECT_EQ(Hex(HashOf(sheets)), Hex(c.hash))
        << "step " << c.settings.rotationStep << ", mirror " << c.settings.allowMirror
        << ", corner " << c.settings.corner << ", direction " << c.settings.direction
        << ", level " << c.settings.level;
  }
}

}  // namespace
}  // namespace varnest
