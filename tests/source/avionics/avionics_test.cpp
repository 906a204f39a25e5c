#include "source/avionics/avionics.h"

#include <gtest/gtest.h>

#include "library/3dvisual/view.h"
#include "library/os/file.h"
#include "source/avionics/failures.h"
#include "source/avionics/messages.h"
#include "source/avionics/targeting_pod.h"
#include "source/drone/waypoint.h"
#include "source/mission/game_flow.h"
#include "source/mission/quick_start.h"
#include "source/models/model_state.h"
#include "tests/source/radar/radar_world.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

class AvionicsTick : public RadarWorld {
protected:
    void SetUp() override {
        RadarWorld::SetUp();
        init_message_area();
        master_caution_state = 0;
        radar_on = 0;
        frame_seconds = 0.1;
        frame_fraction = int32_t(0.1 * 2147483648.0);
        set_game_flow(FLOW_SINGLE_MISSION);
        set_gear_state(GEAR_UP);
        model_state.dcm = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
        model_state.vel = {};
        register_avionics_keys();
        register_detail_keys();
    }
    void TearDown() override {
        user_drone = nullptr;
        set_game_flow(FLOW_NONE);
        init_message_area();
        RadarWorld::TearDown();
    }
    // A route of `count` waypoints 10 nm apart going north from the aircraft, the user drone's.
    Drone* route(int count) {
        Drone& d = drones.emplace_back();
        for (int i = 0; i < count; ++i)
            set_waypoint_position(append_waypoint(&d), START.x, START.y + (i + 1) * 10 * NAUTICAL_MILE, ALTITUDE);
        user_drone = &d;
        return &d;
    }
    static Waypoint* current() { return get_drone_current_waypoint(user_drone); }
    static Waypoint* nth(int n) {
        Waypoint* w = get_first_waypoint(current());
        while (n-- > 0) w = get_next_waypoint(w);
        return w;
    }
};

TEST_F(AvionicsTick, TheFirstTickScansAndTheRadarThenScansEveryQuarterSecond) {
    threat_update_timer = radar_scan_timer = 1.0f;  // as at program start
    frame_seconds = 0.125;
    selected_weapon = WEAPON_AGM_65G;  // a Maverick scans the ground with the radar off
    Drone* target = tank(ENEMY, ahead(5 * NAUTICAL_MILE));
    std::vector<int> scanned;
    for (int tick = 1; tick <= 7; ++tick) {
        ground_contact_head = ground_contact_tail = nullptr;
        update_avionics();
        if (!ground_list().empty()) {
            EXPECT_EQ(ground_list(), (std::vector<const void*>{&target->object}));
            scanned.push_back(tick);
        }
        EXPECT_EQ(radar_scan_due, !ground_list().empty());
        EXPECT_EQ(ground_scan_ran + air_scan_ran, 0);  // the radar's own sweeps did not run
    }
    EXPECT_EQ(scanned, (std::vector<int>{1, 4, 7}));
    EXPECT_EQ(threat_update_timer, 0.25f);  // updated on ticks 1 and 6
}

TEST_F(AvionicsTick, TheMasterCautionLightComesOnForANewFailureOnly) {
    set_failure(FAIL_GUN);
    update_avionics();
    EXPECT_EQ(system_failures.lamp_word & (LAMP_FAILURE_PRESENT | LAMP_MASTER_CAUTION),
              LAMP_FAILURE_PRESENT | LAMP_MASTER_CAUTION);
    press(SCAN_M);
    update_avionics();
    EXPECT_EQ(system_failures.lamp_word & (LAMP_FAILURE_PRESENT | LAMP_MASTER_CAUTION), LAMP_FAILURE_PRESENT);
    set_failure(FAIL_RADIO);  // another failure while one is present: the light stays out
    update_avionics();
    EXPECT_FALSE(system_failures.lamp_word & LAMP_MASTER_CAUTION);
    system_failures = {};
    update_avionics();
    EXPECT_EQ(system_failures.lamp_word & (LAMP_FAILURE_PRESENT | LAMP_MASTER_CAUTION), 0u);
    set_failure(FAIL_HUD);
    update_avionics();
    EXPECT_TRUE(system_failures.lamp_word & LAMP_MASTER_CAUTION);
}

TEST_F(AvionicsTick, SteerpointKeysWrapAroundTheRoute) {
    route(3);
    press(KEY_SHIFT | SCAN_N);
    EXPECT_EQ(current(), nth(2));
    press(SCAN_N);
    EXPECT_EQ(current(), nth(0));
    press(SCAN_N);
    EXPECT_EQ(current(), nth(1));
    control_mode = CONTROL_GUNNER;
    press(SCAN_N);
    EXPECT_EQ(current(), nth(1));
}

