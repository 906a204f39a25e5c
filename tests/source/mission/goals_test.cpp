#include "source/mission/goals.h"

#include <gtest/gtest.h>

#include <string>

#include "library/3dvisual/features.h"
#include "source/avionics/messages.h"
#include "source/flight.h"
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/mission/game_flow.h"
#include "source/mission/mission_data.h"
#include "source/weapons/round_impact.h"
#include "source/weapons/weapon_keys.h"
#include "tests/source/weapons/impact_world.h"

namespace vyr {
namespace {

int announcements = 0;
void count_announcement() { ++announcements; }

// The impact world with its ground objects where the goals look for them, a single mission with
// no goal of its own, and the announcements counted.
class Goals : public ImpactWorld {
protected:
    void SetUp() override {
        ImpactWorld::SetUp();
        if (IsSkipped()) return;
        reset_gameplay_grid();
        set_game_flow(FLOW_SINGLE_MISSION);
        mission_success_count = 0;
        mine_target_count = mined_target_count = 0;
        recon_required = waypoints_reached = 0;
        landing_goal_met = 1;
        announcements = 0;
        set_mission_announcement(count_announcement);
    }
    void TearDown() override {
        dynamic_ground_object_tiles[CENTRE_TILE] = nullptr;
        set_mission_announcement(nullptr);
        set_game_flow(FLOW_NONE);
        reset_gameplay_grid();
        mission_success_count = 0;
        landing_goal_met = 0;
        ImpactWorld::TearDown();
    }

    void place_targets(const std::vector<std::pair<int, Vector3>>& objects) {
        place_objects(objects);
        dynamic_ground_object_tiles[CENTRE_TILE] = objects_list.data();
    }
    // The object destroyed as the weapons leave it, and recorded.
    void destroy(int i) {
        object(i)->flags |= GROUND_DESTROYED;
        note_mission_target_destroyed(object(i));
    }
    // The flight's mission start.
    void start() {
        landing_goal_met = has_runway_landing(user_drone->first_waypoint) ? 0 : 1;
        init_mission_goals();
        reset_recon();
    }

