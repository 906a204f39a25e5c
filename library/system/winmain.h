// The window thread: the program window, its window procedure, the request protocol through
// which game-side threads have the window thread do display, sound and pointer work, and the
// start of the game thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/window/window.h"

namespace vyr {

enum RequestCode : uint32_t {
    REQ_HIDE_CURSOR = 0,
    REQ_NOTHING = 1,
    REQ_CLIP_CURSOR = 2,
    REQ_SET_CURSOR_POS = 3,
    REQ_SET_VIDEO_MODE = 4,
    REQ_SET_PALETTE = 5,
    REQ_SET_PALETTE_VGA = 6,
    REQ_SET_PALETTE_RUNS = 7,
    REQ_GET_PALETTE = 8,
    REQ_LOCK_SURFACE = 9,
    REQ_PRESENT = 10,
    REQ_WAIT_VBLANK = 11,
    REQ_XOR_LINE = 12,
    REQ_XOR_DASHED_LINE = 13,
    REQ_CREATE_SOUND_BUFFER = 14,
    REQ_DUPLICATE_SOUND_BUFFER = 15,
    REQ_RELEASE_INTERFACE = 16,
    REQ_CREATE_DIRECTDRAW = 17,
    REQ_CREATE_DIRECTSOUND = 18,
    REQ_RESTORE_SYSTEM_PALETTE = 19,
    REQ_RELEASE_SOUND = 20,
    REQ_SET_COOPERATIVE_LEVEL = 21,
    REQ_SET_CURSOR = 22,
};
constexpr uint32_t REQUEST_CODE_COUNT = 23;

// A request's argument block: words in the sender's memory, pointers stored whole.
using RequestBlock = intptr_t[4];
// The block a request's word points to; null when the sender gave none.
inline intptr_t* request_block(intptr_t lparam) { return reinterpret_cast<intptr_t*>(lparam); }

// The game's entry, given the split command line.
using GameMain = int (*)(int argc, char** argv);

constexpr int MAX_GAME_ARGS = 32;        // "application" and at most 31 words
constexpr int MAX_GAME_ARG_LENGTH = 64;  // each at most 63 characters

struct GameArguments {
    char words[MAX_GAME_ARGS][MAX_GAME_ARG_LENGTH];
    char* argv[MAX_GAME_ARGS + 1];
    int argc;
};

// 1 while the program has the focus; the clock and the scheduler stand still while it is 0.
extern std::atomic<int> app_active;

// Runs the program on the calling thread, which becomes the window thread: creates the window,
// starts the game thread on `game_main` and runs the message loop. Needs `platform::window()`.
// 1 when the window cannot be made.
int win_main(GameMain game_main, const char* command_line);

int create_main_window();
void close_main_window();
// The first video mode turns the small start-up window into the full-screen one.
void set_popup_window_style();

intptr_t window_proc(const platform::WindowMessage& message);

// Has the window thread run request `code` with `lparam` and returns the result; runs inline
// when called on the window thread.
intptr_t send_request(uint32_t code, intptr_t lparam = 0);
inline intptr_t send_request(uint32_t code, RequestBlock& block) {
    return send_request(code, reinterpret_cast<intptr_t>(&block[0]));
}

// The work of one request code on the window thread, given the sender's word or argument block;
// what it returns is the sender's result.
using RequestHandler = intptr_t (*)(intptr_t lparam);
// The display and sound layers install the work of their codes before the game thread starts; a
// code without a handler, or above 22, does nothing.
void set_request_handler(uint32_t code, RequestHandler handler);

// Run on the window thread when the program loses the focus (0), and when it regains it (1) in
// full-screen style.
using ActivationHandler = void (*)(int gained);
void set_activation_handler(ActivationHandler handler);

// Splits `command_line` at spaces after the word "application"; further words and the tail of
// over-long words are dropped.
void split_command_line(const char* command_line, GameArguments& arguments);

// Ends the program with status 0 when the outside world has asked it to end (a script, a signal,
// the close button). Game-side threads call it where they read input or pass the baton, so the
// exit runs on the one thread that holds the baton; once the exit is under way it does nothing.
void take_quit_request();

// Repaints the whole display after the program regains the focus in full-screen style.
using RepaintFunction = void (*)();
void set_repaint_function(RepaintFunction function);

// End of the process: has the window thread give back sound and the window.
void release_main_window();

}  // namespace vyr
