#include "platform/audio/audio.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/audio/mixer.h"
#include "platform/audio/sdl_audio.h"
#include "platform/timer/timer.h"

namespace vyr::platform {

struct AudioBuffer {
    Voice voice;
    std::vector<uint8_t> staging;  // the locked region until it is unlocked
    int locked_offset = -1;        // -1 while not locked
};

namespace {

constexpr int FRAMES_PER_PERIOD = MIX_RATE / 100;

std::atomic<int> chosen_backend{-1};  // -1 until read from VYR_AUDIO or set

// Everything below is guarded by audio_mutex: the mixer's thread reads it while callers change it.
std::mutex audio_mutex;
AudioBackend open_backend = AudioBackend::OFF;
bool device_open = false;
std::vector<std::unique_ptr<AudioBuffer>> buffers;
std::vector<AudioBuffer*> voices;  // the buffers that play
std::vector<float> mix_scratch;
uint64_t pulled_periods = 0;  // null backend: the clock period mixed up to
bool capturing = false;
std::vector<int16_t> capture;
std::string capture_path;

AudioBackend backend_from_environment() {
    const char* value = std::getenv("VYR_AUDIO");
    if (!value || std::strcmp(value, "sdl") == 0) return AudioBackend::SDL;
    if (std::strcmp(value, "null") == 0) return AudioBackend::NUL;
    if (std::strcmp(value, "off") != 0)
        std::fprintf(stderr, "vyr: VYR_AUDIO=%s is not sdl, null or off; sound is off\n", value);
    return AudioBackend::OFF;
}

void mix_locked(int16_t* out, int frames) {
    mix_scratch.assign(size_t(frames) * 2, 0.0f);
    for (AudioBuffer* buffer : voices) mix_voice(buffer->voice, mix_scratch.data(), frames);
    std::erase_if(voices, [](AudioBuffer* b) { return !b->voice.playing; });
    convert_mix(mix_scratch.data(), out, frames * 2);
}

// Null backend: plays what the clock has moved on since the last call.
void catch_up_locked() {
    if (!device_open || open_backend != AudioBackend::NUL) return;
    uint64_t now = timer_periods();
    if (now < pulled_periods) pulled_periods = now;  // the timer started again
    if (voices.empty() && !capturing) pulled_periods = now;  // nothing to hear, nothing to keep
    std::vector<int16_t> out;
    for (; pulled_periods < now; ++pulled_periods) {
        out.resize(size_t(FRAMES_PER_PERIOD) * 2);
        mix_locked(out.data(), FRAMES_PER_PERIOD);
        if (capturing) capture.insert(capture.end(), out.begin(), out.end());
    }
}

// Takes the lock and brings the null backend's mix up to the clock first.
std::unique_lock<std::mutex> lock_audio() {
    std::unique_lock lock(audio_mutex);
    catch_up_locked();
    return lock;
}

void pull_for_sdl(int16_t* out, int frames) {
    std::lock_guard lock(audio_mutex);
    mix_locked(out, frames);
}

void stop_locked(AudioBuffer* buffer) {
    buffer->voice.playing = false;
    std::erase(voices, buffer);
}

}  // namespace

AudioBackend audio_backend() {
    int backend = chosen_backend.load();
    if (backend < 0) {
        backend = int(backend_from_environment());
        chosen_backend.store(backend);
    }
    return AudioBackend(backend);
}

void set_audio_backend(AudioBackend backend) { chosen_backend.store(int(backend)); }

bool open_audio() {
    AudioBackend backend = audio_backend();
    {
        std::lock_guard lock(audio_mutex);
        if (device_open) return true;
        if (backend == AudioBackend::OFF) return false;
        if (backend == AudioBackend::NUL) {
            const char* path = std::getenv("VYR_AUDIO_CAPTURE");
            // Resolved now: the program later works in the player's directory.
            capture_path = path && *path ? std::filesystem::absolute(path).string() : "";
            capturing = !capture_path.empty();
            capture.clear();
            pulled_periods = timer_periods();
            open_backend = backend;
            device_open = true;
            return true;
        }
    }
    std::string error;
    if (!open_sdl_audio(pull_for_sdl, error)) {
        std::fprintf(stderr, "vyr: no sound device (%s); sound is off\n", error.c_str());
        return false;
    }
    std::lock_guard lock(audio_mutex);
    open_backend = backend;
    device_open = true;
    return true;
}

void close_audio() {
    std::vector<int16_t> captured;
    std::string path;
    {
        auto lock = lock_audio();
        if (!device_open) return;
        device_open = false;
        if (open_backend == AudioBackend::SDL) {
            lock.unlock();
            close_sdl_audio();  // waits for a pull in progress, so never under the lock
            lock.lock();
        }
        for (AudioBuffer* buffer : voices) buffer->voice.playing = false;
        voices.clear();
        path = std::exchange(capture_path, {});
        if (!path.empty()) captured = std::exchange(capture, {});
    }
    if (!path.empty() && !write_wav_file(path, captured))
        std::fprintf(stderr, "vyr: cannot write the sound capture %s\n", path.c_str());
}

bool audio_open() {
    std::lock_guard lock(audio_mutex);
    return device_open;
}

AudioBuffer* create_audio_buffer(int bytes, int rate, int channels, int bits) {
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16)) return nullptr;
    auto lock = lock_audio();
    if (!device_open) return nullptr;
    auto data = std::make_shared<PcmData>();
    data->channels = channels;
    data->bits = bits;
    int frames = bytes / data->frame_bytes();
    if (frames < 1) return nullptr;
    data->bytes.assign(size_t(frames) * data->frame_bytes(), bits == 8 ? 0x80 : 0);
    auto buffer = std::make_unique<AudioBuffer>();
    buffer->voice.data = std::move(data);
    buffer->voice.rate = std::clamp(rate, MIN_AUDIO_RATE, MAX_AUDIO_RATE);
    buffers.push_back(std::move(buffer));
    return buffers.back().get();
}

