#include "source/weapons/weapon_info.h"

#include <algorithm>
#include <iterator>

#include "source/weapons/object_types.h"

namespace vyr {

WeaponInfo weapon_info[WEAPON_COUNT];
PylonType pylon_types[PYLON_TYPES];
SensorTypeInfo sensor_types[SENSOR_TYPES];

namespace {

constexpr uint8_t DRONE_FLAGS = WEAPON_FLAG_BURST | WEAPON_FLAG_SALVO | WEAPON_FLAG_SEEKER;

}  // namespace

// Weapon 108 (the jettisoned CBU-15) never had a name; every lookup goes through here.
const char* get_weapon_name(int weapon_id) {
    if (weapon_id < 0 || weapon_id >= WEAPON_NAME_COUNT) return "!!Erf!!";
    return weapon_names[weapon_id];
}

void copy_weapon_info(int source_id, int destination_id) {
    const WeaponInfo& source = weapon_info[source_id];
    WeaponInfo& destination = weapon_info[destination_id];
    WeaponInfo copy = source;
    copy.weapon_flags = uint8_t((destination.weapon_flags & ~DRONE_FLAGS) | (source.weapon_flags & DRONE_FLAGS));
    copy.round_weight = destination.round_weight;
    copy.mount_weight = destination.mount_weight;
    copy.store_part_object = destination.store_part_object;
    copy.closing_time_factor = destination.closing_time_factor;
    destination = copy;
}

void init_weapon_info() {
    std::copy(std::begin(weapon_table), std::end(weapon_table), weapon_info);
    apply_object_type_table();
}

void init_pylon_types() {
    static constexpr PylonType TYPES[PYLON_TYPES] = {{0, 1},    {639, 1},  {1073, 1}, {1082, 1},
                                                     {1107, 1}, {1108, 3}, {1109, 6}, {1114, 3}};
    std::copy(std::begin(TYPES), std::end(TYPES), pylon_types);
}

void init_sensor_types() {
    static constexpr SensorTypeInfo TYPES[SENSOR_TYPES] = {{0, 0},      {1173, 573},  {0, 430},
                                                           {1181, 880}, {1083, 2104}, {1179, 2590}};
    std::copy(std::begin(TYPES), std::end(TYPES), sensor_types);
}

int get_weapon_rounds_per_station(int weapon_id) { return weapon_table[weapon_id].rounds_per_station; }

}  // namespace vyr
