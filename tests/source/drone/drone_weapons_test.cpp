#include "source/drone/drone_weapons.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "source/avionics/messages.h"
#include "tests/source/drone/armed_world.h"

namespace vyr {
namespace {

using DroneWeapons = ArmedWorld;

int32_t max_of(int w) { return weapon_info[w].max_range; }
int32_t min_of(int w) { return weapon_info[w].min_range; }

TEST_F(DroneWeapons, LoadoutsGiveTheArmedStateAndRanges) {
    const struct {
        const char* what;
        int object_number;
        int task;
        uint32_t flags;  // of armed, single weapon, air and ground weapons
        int weapon_id;
        int slot;
        int32_t slot_1_rounds;
        int32_t air_max, air_min, ground_max, ground_min;
    } cases[] = {
        {"a fighter: the highest air missile's reach, the first one's minimum, gun and bombs", FIGHTER,
         TASK_COUNTER_AIR, DRONE_FLAG_ARMED | DRONE_FLAG_AIR_WEAPONS | DRONE_FLAG_GROUND_WEAPONS, 0, 0, 4,
         max_of(WEAPON_SPARROW_AAM), 0, max_of(WEAPON_BOMB), 0},
        {"the wingman: missiles 23 and 24 are air weapons wherever they hang, the rest ground", OBJ_VYR_WINGMAN,
         TASK_STRIKE, DRONE_FLAG_ARMED | DRONE_FLAG_AIR_WEAPONS | DRONE_FLAG_GROUND_WEAPONS, WEAPON_GUN, 0, 4,
         max_of(WEAPON_AMRAAM), 0, max_of(WEAPON_AGM_65G), 0},
        {"a site of one weapon in slot 2", SAM_SITE, TASK_ARTILLERY_AIR_DEFENCE,
         DRONE_FLAG_ARMED | DRONE_FLAG_SINGLE_WEAPON | DRONE_FLAG_AIR_WEAPONS, WEAPON_PATRIOT, 2, 0,
         max_of(WEAPON_PATRIOT), min_of(WEAPON_PATRIOT), 0, INT32_MAX},
        {"a laser-guided bomber gets 10 bombs in slot 1", BOMBER, TASK_BOMBING_LASER_GUIDED,
         DRONE_FLAG_ARMED | DRONE_FLAG_AIR_WEAPONS | DRONE_FLAG_GROUND_WEAPONS, 0, 0, 10, max_of(WEAPON_AIM_9M), 0,
         max_of(WEAPON_BOMB), 0},
        {"a type without weapons", UNARMED_TYPE, TASK_GROUND_VEHICLE, 0, 0, 255, 0, 0, INT32_MAX, 0, INT32_MAX},
    };
    const uint32_t shown = DRONE_FLAG_ARMED | DRONE_FLAG_SINGLE_WEAPON | DRONE_FLAG_AIR_WEAPONS | DRONE_FLAG_GROUND_WEAPONS;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Drone* d = unit(SIDE_ENEMY, c.task, c.object_number, HERE);
        EXPECT_EQ(d->mission_flags & shown, c.flags);
        EXPECT_EQ(d->weapon_id, c.weapon_id);
        EXPECT_EQ(d->weapon_slot, c.slot);
        EXPECT_EQ(d->weapon_slots[1].rounds, c.slot_1_rounds);
        EXPECT_EQ(d->air_max_range, c.air_max);
        EXPECT_EQ(d->air_min_range, c.air_min);
        EXPECT_EQ(d->ground_max_range, c.ground_max);
        EXPECT_EQ(d->ground_min_range, c.ground_min);
    }
}

// A drone given another type finds the capabilities its first type lacked.
TEST_F(DroneWeapons, ANewTypeIsLoadedAfresh) {
    Drone* d = unit(SIDE_ENEMY, TASK_COUNTER_AIR, UNARMED_TYPE, HERE);
    ASSERT_FALSE(d->mission_flags & DRONE_FLAG_AIR_WEAPONS);
    set_drone_type(d, FIGHTER);
    EXPECT_TRUE(d->mission_flags & DRONE_FLAG_AIR_WEAPONS);
    EXPECT_EQ(d->air_max_range, max_of(WEAPON_SPARROW_AAM));
    set_drone_unarmed(d, 1);
    set_drone_loadout(d);
    EXPECT_FALSE(d->mission_flags & DRONE_FLAG_ARMED);
    EXPECT_EQ(d->weapon_slot, 255);
    EXPECT_EQ(choose_drone_weapon(d), 0);
}

TEST_F(DroneWeapons, TheWeaponIsChosenByTargetDomainDistanceAndTask) {
    const struct {
        const char* what;
        int object_number;
        int task;
        bool air_target;
        int32_t feet;
        int weapon_id;
    } cases[] = {
        {"the gun wins inside both ranges", FIGHTER, TASK_COUNTER_AIR, true, 1000, WEAPON_CANNON},
        {"beyond the gun, the lowest air slot in range", FIGHTER, TASK_COUNTER_AIR, true, 20000, WEAPON_AIM_9M},
        {"beyond the AIM-9M, the Sparrow", FIGHTER, TASK_COUNTER_AIR, true, 80000, WEAPON_SPARROW_AAM},
        {"nothing in range: the gun", FIGHTER, TASK_COUNTER_AIR, true, 200000, WEAPON_CANNON},
        {"on the ground the gun in its range", FIGHTER, TASK_GROUND_VEHICLE, false, 1000, WEAPON_CANNON},
        {"then the ground slot", FIGHTER, TASK_GROUND_VEHICLE, false, 20000, WEAPON_BOMB},
        {"then nothing", FIGHTER, TASK_GROUND_VEHICLE, false, 100000, 0},
        {"a bomber bombs at any distance", FIGHTER, TASK_BOMBING_STRATEGIC, false, 1000, WEAPON_BOMB},
        {"a laser bomber's slot 1 holds guided bombs", BOMBER, TASK_BOMBING_LASER_GUIDED, false, 20000, WEAPON_LG_BOMB},
        {"the wingman's ground weapon in range, bombs and missiles aside", OBJ_VYR_WINGMAN, TASK_STRIKE, false,
         20000, WEAPON_AGM_65G},
        {"the wingman out of range of all: its gun", OBJ_VYR_WINGMAN, TASK_STRIKE, false, 100000, WEAPON_GUN},
        {"the wingman bombing takes its bombs", OBJ_VYR_WINGMAN, TASK_BOMBING_STRATEGIC, false, 100000, WEAPON_MK_83},
        {"the wingman's air missile wherever it hangs", OBJ_VYR_WINGMAN, TASK_STRIKE, true, 20000, WEAPON_AMRAAM},
        {"a single weapon whatever the target", SAM_SITE, TASK_ARTILLERY_AIR_DEFENCE, false, 100, WEAPON_PATRIOT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Drone* d = unit(SIDE_ENEMY, c.task, c.object_number, HERE);
        EXPECT_EQ(choose_drone_weapon(d), 0) << "without a target";
        Drone* target = unit(SIDE_ALLIED, TASK_GROUND_VEHICLE, c.air_target ? FIGHTER : TANK, ahead(c.feet));
        d->attack_target = &target->target;
        EXPECT_EQ(choose_drone_weapon(d), c.weapon_id);
        EXPECT_EQ(d->weapon_id, c.weapon_id);
    }
}

TEST_F(DroneWeapons, ATargetOfNeitherDomainIsFatal) {
    Drone* d = unit(SIDE_ENEMY, TASK_COUNTER_AIR, FIGHTER, HERE);
    Target strange = {};
    strange.kind = TARGET_FIXED_POINT;
    strange.domain = 3;
    d->attack_target = &strange;
    EXPECT_FATAL(choose_drone_weapon(d), "Drone doesn't know what weapon to use for a target of classification 3");
}

TEST_F(DroneWeapons, FiringIsGatedByTimeRoundsWeatherManoeuvreAndPatrol) {
    Drone* d = unit(SIDE_ENEMY, TASK_COUNTER_AIR, FIGHTER, HERE);
    Drone* target = unit(SIDE_ALLIED, TASK_GROUND_VEHICLE, FIGHTER, ahead(20000));
    Target* fixed = new_fixed_point_target(ahead(20000, 100));
    const struct {
        const char* what;
        void (*set)(Drone*);
        int weapon_id;
        int can;
    } cases[] = {
        {"a clear day", [](Drone*) {}, WEAPON_AIM_9M, 1},
        {"light fog blinds infrared", [](Drone*) { view_settings.weather = 2; }, WEAPON_AIM_9M, 0},
        {"thick fog blinds infrared", [](Drone*) { view_settings.weather = 3; }, WEAPON_AIM_9M, 0},
        {"but not radar", [](Drone*) { view_settings.weather = 3; }, WEAPON_SPARROW_AAM, 1},
        {"no missile in a hard manoeuvre",
         [](Drone* x) { x->mission_flags |= DRONE_FLAG_HARD_MANOEUVRE; }, WEAPON_SPARROW_AAM, 0},
        {"but the gun", [](Drone* x) { x->mission_flags |= DRONE_FLAG_HARD_MANOEUVRE; }, WEAPON_CANNON, 1},
        {"not before the next shot time", [](Drone* x) { set_next_shot_time(x, game_clock + 1); }, WEAPON_CANNON, 0},
        {"not from an empty slot", [](Drone* x) { x->weapon_slots[0].rounds = 0; }, WEAPON_CANNON, 0},
        {"no weapon", [](Drone*) {}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        view_settings.weather = 0;
        set_drone_loadout(d);
        d->mission_flags &= ~DRONE_FLAG_HARD_MANOEUVRE;
        d->attack_target = &target->target;
        choose_drone_weapon(d);
        c.set(d);
        EXPECT_EQ(can_drone_fire(d, c.weapon_id), c.can);
    }
    view_settings.weather = 0;
    set_drone_loadout(d);
    d->attack_target = fixed;
    EXPECT_EQ(can_drone_fire(d, WEAPON_CANNON), 1) << "a fixed point";
    d->task->type = TASK_COMBAT_AIR_PATROL;
    EXPECT_EQ(can_drone_fire(d, WEAPON_CANNON), 0) << "a patrol never fires at a fixed point";
    d->attack_target = nullptr;
    EXPECT_EQ(can_drone_fire(d, WEAPON_CANNON), 0) << "no target";
    d->attack_target = fixed;
    release_target(fixed);
    EXPECT_EQ(choose_drone_weapon(d), 0) << "a target given back under the drone";
    EXPECT_EQ(fire_drone_weapon_at_target(d), 0);
}

// Dropped stores go in pairs; a slot of one round drops one and is then empty, never below.
TEST_F(DroneWeapons, BombsFallInPairsAndTheLastOneAlone) {
    load_type(BOMBER, 1, WEAPON_FAB250, 3);
    Drone* d = unit(SIDE_ENEMY, TASK_GROUND_VEHICLE, BOMBER, ahead(0, 3000));
    Drone* target = unit(SIDE_ALLIED, TASK_GROUND_VEHICLE, TANK, ahead(500));
    d->attack_target = &target->target;
    ASSERT_EQ(fire_drone_weapon_at_target(d), 1);
    EXPECT_EQ(live_rounds(WEAPON_FAB250), 2);
    EXPECT_EQ(d->weapon_slots[1].rounds, 1);
    EXPECT_GT(get_next_shot_time(d), game_clock);
    EXPECT_EQ(fire_drone_weapon_at_target(d), 0) << "before the next shot time";
    game_clock = get_next_shot_time(d);
    ASSERT_EQ(fire_drone_weapon_at_target(d), 1);
    EXPECT_EQ(live_rounds(WEAPON_FAB250), 3);
    EXPECT_EQ(d->weapon_slots[1].rounds, 0);
    EXPECT_FALSE(d->mission_flags & DRONE_FLAG_ARMED) << "the empty slot was the only one";
    EXPECT_EQ(fire_drone_weapon_at_target(d), 0);
    EXPECT_EQ(d->weapon_slots[1].rounds, 0);
}

// The first shell leads a target crossing at 100 ft/s by its flight time; the second lands 50 ft
// off it in x and y.
TEST_F(DroneWeapons, ShellsGoInPairsLeadingAMovingTarget) {
    weapon_info[WEAPON_D30_SHELL].spread = 0;  // no scatter, so the aim points show
    load_type(TANK, 1, WEAPON_D30_SHELL, 3);
    Drone* gun = unit(SIDE_ENEMY, TASK_GROUND_VEHICLE, TANK, HERE);
    Drone* target = unit(SIDE_ALLIED, TASK_GROUND_VEHICLE, TANK, ahead(10000), 90 * DEGREE);
    target->speed = 100 * FOOT;
    gun->attack_target = &target->target;
    ASSERT_EQ(fire_drone_weapon_at_target(gun), 1);
    const std::vector<WeaponRound*> shells = rounds_of(WEAPON_D30_SHELL);
    ASSERT_EQ(shells.size(), 2u);
    // 10,000 ft at 2,700 ft/s: 740 ticks, 94,720 units of lead eastwards.
    const Vector3 first = shells[0]->shell.impact_point, second = shells[1]->shell.impact_point;
    EXPECT_NEAR(first.x, target->pose.position.x + 94720, 8);
    EXPECT_NEAR(first.y, target->pose.position.y, 8);
    EXPECT_EQ(second.x - first.x, 12800);
    EXPECT_EQ(second.y - first.y, 12800);
    EXPECT_EQ(gun->weapon_slots[1].rounds, 1);

    game_clock = get_next_shot_time(gun);
    ASSERT_EQ(fire_drone_weapon_at_target(gun), 1);
    EXPECT_EQ(rounds_of(WEAPON_D30_SHELL).size(), 3u) << "one shell left fires one";
    EXPECT_EQ(gun->weapon_slots[1].rounds, 0);
}

// A missile without salvo fire waits until the last one has ended; the one fired at turns on the
// shooter.
TEST_F(DroneWeapons, AMissileWaitsForTheLastRoundAndAlertsItsTarget) {
    load_type(BOMBER, 2, WEAPON_AIM_9M, 4);
    Drone* d = unit(SIDE_ENEMY, TASK_COUNTER_AIR, BOMBER, ahead(0, 3000));
    Drone* target = unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, ahead(5000, 3000));
    d->attack_target = &target->target;
    ASSERT_EQ(fire_drone_weapon_at_target(d), 1);
    WeaponRound* first = d->last_round;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->weapon_id, WEAPON_AIM_9M);
    EXPECT_EQ(d->weapon_slots[2].rounds, 3);
    EXPECT_EQ(target->attack_target, &d->target);
    EXPECT_TRUE(target->mission_flags & DRONE_FLAG_RESPONDING);

    game_clock = get_next_shot_time(d);
    EXPECT_EQ(fire_drone_weapon_at_target(d), 0);
    EXPECT_EQ(d->weapon_slots[2].rounds, 3);
    free_round(first);
    EXPECT_EQ(d->last_round, nullptr);
    EXPECT_EQ(fire_drone_weapon_at_target(d), 1);
    EXPECT_EQ(d->weapon_slots[2].rounds, 2);
}

TEST_F(DroneWeapons, ATargetTheLauncherCannotReachIsDropped) {
    load_type(BOMBER, 2, WEAPON_AIM_9M, 4);
    Drone* d = unit(SIDE_ENEMY, TASK_COUNTER_AIR, BOMBER, {500 * FOOT, HERE.y, 3000 * FOOT});
    Drone* target = unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, {-500 * FOOT, HERE.y + 8000 * FOOT, 3000 * FOOT});
    d->attack_target = &target->target;
    EXPECT_EQ(fire_drone_weapon_at_target(d), 0);
    EXPECT_EQ(d->attack_target, nullptr);
    EXPECT_EQ(d->weapon_slots[2].rounds, 4);
    EXPECT_EQ(live_rounds(WEAPON_AIM_9M), 0);
}

