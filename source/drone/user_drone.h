// The player's aircraft as a drone: its instance and pose, where the flight model puts it, its
// route, its gear and brakes.
#pragma once

#include <cstdint>

namespace vyr {

struct ObjectInstance;
struct Pose;
struct Vector3;

enum GearState : int32_t { GEAR_UP = 0, GEAR_DOWN = 3, GEAR_DOORS_CLOSING = 5 };

// The user drone's instance and pose.
extern ObjectInstance* player_object;
extern Pose* player_position;
// Air brake 0 to 3 (0 in, 2 out); wheel brakes 1 on.
extern int32_t air_brake_state;
extern int32_t wheel_brake_state;

void register_user_drone_keys();

struct Drone;
// Makes a drone the player's aircraft as the world and the weapons see it.
void set_user_drone(Drone* drone);

// 1 when the aircraft, coming down from `previous` onto the ship `hit`, touches its deck; then
// the aircraft is parked on the deck's nearest free slot.
int is_landing_on_carrier_deck(Drone* drone, ObjectInstance* hit, const Vector3& previous);
void land_user_on_carrier(ObjectInstance* ship);

// The x, y of the user drone's current waypoint; false when it has none.
bool get_current_waypoint_position(int32_t& x, int32_t& y);
// The pose of the carrier ship the user drone is parked on; null when it is not.
const Pose* get_user_carrier_pose();

int get_gear_state();
void set_gear_state(int state);
// A binary angle.
uint32_t get_air_brake_angle();

}  // namespace vyr
