#include "library/sound/samples.h"

#include <algorithm>

#include "library/config/prefs.h"
#include "library/sound/banks.h"
#include "library/sound/music.h"
#include "library/system/exit.h"

namespace vyr {

namespace {

constexpr std::array<SampleInfo, SAMPLE_COUNT + 1> make_sample_table() {
    std::array<SampleInfo, SAMPLE_COUNT + 1> table{};
    for (int row = 0; row < SAMPLE_COUNT; ++row) {
        const SampleRow& r = SAMPLE_ROWS[row];
        table[row] = {r.file_name, r.rate, r.loop, 0, nullptr, row < MINIMAL_SAMPLE_COUNT ? 1 : 0};
    }
    return table;
}

void store_volume(int& volume, const char* name, int level) {
    volume = clamp_sound_level(level);
    set_pref_int(name, volume);
}

void read_volume(const char* name, int& volume) {
    if (get_pref_int(name, &volume)) volume = clamp_sound_level(volume);
}

int scale_by_master(int level) { return clamp_sound_level(level) * clamp_sound_level(master_volume) / MAX_SOUND_LEVEL; }

}  // namespace

std::array<SampleInfo, SAMPLE_COUNT + 1> sample_table = make_sample_table();

int master_volume = 63;
int music_volume = 63;
int speech_volume = 63;
int effects_volume = 63;
int sound_effects_on = 0;
int minimal_sound_set = 0;
int radio_channel = -1;
int speech_channel = -1;

void init_sound() {
    add_exit_handler(close_sound);
    read_sound_card_settings();
    read_sound_volumes();
    open_sound_card();
    load_sample_bank();
    init_music();
}

void close_sound() { close_sound_card(); }

int clamp_sound_level(int level) { return std::clamp(level, 0, MAX_SOUND_LEVEL); }

void read_sound_volumes() {
    read_volume("Sound Master Volume", master_volume);
    read_volume("Sound Music Volume", music_volume);
    read_volume("Sound Speech Volume", speech_volume);
    read_volume("Sound Effects Volume", effects_volume);
}

void set_master_volume(int level) {
    store_volume(master_volume, "Sound Master Volume", level);
    set_music_volume(master_volume);
}

void set_music_volume(int level) {
    store_volume(music_volume, "Sound Music Volume", level);
    apply_music_level(music_volume);
}

void set_speech_volume(int level) { store_volume(speech_volume, "Sound Speech Volume", level); }

void set_effects_volume(int level) { store_volume(effects_volume, "Sound Effects Volume", level); }

int play_sample(int row, int priority, int level, int pan) {
    if (!sound_device_present.load() || !sound_effects_on) return -1;
    if (row < 0 || row >= SAMPLE_COUNT || !sample_table[row].buffer) return -1;
    int channel = find_free_channel(priority);
    if (channel < 0) return -1;
    // The channel's old sound is gone: whoever waited on it as radio or speech must not wait on
    // the new one.
    if (channel == radio_channel) radio_channel = -1;
    if (channel == speech_channel) speech_channel = -1;
    const SampleInfo& info = sample_table[row];
    SoundBuffer* duplicate = duplicate_sound_buffer(info.buffer);
    if (!duplicate) return -1;
    start_channel(row, channel, duplicate, info.length, info.rate, scale_by_master(level), pan, info.loop);
    return channel;
}

void set_channel_pan(int channel, int pan) {
    if (channel_status(channel) == SOUND_PLAYING) set_buffer_pan(channel_buffer(channel), pan);
}

void set_channel_volume(int channel, int level) {
    if (channel_status(channel) == SOUND_PLAYING)
        set_buffer_volume(channel_buffer(channel), scale_by_master(level));
}

}  // namespace vyr