// The guided bomb leaves 70 degrees nose down: released only with the target within 16 degrees of
// that line and a laser on it; one "Bombs Away" a run.
TEST_F(DroneWeapons, TheLaserBombRunReleasesOnlyUnderTheLaserAndCallsOnce) {
    user_drone = unit(SIDE_ALLIED, TASK_STRIKE, FIGHTER, ahead(-30000, 3000));
    Drone* d = unit(SIDE_ALLIED, TASK_BOMBING_LASER_GUIDED, BOMBER, ahead(0, 5000));
    Drone* below = unit(SIDE_ENEMY, TASK_GROUND_VEHICLE, TANK, ahead(1820));
    Drone* far = unit(SIDE_ENEMY, TASK_GROUND_VEHICLE, TANK, ahead(30000));
    init_message_area();
    const auto bombs_away = [] {
        fill_message_lines();
        int n = 0;
        for (const auto& line : message_lines) n += std::string(line).find("Bombs Away") != std::string::npos;
        return n;
    };
    d->attack_target = &below->target;
    EXPECT_EQ(fire_drone_weapon_at_target(d), 0) << "no laser";
    EXPECT_EQ(d->weapon_slots[1].rounds, 10);
    designator_laser_on = 1;
    ASSERT_EQ(fire_drone_weapon_at_target(d), 1);
    EXPECT_EQ(d->last_round->weapon_id, WEAPON_LG_BOMB);
    EXPECT_EQ(d->weapon_slots[1].rounds, 9);
    game_clock = get_next_shot_time(d);
    ASSERT_EQ(fire_drone_weapon_at_target(d), 1);
    EXPECT_EQ(live_rounds(WEAPON_LG_BOMB), 2);
    EXPECT_EQ(bombs_away(), 1);

    d->attack_target = &far->target;
    game_clock = get_next_shot_time(d);
    EXPECT_EQ(fire_drone_weapon_at_target(d), 0) << "the target far outside the cone";
    d->attack_target = &below->target;
    ASSERT_EQ(fire_drone_weapon_at_target(d), 1);
    EXPECT_EQ(bombs_away(), 2) << "a new run calls again";
}

