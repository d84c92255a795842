#pragma once
// ESICUP strip-packing instances (the JSON of the jagua-rs / sparrow
// collections) read as problems: one rectangular stock as high as the strip
// and long enough for every item side by side, one part entry per item with
// its demand as quantity, packed along y first so that the used length stays
// short.

#include <string>
#include <vector>

#include "cli/json_reader.h"
#include "cli/problem.h"

namespace varnest::cli {

// The raster's strip height of a strip-packing problem that sets none is the
// strip's height over this, so that instances whose units differ by orders of
// magnitude get the same raster relative to their items. Against half of it,
// it packed denser in a minute on ten of the thirteen instances in spite of
// fewer runs; twice it leaves too few runs for the larger instances.
inline constexpr double kStripsPerHeight = 400.0;

// An object with "strip_height" and "items" (and no "parts").
bool LooksLikeEsicup(const Json& document);

Problem ReadEsicup(const Json& document, const std::string& file, std::vector<std::string>& notes);

// The engine turns a part by multiples of one step. The step for a list of
// allowed orientations (degrees) is the largest one whose multiples include
// them all: [0] -> 0, [0, 180] -> 180, [0, 90, 180, 270] -> 90. `exact` tells
// whether the step's multiples are exactly the list; when not, the step also
// allows orientations the instance does not.
double RotationStepFor(const std::vector<double>& orientations, bool& exact);

}  // namespace varnest::cli
