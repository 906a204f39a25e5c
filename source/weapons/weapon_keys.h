// Weapon selection, the weapons' air/ground mode, the decoy and recon keys and the in-range cue.
#pragma once

#include <cstdint>

namespace vyr {

// The weapon keys, newest matched first: Enter under any modifiers, Space held and pressed, C, F,
// T, keypad 3, J, Ctrl+J, Alt+J and Shift+Enter.
void register_weapon_keys();

// The release latch: set by a selection so that a held release key does not fire the weapon just
// chosen; the frame loop clears it once the control is let go.
extern int32_t fire_latch;
// 1 air mode, 0 ground mode.
extern int32_t weapons_air_mode;
// The recon waypoints of the player's route: the reports the mission goals ask for.
extern int32_t recon_required;

// Per mission, from reset_stores: air mode, no "WHEEL IN WAY" or "WEAPON RELEASED" waiting.
void reset_weapon_modes();
void reset_in_range_cue();

// 1 when the key handlers may go on: never for a pilot-only machine; a gunner's machine hands the
// key to the pilot's first.
bool weapon_key_gate(int key_code);
// The aircraft has crashed: no selection changes or releases.
bool player_crashed();

// The weapon families the keys and the release treat apart: the gun and the gun pod, the bombs
// MK-82 to MK-84 retarded, the two dispensers.
bool is_gun_weapon(int weapon_id);
bool is_bomb_weapon(int weapon_id);
bool is_dispenser_weapon(int weapon_id);

// The weapon suits the air/ground mode; the filter (-1 any) allows it; it has a release hardpoint,
// rounds and its refire time has come.
bool weapon_suits_mode(int weapon_id);
bool weapon_matches(int filter, int weapon_id);
bool weapon_ready(int weapon_id);
// Step to the next (previous) carried weapon of another type that suits the mode; 1 when one is
// selected or the current one kept, 0 when the selection was cleared.
int select_next_weapon(int filter);
int select_previous_weapon(int filter);
// Enter, Shift+Enter: the gun's aiming and the bombs' delivery sub-modes first, then the weapons.
int select_weapon_key(int key_code);
int select_previous_key(int key_code);
// Alt+Enter: the selected bomb's release quantity 1, 2, .. up to the rounds on the pair.
void cycle_release_quantity();
// Keypad 3: flips the mode, reselects a weapon that no longer suits and drops the designation.
int toggle_air_ground_mode(int key_code = 0);
// F and C: one flare a second, one chaff bundle every two seconds; 0 when nothing was released.
int launch_flare(int key_code);
int launch_chaff(int key_code);
// T: reports the first recon waypoint in reach not reported before.
int recon_key(int key_code);
// Mission set-up: the player's recon waypoints counted into recon_required, none reported yet.
void reset_recon();

// The selected weapon can engage the designated target: within its reach, taken off by the
// target's closing motion, and within 90 degrees of the nose.
int check_target_in_range();
// Each avionics tick.
void update_in_range_cue();
int get_in_range_cue();

}  // namespace vyr
