#include "source/radar/radar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "source/avionics/targeting_pod.h"
#include "source/weapons/weapon_keys.h"
#include "tests/source/radar/radar_world.h"

namespace vyr {
namespace {

constexpr int KEY_R = 0x13, KEY_E = 0x12, KEY_Y = 0x15, KEY_K = 0x25, KEY_H = 0x23, KEY_D = 0x20, KEY_O = 0x18;
constexpr int KEY_BACKSPACE = 0x0E;

using RadarKeys = RadarWorld;

struct KeyCase {
    const char* name;
    std::function<void()> before;
    std::vector<int> keys;
    std::function<void()> check;
};

void ground_mode() { toggle_air_ground_mode(); }

// What the radar page's drawing finds: the designated contact's place in the display array.
void find_selected_contact() {
    selected_air_index = -1;
    for (int i = 0; i < air_display_count; ++i)
        if (air_display[i]->target.object == designated_target.object) selected_air_index = i;
}
void radar_switched_on() { radar_on = 1; }
void fit_ecm_pod(int32_t forces) {
    fit_sensor(0, SENSOR_TYPE_ECM_POD);
    forces_type = forces;
}

TEST_F(RadarKeys, KeysChangeTheModesAsTheCockpitExpects) {
    const std::vector<KeyCase> cases = {
        {"R switches on and shows the radar page",
         [] {
             left_mfd_page = MFD_STORES;  // gives way before the HSI
             right_mfd_page = MFD_HSI;
         },
         {KEY_R},
         [] {
             EXPECT_EQ(radar_on, 1);
             EXPECT_EQ(left_mfd_page, MFD_RADAR);
         }},
        {"R twice switches off", [] {}, {KEY_R, KEY_R}, [] { EXPECT_EQ(radar_on, 0); }},
        {"E with forces type 0 leaves it 0", [] { fit_ecm_pod(0); }, {KEY_E},
         [] {
             EXPECT_EQ(auto_ecm_on, 1);
             EXPECT_EQ(forces_type, 0);
             EXPECT_EQ(threat_lamp_bits & THREAT_LAMP_ECM_ON, 2);
         }},
        {"E twice from forces type 0 restores 0", [] { fit_ecm_pod(0); }, {KEY_E, KEY_E},
         [] {
             EXPECT_EQ(auto_ecm_on, 0);
             EXPECT_EQ(forces_type, 0);
             EXPECT_EQ(threat_lamp_bits & THREAT_LAMP_ECM_ON, 0);
         }},
        {"E lowers forces type 3 to 2", [] { fit_ecm_pod(3); }, {KEY_E}, [] { EXPECT_EQ(forces_type, 2); }},
        {"E twice restores forces type 3", [] { fit_ecm_pod(3); }, {KEY_E, KEY_E}, [] { EXPECT_EQ(forces_type, 3); }},
        {"E without a pod stays off", [] { forces_type = 3; }, {KEY_E},
         [] {
             EXPECT_EQ(auto_ecm_on, 0);
             EXPECT_EQ(forces_type, 3);
         }},
        {"E with a failed ECM only refreshes the indicator",
         [] {
             fit_ecm_pod(3);
             auto_ecm_on = 1;
             system_failures = {};
             set_failure(FAIL_ECM);
         },
         {KEY_E},
         [] {
             EXPECT_EQ(auto_ecm_on, 1);
             EXPECT_EQ(forces_type, 3);
             EXPECT_EQ(threat_lamp_bits & THREAT_LAMP_ECM_ON, 2);
         }},
        {"Y in air mode keeps enemies only", [] {}, {KEY_Y}, [] { EXPECT_EQ(show_all_contacts, 0); }},
        {"Shift+Y twice shows all again", [] {}, {KEY_SHIFT | KEY_Y, KEY_SHIFT | KEY_Y},
         [] { EXPECT_EQ(show_all_contacts, 1); }},
        {"Y in ground mode does nothing", ground_mode, {KEY_Y}, [] { EXPECT_EQ(show_all_contacts, 1); }},
        {"K from ground mode: air, ACM, radar on", ground_mode, {KEY_K},
         [] {
             EXPECT_EQ(radar_air_mode, 1);
             EXPECT_EQ(radar_ground_mode, 0);
             EXPECT_EQ(air_submode, RADAR_ACM);
             EXPECT_EQ(saved_air_submode, RADAR_TWS);
             EXPECT_EQ(requested_range_nm, 35);
             EXPECT_EQ(radar_on, 1);
         }},
        {"H with the radar off does nothing", ground_mode, {KEY_H}, [] { EXPECT_EQ(ground_radar_frozen, 0); }},
        {"H in ground mode freezes the map", [] { ground_mode(); radar_switched_on(); }, {KEY_H},
         [] {
             EXPECT_EQ(ground_radar_frozen, 1);
             EXPECT_EQ(ground_submode, GROUND_FRZ);
             EXPECT_EQ(saved_ground_submode, GROUND_GVT);
             EXPECT_EQ(frozen_position.y, player_position->position.y);
             EXPECT_EQ(trail_write, trail_oldest);
         }},
        {"H twice in FTT restores FTT", [] { ground_mode(); radar_switched_on(); ground_submode = GROUND_FTT; },
         {KEY_H, KEY_H},
         [] {
             EXPECT_EQ(ground_radar_frozen, 0);
             EXPECT_EQ(ground_submode, GROUND_FTT);
         }},
        {"H in TWS with nothing designated stays in TWS", radar_switched_on, {KEY_H},
         [] { EXPECT_EQ(air_submode, RADAR_TWS); }},
        {"D on the radar page: TWS to ACM", [] {}, {KEY_D},
         [] {
             EXPECT_EQ(air_submode, RADAR_ACM);
             EXPECT_EQ(air_range_nm, 10);  // ACM's first row for a TWS range
         }},
        {"D twice after TWS 15 nm comes back at 35 nm", [] { cycle_radar_range(1); }, {KEY_D, KEY_D},
         [] {
             EXPECT_EQ(air_submode, RADAR_TWS);
             EXPECT_EQ(air_range_nm, 35);
         }},
        {"D in ground mode swaps GVT and FTT and drops the laser spot",
         [] {
             ground_mode();
             laser_spot_target.kind = TARGET_GROUND_OBJECT;
             reacquire_target = 0;
         },
         {KEY_D},
         [] {
             EXPECT_EQ(ground_submode, GROUND_FTT);
             EXPECT_EQ(laser_spot_target.kind, TARGET_NONE);
             EXPECT_EQ(reacquire_target, 1);
         }},
        {"D while frozen keeps FRZ", [] { ground_mode(); radar_switched_on(); }, {KEY_H, KEY_D},
         [] { EXPECT_EQ(ground_submode, GROUND_FRZ); }},
        {"D on the pod page toggles the pod's track mode", [] { left_mfd_page = MFD_POD; set_pod_track_mode(0); },
         {KEY_D},
         [] {
             EXPECT_EQ(get_pod_track_mode(), 1);
             EXPECT_EQ(air_submode, RADAR_TWS);
         }},
        {"D on the pod page of the right MFD with the focus: a laser-guided bomb leaves tracking",
         [] {
             right_mfd_page = MFD_POD;
             active_mfd = 2;
             selected_weapon = WEAPON_GBU_12;
             set_pod_track_mode(1);
         },
         {KEY_D},
         [] { EXPECT_EQ(get_pod_track_mode(), 0); }},
        {"Backspace asks for the next target", [] {}, {KEY_BACKSPACE},
         [] {
             EXPECT_EQ(target_step_request, 1);
             EXPECT_EQ(follow_best_target, 0);
         }},
        {"Shift+Backspace asks for the previous target", [] {}, {KEY_SHIFT | KEY_BACKSPACE},
         [] { EXPECT_EQ(target_step_request, 2); }},
        {"Backspace under the AGM-88A steps the threats only", [] { selected_weapon = WEAPON_AGM_88A; },
         {KEY_BACKSPACE},
         [] {
             EXPECT_EQ(target_step_request, 0);
             EXPECT_EQ(follow_best_target, 1);
         }},
        {"Backspace on the pod page in ground mode steps the pod", [] { ground_mode(); left_mfd_page = MFD_POD; },
         {KEY_BACKSPACE},
         [] {
             EXPECT_EQ(target_step_request, 0);
             EXPECT_EQ(follow_best_target, 0);
         }},
        {"O switches AUTO TARGET off", [] {}, {KEY_O},
         [] {
             EXPECT_EQ(is_auto_target_on(), 0);
             EXPECT_EQ(follow_best_target, 0);
         }},
        {"O on the pilot's machine does nothing", [] { control_mode = CONTROL_PILOT; }, {KEY_O},
         [] { EXPECT_EQ(is_auto_target_on(), 1); }},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.before();
        for (int key : c.keys) press(key);
        c.check();
    }
}

TEST_F(RadarKeys, RangesCycleByModeAndTheScanTableRowFollows) {
    struct RangeCase {
        const char* name;
        std::function<void()> before;
        int direction;
        int32_t expected_nm;
    };
    const std::vector<RangeCase> cases = {
        {"TWS 35 up wraps to 15", [] {}, 1, 15},
        {"TWS 35 down gives 25", [] {}, 0, 25},
        {"TWS at an unknown range goes to 15", [] { air_range_nm = 20; }, 1, 15},
        {"ACM 6 up gives 10", [] { air_submode = RADAR_ACM; set_acm_range(6); }, 1, 10},
        {"ACM 10 up gives 8", [] { air_submode = RADAR_ACM; set_acm_range(10); }, 1, 8},
        {"ACM 10 down gives 6", [] { air_submode = RADAR_ACM; set_acm_range(10); }, 7, 6},
        {"ground 10 up wraps to 2", ground_mode, 1, 2},
        {"ground 10 down gives 5", ground_mode, 0, 5},
        {"ground at an unknown range goes to 10", [] { ground_mode(); ground_range_nm = 7; }, 1, 10},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.before();
        cycle_radar_range(c.direction);
        if (radar_ground_mode) {
            EXPECT_EQ(ground_range_nm, c.expected_nm);
            EXPECT_EQ(ground_range, c.expected_nm * NAUTICAL_MILE);
            EXPECT_EQ(air_range_nm, 35);
        } else {
            EXPECT_EQ(air_range_nm, c.expected_nm);
            EXPECT_EQ(air_range, c.expected_nm * NAUTICAL_MILE);
            EXPECT_EQ(radar_scan_range, air_range);
            EXPECT_EQ(radar_display_scale, air_range / 40);
            EXPECT_EQ(requested_range_nm, 35);
        }
    }
}

TEST_F(RadarKeys, TheStartUpScanIsTws35WithItsEdgeAtTan60) {
    EXPECT_EQ(radar_on, 0);
    EXPECT_EQ(radar_air_mode, 1);
    EXPECT_EQ(air_submode, RADAR_TWS);
    EXPECT_EQ(air_range, 54440960);
    EXPECT_EQ(scan_half_width, 0x2aaaaaab);
    EXPECT_EQ(scan_half_width_deg, 60);
    EXPECT_EQ(scan_figure, 2);
    // tan 60 from tables of 8,192 steps a turn
    EXPECT_NEAR(scan_edge_at_range, 54440960 * std::sqrt(3.0), 54440960 * 2e-3);
    EXPECT_EQ(ground_range, 15554560);
    EXPECT_EQ(ground_sector_half_angle, 0x20000000);
    EXPECT_EQ(rcr_radius, NAUTICAL_MILE);
    EXPECT_EQ(designated_target.kind, TARGET_NONE);
    EXPECT_EQ(auto_target_on, 1);
}

TEST_F(RadarKeys, ASmallerLimitAfterARangeChangePullsTheScanCentreIn) {
    cycle_radar_range(1);  // TWS 15: azimuth limit 45
    key_down[SCAN_CTRL] = 1;
    slew_x = FIXED_ONE;
    slew_y = -FIXED_ONE;
    frame_fraction = FIXED_ONE;  // a second: full deflection crosses the whole range
    slew_scan_centre();
    key_down[SCAN_CTRL] = 0;
    EXPECT_EQ(scan_azimuth, 0x20000000);
    EXPECT_EQ(scan_elevation, -int32_t(0xaaaaaab));
    slew_scan_centre();
    EXPECT_EQ(scan_azimuth, 0x20000000);  // held without Ctrl
    cycle_radar_range(1);
    cycle_radar_range(1);  // 35 nm: azimuth limit 0
    slew_scan_centre();
    EXPECT_EQ(scan_azimuth, 0);
    EXPECT_EQ(scan_elevation, -int32_t(0xaaaaaab));
}

// The cursor's pacing lives across flights from the program's start, so it is watched in a
// process of its own: the first frame with Alt held steps at once, then one step per 50 ticks.
TEST_F(RadarKeys, TheCursorStepsAtOnceThenOncePer50TicksOfFramesWithAltHeld) {
    EXPECT_EXIT(
        {
            fighter(ENEMY, ahead(3 * NAUTICAL_MILE, 0, ALTITUDE));
            fighter(ENEMY, ahead(9 * NAUTICAL_MILE, 0, ALTITUDE));
            radar_on = 1;
            sweep();
            merge_air_contacts(air_contact_head);
            designated_target = air_display[0]->target;
            find_selected_contact();
            frame_fraction = int32_t((int64_t(10) << 31) / 200);  // 10-tick frames
            slew_y = -FIXED_ONE;
            std::string steps;
            for (int frame = 0; frame < 14; ++frame) {
                const void* before = designated_target.object;
                slew_radar_cursor();
                find_selected_contact();
                if (designated_target.object != before) {
                    steps += std::to_string(frame) + " ";
                    slew_y = -slew_y;
                }
            }
            std::fputs(steps.c_str(), stderr);
            std::exit(steps == "0 6 12 " ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(RadarKeys, TheStickStepsFromHalfDeflectionAndTheKeyboardAtAny) {
    fighter(ENEMY, ahead(3 * NAUTICAL_MILE, 0, ALTITUDE));
    fighter(ENEMY, ahead(9 * NAUTICAL_MILE, 0, ALTITUDE));
    radar_on = 1;
    sweep();
    merge_air_contacts(air_contact_head);
    ASSERT_EQ(air_display_count, 2);
    const auto designate_nearest = [] {
        designated_target = air_display[0]->target;
        find_selected_contact();
    };
    frame_fraction = FIXED_ONE;  // 200 ticks a frame
    // Step once by keyboard so that the pacing is known to start from 0.
    designate_nearest();
    control_type = CONTROL_KEYBOARD;
    slew_y = -1;
    for (int frame = 0; frame < 2 && designated_target.object == air_display[0]->target.object; ++frame)
        slew_radar_cursor();
    ASSERT_EQ(designated_target.object, air_display[1]->target.object);
    const struct {
        int32_t control, input;
        bool steps;
    } cases[] = {
        {CONTROL_KEYBOARD, -1, true},
        {CONTROL_JOYSTICK, -0x3ffffffe, false},
        {CONTROL_JOYSTICK, -0x3fffffff, true},
        {CONTROL_JOYSTICK, -FIXED_ONE, true},
    };
    for (const auto& c : cases) {
        designate_nearest();
        control_type = c.control;
        slew_y = c.input;
        slew_radar_cursor();  // the frame's ticks bring the pacing to 50
        EXPECT_EQ(designated_target.object, air_display[0]->target.object);
        slew_radar_cursor();
        EXPECT_EQ(designated_target.object == air_display[1]->target.object, c.steps) << c.input;
    }
}

}  // namespace
}  // namespace vyr
