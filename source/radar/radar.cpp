#include "source/radar/radar.h"

#include <algorithm>

#include "library/debug/fatal.h"
#include "library/maths/trig.h"
#include "library/system/key.h"
#include "source/avionics/avionics.h"
#include "source/avionics/messages.h"
#include "source/avionics/mfd.h"
#include "source/avionics/panel.h"
#include "source/avionics/targeting_pod.h"
#include "source/avionics/threat_warning.h"
#include "source/avionics/views.h"
#include "source/controls.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/radar/air_radar.h"
#include "source/radar/ground_radar.h"
#include "source/radar/target_select.h"
#include "source/skill.h"
#include "source/sknet/game_rules.h"
#include "source/sound/triggers.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

int32_t radar_on = 0;
int32_t radar_air_mode = 1, radar_ground_mode = 0;
int32_t air_submode = RADAR_TWS, saved_air_submode = RADAR_TWS;
int32_t ground_submode = GROUND_GVT, saved_ground_submode = GROUND_GVT;
int32_t ground_radar_frozen = 0;
int32_t show_all_contacts = 1;
int32_t auto_ecm_on = 0;
int32_t air_range_nm = 0, air_range = 0;
int32_t requested_range_nm = 0;
int32_t radar_scan_range = 0;
int32_t radar_display_scale = 0;
int32_t scan_half_width = 0, scan_half_width_deg = 0, scan_half_height = 0;
int32_t scan_figure = 0;
int32_t scan_azimuth_limit = 0, scan_elevation_limit = 0;
int32_t scan_edge_at_range = 0;
int32_t scan_azimuth = 0, scan_elevation = 0;
int32_t rcr_radius = 0;
int32_t ground_range_nm = 0, ground_range = 0;
int32_t ground_sector_half_angle = 0;
int32_t ground_name_display = 0;
Vector3 frozen_position = {};

