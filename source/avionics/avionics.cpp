#include "source/avionics/avionics.h"

#include "library/3dvisual/view.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/system/key.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/night_vision.h"
#include "source/avionics/failures.h"
#include "source/avionics/g_effects.h"
#include "source/avionics/hud.h"
#include "source/avionics/mfd.h"
#include "source/avionics/panel.h"
#include "source/avionics/targeting_pod.h"
#include "source/avionics/threat_warning.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/mission/quick_start.h"
#include "source/radar/air_radar.h"
#include "source/radar/ground_radar.h"
#include "source/radar/radar.h"
#include "source/radar/target_scan.h"
#include "source/radar/target_select.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sound/triggers.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

int32_t next_fuel_check_time = 0;
int32_t missile_tone_on = 0;
int32_t seeker_tone_on = 0;
float threat_update_timer = 1.0f;
float radar_scan_timer = 1.0f;
int32_t radar_scan_due = 0;
int32_t ground_scan_ran = 0, air_scan_ran = 0;
int32_t master_caution_state = 0;
int32_t hsi_scale = 0x1000000;

namespace {

constexpr float THREAT_UPDATE_SECONDS = 0.5f;
constexpr float RADAR_SCAN_SECONDS = 0.25f;
constexpr int MISSILE_TONE_RANGE = 1000;
constexpr int MISSILE_TONE_RATE = 44100;
constexpr int32_t FUEL_CHECK_TICKS = 4000;
constexpr int32_t HSI_SCALE_MIN = 0x80000, HSI_SCALE_MAX = 0x1000000;
constexpr int QUICK_START_AIR = 1, QUICK_START_GROUND = 2;

struct Selection {
    int32_t hardpoint, weapon;
    bool operator==(const Selection&) const = default;
};

Selection current_selection() { return {selected_hardpoint, selected_weapon}; }

// Steps the weapons until `wanted` is selected. A payload without it brings the selection round
// again (to where it started, or, when nothing was selected, to the first weapon it stepped to),
// and that selection is kept.
void select_quick_start_weapon(int wanted) {
    const Selection start = current_selection();
    if (start.weapon == wanted) return;
    select_next_weapon(-1);
    const Selection first = current_selection();
    while (selected_weapon != wanted) {
        select_next_weapon(-1);
        const Selection now = current_selection();
        if (now == start || now == first) return;
    }
}

void arm_quick_start() {
    if (get_game_flow() != FLOW_QUICK_START) return;
    radar_on = 1;
    if (quick_start_kind == QUICK_START_AIR) {
        if (radar_ground_mode) toggle_air_ground_mode();
        select_quick_start_weapon(WEAPON_AMRAAM);
    } else if (quick_start_kind == QUICK_START_GROUND) {
        if (radar_air_mode) toggle_air_ground_mode();
        select_quick_start_weapon(WEAPON_AGM_65G);
    }
}

// Seconds of game time gathered towards the next run of a timed step; true when it is due.
bool timer_due(float& timer, float period) {
    const bool due = timer > period;
    if (due) timer = 0;
    timer += float(time_acceleration * frame_seconds);
    return due;
}

void update_missile_tone() {
    if (nearest_incoming_missile() < MISSILE_TONE_RANGE) {
        if (!missile_tone_on) {
            start_threat_tone();
            missile_tone_on = 1;
        }
        set_tone_rate(MISSILE_TONE_RATE);
    } else if (missile_tone_on) {
        stop_threat_tone();
        missile_tone_on = 0;
    }
}

void update_threats() {
    if (has_failure(FAIL_THREAT_WARNING) || !timer_due(threat_update_timer, THREAT_UPDATE_SECONDS)) return;
    clear_sorted_threats();
    update_threat_warning();
}

void scan_radar() {
    radar_scan_due = timer_due(radar_scan_timer, RADAR_SCAN_SECONDS);
    if (radar_scan_due) {
        air_contact_head = air_contact_tail = nullptr;
        ground_contact_head = ground_contact_tail = nullptr;
    }
    const bool radar_working = radar_on && !has_failure(FAIL_RADAR);
    if (!radar_working) ground_scan_ran = air_scan_ran = 0;
    if (!radar_scan_due || !player_position) return;
    const Vector3* aircraft = &player_position->position;
    if (radar_working) {
        scan_ground_targets(aircraft);
        ground_scan_ran = radar_ground_mode ? 1 : 0;
        air_scan_ran = !radar_ground_mode && radar_air_mode ? 1 : 0;
        if (ground_scan_ran) scan_ground_radar(aircraft);
        if (air_scan_ran) scan_air_radar();
    }
    // The Mavericks and the laser-guided bombs look for ground targets with the radar off.
    if (!ground_scan_ran && is_laser_weapon_selected()) {
        scan_ground_targets(aircraft);
        scan_ground_radar(aircraft);
    }
}

void update_seeker_tone() {
    const bool cue = get_in_range_cue() != 0;
    if (seeker_tone_on && (selected_weapon != WEAPON_AIM_9M || !cue)) {
        stop_seeker_tone();
        seeker_tone_on = 0;
    }
    if (cue && !seeker_tone_on && selected_weapon == WEAPON_AIM_9M) {
        start_seeker_tone();
        seeker_tone_on = 1;
    }
}

void update_master_caution() {
    const int32_t failed = check_any_failure();
    uint32_t& lamps = system_failures.lamp_word;
    lamps = failed ? lamps | LAMP_FAILURE_PRESENT : lamps & ~LAMP_FAILURE_PRESENT;
    if (failed == master_caution_state) return;
    master_caution_state = failed;
    lamps = failed ? lamps | LAMP_MASTER_CAUTION : lamps & ~LAMP_MASTER_CAUTION;
}

void check_fuel() {
    if (next_fuel_check_time >= game_clock || autoland_engaged) return;
    next_fuel_check_time = game_clock + FUEL_CHECK_TICKS;
    check_fuel_endurance();
}

// Whether a steerpoint key steps here: a gunner never does, a pilot only when the key is not
// passed on to the other machine.
bool steps_steerpoints(int key_code) {
    if (control_mode == CONTROL_GUNNER) return false;
    return control_mode != CONTROL_PILOT || queue_remote_key(key_code) == 0;
}

void step_steerpoint(int key_code, bool forward) {
    if (!steps_steerpoints(key_code) || !user_drone) return;
    Waypoint* current = get_drone_current_waypoint(user_drone);
    if (!current) return;
    Waypoint* next = forward ? get_next_waypoint(current) : get_previous_waypoint(current);
    if (!next) next = forward ? get_first_waypoint(current) : get_last_waypoint(current);
    user_drone->current_waypoint = next;
}

int focused_mfd_page() { return get_active_mfd() == 1 ? get_left_mfd_page() : get_right_mfd_page(); }

void zoom(bool in) {
    if (view_mode != VIEW_COCKPIT) return;
    switch (focused_mfd_page()) {
    case MFD_HSI:
        if (in)
            hsi_scale = hsi_scale > HSI_SCALE_MIN && hsi_scale <= HSI_SCALE_MAX ? hsi_scale / 2 : HSI_SCALE_MIN;
        else
            hsi_scale = hsi_scale >= HSI_SCALE_MIN && hsi_scale < HSI_SCALE_MAX ? hsi_scale * 2 : HSI_SCALE_MAX;
        break;
    case MFD_POD:
        if (!in) {
            if (pod_zoom > 1) --pod_zoom;
        } else if (pod_zoom < POD_ZOOM_MAX && (designated_target.kind == TARGET_NONE || !user_drone ||
                                                 has_line_of_sight(&user_drone->target, &designated_target))) {
            ++pod_zoom;
        }
        break;
    case MFD_RADAR: cycle_radar_range(in ? 1 : 0); break;
    default: break;
    }
}

}  // namespace

