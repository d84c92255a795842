#pragma once
// Whether a shape holds only finite numbers. A NaN or an infinity that
// reaches the raster would be turned into an integer, which is undefined;
// preparation asks this of every shape it hands on.

#include "varnest/geometry/base_shape.h"
#include "varnest/geometry/circle.h"
#include "varnest/geometry/polygon.h"

namespace varnest {

bool IsFinite(const TBox& box);
// Vertices, the records of arc edges, and the box.
bool IsFinite(const TPolygon& polygon);
// Centre, radius and box.
bool IsFinite(const TCircle& circle);
// The selected shape (an absent one is finite) and the box.
bool IsFinite(const TBaseShape& shape);

}  // namespace varnest