namespace {

constexpr int32_t DEGREES_10 = 0x71c71c7, DEGREES_15 = 0xaaaaaab, DEGREES_20 = 0xe38e38e,
                  DEGREES_30 = 0x15555555, DEGREES_40 = 0x1c71c71c, DEGREES_45 = 0x20000000,
                  DEGREES_55 = 0x271c71c8, DEGREES_60 = 0x2aaaaaab;

struct ScanRow {
    int32_t range_nm, range, display_scale;
    int32_t half_width, half_width_deg, half_height;
    int32_t figure;
    int32_t azimuth_limit, elevation_limit;
};

// The first row of each table is the one a range not in it gets.
constexpr ScanRow TWS_ROWS[] = {
    {15, 23331840, 583296, DEGREES_15, 15, DEGREES_60, 6, DEGREES_45, DEGREES_15},
    {25, 38886400, 972160, DEGREES_30, 30, DEGREES_45, 4, DEGREES_30, DEGREES_30},
    {35, 54440960, 1361024, DEGREES_60, 60, DEGREES_30, 2, 0, DEGREES_45},
};
constexpr ScanRow ACM_ROWS[] = {
    {10, 15554560, 388864, DEGREES_10, 10, DEGREES_40, 40, DEGREES_55, 0},
    {8, 12443648, 311091, DEGREES_30, 30, DEGREES_20, 20, DEGREES_45, DEGREES_10},
    {6, 9332736, 233318, DEGREES_60, 60, DEGREES_20, 20, DEGREES_30, DEGREES_20},
};

constexpr int32_t GROUND_RANGE_STEPS[] = {2, 5, 10};
constexpr int32_t RCR_START_RADIUS = NAUTICAL_MILE;
constexpr int32_t CURSOR_STEP_TICKS = 50;
constexpr int32_t HALF_DEFLECTION = 0x3fffffff;
constexpr int MESSAGE_PRIORITY = 2, MESSAGE_TICKS = 400;

// They live across flights: only clamped, never reset.
int32_t elevation_slew = 0, azimuth_slew = 0;
// At 50 so that the first frame of the first flight steps at once.
int32_t cursor_step_ticks = CURSOR_STEP_TICKS;
int32_t ecm_saved_forces_type = 0;

template <size_t N>
const ScanRow& find_row(const ScanRow (&rows)[N], int32_t range_nm) {
    for (const ScanRow& row : rows)
        if (row.range_nm == range_nm) return row;
    return rows[0];
}

const ScanRow& row_for(int32_t submode, int32_t range_nm) {
    return submode == RADAR_ACM ? find_row(ACM_ROWS, range_nm) : find_row(TWS_ROWS, range_nm);
}

void compute_scan_edge() {
    scan_edge_at_range =
        int32_t(int64_t(air_range) * lookup_sin(uint32_t(scan_half_width)) / lookup_cos(uint32_t(scan_half_width)));
}

void apply_row(const ScanRow& row) {
    air_range_nm = row.range_nm;
    air_range = row.range;
    radar_display_scale = row.display_scale;
    scan_half_width = row.half_width;
    scan_half_width_deg = row.half_width_deg;
    scan_half_height = row.half_height;
    scan_figure = row.figure;
    scan_azimuth_limit = row.azimuth_limit;
    scan_elevation_limit = row.elevation_limit;
    compute_scan_edge();
}

// The next (direction 1) or previous entry of a cycle of three; a value outside it gets `fallback`.
int32_t step_cycle(const int32_t (&cycle)[3], int32_t value, int direction, int32_t fallback) {
    for (int i = 0; i < 3; ++i)
        if (cycle[i] == value) return cycle[(i + (direction == 1 ? 1 : 2)) % 3];
    return fallback;
}

void post(const char* text) { post_message(text, MESSAGE_PRIORITY, MESSAGE_TICKS); }

int focused_mfd_page() { return get_active_mfd() == 1 ? get_left_mfd_page() : get_right_mfd_page(); }

int32_t slew_step(int32_t accumulator, int32_t input, int32_t limit) {
    const int64_t moved = int64_t(accumulator) + mul31(input, mul31(2 * limit, frame_fraction));
    return int32_t(std::clamp<int64_t>(moved, -int64_t(limit), limit));
}

// Keyboard inputs count at any deflection, the stick's from half deflection on.
int input_direction(int32_t input) {
    const int32_t threshold = control_type == CONTROL_KEYBOARD ? 1 : HALF_DEFLECTION;
    return input >= threshold ? 1 : input <= -threshold ? -1 : 0;
}

int target_step_key(int key_code) {
    const int step = key_code & KEY_SHIFT ? 2 : 1;
    if (selected_weapon == WEAPON_AGM_88A) {
        request_harm_target_step(step);
        return 1;
    }
    follow_best_target = 0;
    if (focused_mfd_page() == MFD_POD && !radar_air_mode)
        update_pod_track(step);
    else if (control_mode != CONTROL_PILOT)
        target_step_request = step;
    return 1;
}

int auto_target_key(int) {
    if (control_mode == CONTROL_PILOT) return 0;
    auto_target_on = !auto_target_on;
    post(auto_target_on ? "AUTO TARGET ON" : "AUTO TARGET OFF");
    follow_best_target = auto_target_on;
    target_step_request = 0;
    return 1;
}

int radar_power_key(int) {
    radar_on = !radar_on;
    post(radar_on ? "RADAR ON" : "RADAR OFF");
    if (radar_on) show_radar_page();
    update_mfd_focus();
    play_click_sound();
    return 1;
}

int ecm_key(int) {
    if (!has_failure(FAIL_ECM)) {
        if (!has_ecm_pod()) {
            auto_ecm_on = 0;
        } else if (!auto_ecm_on) {
            auto_ecm_on = 1;
            ecm_saved_forces_type = forces_type;
            if (forces_type > 0) --forces_type;
            post("AUTO ECM ON");
        } else {
            forces_type = ecm_saved_forces_type;
            auto_ecm_on = 0;
            post("AUTO ECM OFF");
        }
    }
    threat_lamp_bits = uint8_t((threat_lamp_bits & ~THREAT_LAMP_ECM_ON) | (auto_ecm_on ? THREAT_LAMP_ECM_ON : 0));
    play_click_sound();
    return 1;
}

int contact_filter_key(int) {
    if (radar_air_mode) show_all_contacts = !show_all_contacts;
    return 1;
}

int dogfight_key(int) {
    play_click_sound();
    if (radar_ground_mode) toggle_air_ground_mode();
    saved_air_submode = air_submode;
    requested_range_nm = air_range_nm;
    air_submode = RADAR_ACM;
    if (selected_weapon != WEAPON_AIM_9M) {
        for (int weapon : {WEAPON_AIM_9M, WEAPON_AMRAAM, WEAPON_GUN, WEAPON_GEPOD}) {
            select_next_weapon(weapon);
            if (selected_weapon == weapon) break;
        }
    }
    show_radar_page();
    radar_on = 1;
    return 1;
}

void enter_rcr() {
    const AirContact* designated = find_designated_air_contact();
    if (!designated || !designated->group_head || !air_contact_head) return;
    int32_t widest = 0;
    const Vector3& centre = designated->target.position;
    for (const AirContact* c = air_contact_head; c; c = c->next) {
        if (c == designated || c->group != designated->group) continue;
        widest = std::max(widest, measure_distance_3d(c->target.position.x - centre.x, c->target.position.y - centre.y,
                                                      c->target.position.z - centre.z));
    }
    saved_air_submode = air_submode;
    air_submode = RADAR_RCR;
    requested_range_nm = air_range_nm;
    rcr_radius = widest + widest / 4;
    radar_display_scale = 2 * rcr_radius / 40;
}

int rcr_freeze_key(int) {
    if (!radar_on) return 1;
    if (radar_air_mode) {
        if (air_submode == RADAR_RCR) {
            air_submode = saved_air_submode;
            set_radar_scan();
        } else {
            enter_rcr();
        }
    } else if (radar_ground_mode) {
        ground_radar_frozen = !ground_radar_frozen;
        if (ground_radar_frozen) {
            post("RADAR FROZEN");
            saved_ground_submode = ground_submode;
            ground_submode = GROUND_FRZ;
        } else {
            post("RADAR RESTORED");
            ground_submode = saved_ground_submode;
        }
        frozen_position = player_position->position;
        reset_radar_trail();
    }
    return 1;
}

int submode_key(int) {
    play_click_sound();
    const int page = focused_mfd_page();
    if (page == MFD_POD) {
        set_pod_track_mode(!get_pod_track_mode());
    } else if (page == MFD_RADAR) {
        if (radar_air_mode) {
            saved_air_submode = air_submode;
            air_submode = air_submode == RADAR_TWS ? RADAR_ACM : RADAR_TWS;
            set_radar_scan();
        } else if (radar_ground_mode && ground_submode != GROUND_FRZ) {
            ground_submode = ground_submode == GROUND_GVT ? GROUND_FTT : GROUND_GVT;
            laser_spot_target.kind = TARGET_NONE;
            reacquire_target = 1;
        }
    }
    return 1;
}

}  // namespace

