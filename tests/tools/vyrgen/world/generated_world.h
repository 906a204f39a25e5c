// The generated data set as the game reads it, for the tests that look at a whole theatre.
#pragma once

#include <cstdio>

#include "library/3dvisual/objects.h"
#include "library/3dvisual/world.h"
#include "library/maths/trig.h"
#include "tests/support/scratch.h"

namespace vyr::vyrgen {

class GeneratedWorld : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        use_generated_data();
        init_trig_tables();
        reload_objects("3DDATA\\");
    }

    // Makes a war zone's directory (without its separator) the current world's.
    static void use_war_zone(const char* directory) {
        std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "%s\\", directory);
        world_settings.dynamic_ground_objects = nullptr;
        current_world_settings = &world_settings;
    }
};

}  // namespace vyr::vyrgen
