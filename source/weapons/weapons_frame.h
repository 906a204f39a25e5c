// The weapons subsystem's face to the frame loop and the game's own random generator.
// `reset_weapons` (stores.h) and `update_weapons_frame` (rounds.h) are built here.
#pragma once

#include <cstdint>

namespace vyr {

// The state of the generator failures are picked with; seeded by `reset_weapons`.
extern int32_t failure_random_state;

// Set by the release code when the internal gun or any gun rounds fired this step; the step
// turns their edges into the gun sound's start and stop.
extern int32_t internal_gun_fired, internal_gun_was_fired;
extern int32_t gun_rounds_fired, gun_rounds_were_fired;

// Allied kills by the player this mission, for the friendly-fire calls.
extern int32_t friendly_fire_calls;
// `game_clock` of the last "allied ship under attack" call.
extern int32_t last_ship_call_time;

// The current state, 0..2^31-1, then the state advanced; every draw moves `random_seed` too.
int next_game_random();
// The state exchanged with linked machines, so both sides draw alike. A state received with bit 31
// set has it cleared: a negative state would give a negative draw.
int32_t get_game_random_state();
void set_game_random_state(int32_t state);

}  // namespace vyr
