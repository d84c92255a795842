#pragma once
// The layout file (docs/problem-format.md): per used sheet its stock and
// utilisation, per piece its part, angle, mirroring, position and placed
// outline with arcs (or circle) and holes, in the problem's coordinates.

#include <string>

#include "cli/json_reader.h"
#include "cli/layout.h"
#include "cli/shape_json.h"

namespace varnest::cli {

inline constexpr const char* kLayoutFormat = "varnest-layout";

OrderedJson WriteLayout(const Layout& layout);
// Reads what WriteLayout writes. The sheets' stocks carry index and id only:
// their geometry belongs to the problem.
Layout ReadLayout(const Json& document, const std::string& file);

}  // namespace varnest::cli
