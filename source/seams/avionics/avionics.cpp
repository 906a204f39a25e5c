// Stand-in for the drone view's cycle and the world's extents.
#include "source/avionics/avionics.h"

namespace vyr {

void compute_world_extents() {}
void reset_drone_view_cycle() {}

}  // namespace vyr
