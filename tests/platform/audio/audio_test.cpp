#include "platform/audio/audio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <thread>

#include "platform/audio/mixer.h"
#include "platform/timer/timer.h"
#include "tests/support/scratch.h"

namespace vyr::platform {
namespace {

constexpr int FRAMES_PER_PERIOD = MIX_RATE / 100;

// The null device on a virtual clock: the mix moves only when the test advances the clock.
class NullAudio : public testing::Test {
protected:
    void SetUp() override {
        set_clock_mode(ClockMode::VIRTUAL);
        ASSERT_TRUE(start_periodic_timer(nullptr));
        set_audio_backend(AudioBackend::NUL);
        ASSERT_TRUE(open_audio());
        start_audio_capture();
    }

    void TearDown() override {
        for (AudioBuffer* b : made) release_audio_buffer(b);
        close_audio();
        stop_periodic_timer();
    }

    AudioBuffer* make(int bytes, int rate, int channels, int bits) {
        AudioBuffer* b = create_audio_buffer(bytes, rate, channels, bits);
        if (b) made.push_back(b);
        return b;
    }

    // A mono 8-bit buffer of `periods` whole periods of a sine of amplitude 100.
    AudioBuffer* make_sine(int samples_per_period, int periods, int rate) {
        int length = samples_per_period * periods;
        AudioBuffer* b = make(length, rate, 1, 8);
        uint8_t* p = lock_audio_buffer(b, 0, length);
        for (int i = 0; i < length; ++i)
            p[i] = uint8_t(128 + std::lround(100 * std::sin(2 * std::numbers::pi * i / samples_per_period)));
        unlock_audio_buffer(b, p, length);
        return b;
    }

    std::vector<int16_t> listen(int periods) {
        take_audio_capture();
        advance_virtual_clock(periods);
        return take_audio_capture();
    }