void init_avionics() {
    next_fuel_check_time = seeker_tone_on = missile_tone_on = 0;
    init_threat_warning();
    hsi_scale = HSI_SCALE_MAX;
    init_mfds();
    init_compass_tape();
    build_rpm_dial_table();
    build_airspeed_dial_table();
    build_ftit_dial_table();
    reset_steerpoint_passage();
    reset_autoland();
    ground_scan_ran = air_scan_ran = 0;
    arm_quick_start();
    reset_ecm_failure_draw();
}

void update_avionics() {
    if (!autoland_engaged) snapshot_flight_data();
    update_missile_tone();
    check_ground_collision();
    update_threats();
    update_steerpoint();
    scan_radar();
    if (control_mode != CONTROL_PILOT) update_target_selection();
    if (view_mode != VIEW_COCKPIT && !has_failure(FAIL_TARGETING)) update_targeting_pod();
    update_in_range_cue();
    update_seeker_tone();
    if (is_key_down(SCAN_ALT)) slew_radar_cursor();
    update_master_caution();
    if (ground_radar_frozen) record_radar_trail();
    if (has_failure(FAIL_FIRE)) emit_user_damage_smoke();
    emit_user_exhaust_haze();
    check_fuel();
}

int next_steerpoint_key(int key_code) {
    step_steerpoint(key_code, true);
    return 1;
}

