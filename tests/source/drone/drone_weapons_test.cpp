#include "source/drone/drone_weapons.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "library/3dvisual/view.h"
#include "source/avionics/messages.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_update.h"
#include "source/drone/drone_war.h"
#include "source/drone/wingman.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/launch.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapons_frame.h"
#include "tests/source/drone/mission_fixture.h"
#include "tests/source/weapons/round_world.h"

namespace vyr {
namespace {

constexpr int FIGHTER = 231;     // gun 60, bombs 58, AIM-9M, Sparrow
constexpr int BOMBER = 225;      // gun 60, bombs 58, AIM-9M
constexpr int SAM_SITE = 80;     // Patriot in slot 2 only
constexpr int HELICOPTER = 607;  // gun, rockets, gun pods, R60
constexpr int TANK = 68;
constexpr int UNARMED_TYPE = 214;  // a structure
constexpr Vector3 HERE = {1 << 27, 1 << 27, 0};
constexpr int32_t WEAPON_SPARROW = 72, WEAPON_CANNON = 60, WEAPON_PATRIOT = 67, WEAPON_MK_83 = 31, WEAPON_FAB250 = 13,
                  WEAPON_D30_SHELL = 71;

class DroneWeapons : public RoundWorld {
protected:
    void SetUp() override {
        RoundWorld::SetUp();
        if (IsSkipped()) return;
        init_drone_types();
        forces_type = 0;
        view_settings.weather = 0;
        designator_laser_on = 0;
        last_ship_call_time = -60000;
        reset_drone_bomb_run();
        set_war_seed(12345);
    }
    void TearDown() override {
        clear_rounds();
        destroy_all_tasks();
        selected_drone = watched_drone = user_drone = nullptr;
        view_cycle_leader = view_cycle_drone = nullptr;
        view_settings.weather = 0;
        designator_laser_on = 0;
        designated_target = {};
        RoundWorld::TearDown();
    }

    // A drone of the type for a new task of the side, at the point facing the heading, linked
    // into the world.
    static Drone* unit(int side, int task_type, int object_number, const Vector3& p, uint32_t heading = 0) {
        Task* t = create_task();
        set_task_side(t, side);
        set_task_type(t, task_type);
        Drone* d = create_drone(t);
        set_drone_type(d, object_number);
        d->pose.position = p;
        d->heading = heading;
        build_rotation_matrix(heading, 0, 0, d->pose.matrix);
        link_mobile_object(&d->object);
        return d;
    }
    static Vector3 ahead(int32_t feet, int32_t up = 0) { return {HERE.x, HERE.y + feet * FEET, HERE.z + up * FEET}; }

    // Loads the type with one weapon in one slot.
    static void load_type(int object_number, int slot, int weapon_id, int32_t rounds) {
        DroneTypeRow& row = drone_type_table[object_number];
        for (int s = 0; s < DRONE_TYPE_SLOTS; ++s) row.weapons[s] = row.rounds[s] = 0;
        row.weapons[slot] = weapon_id;
        row.rounds[slot] = rounds;
    }

