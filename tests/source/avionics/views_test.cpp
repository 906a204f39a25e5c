#include "source/avionics/views.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/graphics/palette.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/maths/vector.h"
#include "library/system/key.h"
#include "library/system/winmain.h"
#include "platform/accel/framebuffer.h"
#include "source/avionics/avionics.h"
#include "source/avionics/g_effects.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/panel.h"
#include "source/avionics/night_vision.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/task.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sknet/net_players.h"
#include "source/weapons/launch.h"
#include "source/weapons/rounds.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"
#include "tests/library/3dvisual/header_table.h"
#include "tests/support/empty_flight_world.h"

namespace vyr {
namespace {

namespace accel = platform::accel;

int32_t distance(const Vector3& a, const Vector3& b) { return measure_distance_3d(a.x - b.x, a.y - b.y, a.z - b.z); }

// The player's aircraft flying north at 3,000 ft over an empty world, the views just set up and
// the flight in the cockpit view.
class Views : public EmptyFlightWorld {
protected:
    void SetUp() override {
        EmptyFlightWorld::SetUp();
        network_role = NET_ROLE_NONE;
        control_mode = CONTROL_PILOT;
        init_drone_types();
        Drone* own = create_drone(create_task());
        set_drone_type(own, OBJ_VYR_HOVREN_TALSWEEP);
        own->pose.position = {1 << 27, 1 << 27, 3000 * FOOT};
        set_identity_matrix(own->pose.matrix);
        create_user_drone();
        init_flight_model();
        set_frame(10);
        game_clock = 1000;
        camera_permission = 1;
        zoom_closer = 0;
        autoland_engaged = 0;
        other_player_drone = nullptr;
        reset_designation();
        for (int scan : {SCAN_LEFT_SHIFT, SCAN_RIGHT_SHIFT, SCAN_0, SCAN_9}) key_down[scan] = 0;
        init_views();
        init_g_effects();
        init_night_vision();
        flight_running = 1;
        ASSERT_EQ(set_view_mode(VIEW_COCKPIT), 1);
    }
    void TearDown() override {
        shutdown_views();
        free_g_effects();
        flight_running = 0;
        game_mode = GAME_SINGLE;
        connection_mode = CONNECTION_NONE;
        network_role = NET_ROLE_NONE;
        destroy_all_tasks();
        user_drone = nullptr;
        accel::shut_down();
        shutdown_world();
        EmptyFlightWorld::TearDown();
    }

    static void set_frame(int32_t ticks) {
        frame_ticks = ticks;
        frame_seconds = ticks * 0.005;
        frame_fraction = int32_t(frame_seconds * 2147483647.0);
    }

    static void render() {
        accel::clear_buffer(0);
        render_view();
    }

