// A window that does nothing, on whatever thread calls it: tests derive from it to record or
// refuse what the program asks of its window.
#pragma once

#include <functional>

#include "platform/window/window.h"

namespace vyr::platform {

class StubWindow : public Window {
public:
    bool create(WindowProcedure, const char*, int, int, int, int) override { return true; }
    int desktop_width() const override { return 640; }
    int desktop_height() const override { return 480; }
    void set_full_screen_style() override {}
    int run_message_loop() override { return 0; }
    void call_on_window_thread(const std::function<void()>& work) override { work(); }
    bool on_window_thread() const override { return true; }
    void present(const uint32_t*, int, int, int) override {}
    void hide_system_cursor() override {}
    void set_cursor_position(int, int) override {}
    bool clip_cursor(const Rect*) override { return true; }
    void set_cursor_shape(int) override {}
    void message_box(const char*, const char*) override {}
    void shutdown() override {}
};

}  // namespace vyr::platform
