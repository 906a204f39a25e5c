#include "source/drone/ground_movers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "library/3dvisual/features.h"
#include "source/drone/drone.h"
#include "source/drone/drone_movers.h"
#include "source/drone/drone_update.h"
#include "source/drone/formations.h"
#include "source/frame_loop.h"
#include "tests/source/drone/vehicle_world.h"

namespace vyr {
namespace {

constexpr int TANK = 93;
constexpr int DIAMOND = 1;  // ahead, right, left and behind the leader, 25,600 units out
constexpr int TRAIN = 58;   // a locomotive and three wagons in a line

struct Point {
    int32_t x, y;
    int32_t speed = 1000;
    int32_t wait = 0;
    int type = WAYPOINT_TURNING;
};

class GroundMovers : public VehicleWorld {
protected:
    static Drone* make(int task_type, int object_number, std::initializer_list<Point> route, int formation = 0) {
        Drone* drone = make_leader(task_type, object_number);
        if (formation) set_drone_formation(drone, formation);
        for (const Point& p : route) {
            Waypoint* w = append_waypoint(drone);
            set_waypoint_position(w, p.x, p.y, 0);
            w->speed = p.speed;
            w->wait = p.wait;
            w->type = p.type;
        }
        return drone;
    }

    static void run(int steps) {
        for (int i = 0; i < steps; ++i) update_drones();
    }

    static std::vector<Drone*> members(Drone* leader) {
        std::vector<Drone*> out;
        for (Drone* m = leader->first_member; m; m = m->next) out.push_back(m);
        return out;
    }

