#include "library/system/key.h"

#include "library/system/event.h"
#include "library/system/timer.h"

namespace vyr {

std::atomic<uint8_t> key_down[KEY_TABLE_SIZE];
std::atomic<int> key_held_time[KEY_TABLE_SIZE];

namespace {

void post_key(int key_code) { post_input_event({EV_KEY, key_code, 0, 0, tick_count.load()}); }

}  // namespace

void on_key_down(int scan_code, bool) {
    scan_code &= 0x7f;
    if (!key_down[scan_code].exchange(1)) key_held_time[scan_code].store(0);
    post_key(scan_code);
}

void on_key_up(int scan_code, bool) {
    scan_code &= 0x7f;
    key_down[scan_code].store(0);
    post_key(scan_code | KEY_RELEASE);
}

void age_held_keys() {
    for (int i = 0; i < KEY_TABLE_SIZE; ++i)
        if (key_down[i].load(std::memory_order_relaxed)) key_held_time[i].fetch_add(1);
}

int translate_key_char(int) { return 0; }

}  // namespace vyr
