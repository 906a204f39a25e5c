// Drone weapons, decoys and reactions.
#pragma once

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
// The drone is destroyed.
void kill_drone(Drone* drone);
// 1 for aircraft and helicopters, and for radar sites not destroyed.
int is_drone_targetable(const Drone* drone);
// 1 while the drone's chaff or flare can draw a seeker.
int is_drone_chaff_active(const Drone* drone);
int is_drone_flare_active(const Drone* drone);
// One chaff bundle or flare released by the drone.
void launch_drone_chaff(Drone* drone);
void launch_drone_flare(Drone* drone);
// The drone is being shot at by `attacker`: it reacts.
void alert_drone_under_attack(Drone* drone, Target* attacker);
// A round the drone fired has ended: a decoy no longer draws seekers, a last round no longer
// holds its fire.
void release_drone_round(Drone* drone, WeaponRound* round);
// The network player's name flying it; null for a drone of this machine.
const char* get_drone_player_name(const Drone* drone);

}  // namespace vyr
