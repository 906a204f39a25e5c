#include "library/3dvisual/world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "library/3dvisual/clip_draw.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/stars.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/world_palette.h"
#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/viewport.h"
#include "library/gfxinit/texpal.h"
#include "library/graphics/palette.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "platform/accel/framebuffer.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/library/3dvisual/eye_points.h"
#include "tests/support/scratch.h"
#include "tests/support/headless_world.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace accel = platform::accel;

// The full render sends its palette to the display through the window thread.
const testing::Environment* const window_thread = testing::AddGlobalTestEnvironment(new WindowThreadEnvironment);

int poll_calls = 0;
void count_poll() { ++poll_calls; }
void pose_nothing(void*, int) {}

class World : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        world_settings.flags = 0;
        init_world(&world_settings);
        poll_calls = 0;
    }
    void TearDown() override {
        shutdown_world();
        ScratchDirectories::TearDown();
    }
};

TEST_F(World, SetUpClearsTheHooksAndInstallsTheDefaultView) {
    for (int round = 0; round < 2; ++round) {
        set_render_poll_hook(count_poll);
        set_animation_hook(pose_nothing);
        view_settings.visual_range = 7;
        init_world(&world_settings);
        EXPECT_EQ(animation_hook, nullptr);
        EXPECT_EQ(current_world_settings, &world_settings);
        EXPECT_EQ(current_view.visual_range, 6);
        EXPECT_EQ(current_view.sun_elevation, -0x40000000);
        EXPECT_EQ(current_view.flags, VIEW_CLOUDS | VIEW_SHADOWS);
        EXPECT_GE(cloud_random, 0);
        EXPECT_LE(cloud_random, 2978);
        EXPECT_EQ(cloud_fade_height, 26000);
    }
    // The hook is gone: a render does not call it.
    set_viewport(0, 0, 64, 48);
    Pose eye{{1 << 27, 1 << 27, 1000 * FOOT}, {}};
    set_identity_matrix(eye.matrix);
    render_world(&eye);
    EXPECT_EQ(poll_calls, 0);

    set_animation_hook(pose_nothing);
    shutdown_world();
    EXPECT_EQ(animation_hook, nullptr);
}

// A theatre of the generated data set; the other tests of the binary stand on an empty, flat
// world again afterwards.
class WorldData : public World {
protected:
    void SetUp() override {
        World::SetUp();
        use_generated_data();
    }
    void TearDown() override {
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        std::fill(std::begin(ground_object_tiles), std::end(ground_object_tiles), nullptr);
        star_count = 0;
        World::TearDown();
    }
};

TEST_F(WorldData, SetUpLoadsAndBuildsOnlyWhatItsFlagsAsk) {
    const struct {
        const char* name;
        int32_t flags;
        bool loads, builds;
    } cases[] = {
        {"neither", 0, false, false},
        {"palette", WORLD_BUILD_PALETTE, false, true},
        {"data", WORLD_LOAD_DATA, true, false},
        {"both", WORLD_BUILD_PALETTE | WORLD_LOAD_DATA, true, true},
        {"unknown bits", 0x7C, false, false},
    };
    ObjectInstance parked{};
    load_objects();
    ObjectHeader** const objects = object_table;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // What each flag would replace, spoilt; and what every set-up resets, set.
        terrain_max_height = 0;
        std::fill(std::begin(ground_object_tiles), std::end(ground_object_tiles), nullptr);
        star_count = 0;
        std::fill(std::begin(night_vision_remap), std::end(night_vision_remap), uint8_t(0));
        mobile_object_tiles[10][20] = &parked;
        set_render_poll_hook(count_poll);
        set_animation_hook(pose_nothing);

        WorldSettings settings = world_settings;
        std::snprintf(settings.war_zone_directory, WORLD_DIRECTORY_SIZE, "korea.wz\\");
        settings.flags = c.flags;
        init_world(&settings);
        EXPECT_EQ(settings.flags, c.flags) << "the caller clears its own flag";
        EXPECT_EQ(terrain_max_height > 0, c.loads);
        EXPECT_EQ(std::count(std::begin(ground_object_tiles), std::end(ground_object_tiles), nullptr) < 4096, c.loads);
        EXPECT_EQ(star_count > 0, c.loads);
        EXPECT_EQ(night_vision_remap[0] >= FIRST_NIGHT_VISION_COLOUR, c.builds);
        EXPECT_EQ(object_table, objects) << "the object files are read once per run";
        EXPECT_EQ(mobile_object_tiles[10][20], nullptr);
        EXPECT_EQ(animation_hook, nullptr);
        EXPECT_EQ(current_view.visual_range, 6);
        current_world_settings = &world_settings;  // `settings` goes out of scope
    }
}

