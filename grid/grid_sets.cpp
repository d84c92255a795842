#include "grid/grid_sets.h"

namespace varnest {

void AssignInSearchFrame(TGrid& target, const TGrid& source, int32_t corner, int32_t direction) {
  // corner: 0 lowest x and y, 1 highest x lowest y, 2 highest x and y,
  // 3 lowest x highest y. Direction 1 shapes were turned by 90 degrees
  // before rasterising, so their corners map one step round.
  switch (direction == 0 ? corner : (corner + 1) % 4) {
    case 0: target.Assign(source); break;
    case 1: target.AssignMirrorX(source); break;
    case 2: target.AssignRotate180(source); break;
    default: target.AssignMirrorY(source); break;
  }
}

}  // namespace varnest
