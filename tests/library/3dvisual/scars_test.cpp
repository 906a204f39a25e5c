#include "library/3dvisual/scars.h"

#include <gtest/gtest.h>

#include "library/3dvisual/objects.h"
#include "tests/library/3dvisual/effect_scene.h"
#include "tests/library/3dvisual/header_table.h"

namespace vyr {
namespace {

constexpr int32_t ONE_STEP = 0x7FFFFFFF / 200;
constexpr int32_t CRATER_RADIUS = 4000;
constexpr int32_t CRATER_HEIGHT = 600;
constexpr int32_t TALLEST = 900;

// Crater objects of the test's own; the splash (384) has no header, so drawing one only sets the
// instance up.
class Scars : public EffectScene {
protected:
    void SetUp() override {
        EffectScene::SetUp();
        headers.add(OBJ_CRATER, CRATER_RADIUS, CRATER_HEIGHT, 0);
        headers.add(OBJ_HEAVE, CRATER_RADIUS, 300, 0);
        headers.add(257, 100, TALLEST, 0);
        headers.add(OBJ_WRECK_CRATER, 100, 200, 0);
        reset_ground_scars();
    }
    HeaderTable headers{400};
};

TEST_F(Scars, CraterScalesFollowTheSizeAndKind) {
    const struct {
        int32_t size, kind, type, scale;
    } cases[] = {
        {0x0800, 1, OBJ_HEAVE, 0x200000},     {0x1000, 1, OBJ_HEAVE, 0x400000},  {0x29FF, 1, OBJ_HEAVE, 0x1000000},
        {0x2A00, 1, OBJ_HEAVE, 0x1000000},    {0x0000, 1, OBJ_HEAVE, 0x40000},   {0x0800, 0, OBJ_CRATER, 0x200000},
        {0x3FFF, 0, OBJ_CRATER, 0x1000000},   {0x4000, 0, OBJ_CRATER, 0x2000000}, {0x5000, 0, OBJ_CRATER, 0x2400000},
        {0x10000, 0, OBJ_CRATER, 0x3000000},  {0x20000, 2, OBJ_CRATER, 0x3000000},
    };
    for (const auto& c : cases) {
        const Vector3 at = ahead(5000, 12345);
        add_explosion_crater(&at, c.size, c.kind);
        const GroundScar& s = crater_ring[(crater_cursor + MAX_GROUND_SCARS - 1) % MAX_GROUND_SCARS];
        EXPECT_EQ(s.object_type, c.type) << std::hex << c.size << " kind " << c.kind;
        EXPECT_EQ(s.scale_x, c.scale) << std::hex << c.size << " kind " << c.kind;
        EXPECT_EQ(s.scale_z, c.scale);
        EXPECT_EQ(s.z, 0) << "the ground height, not the position's";
        EXPECT_EQ(s.heading & ~0x7FFF0000u, 0u);
    }
}

TEST_F(Scars, RingsKeepTheWorldEdgeAndOverwriteTheirOldest) {
    const Vector3 edge = {0x0FFFFFFF, 5, 0}, outside = {0x10000000, 5, 0};
    add_explosion_crater(&edge, 0x800, 0);
    add_explosion_crater(&outside, 0x800, 0);
    add_impact_scar(&outside);
    EXPECT_EQ(crater_cursor, 1);
    EXPECT_EQ(ground_scar_cursor, 0);
    for (int i = 1; i <= MAX_GROUND_SCARS; ++i) {
        const Vector3 at = ahead(i, 0);
        add_explosion_crater(&at, 0x800, 0);
    }
    EXPECT_EQ(crater_ring[0].y, WORLD_MIDDLE + MAX_GROUND_SCARS) << "the 129th replaces the first";
    Matrix3 turned;
    build_z_rotation(0x20000000, turned);
    add_wreck_scar(&edge, &turned);
    EXPECT_EQ(ground_scar_ring[0].object_type, OBJ_WRECK_CRATER);
    EXPECT_EQ(ground_scar_ring[0].scale_y, 0x1000000);
    EXPECT_EQ(ground_scar_ring[0].heading, get_matrix_heading(turned));
}

TEST_F(Scars, ASplashIsFreshForThreeStepsAndGoneAfterFive) {
    const Vector3 at = ahead(5000, 0);
    add_impact_scar(&at);
    const GroundScar& s = ground_scar_ring[0];
    for (int step = 0; step < 5; ++step) {
        reset_object_buffer();
        queue_ground_scars();
        const std::vector<void*> nodes = queued(NODE_GROUND_SCAR);
        ASSERT_EQ(nodes.size(), 1u) << step;
        BufferNode node{NODE_GROUND_SCAR, 5000, {}, nodes[0], nullptr};
        draw_ground_scar(&node);
        EXPECT_EQ(ground_scar_instance.state_mask, step < 3 ? 1u : 0u) << step;
        EXPECT_EQ(ground_scar_instance.object_type, OBJ_SPLASH);
        EXPECT_EQ(ground_scar_instance.view_distance, 5000);
        update_world_effects(ONE_STEP);
    }
    EXPECT_EQ(s.object_type, SCAR_FREE);
}

TEST_F(Scars, ScarsQueueOnlyBelowTheCloudsAndInsideTheDepthWindow) {
    for (int32_t depth : {NEAR_LIMIT, NEAR_LIMIT + 1, VISUAL_RANGE - 1, VISUAL_RANGE}) {
        const Vector3 at = ahead(depth, 0);
        add_explosion_crater(&at, 0x800, 0);
    }
    const Vector3 splash = ahead(5000, 0);
    add_impact_scar(&splash);
    queue_ground_scars();
    EXPECT_EQ(queued(NODE_GROUND_SCAR),
              (std::vector<void*>{&crater_ring[2], &ground_scar_ring[0], &crater_ring[1]}))
        << "far to near";
    for (int32_t height : {22000 * EFFECT_FEET, 30000 * EFFECT_FEET}) {
        look_from(height);
        queue_ground_scars();
        EXPECT_EQ(get_object_buffer_count(), 0) << height;
    }
}

TEST_F(Scars, APointOrSegmentMeetsOnlyLiveCratersNearTheGround) {
    const Vector3 centre = ahead(5000, 0);
    add_explosion_crater(&centre, 0x2000, 0);
    EXPECT_EQ(tallest_scar_height, TALLEST);
    const struct {
        const char* what;
        Vector3 p;
        int hit;
    } points[] = {
        {"in the middle", {centre.x, centre.y, 100}, 1},
        {"inside the radius", {centre.x + CRATER_RADIUS - 1, centre.y, 100}, 1},
        {"on the radius", {centre.x + CRATER_RADIUS, centre.y, 100}, 0},
        {"at the crater's top", {centre.x, centre.y, CRATER_HEIGHT}, 1},
        {"over the crater's top", {centre.x, centre.y, CRATER_HEIGHT + 1}, 0},
        {"outside the world", {-1, centre.y, 100}, 0},
    };
    for (const auto& c : points) EXPECT_EQ(check_point_in_crater(c.p), c.hit) << c.what;

    const struct {
        const char* what;
        Vector3 a, b;
        int hit;
    } segments[] = {
        {"low through it", {centre.x - 20000, centre.y, 100}, {centre.x + 20000, centre.y, 100}, 1},
        {"high over both ends", {centre.x - 20000, centre.y, TALLEST + 1}, {centre.x + 20000, centre.y, TALLEST + 1}, 0},
        {"low beside it", {centre.x - 20000, centre.y + 5000, 100}, {centre.x + 20000, centre.y + 5000, 100}, 0},
        {"ending short of it", {centre.x - 20000, centre.y, 100}, {centre.x - 10000, centre.y, 100}, 0},
    };
    for (const auto& c : segments) EXPECT_EQ(check_segment_hits_crater(c.a, c.b), c.hit) << c.what;

    reset_ground_scars();
    EXPECT_EQ(check_point_in_crater({centre.x, centre.y, 100}), 0) << "a freed entry never hits";
    EXPECT_EQ(check_segment_hits_crater({centre.x - 20000, centre.y, 100}, {centre.x + 20000, centre.y, 100}), 0);
}

}  // namespace
}  // namespace vyr
