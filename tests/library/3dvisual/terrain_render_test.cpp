// The generated theatres drawn through the accelerator from fixed eyes, at every terrain detail.
// The palette goes to the display through the window thread this binary runs (world_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/terrain_colours.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/visibility.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/world_glide.h"
#include "library/debug/fatal.h"
#include "library/graphics/palette.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/os/file.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/library/3dvisual/world_fixtures.h"
#include "platform/accel/framebuffer.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace accel = platform::accel;
constexpr int32_t POST = 1 << 20;
constexpr uint32_t CLEAR_COLOUR = 0xFF00FF00;  // magenta: what no triangle covered

class TerrainRender : public GeneratedWorld {
protected:
    static void open_zone(const char* zone) {
        GeneratedWorld::open_zone(zone);
        load_colours();
    }

    // The 3D palette with the current war zone's terrain colours, as the flight's set-up builds it.
    static void load_colours() {
        load_base_palette("3ddata\\3dpal.rgb", 0, 224, 0);
        load_terrain_colours();
        apply_palette();
    }

    static std::vector<uint16_t> frame() {
        return std::vector<uint16_t>(accel::draw_buffer(), accel::draw_buffer() + accel::SCREEN_WIDTH * accel::SCREEN_HEIGHT);
    }

    // Pixels of the lower screen no triangle covered; the last column and row stay outside the
    // projection's limits.
    static int holes_in_the_ground() {
        int holes = 0;
        for (int y = 300; y < accel::SCREEN_HEIGHT - 1; ++y)
            for (int x = 0; x < accel::SCREEN_WIDTH - 1; ++x) {
                const Rgb c = pixel(x, y);
                holes += c.r > 240 && c.g < 16 && c.b > 240;
            }
        return holes;
    }

    // The terrain pass of a render: every tile of a window around the eye.
    static void render_terrain(const Pose& eye, int detail, int reach) {
        ViewSettings view = view_settings;
        view.terrain_detail = detail;
        view.visual_range = reach;
        view.sun_heading = -60 * DEGREE;
        view.sun_elevation = -40 * DEGREE;
        set_view_settings(&view);
        set_depth_scale(reach);
        set_eye(&eye);
        accel::clear_buffer(CLEAR_COLOUR);
        draw_terrain_around_eye(reach, queue_terrain_tile_accel);
    }
};

Pose eye_at(double post_x, double post_y, int feet, int heading_degrees, int pitch_degrees) {
    Pose pose{{int32_t(post_x * POST), int32_t(post_y * POST), feet * FOOT}, {}};
    build_rotation_matrix(uint32_t(int64_t(heading_degrees) * DEGREE), uint32_t(int64_t(pitch_degrees) * DEGREE), 0,
                          pose.matrix);
    return pose;
}

Pose korea_eye() { return eye_at(140, 128, 5000, 90, -4); }

TEST_F(TerrainRender, EveryTheatreAtEveryDetailCoversTheGroundWithoutCracks) {
    const struct {
        const char* zone;
        Pose eye;
    } views[] = {
        {"israel.wz", eye_at(60, 100, 3000, 80, -6)},
        {"korea.wz", korea_eye()},
        {"cyprus.wz", eye_at(30, 86, 4000, 60, -5)},
        {"afghan.wz", eye_at(118, 146, 9000, 10, 0)},
        {"nevada.wz", eye_at(188, 40, 6000, 270, -3)},
    };
    for (const auto& view : views) {
        open_zone(view.zone);
        for (int detail = 0; detail <= 3; ++detail) {
            SCOPED_TRACE(testing::Message() << view.zone << " detail " << detail);
            render_terrain(view.eye, detail, 12);
            write_frame(std::string(VYR_BUILD_DIR) + "/terrain_" + view.zone + "_" + std::to_string(detail) + ".ppm");
            EXPECT_EQ(holes_in_the_ground(), 0);
        }
        accelerator_flag = 0;
        accel::shut_down();
    }
}

// Korea's valley at the highest detail, against a picture of it kept small: each 8 x 8 block's
// mean colour may stray a little (dither, rounding), not more.
TEST_F(TerrainRender, KoreaLooksAsItDid) {
    open_zone("korea.wz");
    render_terrain(korea_eye(), 3, 12);
    std::ifstream in(std::string(VYR_FIXTURES_DIR) + "/terrain_korea.ppm", std::ios::binary);
    std::string magic;
    int width = 0, height = 0, depth = 0;
    in >> magic >> width >> height >> depth;
    in.get();
    ASSERT_EQ(width, 80);
    ASSERT_EQ(height, 60);
    std::vector<unsigned char> expected(80 * 60 * 3);
    in.read(reinterpret_cast<char*>(expected.data()), std::streamsize(expected.size()));
    double difference = 0;
    for (int by = 0; by < 60; ++by)
        for (int bx = 0; bx < 80; ++bx) {
            int sum[3] = {};
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x) {
                    const Rgb c = pixel(bx * 8 + x, by * 8 + y);
                    sum[0] += c.r, sum[1] += c.g, sum[2] += c.b;
                }
            for (int k = 0; k < 3; ++k) difference += std::abs(sum[k] / 64 - expected[size_t(by * 80 + bx) * 3 + k]);
        }
    EXPECT_LT(difference / (80 * 60 * 3), 6.0);
}

// After a change of war zone the accelerator holds the new theatre's textures: the same frame as
// an accelerator started in that theatre.
TEST_F(TerrainRender, AWarZoneChangeShowsTheNewTheatresGround) {
    open_zone("korea.wz");
    render_terrain(korea_eye(), 2, 12);
    const std::vector<uint16_t> korea = frame();
    std::snprintf(world_settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "nevada.wz\\");
    reload_terrain_textures(&world_settings);
    load_colours();
    render_terrain(korea_eye(), 2, 12);
    const std::vector<uint16_t> changed = frame();
    accel::shut_down();
    start_glide();
    load_colours();
    render_terrain(korea_eye(), 2, 12);
    EXPECT_TRUE(changed == frame());
    int differing = 0;
    for (size_t k = 0; k < korea.size(); ++k) differing += korea[k] != changed[k];
    EXPECT_GT(differing, int(korea.size() / 3));
}

}  // namespace
}  // namespace vyr