    std::vector<AudioBuffer*> made;
};

// Sign changes of one side of a stereo capture, counted per second.
double frequency(const std::vector<int16_t>& mix, int side) {
    int crossings = 0;
    for (size_t i = 2 + side; i < mix.size(); i += 2)
        if ((mix[i - 2] < 0) != (mix[i] < 0)) ++crossings;
    return crossings / 2.0 / (double(mix.size() / 2) / MIX_RATE);
}

double rms(const std::vector<int16_t>& mix, int side) {
    double sum = 0;
    for (size_t i = side; i < mix.size(); i += 2) sum += double(mix[i]) * mix[i];
    return std::sqrt(sum / double(mix.size() / 2));
}

TEST_F(NullAudio, ToneIsHeardAtItsRateLevelAndPan) {
    struct Case {
        int rate, volume, pan;
        double hertz, left, right;  // levels relative to full volume, centred
    } cases[] = {
        {22050, 0, 0, 441, 1.0, 1.0},
        {11025, 0, 0, 220.5, 1.0, 1.0},
        {44100, -600, 0, 882, 0.501, 0.501},
        {22050, 0, -2000, 441, 1.0, 0.1},
        {22050, -600, 600, 441, 0.251, 0.501},
    };
    AudioBuffer* tone = make_sine(50, 20, 22050);
    ASSERT_TRUE(play_audio_buffer(tone, true));
    const double full = rms(listen(100), 0);
    ASSERT_GT(full, 100 * 256 / std::sqrt(2.0) * 0.95);
    for (const Case& c : cases) {
        set_audio_rate(tone, c.rate);
        set_audio_volume(tone, c.volume);
        set_audio_pan(tone, c.pan);
        std::vector<int16_t> mix = listen(100);
        EXPECT_NEAR(frequency(mix, 0), c.hertz, c.hertz * 0.01) << c.rate;
        EXPECT_NEAR(rms(mix, 0) / full, c.left, 0.01) << c.volume << " " << c.pan;
        EXPECT_NEAR(rms(mix, 1) / full, c.right, 0.01) << c.volume << " " << c.pan;
    }
}

TEST_F(NullAudio, LoopingVoiceWrapsWithoutAClick) {
    // 3.7 periods of an odd-rate tone do not fill whole output frames: the wrap falls between
    // them. No step in the output may exceed the steepest step of the sine itself.
    for (int rate : {22050, 17000}) {
        AudioBuffer* tone = make_sine(37, 10, rate);
        set_audio_rate(tone, rate);
        ASSERT_TRUE(play_audio_buffer(tone, true));
        std::vector<int16_t> mix = listen(50);
        stop_audio_buffer(tone);
        // The steepest step of the 8-bit source, rounding included, spread over output frames.
        const double steepest = (100 * 2 * std::numbers::pi / 37 + 1) * 256 * rate / MIX_RATE;
        int worst = 0;
        for (size_t i = 2; i < mix.size(); i += 2) worst = std::max(worst, std::abs(mix[i] - mix[i - 2]));
        EXPECT_LE(worst, steepest) << rate;
    }
}

TEST_F(NullAudio, OneShotPlaysOnceAndStopsRewound) {
    AudioBuffer* shot = make_sine(50, 441, 22050);  // one second at 22050 Hz
    set_audio_rate(shot, 44100);                     // heard in half a second
    ASSERT_TRUE(play_audio_buffer(shot, false));
    advance_virtual_clock(25);
    EXPECT_EQ(audio_position(shot), 25 * FRAMES_PER_PERIOD);
    std::vector<int16_t> mix = listen(50);
    EXPECT_FALSE(audio_buffer_playing(shot));
    EXPECT_EQ(audio_position(shot), 0);
    ASSERT_EQ(mix.size(), size_t(50 * FRAMES_PER_PERIOD * 2));
    std::vector<int16_t> first(mix.begin(), mix.begin() + 25 * FRAMES_PER_PERIOD * 2);
    std::vector<int16_t> rest(mix.begin() + 25 * FRAMES_PER_PERIOD * 2, mix.end());
    EXPECT_GT(rms(first, 0), 10000);
    EXPECT_EQ(rms(rest, 0), 0);
}

TEST_F(NullAudio, SeventeenVoicesPlayAtOnce) {
    std::vector<AudioBuffer*> all;
    for (int i = 0; i < MIX_VOICES + 1; ++i) all.push_back(make(100, 22050, 1, 8));
    for (int i = 0; i < MIX_VOICES; ++i) EXPECT_TRUE(play_audio_buffer(all[i], true)) << i;
    EXPECT_FALSE(play_audio_buffer(all[MIX_VOICES], true));
    EXPECT_TRUE(play_audio_buffer(all[0], false));  // playing again takes no second voice
    release_audio_buffer(all[1]);
    made.erase(std::find(made.begin(), made.end(), all[1]));
    EXPECT_TRUE(play_audio_buffer(all[MIX_VOICES], true));
}

TEST_F(NullAudio, LockedRegionIsHeardOnlyOnceUnlockedAndWrapsPastTheEnd) {
    AudioBuffer* ring = make(1000, 44100, 1, 8);
    ASSERT_TRUE(play_audio_buffer(ring, true));
    uint8_t* region = lock_audio_buffer(ring, 900, 200);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(region[0], 0x80);  // a new buffer is silent
    EXPECT_EQ(lock_audio_buffer(ring, 0, 10), nullptr);  // one lock at a time
    std::fill_n(region, 200, 0xff);
    EXPECT_EQ(rms(listen(5), 0), 0);
    unlock_audio_buffer(ring, region, 200);
    std::vector<int16_t> mix = listen(3);
    // Bytes 900..999 and 0..99 are loud, the rest silent; the buffer plays at one byte a frame.
    for (int frame = 0; frame < 1000; ++frame) {
        int byte = (5 * FRAMES_PER_PERIOD + frame) % 1000;
        bool loud = byte >= 900 || byte < 100;
        ASSERT_EQ(mix[2 * frame] == 127 * 256, loud) << frame;
    }
    for (auto [offset, length] : {std::pair{-1, 10}, {1000, 10}, {0, 0}, {0, 1001}})
        EXPECT_EQ(lock_audio_buffer(ring, offset, length), nullptr) << offset << " " << length;
}

TEST_F(NullAudio, DuplicatesShareTheDataButNotThePlayState) {
    AudioBuffer* original = make(200, 22050, 1, 8);
    set_audio_volume(original, -600);
    AudioBuffer* copy = duplicate_audio_buffer(original);
    made.push_back(copy);
    EXPECT_EQ(audio_volume(copy), -600);
    EXPECT_EQ(audio_rate(copy), 22050);
    uint8_t* p = lock_audio_buffer(original, 0, 200);
    std::fill_n(p, 200, 0xc0);
    unlock_audio_buffer(original, p, 200);
    set_audio_volume(copy, 0);
    ASSERT_TRUE(play_audio_buffer(copy, true));
    EXPECT_FALSE(audio_buffer_playing(original));
    EXPECT_EQ(listen(1)[0], 64 * 256);
    // The data outlive the buffer they were made for.
    release_audio_buffer(original);
    made.erase(made.begin());
    EXPECT_EQ(listen(1)[0], 64 * 256);
}

TEST_F(NullAudio, ClosingWritesTheCaptureNamedByTheEnvironment) {
    close_audio();
    const ScratchDirectory scratch;
    const std::string path = (scratch / "vyr_capture.wav").string();
    setenv("VYR_AUDIO_CAPTURE", path.c_str(), 1);
    ASSERT_TRUE(open_audio());
    unsetenv("VYR_AUDIO_CAPTURE");
    AudioBuffer* tone = make_sine(50, 20, 22050);
    play_audio_buffer(tone, true);
    advance_virtual_clock(10);
    close_audio();
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(file.size(), 44u + 10 * FRAMES_PER_PERIOD * 4);
    auto word = [&](int at) {
        return int(file[at] | file[at + 1] << 8 | file[at + 2] << 16 | uint32_t(file[at + 3]) << 24);
    };
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(word(4), int(file.size()) - 8);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(word(24), MIX_RATE);
    EXPECT_EQ(word(28), MIX_RATE * 4);
    EXPECT_EQ(word(40), 10 * FRAMES_PER_PERIOD * 4);
}

TEST(AudioDevice, OffIsNoDevice) {
    set_audio_backend(AudioBackend::OFF);
    EXPECT_FALSE(open_audio());
    EXPECT_FALSE(audio_open());
    EXPECT_EQ(create_audio_buffer(100, 22050, 1, 8), nullptr);
    set_audio_backend(AudioBackend::NUL);
    ASSERT_TRUE(open_audio());
    for (auto [channels, bits] : {std::pair{0, 8}, {3, 8}, {1, 12}, {2, 0}})
        EXPECT_EQ(create_audio_buffer(100, 22050, channels, bits), nullptr) << channels << " " << bits;
    close_audio();
}

// Callers change voices while the clock pulls the mix on another thread.
TEST(ThreadedAudio, CallersAndTheClockShareTheMixer) {
    set_clock_mode(ClockMode::VIRTUAL);
    ASSERT_TRUE(start_periodic_timer(nullptr));
    set_audio_backend(AudioBackend::NUL);
    ASSERT_TRUE(open_audio());
    AudioBuffer* b = create_audio_buffer(4096, 22050, 2, 16);
    std::thread clock([] {
        for (int i = 0; i < 1000; ++i) advance_virtual_clock(1);
    });
    for (int i = 0; i < 1000; ++i) {
        uint8_t* p = lock_audio_buffer(b, (i * 100) % 4096, 512);
        ASSERT_NE(p, nullptr);
        std::fill_n(p, 512, uint8_t(i));
        unlock_audio_buffer(b, p, 512);
        play_audio_buffer(b, i % 2 == 0);
        set_audio_volume(b, -(i % 100));
        if (i % 7 == 0) stop_audio_buffer(b);
    }
    clock.join();
    release_audio_buffer(b);
    close_audio();
    stop_periodic_timer();
}

}  // namespace
}  // namespace vyr::platform
