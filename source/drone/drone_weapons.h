// Drone weapons: each armed drone's five weapon slots and the ranges they give, the weapon
// chosen for its attack target and its fire, and its destruction. The rounds and the targets
// reach the drones' decoys and reactions through this header too.
#pragma once

#include <cstdint>

#include "source/drone/drone_reactions.h"
#include "source/weapons/object_types.h"

namespace vyr {

struct Drone;
struct Target;

// The wingmen's aircraft: any of its slots 1..4 may hold an air or a ground weapon.

// Damage, combat air patrol number, reaction time, targets, decoys, weapon slots and ranges,
// attention range.
void reset_drone_weapons(Drone* drone);
// The drone type's AI loadout, loaded afresh: slots, armed state and ranges.
void set_drone_loadout(Drone* drone);
// After a slot ran empty: the armed state, the bombs-gone flag and the ranges from what is left.
void rearm_weapon_selection(Drone* drone);
// The weapon id the drone would use on its attack target, made its current weapon; 0 for none.
// A target of neither domain is fatal.
int choose_drone_weapon(Drone* drone);
// 1 when the drone may fire the weapon at its attack target now.
int can_drone_fire(Drone* drone, int weapon_id);
// Fires the chosen weapon at the attack target when it may and alerts a drone it fires at; 1 when
// it fired. A launcher that cannot reach the target drops it.
int fire_drone_weapon_at_target(Drone* drone);
// The current slot's rounds and next shot time; 0 rounds and the largest time without an armed
// current weapon, whose time alone can be set.
int32_t get_weapon_rounds(const Drone* drone);
void use_weapon_round(Drone* drone);
int32_t get_next_shot_time(const Drone* drone);
void set_next_shot_time(Drone* drone, int32_t tick);
// The ranges for the attack target's domain; 0 without one of either domain.
int32_t get_drone_max_range(Drone* drone);
int32_t get_drone_min_range(Drone* drone);

// The drone is destroyed: out of the world, stopped, its task one drone fewer.
void kill_drone(Drone* drone);
// 1 for aircraft and helicopters, and for radar sites not destroyed.
int is_drone_targetable(const Drone* drone);
Target* get_drone_target(Drone* drone);
Target* get_drone_attack_target(const Drone* drone);
// The network player's name flying it; null for a drone of this machine.
const char* get_drone_player_name(const Drone* drone);

}  // namespace vyr
