// Helicopters, and aircraft no manoeuvre flies, steered toward a goal point within their type's
// movement limits; ships likewise on the water. The route rules at arrival, the landings and the
// take-offs are here too. The movers themselves are declared in drone_movers.h.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct Drone;
struct MovementProfile;

// A helicopter's climb and descent rates near a landing point, world units per second.
constexpr int32_t HELICOPTER_CLIMB_RATE = 3840;
constexpr int32_t HELICOPTER_SINK_RATE = 1280;

// The limits a flying drone or ship moves within: its type's row.
const MovementProfile& get_movement_profile(const Drone* drone);
// How near a goal counts as reached: one second of flight, or for an engaged drone a third of
// its chosen weapon's range.
int32_t get_arrival_margin(Drone* drone);
// At the route's end: back to the Cap Start when still in the air, else down where it is (on
// its deck slot when it has one).
void end_air_route(Drone* drone);
// 1 when the goal counts as reached; 0 otherwise, and when the drone was killed for leaving the
// world. Rates are per second.
int steer_air_drone(Drone* drone, const Vector3& goal, int32_t pitch_rate, int32_t turn_limit, int32_t bank_limit,
                    int32_t acceleration, int32_t min_speed, int32_t max_speed, int32_t radius);
// The point the drone flies for; false when it lay outside the world and the drone was killed.
bool get_air_goal(Drone* drone, Vector3& goal);
// The speed wanted, world units per second.
int32_t choose_air_speed(Drone* drone, const Vector3& goal, int32_t climb, int32_t distance);
// A random point away from the goal, for an evading drone.
void evade_goal(Drone* drone, Vector3& goal);
// From the end of a route back to its first Cap Start waypoint, else to its first waypoint.
void return_to_cap_start(Drone* drone);
// Comes to rest at the end of its route, parked on its deck slot when it has one.
void land_at_route_end(Drone* drone);
// Level on the ground; its subscribers hear that it landed.
void set_drone_landed(Drone* drone);
// The drawn nose-down tilt of a helicopter changing speed by `speed_step` a second.
void tilt_helicopter(Drone* drone, int32_t speed_step, const Vector3& goal, int32_t acceleration);
// A helicopter leaving or approaching a landing point rises or sinks vertically.
void update_helicopter_vertical(Drone* drone, int32_t climb, const Vector3& goal);

}  // namespace vyr
