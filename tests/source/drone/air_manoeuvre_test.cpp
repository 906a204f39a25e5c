#include "source/drone/air_manoeuvre.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/maths/matrix.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/drone/air_steering.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_update.h"
#include "source/frame_loop.h"
#include "source/skill.h"
#include "tests/source/drone/mission_fixture.h"
#include "tests/source/drone/vehicle_world.h"

namespace vyr {
namespace {

constexpr int FIGHTER = 225;         // a fast jet of combat profile 0
constexpr int ATTACK_AIRCRAFT = 3;   // flight profile 2
constexpr int TRANSPORT = 34;        // flight profile 0
constexpr int TICKS_PER_STEP = 10;   // the fixture's twentieth of a second

struct Point {
    int32_t x, y, z;
    int32_t knots;
    int type = WAYPOINT_TURNING;
    int32_t wait = 0;
};

// Aircraft flown on the fixture's flat theatre, whose ground (and so every runway) lies at
// height 0, with the game clock stepped along with the frames.
class AirManoeuvre : public VehicleWorld {
protected:
    void TearDown() override {
        forces_type = 0;
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        VehicleWorld::TearDown();
    }

    static Drone* make(int object_number, std::initializer_list<Point> route) {
        Drone* drone = make_leader(TASK_ESCORT_COVER, object_number);
        for (const Point& p : route) {
            Waypoint* w = append_waypoint(drone);
            w->x = p.x, w->y = p.y, w->z = p.z;
            w->speed = p.knots * KNOT;
            w->type = p.type;
            w->wait = p.wait;
        }
        return drone;
    }

    static void step() {
        update_drones();
        game_clock += TICKS_PER_STEP;
    }

    // In level flight at the point on the heading, its last frame's displacement that of its speed.
    static void fly_at(Drone* drone, Vector3 at, uint32_t heading, int32_t speed) {
        const Vector3& from = drone->pose.position;
        move_mobile_object(&drone->object, at.x - from.x, at.y - from.y, at.z - from.z);
        drone->heading = heading;
        drone->pitch = drone->roll = 0;
        build_rotation_matrix(heading, 0, 0, drone->pose.matrix);
        drone->speed = speed;
        const int32_t t = mul31(speed, frame_fraction);
        drone->velocity = {mul31(t, lookup_sin(heading)), mul31(t, lookup_cos(heading)), 0};
    }