TEST_F(World, TheEffectStepKeepsTheFrameTimeInTicks) {
    const struct {
        int32_t fraction, ticks;
    } cases[] = {{0, 0}, {(1 << 30) / 100, 1}, {0x7fffffff, 200}, {5368710, 1}, {5368709, 0}};
    for (const auto& c : cases) {
        update_world_effects(c.fraction);
        EXPECT_EQ(effect_frame_fraction, c.fraction);
        EXPECT_EQ(effect_ticks, c.ticks) << c.fraction;
    }
}

TEST_F(World, ASensorViewInstallsAReducedCopy) {
    set_viewport(0, 0, 64, 48);
    set_render_poll_hook(count_poll);
    ViewSettings settings = view_settings;
    settings.flags = VIEW_CLOUDS | VIEW_SHADOWS | VIEW_SHOW_OWN_OBJECT;
    Pose eye{{1 << 27, 1 << 27, 1000 * FOOT}, {}};
    set_identity_matrix(eye.matrix);
    render_sensor_view(&eye, &settings);
    EXPECT_EQ(current_view.terrain_detail, 1);
    EXPECT_EQ(current_view.object_textures, 2);
    EXPECT_EQ(current_view.flags, VIEW_SHOW_OWN_OBJECT);
    EXPECT_EQ(settings.flags, VIEW_CLOUDS | VIEW_SHADOWS | VIEW_SHOW_OWN_OBJECT);
    EXPECT_EQ(poll_calls, 0) << "only the full render polls";
    render_world(&eye);
    EXPECT_EQ(poll_calls, 1);
}

// A test scene in world coordinates, queued through the object buffer by the poll hook and drawn
// by a drawer of its own: a ground square running from behind the eye to far ahead, a pyramid
// of four faces, and a square behind the eye.
struct Face {
    std::vector<Vector3> corners;
    std::vector<int32_t> levels;
    int colour;
};

const int32_t CX = 1 << 27, CY = (1 << 27) + 1500 * FOOT;  // the pyramid's centre
// South-west of the pyramid, looking at it a little down; needs the trig tables.
Pose scene_eye() {
    Pose pose{{CX - 500 * FOOT, CY - 1500 * FOOT, 600 * FOOT}, {}};
    build_rotation_matrix(uint32_t(-10 * DEGREE), uint32_t(-12 * DEGREE), 0, pose.matrix);
    return pose;
}
constexpr int32_t S = 300 * FOOT, H = 400 * FOOT;

const std::vector<Face> SCENE = {
    {{{CX - 3000 * FOOT, CY - 2500 * FOOT, 0}, {CX - 3000 * FOOT, CY + 6000 * FOOT, 0},
      {CX + 3000 * FOOT, CY + 6000 * FOOT, 0}, {CX + 3000 * FOOT, CY - 2500 * FOOT, 0}},
     {255, 60, 60, 255}, 0x20},
    {{{CX - S, CY - S, 0}, {CX, CY, H}, {CX + S, CY - S, 0}}, {120, 255, 180}, 0x10},
    {{{CX - S, CY + S, 0}, {CX, CY, H}, {CX - S, CY - S, 0}}, {150, 255, 150}, 0x40},
    {{{CX + S, CY - S, 0}, {CX, CY, H}, {CX + S, CY + S, 0}}, {255, 255, 255}, 0x30},
    {{{CX + S, CY + S, 0}, {CX, CY, H}, {CX - S, CY + S, 0}}, {255, 255, 255}, 0x30},
    {{{CX - 600 * FOOT, CY - 4000 * FOOT, 0}, {CX - 600 * FOOT, CY - 4000 * FOOT, 600 * FOOT},
      {CX - 400 * FOOT, CY - 4000 * FOOT, 600 * FOOT}},
     {255, 255, 255}, 0xF0},
};

Vector3 to_eye(const Vector3& p) {
    const Vector3 d = {p.x - eye_pose.position.x, p.y - eye_pose.position.y, p.z - eye_pose.position.z};
    Vector3 e;
    rotate_vector(view_matrix, d, e);
    return e;
}

int faces_drawn = 0;

void draw_scene_face(BufferNode* node) {
    ++faces_drawn;
    const Face& face = SCENE[size_t(node->payload[0])];
    std::vector<PolyVertex> vertices;
    for (size_t i = 0; i < face.corners.size(); ++i) {
        const Vector3 e = to_eye(face.corners[i]);
        vertices.push_back(eye_point(e.x, e.y, e.z));
        vertices.back().shade = face.levels[i] << 23;
    }
    for (size_t i = 0; i + 1 < vertices.size(); ++i) vertices[i].next = &vertices[i + 1];
    draw_clipped_gouraud(vertices.data(), uint32_t(face.colour | 0x0F) * 0x01010101u);
}

