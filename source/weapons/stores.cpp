#include "source/weapons/stores.h"

#include <algorithm>
#include <iterator>

#include "library/debug/fatal.h"
#include "source/mission/payload.h"
#include "source/models/flight_model.h"
#include "source/skill.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

int32_t unlimited_weapons = 0;
Hardpoint hardpoints[STORES_HARDPOINTS] = {};
SensorSlot sensor_slots[STORES_SENSOR_SLOTS] = {};
const int mirror_hardpoint[STORES_HARDPOINTS] = {0, 2, 1, 4, 3, 6, 5, 8, 7, 9};
const int mirror_sensor_slot[STORES_SENSOR_SLOTS] = {0, 2, 1, 4, 3, 6, 5};
int32_t first_hardpoint[WEAPON_COUNT] = {};
int32_t rounds_per_weapon[WEAPON_COUNT] = {};
int32_t next_fire_time[WEAPON_COUNT] = {};

namespace {

constexpr const char* SOURCE = "source/weapons/stores";

// The sensor slot sharing each hardpoint's place, -1 for none.
constexpr int SHARED_SLOT[STORES_HARDPOINTS] = {0, 5, 6, 3, 4, -1, -1, -1, -1, -1};
constexpr int32_t FLARES_CARRIED = 15, CHAFF_CARRIED = 30;
// What a tank counts in the stores' weight once its fuel is the engine's.
constexpr double CENTRE_TANK_FRAME = 100.0, WING_TANK_FRAME = 120.0, WING_TANKS_FRAME = 240.0;
constexpr int32_t MAX_RELEASE_QUANTITY = 12;
// The gun's reach grows with the forces' skill: 1,000 ft at the top, 4,000 ft at the bottom.
constexpr int32_t GUN_RANGE_BASE = 256000, GUN_RANGE_STEP = 85248, GUN_RANGE_MAX = 1024000;

double stores_weight = 0.0;

void check_hardpoint(int hardpoint) {
    if (hardpoint < 0 || hardpoint >= STORES_HARDPOINTS)
        report_fatal_error("Hardpoint does not exist on Vyr", SOURCE, __LINE__);
}
void check_pylon_type(int pylon_type) {
    if (pylon_type < 0 || pylon_type >= PYLON_TYPES) report_fatal_error("Pylon type is out of range", SOURCE, __LINE__);
}

template <typename Fit>
void fit_with_mirror(int place, const int* mirror, Fit fit) {
    fit(place);
    if (mirror[place] != place) fit(mirror[place]);
}

void free_stations(Hardpoint& point) {
    delete[] point.stations;
    point.stations = nullptr;
    point.station_count = 0;
}

// The pods are read from the slots whenever asked, so a pod fitted or dropped counts at once.
int has_sensor(int sensor_type) {
    for (const SensorSlot& slot : sensor_slots)
        if (slot.sensor_type == sensor_type) return 1;
    return 0;
}

void deselect_weapon() {
    selected_weapon = 0;
    selected_hardpoint = -1;
    weapon_selected = 0;
}

}  // namespace

void empty_hardpoint(int hardpoint) {
    Hardpoint& point = hardpoints[hardpoint];
    free_stations(point);
    point.weapon_id = 0;
    point.pylon_type = PYLON_NONE;
}

void fit_pylon(int hardpoint, int pylon_type) {
    check_hardpoint(hardpoint);
    check_pylon_type(pylon_type);
    fit_with_mirror(hardpoint, mirror_hardpoint, [&](int h) {
        Hardpoint& point = hardpoints[h];
        free_stations(point);
        point.pylon_type = pylon_type;
        point.weapon_id = 0;
        point.selected_station = 0;
        point.station_count = pylon_types[pylon_type].stations;
        point.stations = new Station[point.station_count]{};
        if (SHARED_SLOT[h] >= 0) sensor_slots[SHARED_SLOT[h]].sensor_type = SENSOR_TYPE_NONE;
    });
}

