// The headless window: no display, input from a script or from a test, frames kept in memory.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/window/script.h"
#include "platform/window/window.h"

namespace vyr::platform {

// Appends the game's state digest to a file for a script's digest line; false when it cannot.
// The game installs it; a script's digest before that is reported as not written.
using DigestWriter = bool (*)(const std::string& path);
extern DigestWriter digest_writer;

class HeadlessWindow final : public Window {
public:
    HeadlessWindow();
    ~HeadlessWindow() override;

    bool create(WindowProcedure procedure, const char* title, int x, int y, int width, int height) override;
    int desktop_width() const override { return 640; }
    int desktop_height() const override { return 480; }
    void set_full_screen_style() override {}
    int run_message_loop() override;
    void call_on_window_thread(const std::function<void()>& work) override;
    bool on_window_thread() const override;
    void present(const uint32_t* pixels, int width, int height, int pitch) override;
    void hide_system_cursor() override {}
    // As on a desktop, moving the system pointer reports a mouse move.
    void set_cursor_position(int x, int y) override { inject({MessageKind::MOUSE_MOVE, 0, pack_mouse_position(x, y)}); }
    bool clip_cursor(const Rect*) override { return true; }
    void set_cursor_shape(int) override {}
    void message_box(const char*, const char*) override {}  // the text is on stderr already
    void shutdown() override {}

    // Queues a message for the window procedure, as the platform would; from any thread.
    void inject(const WindowMessage& message);
    // Ends the message loop once the messages queued before it are handled.
    void post_destroy();
    // Events to deliver as the timer reaches their times.
    void set_script(std::vector<ScriptEvent> events);

    // The frame last presented (black 640 x 480 before the first), 0x00RRGGBB.
    std::vector<uint32_t> frame() const;
    int frame_width() const;
    int frame_height() const;
    // Writes the frame last presented as a binary PPM; false when the file cannot be written.
    bool write_capture(const std::string& path) const;

private:
    struct Item {
        WindowMessage message;
        const std::function<void()>* call = nullptr;  // a call to run instead of a message
        bool* done = nullptr;
        bool destroy = false;
        bool script_due = false;  // deliver the script events whose time has come
    };
    void push(Item item);
    void deliver_script_events(uint64_t now);
    static void on_period(uint64_t period);

    WindowProcedure procedure_ = nullptr;
    std::thread::id window_thread_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Item> queue_;
    enum class LoopState { BEFORE, RUNNING, ENDED } loop_state_ = LoopState::BEFORE;

    std::vector<ScriptEvent> script_;
    size_t script_next_ = 0;  // window thread only
    uint32_t held_buttons_ = 0;  // the script's held press; window thread only

    // Writes the frame last presented and each different one presented until the timer reaches
    // `until` to the PPM pictures at `path`; false when the file cannot be written.
    bool start_recording(const std::string& path, uint64_t until);
    bool record_frame();  // with frame_mutex_ held; false when the file cannot be written

    mutable std::mutex frame_mutex_;
    std::vector<uint32_t> frame_;
    int frame_width_ = 640, frame_height_ = 480;
    std::string recording_;  // the file frames go to while the timer is below recording_until_
    uint64_t recording_until_ = 0;
    std::vector<uint32_t> recorded_;  // the frame recorded last
};

}  // namespace vyr::platform
