// The mixer's arithmetic: PCM sources of their own rate and format, resampled with linear
// interpolation into 44.1 kHz signed 16-bit stereo.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace vyr::platform {

constexpr int MIX_RATE = 44100;
constexpr int MIX_EFFECT_VOICES = 16;
constexpr int MIX_VOICES = MIX_EFFECT_VOICES + 1;  // the effects and the streaming voice
constexpr int MIN_AUDIO_RATE = 100;
constexpr int MAX_AUDIO_RATE = 100000;
// Levels are attenuations in hundredths of a decibel; this one and below are silence.
constexpr int AUDIO_SILENT = -10000;
constexpr int AUDIO_PAN_LIMIT = 10000;  // -10000 mutes the right side, +10000 the left

// Sample data, shared by a buffer and its duplicates. 8-bit data are unsigned, 16-bit signed
// little-endian; stereo frames are interleaved left first.
struct PcmData {
    std::vector<uint8_t> bytes;
    int channels = 1;
    int bits = 8;

    int frame_bytes() const { return channels * bits / 8; }
    int frames() const { return int(bytes.size()) / frame_bytes(); }
};

// One source as the mixer plays it.
struct Voice {
    std::shared_ptr<PcmData> data;
    uint64_t position = 0;  // in source frames, 32.32 fixed point
    int rate = 22050;
    int volume = 0;  // attenuation, AUDIO_SILENT..0
    int pan = 0;     // -AUDIO_PAN_LIMIT..AUDIO_PAN_LIMIT
    bool playing = false;
    bool looping = false;
};

// Linear gain of an attenuation in hundredths of a decibel; 0 at AUDIO_SILENT and below.
float attenuation_gain(int hundredths_db);

// Adds `frames` output frames of a playing voice to `mix` (left, right interleaved) and moves
// it on. A voice that does not loop stops, rewound, after its last frame; a looping one wraps,
// interpolating from its last frame into its first.
void mix_voice(Voice& voice, float* mix, int frames);

// Rounds and clamps a mix into signed 16-bit samples.
void convert_mix(const float* mix, int16_t* out, int samples);

}  // namespace vyr::platform
