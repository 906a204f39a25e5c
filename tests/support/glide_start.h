// Starts the accelerator as the program does, from world_settings and texture_table, on
// directories and object textures of the test's own; texture_table is left empty afterwards.
#pragma once

#include <cstdio>
#include <vector>

#include "library/3dvisual/objects.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_glide.h"
#include "library/graphics/screen.h"
#include "platform/accel/framebuffer.h"
#include "tests/support/war_zone.h"

namespace vyr {

inline void start_glide_on(const char* data_directory, const char* war_zone_directory,
                           std::vector<TextureRecord*>& object_textures) {
    std::snprintf(world_settings.data_directory, WORLD_DIRECTORY_SIZE, "%s", data_directory);
    std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "%s", war_zone_directory);
    texture_table = object_textures.data();
    texture_count = int32_t(object_textures.size());
    start_glide();
    texture_table = nullptr;
    texture_count = 0;
}

// The theatre of a war-zone directory ("korea.wz") loaded whole and the accelerator started over it
// as a flight starts them, drawing to the whole screen.
inline void open_world_with_glide(const char* war_zone) {
    open_war_zone(war_zone, WORLD_LOAD_DATA);
    start_glide();
    accelerator_flag = 1;
    set_viewport(0, 0, platform::accel::SCREEN_WIDTH, platform::accel::SCREEN_HEIGHT);
}

inline void close_world_with_glide() {
    accelerator_flag = 0;
    platform::accel::shut_down();
    shutdown_world();
}

}  // namespace vyr
