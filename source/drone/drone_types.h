// The drone type table: for every object number that can be a drone, its class, how it flies,
// which kind of ship it is, its five AI weapons with their rounds and its air-combat profile.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int DRONE_TYPE_ROWS = 1239;  // object numbers 0..1238
constexpr int DRONE_TYPE_SLOTS = 5;

constexpr int32_t DRONE_TYPE_DEFINED = 1;
constexpr int32_t DRONE_TYPE_SIDE_VARIANT = 2;

constexpr int32_t FLIGHT_PROFILE_TRANSPORT = 0;
constexpr int32_t FLIGHT_PROFILE_LARGE_JET = 1;
constexpr int32_t FLIGHT_PROFILE_ATTACK = 2;
constexpr int32_t FLIGHT_PROFILE_FAST_JET = 3;
constexpr int32_t FLIGHT_PROFILE_HELICOPTER = 4;
constexpr int32_t FLIGHT_PROFILE_SURFACE = 5;

constexpr int32_t SHIP_KIND_NONE = 6;
constexpr int32_t UNLIMITED_ROUNDS = 0x7fffffff;

struct DroneTypeRow {
    int32_t flags;
    int32_t drone_class;
    int32_t flight_profile;
    int32_t ship_kind;
    int32_t weapons[DRONE_TYPE_SLOTS];  // weapon ids, 0 empty
    int32_t rounds[DRONE_TYPE_SLOTS];
    int32_t current_slot;
    int32_t combat_profile;  // -1 none
};

extern DroneTypeRow drone_type_table[DRONE_TYPE_ROWS];

// Start-up: the defaults everywhere, then the standard classes, loadouts and combat profiles.
void init_drone_types();
// The game flow leaves flow 8, or enters it. Neither clears the table first.
void reset_drone_types();
void set_flow8_drone_types();

// By object number; a number outside the table answers row 0.
int get_drone_type_class(int object_number);
int get_drone_type_flight_profile(int object_number);
int get_drone_type_ship_kind(int object_number);
int get_drone_type_weapon(int object_number, int slot);
int get_drone_type_rounds(int object_number, int slot);
int get_drone_type_defined(int object_number);
int get_drone_type_current_slot(int object_number);
int get_drone_type_current_weapon(int object_number);
int get_drone_type_combat_profile(int object_number);
// The side-variant bit for a drone of `side`: only the enemy's, and never in war zone 2.
int get_drone_type_side_flag(int object_number, int side);

}  // namespace vyr
