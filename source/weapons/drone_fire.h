// Drone weapon fire: whether a computer-controlled shooter can fire a weapon at a target now,
// where it aims, and the launch. Its callers spend the rounds and set the timers.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;
struct Target;
struct WeaponRound;

constexpr int DRONE_SHOT_FIRED = 1;
constexpr int DRONE_SHOT_NOT_NOW = 0;  // height, range or launcher angles refuse it
constexpr int DRONE_SHOT_NO_LINE = -1;  // the aim point lies off the map or cannot be seen

// Fires the weapon at the target if it can: DRONE_SHOT_FIRED with the live round in `round`,
// else DRONE_SHOT_NOT_NOW (also when the pool is full) or DRONE_SHOT_NO_LINE, `round` null. Only
// unguided and guided weapons can be fired; any other is fatal.
int launch_drone_weapon(Target* shooter, Target* target, int weapon_id, Drone* drone, WeaponRound*& round);

// The launcher's limits as binary angles, widened by the weapon's spread. A negative azimuth
// limit (the sum overflowed) is none.
int32_t drone_azimuth_limit(int weapon_id);
int32_t drone_min_elevation(int weapon_id);
int32_t drone_max_elevation(int weapon_id);

}  // namespace vyr