void queue_scene() {
    ++poll_calls;
    for (size_t i = 0; i < SCENE.size(); ++i) {
        Vector3 centre{0, 0, 0};
        for (const Vector3& c : SCENE[i].corners) {
            centre.x += (c.x - CX) / int32_t(SCENE[i].corners.size());
            centre.y += (c.y - CY) / int32_t(SCENE[i].corners.size());
            centre.z += c.z / int32_t(SCENE[i].corners.size());
        }
        const Vector3 e = to_eye({centre.x + CX, centre.y + CY, centre.z});
        BufferNode* node = alloc_buffer_node();
        node->type = NODE_MOBILE_OBJECT;
        node->key = e.y < 0 ? -estimate_distance_3d(e.x, e.y, e.z) : estimate_distance_3d(e.x, e.y, e.z);
        node->payload[0] = int32_t(i);
        queue_buffer_node(node);
    }
}

class WorldRender : public World {
protected:
    void SetUp() override {
        World::SetUp();
        std::copy(std::begin(buffer_drawers), std::end(buffer_drawers), saved_drawers);
        buffer_drawers[NODE_MOBILE_OBJECT] = draw_scene_face;
        const double hues[16][3] = {{1, 1, 1}, {1, 0, 0}, {0.3, 0.8, 0.2}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1},
                                    {1, .5, 0}, {.5, 1, 0}, {0, .5, 1}, {.5, 0, 1}, {1, 0, .5}, {.6, .5, .4},
                                    {.4, .6, .5}, {.5, .4, .6}, {1, 1, 1}};
        uint8_t palette[768];
        for (int i = 0; i < 256; ++i)
            for (int k = 0; k < 3; ++k) palette[3 * i + k] = uint8_t(hues[i >> 4][k] * (40 + 215 * (i & 15) / 15));
        set_base_palette(palette, 0, 256, 0);
        for (int c = 0; c < 256; ++c)
            for (int level = 0; level < 256; ++level) shade_table[c * 256 + level] = uint8_t((c & 0xF0) | level >> 4);
        accel::open_display();
        accelerator_flag = 1;
        set_depth_scale(7);
        set_viewport(0, 0, accel::SCREEN_WIDTH, accel::SCREEN_HEIGHT);
    }
    void TearDown() override {
        accelerator_flag = 0;
        accel::shut_down();
        std::copy(std::begin(saved_drawers), std::end(saved_drawers), buffer_drawers);
        World::TearDown();
    }

    // Where a world point lands on the screen.
    static PolyVertex screen_point(const Vector3& p) {
        const Vector3 e = to_eye(p);
        PolyVertex v = eye_point(e.x, e.y, stretch_up(e.z));
        project_vertex(v);
        return v;
    }

    BufferDrawer saved_drawers[BUFFER_NODE_TYPES];
};

TEST_F(WorldRender, ASceneQueuedThroughTheObjectBufferIsDrawnBackToFront) {
    set_render_poll_hook(queue_scene);
    accel::clear_buffer(0x6080C000);
    const Pose eye = scene_eye();
    faces_drawn = 0;
    render_world(&eye);
    write_frame(std::string(VYR_BUILD_DIR) + "/world_render.ppm");

    EXPECT_EQ(poll_calls, 1);
    EXPECT_EQ(faces_drawn, int(SCENE.size())) << "the terrain queues its own nodes beside the scene's";
    EXPECT_GE(get_object_buffer_back_count(), 1);

    const Rgb sky = pixel(320, 2);
    EXPECT_EQ(sky.b > sky.r && sky.b > sky.g, true) << "nothing is drawn above the horizon";
    const Rgb ground = pixel(320, 475);
    EXPECT_GT(ground.g, ground.r) << "the ground square, cut at the eye, reaches the bottom edge";
    EXPECT_GT(ground.g, ground.b);

    const PolyVertex front = screen_point({CX, CY - S + S / 3, H / 3});
    const Rgb red = pixel(front.screen_x, front.screen_y);
    EXPECT_GT(red.r, 2 * red.g) << "the front face over the ground";
    const PolyVertex west = screen_point({CX - S + S / 3, CY, H / 3});
    const Rgb yellow = pixel(west.screen_x, west.screen_y);
    EXPECT_GT(yellow.g, 2 * yellow.b) << "the west face";
    EXPECT_GT(yellow.r, 2 * yellow.b);
    // Below the horizon, where the pyramid stands: above it the cloud deck takes this palette's blues.
    for (int y = 200; y < accel::SCREEN_HEIGHT; y += 4)
        for (int x = 0; x < accel::SCREEN_WIDTH; x += 4) {
            const Rgb c = pixel(x, y);
            ASSERT_FALSE(c.b > 100 && c.r < 60 && c.g < 60) << "a face turned away is drawn at " << x << ", " << y;
        }
}

}  // namespace
}  // namespace vyr
