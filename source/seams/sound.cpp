// Stand-in for the game's sound triggers: no engine or afterburner sample is played yet; speech,
// radio and the gun play their rows through play_sample.
#include "library/sound/dsound.h"
#include "library/sound/samples.h"
#include "source/avionics/views.h"
#include "source/sound/triggers.h"

namespace vyr {

void set_loop_sample(int) {}
void restore_engine_sound() {}
void start_afterburner_sound() {}
void set_afterburner_level(int) {}
void stop_afterburner_sound() {}
void stop_all_sounds() {}
void play_click_sound() {}
void start_vehicle_loop_sound(int) {}
void start_weapon_loop_sound(int) {}
void stop_loop_sound() {}
void set_loop_level(int) {}
void set_loop_pan(int) {}
void set_engine_rate(int) {}
void play_explosion_sound(int, int) {}

namespace {

constexpr int GUN_SAMPLE = 12;
constexpr int CENTRE = 0x8000;
int gun_sound_on = 0;

// The row on the role's channel in the cockpit view, unless the channel still plays.
void play_on_channel(int& channel, int sample, int priority) {
    if (view_mode != VIEW_COCKPIT) return;
    if (channel >= 0 && channel_status(channel) == SOUND_PLAYING) return;
    channel = play_sample(sample, priority, 35, CENTRE);
}

void stop_gun_channels() {
    for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel)
        if (channel_sample(channel) == GUN_SAMPLE) stop_channel(channel);
    gun_sound_on = 0;
}

}  // namespace

void play_speech(int sample) { play_on_channel(speech_channel, sample, 2); }
void play_radio_sample(int sample) { play_on_channel(radio_channel, sample, 1); }

void start_gun_sound() {
    if (gun_sound_on) return;
    play_sample(GUN_SAMPLE, 6, 60, CENTRE);
    gun_sound_on = 1;
}
void stop_gun_sound() { stop_gun_channels(); }
void end_gun_burst_sound() { stop_gun_channels(); }

}  // namespace vyr
