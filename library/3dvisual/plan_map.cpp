#include "library/3dvisual/plan_map.h"

namespace vyr {

int32_t map_background_colour = 99;

PlanMapOptions plan_map_options = {0, 0};
int32_t map_tile_x = 0;
int32_t map_tile_y = 0;

void set_plan_map_options(const PlanMapOptions* options) { plan_map_options = *options; }

}  // namespace vyr
