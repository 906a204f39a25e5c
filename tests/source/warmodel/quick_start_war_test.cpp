// Cyprus's air-combat quick start as the war model sees it: the sortie turns over enemy ground
// watched by a radar, past a SAM site, where the enemy's patrol is sent against the player.
#include <gtest/gtest.h>

#include "source/avionics/threat_warning.h"
#include "source/drone/user_drone.h"
#include "tests/source/drone/quick_start_mission.h"
#include "tests/source/warmodel/war_world.h"

namespace vyr {
namespace {

constexpr int PLAYER_TYPE = 606;
constexpr int RADAR_VEHICLE = 77;

class CyprusQuickStart : public WarWorld {
protected:
    void SetUp() override {
        WarWorld::SetUp();
        if (IsSkipped()) return;
        saved_player = player_position;
        release_war_model();
        read_quick_start("cypusq01.dta");
    }
    void TearDown() override {
        player_position = saved_player;
        WarWorld::TearDown();
    }

    static Drone* enemy_patrol() {
        for (Task* t = task_list; t; t = t->next)
            if (t->type == TASK_COMBAT_AIR_PATROL && t->side == SIDE_ENEMY) return t->first_drone;
        return nullptr;
    }
    // The drone at a waypoint of its route, made current, at the speed the route gives.
    static void put_on_route(Drone* d, Waypoint* w) {
        unlink_mobile_object(&d->object);
        d->pose.position = {w->x, w->y, w->z};
        link_mobile_object(&d->object);
        d->current_waypoint = w;
        d->speed = w->speed;
        d->mission_flags |= DRONE_FLAG_MOVING;
    }

private:
    Pose* saved_player = nullptr;
};

TEST_F(CyprusQuickStart, TheSortieTurnsUnderEnemyRadarPastASamSiteAndThePatrolIsSentAtIt) {
    Drone* player = find_mission_drone(PLAYER_TYPE);
    ASSERT_NE(player, nullptr);
    ASSERT_NE(find_mission_drone(RADAR_VEHICLE), nullptr);
    Drone* patrol = enemy_patrol();
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

// The war run step by step with the player turning over the front: the SAM site launches at it
// and the patrol fighter is sent after it.
TEST_F(CyprusQuickStart, OverTheFrontTheSamSiteLaunchesAndThePatrolFighterTurnsIn) {
    Drone* player = find_mission_drone(PLAYER_TYPE);
    Drone* patrol = enemy_patrol();
    ASSERT_TRUE(player && patrol);
    give_site_targets();
    init_war_model();
    init_threat_warning();
    user_drone = player;
    player_position = &player->pose;
    put_on_route(player, player->first_waypoint->next->next);
    put_on_route(patrol, patrol->first_waypoint->next);
    GameplayObject* launched = nullptr;
    for (frame_count = 0; game_clock < 6000 && !(launched && patrol->attack_target); ++frame_count, game_clock += 10) {
        update_war_model();
        for (GameplayObject& site : gameplay_objects)
            if (site.type == GAMEPLAY_SAM && site.shots_fired) launched = &site;
    }
    ASSERT_NE(launched, nullptr) << "no SAM site launched";
    EXPECT_EQ(launched->attack_target, &player->target);
    EXPECT_EQ(patrol->attack_target, &player->target);
    EXPECT_TRUE(patrol->mission_flags & DRONE_FLAG_ENGAGED);
    // The player's threat warning has filed both the site and the fighter.
    bool site_filed = false, fighter_filed = false;
    for (const ThreatGroup& group : threat_warning.groups)
        for (const ThreatSlot* slot = group.head; slot; slot = slot->next) {
            site_filed |= slot->target.object == launched->defence_target->object;
            fighter_filed |= slot->target.object == patrol->target.object;
        }
    EXPECT_TRUE(site_filed);
    EXPECT_TRUE(fighter_filed);
}

}  // namespace
}  // namespace vyr
