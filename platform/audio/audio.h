// The sound device: PCM buffers played through one mixer, heard through the backend that
// VYR_AUDIO chooses.
//
// "sdl" plays through SDL's audio device; when that cannot be opened there is no device. "null"
// is a device as far as the caller can tell, but its mix goes only to a capture: the mixer is
// pulled as the program clock moves (441 frames a 10 ms period), so what it plays is a function
// of the clock alone and tests can listen. "off" is no device at all.
//
// Every call may come from any thread; the mixer's own thread (sdl) sees a buffer's contents only
// as whole unlocked regions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vyr::platform {

enum class AudioBackend { SDL, NUL, OFF };

struct AudioBuffer;

// The backend of the next `open_audio`: from VYR_AUDIO until a test sets one.
AudioBackend audio_backend();
void set_audio_backend(AudioBackend backend);

// Opens the device; false when there is none (off, or sdl failing, said in one line on stderr).
// With the null backend, VYR_AUDIO_CAPTURE names a WAV file that `close_audio` writes the mix to.
bool open_audio();
// Stops the output. Buffers stay valid (and silent) until released.
void close_audio();
bool audio_open();

// A silent, stopped buffer of `bytes` bytes (whole frames) at `rate` Hz; null when no device is
// open or the format is not 1-2 channels of 8 or 16 bits.
AudioBuffer* create_audio_buffer(int bytes, int rate, int channels, int bits);
// A stopped buffer sharing the source's data, with its rate, volume and pan; null for null.
AudioBuffer* duplicate_audio_buffer(AudioBuffer* source);
// Stops and frees the buffer (its data live on while a duplicate holds them); null is ignored.
void release_audio_buffer(AudioBuffer* buffer);

// A region of `length` bytes from `offset`, running on from the start past the end: the returned
// memory holds the current contents and is written into the buffer only by the unlock. Null when
// the buffer is already locked or the region is not within 1..size bytes.
uint8_t* lock_audio_buffer(AudioBuffer* buffer, int offset, int length);
// Copies the first `length` bytes of the locked region in; a pointer that is not the lock's is
// ignored.
void unlock_audio_buffer(AudioBuffer* buffer, const uint8_t* region, int length);

// False when all voices play already.
bool play_audio_buffer(AudioBuffer* buffer, bool loop);
void stop_audio_buffer(AudioBuffer* buffer);
bool audio_buffer_playing(AudioBuffer* buffer);
// Play cursor in bytes; a position beyond the data is ignored.
void set_audio_position(AudioBuffer* buffer, int byte);
int audio_position(AudioBuffer* buffer);
// Clamped to MIN_AUDIO_RATE..MAX_AUDIO_RATE.
void set_audio_rate(AudioBuffer* buffer, int rate);
int audio_rate(AudioBuffer* buffer);
// Hundredths of a decibel, clamped to AUDIO_SILENT..0.
void set_audio_volume(AudioBuffer* buffer, int volume);
int audio_volume(AudioBuffer* buffer);
// Hundredths of a decibel taken off the other side, clamped to -AUDIO_PAN_LIMIT..AUDIO_PAN_LIMIT.
void set_audio_pan(AudioBuffer* buffer, int pan);

// Null backend: keeps what is mixed from now on (interleaved left, right); `take` returns it and
// starts afresh.
void start_audio_capture();
std::vector<int16_t> take_audio_capture();

// Writes 44.1 kHz 16-bit stereo samples as a WAV file; false when it cannot be written.
bool write_wav_file(const std::string& path, const std::vector<int16_t>& samples);

}  // namespace vyr::platform