void register_radar_keys() {
    add_hot_key(KEY_SHIFT | SCAN_BACKSPACE, target_step_key);
    add_hot_key(SCAN_O, auto_target_key);
    add_hot_key(SCAN_BACKSPACE, target_step_key);
    add_hot_key(SCAN_R, radar_power_key);
    add_hot_key(SCAN_E, ecm_key);
    add_hot_key(SCAN_Y, contact_filter_key);
    add_hot_key(KEY_SHIFT | SCAN_Y, contact_filter_key);
    add_hot_key(SCAN_K, dogfight_key);
    add_hot_key(SCAN_H, rcr_freeze_key);
    add_hot_key(SCAN_D, submode_key);
    watch_debug_value("Current Priority", 0, &designated_target.priority);
    watch_debug_value("Current Lazer", 0, &laser_spot_target.priority);
}

void init_radar() {
    register_radar_keys();
    saved_air_submode = saved_ground_submode = 0;
    radar_air_mode = 1;
    radar_ground_mode = 0;
    auto_ecm_on = 0;

    ground_range_nm = 10;
    ground_range = 10 * NAUTICAL_MILE;
    ground_submode = GROUND_GVT;
    ground_radar_frozen = 0;
    ground_sector_half_angle = DEGREES_45;
    ground_name_display = 0;

    air_submode = RADAR_TWS;
    requested_range_nm = 35;
    apply_row(find_row(TWS_ROWS, 35));
    radar_scan_range = air_range;
    show_all_contacts = 1;
    rcr_radius = RCR_START_RADIUS;

    radar_on = 0;

    auto_target_on = follow_best_target = reacquire_target = 1;
    designated_target.kind = TARGET_NONE;
    laser_spot_target.kind = TARGET_NONE;
    target_step_request = 0;
}

