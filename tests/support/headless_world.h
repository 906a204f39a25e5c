// The program's world without a screen or a sound card, for tests that play the game side: the
// virtual clock, the headless window with its message loop on a thread of its own serving the
// requests, the null sound device or none, an empty settings store, and a scratch player's
// directory over a data directory of the test's own or the build's generated data set.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>

#include "library/config/prefs.h"
#include "library/debug/fatal.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/display.h"
#include "library/os/file.h"
#include "library/sound/dsound.h"
#include "library/system/event.h"
#include "library/system/thread.h"
#include "library/system/winmain.h"
#include "platform/audio/audio.h"
#include "platform/timer/timer.h"
#include "platform/window/headless.h"
#include "tests/support/scratch.h"

namespace vyr {

// The headless window installed as the program's under the virtual clock, the display and sound
// requests served through it, and the null sound device or none (never the real one). start() makes it as the program does (the clock starts) and runs
// its message loop on a thread of its own; a test of win_main runs the loop itself instead.
class HeadlessWindowThread {
public:
    explicit HeadlessWindowThread(platform::AudioBackend audio = platform::AudioBackend::OFF) {
        platform::set_clock_mode(platform::ClockMode::VIRTUAL);
        platform::set_audio_backend(audio);
        install_display_requests();
        install_sound_requests();
        auto owned = std::make_unique<platform::HeadlessWindow>();
        window_ = owned.get();
        platform::install_window(std::move(owned));
    }

    bool start() {
        if (!create_main_window()) return false;
        loop_ = std::thread([this] { window_->run_message_loop(); });
        return true;
    }

    ~HeadlessWindowThread() {
        if (loop_.joinable()) {
            window_->post_destroy();
            loop_.join();
        }
        close_main_window();  // releases the sound device and stops the clock
        platform::install_window(nullptr);
        flush_events();
    }

    HeadlessWindowThread(const HeadlessWindowThread&) = delete;
    HeadlessWindowThread& operator=(const HeadlessWindowThread&) = delete;

    platform::HeadlessWindow* window() const { return window_; }

private:
    platform::HeadlessWindow* window_ = nullptr;
    std::thread loop_;
};

// In a threading scenario's child, which ends without unwinding (the world is never taken down):
// the headless window and a 640 x 480 display over the generated data, the test's thread
// becoming "System". The window, for the scenario's look at the display.
inline platform::HeadlessWindow* start_headless_system() {
    static HeadlessWindowThread world;
    if (!world.start()) return nullptr;
    setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
    init_debug_text();
    find_read_only_path("vyr.rop");
    init_threads();
    RequestBlock block = {0, 0, 0, 0};
    send_request(REQ_CREATE_DIRECTDRAW, block);
    set_video_mode(1);
    return world.window();
}

// For test binaries all of whose code may send requests to the window thread (palettes, the
// display): testing::AddGlobalTestEnvironment(new WindowThreadEnvironment).
class WindowThreadEnvironment : public testing::Environment {
public:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");  // a forked child would lack the window thread
        world_.emplace();
        ASSERT_TRUE(world_->start());
    }
    void TearDown() override { world_.reset(); }

private:
    std::optional<HeadlessWindowThread> world_;
};

class HeadlessWorld : public ScratchDirectories {
protected:
    // The sound device of the world: NUL to hear what is played, OFF for none.
    virtual platform::AudioBackend audio() const { return platform::AudioBackend::OFF; }

    void SetUp() override {
        ScratchDirectories::SetUp();
        world_.emplace(audio());
        headless = world_->window();
        ASSERT_TRUE(world_->start());
        load_prefs(nullptr);
        flush_events();
    }

    void TearDown() override {
        world_.reset();
        ScratchDirectories::TearDown();
    }

    platform::HeadlessWindow* headless = nullptr;

private:
    std::optional<HeadlessWindowThread> world_;
};

}  // namespace vyr
