// A headless window whose window thread is a thread of its own, under the virtual clock, for
// test binaries whose code sends requests to the window thread (palettes, the display). Register
// it once per binary: testing::AddGlobalTestEnvironment(new WindowThreadEnvironment).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "library/graphics/ddraw.h"
#include "library/system/winmain.h"
#include "platform/timer/timer.h"
#include "platform/window/headless.h"

namespace vyr {

class WindowThreadEnvironment : public testing::Environment {
public:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        platform::set_clock_mode(platform::ClockMode::VIRTUAL);
        install_display_requests();
        auto window = std::make_unique<platform::HeadlessWindow>();
        platform::HeadlessWindow* headless = window.get();
        headless->create(window_proc, "test", 0, 0, 640, 480);
        platform::install_window(std::move(window));
        loop_ = std::thread([headless] { headless->run_message_loop(); });
        platform::start_periodic_timer([] {});
    }

    void TearDown() override {
        platform::stop_periodic_timer();
        static_cast<platform::HeadlessWindow*>(platform::window())->post_destroy();
        loop_.join();
        platform::install_window(nullptr);
    }

private:
    std::thread loop_;
};

}  // namespace vyr
