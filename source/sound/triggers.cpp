#include "source/sound/triggers.h"

#include "library/maths/random.h"
#include "library/sound/dsound.h"
#include "library/sound/samples.h"
#include "source/avionics/failures.h"
#include "source/avionics/views.h"
#include "source/frame_loop.h"
#include "source/mission/mission.h"
#include "source/weapons/speech.h"

namespace vyr {

int32_t gun_sound_on = 0;
int32_t afterburner_sound_on = 0;
int32_t stall_warning_on = 0;
int32_t seeker_sound_on = 0;
int32_t threat_sound_on = 0;
int32_t current_loop_sample = NO_LOOP_SAMPLE;
int32_t last_speech_sample = -1;
int32_t tone_rate = 22050;
int32_t threat_sound_delay = 2;
int32_t threat_sound_volume = 100;

namespace {

constexpr int CENTRE = 0x8000;
constexpr int ENGINE_ROW = 0, AFTERBURNER_ROW = 3, GUN_ROW = 12, TONE_ROW = 30, STALL_ROW = 31, CLICK_ROW = 32;
constexpr int HELICOPTER_ROW = 33, TRAIN_ROW = 34, TANK_ROW = 35, TRUCK_ROW = 36, FREEFALL_ROW = 37,
              POWERED_WEAPON_ROW = 38, LAST_LOOP_ROW = 39;
constexpr int FIRST_WARNING_ROW = 25, WARNING_ROWS = 5;
constexpr int SPEECH_CUT_ROW = 159;
constexpr int VEHICLE_LOOP_RATE = 11025;
constexpr int COCKPIT_ENGINE_LEVEL = 30;
constexpr int BLAST_LIMIT = 9;

// Channel roles, -1 when free. A role holds only while its channel still plays the role's row:
// a channel given to another sound is no longer the role's.
int warning_channel = -1;
int afterburner_channel = -1;
int loop_channel = -1;
int stall_channel = -1;
int seeker_channel = -1;
int threat_channel = -1;
int32_t warning_repeat_tick[WARNING_ROWS] = {};

bool sound_on() { return sound_device_present.load() && sound_effects_on; }
bool in_cockpit() { return view_mode == VIEW_COCKPIT; }
bool plays(int channel) { return channel >= 0 && channel_status(channel) == SOUND_PLAYING; }
bool plays_row(int channel, int row) { return plays(channel) && channel_sample(channel) == row; }

// Stops the role's channel while it still plays the role's row, and frees the role.
void stop_role(int& channel, int row) {
    if (plays_row(channel, row)) stop_channel(channel);
    channel = -1;
}

void stop_every(int row) {
    for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel)
        if (channel_sample(channel) == row) stop_channel(channel);
}

void play_vehicle_loop(int row) {
    if (!sound_on() || current_loop_sample == row) return;
    stop_vehicle_loops();
    loop_channel = play_sample(row, 0, 5, CENTRE);
    current_loop_sample = row;
}

}  // namespace

void play_explosion_sound(int level, int pan) {
    if (sound_on()) play_sample(8 + draw_rand() % 3, -1, level, pan);
}

void play_small_hit_sound() {}

void start_afterburner_sound() {
    if (!sound_on() || plays_row(afterburner_channel, AFTERBURNER_ROW)) return;
    afterburner_channel = play_sample(AFTERBURNER_ROW, 4, 5, CENTRE);
    afterburner_sound_on = 1;
}

void stop_afterburner_sound() {
    stop_role(afterburner_channel, AFTERBURNER_ROW);
    afterburner_sound_on = 0;
}

void set_afterburner_level(int level) {
    if (plays_row(afterburner_channel, AFTERBURNER_ROW)) set_channel_volume(afterburner_channel, level);
}

void start_gun_sound() {
    if (!sound_on() || gun_sound_on) return;
    play_sample(GUN_ROW, 6, 60, CENTRE);
    gun_sound_on = 1;
}

void end_gun_burst_sound() {
    stop_every(GUN_ROW);
    gun_sound_on = 0;
}

void stop_gun_sound() { end_gun_burst_sound(); }

void play_speech(int row) {
    if (!sound_on() || !in_cockpit()) return;
    if (row == SPEECH_CUT_ROW && speech_channel >= 0) {
        stop_channel(speech_channel);
        speech_channel = -1;
    }
    if (plays(speech_channel)) return;
    speech_channel = play_sample(row, 2, 35, CENTRE);
    last_speech_sample = row;
}

void play_radio_sample(int row) {
    if (!sound_on() || !in_cockpit() || has_failure(FAIL_RADIO) || plays(radio_channel)) return;
    radio_channel = play_sample(row, 1, 35, CENTRE);
}

void play_warning_tone(int row) {
    if (!sound_on() || !in_cockpit() || row < FIRST_WARNING_ROW || row >= FIRST_WARNING_ROW + WARNING_ROWS) return;
    const int32_t playing = warning_channel >= 0 ? channel_sample(warning_channel) : -1;
    if (plays(warning_channel) && playing >= FIRST_WARNING_ROW && playing < FIRST_WARNING_ROW + WARNING_ROWS) return;
    int32_t& repeat = warning_repeat_tick[row - FIRST_WARNING_ROW];
    if (game_clock < repeat) return;
    warning_channel = play_sample(row, 5, 20 * (threat_sound_volume / 100), CENTRE);
    repeat = game_clock + 200 * threat_sound_delay;
}

