#include "source/weapons/effects.h"

#include <gtest/gtest.h>

#include "library/3dvisual/explosions.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/scars.h"
#include "source/weapons/launch_sound.h"
#include "tests/source/weapons/impact_world.h"

namespace vyr {
namespace {

constexpr int MK84 = 32, SOLDIER = 640, HELICOPTER = 64;

class Effects : public ImpactWorld {
protected:
    void SetUp() override {
        ImpactWorld::SetUp();
        if (IsSkipped()) return;
        init_explosions();
        reset_ground_scars();
        eye_pose = {};
        set_identity_matrix(eye_pose.matrix);
    }
    void TearDown() override {
        if (!IsSkipped()) shutdown_explosions();
        ImpactWorld::TearDown();
    }

    static int count_explosions(int32_t kind) {
        int n = 0;
        for (const Explosion& e : explosions) n += e.kind == kind;
        return n;
    }
    static int count_scars(const GroundScar* ring) {
        int n = 0;
        for (int i = 0; i < MAX_GROUND_SCARS; ++i) n += ring[i].object_type != SCAR_FREE;
        return n;
    }
    // A burst of the weapon at the point, heard and seen as a round's impact.
    void burst(int weapon_id, const Vector3& at) {
        WeaponRound round{};
        round.weapon_id = weapon_id;
        round.pose.position = at;
        set_identity_matrix(round.pose.matrix);
        impact_effects(&round, 0, 0, nullptr);
    }
};

// A road takes a crater twice that of open ground; a lake a splash scar; a burst 30 ft up is an
// air explosion and leaves nothing on the ground.
TEST_F(Effects, ABurstLeavesTheMarkItsSurfaceTakes) {
    const Vector3 open = {CENTRE + TILE / 2, CENTRE + TILE / 2, 0};
    const Vector3 road = {open.x + TILE, open.y, 0}, lake = {open.x + 2 * TILE, open.y, 0};
    lay_surface(road, FEATURE_ROAD);
    lay_surface(lake, FEATURE_LAKE);
    // The crater takes half the blast on a hard surface and a quarter on open ground.
    const int32_t blast = weapon_info[MK84].blast_radius;
    add_explosion_crater(&open, blast / 4, 0);
    add_explosion_crater(&road, blast / 2, 1);
    const GroundScar open_crater = crater_ring[0], road_crater = crater_ring[1];
    reset_ground_scars();
    burst(MK84, open);
    ASSERT_EQ(count_scars(crater_ring), 1);
    EXPECT_EQ(crater_ring[0].object_type, OBJ_CRATER);
    EXPECT_EQ(crater_ring[0].scale_x, open_crater.scale_x);
    burst(MK84, road);
    ASSERT_EQ(count_scars(crater_ring), 2);
    EXPECT_EQ(crater_ring[1].object_type, OBJ_HEAVE);
    EXPECT_EQ(crater_ring[1].scale_x, road_crater.scale_x);
    burst(MK84, lake);
    EXPECT_EQ(count_scars(crater_ring), 2);
    EXPECT_EQ(count_scars(ground_scar_ring), 1);
    EXPECT_EQ(count_explosions(EXPLOSION_GROUND), 3);
    burst(MK84, {open.x, open.y, 30 * FOOT});
    EXPECT_EQ(count_explosions(EXPLOSION_AIR), 1);
    EXPECT_EQ(count_scars(crater_ring), 2);
    // Seen from steeply above, a burst on the ground shows as an air one.
    build_rotation_matrix(0, uint32_t(-40 * int32_t(DEGREE)), 0, eye_pose.matrix);
    burst(MK84, open);
    EXPECT_EQ(count_explosions(EXPLOSION_AIR), 2);
}

// (200,000 / 38,400 + 1) squared = 36 more explosions over a large object; one alone over a
// small one; none but the burst itself, and no crater, for a soldier.
TEST_F(Effects, LargeObjectsScatterExplosionsAndSoldiersLeaveNoCrater) {
    const Vector3 at = {CENTRE + TILE / 2, CENTRE + TILE / 2, 0};
    scatter_blasts(at, 200000, 0, 0, 0);
    EXPECT_EQ(count_explosions(EXPLOSION_GROUND) + count_explosions(EXPLOSION_AIR), 37);
    init_explosions();
    reset_ground_scars();
    scatter_blasts(at, 20000, SOLDIER, 0, 0);
    EXPECT_EQ(count_explosions(EXPLOSION_GROUND), 1);
    EXPECT_EQ(count_scars(crater_ring), 0);
    scatter_blasts(at, 20000, HELICOPTER, 0, 0);
    EXPECT_EQ(count_scars(crater_ring), 1);
}

// Points drawn in a type's box lie within its radius of the point; a type no wider than the inner
// ring, or of no height, still gives points.
TEST_F(Effects, PointsInATypesBoxLieWithinItsReach) {
    ObjectHeader* header = get_object_header(HELICOPTER);
    const ObjectHeader saved = *header;
    const Vector3 at = {CENTRE, CENTRE, 0};
    for (const auto& [radius, height] : {std::pair{200000, 5000}, std::pair{50000, 0}, std::pair{76800, 100}}) {
        header->radius = radius;
        header->height = height;
        header->box_min_x = header->box_min_y = -radius;
        header->box_max_x = header->box_max_y = radius;
        header->box_min_z = 0;
        header->box_max_z = height;
        for (int i = 0; i < 50; ++i) {
            const Vector3 p = random_point_in_type_box(at, HELICOPTER, 0x12345678);
            EXPECT_LE(estimate_distance_2d(p.x - at.x, p.y - at.y), radius * 5 / 4 + 1) << radius;
            EXPECT_GE(p.z, 0);
            EXPECT_LE(p.z, height);
        }
    }
    *header = saved;
}

// 63 near, falling to 10 far; left and right of the camera's heading pan either way, astern is
// centred.
TEST_F(Effects, BlastsAreQuieterFarAwayAndPannedByBearing) {
    view_camera_pose.position = {CENTRE, CENTRE, 0};
    const struct {
        int32_t size, distance_ft;
        int level;
    } cases[] = {{256, 0, 63}, {256, 2, 63}, {256, 300, 14}, {256, 100, 64 - 66 / 4}, {256, 10000, 10}, {0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(blast_sound_level(c.size, {CENTRE, CENTRE + c.distance_ft * FOOT, 0}), c.level) << c.distance_ft;
    EXPECT_GT(blast_sound_level(1000, {CENTRE, CENTRE + 328 * FOOT, 0}), blast_sound_level(1000, {CENTRE, CENTRE + 3280 * FOOT, 0}));
    EXPECT_EQ(compute_sound_pan({CENTRE, CENTRE - 1000 * FOOT, 0}), 0x8000);
    EXPECT_GT(compute_sound_pan({CENTRE + 1000 * FOOT, CENTRE, 0}), 0x8000);
    EXPECT_LT(compute_sound_pan({CENTRE - 1000 * FOOT, CENTRE, 0}), 0x8000);
}

}  // namespace
}  // namespace vyr
