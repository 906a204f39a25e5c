#include "library/3dvisual/draw_object.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/face_record.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "tests/library/3dvisual/object_files.h"

namespace vyr {
namespace {

using namespace testing_objects;
constexpr int32_t ONE = 0x7FFFFFFF;
constexpr uint8_t BACKGROUND = 1;
constexpr int32_t NEAR_LIMIT = 25600;

// A cube whose face colours start at `first`; its front face (towards -y) is first + 3.
TestObject painted_cube(uint8_t first) {
    TestObject o = cube();
    for (size_t at = 0; at + 1 < o.code.size(); at += 9) o.code[at + 3] = uint8_t(first + at / 9);
    return o;
}

// Objects: 1 a cube drawn near, 2 its far level; 3..9 a chain, each holding the next as its
// part; 10 a cube with a face reaching far behind its own bounds.
class ObjectDrawing : public ObjectFiles {
protected:
    void SetUp() override {
        ObjectFiles::SetUp();
        TestObject near = painted_cube(10);
        near.lod_distance = NEAR_LIMIT;
        near.lod_next = 2;
        std::vector<std::optional<TestObject>> objects = {std::nullopt, near, painted_cube(40)};
        for (int32_t n = 3; n <= 9; ++n) {
            TestObject link = cube();
            if (n < 9) {
                link.subs = {{n + 1, IDENTITY_AT(0, 0, 0)}};
                link.code.back() = FACE_OP_SUB_OBJECT;
                link.code.insert(link.code.end(), {0, FACE_OP_END});
            }
            objects.push_back(link);
        }
        TestObject spike = painted_cube(20);
        spike.vertices.push_back({0, -4000, 0});
        spike.code.pop_back();
        spike.code.insert(spike.code.end(), {0, 2, 3, 60, 0, 1, 8, 7});
        objects.push_back(spike);
        write_files(build_object_file(objects).bytes, build_texture_file(1));
        reload_objects("3DDATA\\");

        screen = open_object_screen();
        std::fill(screen->pixels, screen->pixels + 64 * 48, BACKGROUND);
        // The eye 6 ft south of the object and level with it, looking north.
        Pose eye{{object_pose.position.x, object_pose.position.y - 6 * FOOT, object_pose.position.z}, {}};
        set_identity_matrix(eye.matrix);
        set_eye(&eye);
    }
    void TearDown() override {
        select_screen(nullptr);
        shutdown_world();
        ObjectFiles::TearDown();
    }

    void draw(int32_t type, int32_t distance) {
        ObjectInstance* instance = create_object_instance(type, nullptr, &object_pose, nullptr);
        instance->view_distance = distance;
        draw_object(instance);
        free_object_instance(instance);
    }
    uint8_t centre() const { return screen->pixels[24 * 64 + 32]; }