    static int live_rounds(int weapon_id) {
        int n = 0;
        for (const WeaponRound& r : round_pool.slots) n += r.weapon_id == weapon_id && (r.flags & ROUND_LIVE);
        return n;
    }
    static std::vector<WeaponRound*> rounds_of(int weapon_id) {
        std::vector<WeaponRound*> found;
        for (WeaponRound& r : round_pool.slots)
            if (r.weapon_id == weapon_id) found.push_back(&r);
        return found;
    }
};

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
         max_of(WEAPON_SPARROW), 0, max_of(WEAPON_BOMB), 0},
        {"the wingman: missiles 23 and 24 are air weapons wherever they hang, the rest ground", OBJ_WINGMAN_AIRCRAFT,
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
    EXPECT_EQ(d->air_max_range, max_of(WEAPON_SPARROW));
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
        {"beyond the AIM-9M, the Sparrow", FIGHTER, TASK_COUNTER_AIR, true, 80000, WEAPON_SPARROW},
        {"nothing in range: the gun", FIGHTER, TASK_COUNTER_AIR, true, 200000, WEAPON_CANNON},
        {"on the ground the gun in its range", FIGHTER, TASK_GROUND_VEHICLE, false, 1000, WEAPON_CANNON},
        {"then the ground slot", FIGHTER, TASK_GROUND_VEHICLE, false, 20000, WEAPON_BOMB},
        {"then nothing", FIGHTER, TASK_GROUND_VEHICLE, false, 100000, 0},
        {"a bomber bombs at any distance", FIGHTER, TASK_BOMBING_STRATEGIC, false, 1000, WEAPON_BOMB},
        {"a laser bomber's slot 1 holds guided bombs", BOMBER, TASK_BOMBING_LASER_GUIDED, false, 20000, WEAPON_LG_BOMB},
        {"the wingman's ground weapon in range, bombs and missiles aside", OBJ_WINGMAN_AIRCRAFT, TASK_STRIKE, false,
         20000, WEAPON_AGM_65G},
        {"the wingman out of range of all: its gun", OBJ_WINGMAN_AIRCRAFT, TASK_STRIKE, false, 100000, WEAPON_GUN},
        {"the wingman bombing takes its bombs", OBJ_WINGMAN_AIRCRAFT, TASK_BOMBING_STRATEGIC, false, 100000, WEAPON_MK_83},
        {"the wingman's air missile wherever it hangs", OBJ_WINGMAN_AIRCRAFT, TASK_STRIKE, true, 20000, WEAPON_AMRAAM},
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
        {"but not radar", [](Drone*) { view_settings.weather = 3; }, WEAPON_SPARROW, 1},
        {"no missile in a hard manoeuvre",
         [](Drone* x) { x->mission_flags |= DRONE_FLAG_HARD_MANOEUVRE; }, WEAPON_SPARROW, 0},
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
    target->speed = 100 * FEET;
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
    Drone* d = unit(SIDE_ENEMY, TASK_COUNTER_AIR, BOMBER, {500 * FEET, HERE.y, 3000 * FEET});
    Drone* target = unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, {-500 * FEET, HERE.y + 8000 * FEET, 3000 * FEET});
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

struct DecoyCase {
    const char* what;
    int missile;
    int decoy;
    int (*active)(const Drone*);
};

// Warned every frame for six seconds, an AI helicopter releases one decoy of the kind that
// fools the missile: each warning before its timer pushes the timer on.
TEST_F(DroneWeapons, AMissileWarnedOfEveryFrameGetsOneDecoyAndAReaction) {
    const DecoyCase cases[] = {{"radar missile, chaff", WEAPON_AMRAAM, WEAPON_CHAFF, is_drone_chaff_active},
                               {"infrared missile, flares", WEAPON_AIM_9M, WEAPON_FLARE, is_drone_flare_active}};
    for (const DecoyCase& c : cases) {
        SCOPED_TRACE(c.what);
        clear_rounds();
        game_clock = 1000;
        Drone* heli = unit(SIDE_ENEMY, TASK_ESCORT_COVER, HELICOPTER, ahead(0, 500));
        ASSERT_EQ(heli->drone_class, DRONE_CLASS_HELICOPTER);
        Drone* shooter = unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, ahead(-7000, 500));
        WeaponRound* missile = activate_round(
            launch_guided_round(c.missile, pose_at(ahead(-7000, 500)), &shooter->target, nullptr, &heli->target, shooter));
        ASSERT_NE(missile, nullptr);
        missile->speed = 1000 * FEET;
        warn_drone_of_missile(heli, missile);
        EXPECT_EQ(rounds_of(c.decoy).size(), 0u) << "seven seconds away";
        missile->pose.position = ahead(-5000, 500);
        for (int tick = 0; tick < 1200; tick += 2) {
            game_clock = 1000 + tick;
            warn_drone_of_missile(heli, missile);
            if (tick == 0) {
                EXPECT_TRUE(heli->mission_flags & DRONE_FLAG_RETREAT);
                EXPECT_EQ(heli->reaction_time, game_clock + 100);
            }
        }
        const std::vector<WeaponRound*> decoys = rounds_of(c.decoy);
        ASSERT_EQ(decoys.size(), 1u);
        EXPECT_EQ(c.active(heli), 1);
        free_round(decoys[0]);
        EXPECT_EQ(c.active(heli), 0) << "its round ended";
    }
}

