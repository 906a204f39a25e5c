// The effects drawn through the accelerator over a generated theatre from a fixed eye on a lake
// shore: bursts at three ages, smoke and haze trails, a crater, a wreck scar and the fragments of
// a tank, one of them sinking in the lake. The palette goes to the display through the window
// thread this binary runs (world_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "library/3dvisual/explosions.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/fragments.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/scars.h"
#include "library/3dvisual/smoke.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/terrain_colours.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/graphics/palette.h"
#include "library/graphics/poly.h"
#include "library/maths/units.h"
#include "platform/accel/framebuffer.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "library/maths/trig.h"
#include "tests/support/glide_start.h"
#include "tests/support/scratch.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace accel = platform::accel;
constexpr int32_t POST = 1 << 20;
constexpr int32_t TICK = 0x7FFFFFFF / 200;
constexpr int32_t STEP = 0x7FFFFFFF / 10;
constexpr int OBJ_MAIN_BATTLE_TANK = 68;
// The small lake of the generated island: its middle, in posts.
constexpr double LAKE_X = 134, LAKE_Y = 96;

Vector3 at_post(double x, double y, int32_t z = 0) { return {int32_t(x * POST), int32_t(y * POST), z}; }

class EffectsRender : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        use_generated_data();
        init_trig_tables();
        open_world_with_glide("cyprus.wz");
        load_base_palette("3ddata\\3dpal.rgb", 0, 224, 0);
        load_terrain_colours();
        apply_palette();
        ViewSettings view = current_view;
        view.visual_range = 7;
        view.object_near_limit = 256;
        view.object_visual_range = 4 * POST;
        view.sun_heading = -60 * DEGREE;
        view.sun_elevation = -40 * DEGREE;
        view.cloud_base = view.cloud_top = 30000 * FOOT;
        view.terrain_detail = 2;
        view.object_textures = 1;
        view.flags = 0;
        set_view_settings(&view);
        set_depth_scale(view.visual_range);
    }
    void TearDown() override {
        // The other tests of the world stand on flat ground.
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        close_world_with_glide();
        ScratchDirectories::TearDown();
    }

    // The eye on the lake's south shore, 80 ft up, looking north over it.
    static Pose shore_eye() {
        Pose eye{at_post(LAKE_X, LAKE_Y - 1.6, 0), {}};
        eye.position.z = get_ground_height(eye.position.x, eye.position.y) + 80 * FOOT;
        build_rotation_matrix(0, uint32_t(-5 * DEGREE), 0, eye.matrix);
        return eye;
    }

    static void steps(int n, int32_t fraction = TICK) {
        for (int i = 0; i < n; ++i) update_world_effects(fraction);
    }

    // Pixels that differ between two frames in a box around a screen point.
    static int changed_near(const std::vector<uint16_t>& before, int cx, int cy, int reach) {
        int changed = 0;
        for (int y = std::max(0, cy - reach); y < std::min(accel::SCREEN_HEIGHT, cy + reach); ++y)
            for (int x = std::max(0, cx - reach); x < std::min(accel::SCREEN_WIDTH, cx + reach); ++x)
                changed += before[size_t(y * accel::SCREEN_WIDTH + x)] != accel::draw_buffer()[y * accel::SCREEN_WIDTH + x];
        return changed;
    }

    static std::vector<uint16_t> frame() {
        return {accel::draw_buffer(), accel::draw_buffer() + accel::SCREEN_WIDTH * accel::SCREEN_HEIGHT};
    }
};

