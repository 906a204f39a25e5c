#include <cmath>
#include <cstring>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/instance.h"
#include "library/maths/trig.h"
#include "library/maths/vector.h"
#include "library/system/key.h"
#include "source/avionics/failures.h"
#include "source/avionics/hud.h"
#include "source/avionics/messages.h"
#include "source/drone/drone.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/radar/radar.h"
#include "source/recorder.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sound/triggers.h"
#include "source/weapons/release.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

int32_t selected_hardpoint = -1;
int32_t selected_weapon = 0;
int32_t weapon_selected = 0;
int32_t fire_latch = 0;
int32_t weapons_air_mode = 1;
int32_t recon_required = 0;

namespace {

constexpr int32_t RECON_REACH = 2519685;  // 3,000 m
constexpr int RECON_LETTERS = 40;
constexpr int SPEECH_RECON_SENT = 201, SPEECH_NO_RECON = 202;
constexpr uint32_t RIGHT_ANGLE = 0x40000000u;

int32_t in_range_cue = 0;
char recon_sent_letters[RECON_LETTERS + 1] = {};
int recon_sent_count = 0;


void deselect() {
    selected_hardpoint = -1;
    selected_weapon = 0;
    weapon_selected = 0;
}

// A station the keys may step onto: rounds left, another weapon than the selected one.
bool station_offered(const Hardpoint& point, int station, int filter) {
    return point.stations[station].rounds > 0 && point.weapon_id != selected_weapon &&
           weapon_matches(filter, point.weapon_id) && weapon_suits_mode(point.weapon_id);
}

// Walks the hardpoints from the selection by `step` (+1 or -1), wrapping, and takes the first
// offered station, highest first.
int select_stepping(int filter, int step) {
    int h = selected_hardpoint < 0 ? 0 : (selected_hardpoint + step + STORES_HARDPOINTS) % STORES_HARDPOINTS;
    for (int tried = 0; tried <= STORES_HARDPOINTS; ++tried, h = (h + step + STORES_HARDPOINTS) % STORES_HARDPOINTS) {
        Hardpoint& point = hardpoints[h];
        for (int s = point.station_count - 1; s >= 0; --s) {
            if (!station_offered(point, s, filter)) continue;
            selected_hardpoint = h;
            point.selected_station = s;
            selected_weapon = point.weapon_id;
            fire_latch = 1;
            weapon_selected = 1;
            return 1;
        }
    }
    // Nothing else to step to: the current selection stays while it can still be released.
    if (selected_hardpoint >= 0) {
        const Hardpoint& point = hardpoints[selected_hardpoint];
        if (get_station_rounds(selected_hardpoint, point.selected_station) > 0 && weapon_suits_mode(point.weapon_id))
            return 1;
    }
    deselect();
    return 0;
}

bool recon_sent(char letter) { return std::strchr(recon_sent_letters, letter) != nullptr && letter != 0; }

void record_recon_sent(char letter) {
    if (recon_sent_count < RECON_LETTERS) recon_sent_letters[recon_sent_count++] = letter;
    recon_sent_letters[recon_sent_count] = 0;
    count_mission_goal();
}

bool wings_level_enough() {
    const int32_t roll = player_flight_data.roll;
    return roll > -int32_t(RIGHT_ANGLE) && roll < int32_t(RIGHT_ANGLE);
}

Waypoint* find_recon_waypoint() {
    if (!user_drone || !wings_level_enough() || sky_state != SKY_BELOW_CLOUDS) return nullptr;
    const Vector3& own = player_object->pose->position;
    for (Waypoint* w = user_drone->first_waypoint; w; w = w->next) {
        if (w->type != WAYPOINT_RECON) continue;
        if (estimate_distance_2d(w->x - own.x, w->y - own.y) < RECON_REACH && !recon_sent(w->letter)) return w;
    }
    return nullptr;
}

// A decoy leaves when its refire time has come and one is left.
int launch_decoy(int weapon, int32_t interval, void (*launch)(Drone*), void (*send)()) {
    if (game_clock < next_fire_time[weapon] || rounds_per_weapon[weapon] <= 0) return 0;
    if (user_drone) launch(user_drone);
    if (!unlimited_weapons) --rounds_per_weapon[weapon];
    next_fire_time[weapon] = game_clock + interval;
    send();
    return 1;
}

bool within_right_angle(uint32_t angle) {
    const int32_t a = int32_t(angle);
    return a >= -int32_t(RIGHT_ANGLE) && a <= int32_t(RIGHT_ANGLE);
}

}  // namespace

