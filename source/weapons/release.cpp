#include "source/weapons/release.h"

#include <algorithm>
#include <numbers>

#include "library/debug/fatal.h"
#include "library/sound/samples.h"
#include "library/system/key.h"
#include "source/avionics/failures.h"
#include "source/avionics/hud.h"
#include "source/avionics/messages.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/mission/payload.h"
#include "source/models/engine.h"
#include "source/models/flight_model.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/bomb_sight.h"
#include "source/weapons/launch.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapon_keys.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/weapons/release";

constexpr int KMGU_LOAD = 36;
constexpr int32_t MAX_BOMB_BANK = 0x35555555;  // 75 degrees
constexpr int32_t DECOY_DROP = 1280;           // 5 ft below the aircraft
constexpr int32_t MESSAGE_SPACING = 400;
constexpr int32_t GUN_ROUNDS_NETWORKED = 4;
constexpr int SAMPLE_JETTISON = 22, JETTISON_LEVEL = 63, CENTRE_PAN = 0x8000;
constexpr double JETTISON_FUEL_LEFT = 1000.0;

// Sub-objects of the player's aircraft model at each hardpoint and sensor slot.
constexpr int HARDPOINT_SUBOBJECT[STORES_HARDPOINTS] = {4, 9, 12, 10, 13, 11, 14, 17, 18, 2};
constexpr int SENSOR_SLOT_SUBOBJECT[STORES_SENSOR_SLOTS] = {0, 2, 3, 10, 13, 9, 12};
// Slots up to this entry hang under the fuselage's sub-object 1.
constexpr int FUSELAGE_SLOT_LAST = 2, FUSELAGE_SUBOBJECT = 1;

WeaponRound* last_player_round = nullptr;
int32_t next_wheel_message_time = 0, next_release_message_time = 0;
Pose launch_pose = {}, sensor_pose = {};


const Pose& own_pose() { return *player_position; }

ObjectInstance* sub_instance(ObjectInstance* parent, int index) {
    if (!parent || index < 0 || index >= parent->count) return nullptr;
    return parent->sub_instances[index];
}

// The drone a mobile target belongs to; null for a round's.
Drone* target_drone(const Target& target) {
    const auto* instance = static_cast<const ObjectInstance*>(target.object);
    return instance && instance->owner_kind == OWNER_DRONE ? static_cast<Drone*>(instance->owner) : nullptr;
}

Target* shooter_target() { return user_drone ? &user_drone->target : nullptr; }
const Target* designation_or_none() { return designated_target.kind != TARGET_NONE ? &designated_target : nullptr; }

// One round fewer on the station and in the total, unless weapons are unlimited.
void use_round(Station& station, int weapon) {
    if (unlimited_weapons) return;
    --station.rounds;
    --rounds_per_weapon[weapon];
}

WeaponRound* show(WeaponRound* round) {
    if (round) set_weapon_view_object(round);
    return round;
}

WeaponRound* drop(int weapon, const Pose& pose) {
    const int32_t extra = weapon_info[weapon].round_class == ROUND_CLASS_DECOY ? weapon_info[weapon].spread : 0;
    return show(activate_round(launch_dropped_round(weapon, pose, shooter_target(), extra, user_drone)));
}

// Radians 0 .. 2 pi: a store falls clear only within 45 degrees of level.
bool attitude_clear_for_drop() {
    const double quarter = std::numbers::pi / 4, seven_quarters = 7 * std::numbers::pi / 4;
    for (double angle : {get_model_roll_angle(), get_model_pitch_angle()})
        if (angle > quarter && angle < seven_quarters) return false;
    return true;
}

// Rounds of a gun burst this frame: by the frame time alone, or four a frame when linked.
int32_t gun_rounds_this_frame(int weapon, int32_t rounds_left) {
    const int32_t k = game_mode == GAME_SINGLE ? int32_t(frame_seconds * 200 / weapon_info[weapon].fire_interval)
                                               : GUN_ROUNDS_NETWORKED;
    return std::min(std::max(k, 1), rounds_left);
}

bool aim_assist_for(int weapon) {
    if (has_failure(FAIL_HUD)) return false;
    if (is_gun_weapon(weapon))
        return ((designated_target.kind != TARGET_NONE && designated_target.domain == TARGET_DOMAIN_AIR) ||
                get_gun_aim_mode() == GUN_AIM_AUTOMATIC) &&
               weapons_air_mode;
    if (is_bomb_weapon(weapon) || is_dispenser_weapon(weapon))
        return get_bomb_delivery_mode() == BOMB_MODE_LAY || get_bomb_delivery_mode() == BOMB_MODE_LOFT;
    return false;
}

