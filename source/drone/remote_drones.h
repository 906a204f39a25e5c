// The drones of the other players of a linked game: bound to the player slots at the start of a
// linked flight, moved and fired from what the other machines send, found by network id.
// Everything a slot holds came from another machine and is checked where it is used.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;

// The start of a linked flight: every other player in a slot gets the drone of its number from the
// first or second task, by the aircraft it flies; in the deathmatch and flag modes every other
// local drone leaves the world but the flags and supply dumps.
void allocate_player_drones();
// The leader of the task (0 first, 1 second) whose index is the player number becomes the
// player's drone, of the object number and of the side the game mode gives; 0 when there is none
// or no link.
int attach_player_drone(int player, int object_number, int task_number);
// Drones 473, 994 and 995 of this machine turn enemy; every other one of this machine is made
// inactive and taken out of the world.
void clear_non_player_drones();
void clear_player_scores();

// The slot's pending weapon fired from the drone at the slot's target, then cleared. A weapon or
// target kind this program does not fire drops the shot and counts it.
void fire_remote_weapon(Drone* drone);
// Shots dropped for a weapon id or target kind no remote drone can fire.
extern int32_t remote_shots_dropped;

// The slot flying the drone of this task id and index; -1 when none or without a link.
int find_player_by_aircraft_id(int32_t task_id, int32_t index);
// The drone of the task with this id and of this index, leaders then members; null when none.
Drone* find_drone_by_net_id(int32_t task_id, int32_t index);
// A player left: the drone is destroyed where it flies.
void remove_remote_drone(Drone* drone);
// A player rejoined: the drone is rebuilt as the aircraft, whole and back in the world.
void set_player_drone_type(Drone* drone, int aircraft_object);

}  // namespace vyr