// The player's infrared missiles at an AI helicopter ahead, one after the other, stepped with the
// rounds: warned each step as the guidance warns it, the helicopter puts out flares and starts
// reacting; the missiles, which nothing steers off their line yet, hit it until it is destroyed.
TEST_F(DroneWeapons, AHelicopterUnderThePlayersMissileFlaresThenFalls) {
    user_drone = unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, ahead(0, 500));
    Drone* heli = unit(SIDE_ENEMY, TASK_ESCORT_COVER, HELICOPTER, ahead(4000, 500));
    bool flared = false, reacting = false;
    int missiles = 0;
    WeaponRound* missile = nullptr;
    while (!heli->destroyed && missiles <= 5) {
        if (!missile || missile->weapon_id != WEAPON_AIM_9M) {
            missile = activate_round(launch_guided_round(WEAPON_AIM_9M, pose_at(ahead(100, 500)), &user_drone->target,
                                                         nullptr, &heli->target, user_drone));
            ASSERT_NE(missile, nullptr);
            ++missiles;
        }
        game_clock += 2;
        warn_drone_of_missile(heli, missile);
        flared |= is_drone_flare_active(heli) != 0;
        reacting |= (heli->mission_flags & DRONE_FLAG_RETREAT) != 0;
        update_rounds();
    }
    EXPECT_TRUE(flared);
    EXPECT_TRUE(reacting);
    EXPECT_EQ(heli->destroyed, 1);
    EXPECT_TRUE(heli->object.flags & INSTANCE_INACTIVE);
    EXPECT_FALSE(user_drone->destroyed);
}

TEST_F(DroneWeapons, OnlyAirborneFlyersReleaseDecoys) {
    Drone* landed = unit(SIDE_ENEMY, TASK_ESCORT_COVER, HELICOPTER, HERE);
    Drone* tank = unit(SIDE_ENEMY, TASK_GROUND_VEHICLE, TANK, ahead(0, 10));
    EXPECT_EQ(use_drone_flares(landed), 0);
    EXPECT_EQ(use_drone_chaff(tank), 0);
    EXPECT_EQ(rounds_of(WEAPON_FLARE).size() + rounds_of(WEAPON_CHAFF).size(), 0u);
}

// The war seed answers itself first: a victim starts reacting when it is a multiple of 5 (of 15
// once responding), for the next draw's remainder of 200 ticks.
TEST_F(DroneWeapons, AnAttackStartsAReactionOneTimeInFive) {
    Drone* victim = unit(SIDE_ENEMY, TASK_ARTILLERY_FIXED_POINT, TANK, HERE);
    Drone* attacker = unit(SIDE_ALLIED, TASK_STRIKE, FIGHTER, ahead(3000, 1000));
    game_clock = 5000;
    for (uint32_t responding : {0u, DRONE_FLAG_RESPONDING}) {
        int reactions = 0;
        for (int32_t seed = 1; seed <= 60; ++seed) {
            set_war_seed(seed);
            const int first = war_random(), second = war_random();
            set_war_seed(seed);
            victim->mission_flags = (victim->mission_flags & ~(DRONE_FLAG_RETREAT | DRONE_FLAG_RESPONDING)) | responding;
            victim->reaction_time = 0;
            alert_drone_under_attack(victim, &attacker->target);
            const bool reacts = first % (responding ? 15 : 5) == 0;
            EXPECT_EQ(bool(victim->mission_flags & DRONE_FLAG_RETREAT), reacts) << seed;
            if (reacts) {
                EXPECT_EQ(victim->reaction_time, 5000 + second % 200) << seed;
            }
            reactions += reacts;
        }
        EXPECT_EQ(reactions, responding ? 4 : 12);
    }
    EXPECT_EQ(victim->attack_target, nullptr) << "a fixed-point battery never answers";
}

