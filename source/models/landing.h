// How the player's aircraft meets the ground and other objects: touchdown grading, lift-off,
// the ground roll, collisions, and the end of the mission at the last waypoint.
#pragma once

#include <cstdint>

namespace vyr {

// How the flight's landing went, for the debrief.
enum LandingResult : int32_t { LANDING_NONE = 0, LANDING_ENGINE_FIRE = 1, LANDING_CRASH = 2, LANDING_GEAR_COLLAPSE = 3 };
extern int32_t landing_result;

// An end reason that takes effect once `game_clock` passes its time (0: none).
extern int32_t pending_end_reason;
extern int32_t pending_end_time;

// Model start: no landing outcome and no object hit.
void clear_landing_outcome();
// After each full-model sub-step: touchdown, lift-off and arrival at the last waypoint.
void check_touchdown();
// Once per model update.
void check_collisions();
void check_ground_roll();

}  // namespace vyr