void set_radar_scan() {
    if (!radar_air_mode) return;
    if (air_submode != RADAR_RCR) apply_row(row_for(air_submode, requested_range_nm));
    radar_scan_range = air_range;
}

void cycle_radar_range(int direction) {
    if (radar_air_mode) {
        if (air_submode == RADAR_TWS)
            apply_row(find_row(TWS_ROWS, step_cycle({15, 25, 35}, air_range_nm, direction, 15)));
        else if (air_submode == RADAR_ACM)
            apply_row(find_row(ACM_ROWS, step_cycle({10, 8, 6}, air_range_nm, direction, 10)));
        radar_scan_range = air_range;
    } else if (radar_ground_mode) {
        ground_range_nm = step_cycle(GROUND_RANGE_STEPS, ground_range_nm, direction, 10);
        ground_range = ground_range_nm * NAUTICAL_MILE;
    }
}

void set_acm_range(int range_nm) { apply_row(find_row(ACM_ROWS, range_nm)); }

void slew_scan_centre() {
    int32_t vertical = 0, horizontal = 0;
    if (is_key_down(SCAN_CTRL)) get_slew_inputs(vertical, horizontal);
    scan_elevation = elevation_slew = slew_step(elevation_slew, vertical, scan_elevation_limit);
    scan_azimuth = azimuth_slew = slew_step(azimuth_slew, horizontal, scan_azimuth_limit);
}

void slew_radar_cursor() {
    if (cursor_step_ticks < CURSOR_STEP_TICKS) {
        cursor_step_ticks += int32_t((int64_t(200) * frame_fraction + (int64_t(1) << 30)) >> 31);
        return;
    }
    cursor_step_ticks = 0;
    int32_t vertical = 0, horizontal = 0;
    get_slew_inputs(vertical, horizontal);
    if (view_mode != VIEW_COCKPIT) return;
    const int up_down = input_direction(vertical), left_right = input_direction(horizontal);
    if (radar_air_mode) {
        if (up_down > 0) step_air_contact_up();
        if (up_down < 0) step_air_contact_down();
        if (left_right > 0) step_air_contact_right();
        if (left_right < 0) step_air_contact_left();
    } else if (radar_ground_mode) {
        if (up_down > 0) step_ground_contact_up();
        if (up_down < 0) step_ground_contact_down();
        if (left_right > 0) step_ground_contact_right();
        if (left_right < 0) step_ground_contact_left();
    }
}

int is_auto_target_on() { return auto_target_on; }

void switch_ecm_off() {
    forces_type = ecm_saved_forces_type;
    auto_ecm_on = 0;
    threat_lamp_bits &= uint8_t(~THREAT_LAMP_ECM_ON);
}

int is_laser_weapon_selected() {
    switch (selected_weapon) {
    case WEAPON_AGM_65E: case WEAPON_AGM_65G: case WEAPON_GBU_12: case WEAPON_GBU_16: case WEAPON_GBU_10: return 1;
    default: return 0;
    }
}

}  // namespace vyr
