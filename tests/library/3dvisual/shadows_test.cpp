#include "library/3dvisual/shadows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <optional>
#include <vector>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/face_record.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "tests/library/3dvisual/header_table.h"
#include "tests/library/3dvisual/object_files.h"
#include "tests/library/3dvisual/screen_point.h"

namespace vyr {
namespace {

using namespace testing_objects;
constexpr int32_t ONE = 0x7FFFFFFF;
constexpr int32_t STEP_ONE = 1 << 28;  // a shadow step of 1.0: the sun 45 degrees up
constexpr uint8_t BACKGROUND = 1, SHADOW = 2;

// The shadow handlers skip a record's fields by these bits per mode (1 colour, 2 second colour,
// 4 face normal, 8 vertex normals, 16 texture with u and v), plain and conditional; the face
// layouts the walkers read by must agree.
TEST(ShadowFaces, TheFaceLayoutsHoldTheSkipTables) {
    constexpr uint8_t PLAIN[RENDER_MODE_COUNT] = {1, 1, 1, 3, 1, 1, 0, 19, 19, 5, 5, 5, 7, 5, 5, 23, 23, 13, 15, 31, 31, 0};
    constexpr uint8_t CONDITIONAL[RENDER_MODE_COUNT] = {1, 1, 1, 3, 1,  1,  0,  19, 16, 5,  5,
                                                        5, 7, 5, 5, 23, 20, 13, 15, 31, 28, 0};
    for (int mode = 0; mode < RENDER_MODE_COUNT; ++mode)
        for (bool conditional : {false, true}) {
            const FaceLayout l = face_layout(mode, conditional);
            const int bits = (l.colours >= 1) | (l.colours == 2) << 1 | l.normal << 2 | l.vertex_normal << 3 |
                             (l.texture && l.uv) << 4;
            EXPECT_EQ(bits, conditional ? CONDITIONAL[mode] : PLAIN[mode]) << "mode " << mode;
        }
}

TEST(ShadowFaces, TheOffsetIsTheHeightTimesTheStep) {
    EXPECT_EQ(shadow_offset(100 * FOOT, STEP_ONE), 100 * FOOT);
    EXPECT_EQ(shadow_offset(100 * FOOT, -STEP_ONE / 2), -50 * FOOT);
    EXPECT_EQ(shadow_offset(3, STEP_ONE / 2), 2) << "rounded";
    EXPECT_EQ(shadow_offset(0, STEP_ONE), 0);
    EXPECT_EQ(shadow_offset(60000 * FOOT, 0x7FFFFFFF), int32_t((int64_t(60000 * FOOT) * 8 * 0x7FFFFFFF + (1ll << 30)) >> 31));
}

constexpr int32_t X = 100 << 20, Y = 90 << 20;  // mid-world, one post
constexpr int SHIP = 5, PLANE = 6;

// Where shadows fall: the ground, the cloud top and the decks in the mobile lists.
class ShadowPlane : public testing::Test {
protected:
    void SetUp() override {
        init_mobile_lists();
        headers.add(SHIP, 300 * FOOT, 20 * FOOT, OBJECT_SHADOW_DECK, 200 * FOOT);
        headers.add(PLANE, 30 * FOOT, 10 * FOOT, OBJECT_CASTS_SHADOW);
        saved = {shadow_step_x, shadow_step_y, sky_state, current_view.cloud_top};
        shadow_step_x = STEP_ONE;
        shadow_step_y = -STEP_ONE / 2;
        sky_state = SKY_BELOW_CLOUDS;
    }
    void TearDown() override {
        init_mobile_lists();
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        terrain_max_height = 0;
        shadow_step_x = saved.x;
        shadow_step_y = saved.y;
        sky_state = saved.sky;
        current_view.cloud_top = saved.top;
    }
    static void flat_ground(int feet) {
        for (auto& row : terrain_posts)
            for (TerrainPost& post : row) post.height = uint16_t(feet);
    }
    ObjectInstance* place(int type, int32_t x, int32_t y, int32_t z) {
        Pose& pose = poses.emplace_back();
        pose.position = {x, y, z};
        set_identity_matrix(pose.matrix);
        ObjectInstance& instance = instances.emplace_back();
        instance.object_type = type;
        instance.pose = &pose;
        link_mobile_object(&instance);
        return &instance;
    }
    struct Found {
        Vector3 shadow;
        int32_t h;
    };
    static Found find(const Vector3& origin) {
        Found f{};
        find_shadow_plane(origin, f.shadow, f.h);
        return f;
    }

