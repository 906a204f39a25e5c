// Stand-in for the weapons and sensors.
#include "library/debug/fatal.h"
#include "library/maths/vector.h"
#include "source/models/integration.h"
#include "source/radar/radar.h"
#include "source/weapons/damage.h"
#include "source/weapons/failures.h"
#include "source/weapons/object_types.h"
#include "source/weapons/rounds.h"
#include "source/weapons/speech.h"
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
int32_t opening_call_made = 0;
int32_t internal_gun_was_fired = 0;

// Without stores the aircraft keeps its clean limit.
void check_loadout_limits() { set_model_g_limit(9); }
void load_stores() {}
void reset_stores() {}
void reset_weapons() {}
int32_t get_weapon_rounds(int) { return 0; }
double get_stores_weight() { return 0.0; }
double get_centre_tank_weight() { return 0.0; }
double get_wing_tank_weight() { return 0.0; }

// No weapon record, pylon or sensor exists to be filled yet; no weapon can be fired. The object
// types' gameplay values are the last step of the weapon information.
void init_weapon_info() { apply_object_type_table(); }
void init_pylon_types() {}
void init_sensor_types() {}
void register_weapon_keys() {}
void destroy_ground_object(ground_object*, const Vector3&, Drone*) {}
void kill_drone_by_round(ObjectInstance*, Drone*) {}

// No stores, rounds, radar, target or speech queue exists yet to reset, move or play.
void save_stores_state() {}
void init_radar() {}
void reset_designation() {}
void init_mine_targets() {}
void reset_recon() {}
void update_weapons_frame() {}
void repeat_countermeasures() {}
void clear_speech_queue() {}
void play_queued_speech() {}
// Ground-object targets are handed out from the pool so that their holders can tell them apart;
// nothing aims at them yet.
namespace {
Target target_pool[MAX_TARGETS];
}

Target* new_ground_object_target(ground_object* record, const Vector3& position) {
    for (Target& slot : target_pool) {
        if (slot.kind != TARGET_NONE) continue;
        slot.kind = TARGET_GROUND_OBJECT;
        slot.object = record;
        slot.x = position.x;
        slot.y = position.y;
        slot.z = position.z;
        return &slot;
    }
    report_fatal_error("No target slots left", "source/weapons/targets", __LINE__);
    return nullptr;
}

void release_target(Target* target) {
    if (target && target->kind != TARGET_MOBILE_OBJECT) *target = {};
}

}  // namespace vyr