TEST_F(AvionicsTick, ZoomKeysStopAtTheirBounds) {
    struct Case {
        int page;
        int key;
        int32_t before, after;
    };
    for (const Case c : {Case{MFD_HSI, SCAN_PERIOD, 0x1000000, 0x800000}, {MFD_HSI, SCAN_PERIOD, 0x80000, 0x80000},
                         {MFD_HSI, SCAN_PERIOD, 12345, 0x80000}, {MFD_HSI, SCAN_COMMA, 0x80000, 0x100000},
                         {MFD_HSI, SCAN_COMMA, 0x1000000, 0x1000000}, {MFD_HSI, SCAN_COMMA, 12345, 0x1000000},
                         {MFD_POD, SCAN_PERIOD, 63, 64}, {MFD_POD, SCAN_PERIOD, 64, 64}, {MFD_POD, SCAN_COMMA, 2, 1},
                         {MFD_POD, SCAN_COMMA, 1, 1}}) {
        left_mfd_page = c.page;
        int32_t& value = c.page == MFD_HSI ? hsi_scale : pod_zoom;
        value = c.before;
        press(c.key | KEY_SHIFT);  // any modifiers
        EXPECT_EQ(value, c.after) << c.page << " " << c.key << " " << c.before;
        view_mode = VIEW_AIRFRAME_CAMERA;  // outside the cockpit the keys do nothing
        press(c.key);
        EXPECT_EQ(value, c.after);
        view_mode = VIEW_COCKPIT;
    }
    pod_zoom = 1;
}

TEST_F(AvionicsTick, DetailKeysChangeTheLiveViewSettings) {
    const ViewSettings kept = view_settings;
    const int32_t kept_life = smoke_life, kept_density = smoke_density, kept_ceiling = detail_ceiling;
    struct Case {
        int key;
        int32_t ViewSettings::*field;
        int32_t before, after;
    };
    for (const Case c : {Case{KEY_ALT | SCAN_1, &ViewSettings::visual_range, 9, 4},
                         {KEY_ALT | SCAN_7, &ViewSettings::visual_range, 4, 10},
                         {KEY_ALT | SCAN_F1, &ViewSettings::terrain_detail, 2, 2},
                         {KEY_ALT | SCAN_F2, &ViewSettings::object_textures, 0, 3},
                         {KEY_ALT | SCAN_F2, &ViewSettings::object_textures, 3, 2},
                         {KEY_ALT | SCAN_F2, &ViewSettings::object_textures, 2, 0},
                         {KEY_ALT | SCAN_F2, &ViewSettings::object_textures, 1, 1},
                         {KEY_ALT | SCAN_F3, &ViewSettings::flags, 0, VIEW_SHADOWS},
                         {KEY_ALT | SCAN_F4, &ViewSettings::object_visual_range, 0x200000, 0x400000},
                         {KEY_ALT | SCAN_F4, &ViewSettings::object_visual_range, 0x400000, 0x200000},
                         {KEY_ALT | SCAN_F4, &ViewSettings::object_visual_range, 7, 0x200000},
                         {KEY_ALT | SCAN_F5, &ViewSettings::flags, VIEW_SHADOWS, VIEW_SHADOWS | VIEW_CLOUDS}}) {
        view_settings.*c.field = c.before;
        press(c.key);
        EXPECT_EQ(view_settings.*c.field, c.after) << std::hex << c.key << " " << c.before;
    }
    EXPECT_EQ(detail_ceiling, 10);
    view_settings.night_vision = 1;
    view_settings.object_textures = 3;
    press(KEY_ALT | SCAN_F2);
    EXPECT_EQ(view_settings.object_textures, 3);  // not while night vision is on
    struct Smoke {
        int key;
        int32_t* value;
        int32_t before, after;
    };
    for (const Smoke s : {Smoke{KEY_ALT | SCAN_F6, &smoke_life, 400, 600}, {KEY_ALT | SCAN_F6, &smoke_life, 600, 400},
                          {KEY_ALT | SCAN_F7, &smoke_density, 1, 2}, {KEY_ALT | SCAN_F7, &smoke_density, 3, 1},
                          {KEY_ALT | SCAN_F7, &smoke_density, 9, 1}}) {
        *s.value = s.before;
        press(s.key);
        EXPECT_EQ(*s.value, s.after) << std::hex << s.key << " " << s.before;
    }
    view_settings = kept;
    smoke_life = kept_life;
    smoke_density = kept_density;
    detail_ceiling = kept_ceiling;
}

TEST_F(AvionicsTick, AQuickStartWithoutItsWeaponStillSetsUp) {
    set_game_flow(FLOW_QUICK_START);
    const int32_t kind = quick_start_kind;
    quick_start_kind = 1;
    radar_on = 0;
    radar_air_mode = 0;
    radar_ground_mode = 1;
    weapons_air_mode = 0;
    selected_weapon = 0;  // the payload carries no AMRAAM
    setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);  // the displays' pictures
    find_read_only_path("vyr.rop");
    init_avionics();
    EXPECT_EQ(radar_on, 1);
    EXPECT_EQ(radar_air_mode, 1);
    EXPECT_EQ(selected_weapon, 0);
    EXPECT_EQ(hsi_scale, 0x1000000);
    EXPECT_EQ(left_mfd_page, MFD_RADAR);
    EXPECT_EQ(right_mfd_page, MFD_STORES);
    EXPECT_EQ(active_mfd, 1);
    free_mfd_pictures();
    quick_start_kind = kind;
}

