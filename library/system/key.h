// The keyboard: key codes posted by the window thread, the key tables aged by the timer, the
// characters keys type, and the hot keys that game modules register.
#pragma once

#include <atomic>
#include <cstdint>

namespace vyr {

// Key code: set-1 scan code in bits 0-6 (the extended prefix arrives as its own code 0xE0), with
// the modifiers held OR'd in: `KEY_CTRL | SCAN_Q` is Ctrl+Q.
constexpr int KEY_RELEASE = 0x80;
constexpr int KEY_ALT = 0x1000;
constexpr int KEY_CTRL = 0x2000;
constexpr int KEY_SHIFT = 0x4000;
// Hot-key registrations only.
constexpr int KEY_ANY_MODIFIERS = 0x10000;
constexpr int KEY_POLLED = 0x20000;

// Set-1 scan codes of the keys the program names. The arrows are the keypad's codes, which the
// arrow keys share after the extended prefix.
enum ScanCode : int {
    SCAN_ESCAPE = 0x01,
    SCAN_1 = 0x02, SCAN_2, SCAN_3, SCAN_4, SCAN_5, SCAN_6, SCAN_7, SCAN_8, SCAN_9, SCAN_0,
    SCAN_MINUS = 0x0C, SCAN_EQUALS = 0x0D, SCAN_BACKSPACE = 0x0E, SCAN_TAB = 0x0F,
    SCAN_Q = 0x10, SCAN_E = 0x12, SCAN_R = 0x13, SCAN_T = 0x14, SCAN_Y = 0x15, SCAN_I = 0x17, SCAN_O = 0x18, SCAN_P = 0x19,
    SCAN_LEFT_BRACKET = 0x1A, SCAN_RIGHT_BRACKET = 0x1B, SCAN_ENTER = 0x1C, SCAN_CTRL = 0x1D, SCAN_A = 0x1E,
    SCAN_S = 0x1F, SCAN_D = 0x20, SCAN_F = 0x21, SCAN_H = 0x23, SCAN_J = 0x24, SCAN_K = 0x25, SCAN_L = 0x26,
    SCAN_LEFT_SHIFT = 0x2A, SCAN_BACKSLASH = 0x2B, SCAN_Z = 0x2C, SCAN_X = 0x2D, SCAN_C = 0x2E, SCAN_V = 0x2F,
    SCAN_N = 0x31, SCAN_M = 0x32,
    SCAN_COMMA = 0x33, SCAN_PERIOD = 0x34, SCAN_RIGHT_SHIFT = 0x36, SCAN_ALT = 0x38, SCAN_SPACE = 0x39,
    SCAN_F1 = 0x3B, SCAN_F2, SCAN_F3, SCAN_F4, SCAN_F5, SCAN_F6, SCAN_F7, SCAN_F8, SCAN_F9, SCAN_F10,
    SCAN_KEYPAD_7 = 0x47, SCAN_UP = 0x48, SCAN_PAD_MINUS = 0x4A, SCAN_LEFT = 0x4B, SCAN_RIGHT = 0x4D,
    SCAN_PAD_PLUS = 0x4E, SCAN_KEYPAD_1 = 0x4F, SCAN_DOWN = 0x50, SCAN_KEYPAD_3 = 0x51, SCAN_INSERT = 0x52,
    SCAN_DELETE = 0x53,  // the keypad's full stop
    SCAN_F11 = 0x57, SCAN_F12 = 0x58,
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
// Whether a pressed code reaches a hot key registered as `registered`: the same code, or the same
// key under any modifiers when registered with KEY_ANY_MODIFIERS. Handlers are called with the
// pressed code, so one serving several keys matches them by this rule.
bool hot_key_matches(int registered, int code);
// The newest handler of the current layer that a pressed code reaches; null when none does.
HotKeyHandler find_hot_key(int code);
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