bool ground_target_designated() {
    return designated_target.kind != TARGET_NONE && get_target_domain(&designated_target) == TARGET_DOMAIN_GROUND;
}

// Outside the cockpit nothing draws the head-up display's computation, so the release runs it.
void compute_release_outside_cockpit(int weapon) {
    if (view_mode == VIEW_COCKPIT || !ground_target_designated()) return;
    int32_t ticks = 0;
    if (is_dispenser_weapon(weapon))
        compute_cluster_release_time(ticks);
    else if (get_bomb_delivery_mode() == BOMB_MODE_LAY)
        compute_bomb_release_time(ticks);
    else if (get_bomb_delivery_mode() == BOMB_MODE_LOFT)
        compute_bomb_release_time_alt(ticks);
}

bool refused(int weapon) {
    const WeaponInfo& info = weapon_info[weapon];
    if (info.weapon_kind == WEAPON_KIND_BOMB &&
        (player_flight_data.roll > MAX_BOMB_BANK || player_flight_data.roll < -MAX_BOMB_BANK))
        return true;
    if (info.round_class == ROUND_CLASS_GUIDED && info.weapon_kind != WEAPON_KIND_BOMB &&
        designated_target.kind == TARGET_NONE)
        return true;
    switch (weapon) {
    case WEAPON_AIM_9M: case WEAPON_AMRAAM: case WEAPON_AGM_65E: case WEAPON_AGM_65G: case WEAPON_AGM_88A:
        if (designated_target.kind == TARGET_NONE || !check_target_in_range()) return true;
        break;
    default: break;
    }
    return !weapon_ready(weapon);
}

// Launches the weapon from the station; 1 when a round left.
int launch_from(int weapon, Station& station) {
    const Pose& pose = get_launch_viewpoint(weapon);
    Target* shooter = shooter_target();
    switch (weapon) {
    case 2: case 18: case WEAPON_AGM_65E: case WEAPON_GBU_12: case WEAPON_GBU_16: case WEAPON_GBU_10:
    case 3: case WEAPON_AIM_9M: case WEAPON_AMRAAM: case WEAPON_AGM_65G: case WEAPON_AGM_88A: {
        // The laser-guided rounds follow the player's own designation.
        const bool laser = weapon == 2 || weapon == 18 || weapon == WEAPON_AGM_65E ||
                           (weapon >= WEAPON_GBU_12 && weapon <= WEAPON_GBU_10);
        last_player_round = activate_round(
            launch_guided_round(weapon, pose, shooter, laser ? shooter : nullptr, designation_or_none(), user_drone));
        if (!last_player_round) return 0;
        show(last_player_round);
        use_round(station, weapon);
        return 1;
    }
    case WEAPON_GUN: case WEAPON_GEPOD: {
        if (weapon == WEAPON_GUN && has_failure(FAIL_GUN)) return 0;
        (weapon == WEAPON_GUN ? internal_gun_fired : gun_rounds_fired) = 1;
        const int32_t k = gun_rounds_this_frame(weapon, station.rounds);
        for (int32_t i = 0; i < k && station.rounds > 0; ++i) {
            gun_rounds_fired = 1;
            last_player_round = activate_round(launch_unguided_round(weapon, pose, shooter, user_drone));
            use_round(station, weapon);
        }
        return 1;
    }
    case 25: case 26:
        last_player_round = activate_round(launch_unguided_round(weapon, pose, shooter, user_drone));
        if (!last_player_round) return 0;
        show(last_player_round);
        use_round(station, weapon);
        return 1;
    case WEAPON_KMGU: case WEAPON_CBU15: case WEAPON_MK_82: case WEAPON_MK_83: case WEAPON_MK_84: case WEAPON_MK82_RET:
    case WEAPON_MK83_RET: case WEAPON_MK84_RET: case WEAPON_CBU_87B:
    case WEAPON_CBU_89B:
        if (weapon == WEAPON_KMGU) {
            for (int i = 0; i < KMGU_LOAD; ++i) drop(weapon, pose);
            last_player_round = drop(WEAPON_MINEFIELD, pose);
        } else {
            last_player_round = drop(weapon, pose);
        }
        if (!unlimited_weapons) adjust_model_mass(-weapon_info[weapon].round_weight);
        use_round(station, weapon);
        return last_player_round != nullptr;
    default:
        report_fatal_error("Vorn ( oh hang on, its an vyr now ) can't fire weapon requested: %s(%d).", SOURCE, __LINE__,
                           get_weapon_name(weapon), weapon);
        return 0;
    }
}

