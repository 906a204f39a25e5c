// The sound device: the device and buffers behind every sound of the program, the sixteen sound
// channels and the one streaming buffer of music and long speech.
//
// Creating, duplicating and releasing buffers and the device run on the window thread (the
// request protocol); the other calls are made directly by whichever game-side thread plays.
// Levels are 0..63 (63 loudest), pans 0..0xFFFF with 0x8000 the centre. Without a device every
// call does nothing and returns its neutral value.
#pragma once

#include <atomic>
#include <cstdint>

namespace vyr {

struct SoundBuffer;

constexpr int MAX_SOUND_CHANNELS = 16;
constexpr int MIN_SOUND_BUFFER_LENGTH = 100;

// Buffer formats, all PCM.
constexpr int SOUND_MONO_8 = 4;
constexpr int SOUND_MONO_16 = 5;
constexpr int SOUND_STEREO_8 = 6;
constexpr int SOUND_STEREO_16 = 7;

constexpr int STREAM_BUFFER_LENGTH = 1048576;
constexpr int STREAM_BUFFER_RATE = 22050;

// Attenuations in hundredths of a decibel.
constexpr int SOUND_SILENT = -10000;
constexpr int SOUND_FULL_LEFT = -10000;
constexpr int SOUND_FULL_RIGHT = 10000;

// Results of `buffer_status` and `channel_status`.
constexpr int SOUND_STOPPED = 1;
constexpr int SOUND_PLAYING = 2;

// 1 once the device exists.
extern std::atomic<int> sound_device_present;

// Has the window thread serve the sound requests and the focus changes with the handlers below.
void install_sound_requests();

// Window-thread handlers, run by the request protocol.
int create_direct_sound();   // 1 when sound is ready, 0 when the program runs silent
void release_direct_sound();
// kind: 4 mono 8-bit, 5 mono 16-bit, 6 stereo 8-bit, 7 stereo 16-bit.
SoundBuffer* create_sound_buffer_now(int length, int rate, int kind);
SoundBuffer* duplicate_sound_buffer_now(SoundBuffer* buffer);
void release_sound_buffer_now(SoundBuffer* buffer);

// Focus lost and regained (full-screen style): pause and resume what plays.
void deactivate_sound();
void activate_sound();

// The same through the window thread, for game-side callers. A buffer is at least 100 bytes.
SoundBuffer* create_sound_buffer(int length, int rate, int kind);
SoundBuffer* duplicate_sound_buffer(SoundBuffer* buffer);
void release_sound_buffer(SoundBuffer* buffer);

// The level and pan rules: level 0 is silent, else 1000 - 64000 / level, within -10000..0; a pan
// runs linearly from -10000 (0) through 0 (0x8000) to 10000 (0xFFFF).
int level_to_attenuation(int level);
int attenuation_to_level(int attenuation);
int pan_to_balance(int pan);

// Direct calls on a buffer.
// A region of `length` bytes from `offset` (running on from the start past the end), written
// into the buffer only when it is unlocked; null when it cannot be locked.
uint8_t* lock_sound_buffer(SoundBuffer* buffer, int offset, int length);
void unlock_sound_buffer(SoundBuffer* buffer, uint8_t* region, int length);
int buffer_status(SoundBuffer* buffer);  // SOUND_PLAYING or SOUND_STOPPED
void play_buffer(SoundBuffer* buffer, int loop);
void stop_buffer(SoundBuffer* buffer);
void rewind_buffer(SoundBuffer* buffer, int position);
void set_buffer_rate(SoundBuffer* buffer, int rate);
int get_play_position(SoundBuffer* buffer);  // bytes; 0 on failure
void set_buffer_volume(SoundBuffer* buffer, int level);
int get_buffer_volume(SoundBuffer* buffer);  // the level; -10000 without a device
void set_buffer_pan(SoundBuffer* buffer, int pan);

// Channels. A channel is free when it holds no buffer or its buffer has ended.
struct SoundChannel {
    int32_t sample;  // row of the sample table
    int32_t loop;
    SoundBuffer* buffer;  // a duplicate owned by the channel; null when free
};

// The first free channel (an ended buffer found there is released), or -1. The priority takes
// no part in the choice.
int find_free_channel(int priority);
// Rewinds the buffer, sets its rate and level and plays it on the channel, which then owns it.
void start_channel(int sample, int channel, SoundBuffer* buffer, int length, int rate, int level,
                   int pan, int loop);
void stop_channel(int channel);
int channel_status(int channel);
// The row that the channel holds, -1 when it holds none.
int channel_sample(int channel);
SoundBuffer* channel_buffer(int channel);
void pause_all_channels();
void resume_all_channels();

// The stream buffer: SOUND_MONO_8 asks for mono, any other kind for stereo. A buffer of the
// other kind is silenced and released and a new one made; null without a device.
SoundBuffer* get_stream_buffer(int kind);

// Sound-card settings, kept for the preferences screens.
extern int sound_card_settings[4];  // card, address, IRQ, DMA
void read_sound_card_settings();
void set_sound_card(int value);
void set_sound_address(int value);
void set_sound_irq(int value);
void set_sound_dma(int value);
int open_sound_card();
void close_sound_card();
void reset_sound_card();

}  // namespace vyr