    HeaderTable headers{8};
    std::deque<Pose> poses;
    std::deque<ObjectInstance> instances;
    struct {
        int32_t x, y;
        SkyState sky;
        int32_t top;
    } saved{};
};

TEST_F(ShadowPlane, TheGroundTakesTheShadowDisplacedByTheHeight) {
    const struct {
        const char* what;
        int ground_feet;
        int32_t z;
        int32_t h;
        int32_t plane;
    } cases[] = {
        {"on the ground", 0, 0, 0, 0},
        {"100 ft up", 0, 100 * FOOT, 100 * FOOT, 0},
        {"on high ground", 400, 400 * FOOT, 0, 399 * FOOT},
        {"half a foot over high ground: the plane a foot below the origin", 400, 400 * FOOT + 128, 128,
         400 * FOOT + 128 - FOOT},
        {"below the ground", 400, 300 * FOOT, 0, 299 * FOOT},
        {"half a foot over the sea: never below 0", 0, 128, 128, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        flat_ground(c.ground_feet);
        const Found f = find({X, Y, c.z});
        EXPECT_EQ(f.h, c.h);
        EXPECT_EQ(f.shadow.x, X + c.h);
        EXPECT_EQ(f.shadow.y, Y - c.h / 2);
        EXPECT_EQ(f.shadow.z, c.plane);
    }
}

TEST_F(ShadowPlane, AboveTheCloudsTheShadowLiesOnTheirTop) {
    flat_ground(0);
    current_view.cloud_top = 3000 * FOOT;
    for (SkyState sky : {SKY_IN_CLOUDS, SKY_ABOVE_CLOUDS}) {
        sky_state = sky;
        const Found above = find({X, Y, 4000 * FOOT});
        EXPECT_EQ(above.h, 1000 * FOOT);
        EXPECT_EQ(above.shadow.x, X + 1000 * FOOT);
        EXPECT_EQ(above.shadow.y, Y - 500 * FOOT);
        EXPECT_EQ(above.shadow.z, 3000 * FOOT);
        const Found inside = find({X, Y, 2500 * FOOT});
        EXPECT_EQ(inside.h, 0);
        EXPECT_EQ(inside.shadow.z, 2499 * FOOT) << "never higher than a foot below the origin";
    }
}

// The player's aircraft over a ship at sea: the shadow lies on the deck at the deck type's height,
// displaced by the height above the deck.
TEST_F(ShadowPlane, AShadowOverADeckLiesOnTheDeck) {
    shadow_step_x = STEP_ONE / 16;
    shadow_step_y = 0;
    flat_ground(0);
    place(PLANE, X + 30 * FOOT, Y, 0);  // no deck: passed over
    place(SHIP, X + 20 * FOOT, Y, 0);
    const Found over = find({X, Y, 500 * FOOT});
    EXPECT_EQ(over.h, 480 * FOOT);
    EXPECT_EQ(over.shadow.x, X + 30 * FOOT);
    EXPECT_EQ(over.shadow.y, Y);
    EXPECT_EQ(over.shadow.z, 20 * FOOT);
    const Found beside = find({X + 1000 * FOOT, Y, 500 * FOOT});
    EXPECT_EQ(beside.shadow.z, 0);
    EXPECT_EQ(beside.h, 500 * FOOT);
    flat_ground(10);
    EXPECT_EQ(find({X, Y, 500 * FOOT}).shadow.z, 10 * FOOT) << "only a shadow at sea level looks for a deck";
}

TEST_F(ShadowPlane, AShadowOffTheWorldLooksForNoDeck) {
    shadow_step_x = STEP_ONE;
    const Found f = find({(1 << 28) - 10, Y, 500 * FOOT});
    EXPECT_EQ(f.shadow.x, (1 << 28) - 10 + 500 * FOOT);
    EXPECT_EQ(f.shadow.z, 0);
}

// A square in the object's ground plane, `up` facing the sky, in 1/16 ft.
std::vector<std::array<int16_t, 3>> square(int16_t x0, int16_t x1, int16_t y0, int16_t y1) {
    return {{x0, y1, 0}, {x1, y1, 0}, {x1, y0, 0}, {x0, y0, 0}};
}

void add_face(TestObject& o, uint8_t op, uint8_t mode, uint8_t first, bool up) {
    const uint8_t a = first, b = uint8_t(first + 1), c = uint8_t(first + 2), d = uint8_t(first + 3);
    const std::vector<uint8_t> vertices = up ? std::vector<uint8_t>{a, b, c, d} : std::vector<uint8_t>{d, c, b, a};
    std::vector<uint8_t> record = {mode, 4, 50};
    record.insert(record.end(), vertices.begin(), vertices.end());
    if (op == FACE_OP_CONDITIONAL) o.code.insert(o.code.end(), {FACE_OP_CONDITIONAL, uint8_t(record.size())});
    else o.code.push_back(FACE_OP_FACE);
    o.code.insert(o.code.end(), record.begin(), record.end());
}

// Two squares: a plain face on the first and a conditional face on the second.
TestObject plain_then_conditional(std::vector<std::array<int16_t, 3>> plain, std::vector<std::array<int16_t, 3>> cond,
                                  bool plain_up) {
    TestObject o;
    o.vertices = plain;
    o.vertices.insert(o.vertices.end(), cond.begin(), cond.end());
    add_face(o, FACE_OP_FACE, RENDER_FLAT, 0, plain_up);
    add_face(o, FACE_OP_CONDITIONAL, RENDER_FLAT, 4, true);
    o.code.push_back(FACE_OP_END);
    return o;
}

TestObject flat_square(int16_t half) {
    TestObject o;
    o.vertices = square(int16_t(-half), half, int16_t(-half), half);
    add_face(o, FACE_OP_FACE, RENDER_FLAT, 0, true);
    o.code.push_back(FACE_OP_END);
    return o;
}

constexpr int SQUARE = 1, FACING = 2, TURNED = 3, MARKS = 4, CLIPPED = 5, CLIPPED_CONTROL = 6, BIG = 1034;

// Shadows drawn on the 8-bit screen from an eye 10 ft above flat ground, looking down.
class ShadowDrawing : public ObjectFiles {
protected:
    void SetUp() override {
        ObjectFiles::SetUp();
        std::vector<std::optional<TestObject>> objects(1212);
        objects[SQUARE] = flat_square(32);
        objects[FACING] = plain_then_conditional(square(-96, -32, -32, 32), square(32, 96, -32, 32), true);
        objects[TURNED] = plain_then_conditional(square(-96, -32, -32, 32), square(32, 96, -32, 32), false);
        TestObject marks;
        marks.vertices = square(-64, 64, -64, 64);
        add_face(marks, FACE_OP_FACE, RENDER_POINTS, 0, true);
        add_face(marks, FACE_OP_FACE, RENDER_LINES, 0, true);
        marks.code.push_back(FACE_OP_END);
        objects[MARKS] = marks;
        objects[CLIPPED] = plain_then_conditional(square(-160, -96, -32, 32), square(32, 96, -32, 32), true);
        objects[CLIPPED_CONTROL] = plain_then_conditional(square(160, 224, -32, 32), square(32, 96, -32, 32), true);
        objects[BIG] = flat_square(96);
        objects[1210] = objects[1211] = flat_square(16);
        write_files(build_object_file(objects).bytes, build_texture_file(1));
        reload_objects("3DDATA\\");
        screen = open_object_screen();
        saved_steps[0] = shadow_step_x;
        saved_steps[1] = shadow_step_y;
        look_down(0);
    }
    void TearDown() override {
        shadow_step_x = saved_steps[0];
        shadow_step_y = saved_steps[1];
        select_screen(nullptr);
        shutdown_world();
        ObjectFiles::TearDown();
    }

    // The eye 10 ft above the ground, `east` world units east of the objects' origin.
    void look_down(int32_t east) {
        Pose eye{{X + east, Y, 10 * FOOT}, {}};
        build_rotation_matrix(0, uint32_t(-(1 << 30)), 0, eye.matrix);
        set_eye(&eye);
        sky_state = SKY_BELOW_CLOUDS;
        shadow_step_x = shadow_step_y = 0;
        std::fill(screen->pixels, screen->pixels + 64 * 48, BACKGROUND);
    }

    void shadow(int32_t type, int32_t z = 0) {
        Pose pose{{X, Y, z}, {{{ONE, 0, 0}, {0, ONE, 0}, {0, 0, ONE}}}};
        ObjectInstance* instance = create_object_instance(type, nullptr, &pose, nullptr);
        instance->view_distance = 10 * FOOT;
        draw_object_shadow(instance);
        free_object_instance(instance);
    }

    struct Spot {
        int count;
        double x, y;  // centroid
    };
    Spot shadow_pixels(int x0 = 0, int x1 = 64) const {
        Spot s{0, 0, 0};
        for (int y = 0; y < 48; ++y)
            for (int x = x0; x < x1; ++x)
                if (screen->pixels[y * 64 + x] == SHADOW) {
                    ++s.count;
                    s.x += x;
                    s.y += y;
                }
        if (s.count) s.x /= s.count, s.y /= s.count;
        return s;
    }
    Screen* screen = nullptr;
    int32_t saved_steps[2] = {};
};

TEST_F(ShadowDrawing, OnTheGroundTheShadowLiesUnderTheOutlineInAStipple) {
    shadow(SQUARE);
    const Spot s = shadow_pixels();
    const PolyVertex corner = screen_of({X - 2 * FOOT, Y - 2 * FOOT, 0}), opposite = screen_of({X + 2 * FOOT, Y + 2 * FOOT, 0});
    const int area = std::abs((opposite.screen_x - corner.screen_x) * (opposite.screen_y - corner.screen_y));
    EXPECT_NEAR(s.count, area / 2, area / 6) << "every other pixel";
    const PolyVertex centre = screen_of({X, Y, 0});
    EXPECT_NEAR(s.x, centre.screen_x, 1.0);
    EXPECT_NEAR(s.y, centre.screen_y, 1.0);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            if (screen->pixels[y * 64 + x] == SHADOW) {
                EXPECT_EQ((screen->pixels[y * 64 + x + 1 - 2 * (x == 63)]), BACKGROUND);
            }
}

TEST_F(ShadowDrawing, AtAHeightTheShadowIsDisplacedAlongTheLight) {
    const struct {
        int32_t step_x, step_y;
        int32_t feet;
    } cases[] = {{STEP_ONE, 0, 3}, {0, -STEP_ONE, 2}, {-STEP_ONE / 2, STEP_ONE / 2, 4}, {STEP_ONE, STEP_ONE, 0}};
    for (const auto& c : cases) {
        look_down(0);
        shadow_step_x = c.step_x;
        shadow_step_y = c.step_y;
        shadow(SQUARE, c.feet * FOOT);
        const Spot s = shadow_pixels();
        const int32_t h = c.feet * FOOT;
        const PolyVertex expected = screen_of({X + shadow_offset(h, c.step_x), Y + shadow_offset(h, c.step_y), 0});
        EXPECT_GT(s.count, 0);
        EXPECT_NEAR(s.x, expected.screen_x, 1.0) << c.feet << " ft";
        EXPECT_NEAR(s.y, expected.screen_y, 1.0) << c.feet << " ft";
    }
}

TEST_F(ShadowDrawing, AConditionalFaceFollowsThePlainFacesFacing) {
    shadow(FACING);
    EXPECT_GT(shadow_pixels(0, 32).count, 0);
    EXPECT_GT(shadow_pixels(32, 64).count, 0);
    look_down(0);
    shadow(TURNED);
    EXPECT_EQ(shadow_pixels().count, 0) << "turned away: the conditional face after it is skipped";
}

// The origin at the left edge of the view: the clipping walker draws, and a plain face cut away
// entirely skips the conditional face after it.
TEST_F(ShadowDrawing, AConditionalFaceAfterAFaceClippedAwayIsSkipped) {
    look_down(10 * FOOT);
    shadow(CLIPPED_CONTROL);
    EXPECT_GT(shadow_pixels(0, 26).count, 0);
    look_down(10 * FOOT);
    shadow(CLIPPED);
    EXPECT_EQ(shadow_pixels().count, 0);
}

TEST_F(ShadowDrawing, PointsAndLinesCastNoShadow) {
    shadow(MARKS);
    EXPECT_EQ(shadow_pixels().count, 0);
}

TEST_F(ShadowDrawing, TheNozzleObjectsCastTheShadowOf1034) {
    shadow(BIG);
    const Spot big = shadow_pixels();
    EXPECT_GT(big.count, 0);
    for (int nozzle : {1210, 1211}) {
        look_down(0);
        shadow(nozzle);
        EXPECT_EQ(shadow_pixels().count, big.count) << nozzle;
    }
}

}  // namespace
}  // namespace vyr
