#include <gtest/gtest.h>

#include "source/drone/air_manoeuvre.h"
#include "source/frame_loop.h"
#include "source/warmodel/sector_search.h"
#include "tests/source/warmodel/war_world.h"

namespace vyr {
namespace {

using AirAcquisition = WarWorld;

constexpr int ENEMY_HELICOPTER = HELICOPTER;

struct TaskCase {
    const char* what;
    int task_type;
    int hunter_type;
    int prey_type;  // an enemy aircraft 20,000 ft ahead at 5,000 ft
    bool takes_it;
};

// Fighter tasks take an aircraft near their route; a helicopter only a helicopter; the strike
// and bombing tasks away from their targets leave aircraft ahead alone or only look at them.
TEST_F(AirAcquisition, EachTaskTypeTakesWhatItHuntsNearItsRoute) {
    const TaskCase cases[] = {
        {"battlefield air interdiction", TASK_BATTLEFIELD_AIR_INTERDICTION, FIGHTER, FIGHTER, true},
        {"strategic interdiction", TASK_STRATEGIC_INTERDICTION, FIGHTER, FIGHTER, true},
        {"counter air", TASK_COUNTER_AIR, FIGHTER, FIGHTER, true},
        {"offensive sweep", TASK_OFFENSIVE_SWEEP, FIGHTER, FIGHTER, true},
        {"escort cover", TASK_ESCORT_COVER, FIGHTER, FIGHTER, true},
        {"helicopter against a fighter", TASK_COUNTER_AIR, HELICOPTER, FIGHTER, false},
        {"helicopter against a helicopter", TASK_COUNTER_AIR, HELICOPTER, ENEMY_HELICOPTER, true},
        {"strike away from its target", TASK_STRIKE, FIGHTER, FIGHTER, false},
    };
    for (const TaskCase& c : cases) {
        SCOPED_TRACE(c.what);
        Drone* hunter = flyer(SIDE_ALLIED, c.task_type, c.hunter_type);
        Drone* prey = unit(SIDE_ENEMY, TASK_COUNTER_AIR, c.prey_type, ahead(20000, 5000));
        acquire_air_drone_target(hunter);
        if (c.takes_it) {
            EXPECT_EQ(hunter->attack_target, &prey->target);
            EXPECT_TRUE(hunter->mission_flags & DRONE_FLAG_ENGAGED);
            EXPECT_GE(hunter->reaction_time, 12000);
            EXPECT_LT(hunter->reaction_time, 14000);
        } else {
            EXPECT_EQ(hunter->attack_target, nullptr);
        }
        destroy_all_tasks();
    }
}

// An aircraft behind the route's leg, measured from the waypoint flown to, is refused when that
// is beyond the attention range; the reaction time holds any acquisition off until it has come.
TEST_F(AirAcquisition, TheRouteAndTheReactionTimeHoldAcquisitionOff) {
    Drone* hunter = flyer(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER);
    hunter->attention_range = 2 * TILE + TILE / 4;
    Drone* prey = unit(SIDE_ENEMY, TASK_COUNTER_AIR, FIGHTER, in_tile(1, -2, 5000));
    ASSERT_EQ(find_random_sector_aircraft(HERE, SIDE_ENEMY, 0, hunter->attention_range), &prey->target);
    EXPECT_GT(get_route_distance(hunter, &prey->target), 4 * TILE);
    acquire_air_drone_target(hunter);
    EXPECT_EQ(hunter->attack_target, nullptr) << "five tiles from the waypoint";
    EXPECT_EQ(hunter->mission_flags & DRONE_FLAG_ENGAGED, 0u);
    hunter->attention_range = 6 * TILE;
    hunter->reaction_time = 5001;
    game_clock = 5000;
    acquire_air_drone_target(hunter);
    EXPECT_EQ(hunter->attack_target, nullptr) << "reacting still";
    game_clock = 5001;
    acquire_air_drone_target(hunter);
    EXPECT_EQ(hunter->attack_target, &prey->target);
}

// The player picked is warned of the attacker.
TEST_F(AirAcquisition, ThePlayerPickedAsTargetIsWarnedOfTheAttacker) {
    user_drone = unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, ahead(20000, 5000));
    Drone* hunter = flyer(SIDE_ENEMY, TASK_COUNTER_AIR, FIGHTER);
    acquire_air_drone_target(hunter);
    ASSERT_EQ(hunter->attack_target, &user_drone->target);
    EXPECT_GE(get_next_shot_time(hunter), game_clock);
}

// The player's own type out of bombs turns its whole task into a strike; another bomber without
// bombs looks for aircraft instead.
TEST_F(AirAcquisition, AWingmanTypeOutOfBombsTurnsItsTaskToStrike) {
    for (int task_type : {TASK_BOMBING_STRATEGIC, TASK_BOMBING_TACTICAL}) {
        SCOPED_TRACE(task_type);
        Drone* bomber = flyer(SIDE_ALLIED, task_type, OBJ_VYR_WINGMAN);
        for (DroneWeaponSlot& slot : bomber->weapon_slots) slot.rounds = 0;
        acquire_air_drone_target(bomber);
        EXPECT_EQ(bomber->task->type, TASK_STRIKE);
        EXPECT_TRUE(bomber->mission_flags & DRONE_FLAG_BOMBS_GONE);
        destroy_all_tasks();
    }
}

// A strategic bomber at its Target waypoint bombs the ground under it, a fixed point; leaving
// for the next leg it looks for fighters instead, and the point's slot goes back to the pool.
TEST_F(AirAcquisition, AStrategicBomberAwayFromItsTargetGivesItsFixedPointBack) {
    Drone* bomber = flyer(SIDE_ALLIED, TASK_BOMBING_STRATEGIC, BOMBER, WAYPOINT_TARGET);
    bomber->weapon_slots[1].rounds = 4;
    const int before = count_targets();
    acquire_air_drone_target(bomber);
    ASSERT_NE(bomber->attack_target, nullptr);
    EXPECT_EQ(bomber->attack_target->kind, TARGET_FIXED_POINT);
    EXPECT_EQ(count_targets(), before + 1);
    set_waypoint_type(bomber->current_waypoint, WAYPOINT_TURNING);
    game_clock = bomber->reaction_time;  // not yet past: the target is replaced, not dropped
    acquire_air_drone_target(bomber);
    EXPECT_EQ(bomber->attack_target, nullptr);
    EXPECT_EQ(count_targets(), before) << "the fixed point leaked";
}

// The laser bomber takes the player's designation only where it lies in its Target waypoint's
// tile, and announces the bombing start once.
TEST_F(AirAcquisition, ALaserBomberTakesTheDesignationOnlyInItsTargetTile) {
    set_sides(SIDE_ENEMY);
    for (const int dx : {0, 1}) {
        SCOPED_TRACE(dx);
        Drone* bomber = flyer(SIDE_ALLIED, TASK_BOMBING_LASER_GUIDED, BOMBER, WAYPOINT_TARGET);
        bomber->weapon_slots[1].rounds = 4;
        const Vector3 at = in_tile(dx, 3);
        ground_object* record = add_dynamic_ground_object(at.x, at.y, TANK, 0, SIDE_ENEMY);
        Target* ground = new_ground_object_target(record, at);
        designated_target = *ground;
        acquire_air_drone_target(bomber);
        EXPECT_TRUE(bomber->mission_flags & DRONE_FLAG_BOMBING_START);
        EXPECT_EQ(bomber->attack_target, dx == 0 ? &designated_target : nullptr);
        release_target(ground);
        designated_target = {};
        destroy_all_tasks();
    }
}

TEST_F(AirAcquisition, AnAircraftInATaskWithoutAirTargetsIsFatal) {
    Drone* lost = flyer(SIDE_ALLIED, TASK_GROUND_VEHICLE, FIGHTER);
    EXPECT_DEATH(acquire_air_drone_target(lost), "Can't aquire target for air drone with unknown task type");
    lost->attack_target = &lost->target;
    EXPECT_DEATH(check_air_drone_target(lost), "Air drone shouldn't have this task type");
    lost->attack_target = nullptr;
}

// An engaged fighter over time: too close it turns away briefly and comes back, a rise of more
// than 10 in its damage breaks the attack off, a target far from the route is given up, and a
// disengage order drops everything.
TEST_F(AirAcquisition, TheCheckRetreatsWhenTooCloseAndDropsOnDamageOrDistance) {
    Drone* hunter = flyer(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER);
    Drone* prey = unit(SIDE_ENEMY, TASK_COUNTER_AIR, FIGHTER, ahead(20000, 5000));
    acquire_air_drone_target(hunter);
    ASSERT_EQ(hunter->attack_target, &prey->target);
    const int32_t engaged_until = hunter->reaction_time;

    check_air_drone_target(hunter);
    EXPECT_EQ(hunter->attack_target, &prey->target);
    EXPECT_EQ(hunter->mission_flags & DRONE_FLAG_RETREAT, 0u) << "far enough, on the route";

    prey->pose.position = ahead(100, 500);
    check_air_drone_target(hunter);
    EXPECT_TRUE(hunter->mission_flags & DRONE_FLAG_RETREAT) << "closer than two seconds' flight";
    EXPECT_GE(hunter->reaction_time, game_clock + 100);
    EXPECT_LT(hunter->reaction_time, game_clock + 500);
    game_clock = hunter->reaction_time + 1;
    check_air_drone_target(hunter);
    EXPECT_EQ(hunter->mission_flags & DRONE_FLAG_RETREAT, 0u);
    EXPECT_EQ(hunter->reaction_time, game_clock + 2000);

    prey->pose.position = ahead(20000, 5000);
    hunter->damage = hunter->previous_damage + 10;
    check_air_drone_target(hunter);
    EXPECT_EQ(hunter->attack_target, &prey->target) << "a rise of 10 is borne";
    hunter->damage = hunter->previous_damage + 11;
    check_air_drone_target(hunter);
    EXPECT_EQ(hunter->attack_target, nullptr);
    EXPECT_TRUE(hunter->mission_flags & DRONE_FLAG_RETREAT);
    EXPECT_EQ(hunter->reaction_time, game_clock + 600);
    EXPECT_EQ(hunter->previous_damage, hunter->damage);

    hunter->attack_target = &prey->target;
    hunter->mission_flags = (hunter->mission_flags | DRONE_FLAG_ENGAGED) & ~DRONE_FLAG_RETREAT;
    hunter->reaction_time = engaged_until;
    prey->pose.position = {HERE.x + 4 * TILE, HERE.y, 5000 * FOOT};
    check_air_drone_target(hunter);
    EXPECT_EQ(hunter->attack_target, nullptr) << "four tiles off a route chased three";
    EXPECT_EQ(hunter->reaction_time, game_clock + 3000);

    hunter->attack_target = &prey->target;
    hunter->mission_flags |= DRONE_FLAG_DISENGAGE | DRONE_FLAG_ENGAGED;
    check_air_drone_target(hunter);
    EXPECT_EQ(hunter->attack_target, nullptr);
    EXPECT_EQ(hunter->mission_flags & DRONE_FLAG_ENGAGED, 0u);
}

// Once its time is up, an engagement still within twice the weapon's reach ends with the target
// dropped; one beyond it turns into a retreat.
TEST_F(AirAcquisition, AnEngagementWhoseTimeIsUpEndsOrRetreats) {
    Drone* hunter = flyer(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER);
    Drone* prey = unit(SIDE_ENEMY, TASK_COUNTER_AIR, FIGHTER, ahead(20000, 5000));
    acquire_air_drone_target(hunter);
    ASSERT_EQ(hunter->attack_target, &prey->target);
    game_clock = hunter->reaction_time + 1;
    check_air_drone_target(hunter);
    EXPECT_EQ(hunter->attack_target, nullptr);

    hunter->attack_target = &prey->target;
    hunter->mission_flags |= DRONE_FLAG_ENGAGED;
    hunter->attention_range = 40 * TILE;
    prey->pose.position = in_tile(0, 3, 5000);
    hunter->air_max_range = TILE / 4;
    game_clock = hunter->reaction_time + 1;
    check_air_drone_target(hunter);
    EXPECT_EQ(hunter->attack_target, &prey->target);
    EXPECT_TRUE(hunter->mission_flags & DRONE_FLAG_RETREAT);
    EXPECT_EQ(hunter->mission_flags & DRONE_FLAG_ENGAGED, 0u);
}

}  // namespace
}  // namespace vyr
