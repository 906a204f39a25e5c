#include "platform/audio/mixer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vyr::platform {
namespace {

Voice voice_of(std::vector<uint8_t> bytes, int channels, int bits, int rate) {
    auto data = std::make_shared<PcmData>();
    data->bytes = std::move(bytes);
    data->channels = channels;
    data->bits = bits;
    Voice voice;
    voice.data = data;
    voice.rate = rate;
    voice.playing = true;
    return voice;
}

std::vector<float> mix(Voice& voice, int frames) {
    std::vector<float> out(size_t(frames) * 2, 0.0f);
    mix_voice(voice, out.data(), frames);
    return out;
}

TEST(Mixer, HalfRateSourceIsInterpolatedHalfway) {
    // 8-bit unsigned: 0x80 is silence, each step of one is 256 in the mix.
    Voice voice = voice_of({0x80, 0xc0, 0x40}, 1, 8, MIX_RATE / 2);
    std::vector<float> out = mix(voice, 6);
    const float expected[] = {0, 8192, 16384, 0, -16384, -16384};  // holds the last frame
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(out[2 * i], expected[i]) << i;
        EXPECT_FLOAT_EQ(out[2 * i + 1], expected[i]) << i;
    }
    EXPECT_FALSE(voice.playing);
    EXPECT_EQ(voice.position, 0u);  // an ended voice is rewound
}

TEST(Mixer, LoopingSourceInterpolatesFromItsLastFrameIntoItsFirst) {
    // 16-bit stereo: left 1000 then 3000, right -1000 then -3000.
    auto le = [](int16_t v) { return std::vector<uint8_t>{uint8_t(v), uint8_t(uint16_t(v) >> 8)}; };
    std::vector<uint8_t> bytes;
    for (int16_t v : {1000, -1000, 3000, -3000})
        for (uint8_t b : le(v)) bytes.push_back(b);
    Voice voice = voice_of(bytes, 2, 16, MIX_RATE / 2);
    voice.looping = true;
    std::vector<float> out = mix(voice, 5);
    const float left[] = {1000, 2000, 3000, 2000, 1000};
    for (int i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(out[2 * i], left[i]) << i;
        EXPECT_FLOAT_EQ(out[2 * i + 1], -left[i]) << i;
    }
    EXPECT_TRUE(voice.playing);
}

TEST(Mixer, VolumeAndPanAttenuateInHundredthsOfADecibel) {
    struct Case {
        int volume, pan;
        float left, right;
    } cases[] = {
        {0, 0, 1.0f, 1.0f},
        {-600, 0, 0.501187f, 0.501187f},
        {0, -2000, 1.0f, 0.1f},
        {0, 600, 0.501187f, 1.0f},
        {-2000, 2000, 0.01f, 0.1f},
        {AUDIO_SILENT, 0, 0.0f, 0.0f},
        {0, -AUDIO_PAN_LIMIT, 1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        Voice voice = voice_of({0xc0}, 1, 8, MIX_RATE);
        voice.volume = c.volume;
        voice.pan = c.pan;
        std::vector<float> out = mix(voice, 1);
        EXPECT_NEAR(out[0], 16384 * c.left, 2.0f) << c.volume << " " << c.pan;
        EXPECT_NEAR(out[1], 16384 * c.right, 2.0f) << c.volume << " " << c.pan;
    }
}

TEST(Mixer, VoicesAddAndTheSumIsClamped) {
    std::vector<float> sum(2, 0.0f);
    for (int i = 0; i < 3; ++i) {
        Voice voice = voice_of({0xff}, 1, 8, MIX_RATE);
        mix_voice(voice, sum.data(), 1);
    }
    EXPECT_FLOAT_EQ(sum[0], 3 * 127 * 256);
    int16_t out[4];
    const float values[] = {sum[0], -99999.0f, 12.4f, -12.6f};
    convert_mix(values, out, 4);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], -32768);
    EXPECT_EQ(out[2], 12);
    EXPECT_EQ(out[3], -13);
}

}  // namespace
}  // namespace vyr::platform
