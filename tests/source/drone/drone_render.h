// The renders of drones: a theatre of the generated data (Korea mostly) opened with the
// accelerator started as a flight starts it, under the default sun or one from the south-west 40
// degrees up.
#pragma once

#include <cstdlib>

#include "library/3dvisual/view.h"
#include "library/3dvisual/world_palette.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/os/file.h"
#include "source/drone/drone_types.h"
#include "tests/support/glide_start.h"
#include "tests/support/scratch.h"

namespace vyr {


inline void open_generated_war_zone(const char* war_zone) {
    setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
    find_read_only_path("vyr.rop");
    init_trig_tables();
    init_drone_types();
    open_world_with_glide(war_zone);
}

inline void open_generated_korea() { open_generated_war_zone("korea.wz"); }

inline void open_drone_render_world() {
    open_generated_korea();
    ViewSettings view = view_settings;
    view.sun_heading = 0x60000000;
    view.sun_elevation = -40 * DEGREE;
    set_view_settings(&view);
    build_world_palette();
}

}  // namespace vyr
