// The keyboard: key codes posted by the window thread, the key tables aged by the timer, the
// characters keys type, and the hot keys that game modules register.
#pragma once

#include <atomic>
#include <cstdint>

namespace vyr {

// Key code: set-1 scan code in bits 0-6 (the extended prefix arrives as its own code 0xE0).
constexpr int KEY_RELEASE = 0x80;
constexpr int KEY_ALT = 0x1000;
constexpr int KEY_CTRL = 0x2000;
constexpr int KEY_SHIFT = 0x4000;
// Hot-key registrations only.
constexpr int KEY_ANY_MODIFIERS = 0x10000;
constexpr int KEY_POLLED = 0x20000;

// Scan codes of the modifiers and of the keys the flight controls read.
enum ScanCode : int {
    SCAN_1 = 2, SCAN_2 = 3, SCAN_3 = 4, SCAN_4 = 5, SCAN_MINUS = 12, SCAN_EQUALS = 13, SCAN_BACKSPACE = 14,
    SCAN_CTRL = 29, SCAN_F = 33, SCAN_K = 37, SCAN_LEFT_SHIFT = 42, SCAN_Z = 44, SCAN_X = 45, SCAN_C = 46,
    SCAN_COMMA = 51, SCAN_PERIOD = 52, SCAN_RIGHT_SHIFT = 54, SCAN_ALT = 56, SCAN_SPACE = 57, SCAN_F1 = 59, SCAN_F2 = 60, SCAN_F3 = 61, SCAN_F4 = 62,
    SCAN_UP = 72, SCAN_PAD_MINUS = 74, SCAN_LEFT = 75, SCAN_RIGHT = 77, SCAN_PAD_PLUS = 78, SCAN_DOWN = 80,
    SCAN_INSERT = 82, SCAN_DELETE = 83,
};

constexpr int KEY_TABLE_SIZE = 128;
constexpr int KEY_EXTENDED_PREFIX = 0xE0;

// 1 while the key with that scan code is down.
extern std::atomic<uint8_t> key_down[KEY_TABLE_SIZE];
// Ticks each key has been down since its counter was last cleared.
extern std::atomic<int> key_held_time[KEY_TABLE_SIZE];

// Window thread: a key went down or up (set-1 scan code, extended when it came after 0xE0).
void on_key_down(int scan_code, bool extended);
void on_key_up(int scan_code, bool extended);
// Records the key's change and posts its key code with the modifiers then held.
void post_key_event(int code);
// Once a frame: two frames after a numeric-pad key is released, the right Shift is let go.
void fix_numpad_shift();

// Timer: one more tick for every key that is down.
void age_held_keys();

bool is_key_down(int scan_code);
int get_key_held_time(int scan_code);
void clear_key_held_time(int scan_code);
// The held time, cleared in the same step: no tick the timer adds in between is lost.
int take_key_held_time(int scan_code);

// The character a key code types: 0 for a release; scan << 8 with Alt; Ctrl keeps 5 bits.
int translate_key_char(int key_code);

// Hot keys: (code, handler) pairs, newest first, in layers.
using HotKeyHandler = int (*)(int key_code);
void add_hot_key(int code, HotKeyHandler handler);
void push_hot_key_layer();
void pop_hot_key_layer();
void free_hot_keys();
// Calls the newest matching handler of the current layer; its result, or 0 when none matched.
int dispatch_hot_key(int code);
// Fires at most one polled hot key of the current layer whose key was held since the last poll.
void poll_hot_keys(bool restricted);
// 0 for the codes that stay active in restricted mode.
int is_key_restricted(int code);
// Non-zero when the key event was consumed: modifiers alone, the debug pages, a hot key.
struct Event;
int handle_key_event(const Event& event);

}  // namespace vyr
