// The program's world without a screen or a sound card, for tests that play the game side: the
// virtual clock, the headless window with its message loop on a thread of its own serving the
// requests, the null sound device or none, an empty settings store, and a scratch player's
// directory over a data directory of the test's own or the build's generated data set.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "library/config/prefs.h"
#include "library/graphics/ddraw.h"
#include "library/sound/dsound.h"
#include "library/system/event.h"
#include "library/system/winmain.h"
#include "platform/audio/audio.h"
#include "platform/timer/timer.h"
#include "platform/window/headless.h"
#include "tests/support/scratch.h"

namespace vyr {

class HeadlessWorld : public ScratchDirectories {
protected:
    // The sound device of the world: NUL to hear what is played, OFF for none. Never the real one.
    virtual platform::AudioBackend audio() const { return platform::AudioBackend::OFF; }

    void SetUp() override {
        ScratchDirectories::SetUp();
        platform::set_clock_mode(platform::ClockMode::VIRTUAL);
        platform::set_audio_backend(audio());
        install_display_requests();
        install_sound_requests();
        auto window = std::make_unique<platform::HeadlessWindow>();
        headless = window.get();
        platform::install_window(std::move(window));
        ASSERT_EQ(create_main_window(), 1);  // starts the clock
        loop = std::thread([this] { headless->run_message_loop(); });
        load_prefs(nullptr);
        flush_events();
    }

    void TearDown() override {
        if (loop.joinable()) {
            headless->post_destroy();
            loop.join();
        }
        close_main_window();  // releases the sound device and stops the clock
        platform::install_window(nullptr);
        flush_events();
        ScratchDirectories::TearDown();
    }

    platform::HeadlessWindow* headless = nullptr;
    std::thread loop;
};

}  // namespace vyr