    static const Vector3& aircraft() { return player_position->position; }
};

TEST_F(Views, EachModeIsAllowedOnlyInItsSituation) {
    ObjectInstance other = {};
    Pose other_pose = {};
    other.pose = &other_pose;
    const struct {
        const char* situation;
        int32_t current;
        int32_t mode;
        int32_t allowed;
        void (*arrange)();
    } cases[] = {
        {"the cockpit from the cockpit", VIEW_COCKPIT, VIEW_COCKPIT, 0, [] {}},
        {"the cockpit for a gunner", VIEW_ORBIT_SELF, VIEW_COCKPIT, 0, [] { control_mode = CONTROL_GUNNER; }},
        {"the cockpit under autoland", VIEW_ORBIT_SELF, VIEW_COCKPIT, 0, [] { autoland_engaged = 1; }},
        {"the orbit again", VIEW_ORBIT_SELF, VIEW_ORBIT_SELF, 0, [] {}},
        {"the drone view with nothing chosen", VIEW_COCKPIT, VIEW_DRONE, 0, [] {}},
        {"the airframe camera", VIEW_COCKPIT, VIEW_AIRFRAME_CAMERA, 1, [] {}},
        {"the airframe camera without permission", VIEW_COCKPIT, VIEW_AIRFRAME_CAMERA, 0,
         [] { camera_permission = 0; }},
        {"the runway camera again", VIEW_RUNWAY_CAMERA, VIEW_RUNWAY_CAMERA, 0, [] {}},
        {"the weapon view with no round", VIEW_COCKPIT, VIEW_WEAPON, 0, [] {}},
        {"F8 with nothing designated", VIEW_COCKPIT, VIEW_TARGET, 0, [] {}},
        {"F8 on a fixed point", VIEW_COCKPIT, VIEW_TARGET, 1, [] { designated_target.kind = TARGET_FIXED_POINT; }},
        {"F9 on a fixed point", VIEW_COCKPIT, VIEW_TO_TARGET, 0, [] { designated_target.kind = TARGET_FIXED_POINT; }},
        {"the frozen camera again", VIEW_FROZEN_CAMERA, VIEW_FROZEN_CAMERA, 1, [] {}},
        {"the fly-by", VIEW_COCKPIT, VIEW_FLYBY, 1, [] {}},
        {"the orbit-object view", VIEW_COCKPIT, VIEW_ORBIT_OBJECT, 0, [] {}},
        {"anything from the crash", VIEW_CRASH, VIEW_ORBIT_SELF, 0, [] {}},
        {"anything from the ejection", VIEW_EJECTION, VIEW_FLYBY, 0, [] {}},
    };
    for (const auto& c : cases) {
        view_mode = c.current;
        control_mode = CONTROL_PILOT;
        autoland_engaged = 0;
        camera_permission = 1;
        reset_designation();
        designated_target.position = aircraft();
        drone_view_object = nullptr;  // every new drone offers itself to the drone view
        c.arrange();
        EXPECT_EQ(is_view_mode_allowed(c.mode), c.allowed) << c.situation;
    }
    view_mode = VIEW_COCKPIT;
    control_mode = CONTROL_PILOT;
    autoland_engaged = 0;
    set_drone_view_object(&other);
    EXPECT_EQ(is_view_mode_allowed(VIEW_DRONE), 1) << "the drone view with a drone chosen";
    views_locked = 1;
    EXPECT_EQ(set_view_mode(VIEW_FLYBY), 0) << "locked views refuse everything";
    views_locked = 0;
}

TEST_F(Views, OrbitSelfTintsColour255AndTheCockpitRestoresItExactly) {
    const uint8_t original[3] = {base_palette[765], base_palette[766], base_palette[767]};
    ASSERT_EQ(view_key(SCAN_F6), 1);
    EXPECT_EQ(view_mode, VIEW_ORBIT_SELF);
    EXPECT_EQ(base_palette[765], 236);
    EXPECT_EQ(base_palette[766], 194);
    EXPECT_EQ(base_palette[767], 28);
    EXPECT_TRUE(view_settings.flags & VIEW_SHOW_OWN_OBJECT) << "the own aircraft is drawn outside";
    view_key(SCAN_F5);
    view_key(SCAN_F5);
    EXPECT_EQ(view_mode, VIEW_COCKPIT);
    EXPECT_EQ(0, std::memcmp(base_palette + 765, original, 3));
    EXPECT_FALSE(view_settings.flags & VIEW_SHOW_OWN_OBJECT);
}

TEST_F(Views, F11AgainReseatsTheFrozenCamera60FeetBehind) {
    ASSERT_EQ(set_view_mode(VIEW_FROZEN_CAMERA), 1);
    render();
    const Vector3 first = view_camera_pose.position;
    EXPECT_EQ(first.y, aircraft().y - 60 * FOOT);
    player_position->position.y += 5000 * FOOT;  // the aircraft flies on; the camera stays
    render();
    EXPECT_EQ(view_camera_pose.position.y, first.y);
    view_key(SCAN_F11);
    render();
    EXPECT_EQ(view_camera_pose.position.y, aircraft().y - 60 * FOOT);
    EXPECT_EQ(view_camera_pose.position.x, aircraft().x);
}

TEST_F(Views, RearViewsLastWhileHeldOrLatched) {
    key_down[SCAN_0] = 1;
    view_key(KEY_ANY_MODIFIERS | SCAN_0);
    ASSERT_EQ(view_mode, VIEW_REAR_LEFT);
    render();
    EXPECT_EQ(pending_view_mode, -1);
    // Looking straight back from ahead of and above the aircraft.
    EXPECT_EQ(view_camera_pose.position.y, aircraft().y + 3225);
    EXPECT_EQ(view_camera_pose.position.z, aircraft().z + 750);
    EXPECT_LT(view_camera_pose.matrix[1][1], -0x7F000000);
    key_down[SCAN_0] = 0;
    render();
    EXPECT_EQ(pending_view_mode, VIEW_COCKPIT) << "let go, the view returns";
    pending_view_mode = -1;
    set_view_mode(VIEW_COCKPIT);

    key_down[SCAN_LEFT_SHIFT] = 1;
    view_key(KEY_ANY_MODIFIERS | SCAN_9);
    key_down[SCAN_LEFT_SHIFT] = 0;
    ASSERT_EQ(view_mode, VIEW_REAR_RIGHT);
    render();
    render();
    EXPECT_EQ(pending_view_mode, -1) << "latched with Shift, it stays";
}

TEST_F(Views, TheAirframePresetWrapsAndTheCameraRidesAtItsOffset) {
    for (int i = 0; i < 16; ++i) view_key(KEY_CTRL | KEY_SHIFT | 0x2F);
    EXPECT_EQ(airframe_preset, 16);
    ASSERT_EQ(set_view_mode(VIEW_AIRFRAME_CAMERA), 1);
    render();
    EXPECT_EQ(view_camera_pose.position.y, aircraft().y - 11000);
    EXPECT_EQ(view_camera_pose.position.z, aircraft().z + 2500);
    view_key(KEY_CTRL | KEY_SHIFT | 0x2F);
    EXPECT_EQ(airframe_preset, 0);
    render();
    EXPECT_EQ(view_camera_pose.position.y, aircraft().y + 3000);
}

TEST_F(Views, TheOrbitCameraStandsOffByTheObjectNumber) {
    HeaderTable headers(1200);
    headers.add(1038, 40 * FOOT, 10 * FOOT, 0);
    headers.add(500, 40 * FOOT, 10 * FOOT, 0);
    Pose pose = {{(1 << 27) + 1000 * FOOT, 1 << 27, 3000 * FOOT}, {}};
    set_identity_matrix(pose.matrix);
    ObjectInstance object = {};
    object.pose = &pose;
    const struct {
        int number;
        int32_t closer;
        int32_t expected;
    } cases[] = {
        {103, 0, 0x3000}, {316, 0, 0xC800}, {606, 0, 0x3200}, {606, 1, 0xA00},
        {640, 0, 0x1000}, {1038, 0, 40 * FOOT}, {500, 0, 160 * FOOT},
    };
    set_drone_view_object(&object);
    for (const auto& c : cases) {
        object.object_type = c.number;
        zoom_closer = c.closer;
        set_view_mode(VIEW_COCKPIT);
        ASSERT_EQ(set_view_mode(VIEW_DRONE), 1);
        render();
        EXPECT_NEAR(distance(view_camera_pose.position, pose.position), c.expected, 2) << c.number;
    }
}

TEST_F(Views, TheTargetViewReturns600TicksAfterItsTargetDies) {
    HeaderTable headers(1200);
    headers.add(500, 20 * FOOT, 10 * FOOT, 0);
    Drone* tank = create_drone(create_task());
    set_drone_type(tank, 500);
    tank->pose.position = {(1 << 27) + 3000 * FOOT, (1 << 27) + 3000 * FOOT, 3000 * FOOT};
    designated_target = tank->target;
    designated_target.kind = TARGET_MOBILE;
    designated_target.object = &tank->object;
    ASSERT_EQ(set_view_mode(VIEW_TARGET), 1);
    render();
    // 80 ft on the far side of the target, 30 ft up, looking back at the aircraft.
    EXPECT_NEAR(distance(view_camera_pose.position, tank->pose.position), 85 * FOOT, 4 * FOOT);
    tank->object.flags |= INSTANCE_INACTIVE;
    reset_designation();
    const int32_t died = game_clock;
    while (view_mode == VIEW_TARGET && game_clock < died + 2000) {
        game_clock += 10;
        render();
    }
    EXPECT_EQ(view_mode, VIEW_COCKPIT);
    EXPECT_EQ(game_clock, died + 10 + 600) << "600 ticks after the first frame that sees it dead";
}

TEST_F(Views, TheWeaponViewFollowsARoundUntilItNearsItsAimPoint) {
    init_weapon_info();
    clear_rounds();
    Pose launch = {};
    launch.position = aircraft();
    set_identity_matrix(launch.matrix);
    Target aim = {};
    aim.kind = TARGET_FIXED_POINT;
    aim.position = {aircraft().x, aircraft().y + 20000 * FOOT, aircraft().z};
    WeaponRound* round = activate_round(launch_guided_round(WEAPON_AIM_9M, launch, &user_drone->target, nullptr, &aim, user_drone));
    ASSERT_NE(round, nullptr);
    set_weapon_view_object(round);
    ASSERT_EQ(set_view_mode(VIEW_WEAPON), 1);
    Vector3& at = get_round_object(round)->pose->position;
    const struct {
        int32_t short_of_aim;
        int32_t view;
    } steps[] = {{0xA410 + FOOT, VIEW_WEAPON}, {0xA410 + 1, VIEW_WEAPON}, {0xA410 - 1, VIEW_FROZEN_CAMERA}};
    for (const auto& s : steps) {
        at = {aim.position.x, aim.position.y - s.short_of_aim, aim.position.z};
        render();
        EXPECT_EQ(view_mode, s.view) << s.short_of_aim << " units short of the aim point";
    }
    const Vector3 frozen = view_camera_pose.position;
    at.y += 1000 * FOOT;
    render();
    EXPECT_EQ(view_camera_pose.position.x, frozen.x) << "the camera stays where it froze";
    EXPECT_EQ(view_camera_pose.position.y, frozen.y);
    clear_rounds();
}

TEST_F(Views, TheListenerIsTheCameraAndInsideViewsHearTheLoopCentred) {
    player_flight_data.afterburner_percent = 100;
    player_flight_data.engine_percent = 100;
    render();
    EXPECT_NEAR(distance(view_camera_pose.position, aircraft()), 3533, 2) << "the pilot's eye, ahead of and above the origin";
    EXPECT_EQ(view_sound.loop_level, 30);
    EXPECT_EQ(view_sound.loop_pan, 0x8000);
    EXPECT_EQ(view_sound.afterburner_level, 63 * 140 / 200);
    EXPECT_EQ(view_sound.engine_rate, 11025 + 200 * 40);
    set_view_mode(VIEW_FLYBY);
    player_position->position.y += 1000 * FOOT;
    render();
    EXPECT_EQ(view_camera_pose.position.y, aircraft().y - 1000 * FOOT) << "the listener stays at the fixed point";
}

// The crash circles for four seconds, darkening over the last two, then goes on by the game.
class Crash : public Views {
protected:
    // Frames of 0.05 s until the crash camera is left or 5 s have passed; the frames run.
    int run_crash() {
        set_frame(10);
        int frames = 0;
        while (view_mode == VIEW_CRASH && flight_running && frames < 100 && !end_countdown) {
            render();
            ++frames;
        }
        return frames;
    }
};

TEST_F(Crash, ASinglePlayerFlightEndsAfterFourSeconds) {
    enter_crash_view();
    ASSERT_EQ(view_mode, VIEW_CRASH);
    for (int i = 0; i < 50; ++i) render();  // 2.5 s
    EXPECT_EQ(flight_running, 1);
    EXPECT_GT(crash_timer, 0x40000000);
    EXPECT_EQ(set_view_mode(VIEW_COCKPIT), 0) << "no way out of the crash";
    run_crash();
    EXPECT_EQ(flight_running, 0);
    EXPECT_EQ(crash_timer, 0x7FFFFFFF);
}

TEST_F(Crash, ADeathmatchRestartsInTheCockpit) {
    game_mode = GAME_MULTI_PLAYER;
    network_role = NET_ROLE_PEER;
    enter_crash_view();
    const int frames = run_crash();
    EXPECT_NEAR(frames, 80, 1) << "four seconds of 0.05-second frames";
    EXPECT_EQ(view_mode, VIEW_COCKPIT);
    EXPECT_EQ(crash_timer, 0);
    EXPECT_EQ(flight_running, 1);
}

TEST_F(Crash, ATwoPlayerMissionWatchesTheOtherAircraftForGood) {
    game_mode = GAME_TWO_PLAYER_MISSION;
    connection_mode = CONNECTION_DIRECT;
    Drone* other = create_drone(create_task());
    set_drone_type(other, OBJ_VYR_HOVREN_TALSWEEP);
    other_player_drone = other;
    enter_crash_view();
    run_crash();
    EXPECT_EQ(view_mode, VIEW_DRONE);
    EXPECT_EQ(drone_view_object, &other->object);
    EXPECT_EQ(views_locked, 1);
    EXPECT_EQ(set_view_mode(VIEW_COCKPIT), 0);
    EXPECT_EQ(flight_running, 1);
    other_player_drone = nullptr;
}

TEST_F(Crash, ATwoPlayerGameWithoutTheOtherAircraftSchedulesTheEnd) {
    game_mode = GAME_COMBAT;
    connection_mode = CONNECTION_DIRECT;
    enter_crash_view();
    run_crash();
    EXPECT_GT(end_countdown, 0);
    end_countdown = 0;
}

TEST_F(Views, AnEjectionRisesOpensTheParachuteAndFades) {
    EXPECT_EQ(eject_key(KEY_CTRL | SCAN_E), 1);
    ASSERT_EQ(view_mode, VIEW_EJECTION);
    EXPECT_EQ(pilot_ejected, 1);
    const int32_t start = aircraft().z;
    int frames = 0;
    while (flight_running && frames < 400) {
        game_clock += 10;
        render();
        ++frames;
    }
    EXPECT_EQ(flight_running, 0) << "a single player's ejection ends the flight";
    EXPECT_GT(view_camera_pose.position.z, start);
    // The thrust falls by 0.3 every second to below 0.1 after three, then ten frames of fade.
    EXPECT_NEAR(frames, 3 * 20 + 11, 2);
}

TEST_F(Views, NoEjectionInMultiplayerGames) {
    for (int32_t mode : {GAME_COMBAT, GAME_TWO_PLAYER_MISSION, GAME_MULTI_PLAYER, GAME_CAPTURE_FLAG}) {
        game_mode = mode;
        eject_key(KEY_CTRL | SCAN_E);
        EXPECT_EQ(view_mode, VIEW_COCKPIT) << mode;
        EXPECT_EQ(pilot_ejected, 0) << mode;
    }
}


// The aircraft 4 nm out on the approach to a runway heading north, at 1,200 ft, the airfield's
// beacon at its southern end; the throttle already closed.
class Autoland : public Views {
protected:
    void SetUp() override {
        Views::SetUp();
        clear_airfields();
        Airfield& field = airfield_table[0];
        field.x = BEACON.x;
        field.y = BEACON.y + 5000 * FOOT;
        field.in_use = OBJ_ILS_BEACON;
        std::snprintf(field.name, sizeof field.name, "HOME");
        field.beacons[0] = {BEACON.x, BEACON.y, 0, 0, 0, 0, 0, 36, OBJ_ILS_BEACON};
        current_airfield = 0;
        system_failures = {};
        player_flight_data.engine_percent = 0;
        player_flight_data.airspeed = 180;
        gear_state = GEAR_UP;
        air_brake_state = AIR_BRAKE_CLOSED;
        wheel_brake_state = 0;
        approach(4 * 1555456);
    }
    void TearDown() override {
        reset_autoland();
        clear_airfields();
        Views::TearDown();
    }
    // On the centre line `distance` before the beacon, on a 3-degree slope.
    static void approach(int32_t distance) {
        player_position->position = {BEACON.x, BEACON.y - distance, int32_t(distance * 0.0524) + 20 * FOOT};
        player_flight_data.heading = player_flight_data.pitch = player_flight_data.roll = 0;
        update_ils_localizer();
        update_ils_glide_slope();
        update_ils_state();
    }
    static constexpr Vector3 BEACON = {(1 << 27), (1 << 27) - 40000 * FOOT, 0};
};

TEST_F(Autoland, RefusalsComeInOrderAndADeathmatchIsSilent) {
    const struct {
        const char* reason;
        void (*arrange)();
    } cases[] = {
        {"gear failure", [] {
             set_failure(FAIL_GEAR);
             set_failure(FAIL_AUTOPILOT);
         }},
        {"autopilot failure", [] { set_failure(FAIL_AUTOPILOT); }},
        {"no ils beacon", [] { airfield_table[0].beacons[0].type = 0; }},
        {"outside ils cone", [] { player_position->position.x += 3 * 1555456; update_ils_localizer(); update_ils_state(); }},
        {"too close", [] { approach(int32_t(2.5 * 1555456)); }},
        {"heading <> runway", [] { player_flight_data.heading = int32_t(0x80000000u); }},
        {"pitch too extreme", [] { player_flight_data.pitch = int32_t(20 * DEGREE); }},
        {"roll too extreme", [] { player_flight_data.roll = -int32_t(20 * DEGREE); }},
    };
    for (const auto& c : cases) {
        system_failures = {};
        airfield_table[0].beacons[0].type = OBJ_ILS_BEACON;
        approach(4 * 1555456);
        c.arrange();
        const char* reason = check_autoland();
        EXPECT_STREQ(reason ? reason : "none", c.reason);
        toggle_autoland(KEY_ALT | 0x1E);
        EXPECT_EQ(autoland_on, 0) << c.reason;
    }
    system_failures = {};
    approach(4 * 1555456);
    EXPECT_EQ(check_autoland(), nullptr);
    game_mode = GAME_MULTI_PLAYER;
    toggle_autoland(KEY_ALT | 0x1E);
    EXPECT_EQ(autoland_on, 0) << "nothing happens in a deathmatch";
    EXPECT_EQ(view_mode, VIEW_COCKPIT);
}

TEST_F(Autoland, TheRouteRunsFromTheBeaconAndComesBackOnDisengage) {
    Waypoint* own_route = user_drone->first_waypoint;
    toggle_autoland(KEY_ALT | 0x1E);
    ASSERT_EQ(autoland_on, 1);
    EXPECT_EQ(autoland_engaged, 1);
    EXPECT_EQ(view_mode, VIEW_AIRFRAME_CAMERA);
    const struct {
        int32_t y, z, speed;
        char letter;
    } expected[] = {{BEACON.y - 4055040, 128000, 86400, 'u'}, {BEACON.y - 2027520, 64000, 73440, 'v'},
                    {BEACON.y - 1013760, 32000, 64800, 'w'},  {BEACON.y, 0, 56160, 'x'},
                    {BEACON.y + 153600, 0, 0, 'y'},           {0, 0, 86400, 'z'}};
    const Waypoint* w = user_drone->first_waypoint;
    for (const auto& e : expected) {
        ASSERT_NE(w, nullptr);
        EXPECT_NEAR(w->y, e.y, 2) << e.letter;
        EXPECT_EQ(w->z, e.z) << e.letter;
        EXPECT_EQ(w->speed, e.speed) << e.letter;
        EXPECT_EQ(w->letter, e.letter);
        w = w->next;
    }
    toggle_autoland(KEY_ALT | 0x1E);
    EXPECT_EQ(autoland_on, 0);
    EXPECT_EQ(autoland_engaged, 0);
    EXPECT_EQ(view_mode, VIEW_COCKPIT);
    EXPECT_EQ(user_drone->first_waypoint, own_route);
}

TEST_F(Autoland, StagesByDistanceWithTheirCamerasToTheHandBack) {
    toggle_autoland(KEY_ALT | 0x1E);
    ASSERT_EQ(autoland_on, 1);
    const struct {
        int32_t distance;
        int32_t stage, view;
    } steps[] = {
        {3 * 1555456, 0, VIEW_AIRFRAME_CAMERA}, {1400000, 1, VIEW_AIRFRAME_CAMERA}, {700000, 2, VIEW_AIRFRAME_CAMERA},
        {600000, 2, VIEW_RUNWAY_CAMERA},        {380000, 3, VIEW_RUNWAY_CAMERA},    {100000, 4, VIEW_RUNWAY_CAMERA},
    };
    for (const auto& s : steps) {
        approach(s.distance);
        game_clock += 10;
        update_autoland();
        EXPECT_EQ(autoland_stage, s.stage) << s.distance;
        EXPECT_EQ(view_mode, s.view) << s.distance;
        render();
    }
    EXPECT_EQ(gear_state == GEAR_UP, false) << "the gear was lowered near the airfield";
    EXPECT_NE(air_brake_state, AIR_BRAKE_CLOSED);
    // Past the beacon on the roll-out the cone no longer holds; the drone's touchdown moves on.
    player_position->position = {BEACON.x, BEACON.y + 300 * FOOT, 0};
    update_autoland();
    EXPECT_EQ(autoland_on, 1);
    autoland_stage = 5;
    update_autoland();
    EXPECT_EQ(autoland_stage, 6);
    const int32_t touchdown = game_clock;
    game_clock = touchdown + 199;
    update_autoland();
    EXPECT_EQ(autoland_engaged, 1);
    game_clock = touchdown + 200;
    update_autoland();
    EXPECT_EQ(autoland_on, 0);
    EXPECT_EQ(autoland_engaged, 0);
    EXPECT_EQ(autoland_stage, 0);
    EXPECT_EQ(wheel_brake_state, 1);
    // The player's own camera keys still work.
    set_view_mode(VIEW_COCKPIT);
    view_key(KEY_SHIFT | 0x14);
    EXPECT_EQ(view_mode, VIEW_AIRFRAME_CAMERA);
    view_key(KEY_SHIFT | 0x18);
    EXPECT_EQ(view_mode, VIEW_RUNWAY_CAMERA);
}

TEST_F(Autoland, LeavingTheConeOnTheApproachDisengages) {
    toggle_autoland(KEY_ALT | 0x1E);
    ASSERT_EQ(autoland_on, 1);
    player_position->position.x += 3 * 1555456;
    update_ils_localizer();
    update_ils_state();
    update_autoland();
    EXPECT_EQ(autoland_on, 0);
    EXPECT_EQ(view_mode, VIEW_COCKPIT);
}

}  // namespace
}  // namespace vyr
