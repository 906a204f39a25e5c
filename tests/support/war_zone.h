// A theatre set up as the front end's war-zone change does it: the 3D data and theatre
// directories in world_settings, init_world with the flags asked for, the flags cleared again.
#pragma once

#include <cstdint>
#include <cstdio>

#include "library/3dvisual/world.h"

namespace vyr {

inline void open_war_zone(const char* zone, int32_t flags) {
    std::snprintf(world_settings.data_directory, WORLD_DIRECTORY_SIZE, "3ddata\\");
    std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "%s\\", zone);
    world_settings.flags = flags;
    init_world(&world_settings);
    world_settings.flags = 0;
}

}  // namespace vyr
