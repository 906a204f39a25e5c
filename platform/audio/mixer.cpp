#include "platform/audio/mixer.h"

#include <cmath>

namespace vyr::platform {

namespace {

float sample_at(const PcmData& data, int frame, int channel) {
    const uint8_t* p = data.bytes.data() + size_t(frame) * data.frame_bytes();
    if (data.bits == 8) return float(int(p[channel]) - 128) * 256.0f;
    return float(int16_t(uint16_t(p[2 * channel] | p[2 * channel + 1] << 8)));
}

}  // namespace

float attenuation_gain(int hundredths_db) {
    if (hundredths_db <= AUDIO_SILENT) return 0.0f;
    return float(std::pow(10.0, hundredths_db / 2000.0));
}

void mix_voice(Voice& voice, float* mix, int frames) {
    const PcmData& data = *voice.data;
    const int count = data.frames();
    if (count == 0) {
        voice.playing = false;
        return;
    }
    const float gain = attenuation_gain(voice.volume);
    const float left = gain * (voice.pan > 0 ? attenuation_gain(-voice.pan) : 1.0f);
    const float right = gain * (voice.pan < 0 ? attenuation_gain(voice.pan) : 1.0f);
    const uint64_t step = (uint64_t(voice.rate) << 32) / MIX_RATE;
    const uint64_t end = uint64_t(count) << 32;
    const int right_channel = data.channels - 1;
    for (int i = 0; i < frames && voice.playing; ++i) {
        const int frame = int(voice.position >> 32);
        const int next = frame + 1 < count ? frame + 1 : (voice.looping ? 0 : frame);
        const float t = float(uint32_t(voice.position)) * (1.0f / 4294967296.0f);
        const float l0 = sample_at(data, frame, 0), l1 = sample_at(data, next, 0);
        const float r0 = sample_at(data, frame, right_channel), r1 = sample_at(data, next, right_channel);
        mix[2 * i] += (l0 + (l1 - l0) * t) * left;
        mix[2 * i + 1] += (r0 + (r1 - r0) * t) * right;
        voice.position += step;
        if (voice.position >= end) {
            if (voice.looping) {
                voice.position %= end;
            } else {
                voice.playing = false;
                voice.position = 0;
            }
        }
    }
}

void convert_mix(const float* mix, int16_t* out, int samples) {
    for (int i = 0; i < samples; ++i) {
        float v = std::nearbyint(mix[i]);
        out[i] = int16_t(v > 32767.0f ? 32767 : v < -32768.0f ? -32768 : int(v));
    }
}

}  // namespace vyr::platform