    static int32_t horizontal(const Drone* drone, const Waypoint* w) {
        return int32_t(std::hypot(double(w->x) - drone->pose.position.x, double(w->y) - drone->pose.position.y));
    }
};

// A whole flight, checked at its milestones: parked short of the Departure point it rolls to it
// at taxi speed, lines up, runs, lifts off at 140 kt or more, flies its route, loops at the Cap
// Start until the wait is over, comes in by the Approach waypoint, flares and touches down on the
// runway and brakes to taxi speed on the roll-out, parking at the route's end.
TEST_F(AirManoeuvre, AJetTakesOffFliesItsRouteLoopsAtTheCapStartAndLands) {
    constexpr int32_t WAIT = 60 * 200;
    Drone* jet = make(FIGHTER, {{1000000, 6000000, 0, 0},
                                {1000000, 6050000, 0, 20, WAYPOINT_DEPARTURE},
                                {1000000, 9000000, 2000 * FOOT, 350},
                                {3000000, 13000000, 5000 * FOOT, 400, WAYPOINT_CAP_START, WAIT},
                                {3000000, 17000000, 5000 * FOOT, 400},
                                {1000000, 2000000, 1500 * FOOT, 250, WAYPOINT_APPROACH},
                                {1000000, 6300000, 0, 150, WAYPOINT_LANDING},
                                {1000000, 9000000, 0, 20}});
    place_drones_at_start();
    std::vector<Waypoint*> w;
    for (Waypoint* p = jet->first_waypoint; p; p = p->next) w.push_back(p);
    EXPECT_EQ(jet->current_waypoint, w[1]) << "parked short of the Departure point";
    EXPECT_EQ(jet->pose.position.z, 0);

    bool lined_up_checked = false, lifted = false, looped_back = false, rolled_out = false;
    int32_t cap_arrival = -1, loop_end = -1, most_pitch_landing = INT32_MIN, landing_speed = 0;
    const int LIMIT = 40000;
    int steps = 0;
    for (; steps < LIMIT && !jet->destroyed; ++steps) {
        const Waypoint* before = jet->current_waypoint;
        const Waypoint* previous_before = jet->previous_waypoint;
        step();
        const Waypoint* now = jet->current_waypoint;
        if (before == w[1]) {
            EXPECT_LE(jet->speed, 20 * KNOT) << "taxiing to the Departure point";
            EXPECT_EQ(jet->pose.position.z, 0);
        }
        if (jet->manoeuvre == MANOEUVRE_TAKE_OFF && jet->pose.position.z == 0 && jet->speed > 20 * KNOT &&
            !lined_up_checked) {
            lined_up_checked = true;
            EXPECT_LE(std::abs(get_waypoint_bearing_error(jet)), 2 * DEGREE) << "the run starts lined up";
        }
        if (!lifted && jet->pose.position.z > 0) {
            lifted = true;
            EXPECT_EQ(now, w[2]);
            EXPECT_GE(jet->speed, 140 * KNOT) << "lifting off";
        }
        if (now == w[4] && before == w[3] && cap_arrival < 0) cap_arrival = game_clock - TICKS_PER_STEP;
        if (before == w[4] && now == w[3]) {
            looped_back = true;
            EXPECT_LT(game_clock - TICKS_PER_STEP, jet->cap_end_time);
        }
        if (before == w[4] && now == w[5]) {
            loop_end = game_clock - TICKS_PER_STEP;
            EXPECT_EQ(previous_before, w[3]);
        }
        if (jet->manoeuvre == MANOEUVRE_LANDING && now == w[6] && horizontal(jet, w[6]) < 1000 * FOOT) {
            most_pitch_landing = std::max(most_pitch_landing, int32_t(jet->pitch));
            landing_speed = jet->speed;
        }
        if (before == w[6] && now == w[7]) {
            EXPECT_LE(jet->pose.position.z, 5 * FOOT) << "down on the runway";
            EXPECT_LE(std::abs(jet->pose.position.x - 1000000), 50 * FOOT) << "on the runway's line";
        }
        if (jet->manoeuvre == MANOEUVRE_GROUND_ROLL && now == w[7]) {
            EXPECT_EQ(jet->pose.position.z, 0);
            if (jet->speed <= 20 * KNOT) rolled_out = true;
            if (rolled_out) {
                EXPECT_LE(jet->speed, 20 * KNOT + 8) << "braked to taxi speed stays there";
            }
        }
        if (jet->speed == 0 && now == w[7] && rolled_out) break;
    }
    ASSERT_FALSE(jet->destroyed) << steps;
    ASSERT_LT(steps, LIMIT) << "the flight ends parked";
    EXPECT_TRUE(lined_up_checked);
    EXPECT_TRUE(lifted);
    ASSERT_GE(cap_arrival, 0);
    EXPECT_EQ(jet->cap_end_time, cap_arrival + WAIT);
    EXPECT_TRUE(looped_back) << "round the loop at least once";
    EXPECT_GE(loop_end, jet->cap_end_time) << "on to the approach only once the wait is over";
    EXPECT_GT(most_pitch_landing, 5 * DEGREE) << "nose up over the threshold: " << most_pitch_landing / double(DEGREE);
    EXPECT_LE(landing_speed, 160 * KNOT);
    EXPECT_TRUE(rolled_out);
    EXPECT_EQ(jet->speed, 0);
    EXPECT_EQ(jet->pose.position.z, 0);
    EXPECT_LT(horizontal(jet, w[7]), 100 * FOOT) << "parked at the route's end";
}

// The loop's time starts at the first arrival at the Cap Start: its wait, or five hours without
// one; until then the waypoint closing the loop leads back to the Cap Start, afterwards on.
TEST_F(AirManoeuvre, TheCapStartLoopLastsItsWaitOrFiveHoursWithoutOne) {
    for (int32_t wait : {0, 30000}) {
        SCOPED_TRACE(wait);
        Drone* jet = make(FIGHTER, {{1000000, 1000000, 100000, 400},
                                    {1000000, 2000000, 100000, 400, WAYPOINT_CAP_START, wait},
                                    {2000000, 2000000, 100000, 400},
                                    {2000000, 1000000, 100000, 400}});
        Waypoint* cap = jet->first_waypoint->next;
        Waypoint* closing = cap->next;
        jet->current_waypoint = cap;
        game_clock = 1000;
        ASSERT_EQ(advance_cap_waypoint(jet), 1);
        const int32_t end = 1000 + (wait ? wait : CAP_WAIT_FOREVER);
        EXPECT_EQ(jet->cap_end_time, end);
        EXPECT_EQ(jet->current_waypoint, closing);
        for (int32_t clock : {end - 1, end}) {
            game_clock = clock;
            jet->previous_waypoint = cap;
            jet->current_waypoint = closing;
            ASSERT_EQ(advance_cap_waypoint(jet), 1);
            EXPECT_EQ(jet->previous_waypoint, closing);
            EXPECT_EQ(jet->current_waypoint, clock < end ? cap : closing->next) << clock;
        }
        // A second arrival at the Cap Start keeps the loop's end.
        game_clock = 2000;
        jet->current_waypoint = cap;
        advance_cap_waypoint(jet);
        EXPECT_EQ(jet->cap_end_time, end);
        jet->previous_waypoint = closing;
        jet->current_waypoint = closing->next;
        EXPECT_EQ(advance_cap_waypoint(jet), 0) << "not at the loop";
        destroy_all_tasks();
    }
}

// 11,000 ft out and 15 degrees off the runway's line the landing goes round to the first Approach
// waypoint; farther than 12,000 ft, or nearer than 1,000 ft, it keeps coming.
TEST_F(AirManoeuvre, ALandingFarOffTheRunwayLineGoesRoundToTheApproach) {
    for (auto [feet, round] : {std::pair{11000, true}, {13000, false}, {900, false}}) {
        SCOPED_TRACE(feet);
        Drone* jet = make(FIGHTER, {{1000000, 500000, 1500 * FOOT, 250, WAYPOINT_APPROACH},
                                    {1000000, 6000000, 0, 150, WAYPOINT_LANDING},
                                    {1000000, 8000000, 0, 20}});
        place_drones_at_start();
        Waypoint* approach = jet->first_waypoint;
        Waypoint* touchdown = approach->next;
        ASSERT_EQ(jet->current_waypoint, touchdown);
        jet->manoeuvre = MANOEUVRE_ROUTE;
        // Coming from the south-west, heading 15 degrees right of the runway's north.
        const int32_t d = feet * FOOT;
        fly_at(jet, {1000000 - mul31(d, lookup_sin(15 * DEGREE)), 6000000 - mul31(d, lookup_cos(15 * DEGREE)), 500 * FOOT},
               15 * DEGREE, 200 * KNOT);
        EXPECT_EQ(manoeuvre_landing_approach(jet), round ? 0 : 1);
        EXPECT_EQ(jet->landing_committed, 1);
        EXPECT_EQ(jet->current_waypoint, round ? approach : touchdown);
        destroy_all_tasks();
    }
}

// The approach's floor speed runs from 71 kt at touchdown up to the type's minimum speed.
TEST_F(AirManoeuvre, TheApproachSpeedFallsTowardTouchdownBelowTheMinimumSpeed) {
    Drone* jet = make(FIGHTER, {{1000000, 1000000, 0, 150}});
    Drone* transport = make(TRANSPORT, {{1000000, 1000000, 0, 150}});
    constexpr int32_t TWO_MILES = 2 * 1351680;
    EXPECT_EQ(get_approach_speed(jet, 0), 30720);
    EXPECT_EQ(get_approach_speed(jet, TWO_MILES), 30720 + int32_t(int64_t(TWO_MILES) * 125440 / 4055040));
    EXPECT_GT(get_approach_speed(jet, TWO_MILES), 250 * KNOT);
    EXPECT_EQ(get_approach_speed(jet, 4055039), movement_profiles[FLIGHT_PROFILE_FAST_JET].min_speed);
    EXPECT_EQ(get_approach_speed(jet, 5000000), movement_profiles[FLIGHT_PROFILE_FAST_JET].min_speed);
    EXPECT_EQ(get_approach_speed(transport, 0), 30720);
    EXPECT_EQ(get_approach_speed(transport, TWO_MILES), 56160);
    EXPECT_EQ(get_approach_speed(transport, 5000000), 56160);
}

class Dogfight : public AirManoeuvre {
protected:
    // A fighter at 10,000 ft flying north, engaged with a target 3,000 ft ahead of it.
    void SetUp() override {
        AirManoeuvre::SetUp();
        attacker = make(FIGHTER, {{5000000, 5000000, 10000 * FOOT, 400}, {5000000, 9000000, 10000 * FOOT, 400}});
        enemy = make(FIGHTER, {{5000000, 6000000, 10000 * FOOT, 400}, {5000000, 9000000, 10000 * FOOT, 400}});
        place_drones_at_start();
        attacker->current_waypoint = attacker->first_waypoint->next;
        fly_at(attacker, {5000000, 5000000, 10000 * FOOT}, 0, 400 * KNOT);
        fly_at(enemy, {5000000, 5000000 + 3000 * FOOT, 10000 * FOOT}, 0, 400 * KNOT);
        attacker->attack_target = &enemy->target;
        attacker->mission_flags |= DRONE_FLAG_ENGAGED;
    }
    Drone* attacker = nullptr;
    Drone* enemy = nullptr;
};

TEST_F(Dogfight, OnlyAFastJetFightsAndOnlyATargetAtLeast1500FeetUp) {
    struct Case {
        int object_number;
        int32_t feet;
        int fights;
    };
    for (auto [object_number, feet, fights] :
         {Case{FIGHTER, 1499, 0}, Case{FIGHTER, 1500, 1}, Case{ATTACK_AIRCRAFT, 10000, 0}}) {
        SCOPED_TRACE(feet);
        attacker->object.object_type = object_number;
        attacker->manoeuvre = MANOEUVRE_ROUTE;
        fly_at(enemy, {5000000, 5000000 + 3000 * FOOT, feet * FOOT}, 0, 400 * KNOT);
        EXPECT_EQ(manoeuvre_dogfight(attacker), fights);
        EXPECT_EQ(attacker->manoeuvre, fights ? MANOEUVRE_DOGFIGHT : MANOEUVRE_ROUTE);
    }
}

TEST_F(Dogfight, CloserThan80FeetTheRouteHandlerFliesIt) {
    fly_at(enemy, {5000000, 5000000 + 79 * FOOT, 10000 * FOOT}, 0, 400 * KNOT);
    EXPECT_EQ(manoeuvre_dogfight(attacker), 0);
    EXPECT_EQ(update_air_manoeuvre(attacker), 1);
    EXPECT_EQ(attacker->manoeuvre, MANOEUVRE_ROUTE);
    fly_at(attacker, {5000000, 5000000, 10000 * FOOT}, 0, 400 * KNOT);
    fly_at(enemy, {5000000, 5000000 + 81 * FOOT, 10000 * FOOT}, 0, 400 * KNOT);
    EXPECT_EQ(update_air_manoeuvre(attacker), 1);
    EXPECT_EQ(attacker->manoeuvre, MANOEUVRE_DOGFIGHT);
}

// Diving at the ground the dogfight hands over to the pull-up, which climbs until the nose is up
// again and then hands back without flying that frame itself.
TEST_F(Dogfight, ThePullUpTakesADiveNearTheGroundAndHandsBackOnceTheNoseIsUp) {
    attacker->manoeuvre = MANOEUVRE_DOGFIGHT;
    fly_at(attacker, {5000000, 5000000, 1000 * FOOT}, 0, 400 * KNOT);
    const uint32_t dive = uint32_t(-20 * DEGREE);
    attacker->pitch = dive;
    build_rotation_matrix(0, dive, 0, attacker->pose.matrix);
    attacker->velocity.z = mul31(mul31(attacker->speed, frame_fraction), lookup_sin(dive));
    EXPECT_EQ(manoeuvre_terrain_pull_up(attacker), 1);
    EXPECT_EQ(attacker->manoeuvre, MANOEUVRE_PULL_UP);
    int steps = 0;
    while (int32_t(attacker->pitch) <= 0 && steps++ < 400) EXPECT_EQ(manoeuvre_terrain_pull_up(attacker), 1);
    ASSERT_GT(int32_t(attacker->pitch), 0);
    EXPECT_FALSE(attacker->destroyed);
    EXPECT_GT(attacker->pose.position.z, 0);
    EXPECT_EQ(manoeuvre_terrain_pull_up(attacker), 0);
    EXPECT_EQ(attacker->manoeuvre, MANOEUVRE_DOGFIGHT);
}

// Against the player, a target far off the nose starts the lag pursuit, after where the player
// was going; it ends once the fighter flies along that way.
TEST_F(Dogfight, LagPursuitAgainstThePlayerIsSetFarOffTheNoseAndClearedOnceAlongItsWay) {
    constexpr uint32_t EAST = 0x40000000u;
    user_drone = enemy;
    fly_at(enemy, {5000000 + 3000 * FOOT, 5000000, 10000 * FOOT}, EAST, 400 * KNOT);  // abeam on the right
    EXPECT_EQ(manoeuvre_dogfight(attacker), 1);
    EXPECT_EQ(attacker->lag_pursuit, 1);
    EXPECT_EQ(attacker->lag_target_position.x, 5000000 + 3000 * FOOT);
    // The player, remembered flying east, moves on; the remembered track stays until the pursuit
    // ends.
    attacker->lag_target_direction = {FIXED_ONE, 0, 0};
    fly_at(enemy, {5000000 + 4000 * FOOT, 5000000, 10000 * FOOT}, EAST, 400 * KNOT);
    fly_at(attacker, {5000000, 4000000, 10000 * FOOT}, EAST, 400 * KNOT);  // along the remembered heading
    EXPECT_EQ(manoeuvre_dogfight(attacker), 1);
    EXPECT_EQ(attacker->lag_pursuit, 0);
    EXPECT_EQ(attacker->lag_target_position.x, 5000000 + 3000 * FOOT);
    EXPECT_EQ(manoeuvre_dogfight(attacker), 1);
    EXPECT_EQ(attacker->lag_target_position.x, 5000000 + 4000 * FOOT) << "remembered afresh";
    // An AI target never starts it.
    user_drone = nullptr;
    attacker->lag_pursuit = 0;
    fly_at(attacker, {5000000, 5000000, 10000 * FOOT}, 0, 400 * KNOT);
    fly_at(enemy, {5000000 + 3000 * FOOT, 5000000, 10000 * FOOT}, EAST, 400 * KNOT);
    EXPECT_EQ(manoeuvre_dogfight(attacker), 1);
    EXPECT_EQ(attacker->lag_pursuit, 0);
}

// The push limit near the ground: +10 degrees below 500 units, nothing from 5,000 ft; in between it
// never lies above +10 degrees, never falls as the height falls and meets both ends without a jump.
TEST_F(Dogfight, ThePushFloorRisesAsTheHeightAheadFalls) {
    EXPECT_EQ(get_dogfight_pull_floor(0), 119304647);
    EXPECT_EQ(get_dogfight_pull_floor(500), 119304647);
    EXPECT_EQ(get_dogfight_pull_floor(1280000), INT32_MIN);
    EXPECT_EQ(get_dogfight_pull_floor(2000000), INT32_MIN);
    int32_t last = get_dogfight_pull_floor(500);
    for (int32_t h = 501; h < 1280000; h += 997) {
        const int32_t floor = get_dogfight_pull_floor(h);
        EXPECT_LE(floor, last) << h;
        EXPECT_LE(floor, 119304647) << h;
        last = floor;
    }
    EXPECT_GT(get_dogfight_pull_floor(501), 119304647 - 5000);
    EXPECT_LT(get_dogfight_pull_floor(1279999), INT32_MIN + 5000);
}

// The flight step's limits as a table: the turn in whole degrees a second, a push held to a quarter
// of it, the roll rate and acceleration of the type's combat profile or the defaults without one.
TEST_F(AirManoeuvre, TheFlightStepTurnsInWholeDegreesAndPushesAQuarterOfThat) {
    Drone* jet = make(FIGHTER, {{1000000, 1000000, 100000, 400}, {1000000, 9000000, 100000, 400}});
    place_drones_at_start();
    jet->current_waypoint = jet->first_waypoint->next;
    drone_type_table[FIGHTER].combat_profile = -1;  // the lift floor 0.188: up to 9.04 g
    frame_fraction = FIXED_ONE / 2;  // long frames, so that the tables' steps are small beside a turn
    // 9.04 x 1845 / 3,400 ft/s = 4.9 degrees a second, flown as 4.
    const int32_t speed = 3400 * FOOT;
    const int32_t four = mul31(4 * DEGREE, frame_fraction);
    struct Case {
        int32_t pull;
        int32_t expected;
    };
    for (auto [pull, expected] : {Case{INT32_MAX / 2, four}, Case{-INT32_MAX / 2, four / 4}, Case{four / 2, four / 2}}) {
        SCOPED_TRACE(pull);
        fly_at(jet, {1000000, 1000000, 100000}, 0, speed);
        step_air_combat_flight(jet, 0, 0, pull, 0, 0);
        EXPECT_NEAR(std::abs(int64_t(int32_t(jet->pitch))), expected, 600000);
    }
}

TEST_F(AirManoeuvre, RollRateAndAccelerationComeFromTheCombatProfileOrTheDefaults) {
    Drone* jet = make(FIGHTER, {{1000000, 1000000, 100000, 400}, {1000000, 9000000, 100000, 400}});
    place_drones_at_start();
    jet->current_waypoint = jet->first_waypoint->next;
    struct Case {
        int profile;
        int32_t roll_rate;
        int32_t acceleration;
    };
    const int32_t a = movement_profiles[FLIGHT_PROFILE_FAST_JET].acceleration;
    frame_fraction = FIXED_ONE / 2;  // long frames, so that the tables' steps are small beside a roll
    for (auto [profile, roll_rate, acceleration] : {Case{-1, 45 * DEGREE, a}, Case{0, 90 * DEGREE, a},
                                                    Case{3, 1312351118, int32_t(std::lround(a * double(0.72f)))},
                                                    Case{4, 45 * DEGREE, int32_t(std::lround(a * double(0.54f)))}}) {
        SCOPED_TRACE(profile);
        drone_type_table[FIGHTER].combat_profile = profile;
        fly_at(jet, {1000000, 1000000, 100000}, 0, 300 * KNOT);
        step_air_combat_flight(jet, FIXED_ONE, 0, 0, INT32_MAX / 2, 0);
        EXPECT_NEAR(int32_t(jet->roll), mul31(roll_rate, frame_fraction), 600000);
        EXPECT_NEAR(jet->speed - 300 * KNOT, mul31(acceleration, frame_fraction), 2);
    }
}

// Flying with the player the speed may reach 800 kt, whatever the type's top speed; without it the
// top speed holds.
TEST_F(AirManoeuvre, FlyingWithThePlayerReaches800KnotsWhateverTheTopSpeed) {
    Drone* jet = make(FIGHTER, {{1000000, 1000000, 100000, 400}, {1000000, 9000000, 100000, 400}});
    place_drones_at_start();
    jet->current_waypoint = jet->first_waypoint->next;
    for (bool with_user : {false, true}) {
        SCOPED_TRACE(with_user);
        jet->mission_flags = with_user ? DRONE_FLAG_FLY_WITH_USER : 0;
        fly_at(jet, {1000000, 1000000, 100000}, 0, movement_profiles[FLIGHT_PROFILE_FAST_JET].max_speed);
        for (int i = 0; i < 400; ++i) step_air_combat_flight(jet, FIXED_ONE, 0, 0, 0, 0);
        EXPECT_EQ(jet->speed, with_user ? 345600 : movement_profiles[FLIGHT_PROFILE_FAST_JET].max_speed);
    }
}

// A hard turn toward a goal far off the nose sets the hard-manoeuvre flag; flying straight at it
// clears it.
TEST_F(AirManoeuvre, AHardTurnSetsTheHardManoeuvreFlag) {
    Drone* jet = make(FIGHTER, {{1000000, 1000000, 100000, 400}, {1000000, 9000000, 100000, 400}});
    place_drones_at_start();
    jet->current_waypoint = jet->first_waypoint->next;
    jet->manoeuvre = MANOEUVRE_ROUTE;
    const MovementProfile& p = movement_profiles[FLIGHT_PROFILE_FAST_JET];
    for (auto [goal_x, hard] : {std::pair{9000000, true}, {1000000, false}}) {
        SCOPED_TRACE(hard);
        fly_at(jet, {1000000, 1000000, 100000}, 0, 400 * KNOT);
        jet->roll = uint32_t(45 * DEGREE * (hard ? 1 : 0));
        build_rotation_matrix(0, 0, jet->roll, jet->pose.matrix);
        fly_to_point(jet, {goal_x, 9000000, 100000}, p.pitch_rate, p.turn_limit, p.bank_limit, p.acceleration,
                     p.min_speed, p.max_speed, 1000);
        EXPECT_EQ((jet->mission_flags & DRONE_FLAG_HARD_MANOEUVRE) != 0, hard);
    }
}

// A ridge 1,000 ft high across the way of a jet at 500 ft: the look-ahead lifts it over, aiming
// 600 ft above the top, and it comes through alive.
TEST_F(AirManoeuvre, TheLookAheadLiftsARouteJetOverARidge) {
    for (int i = 0; i < TERRAIN_POSTS; ++i) terrain_posts[i][10].height = 1000;  // posts of y = 10 x 2^20
    Drone* jet = make(FIGHTER, {{3000000, 1000000, 500 * FOOT, 400}, {3000000, 16000000, 500 * FOOT, 400}});
    place_drones_at_start();
    const int32_t ridge = 10 << 20;
    int32_t over_top = -1;
    for (int i = 0; i < 6000 && !jet->destroyed && jet->pose.position.y < ridge + (1 << 20); ++i) {
        step();
        if (std::abs(jet->pose.position.y - ridge) < 400 * KNOT / 20) over_top = jet->pose.position.z;
    }
    ASSERT_FALSE(jet->destroyed);
    ASSERT_GE(over_top, 0) << "reached the ridge";
    EXPECT_GT(over_top, 1300 * FOOT);
    EXPECT_LT(over_top, 1900 * FOOT);
}

// Touching the ground with a waypoint to fly to destroys the jet, and so does leaving the world;
// one that has ended its route is left alone.
TEST_F(AirManoeuvre, TouchingTheGroundOrLeavingTheWorldKills) {
    struct Case {
        Vector3 at;
        uint32_t heading;
        bool with_waypoint;
        bool killed;
    };
    for (auto [at, heading, with_waypoint, killed] :
         {Case{{1000000, 1000000, -FOOT}, 0, true, true}, Case{{1000000, 1000000, -FOOT}, 0, false, false},
          Case{{1000000, 1000000, 100 * FOOT}, 0, true, false}, Case{{WORLD_LIMIT - 100, 1000000, 100000}, 0x40000000u, true, true}}) {
        SCOPED_TRACE(::testing::Message() << at.x << " " << at.z);
        Drone* jet = make(FIGHTER, {{1000000, 1000000, 100000, 400}, {1000000, 9000000, 100000, 400}});
        place_drones_at_start();
        jet->current_waypoint = with_waypoint ? jet->first_waypoint->next : nullptr;
        fly_at(jet, {1000000, 1000000, 100000}, heading, 400 * KNOT);
        move_mobile_object(&jet->object, at.x - 1000000, at.y - 1000000, at.z - 100000);
        move_air_drone(jet);
        EXPECT_EQ(jet->destroyed != 0, killed);
        destroy_all_tasks();
    }
}

TEST_F(AirManoeuvre, PreMoveWithoutADroneIsFatal) {
    int32_t pull = 0;
    EXPECT_FATAL(pre_move(nullptr, pull), "Drone going thru pre_move hacks with null element");
}

}  // namespace
}  // namespace vyr