TEST_F(DroneWeapons, KillingADroneStopsItAndGivesBackItsFixedPoint) {
    Drone* d = unit(SIDE_ENEMY, TASK_GROUND_VEHICLE, TANK, HERE);
    d->speed = 500;
    const int32_t live = d->task->live_count;
    const int targets = count_targets();
    d->attack_target = new_fixed_point_target(ahead(1000));
    d->mission_flags |= DRONE_FLAG_ENGAGED | DRONE_FLAG_RETREAT;
    kill_drone(d);
    EXPECT_EQ(d->destroyed, 1);
    EXPECT_TRUE(d->object.flags & INSTANCE_INACTIVE);
    EXPECT_EQ(d->object.tile_list, nullptr);
    EXPECT_EQ(d->task->live_count, live - 1);
    EXPECT_EQ(d->speed, 0);
    EXPECT_TRUE(d->mission_flags & DRONE_FLAG_MOVING);
    EXPECT_EQ(d->attack_target, nullptr);
    EXPECT_FALSE(d->mission_flags & (DRONE_FLAG_ENGAGED | DRONE_FLAG_RETREAT));
    EXPECT_EQ(count_targets(), targets);
    kill_drone(d);
    EXPECT_EQ(d->task->live_count, live - 1) << "a second kill changes nothing";
}

