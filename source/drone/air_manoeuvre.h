// AI aircraft manoeuvres and their flight step, with the movement limits of every flying type.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;

// A vehicle type's movement limits: angles are binary angles, speeds world units per second.
struct MovementProfile {
    int32_t turn_limit;
    int32_t bank_limit;
    int32_t pitch_rate;  // per second
    int32_t acceleration;  // per second
    int32_t max_speed;
    int32_t min_speed;
    int32_t ground_attack_speed;
    int32_t air_combat_speed;
};

constexpr int MOVEMENT_PROFILES = 6;

// By the flight profile of the drone type table.
extern const MovementProfile movement_profiles[MOVEMENT_PROFILES];

// Non-zero when a manoeuvre flew the drone this frame.
int update_air_manoeuvre(Drone* drone);
// 1 when the Cap Start rule chose the drone's next waypoint.
int advance_cap_waypoint(Drone* drone);

}  // namespace vyr