TEST_F(EffectsRender, BurstsSmokeHazeScarsAndFragmentsOverTheLakeShore) {
    const Pose eye = shore_eye();
    render_world(&eye);
    const std::vector<uint16_t> empty = frame();
    write_frame(std::string(VYR_BUILD_DIR) + "/effects_empty.ppm");

    // Ground bursts at three ages along the shore, air bursts above them: bursts age by effect
    // steps, the rest by time, a tenth of a second a step.
    const double shore_y = LAKE_Y - 1.42;
    const double xs[3] = {LAKE_X - 0.1, LAKE_X, LAKE_X + 0.1};
    auto burst = [&](int i) {
        const Vector3 ground = at_post(xs[i], shore_y);
        spawn_ground_explosion(&ground, 90 * FOOT);
        const Vector3 air = at_post(xs[i] + 0.04, shore_y + 0.05, get_ground_height(ground.x, ground.y) + 200 * FOOT);
        spawn_air_explosion(&air, 80 * FOOT, nullptr, i == 1);
    };
    // Two smoke trails rising from burning points, an old one and a young one.
    auto smoke = [&](double x, double y) {
        Vector3 fire = at_post(x, y);
        fire.z = get_ground_height(fire.x, fire.y);
        const Vector3 plume = {fire.x + 60 * FOOT, fire.y + 100 * FOOT, fire.z + 400 * FOOT};
        spawn_smoke_trail(&fire, &plume, 12 * FOOT, 800, 5);
    };
    // A tank broken up on the shore.
    Pose tank_pose{at_post(LAKE_X + 0.03, shore_y - 0.05), {}};
    tank_pose.position.z = get_ground_height(tank_pose.position.x, tank_pose.position.y);
    set_identity_matrix(tank_pose.matrix);
    ObjectInstance* tank = create_object_instance(OBJ_MAIN_BATTLE_TANK, nullptr, &tank_pose, nullptr);
    place_sub_instances(tank);

    burst(0);
    smoke(LAKE_X - 0.17, shore_y + 0.02);
    steps(14, STEP);
    burst(1);
    smoke(LAKE_X + 0.2, shore_y + 0.06);
    spawn_fragments(tank);
    const int pieces = fragment_cursor;
    free_object_instance(tank);
    steps(8, STEP);
    burst(2);
    steps(3, STEP);

    // A haze trail behind a passing engine, drawn in the next render only.
    Pose engine{at_post(LAKE_X + 0.12, shore_y - 0.1, 0), {}};
    engine.position.z = eye.position.z + 5 * FOOT;
    build_rotation_matrix(uint32_t(90 * DEGREE), 0, 0, engine.matrix);
    spawn_haze_trail(&engine.position, 6 * FOOT, &engine, 5);

    // A crater and a wreck scar in front of the bursts.
    const Vector3 crater = at_post(LAKE_X - 0.05, shore_y - 0.08);
    add_explosion_crater(&crater, 0x6000, 0);
    const Vector3 wreck = at_post(LAKE_X + 0.06, shore_y - 0.07);
    add_wreck_scar(&wreck, &engine.matrix);

    render_world(&eye);
    write_frame(std::string(VYR_BUILD_DIR) + "/effects_render.ppm");
    EXPECT_GE(pieces, 1);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(haze_puffs[i].drawn, 1) << "haze puff " << i;
    EXPECT_GT(changed_near(empty, 320, 240, 320), 5000) << "the effects cover part of the view";
    steps(1);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(haze_puffs[i].state, 0) << "freed after its one render";
}

TEST_F(EffectsRender, APuffOfNoLifeIsNotDrawn) {
    const Pose eye = shore_eye();
    render_world(&eye);
    const std::vector<uint16_t> empty = frame();
    const Vector3 at = at_post(LAKE_X, LAKE_Y - 1.5, eye.position.z);
    spawn_smoke_puff(&at, 40 * FOOT, 400);
    smoke_puffs[0].life = 0;  // as if no update ran before this render
    render_world(&eye);
    EXPECT_EQ(changed_near(empty, 320, 240, 320), 0);
    smoke_puffs[0].life = 400;
    render_world(&eye);
    EXPECT_GT(changed_near(empty, 320, 240, 100), 100) << "the same puff with a life shows";
}

TEST_F(EffectsRender, AFragmentComingDownOnTheLakeSinksWithASplash) {
    Pose piece_pose{at_post(LAKE_X, LAKE_Y), {}};
    ASSERT_EQ(get_ground_height(piece_pose.position.x, piece_pose.position.y), 0);
    ASSERT_EQ(get_feature_kind(piece_pose.position.x, piece_pose.position.y), FEATURE_LAKE);
    piece_pose.position.z = 50 * FOOT;
    set_identity_matrix(piece_pose.matrix);
    ObjectInstance piece{};
    piece.object_type = OBJ_MAIN_BATTLE_TANK;
    piece.pose = &piece_pose;
    spawn_fragments(&piece);
    for (int i = 0; i < 200 && fragments[0].kind; ++i) steps(1, STEP);
    EXPECT_EQ(fragments[0].kind, 0) << "gone";
    EXPECT_EQ(ground_scar_ring[0].object_type, OBJ_SPLASH);
    EXPECT_EQ(ground_scar_ring[0].x, fragments[0].pose.position.x);
}

}  // namespace
}  // namespace vyr
