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
// Set while the player's gun loop plays, by whichever started it: the gun trigger or a launch.
extern int gun_sound_playing;
// The looped gun sample, once until it is stopped; both stops end every channel playing it.
void start_gun_sound();
void stop_gun_sound();
void end_gun_burst_sound();
// The cockpit click, in the cockpit view only.
void play_click_sound();
// 1 while so many hits and explosions sound that launches and blasts are left silent.
int too_many_blast_sounds();
// One of the explosion samples at the level and pan.
void play_explosion_sound(int level, int pan);
// A weak hit on the player's aircraft is silent.
void play_small_hit_sound();

}  // namespace vyr