// A wingman ordered to attack holds the player's designation, which is no slot of the pool.
TEST_F(DroneWeapons, DroppingTheDesignationLeavesItAndThePoolAlone) {
    Drone* wingman = unit(SIDE_ALLIED, TASK_STRIKE, OBJ_VYR_WINGMAN, HERE);
    Target* kept = new_fixed_point_target(ahead(1000));
    const int targets = count_targets();
    designated_target = {};
    designated_target.kind = TARGET_FIXED_POINT;
    designated_target.position = ahead(2000);
    wingman->attack_target = &designated_target;
    clear_drone_attack_target(wingman);
    EXPECT_EQ(designated_target.kind, TARGET_FIXED_POINT);
    EXPECT_EQ(designated_target.position.y, ahead(2000).y);
    EXPECT_EQ(count_targets(), targets);
    release_target(kept);
    EXPECT_EQ(count_targets(), targets - 1);
}

TEST_F(DroneWeapons, TheUsersWingmenAreArmedAtMissionStart) {
    Task* t = create_task();
    set_task_side(t, SIDE_ALLIED);
    set_task_type(t, TASK_STRIKE);
    Drone* lead = create_drone(t);
    set_drone_type(lead, OBJ_VYR_WINGMAN);
    Drone* wingman = create_drone(t);
    set_drone_type(wingman, OBJ_VYR_WINGMAN);
    EXPECT_FATAL(arm_user_wingmen(), "no user drone set!!");
    user_drone = lead;
    wingman->weapon_slots[1].rounds = 0;
    wingman->mission_flags |= DRONE_FLAG_FLY_WITH_USER | DRONE_FLAG_DISENGAGE;
    arm_user_wingmen();
    EXPECT_EQ(wingman->weapon_slots[1].rounds, 4);
    EXPECT_FALSE(wingman->mission_flags & (DRONE_FLAG_FLY_WITH_USER | DRONE_FLAG_DISENGAGE));
}

TEST_F(DroneWeapons, FlyersAndRadarSitesNotDestroyedAreTargetable) {
    Drone* heli = unit(SIDE_ENEMY, TASK_ESCORT_COVER, HELICOPTER, ahead(0, 500));
    Drone* tank = unit(SIDE_ENEMY, TASK_GROUND_VEHICLE, TANK, HERE);
    Drone* radar = unit(SIDE_ENEMY, TASK_ARTILLERY_AIR_DEFENCE, 46, ahead(1000));
    EXPECT_EQ(is_drone_targetable(heli), 1);
    EXPECT_EQ(is_drone_targetable(tank), 0);
    EXPECT_EQ(is_drone_targetable(radar), 1);
    kill_drone(radar);
    EXPECT_EQ(is_drone_targetable(radar), 0);
}

}  // namespace
}  // namespace vyr