    static Waypoint* waypoint(Drone* drone, int n) {
        Waypoint* w = drone->first_waypoint;
        while (n-- > 0) w = w->next;
        return w;
    }
};

TEST_F(GroundMovers, ALegIsFollowedFiftyUnitsAStepAndTheOvershootCarriesOn) {
    struct Case {
        int32_t leg;
        int steps;
        int32_t x, y;
        int32_t remaining;
    };
    const Case cases[] = {
        {10000, 1, 100050, 100000, 9950},
        {10000, 199, 109950, 100000, 50},
        {10000, 200, 110000, 100000, 20000},  // exactly on the waypoint, now heading north
        {10020, 201, 110020, 100030, 19970},  // 30 units beyond it on the next leg
    };
    for (const Case& c : cases) {
        Drone* tank = make(TASK_GROUND_VEHICLE, TANK,
                           {{100000, 100000}, {100000 + c.leg, 100000}, {100000 + c.leg, 120000, 2000}});
        place_drones_at_start();
        run(c.steps);
        EXPECT_EQ(tank->pose.position.x, c.x) << c.leg << " " << c.steps;
        EXPECT_EQ(tank->pose.position.y, c.y) << c.leg << " " << c.steps;
        EXPECT_EQ(tank->remaining_distance, c.remaining) << c.leg << " " << c.steps;
        destroy_all_tasks();
    }
}

TEST_F(GroundMovers, AWaitOf400TicksHoldsTheVehicleTwoSeconds) {
    Drone* tank = make(TASK_GROUND_VEHICLE, TANK, {{100000, 100000}, {101000, 100000, 1000, 400}, {101000, 110000}});
    place_drones_at_start();
    run(20);  // arrives on the twentieth step
    ASSERT_EQ(tank->current_waypoint, waypoint(tank, 2));
    EXPECT_EQ(tank->activation_time, 400);
    const Vector3 held = tank->pose.position;
    game_clock = 399;
    run(1);
    EXPECT_EQ(tank->pose.position.y, held.y);
    game_clock = 400;
    run(1);
    EXPECT_EQ(tank->pose.position.y, held.y + 50);
}

TEST_F(GroundMovers, ALoopingTaskStartsItsRouteAgainWhereOthersStop) {
    for (int type : {TASK_GROUND_VEHICLE_LOOPING, TASK_GROUND_VEHICLE}) {
        Drone* truck = make(type, TANK, {{100000, 100000}, {101000, 100000}, {101000, 101000}});
        place_drones_at_start();
        run(40);  // both legs
        if (type == TASK_GROUND_VEHICLE_LOOPING) {
            EXPECT_EQ(truck->current_waypoint, truck->first_waypoint);
            EXPECT_EQ(truck->speed, 1000);
            EXPECT_GT(truck->remaining_distance, 0);
        } else {
            EXPECT_EQ(truck->current_waypoint, waypoint(truck, 2));
            EXPECT_EQ(truck->speed, 0);
            EXPECT_EQ(truck->remaining_distance, 0);
            run(5);
            EXPECT_EQ(truck->pose.position.x, 101000);
            EXPECT_EQ(truck->pose.position.y, 101000);
        }
        destroy_all_tasks();
    }
}

TEST_F(GroundMovers, ABattleTankStopsAtItsTargetAndARetreatingOneGoesBackWithoutWaiting) {
    Drone* tank = make(TASK_TANK_FORMATION, TANK,
                       {{100000, 100000}, {101000, 100000, 1000, 400}, {102000, 100000, 1000, 0, WAYPOINT_TARGET}});
    tank->task->battle_cell = 1;
    place_drones_at_start();
    run(20);
    game_clock = 400;
    run(20);
    EXPECT_EQ(tank->pose.position.x, 102000);
    EXPECT_EQ(tank->speed, 0);
    EXPECT_TRUE(tank->mission_flags & DRONE_FLAG_MOVING);
    EXPECT_FALSE(tank->mission_flags & (DRONE_FLAG_ADVANCE | DRONE_FLAG_RETREAT));
    run(5);
    EXPECT_EQ(tank->pose.position.x, 102000);  // the battle has it now

    // Sent back, it passes the waypoint with the wait without stopping.
    tank->mission_flags |= DRONE_FLAG_RETREAT;
    tank->current_waypoint = waypoint(tank, 1);
    tank->speed = 1000;
    tank->heading = 0xC0000000u;
    tank->velocity = {-1000, 0, 0};
    tank->remaining_distance = 1000;
    run(20);
    EXPECT_EQ(tank->current_waypoint, tank->first_waypoint);
    EXPECT_EQ(tank->activation_time, 400);  // from the way out, not pushed on
    run(1);
    EXPECT_EQ(tank->pose.position.x, 100950);
}

TEST_F(GroundMovers, ADiamondGoesInSingleFileOnTheRoadAndFansOutToItsSlotsWithItsLeader) {
    cover_tile(2, 2, FEATURE_ROAD);
    const int32_t ROAD_X = 9000000;
    Drone* leader = make(TASK_GROUND_VEHICLE, TANK,
                         {{6000000, 10000000, 20000}, {ROAD_X, 10000000, 20000}, {ROAD_X, 12000000, 20000},
                          {ROAD_X + 400000, 12900000, 20000}},
                         DIAMOND);
    place_drones_at_start();
    EXPECT_TRUE(leader->mission_flags & DRONE_FLAG_COLUMN);  // heading for the road
    for (Drone* m : members(leader)) EXPECT_EQ(m->current_waypoint, waypoint(leader, 1));

    // Half way along the road every tank is on its line, one behind the other.
    while (leader->current_waypoint != waypoint(leader, 2) || leader->remaining_distance > 1000000) run(1);
    std::vector<int32_t> ys;
    for (Drone* m : members(leader)) {
        EXPECT_NEAR(m->pose.position.x, ROAD_X, 2) << m->index;
        EXPECT_LT(m->pose.position.y, leader->pose.position.y);
        ys.push_back(m->pose.position.y);
    }
    EXPECT_EQ(ys.size(), 3u);

    // Off the road the formation spreads out again and arrives in its slots.
    while (leader->current_waypoint != waypoint(leader, 3)) run(1);
    EXPECT_FALSE(leader->mission_flags & DRONE_FLAG_COLUMN);
    while (leader->speed != 0) run(1);
    const Waypoint* end = waypoint(leader, 3);
    int row = formation_table[DIAMOND].count - 1;
    for (Drone* m : members(leader)) {
        Vector3 slot;
        get_formation_slot(leader, DIAMOND, row--, slot);
        EXPECT_NEAR(m->pose.position.x, slot.x, 1100) << m->index;
        EXPECT_NEAR(m->pose.position.y, slot.y, 1100) << m->index;
    }
    EXPECT_EQ(leader->pose.position.x, end->x);
    EXPECT_EQ(leader->pose.position.y, end->y);
}

TEST_F(GroundMovers, WagonsBehindADestroyedWagonStandAndADestroyedLocomotiveStopsTheTrain) {
    cover_tile(2, 2, FEATURE_RAILWAY);
    Drone* train = make(TASK_GROUND_VEHICLE, 523, {{9000000, 9000000, 4000}, {9000000, 10000000, 4000}, {9000000, 11000000}},
                        TRAIN);
    place_drones_at_start();
    run(5);
    const std::vector<Drone*> wagons = members(train);  // the last of the list runs behind the locomotive
    ASSERT_EQ(wagons.size(), 3u);
    wagons[1]->destroyed = 1;
    std::vector<Vector3> before;
    for (Drone* w : wagons) before.push_back(w->pose.position);
    run(10);
    EXPECT_NE(wagons[2]->pose.position.y, before[2].y);
    EXPECT_EQ(wagons[1]->pose.position.y, before[1].y);
    EXPECT_EQ(wagons[0]->pose.position.y, before[0].y);

    train->destroyed = 1;
    const Vector3 engine = train->pose.position, first = wagons[2]->pose.position;
    run(10);
    EXPECT_EQ(train->pose.position.y, engine.y);
    EXPECT_EQ(wagons[2]->pose.position.y, first.y);
}

TEST_F(GroundMovers, ALeaderSlowingFromTwoThousandToOneThousandHalvesItsMembersVelocities) {
    Drone* leader = make(TASK_GROUND_VEHICLE, TANK, {{100000, 100000, 2000}, {200000, 100000, 2000}, {300000, 100000, 1000}},
                         DIAMOND);
    place_drones_at_start();
    run(1);
    ASSERT_EQ(leader->speed, 2000);
    std::vector<Vector3> was;
    for (Drone* m : members(leader)) was.push_back(m->velocity);
    leader->remaining_distance = 0;
    arrive_at_waypoint(leader, 100);
    EXPECT_EQ(leader->speed, 1000);
    int i = 0;
    for (Drone* m : members(leader)) {
        EXPECT_EQ(m->velocity.x, was[size_t(i)].x / 2) << i;
        EXPECT_EQ(m->velocity.y, was[size_t(i)].y / 2) << i;
        EXPECT_EQ(m->speed, 1000);
        ++i;
    }
}

TEST_F(GroundMovers, AStepThatReachesTheWaypointWithNoWayToSpareMovesTheMembersByNothing) {
    Drone* leader = make(TASK_GROUND_VEHICLE, TANK, {{100000, 100000}, {200000, 100000}, {200000, 300000}}, DIAMOND);
    place_drones_at_start();
    run(1);
    frame_fraction = 1;  // 1,000 units a second then travel nothing in a step
    leader->remaining_distance = 0;
    leader->pose.position = {200000, 100000, 0};
    update_ground_drone(leader);
    EXPECT_EQ(leader->current_waypoint, waypoint(leader, 2));
    int row = formation_table[DIAMOND].count - 1;
    for (Drone* m : members(leader)) {
        const FormationRow& r = formation_table[DIAMOND].rows[row--];
        // Heading north, the row offsets stand as they are.
        EXPECT_EQ(m->pose.position.x, 200000 + r.x) << m->index;
        EXPECT_EQ(m->pose.position.y, 100000 + r.y) << m->index;
    }
}

}  // namespace
}  // namespace vyr
