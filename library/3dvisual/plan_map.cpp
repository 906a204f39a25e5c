#include "library/3dvisual/plan_map.h"

namespace vyr {

int32_t map_background_colour = 99;

}  // namespace vyr
