// The worlds the tests of the 3D world stand on: one without data files, drawing on an 8-bit
// screen; and the generated data set's theatres with the accelerator started as a flight starts
// them. Both leave the ground flat and bare for the tests after them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/visibility.h"
#include "library/3dvisual/world.h"
#include "library/gfxinit/glide.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/os/file.h"
#include "platform/accel/framebuffer.h"
#include "tests/support/scratch.h"
#include "tests/support/glide_start.h"
#include "tests/support/worlds.h"

namespace vyr {

// The terrain pass alone over the tiles within `reach` of the eye, each queued by `queue_tile`.
inline void draw_terrain_around_eye(int reach, void (*queue_tile)()) {
    reset_object_buffer();
    visible_tile_range = {-reach, reach, -reach, reach};
    prepare_terrain_frame();
    for (int dx = -reach; dx <= reach; ++dx)
        for (int dy = -reach; dy <= reach; ++dy) {
            render_tile_x = eye_tile_x + dx;
            render_tile_y = eye_tile_y + dy;
            queue_tile();
        }
    flush_object_buffer();
}

// The world set up without data, a 640 x 480 8-bit screen selected and the viewport over it.
class SoftwareScreenWorld : public ScratchDirectories {
protected:
    static constexpr int W = 640, H = 480;

    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        world_settings.flags = 0;
        init_world(&world_settings);
        screen = wrap_screen(W, H, 0, pixels.data());
        select_screen(screen);
        set_viewport(0, 0, W, H);
    }
    void TearDown() override {
        destroy_screen(screen);
        shutdown_world();
        ScratchDirectories::TearDown();
    }

    std::vector<uint8_t> pixels = std::vector<uint8_t>(W * H);
    Screen* screen = nullptr;
};

class GeneratedWorld : public GeneratedTheatre {
protected:
    void TearDown() override {
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        std::fill(&feature_layer[0][0], &feature_layer[0][0] + FEATURE_TILES * FEATURE_TILES, nullptr);
        close_world_with_glide();
        GeneratedTheatre::TearDown();
    }

    // The war zone's directory, loaded, and the accelerator's whole screen the viewport.
    static void open_zone(const char* zone) {
        open_world_with_glide(zone);
    }
};

}  // namespace vyr
