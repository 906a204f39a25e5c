// The game's sound triggers: one small function per event that knows its sample row, level and
// channel role. A looping sound is started once, changed while it plays and stopped by its own
// stop. Every trigger tests its own gates (a device, effects on, the cockpit view where it says
// so), so callers call them unconditionally.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int NO_LOOP_SAMPLE = -1;

// Flags of the looping sounds; stop_all_sounds clears every one.
extern int32_t gun_sound_on;
extern int32_t afterburner_sound_on;
extern int32_t stall_warning_on;
extern int32_t seeker_sound_on;
extern int32_t threat_sound_on;
// The row on the loop channel, or NO_LOOP_SAMPLE.
extern int32_t current_loop_sample;
extern int32_t last_speech_sample;
// Hz for the tones; the /threat chat command sets the warning tones' delay (s) and volume (%).
extern int32_t tone_rate;
extern int32_t threat_sound_delay;
extern int32_t threat_sound_volume;

// An explosion row (8..10) at the caller's distance level and pan.
void play_explosion_sound(int level, int pan);
// A weak hit on the player's aircraft makes no sound.
void play_small_hit_sound();

// One afterburner channel, however often it is started.
void start_afterburner_sound();
void stop_afterburner_sound();
void set_afterburner_level(int level);

// The looped gun sample, once until it is stopped; both stops end every channel playing it.
void start_gun_sound();
void end_gun_burst_sound();
void stop_gun_sound();

// In the cockpit view: a speech row on the speech channel, unless speech still plays there (row
// 159 first cuts the speech in progress).
void play_speech(int row);
// In the cockpit view: a radio row, unless the radio failed or the last one still plays.
void play_radio_sample(int row);
// In the cockpit view: a warning row 25..29, unless a warning plays or the row played less than
// threat_sound_delay seconds ago.
void play_warning_tone(int row);
// Four speech rows: the call's first word, the clock position n, high or low, the call sign.
void queue_radio_call(int n, int first, int second);
// The current pilot's call-sign row (call signs 1..20 give rows 165..184).
int call_sign_speech_sample();
// The cockpit click, in the cockpit view only.
void play_click_sound();

// The engine loop on the loop channel, every vehicle loop stopped first.
void start_engine_sound();
// The engine loop again, unless it is already current.
void restore_engine_sound();
// Vehicle loops seen from outside, each started once while current.
void play_helicopter_loop();
void play_train_loop();
void play_tank_loop();
void play_truck_loop();
void play_freefall_loop();
void play_powered_weapon_loop();
// Every frame: the engine loop's rate, and its level by the view; a vehicle loop plays at 11025 Hz.
void set_engine_sound_rate(int rate);
void set_loop_level(int level);
void set_loop_pan(int pan);
// Stops the engine and vehicle loops; forgets the loop's row only when one was stopped.
void stop_vehicle_loops();
void set_loop_sample(int row);
// Every channel stopped, every role forgotten and every flag cleared, so that the next flight
// starts its sounds afresh.
void stop_all_sounds();
// 1 while 9 or more channels play explosions or blasts: launches and impacts hold back.
int too_many_blast_sounds();

void start_stall_warning();
void stop_stall_warning();
// The seeker tone and the incoming-missile tone share one row, each on a channel of its own: a
// stop ends only its own tone, and the tone rate retunes only the missile tone.
void start_seeker_tone();
void stop_seeker_tone();
void start_threat_tone();
void stop_threat_tone();
void set_tone_rate(int rate);
// play_sample at tone_rate in place of the row's own rate.
int play_sample_at_tone_rate(int row, int priority, int level, int pan);

}  // namespace vyr
