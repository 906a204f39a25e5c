// Soldier brain: the action state of every soldier of a group, which decides where the body walks,
// when the group moves on, fights, boards or gets out; and the soldiers' target search and fire.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;

// Ticks a soldier waits between gestures and between waves, by its formation slot.
int32_t gesture_delay(uint32_t slot);
int32_t wave_delay(uint32_t slot);

// Once per frame for each soldier of a group; ends with the body step. An action state the
// brain has no rule for is fatal.
void update_human_brain(Drone* drone);
// The action of the drone and of every soldier of its group; a fallen soldier stays dead.
void set_group_action(Drone* drone, int32_t action);
// Engaging also sends the soldier to its spread-out fighting place, 50 ft past the leader's
// waypoint; any other action is only stored.
void set_human_action(Drone* drone, int32_t action);

// Looks for a target and, with one, raises the weapon standing or kneels, drawn so that linked
// machines draw alike.
void engage_enemy(Drone* drone);
// An armed soldier or gun looks for a target when its search tick has come: air, ground or both
// by its object number.
void search_human_target(Drone* drone);
// 1 when an enemy aircraft within 5,000 ft or a live enemy surface unit within 2,500 ft is listed
// around the soldier.
int is_enemy_near(Drone* drone);
void search_human_air_target(Drone* drone);
void search_human_ground_target(Drone* drone);
// Drops the attack target when it is nearer than `shortest` or beyond `longest`.
void keep_target_in_range(Drone* drone, int32_t shortest, int32_t longest);
// 1 when the soldier may fire now; a soldier out of rounds is disarmed for good.
int can_human_fire(Drone* drone);
// Fires once the aim is on; 1 when a round left.
int fire_human_weapon(Drone* drone);
// Ticks to the next shot after shot `shot` of `weapon_id`, a burst's pause after its last shot.
int32_t human_shot_interval(int weapon_id, int32_t shot);

}  // namespace vyr
