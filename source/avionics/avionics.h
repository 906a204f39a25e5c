// The avionics frame: the cockpit's set-up, per-tick update and its two sets of keys.
#pragma once

#include <cstdint>

#include "source/avionics/autoland.h"
#include "source/avionics/flight_data.h"

namespace vyr {

// Game-clock tick of the next fuel check.
extern int32_t next_fuel_check_time;
extern int32_t missile_tone_on;
extern int32_t seeker_tone_on;
// Seconds gathered towards the next threat update and radar scan; they live for the run and start
// full, so the first tick of the first flight runs both.
extern float threat_update_timer;
extern float radar_scan_timer;
extern int32_t radar_scan_due;
// Which radar sweep the last scan ran, for the radar page.
extern int32_t ground_scan_ran, air_scan_ran;
// The failure state seen at the previous tick.
extern int32_t master_caution_state;
// Half the HSI page's window, 0x80000..0x1000000 world units.
extern int32_t hsi_scale;
// Mission set-up, after the message area; a quick start also arms its radar and weapon.
void init_avionics();
// One simulation step: the snapshot, the warnings, the steerpoints, the radar and the pod.
void update_avionics();
// N, Shift+N, the zoom keys, the HUD, night vision, airfield, master caution and autoland keys.
void register_avionics_keys();
// Alt+1..7 and Alt+F1..F7: the live view settings, never the settings store.
void register_detail_keys();

// Hot-key handlers.
int next_steerpoint_key(int key_code);
int previous_steerpoint_key(int key_code);
int zoom_in_key(int key_code);
int zoom_out_key(int key_code);
int reset_master_caution_key(int key_code);
int handle_detail_key(int key_code);
void compute_world_extents();
// The drone view's next and previous keys start again from the player.
void reset_drone_view_cycle();

}  // namespace vyr
