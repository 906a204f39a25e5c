// Weapon selection, modes and the weapon keys.
#pragma once

#include <cstdint>

namespace vyr {

void register_weapon_keys();

// Set by a press of the fire control; the frame loop clears it once the control is let go.
extern int32_t fire_latch;

// F and C: a flare or a chaff bundle from the player's stock when the last has had its time; 1
// when one went out.
int launch_flare(int key_code);
int launch_chaff(int key_code);
// The weapons' air/ground mode switch; the radar's two mode flags flip with it.
void toggle_air_ground_mode();
// Selects the next carried weapon of the id, when there is one.
void select_next_weapon(int weapon_id);
// Each avionics tick: whether the selected weapon can engage the designated target.
void update_in_range_cue();
int get_in_range_cue();

}  // namespace vyr