class CallOuts : public AvionicsTick {};

TEST_F(CallOuts, ASteerpointPassesOnTheTickAfterTheClosestApproachWithinAMile) {
    route(3);
    reset_steerpoint_passage();
    Waypoint* first = nth(0);
    const int32_t wy = first->y;
    // Offsets of the aircraft from the waypoint's line, north-going; the closest comes at 0.
    for (const int32_t y : {-2 * NAUTICAL_MILE, -NAUTICAL_MILE / 2, -NAUTICAL_MILE / 4, 0}) {
        fly({START.x + NAUTICAL_MILE / 4, wy + y, ALTITUDE}, 0);
        update_steerpoint();
        EXPECT_EQ(current(), first) << y;
    }
    fly({START.x + NAUTICAL_MILE / 4, wy + NAUTICAL_MILE / 8, ALTITUDE}, 0);
    update_steerpoint();
    EXPECT_EQ(current(), nth(1));
    // Passed at more than a mile, the next one never is.
    for (int32_t y = -2 * NAUTICAL_MILE; y <= 2 * NAUTICAL_MILE; y += NAUTICAL_MILE / 4) {
        fly({START.x + NAUTICAL_MILE, nth(1)->y + y, ALTITUDE}, 0);
        update_steerpoint();
    }
    EXPECT_EQ(current(), nth(1));
    // The last stays current however it is passed.
    user_drone->current_waypoint = nth(2);
    for (int32_t y = -NAUTICAL_MILE / 2; y <= NAUTICAL_MILE / 2; y += NAUTICAL_MILE / 8) {
        fly({START.x, nth(2)->y + y, ALTITUDE}, 0);
        update_steerpoint();
    }
    EXPECT_EQ(current(), nth(2));
}

TEST_F(CallOuts, ARouteTurningToTheGroundCallsTheLandingOnce) {
    route(3);
    set_waypoint_altitude(nth(1), 0);
    set_waypoint_altitude(nth(2), 0);
    nth(1)->z = nth(2)->z = 0;
    reset_steerpoint_passage();
    for (int leg = 0; leg < 2; ++leg) {
        const int32_t wy = current()->y;
        for (const int32_t y : {-NAUTICAL_MILE / 2, 0, NAUTICAL_MILE / 4}) {
            fly({START.x, wy + y, ALTITUDE}, 0);
            update_steerpoint();
        }
        EXPECT_EQ(landing_call_made, 1) << leg;
    }
    EXPECT_EQ(current(), nth(2));
}

TEST_F(CallOuts, TheGroundAheadGivesPullUpOrCollisionAlert) {
    struct Case {
        double descent;  // ft/s
        int gear;
        const char* message;
        int speech_timer_reset;
    };
    const std::string none(MESSAGE_LINE_LENGTH, ' ');
    for (const Case c : {Case{200, GEAR_UP, "PULL UP PULL UP", 1}, {100, GEAR_UP, "COLLISION ALERT", 1},
                         {200, GEAR_DOWN, nullptr, 0}, {50, GEAR_UP, nullptr, 0}}) {
        init_message_area();
        fly({START.x, START.y, 1000 * FOOT}, 0);
        model_state.vel = {400, 0, c.descent};
        flight_data.vertical_speed = -1;
        set_gear_state(c.gear);
        pull_up_call_timer = collision_call_timer = 2001;
        system_failures.lamp_word = LAMP_GROUND_COLLISION;
        check_ground_collision();
        fill_message_lines();
        EXPECT_EQ(std::string(message_lines[0]), c.message ? c.message : none) << c.descent;
        EXPECT_EQ(bool(system_failures.lamp_word & LAMP_GROUND_COLLISION), c.message != nullptr);
        const int32_t& timer = c.descent == 200 ? pull_up_call_timer : collision_call_timer;
        EXPECT_EQ(timer < 2001, bool(c.speech_timer_reset)) << c.descent;
    }
    // Levelling off takes the warning down.
    model_state.vel = {400, 0, 150};
    set_gear_state(GEAR_UP);
    check_ground_collision();
    model_state.vel = {400, 0, 0};
    check_ground_collision();
    fill_message_lines();
    EXPECT_EQ(std::string(message_lines[0]), none);
}

TEST_F(CallOuts, TheThreatClockCountsHoursFromTheNose) {
    struct Case {
        uint32_t relative;
        int clock;
    };
    for (const Case c : {Case{0, 0}, {0x40000000u, 3}, {0x80000000u, 6}, {0x3ffffff0u, 2}, {0xFFFFFFFCu, 0}, {0xFFFFFFFFu, 0},
                         {330 * uint32_t(DEGREE) - 1000, 10}})
        EXPECT_EQ(threat_clock(c.relative), c.clock) << c.relative;
}

}  // namespace
}  // namespace vyr