    Screen* screen = nullptr;
    Pose object_pose{{1 << 27, 1 << 27, 20 * FOOT}, {{{ONE, 0, 0}, {0, ONE, 0}, {0, 0, ONE}}}};
};

TEST_F(ObjectDrawing, ALevelIsDrawnUpToItsDistanceAndTheNextOneBeyond) {
    draw(1, NEAR_LIMIT);
    EXPECT_EQ(centre(), 13);
    draw(1, NEAR_LIMIT + 1);
    EXPECT_EQ(centre(), 43);
}

int hooked_level = -1;
void note_level(void*, int level) { hooked_level = level; }

TEST_F(ObjectDrawing, TheAnimationHookIsToldTheLevelDrawn) {
    set_animation_hook(note_level);
    draw(1, NEAR_LIMIT);
    EXPECT_EQ(hooked_level, 0);
    draw(1, NEAR_LIMIT + 1);
    EXPECT_EQ(hooked_level, 1);
    set_animation_hook(nullptr);
}

TEST_F(ObjectDrawing, AFaceIsShadedByTheLightOnItsNormal) {
    for (int c = 10; c < 16; ++c) set_shade_ramp(c, 100, 64);
    struct Case {
        Vector3 light;
        int level;  // the light's top byte on the front face, (-127 x 2^24 x y + 2^30) >> 31 >> 23
    };
    const Case cases[] = {
        {{0, -ONE, 0}, int(((int64_t(127) << 24) * ONE + (int64_t(1) << 30)) >> 31 >> 23)},
        {{0, -0x5A827999, 0x5A827999}, int(((int64_t(127) << 24) * 0x5A827999 + (int64_t(1) << 30)) >> 31 >> 23)},
        {{0, ONE, 0}, 0},  // a face turned from the light is dark, not negative
    };
    const Vector3 saved = light_vector;
    for (const Case& c : cases) {
        light_vector = c.light;
        draw(1, 0);
        EXPECT_EQ(centre(), 100 + c.level * 64 / 256) << c.level;
    }
    light_vector = saved;
}

TEST_F(ObjectDrawing, AFaceReachingBehindTheEyeIsClippedNotProjected) {
    draw(10, 0);
    EXPECT_EQ(screen->pixels[40 * 64 + 32], 60);  // the spike's face, cut at the eye
    EXPECT_EQ(centre(), 23);
}

TEST_F(ObjectDrawing, PartsNestNoDeeperThanFive) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(draw(3, 0), ::testing::ExitedWithCode(10), "Error - object complexity exceeded normal limits\\.");
    draw(4, 0);  // five deep
    EXPECT_NE(centre(), BACKGROUND);
}

// Objects 633 and 638 draw their glass in colour 0xFF, every other rotated object and every
// unrotated one in 0xE8, whatever was drawn before.
TEST_F(ObjectDrawing, TheGlassColourIsTheObjectsOwnNotTheLastDrawnOnes) {
    TestObject fixed;
    fixed.unrotated = 1;
    fixed.vertices = {compact_point(-1, 1, -1), compact_point(0, 1, 1), compact_point(1, 1, -1)};
    fixed.code = {FACE_OP_FACE, RENDER_TRANSLUCENT, 3, 0, 1, 2, FACE_OP_END};
    std::vector<std::optional<TestObject>> objects(639);
    objects[1] = cube();
    objects[2] = fixed;
    objects[633] = objects[638] = cube();
    write_files(build_object_file(objects).bytes, build_texture_file(1));
    reload_objects("3DDATA\\");
    const struct {
        int32_t type;
        int32_t colour;
    } sequence[] = {{633, 0xFF}, {2, 0xE8}, {638, 0xFF}, {1, 0xE8}, {633, 0xFF}, {2, 0xE8}};
    for (const auto& drawn : sequence) {
        translucent_colour = 0;
        draw(drawn.type, 0);
        EXPECT_EQ(translucent_colour, drawn.colour) << drawn.type;
    }
}

// The viewers' pictures: one object alone on colour 0xD0 at its own distance from the eye, lit as
// the caller's light block says.
TEST_F(ObjectDrawing, AnObjectViewShowsTheObjectAloneAtItsDistanceInTheLightGiven) {
    ViewSettings light{};
    light.sun_heading = 0x20000000;
    light.sun_elevation = -0x10000000;
    light.darkness = 3;
    Pose eye{{object_pose.position.x, object_pose.position.y - 6 * FOOT, object_pose.position.z}, {}};
    set_identity_matrix(eye.matrix);
    ObjectInstance* instance = create_object_instance(1, nullptr, &object_pose, nullptr);
    instance->view_distance = NEAR_LIMIT + 1;  // stale: the view sets its own
    render_object_view(&eye, instance, &light);
    EXPECT_EQ(instance->view_distance, estimate_distance_3d(0, 6 * FOOT, 0));
    free_object_instance(instance);
    EXPECT_EQ(centre(), 13) << "the near level, facing the eye";
    EXPECT_EQ(screen->pixels[0], 0xD0);
    EXPECT_EQ(screen->pixels[64 * 48 - 1], 0xD0);
    EXPECT_EQ(current_view.sun_heading, light.sun_heading);
    EXPECT_EQ(current_view.sun_elevation, light.sun_elevation);
    EXPECT_EQ(current_view.darkness, light.darkness);
}

// A ground object's view places the record by its tile and turns it by its heading: a quarter
// turn shows the eye a side face instead of the front.
TEST_F(ObjectDrawing, AGroundObjectViewPlacesTheRecordInItsTile) {
    const ViewSettings light{};
    Pose eye{{(32 << 22) + 100 * FOOT, (40 << 22) + 200 * FOOT - 6 * FOOT, 0}, {}};
    set_identity_matrix(eye.matrix);
    const struct {
        uint16_t heading;
        int tile_x;
        std::vector<uint8_t> colours;
    } cases[] = {{0, 32, {13}}, {0x4000, 32, {10}}, {0, 31, {0xD0}}};
    for (const auto& c : cases) {
        const ground_object record{1, 100, 200, c.heading, 0, 0};
        render_ground_object_view(&eye, &record, c.tile_x, 40, &light);
        EXPECT_NE(std::find(c.colours.begin(), c.colours.end(), centre()), c.colours.end())
            << c.heading << " in tile " << c.tile_x << ": " << int(centre());
        EXPECT_EQ(screen->pixels[0], 0xD0);
    }
}

// The nozzle: its ring (vertices 1, 4, 5 here) closes about the axis at 1472 world units up as
// the opening falls, and its glow follows the afterburner.
class Nozzle : public ObjectDrawing {
protected:
    void SetUp() override {
        ObjectDrawing::SetUp();
        TestObject nozzle;
        nozzle.vertices.assign(91, {0, 0, 92});
        // 1472 units up is 92 steps of 16: a triangle about the axis, facing south.
        nozzle.vertices[1] = {-40, -16, 92 - 40};
        nozzle.vertices[4] = {0, -16, 92 + 40};
        nozzle.vertices[5] = {40, -16, 92 - 40};
        nozzle.code = {FACE_OP_FACE, RENDER_FLAT, 3, 70, 1, 4, 5, FACE_OP_END};
        std::vector<std::optional<TestObject>> objects(OBJ_NOZZLE + 1);
        objects[OBJ_NOZZLE] = nozzle;
        write_files(build_object_file(objects).bytes, build_texture_file(1));
        reload_objects("3DDATA\\");
        object_pose.position.z -= 1472;  // the axis at the eye's height
        base_palette[3 * 178] = 250;
        base_palette[3 * 180] = 50;
    }
    int covered() const { return int(std::count(screen->pixels, screen->pixels + 64 * 48, 70)); }
};

TEST_F(Nozzle, TheRingClosesAsTheOpeningFallsAndTheGlowFollowsTheAfterburner) {
    set_nozzle_opening(100);
    set_afterburner_lit(1);
    draw(OBJ_NOZZLE, 0);
    const int open = covered();
    EXPECT_EQ(nozzle_flag, 1);
    EXPECT_EQ(glow_colour[0], 250);
    EXPECT_EQ(glow_alpha, 110);
    EXPECT_EQ(flicker_level, 50);

    std::fill(screen->pixels, screen->pixels + 64 * 48, BACKGROUND);
    set_nozzle_opening(0);
    set_afterburner_lit(0);
    draw(OBJ_NOZZLE, 0);
    EXPECT_GT(open, covered() * 3 / 2);  // 0.95 against 0.7 of the size each way
    EXPECT_GT(covered(), 0);
    EXPECT_EQ(glow_colour[0], 15);
    EXPECT_EQ(glow_alpha, 0);
}

}  // namespace
}  // namespace vyr
