#include "source/models/landing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/terrain.h"
#include "library/maths/matrix.h"
#include "source/avionics/panel.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/models/aero.h"
#include "source/models/flight_model.h"
#include "source/models/integration.h"
#include "source/models/model_state.h"
#include "source/skill.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/object_types.h"
#include "tests/source/drone/mission_fixture.h"
#include "tests/source/models/stand_in_world.h"

namespace vyr {
namespace {

constexpr double DEG = 0.01745329251994444;
constexpr double KNOTS = 1.688;  // ft/s
constexpr int32_t FT = 256;

// The aircraft rolling on the stand-in runway with the gear down, a single-player flight, in a
// mission whose tasks and drones the test builds.
class Landing : public MissionTest {
protected:
    void SetUp() override {
        MissionTest::SetUp();
        reset();
        *player_position = {{1000 * FT, 2000 * FT, 0}, {}};
    }
    void TearDown() override {
        reset();
        MissionTest::TearDown();
    }
    static void reset() {
        reset_stand_in_world();
        system_failures = {};
        game_clock = die_flag = flight_running = 0;
        game_mode = GAME_SINGLE;
        forces_type = 0;
        crashing_off = invincible = 0;
        clear_landing_outcome();
        set_gear_state(GEAR_DOWN);
        model_state = {};
        model_state.flags = MODEL_GEAR_DOWN;
        model_state.ground = 1;
        touchdown = {};
        touchdown.previous_ground = 1;
        air_data = {};
        player_flight_data = {};
        quit_request = 0;
    }
    // Comes to rest on the ground, landed, at the next check of the route's end.
    static void stand_still() {
        air_data.vt = 0.0;
        model_state.ground = model_state.landed = 1;
        game_clock = touchdown.next_destination_check + 1;
        check_touchdown();
    }
};

TEST_F(Landing, EachFaultWeighsFromItsThresholdOn) {
    const struct {
        bool hard;
        double knots, beta, sink, pitch, roll;  // degrees
        double damage;
        uint8_t faults;
    } cases[] = {
        {true, 150, 3, 10, 5, 2, 0.0, 0},  // a good landing
        {true, 150, 8, 0, 5, 0, 0.0, 0},
        {true, 150, -9, 0, 5, 0, 0.16661, 0},
        {true, 150, 12, 0, 5, 0, 0.66659, FAULT_BETA},
        {true, 190, 0, 0, 5, 0, 0.0, 0},
        {true, 196, 0, 0, 5, 0, 0.1, 0},
        {true, 220, 0, 0, 5, 0, 0.5, FAULT_VELOCITY},
        {true, 150, 0, 14, 5, 0, 0.0, 0},
        {true, 150, 0, 15, 5, 0, 0.0625, 0},
        {true, 150, 0, 20, 5, 0, 0.375, FAULT_DESCENT_RATE},
        {true, 150, 0, 0, 2, 0, 0.0, 0},
        {true, 150, 0, 0, 1.5, 0, 0.1665, 0},
        {true, 150, 0, 0, 0, 0, 0.666, FAULT_PITCH},
        {true, 150, 0, 0, 15, 0, 0.0, 0},
        {true, 150, 0, 0, 15.1, 0, 0.1, 0},
        {true, 150, 0, 0, 16, 0, 1.0, FAULT_PITCH},
        {true, 150, 0, 0, 5, -4, 0.0, 0},
        {true, 150, 0, 0, 5, 4.5, 0.1275, 0},
        {true, 150, 0, 0, 5, -6, 0.6, FAULT_ROLL},
        {false, 150, 0, 0, 19, 3, 0.0, 0},
        {false, 170, 0, 4, 5, 0, 0.0, 0},
        {false, 180, 0, 0, 5, 0, 1 / 6.0, 0},
        {false, 190, 0, 0, 5, 0, 1 / 3.0, FAULT_VELOCITY},
        {false, 150, 0, 4.5, 5, 0, 0.125, 0},
        {false, 150, 0, 6, 5, 0, 0.5, FAULT_DESCENT_RATE},
        {false, 150, 0, 0, 21, 0, 0.36, FAULT_PITCH},
        {false, 150, 0, 0, 5, 3.5, 0.203125, FAULT_ROLL},
        {false, 150, 0, 0, 5, -5, 1.0, FAULT_ROLL},
        {false, 150, 12, 20, 0, 5, 0.66659 + 4.0 + 0.666 + 1.0, FAULT_BETA | FAULT_DESCENT_RATE | FAULT_PITCH | FAULT_ROLL},
    };
    for (const auto& c : cases) {
        uint8_t faults = 0;
        const double damage =
            touchdown_damage(c.hard, c.knots * KNOTS, c.beta * DEG, c.sink, c.pitch * DEG, c.roll * DEG, faults);
        EXPECT_NEAR(damage, c.damage, 1e-6) << c.hard << " " << c.knots << " " << c.beta << " " << c.sink << " " << c.pitch << " " << c.roll;
        EXPECT_EQ(faults, c.faults) << c.hard << " " << c.knots << " " << c.sink << " " << c.pitch << " " << c.roll;
    }
}

TEST_F(Landing, TheGradeIsTheDamageAgainstAToleranceSetByTheForcesType) {
    const struct {
        int forces;
        double sink;  // 30 ft/s weighs 1.0 on a runway, 22 ft/s 0.5
        int grade;
    } cases[] = {{0, 0, 1}, {0, 22, 1}, {0, 30, 2}, {-5, 30, 2}, {5, 30, 3}, {8, 30, 4}, {10, 22, 2}, {10, 30, 5}, {20, 30, 5}};
    for (const auto& c : cases) {
        reset();
        forces_type = c.forces;
        EXPECT_EQ(assess_touchdown(150 * KNOTS, 0, c.sink, 5 * DEG, 0), c.grade) << c.forces << " " << c.sink;
        EXPECT_EQ(model_state.landed, 1);
        EXPECT_EQ(die_flag, c.grade == 5 ? END_CRASH : 0);
        EXPECT_EQ(landing_result, c.grade == 5 ? LANDING_CRASH : LANDING_NONE);
        if (c.grade == 5) {
            EXPECT_FLOAT_EQ(landing_damage_ratio, float(1.0 / std::clamp(2.0 - 0.1 * c.forces, 1.0, 2.0)));
        }
    }
    reset();
    die_flag = END_SHOT_DOWN;  // already ending: nothing to grade
    EXPECT_EQ(assess_touchdown(150 * KNOTS, 0, 30, 5 * DEG, 0), 0);
    EXPECT_EQ(model_state.landed, 0);
}

TEST_F(Landing, TheGearDownOnOpenGroundFoldsOnceAndCostsATenth) {
    stand_in_surface = FEATURE_UNKNOWN;
    EXPECT_EQ(assess_touchdown(150 * KNOTS, 0, 0, 5 * DEG, 0), 1);  // 0.1 of 2.0
    EXPECT_TRUE(has_failure(FAIL_GEAR));
    EXPECT_EQ(get_gear_state(), GEAR_UP);
    EXPECT_EQ(model_state.gear_up_flag, 1);
    EXPECT_EQ(model_state.ground, 0);
    // On its belly the next touchdown is graded as soft ground, with no more gear to damage.
    forces_type = 10;
    EXPECT_EQ(assess_touchdown(150 * KNOTS, 0, 4.0 + 0.31 * 4, 5 * DEG, 0), 2);
}

TEST_F(Landing, WaterDitchesTheAircraft) {
    for (const int water : {FEATURE_RIVER, FEATURE_LAKE, FEATURE_OCEAN}) {
        reset();
        stand_in_surface = water;
        EXPECT_EQ(assess_touchdown(150 * KNOTS, 0, 0, 5 * DEG, 0), 6);
        EXPECT_EQ(die_flag, END_DITCHED);
        reset();
        stand_in_surface = water;
        check_ground_roll();
        EXPECT_EQ(die_flag, END_DITCHED);
    }
}

TEST_F(Landing, ASafeLandingRearmsAndRefuelsInTheCombatGames) {
    const struct {
        int mode;
        bool rearmed;
    } cases[] = {{GAME_SINGLE, false},    {GAME_COMBAT, true},      {GAME_TWO_PLAYER_MISSION, false},
                 {GAME_PILOT_GUNNER, false}, {GAME_MULTI_PLAYER, true}, {GAME_CAPTURE_FLAG, true}};  // no flag task
    for (const auto& c : cases) {
        reset();
        game_mode = c.mode;
        init_model_mass(model_mass);
        model_mass.fuel = 1200.0;
        system_failures = {};
        set_failure(FAIL_FUEL);
        set_failure(FAIL_HYDRAULICS);
        flight_running = 1;
        EXPECT_EQ(assess_touchdown(150 * KNOTS, 0, 0, 5 * DEG, 0), 1);
        EXPECT_EQ(model_mass.fuel, c.rearmed ? model_start_fuel : 1200.0) << c.mode;
        EXPECT_EQ(!has_failure(FAIL_FUEL) && !has_failure(FAIL_HYDRAULICS), c.rearmed) << c.mode;
        EXPECT_EQ(flight_running, 1);
    }
}

TEST_F(Landing, CrashingOffOrInvincibleEveryTouchdownWeighsAHalf) {
    crashing_off = 1;
    EXPECT_EQ(assess_touchdown(400 * KNOTS, 0, 50, -10 * DEG, 0), 1);
    crashing_off = 0;
    invincible = 1;
    forces_type = 10;
    EXPECT_EQ(assess_touchdown(400 * KNOTS, 0, 50, -10 * DEG, 0), 2);
    EXPECT_EQ(landing_faults, 0);
}

TEST_F(Landing, RollingTooFastForTheSurfaceFoldsTheGearAndEndsTheFlightLater) {
    const struct {
        int surface;
        int32_t knots;
        bool folds;
    } cases[] = {{FEATURE_UNKNOWN, 50, false}, {FEATURE_UNKNOWN, 51, true}, {FEATURE_RUNWAY, 250, false},
                 {FEATURE_TAXIWAY, 251, true}, {FEATURE_ROAD, 251, true},   {FEATURE_RAILWAY, 400, false}};
    for (const auto& c : cases) {
        reset();
        stand_in_surface = c.surface;
        player_flight_data.airspeed = c.knots;
        check_ground_roll();
        EXPECT_EQ(gear_collapsed, c.folds) << c.surface << " " << c.knots;
        EXPECT_EQ(get_gear_state(), c.folds ? GEAR_UP : GEAR_DOWN);
        EXPECT_EQ(landing_result, c.folds ? LANDING_GEAR_COLLAPSE : LANDING_NONE);
    }
    // Down on its belly again, the end comes 1,000 ticks later.
    reset();
    stand_in_surface = FEATURE_UNKNOWN;
    player_flight_data.airspeed = 120;
    check_ground_roll();
    EXPECT_EQ(model_state.ground, 0);
    EXPECT_EQ(pending_end_reason, 0);
    game_clock = 500;
    model_state.ground = 1;
    check_ground_roll();
    EXPECT_EQ(pending_end_reason, END_CRASH);
    EXPECT_EQ(pending_end_time, 1500);
}

TEST_F(Landing, GroundAboveSeaLevelIsNoPlaceToRoll) {
    stand_in_surface = FEATURE_RAILWAY;
    check_ground_roll();
    EXPECT_EQ(die_flag, 0);
    TerrainPost& post = terrain_posts[1000 * 256 >> 20][2000 * 256 >> 20];
    post.height = 50;
    check_ground_roll();
    post.height = 0;
    EXPECT_EQ(die_flag, END_CRASH);
}

TEST_F(Landing, FlyingFastWithTheGearOutDamagesItSoonerOrLater) {
    model_state.ground = 0;
    player_flight_data.airspeed = 300;
    for (int i = 0; i < 1000; ++i) check_ground_roll();
    EXPECT_FALSE(has_failure(FAIL_GEAR));
    player_flight_data.airspeed = 301;
    for (int i = 0; i < 1000 && !has_failure(FAIL_GEAR); ++i) check_ground_roll();
    EXPECT_TRUE(has_failure(FAIL_GEAR));
    EXPECT_EQ(get_gear_state(), GEAR_DOWN);  // damaged, still down
}

TEST_F(Landing, FlyingIntoAMoverAGroundObjectOrACraterEndsTheFlight) {
    ObjectInstance tanker{};
    tanker.object_type = 68;
    Pose tanker_pose{};
    tanker.pose = &tanker_pose;
    tanker.owner_kind = OWNER_DRONE;
    Drone drone_record{};
    drone_record.destroyed = 1;  // a wreck already: the collision kills nothing more
    tanker.owner = &drone_record;
    ground_object hangar{};
    hangar.type = 812;
    const struct {
        ObjectInstance* mover;
        ground_object* ground;
        int crater;
        int32_t travel;  // ft this update
        int32_t object;
        int segments;
    } cases[] = {
        {nullptr, nullptr, 0, 10, 0, 0},     {&tanker, nullptr, 0, 10, 68, 0}, {&tanker, &hangar, 1, 40, 68, 1},
        {nullptr, &hangar, 1, 10, 812, 0},   {nullptr, nullptr, 1, 29, 11, 0},  {nullptr, nullptr, 1, 31, 11, 1},
    };
    for (const auto& c : cases) {
        reset();
        stand_in_mover = c.mover;
        stand_in_ground_object = c.ground;
        stand_in_crater = c.crater;
        previous_position = {1000 * 256, 2000 * 256 - c.travel * 256, 0};
        model_state.landed = 1;
        check_collisions();
        EXPECT_EQ(die_flag, c.object ? END_COLLISION : 0) << c.object;
        EXPECT_EQ(collision_object, c.object);
        EXPECT_EQ(collision_owner, c.mover ? &drone_record : nullptr);
        EXPECT_EQ(stand_in_segment_queries, c.segments) << c.object << " " << c.travel;
    }
    clear_landing_outcome();  // a new flight has hit nothing yet
    EXPECT_EQ(collision_object, 0);
    EXPECT_EQ(collision_owner, nullptr);
}

// The sea under a carrier is no place to ditch, and an aircraft parked level and still on its
// deck has no fault to weigh: even at the least tolerance the gear stays whole and the combat
// game repairs the aircraft as after any safe landing.
TEST_F(Landing, ALandingOnACarrierDeckIsPerfect) {
    ObjectInstance ship{};
    ship.object_type = 700;
    for (const int surface : {FEATURE_OCEAN, FEATURE_RUNWAY}) {
        reset();
        stand_in_surface = surface;
        forces_type = 10;  // the least tolerance: grade 1 only below 0.3
        game_mode = GAME_COMBAT;
        system_failures = {};
        set_failure(FAIL_HYDRAULICS);  // repaired by a safe landing
        model_state.ground = model_state.landed = 0;
        player_flight_data.heading = 0x20000000;
        player_flight_data.pitch = 0x08000000;
        player_flight_data.roll = -0x10000000;
        player_position->matrix = {};
        land_on_deck(&ship);
        EXPECT_EQ(model_state.landed, 1) << surface;
        EXPECT_EQ(die_flag, 0) << surface;
        EXPECT_EQ(landing_faults, 0) << surface;
        EXPECT_FALSE(has_failure(FAIL_HYDRAULICS)) << surface;
        EXPECT_EQ(get_gear_state(), GEAR_DOWN) << surface;
        EXPECT_EQ(player_flight_data.pitch, 0);
        EXPECT_EQ(player_flight_data.roll, 0);
        Matrix3 level;
        build_rotation_matrix(0x20000000, 0, 0, level);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                EXPECT_EQ(player_position->matrix[row][column], level[row][column]) << row << " " << column;
    }
}

// Down again within 200 ticks of leaving the ground the aircraft has bounced: it is landed, but
// the touchdown is not graded a second time. After that it is a new landing, and lifting off
// lets the end at the last waypoint be asked for again.
TEST_F(Landing, ABounceWithinTwoHundredTicksIsNotGradedAgain) {
    forces_type = 10;
    touchdown.sink_rate = 40;  // a crash landing, were it graded
    touchdown.pitch = 5 * DEG;
    air_data.vt = 150 * KNOTS;
    model_state.landed = 1;
    destination_handled = 1;
    const struct {
        int32_t clock;
        int32_t ground;
        int32_t landed;
        int32_t die;
    } steps[] = {
        {1000, 0, 0, 0},           // lift-off
        {1200, 1, 1, 0},           // down 200 ticks later: a bounce
        {1300, 0, 0, 0},           // off again
        {1501, 1, 1, END_CRASH},   // 201 ticks: graded
    };
    for (const auto& step : steps) {
        game_clock = step.clock;
        model_state.ground = step.ground;
        check_touchdown();
        EXPECT_EQ(model_state.landed, step.landed) << step.clock;
        EXPECT_EQ(die_flag, step.die) << step.clock;
        EXPECT_EQ(destination_handled, 0) << step.clock;  // cleared at the first lift-off
    }
    EXPECT_EQ(landing_result, LANDING_CRASH);
}

// Capture the flag: a blue flag among the drones of the fourth task, less than 200 ft from the
// aircraft as the root of the squares counts it, is taken at a safe landing, and that ends the
// flight with nothing rearmed; any other landing rearms as in the multi-player game.
TEST_F(Landing, AFlagWithinReachIsCapturedInsteadOfARearm) {
    const struct {
        int task;    // 0: the first
        int before;  // a drone of this type leads the task before the flag; 0 none
        int object;
        int32_t dx, dy;
        bool captured;
    } cases[] = {
        {3, 0, OBJ_BLUE_FLAG, 199 * FT, 0, true},
        {3, 0, OBJ_BLUE_FLAG, -200 * FT, 0, false},
        {3, 0, OBJ_BLUE_FLAG, 0, -199 * FT, true},
        {3, 0, OBJ_BLUE_FLAG, 36203, 36203, true},   // 51,198.98 units
        {3, 0, OBJ_BLUE_FLAG, 36204, 36204, false},  // 51,200.39
        {3, OBJ_RED_FLAG, OBJ_BLUE_FLAG, 0, 0, true},
        {3, 0, OBJ_RED_FLAG, 0, 0, false},
        {2, 0, OBJ_BLUE_FLAG, 0, 0, false},
        {4, 0, OBJ_BLUE_FLAG, 0, 0, false},
    };
    for (const auto& c : cases) {
        reset();
        destroy_all_tasks();
        Task* tasks[5];
        for (Task*& t : tasks) t = task(SIDE_ALLIED, TASK_FORTIFICATIONS);
        if (c.before) drone(tasks[c.task], c.before);
        const Vector3& at = player_position->position;
        set_drone_position(drone(tasks[c.task], c.object), at.x + c.dx, at.y + c.dy, 0);
        game_mode = GAME_CAPTURE_FLAG;
        flight_running = 1;
        init_model_mass(model_mass);
        model_mass.fuel = 1200.0;
        system_failures = {};
        set_failure(FAIL_HYDRAULICS);
        EXPECT_EQ(assess_touchdown(150 * KNOTS, 0, 0, 5 * DEG, 0), 1);
        EXPECT_EQ(flight_running, c.captured ? 0 : 1) << c.task << " " << c.object << " " << c.dx << " " << c.dy;
        EXPECT_EQ(model_mass.fuel, c.captured ? 1200.0 : model_start_fuel);
        EXPECT_EQ(has_failure(FAIL_HYDRAULICS), c.captured);
    }
}

// The player's route, its last waypoint the current one.
class AtTheLastWaypoint : public Landing {
protected:
    void SetUp() override {
        Landing::SetUp();
        reset_gameplay_grid();  // every cell the player's until the mission says otherwise
        user_drone = drone(task(SIDE_ALLIED, TASK_STRIKE), 219, {WAYPOINT_DEPARTURE, WAYPOINT_LANDING});
        last = get_last_waypoint(user_drone->first_waypoint);
        user_drone->current_waypoint = last;
    }
    // The arrival test of the gameplay grid: a runway in a cell of the player's side.
    bool arrived() const {
        const Vector3& at = player_position->position;
        return is_friendly_runway(at.x, at.y, last);
    }
    Waypoint* last = nullptr;
};

// Standing still on a friendly runway at the end of the route asks once for the end of the
// mission; having lifted off and come to rest again, it asks again.
TEST_F(AtTheLastWaypoint, ComingToRestAsksForTheEndOnce) {
    if (!arrived()) GTEST_SKIP() << "the gameplay grid finds no friendly runway yet";
    stand_still();
    EXPECT_EQ(quit_request, 1);
    EXPECT_EQ(destination_handled, 1);
    quit_request = 0;
    for (int check = 0; check < 3; ++check) stand_still();
    EXPECT_EQ(quit_request, 0);

    game_clock += 10;
    model_state.ground = 0;
    check_touchdown();  // lift-off
    EXPECT_EQ(destination_handled, 0);
    EXPECT_EQ(quit_request, 0);
    stand_still();  // down again, graded, and at rest
    EXPECT_EQ(quit_request, 1);
}

// Only still, on the ground, landed, at a check, with no end on its way; a player with no route
// has not arrived (and the arrival test, which demands a waypoint, is not asked).
TEST_F(AtTheLastWaypoint, TheEndWaitsForTheAircraftToStandStillLanded) {
    const bool arrival = arrived();
    const struct {
        const char* name;
        double vt;
        int32_t ground, landed, pending;
        bool route;
        bool asks;
    } cases[] = {
        {"still", 0.0, 1, 1, 0, true, true},
        {"creeping", 0.1, 1, 1, 0, true, false},
        {"in the air", 0.0, 0, 1, 0, true, false},
        {"bounced", 0.0, 1, 0, 0, true, false},
        {"crash pending", 0.0, 1, 1, END_CRASH, true, false},
        {"no route", 0.0, 1, 1, 0, false, false},
    };
    for (const auto& c : cases) {
        quit_request = destination_handled = 0;
        touchdown = {};
        touchdown.previous_ground = c.ground;
        model_state.ground = c.ground;
        model_state.landed = c.landed;
        air_data.vt = c.vt;
        pending_end_reason = c.pending;
        user_drone->current_waypoint = c.route ? last : nullptr;
        game_clock = 1;
        check_touchdown();
        EXPECT_EQ(quit_request, c.asks && arrival) << c.name;
    }
    // Before the check is due nothing is asked.
    quit_request = 0;
    pending_end_reason = 0;
    user_drone->current_waypoint = last;
    touchdown.next_destination_check = 1000;
    game_clock = 1000;
    check_touchdown();
    EXPECT_EQ(quit_request, 0);
}

}  // namespace
}  // namespace vyr