bool is_gun_weapon(int weapon_id) { return weapon_id == WEAPON_GUN || weapon_id == WEAPON_GEPOD; }
bool is_bomb_weapon(int weapon_id) { return weapon_id >= WEAPON_MK_82 && weapon_id <= WEAPON_MK84_RET; }
bool is_dispenser_weapon(int weapon_id) { return weapon_id == WEAPON_CBU_87B || weapon_id == WEAPON_CBU_89B; }

bool weapon_key_gate(int key_code) {
    if (control_mode == CONTROL_PILOT) return false;
    if (control_mode == CONTROL_GUNNER && queue_remote_key(key_code)) return false;
    return true;
}

bool player_crashed() { return die_flag == END_COLLISION || die_flag == END_CRASH || die_flag == END_DITCHED; }

bool weapon_suits_mode(int weapon_id) {
    const int kind = weapon_info[weapon_id].weapon_kind;
    if (weapons_air_mode) return kind == WEAPON_KIND_AAM || kind == WEAPON_KIND_GUN;
    return kind == WEAPON_KIND_AGM || kind == WEAPON_KIND_BOMB || kind == WEAPON_KIND_GUN;
}

bool weapon_matches(int filter, int weapon_id) { return filter == -1 || filter == weapon_id; }

bool weapon_ready(int weapon_id) {
    return first_hardpoint[weapon_id] != -1 && game_clock >= next_fire_time[weapon_id] &&
           rounds_per_weapon[weapon_id] > 0;
}

int select_next_weapon(int filter) { return select_stepping(filter, 1); }
int select_previous_weapon(int filter) { return select_stepping(filter, -1); }

int select_weapon_key(int key_code) {
    if (!weapon_key_gate(key_code)) return 0;
    if (key_code & KEY_CTRL) {
        if (flight_running && weapon_selected == 1) deselect();
        return 1;
    }
    if (key_code & KEY_ALT) {
        cycle_release_quantity();
        return 1;
    }
    if (player_crashed()) return 1;
    if (is_gun_weapon(selected_weapon)) {
        if (weapons_air_mode && get_gun_aim_mode() == GUN_AIM_AUTOMATIC) {
            set_gun_aim_mode(GUN_AIM_MANUAL);
        } else {
            if (weapons_air_mode) set_gun_aim_mode(GUN_AIM_AUTOMATIC);
            select_next_weapon(-1);
        }
    } else if (is_bomb_weapon(selected_weapon) || is_dispenser_weapon(selected_weapon)) {
        const int mode = get_bomb_delivery_mode();
        if (mode == BOMB_MODE_CCIP) {
            set_bomb_delivery_mode(BOMB_MODE_LAY);
        } else if (mode == BOMB_MODE_LAY && is_bomb_weapon(selected_weapon)) {
            set_bomb_delivery_mode(BOMB_MODE_LOFT);
        } else {
            set_bomb_delivery_mode(BOMB_MODE_CCIP);
            select_next_weapon(-1);
        }
    } else {
        set_bomb_delivery_mode(BOMB_MODE_CCIP);
        set_gun_aim_mode(GUN_AIM_AUTOMATIC);
        select_next_weapon(-1);
    }
    return 1;
}

int select_previous_key(int key_code) {
    if (!weapon_key_gate(key_code)) return 0;
    if (player_crashed()) return 1;
    if (is_gun_weapon(selected_weapon)) {
        if (!weapons_air_mode) {
            select_previous_weapon(-1);
        } else if (get_gun_aim_mode() == GUN_AIM_AUTOMATIC) {
            set_gun_aim_mode(GUN_AIM_MANUAL);
        } else {
            set_gun_aim_mode(GUN_AIM_AUTOMATIC);
            select_previous_weapon(-1);
        }
    } else if (is_bomb_weapon(selected_weapon) || is_dispenser_weapon(selected_weapon)) {
        const int mode = get_bomb_delivery_mode();
        set_bomb_delivery_mode(BOMB_MODE_CCIP);
        if (mode == BOMB_MODE_CCIP || (is_dispenser_weapon(selected_weapon) && mode != BOMB_MODE_LAY))
            select_previous_weapon(-1);
    } else {
        set_bomb_delivery_mode(BOMB_MODE_LOFT);
        set_gun_aim_mode(GUN_AIM_AUTOMATIC);
        select_previous_weapon(-1);
    }
    return 1;
}

void cycle_release_quantity() {
    if (weapon_info[selected_weapon].weapon_kind != WEAPON_KIND_BOMB) return;
    const int h = first_hardpoint[selected_weapon];
    if (h == -1) return;
    const int mirror = mirror_hardpoint[h];
    const int32_t total = count_hardpoint_rounds(h) + count_hardpoint_rounds(mirror);
    const int32_t quantity = hardpoints[h].release_quantity;
    hardpoints[h].release_quantity = total > quantity ? quantity + 1 : 1;
    hardpoints[mirror].release_quantity = hardpoints[h].release_quantity;
}

