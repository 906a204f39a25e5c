// The program's one window and the thread that owns it.
//
// The process main thread is the window thread: it runs `run_message_loop`, which feeds platform
// events to the window procedure and runs the calls that game-side threads hand it through
// `call_on_window_thread`. Two backends exist: "sdl" (a real window) and "headless" (no window;
// input from a script or from a test, frames kept in memory).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vyr::platform {

enum class MessageKind : uint8_t {
    DESTROY,       // the message loop is ending
    PAINT,         // the window needs repainting
    ACTIVATE_APP,  // wparam: 1 when the program gains the focus, 0 when it loses it
    KEY_DOWN,      // wparam: set-1 scan code (0x01-0x7f); lparam: 1 when extended (0xE0 prefix)
    KEY_UP,        // as KEY_DOWN
    MOUSE_MOVE,    // wparam: buttons (bit 0 left, bit 1 right); lparam: x | y << 16, pixels
    MOUSE_BUTTON,  // as MOUSE_MOVE, buttons after the change
    QUIT,          // the outside world asks the program to end (script "quit", a signal, the close button)
    REQUEST,       // wparam: request code; lparam: argument block or value
};

struct WindowMessage {
    MessageKind kind;
    uint32_t wparam;
    intptr_t lparam;
};

// Called on the window thread for every message; its result is the sender's result.
using WindowProcedure = intptr_t (*)(const WindowMessage&);

// Bits of a mouse message's wparam.
constexpr uint32_t MOUSE_LEFT = 1;
constexpr uint32_t MOUSE_RIGHT = 2;

constexpr intptr_t pack_mouse_position(int x, int y) {
    return intptr_t(uint32_t(uint16_t(x)) | (uint32_t(uint16_t(y)) << 16));
}
constexpr int mouse_x(intptr_t lparam) { return int16_t(lparam & 0xffff); }
constexpr int mouse_y(intptr_t lparam) { return int16_t((lparam >> 16) & 0xffff); }

struct Rect {
    int left, top, right, bottom;  // right and bottom exclusive
};

class Window {
public:
    virtual ~Window() = default;

    // Creates the window at the given place and size; false when it cannot be made.
    virtual bool create(WindowProcedure procedure, const char* title, int x, int y, int width,
                        int height) = 0;
    // The desktop size in pixels (the size the full-screen style covers).
    virtual int desktop_width() const = 0;
    virtual int desktop_height() const = 0;
    // Turns the window into a visible full-screen topmost window.
    virtual void set_full_screen_style() = 0;

    // Runs on the window thread until the window is destroyed; returns the exit value.
    virtual int run_message_loop() = 0;
    // Runs `work` on the window thread and returns when it has run; inline when called there.
    virtual void call_on_window_thread(const std::function<void()>& work) = 0;
    virtual bool on_window_thread() const = 0;

    // Shows a frame of 32-bit 0x00RRGGBB pixels; `pitch` counts pixels. From any thread: the
    // frame is shown on the window thread, and the call returns once it has been.
    virtual void present(const uint32_t* pixels, int width, int height, int pitch) = 0;

    // Pointer services. Window thread only.
    virtual void hide_system_cursor() = 0;
    virtual void set_cursor_position(int x, int y) = 0;
    virtual bool clip_cursor(const Rect* rect) = 0;  // null frees the pointer
    virtual void set_cursor_shape(int number) = 0;

    // A modal message box; from the window thread or any other.
    virtual void message_box(const char* title, const char* text) = 0;

    // Gives back everything the backend holds; the last call before the process ends.
    virtual void shutdown() = 0;
};

// `text` with its lines broken at spaces so that none is longer than `width` characters where a
// space allows; a word longer than the width is cut. Message boxes show it, as they do not wrap.
std::string wrap_text(std::string_view text, size_t width);

// The window of this process, chosen by `open_window`; null before.
Window* window();

// Chooses the backend from VYR_VIDEO ("sdl" or "headless"; sdl when unset) and makes it the
// process window. An unknown value or a display that cannot be opened yields an error text.
bool select_window_backend(std::string& error);
// Tests install a backend of their own choosing.
void install_window(std::unique_ptr<Window> window);

std::unique_ptr<Window> make_headless_window();
// Null, with the reason in `error`, when no display that shows a window can be opened.
std::unique_ptr<Window> make_sdl_window(std::string& error);

}  // namespace vyr::platform
