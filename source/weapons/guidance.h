// Missile guidance and seekers: a guided missile flies straight until armed, then turns towards
// what its seeker follows, within its turn rate and field of view. Laser seekers need someone to
// light the target, radar seekers need the shooter to keep seeing it and can be drawn off by
// chaff, infrared seekers see only targets in the air, can be drawn off by flares and are blinded
// by cloud and fog; low targets hide in ground clutter.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct Target;
struct WeaponRound;

// Re-check time of a seeker blinded or lost for good.
constexpr int32_t SEEKER_NEVER = 0x7FFFFFFF;
constexpr int32_t GUIDED_HAS_TARGET = 1 << 0;
constexpr int32_t GUIDED_LOCKED = 1 << 1;

// A guided missile's step: its seeker updated, then its turn towards the aim point. A missile
// that has passed its target bursts when its last step came within 3 blast radii of it, and
// otherwise loses the lock for good.
void move_missile(WeaponRound* round, Vector3& step);
// The seeker decides on the round's homing target; answers what the seeker follows (the AGM-65E:
// the homing target itself), or null.
const Target* update_round_seeker(WeaponRound* round);
// Guided rounds only: the round's own target, or for a laser round lit by a drone while its own
// target is not lit, what that drone attacks; null when there is none.
Target* get_round_homing_target(WeaponRound* round);
// This frame's seeker decision for the round against the target: hold, return from a decoy, lose
// it, be decoyed or blinded, or lock.
void guide_round(WeaponRound* round, Target* target);
// 1 when a decoy or ground clutter fools the round's seeker this time, else 0. Draws from the
// round's own random state (so linked machines agree) and, for the single-player chances, from
// `draw_rand`. A round that is not a guided one has no target and is never fooled.
int decoy_succeeds(WeaponRound* round);
// The intercept point of the target for the missile's position and speed.
void lead_target_point(const WeaponRound* round, const Target* target, Vector3& aim);
// Bearing of the point less the heading, and its elevation less the pitch.
void compute_aim_errors(const WeaponRound* round, const Vector3& point, int32_t& heading_error,
                        int32_t& pitch_error);

}  // namespace vyr