AudioBuffer* duplicate_audio_buffer(AudioBuffer* source) {
    if (!source) return nullptr;
    auto lock = lock_audio();
    if (!device_open) return nullptr;
    auto buffer = std::make_unique<AudioBuffer>();
    buffer->voice = source->voice;
    buffer->voice.position = 0;
    buffer->voice.playing = false;
    buffer->voice.looping = false;
    buffers.push_back(std::move(buffer));
    return buffers.back().get();
}

void release_audio_buffer(AudioBuffer* buffer) {
    if (!buffer) return;
    auto lock = lock_audio();
    stop_locked(buffer);
    std::erase_if(buffers, [buffer](const std::unique_ptr<AudioBuffer>& b) { return b.get() == buffer; });
}

uint8_t* lock_audio_buffer(AudioBuffer* buffer, int offset, int length) {
    auto lock = lock_audio();
    const std::vector<uint8_t>& bytes = buffer->voice.data->bytes;
    const int size = int(bytes.size());
    if (buffer->locked_offset >= 0 || offset < 0 || offset >= size || length < 1 || length > size)
        return nullptr;
    buffer->staging.resize(size_t(length));
    int first = std::min(length, size - offset);
    std::copy_n(bytes.begin() + offset, first, buffer->staging.begin());
    std::copy_n(bytes.begin(), length - first, buffer->staging.begin() + first);
    buffer->locked_offset = offset;
    return buffer->staging.data();
}

void unlock_audio_buffer(AudioBuffer* buffer, const uint8_t* region, int length) {
    auto lock = lock_audio();
    if (buffer->locked_offset < 0 || region != buffer->staging.data()) return;
    std::vector<uint8_t>& bytes = buffer->voice.data->bytes;
    const int size = int(bytes.size());
    const int offset = std::exchange(buffer->locked_offset, -1);
    length = std::clamp(length, 0, int(buffer->staging.size()));
    int first = std::min(length, size - offset);
    std::copy_n(buffer->staging.begin(), first, bytes.begin() + offset);
    std::copy_n(buffer->staging.begin() + first, length - first, bytes.begin());
}

bool play_audio_buffer(AudioBuffer* buffer, bool loop) {
    auto lock = lock_audio();
    if (!device_open) return false;
    if (!buffer->voice.playing) {
        if (int(voices.size()) >= MIX_VOICES) return false;
        voices.push_back(buffer);
    }
    buffer->voice.playing = true;
    buffer->voice.looping = loop;
    return true;
}

void stop_audio_buffer(AudioBuffer* buffer) {
    auto lock = lock_audio();
    stop_locked(buffer);
}

bool audio_buffer_playing(AudioBuffer* buffer) {
    auto lock = lock_audio();
    return buffer->voice.playing;
}

void set_audio_position(AudioBuffer* buffer, int byte) {
    auto lock = lock_audio();
    const PcmData& data = *buffer->voice.data;
    if (byte < 0 || byte >= int(data.bytes.size())) return;
    buffer->voice.position = uint64_t(byte / data.frame_bytes()) << 32;
}

int audio_position(AudioBuffer* buffer) {
    auto lock = lock_audio();
    return int(buffer->voice.position >> 32) * buffer->voice.data->frame_bytes();
}

void set_audio_rate(AudioBuffer* buffer, int rate) {
    auto lock = lock_audio();
    buffer->voice.rate = std::clamp(rate, MIN_AUDIO_RATE, MAX_AUDIO_RATE);
}

int audio_rate(AudioBuffer* buffer) {
    auto lock = lock_audio();
    return buffer->voice.rate;
}

void set_audio_volume(AudioBuffer* buffer, int volume) {
    auto lock = lock_audio();
    buffer->voice.volume = std::clamp(volume, AUDIO_SILENT, 0);
}

int audio_volume(AudioBuffer* buffer) {
    auto lock = lock_audio();
    return buffer->voice.volume;
}

void set_audio_pan(AudioBuffer* buffer, int pan) {
    auto lock = lock_audio();
    buffer->voice.pan = std::clamp(pan, -AUDIO_PAN_LIMIT, AUDIO_PAN_LIMIT);
}

void start_audio_capture() {
    auto lock = lock_audio();
    capturing = true;
    capture.clear();
}

std::vector<int16_t> take_audio_capture() {
    auto lock = lock_audio();
    return std::exchange(capture, {});
}

bool write_wav_file(const std::string& path, const std::vector<int16_t>& samples) {
    auto put32 = [](std::ofstream& out, uint32_t v) {
        const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        out.write(b, 4);
    };
    auto put16 = [](std::ofstream& out, uint16_t v) {
        const char b[2] = {char(v), char(v >> 8)};
        out.write(b, 2);
    };
    const uint32_t data_bytes = uint32_t(samples.size() * 2);
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write("RIFF", 4);
        put32(out, 36 + data_bytes);
        out.write("WAVEfmt ", 8);
        put32(out, 16);
        put16(out, 1);  // PCM
        put16(out, 2);
        put32(out, MIX_RATE);
        put32(out, MIX_RATE * 4);
        put16(out, 4);
        put16(out, 16);
        out.write("data", 4);
        put32(out, data_bytes);
        for (int16_t s : samples) put16(out, uint16_t(s));
        if (!out.flush()) return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

}  // namespace vyr::platform
