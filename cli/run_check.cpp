#include "cli/run_check.h"

#include <algorithm>
#include <cstdio>

namespace varnest::cli {

namespace {

std::string Number(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

// A hole that crosses its part's outline, found alike in a run of consecutive
// part entries (the demo problem lists its ten equal parts B one by one).
struct Crossing {
  int32_t hole = -1;
  double depth = 0.0;
  double area = 0.0;
  int32_t firstPart = 0, lastPart = 0;  // engine indices
  int64_t firstId = 0, lastId = 0;      // of those copies
  std::vector<int32_t> holeIds;         // of the hole in each entry

  bool SameFinding(const Crossing& other) const {
    return hole == other.hole && depth == other.depth && area == other.area;
  }

  // Takes in the same crossing of the next entry.
  void Extend(const Crossing& next) {
    lastPart = next.lastPart;
    lastId = next.lastId;
    holeIds.push_back(next.holeIds.front());
  }

  std::string Text() const {
    const bool one = firstPart == lastPart;
    std::string text =
        one ? "part " + std::to_string(firstPart)
            : "parts " + std::to_string(firstPart) + " to " + std::to_string(lastPart);
    text += firstId == lastId
                ? " (id " + std::to_string(firstId) + ")"
                : " (ids " + std::to_string(firstId) + " to " + std::to_string(lastId) + ")";
    text += ": hole " + std::to_string(hole);
    if (std::all_of(holeIds.begin(), holeIds.end(),
                    [&](int32_t id) { return id == holeIds.front(); })) {
      text += " (id " + std::to_string(holeIds.front()) + ")";
    }
    return text + " reaches " + Number(depth) + " outside the part's outline (an area of " +
           Number(area) + "); " + (one ? "the part is" : "the parts are") + " nested as given";
  }
};

}  // namespace

std::vector<std::string> PartWarnings(const Problem& problem) {
  std::vector<std::string> out;
  std::vector<Crossing> group;  // the crossings of the entries merged so far
  const auto flush = [&] {
    for (const Crossing& crossing : group) out.push_back(crossing.Text());
    group.clear();
  };
  int32_t first = 0;
  for (const PartEntry& entry : problem.parts) {
    const int32_t count = entry.identity.quantity;
    std::vector<Crossing> entryCrossings;
    const std::vector<check::HoleOutsidePart> holes =
        count > 0 ? check::HolesOutsidePart(entry.shape, entry.holes)
                  : std::vector<check::HoleOutsidePart>{};
    for (const check::HoleOutsidePart& hole : holes) {
      entryCrossings.push_back({hole.hole,
                                hole.depth,
                                hole.area,
                                first,
                                first + count - 1,
                                entry.identity.IdOf(first, 0),
                                entry.identity.IdOf(first, count - 1),
                                {entry.holes[static_cast<size_t>(hole.hole)].id}});
    }
    const bool continues =
        !entryCrossings.empty() && entryCrossings.size() == group.size() &&
        std::equal(group.begin(), group.end(), entryCrossings.begin(),
                   [](const Crossing& a, const Crossing& b) { return a.SameFinding(b); });
    if (continues) {
      for (size_t k = 0; k < group.size(); ++k) group[k].Extend(entryCrossings[k]);
    } else {
      flush();
      group = std::move(entryCrossings);
    }
    first += count;
  }
  flush();
  return out;
}

check::CheckOptions CheckOptionsOf(const Parameters& problem, const Parameters& layout) {
  Parameters run = problem;
  run.OverrideWith(layout);
  run = run.Resolved();
  return check::OptionsForCutter(*run.cutterDiameter, *run.cutterType, *run.resolution,
                                 *run.precision);
}

}  // namespace varnest::cli
