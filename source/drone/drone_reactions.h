// Drone decoys and reactions: flares and chaff against the missiles a drone is warned of, the
// ends of the rounds it fired, and its answer to being shot at or picked as a target.
#pragma once

namespace vyr {

struct Drone;
struct Target;
struct WeaponRound;

// A decoy for an airborne aircraft or helicopter when its timer allows (the player's own release
// for the user drone); a refused one pushes the timer on. 1 when one went out.
int use_drone_chaff(Drone* drone);
int use_drone_flares(Drone* drone);
// Releases one now: chaff behind the drone, a flare at it.
void launch_drone_chaff(Drone* drone);
void launch_drone_flare(Drone* drone);
// 1 while the drone's chaff or flare can draw a seeker.
int is_drone_chaff_active(const Drone* drone);
int is_drone_flare_active(const Drone* drone);
// A round the drone fired has ended: a decoy no longer draws seekers, a last round no longer
// holds its fire.
void release_drone_round(Drone* drone, WeaponRound* round);
// Each guidance step of a missile homing on the drone: the player's warning, or an AI drone's
// decoys once it is six seconds away.
void warn_drone_of_missile(Drone* drone, WeaponRound* missile);
// The victim was fired at: it may start reacting, and may turn on the attacker.
void alert_drone_under_attack(Drone* victim, Target* attacker);
// The victim was picked as a target: an idle one may turn on the attacker.
void notice_attacker(Drone* victim, Target* attacker);

}  // namespace vyr
