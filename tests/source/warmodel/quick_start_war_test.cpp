// Cyprus's air-combat quick start as the war model sees it: the sortie turns over enemy ground
// watched by a radar, past a SAM site, where the enemy's patrol is sent against the player.
#include <gtest/gtest.h>

#include "tests/source/drone/quick_start_mission.h"
#include "tests/source/warmodel/war_world.h"

namespace vyr {
namespace {

constexpr int PLAYER_TYPE = 606;
constexpr int RADAR_VEHICLE = 77;

using CyprusQuickStart = WarWorld;

TEST_F(CyprusQuickStart, TheSortieTurnsUnderEnemyRadarPastASamSiteAndThePatrolIsSentAtIt) {
    release_war_model();
    read_quick_start("cypusq01.dta");
    Drone* player = find_mission_drone(PLAYER_TYPE);
    ASSERT_NE(player, nullptr);
    ASSERT_NE(find_mission_drone(RADAR_VEHICLE), nullptr);
    Drone* patrol = nullptr;
    for (Task* t = task_list; t; t = t->next)
        if (t->type == TASK_COMBAT_AIR_PATROL && t->side == SIDE_ENEMY) patrol = t->first_drone;
    ASSERT_NE(patrol, nullptr);
    init_war_model();

    // The turn over the front: the player's third waypoint.
    const Waypoint* turn = player->first_waypoint->next->next;
    ASSERT_NE(turn, nullptr);
    const int tx = turn->x >> 22, ty = turn->y >> 22;
    EXPECT_EQ(cell(tx, ty).side & CELL_SIDE_MASK, SIDE_ENEMY);
    EXPECT_LT(get_enemy_radar_cover(turn->x, turn->y), turn->z) << "the route flies above the cover";
    EXPECT_FALSE(is_enemy_radar_down(tx, ty));

    bool sam_near = false;
    for (int x = tx - 1; x <= tx + 1; ++x)
        for (int y = ty - 1; y <= ty + 1; ++y)
            for (GameplayObject* sam : cell(x, y).sam) sam_near |= sam != nullptr;
    EXPECT_TRUE(sam_near) << "a SAM site in reach of the turn";

    user_drone = player;
    unlink_mobile_object(&player->object);
    player->pose.position = {turn->x, turn->y, turn->z};
    link_mobile_object(&player->object);
    rebuild_cap_threats();
    ASSERT_EQ(enemy_cap.threat_count, 1);
    EXPECT_EQ(enemy_cap.threats[0], &player->target);
    patrol->current_waypoint = patrol->first_waypoint->next;  // on station, under way
    patrol->speed = patrol->current_waypoint->speed;
    EXPECT_EQ(get_enemy_cap_threat(patrol), &player->target) << "near the patrol's route";
}

}  // namespace
}  // namespace vyr