int previous_steerpoint_key(int key_code) {
    step_steerpoint(key_code, false);
    return 1;
}

int zoom_in_key(int) {
    zoom(true);
    return 1;
}

int zoom_out_key(int) {
    zoom(false);
    return 1;
}

int reset_master_caution_key(int) {
    system_failures.lamp_word &= ~LAMP_MASTER_CAUTION;
    return 1;
}

void register_avionics_keys() {
    add_hot_key(SCAN_N, next_steerpoint_key);
    add_hot_key(KEY_SHIFT | SCAN_N, previous_steerpoint_key);
    add_hot_key(KEY_ANY_MODIFIERS | SCAN_COMMA, zoom_out_key);
    add_hot_key(KEY_ANY_MODIFIERS | SCAN_PERIOD, zoom_in_key);
    add_hot_key(SCAN_I, select_hud_colour);
    add_hot_key(SCAN_S, toggle_airspeed_display);
    add_hot_key(SCAN_V, toggle_night_vision_key);
    add_hot_key(SCAN_7, next_airfield_key);
    add_hot_key(SCAN_M, reset_master_caution_key);
    add_hot_key(KEY_ALT | SCAN_A, toggle_autoland);
}

int handle_detail_key(int key_code) {
    ViewSettings& view = view_settings;
    if (key_code >= (KEY_ALT | SCAN_1) && key_code <= (KEY_ALT | SCAN_7)) {
        const int level = key_code - (KEY_ALT | SCAN_1) + 4;
        view.visual_range = detail_ceiling = level;
        if (accelerator_flag) set_depth_scale(level);
        return 1;
    }
    switch (key_code) {
    case KEY_ALT | SCAN_F1: break;  // the terrain detail has keys of its own
    case KEY_ALT | SCAN_F2:
        if (view.object_textures == 0)
            view.object_textures = 3;
        else if (view.object_textures == 3 && !view.night_vision)
            view.object_textures = 2;
        else if (view.object_textures == 2)
            view.object_textures = 0;
        break;
    case KEY_ALT | SCAN_F3: view.flags ^= VIEW_SHADOWS; break;
    case KEY_ALT | SCAN_F4: view.object_visual_range = view.object_visual_range == 0x200000 ? 0x400000 : 0x200000; break;
    case KEY_ALT | SCAN_F5: view.flags ^= VIEW_CLOUDS; break;
    case KEY_ALT | SCAN_F6: smoke_life = smoke_life < 600 ? 600 : 400; break;
    case KEY_ALT | SCAN_F7: smoke_density = smoke_density == 1 || smoke_density == 2 ? smoke_density + 1 : 1;  // any other: 1 break;
    default: break;
    }
    return 1;
}

void register_detail_keys() {
    for (int scan = SCAN_1; scan <= SCAN_7; ++scan) add_hot_key(KEY_ALT | scan, handle_detail_key);
    for (int scan = SCAN_F1; scan <= SCAN_F7; ++scan) add_hot_key(KEY_ALT | scan, handle_detail_key);
}

}  // namespace vyr
