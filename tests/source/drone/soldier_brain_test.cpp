#include "source/drone/soldier_brain.h"

#include <gtest/gtest.h>

#include <cmath>

#include "library/3dvisual/view.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/soldier_body.h"
#include "source/weapons/weapons_frame.h"
#include "tests/source/drone/mission_fixture.h"
#include "tests/source/drone/soldier_world.h"

namespace vyr {
namespace {

int infrared_weapon() {
    for (int w = 1; w < WEAPON_COUNT; ++w)
        if (weapon_info[w].guidance == GUIDANCE_INFRARED) return w;
    return 0;
}

using SoldierBrain = SoldierWorld;

// The group waits, moves on, engages and defends by its leader's action and timers; every soldier
// of it follows the action the leader sets.
TEST_F(SoldierBrain, EachActionStateByItsTimers) {
    const struct {
        const char* what;
        int32_t action;
        int32_t move_on;  // from now, for the leader
        uint32_t extra;   // leader flags
        int32_t leader_action;  // after one step
        int32_t member_body;    // the first member's body state after the step
    } cases[] = {
        {"a wait not over: members gesture when idle", ACTION_WAIT, 100, 0, ACTION_WAIT, BODY_GESTURE},
        {"a wait over: the group advances and walks", ACTION_WAIT, 0, 0, ACTION_ADVANCE, BODY_MOVE},
        {"a boarding group waits on", ACTION_WAIT, 0, HUMAN_BOARDING, ACTION_WAIT, BODY_GESTURE},
        {"state 1 is a wait", 1, 0, 0, ACTION_ADVANCE, BODY_MOVE},
        {"a defence over: the group advances", ACTION_DEFEND, 0, 0, ACTION_ADVANCE, BODY_MOVE},
        {"engaging, not yet in position: run there", ACTION_ENGAGE, 100, 0, ACTION_ENGAGE, BODY_MOVE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Drone* leader = make(916, SOLDIER_SQUAD, {{WAYPOINT_HUMAN_TURN, 1 << 24, (1 << 24) + 400 * FOOT, 2000, 1000},
                                                  {WAYPOINT_HUMAN_DEFEND, 1 << 24, (1 << 24) + 800 * FOOT}});
        update_human_drone(leader);  // the first step sets the route and timers up
        set_group_action(leader, c.action);
        Drone* member = leader->first_member;
        for (Drone* d : group_of(leader)) figure(d).timer = game_clock;  // idle: ready to gesture
        figure(leader).move_on_time = game_clock + c.move_on;
        figure(leader).flags |= c.extra;
        update_human_drone(leader);
        EXPECT_EQ(figure(leader).action_state, c.leader_action);
        EXPECT_EQ(figure(member).action_state, c.leader_action);
        EXPECT_EQ(figure(member).body_state, c.member_body);
        if (c.member_body == BODY_GESTURE) {
            EXPECT_EQ(figure(member).timer, game_clock + gesture_delay(figure_slot(&figure(member))));
        }
        destroy_all_tasks();
    }
}

TEST_F(SoldierBrain, AHumanDefendWaitOfZeroMovesOnAtTheFirstStepAndAnAimingSoldierStillFires) {
    Drone* leader = make(916, SOLDIER_SQUAD, {{WAYPOINT_HUMAN_DEFEND, 1 << 24, 1 << 24, 2000, 0},
                                              {WAYPOINT_HUMAN_TURN, 1 << 24, (1 << 24) + 400 * FOOT}});
    Drone* rifleman = leader->first_member;
    Drone* target = truck({rifleman->pose.position.x, rifleman->pose.position.y + 300 * FOOT, 0});
    set_group_action(leader, ACTION_DEFEND);
    arm(rifleman);
    rifleman->attack_target = &target->target;
    figure(rifleman).body_state = BODY_AIM;
    figure(rifleman).animation = choose_human_animation(rifleman, HumanMove::AIM_STANDING);
    figure(rifleman).timer = game_clock + 1000;

    update_human_drone(leader);
    EXPECT_EQ(figure(leader).action_state, ACTION_ADVANCE) << "a wait of 0 is over at once";
    EXPECT_EQ(figure(rifleman).action_state, ACTION_ADVANCE);
    EXPECT_EQ(rifleman->weapon_slots[0].rounds, 29) << "the aiming soldier fired in the same step";
    ASSERT_NE(rifleman->last_round, nullptr);
    EXPECT_EQ(rifleman->weapon_slots[0].next_shot_time, game_clock + human_shot_interval(AK47, 29));
}

// Defending soldiers with a target in reach: the armed take a stance drawn from the game's
// generator, which linked machines keep in step (even stands, odd kneels); the plain set neither
// searches nor takes one.
TEST_F(SoldierBrain, ArmedSoldiersTakeADrawnStanceAndThePlainSetNeverSearches) {
    for (int32_t object : {917, 640}) {
        SCOPED_TRACE(object);
        for (int32_t draw = 0; draw < 4; ++draw) {
            Drone* soldier = make(object);
            arm(soldier);
            if (object != 640) {
                soldier->attack_target = &truck({soldier->pose.position.x, soldier->pose.position.y + 300 * FOOT, 0})->target;
            }
            update_human_drone(soldier);
            set_group_action(soldier, ACTION_DEFEND);
            figure(soldier).move_on_time = figure(soldier).timer = game_clock + 1000;
            set_game_random_state(draw);
            const int32_t search = soldier->reaction_time;
            update_human_drone(soldier);
            if (object == 640) {
                EXPECT_EQ(soldier->reaction_time, search) << "no search";
                EXPECT_EQ(figure(soldier).body_state, BODY_STAND);
                EXPECT_EQ(get_game_random_state(), draw) << "nothing drawn";
            } else {
                const bool stand = draw % 2 == 0;
                EXPECT_EQ(soldier->reaction_time, game_clock + 40);
                EXPECT_EQ(figure(soldier).body_state, stand ? BODY_RAISE : BODY_KNEEL);
                EXPECT_EQ(figure(soldier).animation,
                          choose_human_animation(soldier, stand ? HumanMove::RAISE_WEAPON : HumanMove::KNEEL_DOWN));
            }
            destroy_all_tasks();
        }
    }
}

TEST_F(SoldierBrain, ASoldierOutOfRoundsStopsSearchingForGood) {
    Drone* soldier = make(917);
    Drone* target = truck({soldier->pose.position.x, soldier->pose.position.y + 300 * FOOT, 0});
    arm(soldier, AK47, 1);
    soldier->attack_target = &target->target;
    EXPECT_EQ(can_human_fire(soldier), 1);
    use_weapon_round(soldier);  // the last shot, as firing spends it
    rearm_weapon_selection(soldier);
    EXPECT_EQ(can_human_fire(soldier), 0);
    EXPECT_FALSE(figure(soldier).flags & HUMAN_ARMED);
    soldier->weapon_slots[0].rounds = 5;  // rounds found later change nothing
    for (int i = 0; i < 3; ++i, game_clock += 100) {
        const int32_t search = soldier->reaction_time;
        search_human_target(soldier);
        EXPECT_EQ(soldier->reaction_time, search);
    }
}

TEST_F(SoldierBrain, FogSilencesAGuidanceTypeThreeWeaponOnly) {
    const int infrared = infrared_weapon();
    ASSERT_NE(infrared, 0);
    Drone* soldier = make(917);
    Drone* target = truck({soldier->pose.position.x, soldier->pose.position.y + 300 * FOOT, 0});
    soldier->attack_target = &target->target;
    for (int weather = 0; weather < 4; ++weather) {
        view_settings.weather = weather;
        arm(soldier, infrared);
        EXPECT_EQ(can_human_fire(soldier), weather < 2 ? 1 : 0) << weather;
        arm(soldier, AK47);
        EXPECT_EQ(can_human_fire(soldier), 1) << weather;
    }
}

// A burst lasts the burst length scaled by skill; after its last shot comes the burst's pause;
// both are scaled by the skill's rate.
TEST_F(SoldierBrain, ShotIntervalsPauseAfterEachBurstBySkill) {
    const WeaponInfo& ak = weapon_info[AK47];
    ASSERT_TRUE(ak.weapon_flags & WEAPON_FLAG_BURST);
    const struct {
        int forces;
        int32_t burst;     // shots
        int32_t interval;  // ticks within a burst
        int32_t pause;
    } skills[] = {
        {7, ak.burst_length, ak.fire_interval, ak.burst_pause},  // 100 %, 100 %
        {-2, ak.burst_length * 55 / 100, ak.fire_interval * 118 / 100, ak.burst_pause * 118 / 100},
    };
    for (const auto& s : skills) {
        forces_type = s.forces;
        for (int32_t shot = 1; shot <= 3 * s.burst; ++shot)
            EXPECT_EQ(human_shot_interval(AK47, shot), shot % s.burst ? s.interval : s.pause) << s.forces << " " << shot;
    }
    forces_type = 7;
    EXPECT_EQ(human_shot_interval(45, 7), weapon_info[45].fire_interval) << "a burst of at least one shot";
}

TEST_F(SoldierBrain, AShotShowsTheHeldItemUntilTheNextBrainStep) {
    Drone* soldier = make(916);
    Drone* target = truck({soldier->pose.position.x, soldier->pose.position.y + 300 * FOOT, 0});
    arm(soldier);
    soldier->attack_target = &target->target;
    HumanFigure& f = figure(soldier);
    ASSERT_NE(f.detached_item, nullptr);
    ASSERT_EQ(fire_human_weapon(soldier), 1);
    EXPECT_EQ(f.item_holder->sub_instances[0], f.detached_item);
    EXPECT_EQ((f.flags & HUMAN_ITEM_MASK) >> HUMAN_ITEM_SHIFT, 2u);
    EXPECT_EQ(fire_human_weapon(soldier), 0) << "not before the next shot time";
    update_human_drone(soldier);
    EXPECT_EQ(f.item_holder->sub_instances[0], nullptr);
}

TEST_F(SoldierBrain, ATargetOutOfReachIsDropped) {
    Drone* soldier = make(917);
    arm(soldier);
    const int32_t longest = weapon_info[AK47].max_range, shortest = weapon_info[AK47].min_range;
    for (auto [distance, kept] : {std::pair{longest, true}, {longest + 1, false}, {shortest, true}, {shortest - 1, false}}) {
        Drone* target = truck({soldier->pose.position.x + distance, soldier->pose.position.y, 0});
        soldier->attack_target = &target->target;
        keep_target_in_range(soldier, shortest, longest);
        EXPECT_EQ(soldier->attack_target != nullptr, kept) << distance;
    }
}

// Engaging spreads the group 50 ft past the waypoint at four times its formation's spacing.
TEST_F(SoldierBrain, EngagingSendsEachSoldierToItsSpreadOutPlace) {
    const int32_t wx = 1 << 24, wy = (1 << 24) + 800 * FOOT;
    Drone* leader = make(916, SOLDIER_SQUAD, {{WAYPOINT_HUMAN_TURN, wx, wy}});
    leader->current_waypoint = leader->first_waypoint;
    set_group_action(leader, ACTION_ENGAGE);
    for (Drone* d : group_of(leader)) {
        const HumanFigure& f = figure(d);
        // The offset turned toward the waypoint keeps its length, and lies beyond the waypoint.
        const double dx = d == leader ? 0 : 4 * formation_table[SOLDIER_SQUAD].rows[figure_slot(&f)].x;
        const double dy = 0x3200;
        EXPECT_NEAR(std::hypot(f.goal.x - wx, f.goal.y - wy), std::hypot(dx, dy), 3);
        EXPECT_GT(f.goal.y, wy + 0x3000);
        const Vector3& p = d->pose.position;
        EXPECT_GT(std::hypot(f.goal.x - p.x, f.goal.y - p.y), std::hypot(wx - p.x, wy - p.y) + 0x3000);
        EXPECT_EQ(f.arrival_action, ARRIVE_IN_POSITION);
        EXPECT_EQ(f.desired_speed, 0x1440);
        EXPECT_FALSE(f.flags & HUMAN_IN_POSITION);
    }
}

// The door a soldier leaves by is on the right for even slots and on the left for odd ones.
TEST_F(SoldierBrain, OddAndEvenSlotsGetOutOnOppositeSides) {
    const Vector3 at = {1 << 24, 1 << 24, 0};
    Drone* leader = make(916, SOLDIER_SQUAD, {{WAYPOINT_DEPLOY, at.x, at.y}, {WAYPOINT_HUMAN_TURN, at.x, at.y + 800 * FOOT}}, at);
    Drone* helicopter = truck({at.x, at.y, 0});
    build_rotation_matrix(0x40000000, 0, 0, helicopter->pose.matrix);  // facing east: its right is south
    helicopter->heading = 0x40000000;
    unload_human_group(leader);
    for (Drone* d : group_of(leader)) board_transport(d, helicopter);
    EXPECT_EQ(figure(leader).action_state, ACTION_GET_OUT);
    run(leader, [&] {
        for (Drone* d : group_of(leader))
            if (figure(d).action_state == ACTION_GET_OUT) return false;
        return true;
    });
    for (Drone* d : group_of(leader)) {
        const uint32_t slot = figure_slot(&figure(d));
        SCOPED_TRACE(slot);
        EXPECT_FALSE(d->mission_flags & DRONE_FLAG_HIDDEN_PASSENGER);
        EXPECT_EQ(figure(d).arrival_action, ARRIVE_CLEAR_OF_TRANSPORT);
        const int32_t south = at.y - d->pose.position.y;
        if (slot % 2) {
            EXPECT_LT(south, 0) << "odd slots leave by the left, north";
        } else {
            EXPECT_GT(south, 0) << "even slots leave by the right, south";
        }
    }
}

TEST_F(SoldierBrain, ASignallingSoldierWavesNowAndThen) {
    Drone* soldier = make(917);
    update_human_drone(soldier);
    set_group_action(soldier, ACTION_SIGNAL);
    figure(soldier).timer = game_clock;
    update_human_drone(soldier);
    EXPECT_EQ(figure(soldier).body_state, BODY_GESTURE);
    EXPECT_EQ(figure(soldier).animation, choose_human_animation(soldier, HumanMove::WAVE));
    EXPECT_EQ(figure(soldier).timer, game_clock + wave_delay(0));
}

TEST_F(SoldierBrain, UncodedActionStatesAreFatal) {
    const struct {
        int32_t action;
        const char* message;
    } cases[] = {{ACTION_REGROUP, "ACTION_REGROUP - uncoded action state"},
                 {ACTION_NO_MORE, "ACTION_NO_MORE - uncoded action state"},
                 {11, "Unknown action state"}};
    for (const auto& c : cases) {
        Drone* soldier = make(917);
        update_human_drone(soldier);
        figure(soldier).action_state = c.action;
        EXPECT_FATAL(update_human_drone(soldier), c.message);
    }
}

TEST_F(SoldierBrain, AFallenSoldierStaysDeadWhateverTheGroupIsTold) {
    Drone* leader = make(916, SOLDIER_SQUAD);
    Drone* member = leader->first_member;
    kill_human_figure(member);
    set_group_action(leader, ACTION_ADVANCE);
    EXPECT_EQ(figure(member).action_state, ACTION_DEAD);
    EXPECT_EQ(figure(leader).action_state, ACTION_ADVANCE);
}

}  // namespace
}  // namespace vyr
