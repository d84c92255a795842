#pragma once
// A nesting problem as the command line holds it: engine parameters, and
// stocks and parts as entries that a quantity expands into consecutive equal
// copies. Engine indices count the copies, in the order of the entries.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/layout.h"

namespace varnest::cli {

// Every engine parameter; an absent one keeps the engine's default.
struct Parameters {
  std::optional<double> resolution;
  std::optional<double> precision;
  std::optional<double> cutterDiameter;
  std::optional<int32_t> cutterType;
  std::optional<int32_t> rotationCenter;
  std::optional<int32_t> seed;
  std::optional<int32_t> level;
  std::optional<int32_t> corner;
  std::optional<int32_t> direction;

  // Every value that `other` sets replaces this one's.
  void OverrideWith(const Parameters& other);
  // Every parameter set: this one's values, the engine's defaults elsewhere.
  Parameters Resolved() const;
};

// How the entry's copies get their ids: copy k has id + k x idStep. An entry
// without an id numbers its copies by their engine index.
struct Identity {
  std::optional<int32_t> id;
  std::optional<int32_t> idStep;
  int32_t quantity = 1;

  int64_t IdOf(int32_t firstIndex, int32_t copy) const;
};

struct PartEntry {
  check::Shape shape;
  std::vector<check::Hole> holes;  // nestInside and id per hole
  double rotationStep = 0.0;
  double rotationCenterX = 0.0;
  double rotationCenterY = 0.0;
  bool mirror = false;
  int32_t priority = 0;
  Identity identity;
};

struct StockEntry {
  check::Shape shape;
  std::vector<check::Hole> holes;  // defects: value and id per hole
  double margin = 0.0;
  int32_t priority = 0;
  Identity identity;
};

struct Problem;

// What the command line sets on every polygon part at once: the rotation
// step and mirroring, as the demonstration window offers them. A layout
// records them, so that it is judged by the parts it was nested with.
struct PartOverrides {
  std::optional<double> rotationStep;
  bool mirror = false;  // true: every polygon part may be mirrored

  bool Empty() const { return !rotationStep && !mirror; }
  void ApplyTo(Problem& problem) const;
};

struct Problem {
  std::string name;
  Parameters parameters;
  // Already applied to the parts; kept so that the layout can record them.
  PartOverrides partOverrides;
  std::vector<StockEntry> stocks;
  std::vector<PartEntry> parts;
};

// One engine index: the entry it copies and its id.
struct Copy {
  size_t entry = 0;
  int32_t id = 0;
};

std::vector<Copy> ExpandParts(const Problem& problem);
std::vector<Copy> ExpandStocks(const Problem& problem);

}  // namespace varnest::cli
