// A theatre of the generated data set as a flight opens it: its world loaded and the accelerator
// started over the whole screen. For render tests on a ScratchDirectories fixture.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/gfxinit/glide.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/os/file.h"
#include "platform/accel/framebuffer.h"
#include "tests/support/scratch.h"

namespace vyr {

// `zone` is a folder of the data set, such as "korea.wz".
inline void open_generated_theatre(const char* zone) {
    setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
    find_read_only_path("vyr.rop");
    init_trig_tables();
    std::snprintf(world_settings.data_directory, WORLD_DIRECTORY_SIZE, "3ddata\\");
    std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "%s\\", zone);
    world_settings.flags = WORLD_LOAD_DATA;
    init_world(&world_settings);
    world_settings.flags = 0;
    start_glide();
    accelerator_flag = 1;
    set_viewport(0, 0, platform::accel::SCREEN_WIDTH, platform::accel::SCREEN_HEIGHT);
}

inline void close_generated_theatre() {
    accelerator_flag = 0;
    platform::accel::shut_down();
    shutdown_world();
}

}  // namespace vyr
