#include "source/drone/air_steering.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>

#include "library/3dvisual/features.h"
#include "library/3dvisual/tiles.h"
#include "library/maths/units.h"
#include "source/drone/air_manoeuvre.h"
#include "source/drone/drone.h"
#include "source/drone/drone_movers.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_update.h"
#include "source/drone/ships.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "tests/source/drone/mission_fixture.h"
#include "tests/source/drone/vehicle_world.h"

namespace vyr {
namespace {

constexpr int HELICOPTER = 103;
constexpr int TANKER = 574;        // ship kind 0
constexpr int PATROL_BOAT = 514;   // ship kind 5
constexpr int32_t MILE = 1351680;

struct Point {
    int32_t x, y, z;
    int32_t speed = 20000;
    int type = WAYPOINT_TURNING;
};

class AirSteering : public VehicleWorld {
protected:
    static Drone* make(int task_type, int object_number, std::initializer_list<Point> route) {
        Drone* drone = make_leader(task_type, object_number);
        for (const Point& p : route) {
            Waypoint* w = append_waypoint(drone);
            w->x = p.x, w->y = p.y, w->z = p.z;
            w->speed = p.speed;
            w->type = p.type;
        }
        return drone;
    }

    static void run(int steps) {
        for (int i = 0; i < steps; ++i) update_drones();
    }
};

TEST_F(AirSteering, TheArrivalRadiusIsOneSecondOfFlight) {
    Drone* helicopter = make(TASK_ESCORT_COVER, HELICOPTER, {{1000000, 1000000, 100000}, {1000000, 2000000, 100000}});
    place_drones_at_start();
    helicopter->speed = 60000;
    const MovementProfile& p = movement_profiles[FLIGHT_PROFILE_HELICOPTER];
    for (auto [distance, reached] : {std::pair{50000, 1}, {70000, 0}}) {
        helicopter->pose.position = {1000000, 2000000 - distance, 100000};
        EXPECT_EQ(steer_air_drone(helicopter, {1000000, 2000000, 100000}, p.pitch_rate, p.turn_limit, p.bank_limit,
                                  p.acceleration, p.min_speed, p.max_speed, helicopter->speed),
                  reached)
            << distance;
    }
}

TEST_F(AirSteering, FromWingsLevelTheFirstStepTurnsAtMostTwoDegreesASecond) {
    cover_tile(2, 2, FEATURE_OCEAN);
    struct Case {
        int object_number;
        int task_type;
        int32_t z;
    };
    for (const Case& c : {Case{HELICOPTER, TASK_ESCORT_COVER, 100000}, Case{TANKER, TASK_GROUND_VEHICLE, 0},
                          Case{PATROL_BOAT, TASK_GROUND_VEHICLE, 0}}) {
        // Heading north, the goal due east.
        Drone* d = make(c.task_type, c.object_number, {{9000000, 9000000, c.z}, {9000000, 9500000, c.z}});
        place_drones_at_start();
        run(1);
        d->current_waypoint->x = 9500000;
        d->current_waypoint->y = 9000000;
        d->speed = 4000;
        const uint32_t before = d->heading;
        run(1);
        EXPECT_GT(int32_t(d->roll), 0) << c.object_number;
        EXPECT_LE(int32_t(d->roll), 2 * DEGREE) << c.object_number;
        EXPECT_LE(int32_t(d->heading - before), mul31(2 * DEGREE, frame_fraction)) << c.object_number;
        destroy_all_tasks();
    }
}

TEST_F(AirSteering, AHelicopterTakesOffStraightUpAtFifteenFeetASecondThenFliesOn) {
    Drone* helicopter = make(TASK_ESCORT_COVER, HELICOPTER, {{1000000, 1000000, 0}, {1000000, 1500000, 100 * FOOT}});
    place_drones_at_start();
    int32_t z = helicopter->pose.position.z;
    ASSERT_EQ(z, 0);
    int steps = 0;
    while (helicopter->pose.position.z < 100 * FOOT && steps++ < 1000) {
        const bool climbing = 100 * FOOT - z > FOOT;  // the last foot it starts to fly on
        run(1);
        if (climbing) {
            EXPECT_EQ(helicopter->speed, 0);
            EXPECT_EQ(helicopter->pose.position.x, 1000000);
            EXPECT_EQ(helicopter->pose.position.y, 1000000);
        }
        EXPECT_LE(helicopter->pose.position.z - z, mul31(HELICOPTER_CLIMB_RATE, frame_fraction));
        EXPECT_GT(helicopter->pose.position.z, z);
        z = helicopter->pose.position.z;
    }
    EXPECT_EQ(helicopter->pose.position.z, 100 * FOOT);  // exactly, not creeping up on it
    run(40);
    EXPECT_GT(helicopter->speed, 0);
    EXPECT_GT(helicopter->pose.position.y, 1000000);
}

TEST_F(AirSteering, ARouteEndingInTheAirGoesBackToTheFirstCapStartOrTheFirstWaypoint) {
    for (int cap : {WAYPOINT_CAP_START, WAYPOINT_TURNING}) {
        Drone* helicopter =
            make(TASK_ESCORT_COVER, HELICOPTER,
                 {{1000000, 1000000, 1000 * FOOT}, {1000000, 2000000, 1000 * FOOT, 20000, cap},
                  {2000000, 2000000, 1000 * FOOT}, {2000000, 1000000, 1000 * FOOT}});
        place_drones_at_start();
        Waypoint* last = helicopter->first_waypoint->next->next->next;
        helicopter->current_waypoint = last;
        helicopter->pose.position = {last->x, last->y, last->z};
        helicopter->speed = 20000;
        run(1);
        EXPECT_EQ(helicopter->previous_waypoint, last);
        EXPECT_EQ(helicopter->current_waypoint,
                  cap == WAYPOINT_CAP_START ? helicopter->first_waypoint->next : helicopter->first_waypoint);
        destroy_all_tasks();
    }
}

TEST_F(AirSteering, EachShipTurnsByTheRowOfItsKind) {
    cover_tile(2, 2, FEATURE_OCEAN);
    struct Case {
        int type;
        int32_t turn, bank;
    };
    for (auto [type, turn, bank] : {Case{TANKER, DEGREE / 5, 2 * DEGREE}, Case{PATROL_BOAT, 4 * DEGREE, 5 * DEGREE}}) {
        Drone* ship = make(TASK_GROUND_VEHICLE, type, {{9000000, 9000000, 0, 4000}, {9000000, 9010000, 0, 4000}});
        place_drones_at_start();
        run(1);
        ship->current_waypoint->x = 8000000;  // hard about
        ship->current_waypoint->y = 8000000;
        int32_t most = 0;
        for (int i = 0; i < 400; ++i) {
            run(1);
            most = std::max(most, std::abs(int32_t(ship->roll)));
        }
        // The turn it aims at is its kind's turn limit, and its bank, its rate of turn, follows.
        EXPECT_NEAR(most, turn, 8) << type;
        EXPECT_LE(most, bank) << type;
        EXPECT_EQ(ship->pitch, 0u);
        destroy_all_tasks();
    }
}

TEST_F(AirSteering, AShipLoopsItsRouteOnlyWhenItsFirstWaypointHasASpeed) {
    cover_tile(2, 2, FEATURE_OCEAN);
    for (int32_t first_speed : {0, 4000}) {
        Drone* ship = make(TASK_GROUND_VEHICLE, PATROL_BOAT,
                           {{9000000, 9000000, 0, first_speed}, {9000000, 9040000, 0, 4000}});
        place_drones_at_start();
        ship->speed = 4000;
        ship->mission_flags |= DRONE_FLAG_MOVING;
        run(200);  // 40,000 units at 4,000 a second, the last second within the radius
        if (first_speed) {
            EXPECT_EQ(ship->current_waypoint, ship->first_waypoint);
            EXPECT_GT(ship->speed, 0);
        } else {
            EXPECT_EQ(ship->current_waypoint, ship->first_waypoint->next);
            EXPECT_EQ(ship->speed, 0);
            const Vector3 at = ship->pose.position;
            run(20);
            EXPECT_EQ(ship->pose.position.y, at.y);
        }
        destroy_all_tasks();
    }
}

TEST_F(AirSteering, ADroneOfClassShipWhoseTypeIsNoShipIsFatal) {
    EXPECT_FATAL(
        {
            Drone* d = make(TASK_GROUND_VEHICLE, 93, {{9000000, 9000000, 0}, {9000000, 9004000, 0}});
            d->drone_class = DRONE_CLASS_SHIP;
            d->current_waypoint = d->first_waypoint;
            update_water_drone(d);
        },
        "Drone isn't a ship in update_water_drone, what're you doing, drowning tanks or something\\? Actually it's a");
}

TEST_F(AirSteering, FlyingWithThePlayerItWantsHisSpeedNearAndEightHundredKnotsFar) {
    Drone* wingman = make(TASK_ESCORT_COVER, HELICOPTER, {{1000000, 1000000, 100000}, {1000000, 2000000, 100000}});
    wingman->mission_flags |= DRONE_FLAG_FLY_WITH_USER;
    struct Case {
        int32_t miles_from_goal_x2;
        int32_t knots;
        int32_t speed;
    };
    const Case cases[] = {{2, 300, 129600}, {6, 300, 237600}, {10, 300, 345600}, {2, 800, 345600}};
    const PlayerFlightData saved = player_flight_data;
    for (const Case& c : cases) {
        player_flight_data.airspeed = c.knots;
        wingman->pose.position = {1000000, 1000000, 100000};
        const Vector3 goal{1000000 + c.miles_from_goal_x2 * MILE / 2, 1000000, 100000};
        EXPECT_EQ(choose_air_speed(wingman, goal, 0, 0), c.speed) << c.miles_from_goal_x2 << " " << c.knots;
    }
    player_flight_data = saved;
}

TEST_F(AirSteering, AGoalOutsideTheWorldKillsTheDrone) {
    Drone* helicopter = make(TASK_ESCORT_COVER, HELICOPTER, {{1000000, 1000000, 100000}, {1000000, 2000000, 100000}});
    place_drones_at_start();
    helicopter->current_waypoint->x = WORLD_LIMIT + 1;
    Vector3 goal;
    EXPECT_FALSE(get_air_goal(helicopter, goal));
    EXPECT_EQ(helicopter->destroyed, 1);
}

}  // namespace
}  // namespace vyr
