// The player's aircraft as a drone: its instance and pose, where the flight model puts it, its
// route, its gear and brakes.
#pragma once

#include <cstdint>

#include "source/weapons/object_types.h"

namespace vyr {

struct ObjectInstance;
struct Pose;

enum GearState : int32_t {
    GEAR_UP = 0,
    GEAR_DOORS_OPENING = 1,
    GEAR_LOWERING = 2,
    GEAR_DOWN = 3,
    GEAR_RAISING = 4,
    GEAR_DOORS_CLOSING = 5,
};
enum AirBrakeState : int32_t { AIR_BRAKE_CLOSED = 0, AIR_BRAKE_OPENING = 1, AIR_BRAKE_OPEN = 2, AIR_BRAKE_CLOSING = 3 };

constexpr int USER_PART_LIST_SIZE = 192;

// The user drone's instance and pose; before a mission makes one, an aircraft of their own.
extern ObjectInstance* player_object;
extern Pose* player_position;
// The aircraft's pose relative to its carrier while parked on it.
extern Pose player_deck_pose;
extern int32_t gear_state;
extern uint32_t gear_door_angle, gear_leg_angle;  // binary angles, 0 closed or retracted
extern int32_t air_brake_state;
extern uint32_t air_brake_angle;
// 1 on.
extern int32_t wheel_brake_state;
// The control surfaces as shown, binary angles.
extern int32_t rudder_angle, tailplane_angle, flaperon_angle;
extern int32_t nozzle_value;
// Per wheel (nose, left, right): it touched the ground and has not left it since.
extern int32_t wheel_on_ground[3];
// The variable sub-objects of the player's aircraft object.
extern int32_t user_part_list[USER_PART_LIST_SIZE];

// G gear, B air brake, W wheel brakes.
void register_user_drone_keys();
// Lowering the gear also drops the weapon selection.
int toggle_gear(int key_code);
int toggle_air_brake(int key_code);
int toggle_wheel_brakes(int key_code);

struct Drone;
// Mission start: the player's drone by game mode; fatal "No user drone set" when a mode flown
// alone finds none.
void create_user_drone();
// Makes a drone the player's aircraft as the world and the weapons see it, its 3D object rebuilt
// from the gear and the stores still on the airframe, its attack target the designated target,
// and kept on its carrier's deck while parked; every unpaused frame. Null changes nothing.
void set_user_drone(Drone* drone);
// The gear, air brake, control surfaces and nozzle moved on by one frame.
void update_user_drone_model();
// Every frame: low, gear down and sinking, tyre smoke where a wheel meets the ground.
void emit_touchdown_smoke();
// Each avionics tick while the engine burns: a smoke trail from the exhaust back to where the
// last one began, laid once the aircraft has moved on from there (a mission's first call only
// marks the spot).
void emit_user_damage_smoke();
// Each avionics tick: heat haze aft of the exhaust while the engine turns.
void emit_user_exhaust_haze();

// The x, y of the user drone's current waypoint; false when it has none.
bool get_current_waypoint_position(int32_t& x, int32_t& y);
// The pose of the carrier ship the user drone is parked on; null when it is not.
const Pose* get_user_carrier_pose();

int get_gear_state();
void set_gear_state(int state);
// A binary angle.
uint32_t get_air_brake_angle();
// The air brake's largest angle at a speed in world units per second.
uint32_t get_air_brake_limit(int32_t speed);

}  // namespace vyr
