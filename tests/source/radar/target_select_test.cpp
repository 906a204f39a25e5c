#include "source/radar/target_select.h"

#include <gtest/gtest.h>

#include "source/avionics/targeting_pod.h"
#include "source/weapons/weapon_keys.h"
#include "tests/source/radar/radar_world.h"

namespace vyr {
namespace {

class TargetSelect : public RadarWorld {
protected:
    void SetUp() override {
        RadarWorld::SetUp();
        set_identity_matrix(ground_radar_frame);
        laser_spot_target.kind = TARGET_NONE;
        set_pod_track_mode(0);
    }
    void TearDown() override {
        user_drone = nullptr;
        laser_spot_target.kind = TARGET_NONE;
        radar_on = 0;
        RadarWorld::TearDown();
    }

    void ground_mode() {
        radar_on = 1;
        if (!radar_ground_mode) toggle_air_ground_mode();
    }

    // The player's route: one waypoint of the type at the point; the route's owner is no contact.
    void route_with(int type, const Vector3& p) {
        user_drone = fighter(ALLIED, ahead(0, 0, ALTITUDE));
        unlink_mobile_object(&user_drone->object);
        Waypoint* w = append_waypoint(user_drone);
        set_waypoint_position(w, p.x, p.y, 0);
        set_waypoint_type(w, type);
    }

