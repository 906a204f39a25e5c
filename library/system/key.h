// The keyboard: key tables filled by the window thread and the key events it posts.
#pragma once

#include <atomic>
#include <cstdint>

namespace vyr {

constexpr int KEY_RELEASE = 0x80;
constexpr int KEY_TABLE_SIZE = 128;

// Non-zero while the key with that scan code is down.
extern std::atomic<uint8_t> key_down[KEY_TABLE_SIZE];
// Ticks each key has been held, aged by the timer.
extern std::atomic<int> key_held_time[KEY_TABLE_SIZE];

// Window thread: a key went down or up (set-1 scan code, extended when it came after 0xE0).
void on_key_down(int scan_code, bool extended);
void on_key_up(int scan_code, bool extended);

// Timer: one more tick for every key that is down.
void age_held_keys();

// The character a key code types, 0 for a release or a key without one.
int translate_key_char(int key_code);

}  // namespace vyr