void fit_base_pylon(int hardpoint, int pylon_type) {
    check_hardpoint(hardpoint);
    check_pylon_type(pylon_type);
    fit_with_mirror(hardpoint, mirror_hardpoint, [&](int h) {
        if (pylon_types[pylon_type].stations == 1) hardpoints[h].base_pylon_type = pylon_type;
    });
}

void fit_sensor_pylon(int slot, int pylon_type) {
    if (slot < 0 || slot >= STORES_SENSOR_SLOTS) report_fatal_error("pod does not exist on Vyr", SOURCE, __LINE__);
    check_pylon_type(pylon_type);
    fit_with_mirror(slot, mirror_sensor_slot, [&](int s) {
        if (pylon_types[pylon_type].stations == 1) sensor_slots[s].base_pylon_type = pylon_type;
    });
}

void fit_sensor(int slot, int sensor_type) {
    if (slot < 0 || slot >= STORES_SENSOR_SLOTS)
        report_fatal_error("sensor slot does not exist on Vyr", SOURCE, __LINE__);
    if (sensor_type < 0 || sensor_type >= SENSOR_TYPES)
        report_fatal_error("sensor type is out of range", SOURCE, __LINE__);
    fit_with_mirror(slot, mirror_sensor_slot, [&](int s) {
        sensor_slots[s].sensor_type = sensor_type;
        for (int h = 0; h < STORES_HARDPOINTS; ++h)
            if (SHARED_SLOT[h] == s) empty_hardpoint(h);
    });
}

void load_hardpoint(int hardpoint, int weapon_id, int release_quantity, int loaded_count) {
    check_hardpoint(hardpoint);
    if (weapon_id < 0 || weapon_id >= WEAPON_COUNT) report_fatal_error("Weapon type is out of range", SOURCE, __LINE__);
    const int quantity = weapon_info[weapon_id].weapon_kind == WEAPON_KIND_BOMB
                             ? std::clamp(release_quantity, 1, int(MAX_RELEASE_QUANTITY))
                             : 1;
    fit_with_mirror(hardpoint, mirror_hardpoint, [&](int h) {
        Hardpoint& point = hardpoints[h];
        if (!point.stations) report_fatal_error("weapons array not allocated", SOURCE, __LINE__);
        point.weapon_id = weapon_id;
        for (int s = 0; s < point.station_count; ++s) point.stations[s].weapon_id = weapon_id;
        point.release_quantity = quantity;
        point.loaded_count = loaded_count;
    });
}

void set_stores_weight(double lb) {
    stores_weight = lb;
    if (sensor_slots[0].sensor_type == SENSOR_TYPE_CENTRE_TANK)
        stores_weight += CENTRE_TANK_FRAME - sensor_types[SENSOR_TYPE_CENTRE_TANK].weight_lb;
    if (sensor_slots[5].sensor_type == SENSOR_TYPE_WING_TANK)
        stores_weight += WING_TANKS_FRAME - 2.0 * sensor_types[SENSOR_TYPE_WING_TANK].weight_lb;
}

void remove_store_weight(int weapon_id) {
    if (unlimited_weapons) return;
    // The pod's own record weighs its shells only; the payload's row weighs the whole pod.
    stores_weight -= weapon_id == WEAPON_GEPOD ? get_gun_pod_weight() : weapon_info[weapon_id].weight_lb;
}

void remove_sensor_weight(int sensor_type) {
    if (unlimited_weapons) return;
    switch (sensor_type) {
    case SENSOR_TYPE_CENTRE_TANK: stores_weight -= CENTRE_TANK_FRAME; break;
    case SENSOR_TYPE_WING_TANK: stores_weight -= WING_TANK_FRAME; break;
    default: stores_weight -= sensor_types[sensor_type].weight_lb; break;
    }
}

double get_stores_weight() { return stores_weight; }

double get_centre_tank_weight() {
    return sensor_slots[0].sensor_type == SENSOR_TYPE_CENTRE_TANK ? sensor_types[SENSOR_TYPE_CENTRE_TANK].weight_lb
                                                                   : 0.0;
}
double get_wing_tank_weight() {
    return sensor_slots[5].sensor_type == SENSOR_TYPE_WING_TANK ? sensor_types[SENSOR_TYPE_WING_TANK].weight_lb : 0.0;
}