    static constexpr int HOUSE = 215;
    const Vector3 target = {CENTRE + 2000 * FOOT, CENTRE + 2000 * FOOT, 0};
    const Vector3 beside = {CENTRE + 5000 * FOOT, CENTRE + 5000 * FOOT, 0};
    const Vector3 open_ground = {CENTRE - 9000 * FOOT, CENTRE - 9000 * FOOT, 0};  // the next tile
};

TEST_F(Goals, AQuickStartNeverAnnouncesAndAMissionWithNothingLeftAnnouncesOnce) {
    player_with_route({});
    start();
    set_game_flow(FLOW_QUICK_START);
    check_mission_accomplished();
    EXPECT_EQ(announcements, 0);
    set_game_flow(FLOW_SINGLE_MISSION);
    check_mission_accomplished();
    check_mission_accomplished();
    EXPECT_EQ(announcements, 1);
    start();  // the next mission is armed again
    check_mission_accomplished();
    EXPECT_EQ(announcements, 2);
}

// Four CBU-15 hits wear the runway at the Target waypoint down; the owed kill does not count.
TEST_F(Goals, ARunwayTargetAnnouncesWhenTheRunwayIsDestroyedWhateverTheOtherCounts) {
    const Vector3 runway = {CENTRE + TILE - 1000 * FOOT, CENTRE + 1000 * FOOT, 0};
    lay_surface(runway, FEATURE_RUNWAY);
    Drone* player = player_with_route({{WAYPOINT_TARGET, runway}, {WAYPOINT_RECON, open_ground}});
    mission_success_count = 3;
    start();
    EXPECT_EQ(landing_goal_met, 0);
    for (int hit = 1; hit <= 4; ++hit) {
        WeaponRound* round = activate_round(launch_dropped_round(
            WEAPON_CBU15, pose_at({runway.x, runway.y, 10 * FOOT}), &player->target, 0, player));
        ASSERT_NE(round, nullptr);
        test_round_impact(round, {0, 0, -20 * FOOT});
        EXPECT_EQ(announcements, hit == 4 ? 1 : 0) << hit;
    }
    EXPECT_EQ(goal_damage_tally, runway_damage);
}

TEST_F(Goals, TheSecondSuccessKillOfDronesOrMissionTargetsAnnouncesOnce) {
    place_targets({{HOUSE, target}, {HOUSE, beside}});
    set_cell_side(2, target.x, target.y);
    add_gameplay_object(GAMEPLAY_TARGET, target.x, target.y);
    player_with_route({});
    Drone* wanted = drone_at({CENTRE, CENTRE + 3000 * FOOT, 0});
    Drone* other = drone_at({CENTRE, CENTRE + 4000 * FOOT, 0});
    wanted->mission_flags |= DRONE_FLAG_KILL_SUCCESS;
    mission_success_count = 2;
    start();
    EXPECT_TRUE(object(0)->flags & GROUND_MISSION_TARGET);
    EXPECT_FALSE(object(1)->flags & GROUND_MISSION_TARGET);

    note_mission_drone_killed(&other->object);
    destroy(1);
    note_mission_drone_killed(&wanted->object);
    EXPECT_EQ(announcements, 0);
    destroy(0);
    EXPECT_EQ(announcements, 1);
    note_mission_drone_killed(&wanted->object);
    EXPECT_EQ(announcements, 1);
}

TEST_F(Goals, TwoReconTargetsAnnounceOnlyAfterTheSecondReport) {
    player_with_route({{WAYPOINT_RECON, target}, {WAYPOINT_TARGET, open_ground}, {WAYPOINT_RECON, open_ground}});
    start();
    EXPECT_EQ(recon_required, 2);
    note_waypoint_reached();
    EXPECT_EQ(announcements, 0);
    note_waypoint_reached();
    EXPECT_EQ(announcements, 1);
}

// A Target waypoint counts its nearest ground object within 100 ft; one with none is no goal.
TEST_F(Goals, ATargetWaypointHoldsTheAnnouncementOnlyWhileItsGroundObjectStands) {
    place_targets({{HOUSE, target}});
    player_with_route({{WAYPOINT_TARGET, {target.x + 90 * FOOT, target.y, 0}}, {WAYPOINT_TARGET, open_ground}});
    start();
    check_mission_accomplished();
    EXPECT_EQ(announcements, 0);
    destroy(0);
    EXPECT_EQ(announcements, 1);
}

TEST_F(Goals, AMissionTargetFlagOfAnEarlierMissionIsGoneAtTheNextStart) {
    place_targets({{HOUSE, target}});
    player_with_route({{WAYPOINT_TARGET, target}});
    start();
    ASSERT_TRUE(object(0)->flags & GROUND_MISSION_TARGET);
    player_with_route({});
    mission_success_count = 1;
    start();
    EXPECT_FALSE(object(0)->flags & GROUND_MISSION_TARGET);
    destroy(0);
    EXPECT_EQ(announcements, 0);
}

TEST_F(Goals, OnlyATargetWaypointOnARunwayMakesARunwayTarget) {
    const Vector3 runway = {CENTRE + TILE - 1000 * FOOT, CENTRE + 1000 * FOOT, 0};
    lay_surface(runway, FEATURE_RUNWAY);
    const struct {
        int type;
        Vector3 at;
        int runway_target;
    } cases[] = {
        {WAYPOINT_TARGET, runway, 1},
        {WAYPOINT_LANDING, runway, 0},
        {WAYPOINT_TARGET, open_ground, 0},
    };
    for (const auto& c : cases) {
        player_with_route({{WAYPOINT_RECON, open_ground}, {c.type, c.at}});
        EXPECT_EQ(has_runway_landing(user_drone->first_waypoint), c.runway_target) << c.type;
    }
    EXPECT_EQ(has_runway_landing(nullptr), 0);
}

TEST_F(Goals, TheFlightAnnouncesOnTheMessageLines) {
    init_message_area();
    announce_mission_accomplished();
    fill_message_lines();
    EXPECT_EQ(std::string(message_lines[0]), "  Mission");
    EXPECT_EQ(std::string(message_lines[1]), "Accomplished");
    init_message_area();
}

}  // namespace
}  // namespace vyr
