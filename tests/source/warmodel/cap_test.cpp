#include "source/warmodel/cap.h"

#include <gtest/gtest.h>

#include "tests/source/warmodel/war_world.h"

namespace vyr {
namespace {

constexpr uint16_t EARLY_WARNING_RADAR = 46;  // floor 500 ft

// The enemy holds the home tile and the tiles around it, with an early-warning radar at home and
// a patrol fighter on station; the intruder is allied.
class CombatAirPatrol : public WarWorld {
protected:
    void SetUp() override {
        WarWorld::SetUp();
        if (IsSkipped()) return;
        release_war_model();
        radar_record = add_dynamic_ground_object(HERE.x + TILE / 2, HERE.y + TILE / 2, EARLY_WARNING_RADAR, 0, SIDE_ENEMY);
        patrol = flyer(SIDE_ENEMY, TASK_COMBAT_AIR_PATROL, FIGHTER);
        init_war_model();
        set_war_seed(12345);
    }

    // An allied fighter at the point (feet up) a tile and a half ahead, linked for the lists.
    Drone* intruder(int32_t feet_up) { return unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, in_tile(0, 1, feet_up)); }
    static void move(Drone* d, const Vector3& to) {
        unlink_mobile_object(&d->object);
        d->pose.position = to;
        link_mobile_object(&d->object);
    }

    ground_object* radar_record = nullptr;
    Drone* patrol = nullptr;
};

// An intruder above the cover is listed, handed to the patrol fighter and engaged; diving under
// the cover beyond 1.5 weapon ranges the chase becomes a flight to its last position, and
// climbing back above the cover restores it.
TEST_F(CombatAirPatrol, AnIntruderAboveTheCoverIsInterceptedAndChasedToItsLastPosition) {
    ASSERT_EQ(patrol->cap_index, 0);
    Drone* bandit = intruder(2000);
    patrol->attention_range = TILE / 4;  // too short to find it on its own, long enough to be sent
    game_clock = 4001;                   // the lists are out of date
    acquire_air_drone_target(patrol);
    ASSERT_EQ(enemy_cap.threat_count, 1);
    EXPECT_EQ(enemy_cap.threats[0], &bandit->target);
    ASSERT_EQ(patrol->attack_target, &bandit->target);
    EXPECT_TRUE(patrol->mission_flags & DRONE_FLAG_CAP_INTERCEPT);
    EXPECT_TRUE(patrol->mission_flags & DRONE_FLAG_ENGAGED);
    EXPECT_EQ(enemy_cap.assigned_threats[0], &bandit->target);

    int64_t reach = 0;  // of the longest of its weapons
    for (int slot = 0; slot < DRONE_WEAPON_SLOTS; ++slot)
        reach = std::max<int64_t>(reach, weapon_info[get_drone_type_weapon(FIGHTER, slot)].max_range * 3 / 2);
    move(bandit, in_tile(0, 3, 0));
    bandit->pose.position.z = 1;  // under the 500 ft floor, within reach
    acquire_cap_target(patrol);
    EXPECT_EQ(patrol->attack_target, &bandit->target);
    move(bandit, {HERE.x, int32_t(HERE.y + reach + TILE / 8), 1});
    acquire_cap_target(patrol);
    ASSERT_NE(patrol->attack_target, nullptr);
    ASSERT_EQ(patrol->attack_target->kind, TARGET_FIXED_POINT);
    EXPECT_EQ(patrol->attack_target->position.y, bandit->pose.position.y);
    const int targets = count_targets();

    move(bandit, in_tile(0, 3, 2000));
    acquire_cap_target(patrol);
    EXPECT_EQ(patrol->attack_target, &bandit->target) << "back above the cover";
    EXPECT_EQ(count_targets(), targets - 1) << "the last-position point went back to the pool";
}

// Destroying the radar turns the chase into a flight to where the threat was at that moment.
TEST_F(CombatAirPatrol, ADestroyedRadarActsLikeTheDive) {
    Drone* bandit = intruder(2000);
    patrol->attention_range = TILE / 4;
    game_clock = 4001;
    acquire_air_drone_target(patrol);
    ASSERT_EQ(patrol->attack_target, &bandit->target);
    radar_record->flags |= GROUND_DESTROYED;
    acquire_cap_target(patrol);
    ASSERT_NE(patrol->attack_target, nullptr);
    EXPECT_EQ(patrol->attack_target->kind, TARGET_FIXED_POINT);
}

TEST_F(CombatAirPatrol, NoThreatIsListedUnderTheCoverOverForeignGroundOrForAStandingFighter) {
    Drone* low = intruder(100);
    rebuild_cap_threats();
    EXPECT_EQ(enemy_cap.threat_count, 0) << "below the 500 ft floor";
    move(low, in_tile(0, 1, 2000));
    cell(HOME_TILE, HOME_TILE + 1).side = SIDE_ALLIED;
    rebuild_cap_threats();
    EXPECT_EQ(enemy_cap.threat_count, 0) << "over allied ground";
    cell(HOME_TILE, HOME_TILE + 1).side = SIDE_ENEMY;
    rebuild_cap_threats();
    ASSERT_EQ(enemy_cap.threat_count, 1);
    patrol->speed = 0;
    EXPECT_EQ(get_enemy_cap_threat(patrol), nullptr) << "no speed, no threat";
}

TEST_F(CombatAirPatrol, AFullThreatListTakesNoMore) {
    Target spare[CAP_THREAT_LIMIT + 1] = {};
    enemy_cap.threat_count = 0;
    for (Target& t : spare) add_enemy_cap_threat(&t);
    EXPECT_EQ(enemy_cap.threat_count, CAP_THREAT_LIMIT);
    EXPECT_EQ(enemy_cap.threats[CAP_THREAT_LIMIT - 1], &spare[CAP_THREAT_LIMIT - 1]);
    enemy_cap.threat_count = 0;
}

TEST_F(CombatAirPatrol, PatrolsThatCannotBeNumberedAreFatal) {
    EXPECT_DEATH(
        {
            flyer(SIDE_ENEMY, TASK_COMBAT_AIR_PATROL, FIGHTER);
            init_cap();
        },
        "More than one enemy CAP task present");
    EXPECT_DEATH(
        {
            flyer(SIDE_NEUTRAL, TASK_COMBAT_AIR_PATROL, FIGHTER);
            init_cap();
        },
        "Combat Air Patrol not on either side");
    EXPECT_DEATH(
        {
            Task* t = patrol->task;
            for (int i = 0; i < CAP_DRONE_LIMIT; ++i) create_drone(t);
            init_cap();
        },
        "Too many drones in enemy CAP task, limit 20");
    Drone* outsider = flyer(SIDE_ENEMY, TASK_COUNTER_AIR, FIGHTER);
    outsider->task->type = TASK_COMBAT_AIR_PATROL;
    EXPECT_DEATH(acquire_cap_target(outsider), "Non-CAP drone trying to get target from CAP system");
}

}  // namespace
}  // namespace vyr
