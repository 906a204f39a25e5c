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
// Four speech rows: the call's first word, the clock position n, high or low, the call sign.
void queue_radio_call(int n, int first, int second);
// The seeker tone and the incoming-missile tone share one row, each on a channel of its own; the
// tone rate sets the rate of every channel playing that row.
void start_seeker_tone();
void stop_seeker_tone();
void start_threat_tone();
void stop_threat_tone();
void set_tone_rate(int rate);
// The cockpit click, in the cockpit view only.
void play_click_sound();

}  // namespace vyr