int32_t get_station_rounds(int hardpoint, int station) {
    if (hardpoint < 0 || !hardpoints[hardpoint].stations) return 0;
    return hardpoints[hardpoint].stations[station].rounds;
}

int32_t count_hardpoint_rounds(int hardpoint) {
    if (hardpoint < 0) return 0;
    int32_t rounds = 0;
    for (int s = 0; s < hardpoints[hardpoint].station_count; ++s) rounds += hardpoints[hardpoint].stations[s].rounds;
    return rounds;
}

int32_t get_weapon_rounds(int weapon_id) { return rounds_per_weapon[weapon_id]; }
int32_t get_selected_weapon_rounds() { return rounds_per_weapon[selected_weapon]; }

void reset_stores() {
    for (int h = 0; h < STORES_HARDPOINTS; ++h) {
        Hardpoint& point = hardpoints[h];
        free_stations(point);
        point.pylon_type = point.base_pylon_type = point.weapon_id = point.selected_station = 0;
        point.release_quantity = 1;
    }
    for (SensorSlot& slot : sensor_slots) slot = {};
    std::fill(std::begin(next_fire_time), std::end(next_fire_time), 0);
    reset_in_range_cue();
    apply_loadout();
    weapon_info[WEAPON_GUN].max_range =
        std::clamp(GUN_RANGE_BASE + GUN_RANGE_STEP * (9 - forces_type), GUN_RANGE_BASE, GUN_RANGE_MAX);
    reset_weapon_modes();
}

void load_stores() {
    std::fill(std::begin(rounds_per_weapon), std::end(rounds_per_weapon), 0);
    std::fill(std::begin(first_hardpoint), std::end(first_hardpoint), -1);
    reset_model_mass();
    for (int h = 0; h < STORES_HARDPOINTS; ++h) {
        Hardpoint& point = hardpoints[h];
        if (!point.stations) continue;
        for (int s = 0; s < point.station_count; ++s) {
            Station& station = point.stations[s];
            station.rounds = 0;
            if (s >= point.loaded_count) continue;
            const WeaponInfo& info = weapon_info[station.weapon_id];
            station.rounds = get_weapon_rounds_per_station(station.weapon_id);
            rounds_per_weapon[station.weapon_id] += station.rounds;
            adjust_model_mass(station.rounds * info.round_weight + info.mount_weight);
            if (first_hardpoint[station.weapon_id] < 0) first_hardpoint[station.weapon_id] = h;
        }
    }
    rounds_per_weapon[WEAPON_FLARE] = FLARES_CARRIED;
    rounds_per_weapon[WEAPON_CHAFF] = CHAFF_CARRIED;
    first_hardpoint[0] = -1;
    deselect_weapon();
    check_loadout_limits();
}

void recount_stores() {
    const int32_t flares = rounds_per_weapon[WEAPON_FLARE], chaff = rounds_per_weapon[WEAPON_CHAFF];
    std::fill(std::begin(rounds_per_weapon), std::end(rounds_per_weapon), 0);
    bool met[WEAPON_COUNT] = {};
    for (int h = 0; h < STORES_HARDPOINTS; ++h) {
        const Hardpoint& point = hardpoints[h];
        for (int s = 0; s < point.station_count; ++s) {
            const int weapon = point.stations[s].weapon_id;
            rounds_per_weapon[weapon] += get_station_rounds(h, s);
            if (!met[weapon]) first_hardpoint[weapon] = h;
            met[weapon] = true;
        }
    }
    rounds_per_weapon[WEAPON_FLARE] = flares;
    rounds_per_weapon[WEAPON_CHAFF] = chaff;
    deselect_weapon();
}

int has_ecm_pod() { return has_sensor(SENSOR_TYPE_ECM_POD); }
int has_targeting_pod() { return has_sensor(SENSOR_TYPE_TARGETING_POD); }
int has_recon_pod() { return has_sensor(SENSOR_TYPE_RECON_POD); }

// Nothing of the stores outlives a restart that the next load_stores would not rebuild.
void save_stores_state() {}

}  // namespace vyr
