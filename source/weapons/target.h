// Target references: anything a weapon, a seeker, a radar, the designation, a drone or the war
// model aims at. Ground objects and fixed points take slots of a fixed pool; a drone's target is
// the one embedded in its record.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct Drone;
struct ObjectInstance;
struct ground_object;

constexpr int32_t TARGET_NONE = 0;
constexpr int32_t TARGET_GROUND_OBJECT = 1;
constexpr int32_t TARGET_MOBILE = 2;
constexpr int32_t TARGET_FIXED_POINT = 3;

constexpr int32_t TARGET_DOMAIN_UNKNOWN = 0;
constexpr int32_t TARGET_DOMAIN_GROUND = 1;
constexpr int32_t TARGET_DOMAIN_AIR = 2;

constexpr int MAX_TARGETS = 6048;

// Only position, kind, domain and object are this module's; the radars, the designation and the
// head-up display fill the rest in their own copies.
struct Target {
    Target* next;  // the ground radar's sorted contact list
    Target* prev;
    Vector3 offset;  // from the player's aircraft at the last radar sweep
    Vector3 position;  // ground objects (z 0) and fixed points
    void* pose;        // the radar's copies of mobile contacts
    Vector3 radar_position;  // right, forward, up
    int32_t priority;
    Vector3 vector;  // air contacts: relative velocity; the designated target: the cues' unit vector
    int32_t kind;
    int32_t domain;  // cached by get_target_domain
    void* object;    // the ground_object record, or the mobile's ObjectInstance
};

// A free slot of the pool; all slots in use is fatal.
Target* new_ground_object_target(ground_object* record, const Vector3& position);
Target* new_fixed_point_target(const Vector3& position);
// A drone's own embedded target; no slot is taken. A round or an unknown owner is fatal.
Target* new_mobile_target(ObjectInstance* instance);
// Gives a pool slot back; a drone's target, a target outside the pool and a target already free
// are left as they are.
void release_target(Target* target);
// Slots of the pool in use.
int count_targets();

// Every query ends the program for a target of no kind or an unknown one (the destroyed check
// answers a target of no kind with 1), and for a mobile object of an unknown owner.
int get_target_position(const Target* target, Vector3& out);
const Vector3* get_target_position_ptr(const Target* target);
// get_target_position's answer as a value (the origin for a target it cannot place).
Vector3 target_position(const Target* target);
// The drone whose own target it is; null for any other target.
Drone* get_target_drone(const Target* target);
// A unit vector in 1.31: where it points, or where the player's aircraft flies.
void get_target_direction(const Target* target, Vector3& out);
int get_target_object_number(const Target* target);
// World units per second.
int32_t get_target_speed(const Target* target);
int is_target_destroyed(const Target* target);
int get_target_side(const Target* target);
int is_target_live_drone(const Target* target);
// Worked out once and kept while the slot lives.
int get_target_domain(Target* target);
int is_target_lased(const Target* target);
int is_target_chaff_active(const Target* target);
int is_target_flare_active(const Target* target);
int targets_equal(const Target* a, const Target* b);
// The short name, or the long one when `long_name` is 1.
const char* get_target_name(const Target* target, int long_name);
// Whether the two lie within `distance`, counted in whole tiles, of each other's tile.
int are_targets_within_cells(const Target* a, const Target* b, int32_t distance);
void dump_target_drone(const Target* target);

// 1 when `to` can be seen from `from`: the ground does not hide it, and no solid mover or ground
// object but its own stands nearer on the line.
int has_line_of_sight(const Target* from, const Target* to);
int has_line_of_sight_between(const Vector3& from_position, const Vector3& to_position, const Target* from,
                              const Target* to);

}  // namespace vyr
