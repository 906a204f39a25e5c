// Drone weapons, decoys and reactions.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;
struct Target;
struct WeaponRound;

// Damage, combat air patrol number, reaction time, targets, decoys, weapon slots and ranges,
// attention range.
void reset_drone_weapons(Drone* drone);
// The drone type's AI loadout.
void set_drone_loadout(Drone* drone);
// The weapon id the drone would use on its attack target; 0 for none.
int choose_drone_weapon(Drone* drone);
// The armed state and slot, picked again after the current slot ran empty.
void rearm_weapon_selection(Drone* drone);
// Rounds left in the current slot; taking one (0 without a weapon).
int32_t get_weapon_rounds(Drone* drone);
int use_weapon_round(Drone* drone);
// The current slot's next shot time.
int32_t get_next_shot_time(Drone* drone);
void set_next_shot_time(Drone* drone, int32_t tick);
// The victim reacts to being fired at, or to being picked as a target, by `attacker`.
void alert_drone_under_attack(Drone* victim, Target* attacker);
void notice_attacker(Drone* victim, Target* attacker);
// The drone is destroyed.
void kill_drone(Drone* drone);
// 1 for aircraft and helicopters, and for radar sites not destroyed.
int is_drone_targetable(const Drone* drone);
// 1 while the drone's chaff or flare can draw a seeker.
int is_drone_chaff_active(const Drone* drone);
int is_drone_flare_active(const Drone* drone);
// Each step of a missile homing on the drone: the player hears of it through the threat warning,
// a drone drops its decoys when the missile is close.
void warn_drone_of_missile(Drone* drone, WeaponRound* missile);
// A round the drone fired has ended: a decoy no longer draws seekers, a last round no longer
// holds its fire.
void release_drone_round(Drone* drone, WeaponRound* round);
// The network player's name flying it; null for a drone of this machine.
const char* get_drone_player_name(const Drone* drone);

}  // namespace vyr
