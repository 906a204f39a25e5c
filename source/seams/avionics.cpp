// Stand-in for the last view services: the drone view's cycle and the world's extents.
#include "source/avionics/avionics.h"
#include "source/avionics/views.h"

namespace vyr {

void compute_world_extents() {}
void reset_drone_view_cycle() {}
void create_view_remaps() {}
void free_view_remaps() {}

}  // namespace vyr
