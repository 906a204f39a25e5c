// Stand-in for the weapons and sensors.
#include "source/models/integration.h"
#include "source/radar/radar.h"
#include "source/weapons/damage.h"
#include "source/weapons/failures.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

int32_t electrics_first_failure_time = 0;
int32_t electrics_second_failure_time = 0;
int32_t unlimited_weapons = 0;
int32_t selected_hardpoint = -1;
int32_t selected_weapon = 0;
int32_t weapon_selected = 0;
int32_t fire_latch = 0;

// Without stores the aircraft keeps its clean limit.
void check_loadout_limits() { set_model_g_limit(9); }
void load_stores() {}
void reset_stores() {}
int32_t get_weapon_rounds(int) { return 0; }
double get_stores_weight() { return 0.0; }
double get_centre_tank_weight() { return 0.0; }
double get_wing_tank_weight() { return 0.0; }

// No weapon can be selected or fired yet.
void register_weapon_keys() {}
void destroy_ground_object(ground_object*, const Vector3&, Drone*) {}
void kill_drone_by_round(ObjectInstance*, Drone*) {}

// No stores, rounds, radar or designation exists yet to reset or move.
void save_stores_state() {}
void init_radar() {}
void reset_designation() {}
void init_mine_targets() {}
void reset_recon() {}
void clear_rounds() {}
void update_rounds() {}
int32_t get_round_speed(const WeaponRound*) { return 0; }
int get_round_weapon(const WeaponRound*) { return 0; }
void repeat_countermeasures() {}

}  // namespace vyr