// After the last round of a hardpoint: each weapon's release moves to the first station still
// holding it, and the selection follows its weapon there.
void rebuild_release_points() {
    bool met[WEAPON_COUNT] = {};
    for (int h = 0; h < STORES_HARDPOINTS; ++h) {
        Hardpoint& point = hardpoints[h];
        for (int s = 0; s < point.station_count; ++s) {
            const int weapon = point.stations[s].weapon_id;
            if (point.stations[s].rounds <= 0 || met[weapon]) continue;
            met[weapon] = true;
            first_hardpoint[weapon] = h;
            point.selected_station = s;
        }
    }
    first_hardpoint[0] = -1;
    const int h = first_hardpoint[selected_weapon];
    if (h >= 0 && get_station_rounds(h, hardpoints[h].selected_station) > 0) selected_hardpoint = h;
}

int highest_loaded_station(const Hardpoint& point) {
    for (int s = point.station_count - 1; s >= 0; --s)
        if (point.stations[s].rounds > 0) return s;
    return -1;
}

bool jettison_allowed() { return !unlimited_weapons && !player_flight_data.on_ground; }

void drop_sensor(int slot) {
    const int type = sensor_slots[slot].sensor_type;
    remove_sensor_weight(type);
    drop(get_sensor_store_weapon(type), get_sensor_slot_viewpoint(slot));
    sensor_slots[slot].sensor_type = SENSOR_TYPE_NONE;
    recount_stores();
    check_loadout_limits();
}

// Hardpoints 0 to 8 (never the gun's): every loaded station falls as its jettisoned form from the
// weapon's launch point, then the hardpoint is emptied.
void jettison_hardpoints(bool keep_missiles) {
    for (int h = 0; h < STORES_HARDPOINTS - 1; ++h) {
        Hardpoint& point = hardpoints[h];
        const int weapon = point.weapon_id;
        if (weapon == 0 || (keep_missiles && weapon_info[weapon].weapon_kind == WEAPON_KIND_AAM)) continue;
        play_sample(SAMPLE_JETTISON, 0, JETTISON_LEVEL, CENTRE_PAN);
        for (int s = 0; s < point.station_count; ++s) {
            if (point.stations[s].rounds <= 0) continue;
            remove_store_weight(weapon);
            drop(get_jettison_weapon(weapon), get_launch_viewpoint(weapon));
        }
        point.weapon_id = 0;
        delete[] point.stations;
        point.stations = nullptr;
        point.station_count = 0;
        recount_stores();
        check_loadout_limits();
    }
}

}  // namespace

int fire_weapon(int key_code) {
    if (die_flag || fire_latch || is_key_down(SCAN_ALT)) return 0;
    if (!weapon_key_gate(key_code) || !weapon_selected) return 0;
    const int weapon = selected_weapon;
    if (weapon == WEAPON_GEPOD && get_gear_state() != GEAR_UP) {
        if (game_clock > next_wheel_message_time) {
            post_message("WHEEL IN WAY", 2, 400);
            next_wheel_message_time = game_clock + MESSAGE_SPACING;
        }
        return 0;
    }
    if (player_flight_data.on_ground || refused(weapon)) return 0;
    const bool droppable = weapon == WEAPON_KMGU || weapon == WEAPON_CBU15 || is_bomb_weapon(weapon) || is_dispenser_weapon(weapon);
    int h = first_hardpoint[weapon];
    for (int n = hardpoints[h].release_quantity; n > 0; --n) {
        Hardpoint& point = hardpoints[h];
        const int station = highest_loaded_station(point);
        if (station < 0) break;
        point.selected_station = station;
        const bool assisted = aim_assist_for(weapon);
        if (is_gun_weapon(weapon) && get_gun_aim_mode() == GUN_AIM_AUTOMATIC && assisted && !has_gun_solution()) return 0;
        if (is_bomb_weapon(weapon) || is_dispenser_weapon(weapon)) {
            compute_release_outside_cockpit(weapon);
            if (assisted) {
                if (designated_target.kind == TARGET_NONE || !is_release_cue_set()) return 0;
                if (game_clock > next_release_message_time) {
                    post_message("WEAPON RELEASED", 2, 200);
                    fire_latch = 1;
                    next_release_message_time = game_clock + MESSAGE_SPACING;
                }
            }
        }
        if (droppable && !attitude_clear_for_drop()) return 0;
        if (weapon != WEAPON_GEPOD) remove_store_weight(weapon);
        const int launched = launch_from(weapon, point.stations[station]);
        check_loadout_limits();
        if (launched && last_player_round) send_weapon_fire(last_player_round);
        if (designated_target.kind == TARGET_MOBILE)
            if (Drone* victim = target_drone(designated_target)) alert_drone_under_attack(victim, shooter_target());
        next_fire_time[weapon] = game_clock + weapon_info[weapon].fire_interval;
        h = mirror_hardpoint[h];
        first_hardpoint[weapon] = h;
    }
    if (get_station_rounds(h, hardpoints[h].selected_station) > 0) return 1;
    rebuild_release_points();
    return 1;
}

