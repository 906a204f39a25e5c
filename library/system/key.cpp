#include "library/system/key.h"

#include <algorithm>
#include <vector>

#include "library/debug/fatal.h"
#include "library/system/event.h"
#include "library/system/exit.h"
#include "library/system/timer.h"

namespace vyr {

std::atomic<uint8_t> key_down[KEY_TABLE_SIZE];
std::atomic<int> key_held_time[KEY_TABLE_SIZE];

namespace {

constexpr int LAYER_SEPARATOR = -1;

struct HotKey {
    int code;
    HotKeyHandler handler;
};

std::atomic<int> numpad_release_countdown{0};
// Newest last; a separator entry starts a layer. Only cooperative threads touch it.
std::vector<HotKey> hot_keys;
bool hot_keys_hooked = false;

constexpr auto make_char_table(bool shifted) {
    struct Table {
        uint8_t chars[KEY_TABLE_SIZE] = {};
    } table;
    auto put = [&](int first, const char* text) {
        for (int i = 0; text[i]; ++i) table.chars[first + i] = uint8_t(text[i]);
    };
    table.chars[0x01] = 0x1B;
    put(0x02, shifted ? "!@#$%^&*()_+" : "1234567890-=");
    table.chars[0x0E] = 0x08;
    table.chars[0x0F] = 0x09;
    put(0x10, shifted ? "QWERTYUIOP{}" : "qwertyuiop[]");
    table.chars[0x1C] = 0x0A;
    put(0x1E, shifted ? "ASDFGHJKL:\"" : "asdfghjkl;`");
    put(0x2C, shifted ? "ZXCVBNM<>?" : "zxcvbnm,./");
    table.chars[0x39] = ' ';
    table.chars[0x56] = shifted ? 0 : '\\';
    return table;
}
constexpr auto key_chars = make_char_table(false);
constexpr auto key_chars_shifted = make_char_table(true);

// Numeric-pad keys as they arrive here; the decimal point is not among them.
bool is_numpad_key(int scan_code, bool extended) {
    if (extended) return scan_code == 0x35;                       // divide
    return (scan_code >= 0x47 && scan_code <= 0x52) || scan_code == 0x37;  // digits, + -, multiply
}

bool is_separator(const HotKey& key) { return key.code == LAYER_SEPARATOR; }

void clear_all_held_times() {
    for (int scan = 0; scan < 127; ++scan) key_held_time[scan].store(0);
}

// The modifier bits a polled hot key asks for are held now.
bool modifiers_held(int code) {
    if ((code & KEY_SHIFT) && !is_key_down(SCAN_LEFT_SHIFT) && !is_key_down(SCAN_RIGHT_SHIFT)) return false;
    if ((code & KEY_CTRL) && !is_key_down(SCAN_CTRL)) return false;
    if ((code & KEY_ALT) && !is_key_down(SCAN_ALT)) return false;
    return true;
}

constexpr int SHIFT_ALT = KEY_SHIFT | KEY_ALT;
constexpr int UNRESTRICTED_CODES[] = {
    SCAN_ESCAPE, SCAN_TAB, SCAN_P, SCAN_F1, SCAN_F2, SCAN_F3, SCAN_F4, SCAN_F5, SCAN_F6, SCAN_F7,
    SCAN_F8, SCAN_F9, SCAN_F10, SCAN_F11, SCAN_F12,
    KEY_ALT | SCAN_ESCAPE, KEY_ALT | SCAN_1, KEY_ALT | SCAN_2, KEY_ALT | SCAN_3, KEY_ALT | SCAN_4,
    KEY_ALT | SCAN_5, KEY_ALT | SCAN_6, KEY_ALT | SCAN_7, KEY_ALT | SCAN_BACKSPACE,
    KEY_ALT | SCAN_F1, KEY_ALT | SCAN_F2, KEY_ALT | SCAN_F3, KEY_ALT | SCAN_F4, KEY_ALT | SCAN_F5,
    KEY_ALT | SCAN_F6, KEY_ALT | SCAN_F7,
    KEY_CTRL | SCAN_TAB, KEY_CTRL | SCAN_Q, KEY_CTRL | SCAN_E, KEY_SHIFT | SCAN_TAB, KEY_SHIFT | SCAN_F12,
    SHIFT_ALT | SCAN_1, SHIFT_ALT | SCAN_2, SHIFT_ALT | SCAN_3, SHIFT_ALT | SCAN_4, SHIFT_ALT | SCAN_5,
    SHIFT_ALT | SCAN_6, SHIFT_ALT | SCAN_7, SHIFT_ALT | SCAN_8, SHIFT_ALT | SCAN_9, SHIFT_ALT | SCAN_0,
    SHIFT_ALT | SCAN_F1, SHIFT_ALT | SCAN_F2, SHIFT_ALT | SCAN_F3, SHIFT_ALT | SCAN_F4,
    KEY_ANY_MODIFIERS | SCAN_KEYPAD_7, KEY_ANY_MODIFIERS | SCAN_KEYPAD_1,
};

}  // namespace

void post_key_event(int code) {
    int scan = code & 0x7F;
    key_down[scan].store((code & KEY_RELEASE) ? 0 : 1);
    if (key_down[SCAN_LEFT_SHIFT].load() || key_down[SCAN_RIGHT_SHIFT].load()) code |= KEY_SHIFT;
    if (key_down[SCAN_CTRL].load()) code |= KEY_CTRL;
    if (key_down[SCAN_ALT].load()) code |= KEY_ALT;
    post_input_event({EV_KEY, code, 0, 0, tick_count.load()});
}

void on_key_down(int scan_code, bool extended) {
    if (extended) post_key_event(KEY_EXTENDED_PREFIX);
    if (scan_code & 0x7F) post_key_event(scan_code & 0x7F);
}

void on_key_up(int scan_code, bool extended) {
    if (is_numpad_key(scan_code & 0x7F, extended)) numpad_release_countdown.store(2);
    if (extended) post_key_event(KEY_EXTENDED_PREFIX);
    post_key_event((scan_code & 0x7F) | KEY_RELEASE);
}

void fix_numpad_shift() {
    if (numpad_release_countdown.load() <= 0) return;
    if (numpad_release_countdown.fetch_sub(1) == 1) on_key_up(SCAN_RIGHT_SHIFT, false);
}

void age_held_keys() {
    for (int i = 0; i < KEY_TABLE_SIZE; ++i)
        if (key_down[i].load(std::memory_order_relaxed)) key_held_time[i].fetch_add(1);
}

bool is_key_down(int scan_code) { return key_down[scan_code & 0x7F].load() != 0; }
int get_key_held_time(int scan_code) { return key_held_time[scan_code & 0x7F].load(); }
void clear_key_held_time(int scan_code) { key_held_time[scan_code & 0x7F].store(0); }
int take_key_held_time(int scan_code) { return key_held_time[scan_code & 0x7F].exchange(0); }

int translate_key_char(int key_code) {
    if (key_code & KEY_RELEASE) return 0;
    int scan = key_code & 0x7F;
    if (key_code & KEY_ALT) return scan << 8;
    int c = (key_code & KEY_SHIFT) ? key_chars_shifted.chars[scan] : key_chars.chars[scan];
    return (key_code & KEY_CTRL) ? c & 0x1F : c;
}

void add_hot_key(int code, HotKeyHandler handler) {
    if (!hot_keys_hooked) {
        hot_keys_hooked = true;
        add_exit_handler(free_hot_keys);
    }
    hot_keys.push_back({code, handler});
}

void push_hot_key_layer() {
    hot_keys.push_back({LAYER_SEPARATOR, nullptr});
    clear_all_held_times();
}

void pop_hot_key_layer() {
    auto separator = std::find_if(hot_keys.rbegin(), hot_keys.rend(), is_separator);
    hot_keys.erase(separator == hot_keys.rend() ? hot_keys.begin() : std::prev(separator.base()), hot_keys.end());
    clear_all_held_times();
}

void free_hot_keys() { hot_keys.clear(); }

bool hot_key_matches(int registered, int code) {
    return (registered & KEY_ANY_MODIFIERS) ? (registered & 0xFF) == (code & 0xFF) : registered == code;
}

HotKeyHandler find_hot_key(int code) {
    for (auto it = hot_keys.rbegin(); it != hot_keys.rend() && !is_separator(*it); ++it) {
        if (it->code & KEY_POLLED) continue;
        if (hot_key_matches(it->code, code)) return it->handler;
    }
    return nullptr;
}

int dispatch_hot_key(int code) {
    HotKeyHandler handler = find_hot_key(code);
    return handler ? handler(code) : 0;
}

void poll_hot_keys(bool restricted) {
    for (auto it = hot_keys.rbegin(); it != hot_keys.rend() && !is_separator(*it); ++it) {
        if (!(it->code & KEY_POLLED)) continue;
        int scan = it->code & 0x7F;
        if (key_held_time[scan].exchange(0) == 0) continue;
        if (!modifiers_held(it->code)) continue;
        if (restricted && is_key_restricted(it->code)) return;
        it->handler(it->code);
        return;
    }
}

int is_key_restricted(int code) {
    code &= ~KEY_POLLED;
    return std::find(std::begin(UNRESTRICTED_CODES), std::end(UNRESTRICTED_CODES), code) == std::end(UNRESTRICTED_CODES);
}

int handle_key_event(const Event& event) {
    int code = event.value;
    int scan = code & 0x7F;
    if (scan == SCAN_CTRL || scan == SCAN_LEFT_SHIFT || scan == SCAN_RIGHT_SHIFT || scan == SCAN_ALT) return 1;
    // The debug monitor's page keys; there is no monitor, but the keys stay taken.
    const struct {
        int code, step;
    } page_keys[] = {{KEY_CTRL | SCAN_F11, -1},
                     {KEY_CTRL | KEY_ALT | SCAN_F11, -20},
                     {KEY_CTRL | SCAN_F12, 1},
                     {KEY_CTRL | KEY_ALT | SCAN_F12, 20}};
    for (const auto& page : page_keys)
        if (code == page.code) {
            select_debug_page(0);
            watch_debug_value(nullptr, page.step, nullptr);
            return 1;
        }
    if (code == 0) return 1;
    return dispatch_hot_key(code);
}

}  // namespace vyr
