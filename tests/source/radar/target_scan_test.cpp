#include "source/radar/target_scan.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/source/radar/radar_world.h"

namespace vyr {
namespace {

using TargetScan = RadarWorld;

bool is_ground_candidate(const ground_object* record) {
    return std::any_of(ground_candidates, ground_candidates + ground_candidate_count,
                       [&](const GroundCandidate& c) { return c.object == record; });
}

const MobileCandidate* find_mobile(const Drone* d) {
    for (int i = 0; i < mobile_candidate_count; ++i)
        if (mobile_candidates[i].object == &d->object) return &mobile_candidates[i];
    return nullptr;
}

TEST_F(TargetScan, TilesMoreThanATileBehindTheAircraftAreNotScanned) {
    // The aircraft sits in the middle of its tile: the south-west corner of the tile below lies
    // a tile and a half behind, that of its own tile half a tile behind.
    fly({START.x, START.y, ALTITUDE}, 0);
    const ground_object* half_behind = ground(TANK, ENEMY, {START.x, START.y - TILE / 4, 0});
    const ground_object* two_behind = ground(TANK, ENEMY, {START.x, START.y - 2 * TILE, 0});
    const ground_object* ahead_far = ground(TANK, ENEMY, {START.x, START.y + 10 * TILE, 0});
    scan_ground_targets(&player_position->position);
    EXPECT_TRUE(is_ground_candidate(half_behind));
    EXPECT_FALSE(is_ground_candidate(two_behind));
    EXPECT_TRUE(is_ground_candidate(ahead_far));
    // Turned south, the same tiles lie ahead.
    fly({START.x, START.y, ALTITUDE}, 0x80000000);
    scan_ground_targets(&player_position->position);
    EXPECT_TRUE(is_ground_candidate(two_behind));
    EXPECT_FALSE(is_ground_candidate(ahead_far));
}

TEST_F(TargetScan, OnlyIntactObjectsOfASideWithACategoryAreCandidates) {
    const ground_object* enemy = ground(TANK, ENEMY, ahead(NAUTICAL_MILE));
    ground_object* destroyed = ground(TANK, ENEMY, ahead(NAUTICAL_MILE, NAUTICAL_MILE / 2));
    destroyed->flags |= GROUND_DESTROYED;
    const ground_object* neutral = ground(TANK, NEUTRAL, ahead(NAUTICAL_MILE, NAUTICAL_MILE));
    const ground_object* scenery = ground(SCENERY, ALLIED, ahead(NAUTICAL_MILE, -NAUTICAL_MILE));
    const Drone* inactive = tank(ENEMY, ahead(2 * NAUTICAL_MILE));
    const_cast<Drone*>(inactive)->object.flags |= INSTANCE_INACTIVE;
    const Drone* own = drone(FIGHTER, DRONE_CLASS_AIRCRAFT, ALLIED, START);
    player_object = const_cast<ObjectInstance*>(&own->object);
    const Drone* neutral_tank = tank(NEUTRAL, ahead(2 * NAUTICAL_MILE, NAUTICAL_MILE));
    const Drone* allied_tank = tank(ALLIED, ahead(2 * NAUTICAL_MILE, -NAUTICAL_MILE));
    scan_ground_targets(&player_position->position);
    EXPECT_TRUE(is_ground_candidate(enemy));
    EXPECT_FALSE(is_ground_candidate(destroyed));
    EXPECT_FALSE(is_ground_candidate(neutral));
    EXPECT_FALSE(is_ground_candidate(scenery));
    EXPECT_EQ(find_mobile(inactive), nullptr);
    EXPECT_EQ(find_mobile(own), nullptr);
    EXPECT_EQ(find_mobile(neutral_tank), nullptr);
    EXPECT_NE(find_mobile(allied_tank), nullptr);
}

TEST_F(TargetScan, TheGroundHidesWhatLiesBehindAHill) {
    const Drone* hidden = tank(ENEMY, ahead(8 * NAUTICAL_MILE));
    const Drone* seen = tank(ENEMY, ahead(8 * NAUTICAL_MILE, 4 * NAUTICAL_MILE));
    // A ridge of posts 20,000 ft high across the line to the first tank only.
    const int i = (START.x >> POST_SHIFT), j = ((START.y + 6 * NAUTICAL_MILE) >> POST_SHIFT);
    for (int di = -1; di <= 1; ++di)
        for (int dj = 0; dj <= 1; ++dj) terrain_posts[i + di][j + dj].height = 20000;
    terrain_max_height = 20000 * FOOT;
    scan_ground_targets(&player_position->position);
    EXPECT_EQ(find_mobile(hidden), nullptr);
    EXPECT_NE(find_mobile(seen), nullptr);
}

TEST_F(TargetScan, AHelicopterIsAnAirCandidateFrom30FtAndNearOnesAreListedForThePadlock) {
    const Drone* hovering = drone(FIGHTER, DRONE_CLASS_HELICOPTER, ENEMY, ahead(NAUTICAL_MILE, 0, 20 * FOOT));
    const Drone* flying = drone(FIGHTER, DRONE_CLASS_HELICOPTER, ENEMY, ahead(NAUTICAL_MILE, NAUTICAL_MILE, 40 * FOOT));
    const Drone* at_30 = drone(FIGHTER, DRONE_CLASS_HELICOPTER, ENEMY, ahead(NAUTICAL_MILE, -NAUTICAL_MILE, 30 * FOOT));
    const Drone* far = fighter(ENEMY, ahead(4 * TILE, 0, ALTITUDE));
    const Drone* truck_up_high = drone(TRUCK, DRONE_CLASS_VEHICLE, ENEMY, ahead(NAUTICAL_MILE, 2 * NAUTICAL_MILE, 1000 * FOOT));
    scan_ground_targets(&player_position->position);
    EXPECT_EQ(find_mobile(hovering)->domain, TARGET_DOMAIN_GROUND);
    EXPECT_EQ(find_mobile(flying)->domain, TARGET_DOMAIN_AIR);
    EXPECT_EQ(find_mobile(at_30)->domain, TARGET_DOMAIN_AIR);
    EXPECT_EQ(find_mobile(far)->domain, TARGET_DOMAIN_AIR);
    EXPECT_EQ(find_mobile(truck_up_high)->domain, TARGET_DOMAIN_GROUND);
    // Two helicopters within a tile of the aircraft's; the fighter four tiles out is not.
    ASSERT_EQ(near_air_candidate_count, 2);
    EXPECT_EQ(near_air_candidates[0].priority, compute_near_air_priority(&near_air_candidates[0]));
    EXPECT_GT(near_air_candidates[0].priority, 0);
    EXPECT_EQ(compute_near_air_priority(nullptr), -1);
}

TEST_F(TargetScan, AnUnknownTwsRangeOrSubModeIsFatal) {
    air_range_nm = 20;
    EXPECT_DEATH(scan_ground_targets(&player_position->position), "unknown radar range 20");
    air_range_nm = 35;
    air_submode = 3;
    EXPECT_DEATH(scan_ground_targets(&player_position->position), "unknown radar mode 3");
}

TEST_F(TargetScan, PrioritiesRankBySideRadarSizeDistanceAndTheAngleOffTheNose) {
    const Vector3& p = START;
    const auto priority = [&](Target* t) { return compute_target_priority(t, p.x, p.y, p.z); };
    const auto air = [&](Drone* d) {
        d->target.domain = TARGET_DOMAIN_AIR;
        return &d->target;
    };
    EXPECT_EQ(priority(air(fighter(ENEMY, START))), 10000);
    EXPECT_EQ(priority(air(fighter(ENEMY, {p.x, p.y + 10 * NAUTICAL_MILE, p.z}))), 4246);
    EXPECT_EQ(priority(air(fighter(ALLIED, {p.x, p.y + 10 * NAUTICAL_MILE, p.z}))), 1);
    EXPECT_EQ(priority(air(fighter(NEUTRAL, {p.x, p.y + 30 * NAUTICAL_MILE, p.z}))), 2);
    Drone* bomber = drone(BOMBER, DRONE_CLASS_AIRCRAFT, ENEMY, {p.x, p.y + 10 * NAUTICAL_MILE, p.z});
    EXPECT_EQ(priority(air(bomber)), 30000 - 5754);
    // Beyond 20 miles every distance weighs as 19.
    EXPECT_EQ(priority(air(fighter(ENEMY, {p.x, p.y + 40 * NAUTICAL_MILE, p.z}))), 10000 - 9500);
    EXPECT_EQ(priority(air(drone(SCENERY, DRONE_CLASS_AIRCRAFT, ENEMY, START))), -1);

    // Ground targets: abeam by distance alone, so the farther ranks first; ahead nearly whole.
    Drone* abeam_near = tank(ENEMY, {p.x + 2 * NAUTICAL_MILE, p.y, p.z});
    Drone* abeam_far = tank(ENEMY, {p.x + 4 * NAUTICAL_MILE, p.y, p.z});
    abeam_near->target.domain = abeam_far->target.domain = TARGET_DOMAIN_GROUND;
    EXPECT_EQ(priority(&abeam_near->target), mul31(10000, int32_t((int64_t(2 * NAUTICAL_MILE) << 31) / 27033600)));
    EXPECT_GT(priority(&abeam_far->target), priority(&abeam_near->target));
    Drone* ahead_tank = tank(ENEMY, {p.x, p.y + 2 * NAUTICAL_MILE, p.z});
    Drone* astern_tank = tank(ENEMY, {p.x, p.y - 2 * NAUTICAL_MILE, p.z});
    ahead_tank->target.domain = astern_tank->target.domain = TARGET_DOMAIN_GROUND;
    EXPECT_EQ(priority(&ahead_tank->target), 10000 - 1151);
    EXPECT_EQ(priority(&astern_tank->target), priority(&ahead_tank->target));
    Drone* off_nose = tank(ENEMY, {p.x + NAUTICAL_MILE, p.y + 2 * NAUTICAL_MILE, p.z});
    off_nose->target.domain = TARGET_DOMAIN_GROUND;
    EXPECT_LT(priority(&off_nose->target), priority(&ahead_tank->target));
    EXPECT_GT(priority(&off_nose->target), 5000);

    Target none{};
    EXPECT_EQ(priority(&none), -1);
}

TEST_F(TargetScan, TheGroundListRunsFromTheHighestPriorityAndTheNewerOfEqualsFirst) {
    Drone* a = tank(ENEMY, ahead(2 * NAUTICAL_MILE));
    Drone* b = tank(ENEMY, ahead(4 * NAUTICAL_MILE));
    Drone* c = tank(ENEMY, ahead(2 * NAUTICAL_MILE));
    Drone* scenery = drone(SCENERY, DRONE_CLASS_TANK, ENEMY, ahead(NAUTICAL_MILE));
    for (Drone* d : {a, b, c, scenery}) {
        d->target.domain = TARGET_DOMAIN_GROUND;
        insert_ground_contact(&d->target);
    }
    EXPECT_EQ(ground_list(), (std::vector<const void*>{&c->object, &a->object, &b->object}));
    EXPECT_EQ(ground_contact_tail, &b->target);
    EXPECT_EQ(ground_contact_head->prev, nullptr);
    EXPECT_EQ(b->target.prev, &a->target);
}

}  // namespace
}  // namespace vyr