int toggle_air_ground_mode(int) {
    weapons_air_mode = !weapons_air_mode;
    if (weapon_selected && weapon_info[selected_weapon].weapon_kind != WEAPON_KIND_GUN) select_next_weapon(-1);
    radar_air_mode = weapons_air_mode;
    radar_ground_mode = !weapons_air_mode;
    post_message(weapons_air_mode ? "AIR MODE" : "GROUND MODE", 2, 400);
    designated_target.kind = TARGET_NONE;
    return 1;
}

int launch_flare(int key_code) {
    if (!weapon_key_gate(key_code)) return 0;
    return launch_decoy(WEAPON_FLARE, weapon_info[WEAPON_FLARE].fire_interval / 2, launch_drone_flare, send_flare_launch);
}

int launch_chaff(int key_code) {
    if (!weapon_key_gate(key_code)) return 0;
    return launch_decoy(WEAPON_CHAFF, weapon_info[WEAPON_CHAFF].fire_interval, launch_drone_chaff, send_chaff_launch);
}

int recon_key(int key_code) {
    if (control_mode == CONTROL_PILOT) return 0;
    if (control_mode == CONTROL_GUNNER && queue_remote_key(key_code)) return 1;
    if (has_failure(FAIL_RECON)) return 1;
    if (Waypoint* w = find_recon_waypoint()) {
        record_recon_sent(w->letter);
        post_message("RECON SENT", 1, 200);
        play_speech(SPEECH_RECON_SENT);
    } else {
        post_message("NO RECON", 1, 200);
        play_speech(SPEECH_NO_RECON);
    }
    return 1;
}

void reset_recon() {
    recon_required = 0;
    for (Waypoint* w = user_drone ? user_drone->first_waypoint : nullptr; w; w = w->next)
        if (w->type == WAYPOINT_RECON) ++recon_required;
    recon_sent_letters[0] = 0;
    recon_sent_count = 0;
}

int check_target_in_range() {
    const WeaponInfo& info = weapon_info[selected_weapon];
    const Vector3& own = player_object->pose->position;
    const int32_t* nose = player_position->matrix[1];
    const Vector3 forward = {nose[0], nose[1], nose[2]};
    Vector3 motion;
    get_target_direction(&designated_target, motion);
    normalize_vector(motion);
    uint32_t heading = 0, elevation = 0;
    compute_relative_angles(motion, forward, heading, elevation);
    Vector3 at = designated_target.position;
    get_target_position(&designated_target, at);
    const int32_t distance = measure_distance_3d(at.x - own.x, at.y - own.y, at.z - own.z);
    const uint32_t magnitude = fixed_magnitude(int32_t(heading));
    const double cosine = sin_table[(magnitude >> 19) + ((magnitude >> 18) & 1) + 2048] / 2147483647.0;
    const int32_t reach = int32_t(
        0.9 * (info.max_range - cosine * get_target_speed(&designated_target) * info.closing_time_factor));
    if (distance >= reach) return 0;
    Vector3 line = {at.x - own.x, at.y - own.y, at.z - own.z};
    normalize_vector(line);
    compute_relative_angles(line, forward, heading, elevation);
    return within_right_angle(heading) && within_right_angle(elevation) ? 1 : 0;
}

void update_in_range_cue() {
    in_range_cue = designated_target.kind != TARGET_NONE && rounds_per_weapon[selected_weapon] > 0
                       ? check_target_in_range()
                       : 0;
}

int get_in_range_cue() { return in_range_cue; }
void reset_in_range_cue() { in_range_cue = 0; }

// Nothing sets the countermeasures' repeat, so there is never a decoy to repeat.
void repeat_countermeasures() {}

void reset_weapon_modes() {
    weapons_air_mode = 1;
    reset_release_messages();
}

void register_weapon_keys() {
    const struct {
        int code;
        HotKeyHandler handler;
    } keys[] = {{KEY_ANY_MODIFIERS | SCAN_ENTER, select_weapon_key},
                {KEY_POLLED | SCAN_SPACE, fire_weapon},
                {SCAN_SPACE, fire_weapon},
                {SCAN_C, launch_chaff},
                {SCAN_F, launch_flare},
                {SCAN_T, recon_key},
                {KEY_ANY_MODIFIERS | SCAN_KEYPAD_3, toggle_air_ground_mode},
                {SCAN_J, jettison_tanks},
                {KEY_CTRL | SCAN_J, jettison_stores},
                {KEY_ALT | SCAN_J, jettison_all},
                {KEY_SHIFT | SCAN_ENTER, select_previous_key}};
    for (const auto& key : keys) add_hot_key(key.code, key.handler);
}

}  // namespace vyr
