// Round launch: the four launchers every release goes through, one per family of round classes,
// the placing of a new round in the world with its model, and the drones' fire and reaction
// delays. A launcher leaves the round allocated but not live; its caller activates it at once.
#pragma once

#include <cstdint>

#include "library/3dvisual/instance.h"
#include "library/maths/matrix.h"

namespace vyr {

struct Drone;
struct Target;
struct WeaponRound;

// The 9M114's aim offset, 0 or 840 world units, drawn at each of its launches.
extern int32_t command_guidance_offset;
// The speed a dispenser releases its load at, world units per second.
extern int32_t dispense_speed;

// Each answers null when the launch point lies outside the world or the pool is full: the shot
// is lost. The shooter is whoever fired (a drone's own target); the shooter drone is the one a
// dropped store takes its velocity from.
// Guns and rockets.
WeaponRound* launch_unguided_round(int weapon_id, const Pose& pose, Target* shooter, Drone* shooter_drone);
// Missiles and guided bombs; `target` (may be null) is copied into the round, the designator (may
// be null) lights it for laser rounds.
WeaponRound* launch_guided_round(int weapon_id, const Pose& pose, Target* shooter, Target* designator,
                                 const Target* target, Drone* shooter_drone);
// A shell bursts at the aim point, scattered, after its flight time; it has no model.
WeaponRound* launch_shell(int weapon_id, const Vector3& aim, Target* shooter);
// Decoys, bombs, dispensers and their loads; `extra` is kept for the round (a decoy's sink rate).
WeaponRound* launch_dropped_round(int weapon_id, const Pose& pose, Target* shooter, int32_t extra,
                                  Drone* shooter_drone);
// Makes a launched round live from now and plays its launch sound; null stays null.
WeaponRound* activate_round(WeaponRound* round);

// A slot made a new round of the weapon, not yet live.
void init_round_slot(WeaponRound* round, int weapon_id, Target* shooter);
// The round's model, speed, velocity, place and unrolled orientation, linked into the world.
void place_new_round(WeaponRound* round, const Pose& pose, Drone* shooter_drone, const VariableList* parts);
// A weapon with a motor shows its plume at launch and loses it when the motor burns out.
void create_round_model(WeaponRound* round);
void update_round_model(WeaponRound* round);
// The velocity scaled to the release speed times the store's factor for its class and phase.
void apply_release_velocity_factor(WeaponRound* round);
// A dispenser's load leaves along the dispenser's heading at the dispense speed, scattered.
void scatter_submunition(WeaponRound* round);
int32_t get_dispense_speed();
int32_t get_command_guidance_offset();

// Ticks until a drone's next shot with the weapon after `shot_count` shots.
int32_t compute_fire_delay(int weapon_id, int32_t shot_count);
// Ticks before a drone reacts; `at_top_level` 1 reads the delay of the toughest forces.
int32_t compute_reaction_delay(int at_top_level);
int32_t weapon_cue_constant();

}  // namespace vyr