const Pose& get_launch_viewpoint(int weapon_id) {
    if (weapon_id == WEAPON_FLARE || weapon_id == WEAPON_CHAFF) {
        launch_pose = own_pose();
        launch_pose.position.z -= DECOY_DROP;
        return launch_pose;
    }
    if (weapon_id != WEAPON_KMGU && (weapon_id < WEAPON_GUN || weapon_id > 42)) {
        launch_pose = {};
        report_fatal_error("Tried to get launch viewpoint for illegal/unknown weapon type", SOURCE, __LINE__);
        return launch_pose;
    }
    const int h = first_hardpoint[weapon_id];
    if (h < 0) return own_pose();
    ObjectInstance* node = sub_instance(player_object, HARDPOINT_SUBOBJECT[h]);
    if (weapon_id == 17 || weapon_id == 18) node = sub_instance(node, 0);
    const Hardpoint& point = hardpoints[h];
    if (pylon_types[point.pylon_type].object_number != 0)
        if (ObjectInstance* child = sub_instance(node, point.selected_station)) node = child;
    if (!node) return own_pose();
    launch_pose = *node->pose;
    return launch_pose;
}

const Pose& get_sensor_slot_viewpoint(int slot) {
    ObjectInstance* parent = slot <= FUSELAGE_SLOT_LAST ? sub_instance(player_object, FUSELAGE_SUBOBJECT) : player_object;
    ObjectInstance* node = sub_instance(parent, SENSOR_SLOT_SUBOBJECT[slot]);
    if (!node) return own_pose();
    sensor_pose = *node->pose;
    return sensor_pose;
}

WeaponRound* get_last_gun_round() { return last_player_round; }

int get_jettison_weapon(int weapon_id) {
    switch (weapon_id) {
    case WEAPON_GEPOD: return 84;
    case WEAPON_AIM_9M: return 87;
    case WEAPON_AMRAAM: return 88;
    case 25: return 85;
    case 26: return 86;
    case WEAPON_AGM_65E: return 89;
    case WEAPON_AGM_65G: return 90;
    case WEAPON_CBU15: return 108;
    case WEAPON_AGM_88A: return 91;
    default:
        // The bombs, guided bombs and dispensers 30 to 40 fall as 97 to 107.
        if (weapon_id >= WEAPON_MK_82 && weapon_id <= WEAPON_CBU_89B) return weapon_id + 67;
        return weapon_id;
    }
}

int get_sensor_store_weapon(int sensor_type) {
    if (sensor_type < SENSOR_TYPE_ECM_POD || sensor_type > SENSOR_TYPE_WING_TANK)
        report_fatal_error("unknown sensor type %d", SOURCE, __LINE__, sensor_type);
    return 91 + sensor_type;
}

int jettison_tanks(int) {
    if (!jettison_allowed()) return 1;
    for (int slot = 0; slot < STORES_SENSOR_SLOTS; ++slot) {
        const int type = sensor_slots[slot].sensor_type;
        if (type != SENSOR_TYPE_CENTRE_TANK && type != SENSOR_TYPE_WING_TANK) continue;
        play_sample(SAMPLE_JETTISON, 0, JETTISON_LEVEL, CENTRE_PAN);
        drop_sensor(slot);
    }
    return 1;
}

int jettison_stores(int) {
    if (jettison_allowed()) jettison_hardpoints(true);
    return 1;
}

int jettison_all(int) {
    if (!jettison_allowed()) return 1;
    jettison_hardpoints(false);
    for (int slot = 0; slot < STORES_SENSOR_SLOTS; ++slot) {
        const int type = sensor_slots[slot].sensor_type;
        if (type != SENSOR_TYPE_NONE && type != SENSOR_TYPE_TARGETING_POD) drop_sensor(slot);
    }
    if (get_model_fuel() > JETTISON_FUEL_LEFT) set_model_fuel(JETTISON_FUEL_LEFT);
    return 1;
}

void reset_release_messages() { next_wheel_message_time = next_release_message_time = 0; }

}  // namespace vyr
