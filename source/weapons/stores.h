// The player's stores: hardpoints, loads and their limits.
#pragma once

#include <cstdint>

#include "source/weapons/weapon_info.h"

namespace vyr {

// Rounds, flares and chaff are not used up.
extern int32_t unlimited_weapons;
// The player's internal gun fired in the last frame: its muzzle flashes.
extern int32_t internal_gun_was_fired;

// Arms the aircraft from its fitted hardpoints.
void load_stores();
// The per-mission clearing of the stores before they are armed from the payload.
void reset_stores();
// The per-mission weapons reset: the random generators seeded, stores, rounds and release state
// cleared.
void reset_weapons();
// Rounds left of a weapon id.
int32_t get_weapon_rounds(int weapon_id);
// Rounds left of the selected weapon.
int32_t get_selected_weapon_rounds();
// After a jettison: the totals and release hardpoints rebuilt from the stations (flares and
// chaff kept; a weapon no longer carried keeps its old release hardpoint) and the weapon
// deselected.
void recount_stores();

// The carried stores' weight in lb.
double get_stores_weight();
// The weight of the fitted centre tank and of each wing tank in lb; 0 when none is fitted.
double get_centre_tank_weight();
double get_wing_tank_weight();

constexpr int STORES_HARDPOINTS = 10;
constexpr int STORES_SENSOR_SLOTS = 7;

struct Station {
    int32_t weapon_id;
    int32_t rounds;
};

struct Hardpoint {
    int32_t pylon_type;
    int32_t base_pylon_type;
    int32_t weapon_id;  // 0 none
    Station* stations;  // one per station of the pylon type; null without
    int32_t station_count;
    int32_t selected_station;  // the next round leaves from it
    int32_t release_quantity;
    int32_t loaded_count;
};

struct SensorSlot {
    int32_t sensor_type;
    int32_t base_pylon_type;
};

extern Hardpoint hardpoints[STORES_HARDPOINTS];
// By weapon id: the hardpoint the next round of it is released from, -1 for none.
extern int32_t first_hardpoint[WEAPON_COUNT];
extern SensorSlot sensor_slots[STORES_SENSOR_SLOTS];
extern const int mirror_hardpoint[STORES_HARDPOINTS];
extern const int mirror_sensor_slot[STORES_SENSOR_SLOTS];
// By weapon id (flares and chaff count the decoys): rounds carried, and the game_clock tick the
// next release may happen at.
extern int32_t rounds_per_weapon[WEAPON_COUNT];
extern int32_t next_fire_time[WEAPON_COUNT];

// Payload fitting; each call fits the hardpoint or slot and its mirror on the other wing. A pylon
// and a sensor sharing a place exclude each other. A hardpoint, slot, type or weapon out of range
// is fatal, as is loading a hardpoint without stations.
void fit_pylon(int hardpoint, int pylon_type);
// Recorded only for a single-station type.
void fit_base_pylon(int hardpoint, int pylon_type);
void fit_sensor_pylon(int slot, int pylon_type);
void fit_sensor(int slot, int sensor_type);
// A bomb's release quantity is held to 1..12; every other weapon releases one at a time.
void load_hardpoint(int hardpoint, int weapon_id, int release_quantity, int loaded_count);
// The payload's weight with the tanks' fuel left out: their frames stay in it.
void set_stores_weight(double lb);
// Released or dropped stores lighten the aircraft unless weapons are unlimited.
void remove_store_weight(int weapon_id);
void remove_sensor_weight(int sensor_type);
// Rounds left on the hardpoint's stations, summed; 0 for -1 or a hardpoint without stations.
int32_t count_hardpoint_rounds(int hardpoint);
// Rounds left on one station; 0 for hardpoint -1 or one without stations.
int32_t get_station_rounds(int hardpoint, int station);
// The hardpoint's emptied: no weapon, no pylon, no stations.
void empty_hardpoint(int hardpoint);

// 1 when an ECM pod is fitted.
int has_ecm_pod();

// Keeps the stores as they are at flight start.
void save_stores_state();

// The selection: hardpoint (-1 none), weapon id (0 none) and whether one is selected.
extern int32_t selected_hardpoint;
extern int32_t selected_weapon;
extern int32_t weapon_selected;

// 1 when a targeting pod is fitted; 1 when a recon pod is.
int has_targeting_pod();
int has_recon_pod();

}  // namespace vyr
