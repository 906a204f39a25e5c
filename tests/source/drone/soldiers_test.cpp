#include "source/drone/soldiers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "library/3dvisual/instance.h"
#include "library/maths/trig.h"
#include "source/drone/drone.h"
#include "source/drone/drone_update.h"
#include "source/drone/formations.h"
#include "source/drone/soldier_body.h"
#include "source/drone/soldier_moves.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "tests/source/drone/mission_world.h"

namespace vyr {
namespace {

constexpr uint32_t EAST = 0x40000000;

class Soldiers : public MissionWorld {
protected:
    void SetUp() override {
        MissionWorld::SetUp();
        if (IsSkipped()) return;
        load_human_movements();
        game_clock = 1000;
        reset_human_death_counter();
    }
    void TearDown() override {
        game_clock = 0;
        frame_seconds = 0;
        MissionWorld::TearDown();
    }

    // A leader of object `object` in a task of its own, with formation `formation`, at
    // (100,000, 100,000) heading east, on a route of two waypoints.
    Drone* make(int32_t object, int formation = 0) {
        Task* task = create_task();
        Drone* drone = create_drone(task);
        set_drone_type(drone, object);
        if (formation) set_drone_formation(drone, formation);
        for (int32_t x : {100000, 200000}) set_waypoint_position(append_waypoint(drone), x, 100000, 0);
        drone->pose.position = {100000, 100000, 0};
        drone->heading = EAST;
        int row = formation ? formation_table[formation].count - 1 : 0;
        for (Drone* m = drone->first_member; m; m = m->next, --row)
            if (m->class_record) set_figure_formation_row(m->class_record, row, 0);
        return drone;
    }

