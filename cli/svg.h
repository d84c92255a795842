#pragma once
// A drawing of a layout: every used sheet with its defects and pieces, one
// below the other, each under a caption (sheet, stock, pieces, utilisation).
// Arcs are drawn as SVG arcs and circles as circles; y grows upwards as in
// the problem.

#include <string>

#include "cli/layout.h"

namespace varnest::cli {

std::string RenderSvg(const Layout& layout);

}  // namespace varnest::cli
