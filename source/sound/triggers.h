// The game's sound triggers: the engine and afterburner loops, speech, radio, the gun loop and the
// stop of every channel at the end of a flight.
#pragma once

namespace vyr {

constexpr int NO_LOOP_SAMPLE = -1;

// The loop channel's current sample row, or NO_LOOP_SAMPLE.
void set_loop_sample(int row);
// The engine loop again, unless it is already current.
void restore_engine_sound();
void start_afterburner_sound();
void set_afterburner_level(int level);
void stop_afterburner_sound();
// Every channel stopped; the radio, speech and afterburner channels forgotten.
void stop_all_sounds();
// A speech sample on the speech channel, in the cockpit view with speech on.
void play_speech(int sample);
// A radio sample on the radio channel, in the cockpit view, unless the last one still plays.
void play_radio_sample(int sample);
// The looped gun sample, once until it is stopped; both stops end every channel playing it.
void start_gun_sound();
void stop_gun_sound();
void end_gun_burst_sound();
// The cockpit click, in the cockpit view only.
void play_click_sound();
// The views' loop: a vehicle's by drone class, a weapon's by weapon id, stopped; its level
// (0..63), pan (0x8000 centred) and the engine's rate in Hz; an explosion heard at a level and pan.
void start_vehicle_loop_sound(int drone_class);
void start_weapon_loop_sound(int weapon_id);
void stop_loop_sound();
void set_loop_level(int level);
void set_loop_pan(int pan);
void set_engine_rate(int hertz);
void play_explosion_sound(int level, int pan);

}  // namespace vyr
