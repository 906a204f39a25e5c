#include "source/drone/drone.h"

#include <gtest/gtest.h>

#include <vector>

#include "library/maths/random.h"
#include "source/drone/formations.h"
#include "source/mission/selection.h"
#include "source/models/flight_model.h"
#include "tests/source/drone/mission_fixture.h"

namespace vyr {
namespace {

using Drones = MissionTest;

std::vector<Drone*> members(const Drone* leader) {
    std::vector<Drone*> list;
    for (Drone* m = leader->first_member; m; m = m->next) list.push_back(m);
    return list;
}

TEST_F(Drones, FormationsMakeTheirMembersNewestFirstAndAChangeFreesTheOldOnes) {
    Task* t = task(SIDE_ENEMY, TASK_TANK_FORMATION);
    drone(t, 219);
    Drone* leader = drone(t, 219);
    ASSERT_EQ(leader->index, 1);

    set_drone_formation(leader, 1);
    EXPECT_EQ(get_drone_object_number(leader), 93);
    std::vector<int> indices;
    for (Drone* m : members(leader)) {
        indices.push_back(m->index);
        EXPECT_EQ(get_drone_object_number(m), 93);
        EXPECT_EQ(m->task, t);
        EXPECT_EQ((m->object.flags >> INSTANCE_SIDE_SHIFT) & 3, SIDE_ENEMY);
        EXPECT_EQ(m->drone_class, DRONE_CLASS_TANK);
        EXPECT_TRUE(m->object.flags & INSTANCE_SIDE_VARIANT);  // an enemy's faces
    }
    EXPECT_FALSE(drone(task(SIDE_ALLIED), 93)->object.flags & INSTANCE_SIDE_VARIANT);
    EXPECT_EQ(indices, (std::vector<int>{202, 201, 200}));
    EXPECT_EQ(used_drones(), 6);
    EXPECT_EQ(t->live_count, 5);

    set_drone_formation(leader, 6);
    EXPECT_EQ(get_drone_object_number(leader), 219);
    ASSERT_EQ(members(leader).size(), 2u);
    EXPECT_EQ(members(leader)[0]->index, 201);
    EXPECT_EQ(used_drones(), 5);

    set_drone_formation(leader, 0);
    EXPECT_EQ(leader->first_member, nullptr);
    EXPECT_EQ(used_drones(), 3);
}

TEST_F(Drones, TheTelltaleTemplatesStandWhereTheMissionsExpectThem) {
    const FormationTemplate& diamond = formation_table[1];
    ASSERT_EQ(diamond.count, 4);
    EXPECT_EQ(diamond.rows[0].y, 25600);
    EXPECT_EQ(diamond.rows[1].x, 25600);
    EXPECT_EQ(diamond.rows[2].x, -25600);
    EXPECT_EQ(diamond.rows[3].y, -25600);
    EXPECT_EQ(formation_table[6].rows[2].y, -32256);
    EXPECT_EQ(formation_table[27].rows[0].x, -63232);
    EXPECT_EQ(formation_table[27].rows[0].object_number, 204);
    EXPECT_EQ(formation_table[0].count, 0);
    EXPECT_STREQ(formation_names[0], "NULL!!!");
    EXPECT_STREQ(formation_names[6], "Small Military Truck Convoy {Any}[Any]");
    EXPECT_STREQ(formation_names[163], "Small Compact Enemy Tank Formation {Enemy}[Korea|Syria]");
    for (int type = 1; type < FORMATION_TYPES; ++type) {
        const FormationTemplate& f = formation_table[type];
        ASSERT_GE(f.count, 1) << type;
        ASSERT_LE(f.count, FORMATION_ROWS) << type;
        for (int i = 0; i < f.count; ++i)
            EXPECT_EQ(get_drone_type_defined(f.rows[i].object_number), DRONE_TYPE_DEFINED) << type << " row " << i;
    }
}

TEST_F(Drones, ThePoolHolds400AndThe401stIsFatal) {
    Task* t = task(SIDE_ALLIED);
    for (int i = 0; i < MAX_DRONES; ++i) create_drone(t);
    int32_t size = 0;
    EXPECT_EQ(count_drones(&size), MAX_DRONES);
    EXPECT_EQ(size, MAX_DRONES);
    EXPECT_FATAL(create_drone(t), "Allocate Drone - too many drones used \\(MAX 400 \\(262k\\)\\)");
}

TEST_F(Drones, DestroyingTheSelectedDroneSelectsItsNextOrElseItsPrevious) {
    Task* t = task(SIDE_ALLIED);
    Drone* a = drone(t, 225);
    Drone* b = drone(t, 225);
    Drone* c = drone(t, 225);
    select_drone(b);
    destroy_drone(b);
    EXPECT_EQ(get_selected_drone(), c);
    EXPECT_EQ(t->drone_count, 2);
    destroy_drone(c);
    EXPECT_EQ(get_selected_drone(), a);
    EXPECT_EQ(t->first_drone, a);
    EXPECT_EQ(a->next, nullptr);
}

// The watched drone was taken from the task's head before the head moved on, so destroying the
// first drone of the first task left it watching the freed record.
TEST_F(Drones, TheWatchedDroneIsChosenOnceTheDestroyedOneIsOffItsList) {
    Task* t = task(SIDE_ALLIED);
    Drone* a = drone(t, 225);
    Drone* b = drone(t, 225);
    watched_drone = a;
    destroy_drone(a);
    EXPECT_EQ(watched_drone, b);
    destroy_drone(b);
    EXPECT_EQ(watched_drone, nullptr);
}

TEST_F(Drones, TheDroneRandomOnSeedZero) {
    Task* t = task(SIDE_ALLIED);
    Drone* d = create_drone(t);
    d->random_seed = 0;
    EXPECT_EQ(next_drone_random(d), 0);
    EXPECT_EQ(d->random_seed, 0x53dc);
    EXPECT_EQ(uint32_t(random_seed), 0xd3dc167eu);
    EXPECT_EQ(next_drone_random(d), -0x53dc);
}

TEST_F(Drones, AttentionFollowsTheTaskTypeAndTheEnemysSkill) {
    struct Case {
        int type;
        int32_t range;
    };
    const Case cases[] = {{TASK_UNKNOWN, 0},           {TASK_ARTILLERY_RECON, 0},  {TASK_EVACUATION_AIR_DEFENCE, 0},
                          {TASK_COUNTER_AIR, 0x906000}, {TASK_ARTILLERY_AIR_DEFENCE, 0x906000},
                          {TASK_OFFENSIVE_SWEEP, 0xce4000}, {TASK_COMBAT_AIR_PATROL, 0xce4000},
                          {TASK_STRIKE, 0x528000},      {TASK_GROUND_VEHICLE_LOOPING, 0x528000}};
    Task* allied = task(SIDE_ALLIED);
    Drone* d = create_drone(allied);
    for (const Case& c : cases) {
        set_task_type(allied, c.type);
        EXPECT_EQ(d->attention_range, c.range) << c.type;
    }
    forces_type = 0;
    Task* enemy = task(SIDE_ENEMY, TASK_STRIKE);
    Drone* e = create_drone(enemy);
    EXPECT_EQ(e->attention_range, int32_t(int64_t(0x528000) * get_skill_range_percent() / 100));
    EXPECT_FATAL(set_task_type(enemy, TASK_END), "Can't set attention level for unknown task type");
}

TEST_F(Drones, KillAndLaserFlagsReachTheMembersButNotTheLeaderFromAMember) {
    Task* t = task(SIDE_ENEMY);
    Drone* leader = drone(t, 219);
    set_drone_formation(leader, 6);
    set_drone_kill_success(leader, 3);
    set_drone_laser_designated(leader, 1);
    for (Drone* d = leader; d; d = d == leader ? leader->first_member : d->next)
        EXPECT_EQ(d->mission_flags & (DRONE_FLAG_KILL_SUCCESS | DRONE_FLAG_LASER_DESIGNATED),
                  DRONE_FLAG_KILL_SUCCESS | DRONE_FLAG_LASER_DESIGNATED);
    set_drone_kill_failure(leader->first_member, 1);
    EXPECT_FALSE(leader->mission_flags & DRONE_FLAG_KILL_FAILURE);
    set_drone_kill_success(leader, 2);  // bit 0 clear
    EXPECT_FALSE(leader->first_member->mission_flags & DRONE_FLAG_KILL_SUCCESS);
}

TEST_F(Drones, AnAiJetShowsItsGearOnlyLowAndSlow) {
    struct Case {
        int32_t feet, speed;
        bool shown;
    };
    const Case cases[] = {{80, 77760, true}, {80, 77761, false}, {91, 77760, false}, {0, 0, true}};
    Task* t = task(SIDE_ALLIED);
    Drone* d = drone(t, 225);
    for (const Case& c : cases) {
        d->pose.position.z = c.feet * 256;
        d->speed = c.speed;
        update_drone_gear_models(d);
        EXPECT_EQ(bool(d->mission_flags & DRONE_FLAG_GEAR_SHOWN), c.shown) << c.feet << " ft " << c.speed;
    }
}

TEST_F(Drones, ThePlayersSpeedIsTheFlightModelsAirspeed) {
    Task* t = task(SIDE_ALLIED);
    Drone* d = create_drone(t);
    set_drone_speed(d, 5000);
    EXPECT_EQ(get_drone_speed(d), 5000);
    user_drone = d;
    player_flight_data.airspeed = 400;
    EXPECT_EQ(get_drone_speed(d), 172800);
    player_flight_data.airspeed = 0;
}

TEST_F(Drones, TheMissionSettersMarkPassengersAndDisarm) {
    Task* t = task(SIDE_ALLIED);
    Drone* truck = drone(t, 219);
    Drone* soldier = drone(t, 916);
    set_drone_onboard(truck, onboard_group_1);
    set_drone_onboard(soldier, onboard_group_1);
    EXPECT_TRUE(truck->mission_flags & DRONE_FLAG_HIDDEN_PASSENGER);
    EXPECT_FALSE(soldier->mission_flags & DRONE_FLAG_HIDDEN_PASSENGER);
    truck->weapon_id = 62;
    truck->weapon_slot = 2;
    truck->mission_flags |= DRONE_FLAG_ARMED | DRONE_FLAG_SINGLE_WEAPON;
    set_drone_unarmed(truck, 1);
    EXPECT_EQ(truck->weapon_id, 0);
    EXPECT_EQ(truck->weapon_slot, 255);
    EXPECT_EQ(truck->mission_flags & (DRONE_FLAG_ARMED | DRONE_FLAG_SINGLE_WEAPON | DRONE_FLAG_UNARMED),
              DRONE_FLAG_UNARMED);
}

TEST_F(Drones, TheDroneViewSkipsVehiclesStructuresTrainsAndDronesNotDue) {
    EXPECT_EQ(view_next_drone(), 0);  // no user drone
    Task* own = task(SIDE_ALLIED, TASK_STRIKE);
    user_drone = drone(own, 606);
    Task* ground = task(SIDE_ENEMY);
    drone(ground, 219);      // vehicle
    drone(ground, 214);      // structure
    drone(ground, 523);      // train
    Drone* dead = drone(ground, 93);
    dead->object.flags |= INSTANCE_INACTIVE;
    Drone* later = drone(ground, 93);
    later->activation_time = 100;
    Drone* tank = drone(ground, 93);
    EXPECT_EQ(view_next_drone(), 1);
    EXPECT_EQ(view_cycle_drone, tank);
    EXPECT_EQ(view_next_drone(), 1);
    EXPECT_EQ(view_cycle_drone, user_drone);  // wrapped round
    EXPECT_EQ(view_previous_drone(), 1);
    EXPECT_EQ(view_cycle_drone, tank);
    game_clock = 100;
    EXPECT_EQ(view_previous_drone(), 1);
    EXPECT_EQ(view_cycle_drone, later);
}

TEST_F(Drones, ADumpOfADroneOfNoSideIsFatal) {
    Drone* d = drone(task(SIDE_ENEMY), 93, {WAYPOINT_DEPARTURE});
    dump_drone(d);
    d->object.flags |= 3 << INSTANCE_SIDE_SHIFT;
    EXPECT_FATAL(dump_drone(d), "      Side Invalid");
}

TEST_F(Drones, TheDroneViewForgetsADestroyedDrone) {
    Task* own = task(SIDE_ALLIED, TASK_STRIKE);
    user_drone = drone(own, 606);
    Task* other = task(SIDE_ENEMY, TASK_STRIKE);
    Drone* jet = drone(other, 225);
    view_next_drone();
    ASSERT_EQ(view_cycle_drone, jet);
    destroy_task(other);
    EXPECT_EQ(view_next_drone(), 1);
    EXPECT_EQ(view_cycle_drone, user_drone);
}

}  // namespace
}  // namespace vyr