void queue_radio_call(int n, int first, int second) {
    if (!sound_on() || !in_cockpit()) return;
    queue_speech(first ? 145 : 146);
    queue_speech(130 + n);
    queue_speech(second ? 143 : 144);
    queue_speech(call_sign_speech_sample());
}

int call_sign_speech_sample() { return 164 + get_radio_call_sign(); }

void play_click_sound() {
    if (!sound_on() || !in_cockpit()) return;
    speech_channel = play_sample(CLICK_ROW, 2, 20, CENTRE);
}

void start_engine_sound() {
    if (!sound_on()) return;
    stop_vehicle_loops();
    loop_channel = play_sample(ENGINE_ROW, 0, 5, CENTRE);
    current_loop_sample = ENGINE_ROW;
}

void restore_engine_sound() {
    if (current_loop_sample != ENGINE_ROW) start_engine_sound();
}

void play_helicopter_loop() { play_vehicle_loop(HELICOPTER_ROW); }
void play_train_loop() { play_vehicle_loop(TRAIN_ROW); }
void play_tank_loop() { play_vehicle_loop(TANK_ROW); }
void play_truck_loop() { play_vehicle_loop(TRUCK_ROW); }

void play_freefall_loop() {
    if (!sound_on() || current_loop_sample == FREEFALL_ROW) return;
    stop_vehicle_loops();
    if (minimal_sound_set) return;  // the loop channel stays silent
    loop_channel = play_sample(FREEFALL_ROW, 0, 5, CENTRE);
    current_loop_sample = FREEFALL_ROW;
}

void play_powered_weapon_loop() {
    if (minimal_sound_set) return;  // the current loop keeps playing
    play_vehicle_loop(POWERED_WEAPON_ROW);
}

void set_engine_sound_rate(int rate) {
    if (!plays_row(loop_channel, current_loop_sample)) return;
    SoundBuffer* buffer = channel_buffer(loop_channel);
    if (current_loop_sample != ENGINE_ROW) {
        set_buffer_rate(buffer, VEHICLE_LOOP_RATE);
        return;
    }
    // The orbit views take their level from the camera's distance, which the views set.
    if (view_mode != VIEW_COCKPIT) return;
    int level = COCKPIT_ENGINE_LEVEL;
    rate = rate < 100 ? 100 : rate > 30000 ? 30000 : rate;
    if (rate < 5000) level = level * rate / 5000;
    set_loop_level(level);
    set_buffer_rate(buffer, rate);
}

void set_loop_level(int level) {
    if (loop_channel >= 0) set_channel_volume(loop_channel, level);
}

void set_loop_pan(int pan) {
    if (loop_channel >= 0) set_channel_pan(loop_channel, pan);
}

void stop_vehicle_loops() {
    bool stopped = false;
    for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel) {
        const int row = channel_sample(channel);
        if (row != ENGINE_ROW && (row < HELICOPTER_ROW || row > LAST_LOOP_ROW)) continue;
        stop_channel(channel);
        stopped = true;
    }
    if (stopped) current_loop_sample = NO_LOOP_SAMPLE;
}

void set_loop_sample(int row) { current_loop_sample = row; }

void stop_all_sounds() {
    for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel) stop_channel(channel);
    radio_channel = speech_channel = -1;
    warning_channel = afterburner_channel = loop_channel = stall_channel = seeker_channel = threat_channel = -1;
    gun_sound_on = afterburner_sound_on = stall_warning_on = seeker_sound_on = threat_sound_on = 0;
    current_loop_sample = NO_LOOP_SAMPLE;
}

int too_many_blast_sounds() {
    int blasts = 0;
    for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel) {
        if (channel_status(channel) != SOUND_PLAYING) continue;
        const int row = channel_sample(channel);
        if ((row >= 7 && row <= 11) || row == 21) ++blasts;
    }
    return blasts >= BLAST_LIMIT ? 1 : 0;
}

void start_stall_warning() {
    if (!sound_on() || stall_warning_on) return;
    stall_channel = play_sample(STALL_ROW, 7, 30, CENTRE);
    stall_warning_on = 1;
}

void stop_stall_warning() {
    stop_role(stall_channel, STALL_ROW);
    stall_warning_on = 0;
}

void start_seeker_tone() {
    if (!sound_on() || seeker_sound_on) return;
    seeker_channel = play_sample(TONE_ROW, 8, 40, CENTRE);
    seeker_sound_on = 1;
}

void stop_seeker_tone() {
    stop_role(seeker_channel, TONE_ROW);
    seeker_sound_on = 0;
}

void start_threat_tone() {
    if (!sound_on() || threat_sound_on) return;
    threat_channel = play_sample_at_tone_rate(TONE_ROW, 9, 50, CENTRE);
    threat_sound_on = 1;
}

void stop_threat_tone() {
    stop_role(threat_channel, TONE_ROW);
    threat_sound_on = 0;
}

void set_tone_rate(int rate) {
    if (plays_row(threat_channel, TONE_ROW)) set_buffer_rate(channel_buffer(threat_channel), rate);
}

int play_sample_at_tone_rate(int row, int priority, int level, int pan) {
    const int channel = play_sample(row, priority, level, pan);
    if (channel >= 0) set_buffer_rate(channel_buffer(channel), tone_rate);
    return channel;
}

}  // namespace vyr