    static const void* designated() {
        return designated_target.kind == TARGET_NONE ? nullptr : designated_target.object;
    }
    static Target ground_target(ground_object* record) {
        Target t{};
        t.kind = TARGET_GROUND_OBJECT;
        t.object = record;
        return t;
    }
};

// With the radar off, no targeting pod and nothing lased, whatever was designated is dropped at
// every frame.
TEST_F(TargetSelect, RadarOffWithoutPodOrLaserDropsTheDesignationEveryFrame) {
    Drone* a = tank(ENEMY, ahead(2 * NAUTICAL_MILE));
    ground_mode();
    sweep();
    radar_on = 0;
    for (int frame = 0; frame < 3; ++frame) {
        designated_target = a->target;
        target_step_request = 1;
        update_target_selection();
        EXPECT_EQ(designated(), nullptr);
        EXPECT_EQ(target_step_request, 0);
    }
}

// With the radar off and a GBU-12 selected, the lased truck the ground radar lists is designated.
TEST_F(TargetSelect, RadarOffWithALaserBombDesignatesTheLasedTruck) {
    tank(ENEMY, ahead(2 * NAUTICAL_MILE));
    ground_object* truck = ground(TRUCK, ENEMY, ahead(3 * NAUTICAL_MILE));
    truck->flags |= GROUND_LASED;
    selected_weapon = WEAPON_GBU_12;
    sweep();
    EXPECT_EQ(designated(), truck);
    EXPECT_EQ(laser_spot_target.object, truck);
    selected_weapon = 0;
}

// In TWS only the first ten displayed contacts count: a step on from the tenth goes round to the
// first, a step back from the first to the tenth.
TEST_F(TargetSelect, TwsStepsGoRoundTheFirstTenDisplayedContacts) {
    radar_on = 1;
    // Four rows of three, far enough apart on the B-scope that none merge.
    for (int i = 0; i < 12; ++i) fighter(ENEMY, bearing(6 * (1 + i / 3) * NAUTICAL_MILE, -44 + 44 * (i % 3), ALTITUDE));
    sweep();
    ASSERT_EQ(air_display_count, 12);
    designated_target = air_display[9]->target;
    reacquire_target = 0;
    target_step_request = 1;
    update_target_selection();
    EXPECT_EQ(designated(), air_display[0]->target.object);
    EXPECT_EQ(designated_air_index, 0);
    target_step_request = 2;
    update_target_selection();
    EXPECT_EQ(designated(), air_display[9]->target.object);
    EXPECT_EQ(designated_air_index, 9);
    EXPECT_EQ(target_step_request, 0);
}

// The designated aircraft drops behind a ridge: at the next frame the best contact is designated.
TEST_F(TargetSelect, ADesignatedAircraftHiddenByAHillGivesWayToTheBestContact) {
    radar_on = 1;
    Drone* best = fighter(ENEMY, ahead(5 * NAUTICAL_MILE, 0, ALTITUDE));
    Drone* low = fighter(ENEMY, bearing(10 * NAUTICAL_MILE, 20, 500 * FOOT));
    sweep();
    ASSERT_EQ(air_display_count, 2);
    ASSERT_EQ(air_display[0]->target.object, &best->object);
    designated_target = low->target;
    reacquire_target = 0;
    sweep();
    ASSERT_EQ(designated(), &low->object);

    const Vector3 ridge = bearing(8 * NAUTICAL_MILE, 20);
    for (int di = -2; di <= 2; ++di)
        for (int dj = -2; dj <= 2; ++dj) terrain_posts[(ridge.x >> POST_SHIFT) + di][(ridge.y >> POST_SHIFT) + dj].height = 6000;
    terrain_max_height = 6000 * FOOT;
    sweep();
    EXPECT_EQ(designated(), &best->object);
    EXPECT_EQ(reacquire_target, 0);
}

// AUTO TARGET off: a ground target chosen by stepping stays designated frame after frame while
// it stays valid; destroyed, the best contact takes its place.
TEST_F(TargetSelect, AutoTargetOffKeepsASteppedGroundTargetWhileValid) {
    Drone* first = tank(ENEMY, ahead(2 * NAUTICAL_MILE));
    Drone* second = tank(ENEMY, ahead(4 * NAUTICAL_MILE));
    ground_mode();
    sweep();
    ASSERT_EQ(designated(), &first->object);
    auto_target_on = 0;
    follow_best_target = 0;
    target_step_request = 1;
    update_target_selection();
    ASSERT_EQ(designated(), &second->object);
    for (int frame = 0; frame < 3; ++frame) {
        sweep();
        EXPECT_EQ(designated(), &second->object);
    }
    second->object.flags |= INSTANCE_INACTIVE;
    sweep();
    EXPECT_EQ(designated(), &first->object);
    EXPECT_EQ(follow_best_target, 0);
    auto_target_on = 1;
}

// Following the best target with a target waypoint of the route in range: the contact nearest to
// it (within 1 nm) wins over a higher priority elsewhere.
TEST_F(TargetSelect, TheRoutesTargetAreaOutweighsPriority) {
    const Vector3 area = ahead(6 * NAUTICAL_MILE, NAUTICAL_MILE);
    tank(ENEMY, ahead(2 * NAUTICAL_MILE));
    ground_object* near = ground(TRUCK, ENEMY, {area.x + NAUTICAL_MILE / 2, area.y, 0});
    ground_object* nearer = ground(TRUCK, ENEMY, {area.x - NAUTICAL_MILE / 4, area.y, 0});
    ground(TRUCK, ENEMY, {area.x + 2 * NAUTICAL_MILE, area.y, 0});
    route_with(WAYPOINT_TARGET, area);
    ground_mode();
    sweep();
    EXPECT_EQ(designated(), nearer);
    EXPECT_NE(designated(), near);

    route_with(WAYPOINT_TURNING, area);
    reacquire_target = 1;
    sweep();
    EXPECT_EQ(designated(), ground_contact_head->object);
    EXPECT_NE(designated(), nearer);
}

// A designated fixed point cannot be checked like a ground object or a mover: it is replaced by
// the best contact instead of ending the program.
TEST_F(TargetSelect, ADesignatedFixedPointIsReplaced) {
    Drone* a = tank(ENEMY, ahead(2 * NAUTICAL_MILE));
    ground_mode();
    sweep();
    designated_target = {};
    designated_target.kind = TARGET_FIXED_POINT;
    designated_target.position = ahead(3 * NAUTICAL_MILE);
    reacquire_target = 0;
    follow_best_target = 0;
    update_target_selection();
    EXPECT_EQ(designated_target.kind, TARGET_MOBILE);
    EXPECT_EQ(designated(), &a->object);
}

}  // namespace
}  // namespace vyr
