#include "library/sound/dsound.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "library/config/prefs.h"
#include "library/system/winmain.h"
#include "platform/audio/audio.h"

namespace vyr {

struct SoundBuffer {
    platform::AudioBuffer* audio;
};

std::atomic<int> sound_device_present{0};
int sound_card_settings[4] = {};

namespace {

// The window thread pauses and resumes the channels and the stream at any moment, while
// game-side threads start and stop them: both sides hold this lock while they touch the table.
// Releasing a buffer needs the window thread, so nobody asks for it while holding the lock.
std::mutex channel_mutex;
SoundChannel channels[MAX_SOUND_CHANNELS] = {};
// Ended buffers taken off their channels by a pause: the window thread must not free what a
// game-side thread may be using, so they are released on the game side by the next channel search.
std::vector<SoundBuffer*> ended_buffers;
SoundBuffer* stream_buffer = nullptr;
bool stream_mono = false;
bool stream_paused = false;  // stopped by a focus loss, to be played again on its return

bool valid_channel(int channel) { return channel >= 0 && channel < MAX_SOUND_CHANNELS; }

bool usable(SoundBuffer* buffer) { return buffer && sound_device_present.load(); }

bool plays(SoundBuffer* buffer) { return platform::audio_buffer_playing(buffer->audio); }

void release_ended_buffers() {
    std::vector<SoundBuffer*> list;
    {
        std::lock_guard lock(channel_mutex);
        list.swap(ended_buffers);
    }
    for (SoundBuffer* buffer : list) release_sound_buffer(buffer);
}

void store_setting(int index, const char* name, int value) {
    sound_card_settings[index] = value;
    set_pref_int(name, value);
}

}  // namespace

int create_direct_sound() {
    if (sound_device_present.load()) return 1;
    if (!platform::open_audio()) return 0;
    sound_device_present.store(1);
    return 1;
}

void release_direct_sound() {
    if (!sound_device_present.exchange(0)) return;
    platform::close_audio();
    std::lock_guard lock(channel_mutex);
    stream_paused = false;
}

SoundBuffer* create_sound_buffer_now(int length, int rate, int kind) {
    if (!sound_device_present.load()) return nullptr;
    int channels = 0, bits = 0;
    if (kind >= SOUND_MONO_8 && kind <= SOUND_STEREO_16) {
        channels = kind >= SOUND_STEREO_8 ? 2 : 1;
        bits = kind == SOUND_MONO_16 || kind == SOUND_STEREO_16 ? 16 : 8;
    }
    platform::AudioBuffer* audio =
        platform::create_audio_buffer(std::max(length, MIN_SOUND_BUFFER_LENGTH), rate, channels, bits);
    return audio ? new SoundBuffer{audio} : nullptr;
}

SoundBuffer* duplicate_sound_buffer_now(SoundBuffer* buffer) {
    if (!usable(buffer)) return nullptr;
    platform::AudioBuffer* audio = platform::duplicate_audio_buffer(buffer->audio);
    return audio ? new SoundBuffer{audio} : nullptr;
}

void release_sound_buffer_now(SoundBuffer* buffer) {
    if (!buffer) return;
    platform::release_audio_buffer(buffer->audio);
    delete buffer;
}

void deactivate_sound() {
    pause_all_channels();
    std::lock_guard lock(channel_mutex);
    if (stream_buffer && plays(stream_buffer)) {
        platform::stop_audio_buffer(stream_buffer->audio);
        stream_paused = true;
    }
}

void activate_sound() {
    resume_all_channels();
    std::lock_guard lock(channel_mutex);
    if (stream_paused && stream_buffer) platform::play_audio_buffer(stream_buffer->audio, true);
    stream_paused = false;
}

void install_sound_requests() {
    set_request_handler(REQ_CREATE_SOUND_BUFFER, [](intptr_t lparam) -> intptr_t {
        intptr_t* b = request_block(lparam);
        b[2] = reinterpret_cast<intptr_t>(create_sound_buffer_now(int(b[0]), int(b[1]), int(b[3])));
        return 0;
    });
    set_request_handler(REQ_DUPLICATE_SOUND_BUFFER, [](intptr_t lparam) -> intptr_t {
        intptr_t* b = request_block(lparam);
        b[2] = reinterpret_cast<intptr_t>(duplicate_sound_buffer_now(reinterpret_cast<SoundBuffer*>(b[2])));
        return 0;
    });
    set_request_handler(REQ_RELEASE_INTERFACE, [](intptr_t buffer) -> intptr_t {
        release_sound_buffer_now(reinterpret_cast<SoundBuffer*>(buffer));
        return 0;
    });
    // The start-up request may come without a block, its result then going nowhere.
    set_request_handler(REQ_CREATE_DIRECTSOUND, [](intptr_t lparam) -> intptr_t {
        int ok = create_direct_sound();
        if (intptr_t* b = request_block(lparam)) b[0] = ok;
        return 0;
    });
    set_request_handler(REQ_RELEASE_SOUND, [](intptr_t) -> intptr_t {
        release_direct_sound();
        return 0;
    });
    set_activation_handler([](int gained) { gained ? activate_sound() : deactivate_sound(); });
}

SoundBuffer* create_sound_buffer(int length, int rate, int kind) {
    if (!sound_device_present.load()) return nullptr;
    RequestBlock block = {length, rate, 0, kind};
    send_request(REQ_CREATE_SOUND_BUFFER, block);
    return reinterpret_cast<SoundBuffer*>(block[2]);
}

SoundBuffer* duplicate_sound_buffer(SoundBuffer* buffer) {
    if (!usable(buffer)) return nullptr;
    RequestBlock block = {0, 0, reinterpret_cast<intptr_t>(buffer), 0};
    send_request(REQ_DUPLICATE_SOUND_BUFFER, block);
    return reinterpret_cast<SoundBuffer*>(block[2]);
}

void release_sound_buffer(SoundBuffer* buffer) {
    if (buffer) send_request(REQ_RELEASE_INTERFACE, reinterpret_cast<intptr_t>(buffer));
}

int level_to_attenuation(int level) {
    if (level <= 0) return SOUND_SILENT;
    return std::clamp(1000 - 64000 / level, SOUND_SILENT, 0);
}

int attenuation_to_level(int attenuation) { return 64000 / (1000 - attenuation); }

int pan_to_balance(int pan) {
    if (pan < 0x8000) return std::max(pan * 10000 / 32768 - 10000, SOUND_FULL_LEFT);
    return std::min((pan - 0x8000) * 10000 / 0x7fff, SOUND_FULL_RIGHT);
}

uint8_t* lock_sound_buffer(SoundBuffer* buffer, int offset, int length) {
    if (!usable(buffer)) return nullptr;
    return platform::lock_audio_buffer(buffer->audio, offset, length);
}

void unlock_sound_buffer(SoundBuffer* buffer, uint8_t* region, int length) {
    if (usable(buffer) && region) platform::unlock_audio_buffer(buffer->audio, region, length);
}

int buffer_status(SoundBuffer* buffer) {
    return usable(buffer) && plays(buffer) ? SOUND_PLAYING : SOUND_STOPPED;
}

void play_buffer(SoundBuffer* buffer, int loop) {
    if (usable(buffer)) platform::play_audio_buffer(buffer->audio, loop != 0);
}

void stop_buffer(SoundBuffer* buffer) {
    if (usable(buffer)) platform::stop_audio_buffer(buffer->audio);
}

void rewind_buffer(SoundBuffer* buffer, int position) {
    if (usable(buffer)) platform::set_audio_position(buffer->audio, position);
}

void set_buffer_rate(SoundBuffer* buffer, int rate) {
    if (usable(buffer)) platform::set_audio_rate(buffer->audio, rate);
}

int get_play_position(SoundBuffer* buffer) {
    return usable(buffer) ? platform::audio_position(buffer->audio) : 0;
}

void set_buffer_volume(SoundBuffer* buffer, int level) {
    if (usable(buffer)) platform::set_audio_volume(buffer->audio, level_to_attenuation(level));
}

int get_buffer_volume(SoundBuffer* buffer) {
    if (!usable(buffer)) return SOUND_SILENT;
    return attenuation_to_level(platform::audio_volume(buffer->audio));
}

void set_buffer_pan(SoundBuffer* buffer, int pan) {
    if (usable(buffer)) platform::set_audio_pan(buffer->audio, pan_to_balance(pan));
}

int find_free_channel(int) {
    if (!sound_device_present.load()) return -1;
    release_ended_buffers();
    SoundBuffer* ended = nullptr;
    int found = -1;
    {
        std::lock_guard lock(channel_mutex);
        for (int i = 0; i < MAX_SOUND_CHANNELS && found < 0; ++i) {
            SoundChannel& c = channels[i];
            if (c.buffer && plays(c.buffer)) continue;
            ended = std::exchange(c.buffer, nullptr);
            found = i;
        }
    }
    release_sound_buffer(ended);
    return found;
}

void start_channel(int sample, int channel, SoundBuffer* buffer, int, int rate, int level, int,
                   int loop) {
    if (!valid_channel(channel) || !usable(buffer)) return;
    SoundBuffer* previous;
    {
        std::lock_guard lock(channel_mutex);
        SoundChannel& c = channels[channel];
        c.sample = sample;
        c.loop = loop;
        rewind_buffer(buffer, 0);
        set_buffer_rate(buffer, rate);
        set_buffer_volume(buffer, level);
        play_buffer(buffer, loop);
        previous = std::exchange(c.buffer, buffer);
    }
    // A caller that did not ask for a free channel must not leave the old sound orphaned.
    if (previous != buffer && previous) {
        stop_buffer(previous);
        release_sound_buffer(previous);
    }
}

void stop_channel(int channel) {
    if (!valid_channel(channel)) return;
    SoundBuffer* buffer;
    {
        std::lock_guard lock(channel_mutex);
        buffer = std::exchange(channels[channel].buffer, nullptr);
    }
    stop_buffer(buffer);
    release_sound_buffer(buffer);
}

int channel_status(int channel) {
    if (!valid_channel(channel)) return SOUND_STOPPED;
    std::lock_guard lock(channel_mutex);
    return buffer_status(channels[channel].buffer);
}

int channel_sample(int channel) {
    if (!valid_channel(channel)) return -1;
    std::lock_guard lock(channel_mutex);
    return channels[channel].buffer ? channels[channel].sample : -1;
}

SoundBuffer* channel_buffer(int channel) {
    if (!valid_channel(channel)) return nullptr;
    std::lock_guard lock(channel_mutex);
    return channels[channel].buffer;
}

void pause_all_channels() {
    std::lock_guard lock(channel_mutex);
    for (SoundChannel& c : channels) {
        if (!usable(c.buffer)) continue;
        if (plays(c.buffer))
            stop_buffer(c.buffer);
        else
            ended_buffers.push_back(std::exchange(c.buffer, nullptr));
    }
}

void resume_all_channels() {
    std::lock_guard lock(channel_mutex);
    for (SoundChannel& c : channels) play_buffer(c.buffer, c.loop);
}

SoundBuffer* get_stream_buffer(int kind) {
    if (!sound_device_present.load()) return nullptr;
    const bool mono = kind == SOUND_MONO_8;
    SoundBuffer* replaced = nullptr;
    {
        std::lock_guard lock(channel_mutex);
        if (stream_buffer && stream_mono == mono) return stream_buffer;
        replaced = std::exchange(stream_buffer, nullptr);
        stream_paused = false;
    }
    if (replaced) {
        set_buffer_volume(replaced, 0);
        stop_buffer(replaced);
        release_sound_buffer(replaced);
    }
    SoundBuffer* made = create_sound_buffer(STREAM_BUFFER_LENGTH, STREAM_BUFFER_RATE,
                                            mono ? SOUND_MONO_8 : SOUND_STEREO_8);
    std::lock_guard lock(channel_mutex);
    stream_buffer = made;
    stream_mono = mono;
    return stream_buffer;
}

void read_sound_card_settings() {
    if (!get_pref_int("Sound Card", &sound_card_settings[0])) sound_card_settings[0] = 1;
    get_pref_int("Sound Address", &sound_card_settings[1]);
    get_pref_int("Sound IRQ", &sound_card_settings[2]);
    get_pref_int("Sound DMA", &sound_card_settings[3]);
}

void set_sound_card(int value) { store_setting(0, "Sound Card", value); }
void set_sound_address(int value) { store_setting(1, "Sound Address", value); }
void set_sound_irq(int value) { store_setting(2, "Sound IRQ", value); }
void set_sound_dma(int value) { store_setting(3, "Sound DMA", value); }

int open_sound_card() { return 1; }
void close_sound_card() {}
void reset_sound_card() {}

}  // namespace vyr
