// The sound tests' world: a headless window thread serving the requests, the null sound device
// on a virtual clock (so the mix moves only when a test advances the clock, and can be heard),
// and a scratch working directory with a "sound" folder.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "library/sound/banks.h"
#include "library/sound/dsound.h"
#include "library/sound/music.h"
#include "library/sound/samples.h"
#include "library/system/event.h"
#include "library/system/winmain.h"
#include "platform/audio/audio.h"
#include "platform/timer/timer.h"
#include "platform/window/headless.h"

namespace vyr {

class SoundTest : public testing::Test {
protected:
    void SetUp() override {
        platform::set_clock_mode(platform::ClockMode::VIRTUAL);
        platform::set_audio_backend(platform::AudioBackend::NUL);
        install_sound_requests();
        auto window = std::make_unique<platform::HeadlessWindow>();
        headless = window.get();
        platform::install_window(std::move(window));
        ASSERT_EQ(create_main_window(), 1);  // starts the clock
        loop = std::thread([this] { headless->run_message_loop(); });
        RequestBlock block = {};
        send_request(REQ_CREATE_DIRECTSOUND, block);
        ASSERT_EQ(block[0], 1);
        platform::start_audio_capture();

        old_directory = std::filesystem::current_path();
        const char* test = testing::UnitTest::GetInstance()->current_test_info()->name();
        directory = std::filesystem::path(testing::TempDir()) / ("vyr_sound_" + std::string(test));
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory / "sound");
        std::filesystem::current_path(directory);
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
        headless->post_destroy();
        loop.join();
        close_main_window();  // releases the device and stops the clock
        platform::install_window(nullptr);
        flush_events();
        std::filesystem::current_path(old_directory);
        std::filesystem::remove_all(directory);
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

    platform::HeadlessWindow* headless = nullptr;
    std::thread loop;
    std::filesystem::path old_directory, directory;
};

}  // namespace vyr
