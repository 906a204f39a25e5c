#include "source/drone/drone_reactions.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/source/drone/armed_world.h"

namespace vyr {
namespace {

using DroneReactions = ArmedWorld;

struct DecoyCase {
    const char* what;
    int missile;
    int decoy;
    int (*active)(const Drone*);
};

// Warned every frame for six seconds, an AI helicopter releases one decoy of the kind that
// fools the missile: each warning before its timer pushes the timer on.
TEST_F(DroneReactions, AMissileWarnedOfEveryFrameGetsOneDecoyAndAReaction) {
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
        missile->speed = 1000 * FOOT;
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
// reacting; the missiles hit it until it is destroyed. It is the gunship an infrared seeker holds
// on to: one slips off the other helicopter type every few frames.
TEST_F(DroneReactions, AHelicopterUnderThePlayersMissileFlaresThenFalls) {
    user_drone = unit(SIDE_ALLIED, TASK_COUNTER_AIR, FIGHTER, ahead(0, 500));
    Drone* heli = unit(SIDE_ENEMY, TASK_ESCORT_COVER, GUNSHIP, ahead(4000, 500));
    ASSERT_EQ(heli->drone_class, DRONE_CLASS_HELICOPTER);
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

TEST_F(DroneReactions, OnlyAirborneFlyersReleaseDecoys) {
    Drone* landed = unit(SIDE_ENEMY, TASK_ESCORT_COVER, HELICOPTER, HERE);
    Drone* tank = unit(SIDE_ENEMY, TASK_GROUND_VEHICLE, TANK, ahead(0, 10));
    EXPECT_EQ(use_drone_flares(landed), 0);
    EXPECT_EQ(use_drone_chaff(tank), 0);
    EXPECT_EQ(rounds_of(WEAPON_FLARE).size() + rounds_of(WEAPON_CHAFF).size(), 0u);
}

// The war seed answers itself first: a victim starts reacting when it is a multiple of 5 (of 15
// once responding), for the next draw's remainder of 200 ticks.
TEST_F(DroneReactions, AnAttackStartsAReactionOneTimeInFive) {
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
TEST_F(DroneReactions, AnAlliedShipUnderFireCallsAtMostOnceAMinuteOrSo) {
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

TEST_F(DroneReactions, AnArmedDroneAnswersAnEnemyInRangeButNotItsOwnSide) {
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
TEST_F(DroneReactions, ABomberIgnoresAttacksUntilItsBombsAreGone) {
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

}  // namespace
}  // namespace vyr