    static std::vector<Drone*> group_of(Drone* leader) {
        std::vector<Drone*> group;
        for (Drone* d = leader; d; d = next_group_member(d)) group.push_back(d);
        return group;
    }
};

HumanFigure& figure(Drone* drone) { return *drone->class_record; }

bool inactive(const Drone* drone) { return drone->object.flags & INSTANCE_INACTIVE; }

struct MadeFigure {
    int32_t object;
    int32_t animation;
    bool armed;
    int32_t held;      // the item in the hand (joint 11), 0 none
    int32_t detached;  // the item taken off it, 0 none
};

const MadeFigure MADE_FIGURES[] = {
    {640, 0, false, 0, 0},    {916, 0, true, 707, 979}, {987, 0, true, 929, 979},
    {917, 11, true, 869, 0},  {918, 11, true, 787, 0},  {989, 11, true, 971, 0},
    {988, 17, true, 974, 0},
};

TEST_F(Soldiers, AGeneratedSoldierHasItsFourChainsOfJointsAndItsItem) {
    for (const MadeFigure& made : MADE_FIGURES) {
        SCOPED_TRACE(made.object);
        Drone* drone = make(made.object);
        HumanFigure& f = figure(drone);
        ObjectInstance* root = &drone->object;
        auto matrix = [](ObjectInstance* i) { return &i->offset->matrix; };
        ObjectInstance* chains[4] = {root->sub_instances[0], root->sub_instances[1], root->sub_instances[2],
                                     root->sub_instances[3]};
        EXPECT_EQ(f.joints[0], matrix(chains[3]));
        EXPECT_EQ(f.joints[1], matrix(chains[3]->sub_instances[0]));
        EXPECT_EQ(f.joints[2], matrix(chains[1]));
        EXPECT_EQ(f.joints[4], matrix(chains[1]->sub_instances[0]->sub_instances[0]));
        EXPECT_EQ(f.joints[5], matrix(chains[2]));
        EXPECT_EQ(f.joints[6], matrix(chains[2]->sub_instances[0]));
        EXPECT_EQ(f.joints[7], matrix(chains[0]));
        EXPECT_EQ(f.joints[9], matrix(chains[0]->sub_instances[0]->sub_instances[0]));
        for (int j = 0; j < 10; ++j)
            for (int k = 0; k < j; ++k) EXPECT_NE(f.joints[j], f.joints[k]) << j << " " << k;
        EXPECT_EQ(f.item_holder ? f.item_holder->object_type : 0, made.held);
        EXPECT_EQ(f.joints[10] != nullptr, made.held != 0);
        EXPECT_EQ(f.detached_item ? f.detached_item->object_type : 0, made.detached);
        if (made.detached) {
            EXPECT_EQ(f.item_holder->sub_instances[0], nullptr) << "the item is off the hand";
        }
        EXPECT_EQ((f.flags & HUMAN_ARMED) != 0, made.armed);
        EXPECT_EQ(f.animation, made.animation);
        EXPECT_EQ(f.leader, drone);
        EXPECT_EQ(f.flags & (HUMAN_GROUP_LEADER | HUMAN_POSE_CHANGED), HUMAN_GROUP_LEADER | HUMAN_POSE_CHANGED);
        EXPECT_EQ(f.timer, game_clock);
        EXPECT_EQ(f.move_on_time, game_clock);
    }
    Drone* gun = make(852);
    HumanFigure& g = figure(gun);
    EXPECT_TRUE(g.flags & HUMAN_ARMED);
    EXPECT_EQ(g.item_holder, gun->object.sub_instances[0]);
    EXPECT_EQ(g.gun_part_matrix, &gun->object.sub_instances[0]->offset->matrix);
    ASSERT_NE(g.detached_item, nullptr);
    EXPECT_EQ(g.detached_item->object_type, 1035);
    EXPECT_EQ(g.item_holder->sub_instances[1]->object_type, 981) << "the shield stays on";
}

TEST_F(Soldiers, AShownItemGoesAwayOverTwoStepsAndIsFreedWithTheSoldier) {
    Drone* drone = make(916);
    HumanFigure& f = figure(drone);
    f.item_holder->sub_instances[0] = f.detached_item;
    f.flags |= 2u << HUMAN_ITEM_SHIFT;
    put_item_away(&f);
    EXPECT_EQ(f.flags & HUMAN_ITEM_MASK, 1u << HUMAN_ITEM_SHIFT);
    EXPECT_EQ(f.item_holder->sub_instances[0], nullptr);
    put_item_away(&f);
    EXPECT_EQ(f.flags & HUMAN_ITEM_MASK, 0u);
    set_drone_type(drone, 917);  // the old tree and the item off it both go (the sanitizer counts)
    EXPECT_EQ(figure(drone).detached_item, nullptr);
}

TEST_F(Soldiers, EightDeathsPlayTheEightFallsInOrderAndTheNinthStartsAgain) {
    std::vector<Drone*> fallen;
    for (int i = 0; i < 9; ++i) fallen.push_back(make(918));
    for (int i = 0; i < 9; ++i) {
        kill_human_figure(fallen[size_t(i)]);
        const HumanFigure& f = figure(fallen[size_t(i)]);
        EXPECT_EQ(f.animation, 23 + i % 8) << i;
        EXPECT_STREQ(human_movement_names[f.animation], i == 8 ? "die_n" : human_movement_names[23 + i]);
        EXPECT_EQ(f.action_state, ACTION_DEAD);
        EXPECT_EQ(f.body_state, BODY_DYING);
        EXPECT_TRUE(inactive(fallen[size_t(i)]));
        EXPECT_EQ(fallen[size_t(i)]->destroyed, 1);
    }
    kill_human_figure(fallen[0]);
    EXPECT_EQ(figure(fallen[0]).animation, 23) << "a fallen soldier does not fall again";
    EXPECT_EQ(human_death_counter, 1);
}

TEST_F(Soldiers, AFallenLeaderHandsTheGroupToTheNextLivingSoldierUntilNoneIsLeft) {
    Drone* leader = make(916, 90);
    const std::vector<Drone*> group = group_of(leader);
    ASSERT_EQ(group.size(), 4u);
    auto leaders = [&] {
        std::vector<Drone*> found;
        for (Drone* d : group)
            if (figure(d).flags & HUMAN_GROUP_LEADER) found.push_back(d);
        return found;
    };
    EXPECT_EQ(leaders(), std::vector<Drone*>{leader});
    damage_human_drone(group[2], 0);  // a member falls first: nothing is handed on
    EXPECT_EQ(leaders(), std::vector<Drone*>{leader});
    damage_human_drone(leader, 0);
    EXPECT_EQ(leaders(), std::vector<Drone*>{group[1]});
    damage_human_drone(group[1], 0);  // the next living one is the fourth
    EXPECT_EQ(leaders(), std::vector<Drone*>{group[3]});
    damage_human_drone(group[3], 0);
    EXPECT_EQ(leaders(), std::vector<Drone*>{group[3]}) << "nobody is left to lead";
    for (Drone* d : group) EXPECT_TRUE(inactive(d));
}

class StretcherHit : public Soldiers, public testing::WithParamInterface<int> {};

TEST_P(StretcherHit, EitherBearerHitKillsTheWholeParty) {
    Drone* front = make(916, 141);
    update_human_drone(front);
    Drone* rear = front->first_member;
    Drone* casualty = rear->next;
    ASSERT_EQ(casualty->object.object_type, 1013);
    EXPECT_TRUE(figure(front).flags & HUMAN_CARRIER);
    EXPECT_TRUE(figure(rear).flags & HUMAN_CARRIED);
    // Heading east, behind is west.
    EXPECT_NEAR(rear->pose.position.x, 100000 - 0x800, 1);
    EXPECT_NEAR(rear->pose.position.y, 100000, 1);
    EXPECT_EQ(rear->heading, EAST);
    EXPECT_NEAR(casualty->pose.position.x, 100000 - 0x400, 1);
    EXPECT_EQ(casualty->pose.position.z, front->pose.position.z + 588);
    EXPECT_EQ(figure(rear).animation, figure(front).animation);
    EXPECT_EQ(figure(casualty).flags & HUMAN_INITIALISED, 0u) << "the casualty's brain never runs";

    damage_human_drone(GetParam() == 0 ? front : rear, 2);
    for (Drone* d : {front, rear, casualty}) {
        EXPECT_TRUE(inactive(d)) << d->object.object_type;
        EXPECT_EQ(d->destroyed, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(FrontAndRear, StretcherHit, testing::Values(0, 1));

TEST_F(Soldiers, OnlyTheStretcherPartyLeadsThreeSoldierEntries) {
    for (int type = 1; type < FORMATION_TYPES; ++type) {
        const FormationTemplate& t = formation_table[type];
        if (get_soldier_set(t.rows[0].object_number) == SoldierSet::NONE) continue;
        EXPECT_EQ(t.count == 3, type == 141) << type;
    }
    const FormationTemplate& party = formation_table[141];
    EXPECT_EQ(party.rows[1].object_number, 1013) << "the casualty is the second member";
    EXPECT_NE(get_soldier_set(party.rows[2].object_number), SoldierSet::NONE);
}

struct MannedGun {
    int32_t gun, formation, gunner_animation;
};

class GunFirstStep : public Soldiers, public testing::WithParamInterface<MannedGun> {};

TEST_P(GunFirstStep, TheGunnerTakesItsPlaceBehindTheGunAndTheGunFacesItsHeading) {
    Drone* gun = make(GetParam().gun, GetParam().formation);
    gun->first_waypoint->wait = 300;
    Drone* gunner = gun->first_member;
    update_human_drone(gun);
    const HumanFigure& g = figure(gun);
    const HumanFigure& crew = figure(gunner);
    EXPECT_TRUE(g.flags & HUMAN_INITIALISED);
    EXPECT_EQ(g.search_time, game_clock + 300);
    EXPECT_TRUE(crew.flags & HUMAN_MANNING);
    EXPECT_EQ(crew.transport, gun);
    EXPECT_EQ(crew.animation, GetParam().gunner_animation);
    EXPECT_NEAR(gunner->pose.position.x, 100000 - 0x400, 1);
    EXPECT_EQ(gunner->heading, EAST);
    Matrix3 level, aimed;
    build_z_rotation(0, level);
    build_xz_rotation(EAST, 0, aimed);
    EXPECT_EQ(std::memcmp(&gun->pose.matrix, &level, sizeof level), 0);
    EXPECT_EQ(std::memcmp(g.gun_part_matrix, &aimed, sizeof aimed), 0);

    // The gunner falls: the gun plays its animation out, then is done.
    damage_human_drone(gunner, 0);
    EXPECT_TRUE(g.flags & HUMAN_GUNNER_DOWN);
    frame_seconds = 1;
    int steps = 0;
    while (!(g.flags & HUMAN_GUN_DONE) && steps < 100) update_human_drone(gun), ++steps;
    EXPECT_TRUE(g.flags & HUMAN_GUN_DONE);
    EXPECT_EQ(steps, human_movements[g.animation].duration / 1000);
}

INSTANTIATE_TEST_SUITE_P(DshkAndM2, GunFirstStep,
                         testing::Values(MannedGun{852, 133, 50}, MannedGun{966, 135, 51}));

// Its brain would find no animation for it: a casualty is carried or lies still, never run.
TEST_F(Soldiers, ACasualtyLeadingNoStretcherPartyLiesStill) {
    Drone* casualty = make(1013);
    update_human_drone(casualty);
    EXPECT_EQ(figure(casualty).flags & HUMAN_INITIALISED, 0u);
}

TEST_F(Soldiers, AGunWithoutAFormationMemberStaysUnmanned) {
    Drone* gun = make(852);
    for (int i = 0; i < 3; ++i) update_human_drone(gun);
    EXPECT_TRUE(figure(gun).flags & HUMAN_INITIALISED);
    EXPECT_FALSE(figure(gun).flags & (HUMAN_GUNNER_DOWN | HUMAN_GUN_DONE));
}

struct Arrival {
    int type;
    int32_t action;
    bool boarding;
};

const Arrival ARRIVALS[] = {
    {WAYPOINT_DEPARTURE, ACTION_WAIT, false},     {WAYPOINT_TURNING, ACTION_WAIT, false},
    {WAYPOINT_LANDING, ACTION_WAIT, false},       {WAYPOINT_HUMAN_TURN, ACTION_WAIT, false},
    {WAYPOINT_DEPLOY, ACTION_WAIT, false},        {WAYPOINT_HUMAN_DEFEND, ACTION_DEFEND, false},
    {WAYPOINT_HUMAN_ATTACK, ACTION_DEFEND, false}, {WAYPOINT_HUMAN_AMBUSH, ACTION_DEFEND, false},
    {WAYPOINT_HUMAN_BOARDING, ACTION_WAIT, true},
    // Types soldiers do not use, which the map's type button can give them: the group waits.
    {WAYPOINT_TARGET, ACTION_WAIT, false},         {WAYPOINT_CAP_END, ACTION_WAIT, false},
};

class WaypointArrival : public Soldiers, public testing::WithParamInterface<Arrival> {};

TEST_P(WaypointArrival, SetsTheWholeGroupsActionAndTheMoveOnTime) {
    Drone* leader = make(917, 90);
    for (Drone* d : group_of(leader)) figure(d).action_state = ACTION_ENGAGE;
    leader->current_waypoint = leader->first_waypoint->next;
    set_waypoint_type(leader->current_waypoint, GetParam().type);
    leader->current_waypoint->wait = 500;
    human_waypoint_reached(leader);
    EXPECT_EQ(figure(leader).move_on_time, game_clock + 500);
    for (Drone* d : group_of(leader)) {
        EXPECT_EQ(figure(d).action_state, GetParam().action);
        EXPECT_EQ((figure(d).flags & HUMAN_BOARDING) != 0, GetParam().boarding);
    }
}

INSTANTIATE_TEST_SUITE_P(Types, WaypointArrival, testing::ValuesIn(ARRIVALS));

TEST_F(Soldiers, AGroupWhoseRouteEndsLoopsBackToItsFirstWaypoint) {
    Drone* leader = make(917, 90);
    leader->current_waypoint = leader->first_waypoint;
    advance_group_waypoint(leader);
    EXPECT_EQ(leader->current_waypoint, leader->first_waypoint->next);
    advance_group_waypoint(leader);
    EXPECT_EQ(leader->current_waypoint, leader->first_waypoint);
    for (Drone* d : group_of(leader)) EXPECT_EQ(figure(d).action_state, ACTION_ADVANCE);
}

TEST_F(Soldiers, AnUnloadedGroupRidesHiddenAndAboardCountsCarryAPassengersWeight) {
    Drone* leader = make(916, 91);
    unload_human_group(leader);
    const std::vector<Drone*> group = group_of(leader);
    EXPECT_EQ(group.size(), 8u);
    for (Drone* d : group) {
        EXPECT_TRUE(figure(d).flags & HUMAN_UNLOAD);
        EXPECT_TRUE(d->mission_flags & DRONE_FLAG_HIDDEN_PASSENGER);
    }

    const int32_t mass = mass_counter;
    set_aboard_count(0);
    add_soldier_aboard();
    add_soldier_aboard();
    EXPECT_EQ(get_aboard_count(), 2);
    EXPECT_EQ(mass_counter, mass + 240);
    remove_soldier_aboard();
    EXPECT_EQ(get_aboard_count(), 1);
    EXPECT_EQ(mass_counter, mass + 120);
    mass_counter = mass;
    set_aboard_count(0);
}

struct Chosen {
    int32_t object;
    HumanMove move;
    int32_t animation;
};

const Chosen CHOSEN[] = {
    {640, HumanMove::STANDING, 0},      {916, HumanMove::STANDING, 0},     {917, HumanMove::STANDING, 11},
    {988, HumanMove::STANDING, 17},     {743, HumanMove::WALK, 1},         {919, HumanMove::WALK, 6},
    {921, HumanMove::WALK, 12},         {988, HumanMove::WALK, 18},        {984, HumanMove::RUN, 5},
    {987, HumanMove::JOG_RUN, 9},       {989, HumanMove::JOG, 14},         {988, HumanMove::WALK_JOG, 19},
    {640, HumanMove::RAISE_WEAPON, 37}, {920, HumanMove::AIM_STANDING, 41}, {988, HumanMove::LOWER_WEAPON, 45},
    {916, HumanMove::KNEEL_DOWN, 31},   {918, HumanMove::AIM_KNEELING, 35}, {988, HumanMove::KNEEL_DOWN, 43},
    {988, HumanMove::AIM_KNEELING, 44}, {988, HumanMove::STAND_UP, 45},    {917, HumanMove::STAND_UP, 36},
    {988, HumanMove::DIVE, 46},         {640, HumanMove::GET_UP, 47},      {917, HumanMove::GET_OUT, 49},
    {919, HumanMove::GET_IN, 48},       {984, HumanMove::WAVE, 53},        {918, HumanMove::WAVE, 54},
    {988, HumanMove::WAVE, 55},
};

TEST_F(Soldiers, EachMoveIsPlayedByTheAnimationOfTheSoldiersWeaponSet) {
    for (const Chosen& c : CHOSEN) {
        Drone* drone = make(c.object);
        EXPECT_EQ(choose_human_animation(drone, c.move), c.animation) << c.object << " move " << int(c.move);
    }
    Drone* bearer = make(916);
    figure(bearer).flags |= HUMAN_CARRIER;
    EXPECT_EQ(choose_human_animation(bearer, HumanMove::WALK), 52);
    EXPECT_EQ(choose_human_animation(bearer, HumanMove::RUN), 10);
}

TEST_F(Soldiers, GesturesTakeTheSixVariantsInTurn) {
    const struct { int32_t object, first; } sets[] = {{640, 56}, {919, 56}, {920, 57}, {988, 58}};
    for (const auto& set : sets) {
        Drone* drone = make(set.object);
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(choose_human_animation(drone, HumanMove::GESTURE), set.first + 3 * (i % 6)) << set.object << " " << i;
    }
}

TEST_F(Soldiers, AnAnimationForADroneThatIsNoSoldierIsFatal) {
    Drone* casualty = make(1013);
    EXPECT_DEATH(choose_human_animation(casualty, HumanMove::WALK), "Unknown");
}

}  // namespace
}  // namespace vyr