// An allied ship under fire calls for help on a 2-in-10 draw of the game's generator, which
// answers its state first, and then not again for 60,000 ticks.
TEST_F(DroneWeapons, AnAlliedShipUnderFireCallsAtMostOnceAMinuteOrSo) {
    Drone* ship = unit(SIDE_ALLIED, TASK_BOAT_SQUADRON, 574, HERE);
    ASSERT_EQ(ship->drone_class, DRONE_CLASS_SHIP);
    Drone* enemy = unit(SIDE_ENEMY, TASK_STRIKE, FIGHTER, ahead(3000, 1000));
    game_clock = 100000;
    for (int32_t state = 1; state <= 20; ++state) {
        last_ship_call_time = -60000;
        set_game_random_state(state);
        alert_drone_under_attack(ship, &enemy->target);
        EXPECT_EQ(last_ship_call_time == game_clock, state % 10 < 2) << state;
    }
    last_ship_call_time = game_clock - 60000;
    set_game_random_state(10);
    alert_drone_under_attack(ship, &enemy->target);
    EXPECT_EQ(last_ship_call_time, game_clock - 60000) << "a minute has not passed";
}

TEST_F(DroneWeapons, AnArmedDroneAnswersAnEnemyInRangeButNotItsOwnSide) {
    Drone* victim = unit(SIDE_ENEMY, TASK_COUNTER_AIR, FIGHTER, ahead(0, 1000));
    Drone* wingmate = unit(SIDE_ENEMY, TASK_COUNTER_AIR, FIGHTER, ahead(3000, 1000));
    Drone* enemy = unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, ahead(3000, 1000));
    game_clock = 100;
    alert_drone_under_attack(victim, &wingmate->target);
    EXPECT_EQ(victim->attack_target, nullptr);
    alert_drone_under_attack(victim, &enemy->target);
    EXPECT_EQ(victim->attack_target, &enemy->target);
    EXPECT_EQ(victim->mission_flags & (DRONE_FLAG_ENGAGED | DRONE_FLAG_RESPONDING | DRONE_FLAG_RETREAT),
              DRONE_FLAG_ENGAGED | DRONE_FLAG_RESPONDING);
    EXPECT_GE(victim->reaction_time, game_clock + 400);
    EXPECT_LT(victim->reaction_time, game_clock + 2400);

    // A site of one weapon holds its fire 2 s; it is no flyer to engage.
    Drone* site = unit(SIDE_ENEMY, TASK_ARTILLERY_AIR_DEFENCE, SAM_SITE, ahead(-10000));
    alert_drone_under_attack(site, &enemy->target);
    EXPECT_EQ(site->attack_target, &enemy->target);
    EXPECT_FALSE(site->mission_flags & DRONE_FLAG_ENGAGED);
    EXPECT_EQ(get_next_shot_time(site), game_clock + 400);
}

// A bomber keeps to its bombs while it has them; once slot 1 is empty it still holds its gun and
// missiles, and turns on an attacker in range.
TEST_F(DroneWeapons, ABomberIgnoresAttacksUntilItsBombsAreGone) {
    Drone* bomber = unit(SIDE_ENEMY, TASK_BOMBING_STRATEGIC, BOMBER, ahead(0, 3000));
    Drone* enemy = unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, ahead(3000, 3000));
    Drone* far = unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, ahead(100000, 3000));
    alert_drone_under_attack(bomber, &enemy->target);
    EXPECT_EQ(bomber->attack_target, nullptr);
    bomber->weapon_slots[1].rounds = 0;
    rearm_weapon_selection(bomber);
    ASSERT_TRUE(bomber->mission_flags & DRONE_FLAG_ARMED);
    EXPECT_TRUE(bomber->mission_flags & DRONE_FLAG_BOMBS_GONE);
    alert_drone_under_attack(bomber, &far->target);
    EXPECT_EQ(bomber->attack_target, nullptr) << "out of range";
    alert_drone_under_attack(bomber, &enemy->target);
    EXPECT_EQ(bomber->attack_target, &enemy->target);
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
    Drone* wingman = unit(SIDE_ALLIED, TASK_STRIKE, OBJ_WINGMAN_AIRCRAFT, HERE);
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
    set_drone_type(lead, OBJ_WINGMAN_AIRCRAFT);
    Drone* wingman = create_drone(t);
    set_drone_type(wingman, OBJ_WINGMAN_AIRCRAFT);
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
