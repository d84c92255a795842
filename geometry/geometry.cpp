// Placeholder translation unit until the kernel's operations land.
#include "geometry/base_shape.h"
