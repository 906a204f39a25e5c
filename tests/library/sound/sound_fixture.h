// The sound tests' world: the headless world with the null sound device (so the mix moves only
// when a test advances the clock, and can be heard) and a "sound" folder in the player's directory.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <vector>

#include "library/sound/banks.h"
#include "library/sound/dsound.h"
#include "library/sound/music.h"
#include "library/sound/samples.h"
#include "tests/support/headless_world.h"

namespace vyr {

class SoundTest : public HeadlessWorld {
protected:
    platform::AudioBackend audio() const override { return platform::AudioBackend::NUL; }

    void SetUp() override {
        HeadlessWorld::SetUp();
        RequestBlock block = {};
        send_request(REQ_CREATE_DIRECTSOUND, block);
        ASSERT_EQ(block[0], 1);
        platform::start_audio_capture();
        std::filesystem::create_directories(work / "sound");
        sound_effects_on = 1;
        sound_music_on = 1;
        minimal_sound_set = 0;
        master_volume = 63;
    }

    void TearDown() override {
        stop_music_now();
        stop_music();
        set_music_situation_source(nullptr);
        for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel) stop_channel(channel);
        release_sample_bank();
        radio_channel = speech_channel = -1;
        sound_effects_on = sound_music_on = sound_speech_on = 0;
        HeadlessWorld::TearDown();
    }

    static void write_bytes(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    // The buffer's whole contents, read through a lock.
    static std::vector<uint8_t> contents(SoundBuffer* buffer, int offset, int length) {
        uint8_t* region = lock_sound_buffer(buffer, offset, length);
        if (!region) return {};
        std::vector<uint8_t> bytes(region, region + length);
        unlock_sound_buffer(buffer, region, 0);
        return bytes;
    }

    // Gives a row a buffer of 1,000 bytes of a sine tone, as a bank would; the tear-down's
    // release of the bank frees it.
    static void load_tone(int row) {
        SampleInfo& info = sample_table[row];
        info.length = 1000;
        info.buffer = create_sound_buffer(info.length, info.rate, SOUND_MONO_8);
        uint8_t* p = lock_sound_buffer(info.buffer, 0, info.length);
        for (int i = 0; i < info.length; ++i) p[i] = uint8_t(128 + std::lround(100 * std::sin(i * 0.1)));
        unlock_sound_buffer(info.buffer, p, info.length);
    }

    // What the device plays over the next `periods` 10 ms periods.
    static std::vector<int16_t> listen(int periods) {
        platform::take_audio_capture();
        platform::advance_virtual_clock(periods);
        return platform::take_audio_capture();
    }

    static double rms(const std::vector<int16_t>& mix, int side) {
        double sum = 0;
        for (size_t i = side; i < mix.size(); i += 2) sum += double(mix[i]) * mix[i];
        return mix.empty() ? 0 : std::sqrt(sum / double(mix.size() / 2));
    }

    // Runs `work` on the window thread, as focus changes arrive there.
    void on_window_thread(const std::function<void()>& work) { headless->call_on_window_thread(work); }

};

}  // namespace vyr
