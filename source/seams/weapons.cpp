// Stand-in for the weapons and sensors.
#include <algorithm>
#include <iterator>

#include "library/debug/fatal.h"
#include "library/3dvisual/instance.h"
#include "library/maths/vector.h"
#include "source/models/integration.h"
#include "source/radar/air_radar.h"
#include "source/radar/radar.h"
#include "source/radar/target_select.h"
#include "source/weapons/guidance.h"
#include "source/weapons/failures.h"
#include "source/weapons/round_movement.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

int32_t electrics_first_failure_time = 0;
int32_t electrics_second_failure_time = 0;
int32_t unlimited_weapons = 0;
int32_t selected_hardpoint = -1;
int32_t selected_weapon = 0;
int32_t weapon_selected = 0;
int32_t fire_latch = 0;
Target designated_target = {};
int32_t auto_target_on = 1;
int32_t follow_best_target = 1;
int32_t reacquire_target = 1;
int32_t target_step_request = 0;
Target laser_spot_target = {};
Hardpoint hardpoints[STORES_HARDPOINTS] = {};
int32_t first_hardpoint[WEAPON_COUNT] = {};
SensorSlot sensor_slots[STORES_SENSOR_SLOTS] = {};

// Until the stores are built the hardpoints and slots only keep what the payload fits, mirror
// and all; nothing is armed, so the stations hold no rounds until someone puts them there.
namespace {
constexpr int MIRROR_HARDPOINT[STORES_HARDPOINTS] = {0, 2, 1, 4, 3, 6, 5, 8, 7, 9};
constexpr int MIRROR_SENSOR_SLOT[STORES_SENSOR_SLOTS] = {0, 2, 1, 4, 3, 6, 5};
constexpr int PYLON_STATIONS[] = {1, 1, 1, 1, 1, 3, 6, 3};
constexpr int SHARED_SLOT[STORES_HARDPOINTS] = {0, 5, 6, 3, 4, -1, -1, -1, -1, -1};
double stores_weight = 0.0;

void empty_hardpoint(Hardpoint& point) {
    delete[] point.stations;
    point = {};
}

template <typename Fit>
void fit_with_mirror(int place, const int* mirror, Fit fit) {
    fit(place);
    if (mirror[place] != place) fit(mirror[place]);
}
}  // namespace

void fit_pylon(int hardpoint, int pylon_type) {
    fit_with_mirror(hardpoint, MIRROR_HARDPOINT, [&](int h) {
        Hardpoint& point = hardpoints[h];
        delete[] point.stations;
        point.pylon_type = pylon_type;
        point.weapon_id = 0;
        point.station_count = PYLON_STATIONS[pylon_type];
        point.stations = new Station[point.station_count]{};
        if (SHARED_SLOT[h] >= 0) sensor_slots[SHARED_SLOT[h]].sensor_type = SENSOR_TYPE_NONE;
    });
}

void fit_base_pylon(int hardpoint, int pylon_type) {
    fit_with_mirror(hardpoint, MIRROR_HARDPOINT, [&](int h) {
        if (PYLON_STATIONS[pylon_type] == 1) hardpoints[h].base_pylon_type = pylon_type;
    });
}

void fit_sensor(int slot, int sensor_type) {
    fit_with_mirror(slot, MIRROR_SENSOR_SLOT, [&](int s) {
        sensor_slots[s].sensor_type = sensor_type;
        for (int h = 0; h < STORES_HARDPOINTS; ++h)
            if (SHARED_SLOT[h] == s) empty_hardpoint(hardpoints[h]);
    });
}

void load_hardpoint(int hardpoint, int weapon_id, int release_quantity, int loaded_count) {
    fit_with_mirror(hardpoint, MIRROR_HARDPOINT, [&](int h) {
        Hardpoint& point = hardpoints[h];
        point.weapon_id = weapon_id;
        for (int s = 0; s < point.station_count; ++s) point.stations[s].weapon_id = weapon_id;
        point.release_quantity = release_quantity;
        point.loaded_count = loaded_count;
    });
}

void set_stores_weight(double lb) { stores_weight = lb; }

int32_t count_hardpoint_rounds(int hardpoint) {
    int32_t rounds = 0;
    for (int s = 0; s < hardpoints[hardpoint].station_count; ++s) rounds += hardpoints[hardpoint].stations[s].rounds;
    return rounds;
}

// The gun pod's shells and the rocket pods' rockets; one store a station otherwise.
int get_weapon_rounds_per_station(int weapon_id) {
    switch (weapon_id) {
    case 21: return 512;
    case 22: return 353;
    case 25: case 26: return 19;
    default: return 1;
    }
}

void load_stores() {}
void reset_stores() { std::fill(std::begin(first_hardpoint), std::end(first_hardpoint), -1); }
int32_t get_weapon_rounds(int) { return 0; }
double get_stores_weight() { return stores_weight; }
double get_centre_tank_weight() { return 0.0; }
double get_wing_tank_weight() { return 0.0; }

// No weapon can be selected or fired yet; the air/ground switch flips only the radar's modes.
void register_weapon_keys() {}
void select_next_weapon(int) {}
// No weapon is ever in range.
void update_in_range_cue() {}
int get_in_range_cue() { return 0; }
void toggle_air_ground_mode() {
    radar_air_mode = !radar_air_mode;
    radar_ground_mode = !radar_ground_mode;
}
int has_ecm_pod() {
    for (const SensorSlot& slot : sensor_slots)
        if (slot.sensor_type == SENSOR_TYPE_ECM_POD) return 1;
    return 0;
}

// No stores, rounds, radar or designation exists yet to reset or move.
void save_stores_state() {}
void reset_designation() { designated_target.kind = TARGET_NONE; }
void clear_designation() { designated_target.kind = TARGET_NONE; }
int is_designator_tracking() { return 0; }
int has_targeting_pod() {
    for (const SensorSlot& slot : sensor_slots)
        if (slot.sensor_type == SENSOR_TYPE_TARGETING_POD) return 1;
    return 0;
}
void reset_recon() {}
void repeat_countermeasures() {}
// The designation stays as the radar's steps leave it; the air contacts are grouped for the
// radar page as the selection would.
void update_target_selection() {
    if (radar_air_mode) merge_air_contacts(air_contact_head);
}

// Missiles fly straight along their nose, see nothing and are never decoyed until guidance is
// built; no hit fails the player's systems.
void move_missile(WeaponRound* round, Vector3& step) { move_straight_round(round, step); }
const Target* update_round_seeker(WeaponRound*) { return nullptr; }
int decoy_succeeds(WeaponRound*) { return 0; }
void damage_player_systems() {}
int is_laser_failed() { return 0; }

}  // namespace vyr

// Until the stores land: no bomb falls anywhere, no release comes, the launch point is the
// aircraft and no gun round has flown.
#include "source/drone/user_drone.h"
#include "source/weapons/bomb_sight.h"
#include "source/weapons/release.h"
namespace vyr {
void predict_bomb_impact(Vector3& out) { out = player_position->position; }
void predict_cluster_bomb_impact(Vector3& out) { out = player_position->position; }
void predict_dur_impact(Vector3& out) { out = player_position->position; }
double compute_bomb_release_time(int32_t& ticks) {
    ticks = -1;
    return 0;
}
double compute_cluster_release_time(int32_t& ticks) { return compute_bomb_release_time(ticks); }
double compute_loft_release(int32_t& ticks) { return compute_bomb_release_time(ticks); }
const Pose& get_launch_viewpoint(int) { return *player_position; }
WeaponRound* get_last_gun_round() { return nullptr; }
}  // namespace vyr
