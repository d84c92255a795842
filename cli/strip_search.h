#pragma once
// Strip packing: the shortest length of a strip of fixed height that holds
// every part. The engine has no notion of an open length, so the search runs
// it again and again on one rectangular stock of a trial length, packing
// along y first from the strip's start so that the pieces stay near x = 0,
// and keeps the shortest layout that places every part.
//
// The schedule shrinks the best complete length by a relative step: a trial
// at best x (1 - step) that places everything becomes the new best (its used
// length, which is usually shorter than the trial); one that does not halves
// the step. The first step is half the way to the area bound (the length at
// 100 % density), so the schedule starts as a bisection between the bound and
// the first layout. A step below a thousandth of the length has nothing left
// to win at this seed; the search then moves to the next seed and tries a
// one-per-cent step again, because another seed packs differently and may
// fit where this one did not.

#include <cstdint>
#include <functional>
#include <string>

#include "cli/layout.h"
#include "cli/nest_run.h"
#include "cli/problem.h"

namespace varnest::cli {

// The strip of a problem: its only stock, an axis-parallel rectangle without
// holes whose x extent is a length that is known to hold every part.
struct Strip {
  double minX = 0.0;
  double minY = 0.0;
  double height = 0.0;
  double startLength = 0.0;
};

// Throws InputError (naming `file` and /stocks) unless the problem has
// exactly one stock and it is such a rectangle.
Strip StripOf(const Problem& problem, const std::string& file);

// The problem with its stock cut to `length`, everything else the same.
Problem WithStripLength(const Problem& problem, const Strip& strip, double length);

// The largest x that a placed piece reaches (arcs and circles included),
// from `minX`; 0 for a layout without pieces.
double UsedLength(const Layout& layout, double minX);
// The placed pieces' net area: outlines less their holes.
double PlacedArea(const Layout& layout);
// The net area of every part copy of the problem.
double PartArea(const Problem& problem);

struct StripTrial {
  int32_t run = 0;  // from 1
  double length = 0.0;
  int32_t seed = 0;
  bool complete = false;
  double usedLength = 0.0;  // of a complete trial
  bool best = false;        // it shortened the best layout
  bool cutShort = false;    // the time limit stopped it
};

struct StripSettings {
  double timeLimit = 60.0;  // seconds, from the start of the search
  int32_t maxRuns = 0;      // 0: as many as the time allows
  // Seconds since the search started: the command's clock.
  std::function<double()> elapsed;
  bool progress = false;  // the engine's progress line during each run
  // Told about every finished run (for the command's trial lines).
  std::function<void(const StripTrial&)> onTrial;
};

struct StripResult {
  Layout layout;             // the shortest complete layout, with its strip summary
  bool complete = false;     // false: no run placed every part; `layout` placed the most
  bool interrupted = false;  // Ctrl-C ended the search
};

// Runs the search. The first run, at the start length, is never cut short by
// the time limit, so there is a layout to report however short the limit;
// every later run is stopped when the limit passes (its best layout so far
// still counts when it places every part), and none starts after it. A run
// that does not place every part at the start length is retried at twice
// the length, twice at most. The reported layout's sheet is drawn as the
// strip cut at the used length, and its utilisation is the density.
StripResult SearchStrip(const Problem& problem, const Strip& strip, const StripSettings& settings);

}  // namespace varnest::cli
