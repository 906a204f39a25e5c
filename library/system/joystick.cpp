#include "library/system/joystick.h"

#include <algorithm>
#include <cstdio>

#include "library/debug/fatal.h"
#include "library/system/exit.h"
#include "platform/joystick/joystick.h"

namespace vyr {

JoystickState joystick_state;
int stick_type = STICK_AXIS_HAT;
int joystick_enabled = 0;
int joystick_devices = 0;

namespace {

int32_t joystick_curve[256];

bool& absent_flag(int axis) {
    if (axis == AXIS_BX) return joystick_state.bx_absent;
    if (axis == AXIS_BY) return joystick_state.by_absent;
    return joystick_state.stick_a_absent;
}

void register_watch_lines() {
    static const char* const axis_names[4] = {"Ax", "Ay", "Bx", "By"};
    static const char* const forms[5] = {"Joystick Raw %s", "Joystick %s", "Joystick Min %s", "Joystick Mid %s",
                                         "Joystick Max %s"};
    int32_t* const fields[5] = {joystick_state.raw, joystick_state.scaled, joystick_state.minimum,
                                joystick_state.centre, joystick_state.maximum};
    static char names[4][5][32];
    for (int a = 0; a < 4; ++a)
        for (int f = 0; f < 5; ++f) {
            std::snprintf(names[a][f], sizeof names[a][f], forms[f], axis_names[a]);
            watch_debug_value(names[a][f], 0, &fields[f][a]);
        }
    watch_debug_value("Joystick Fire", 0, &joystick_state.buttons);
    watch_debug_value("Joystick Coolie", 0, &joystick_state.hat);
    watch_debug_value("Joystick Timeout", 0, &joystick_state.timeout);
}

// A point-of-view hat either sets the hat and button bits itself or, on other sticks, stands
// in for the By reading so that an axis-hat stick can decode it.
void apply_hat(platform::Hat hat) {
    using platform::Hat;
    if (stick_type == STICK_POV_HAT) {
        struct {
            int hat, buttons;
        } const pov[] = {{0, 0}, {1, 0xF0}, {2, 0xB0}, {3, 0x70}, {4, 0x30}};
        if (hat == Hat::OTHER) return;
        const auto& p = pov[int(hat)];
        joystick_state.hat = p.hat;
        joystick_state.buttons |= p.buttons;
        return;
    }
    const int by_reading[] = {122, 8, 32, 63, 95};
    if (hat != Hat::OTHER) joystick_state.raw[AXIS_BY] = by_reading[int(hat)];
}

void update_timeout() {
    for (int a = 0; a < 4; ++a) joystick_state.timeout = std::max(joystick_state.timeout, 3 * joystick_state.raw[a]);
}

// 0..255 with the centre at 127; a calibration with no span on one side reads as centred.
int32_t scale_axis(int a) {
    int64_t r = joystick_state.raw[a], m = joystick_state.minimum[a];
    int64_t c = joystick_state.centre[a], M = joystick_state.maximum[a];
    if (r > c) return M == c ? 127 : int32_t(255 - (M - r) * 127 / (M - c));
    return c == m ? 127 : int32_t((r - m) * 127 / (c - m));
}

// Hat from the By axis of an axis-hat stick.
int decode_axis_hat() {
    int p = joystick_state.scaled[AXIS_BY] * 100 / 127;
    if (p < 13) return 1;
    if (p <= 37) return 2;
    if (p <= 62) return 3;
    if (p > 87) return 0;
    return 4;
}

void update_hat_from_type() {
    if (stick_type == STICK_AXIS_HAT)
        joystick_state.hat = decode_axis_hat();
    else if (stick_type != STICK_POV_HAT)
        joystick_state.hat = 0;
}

}  // namespace

void init_joystick() {
    calibrate_joystick_centre();
    joystick_enabled = 1;
    add_exit_handler([] {});
    stick_type = STICK_AXIS_HAT;
    detect_joystick();
    build_joystick_curve(5);
    register_watch_lines();
}

void detect_joystick() {
    joystick_devices = platform::joystick()->device_count();
    read_joystick_device();
}

void read_joystick_device() {
    platform::JoystickReading reading;
    platform::joystick()->read(reading);
    const uint32_t axes[4] = {reading.x, reading.y, reading.r, reading.z};
    for (int a = 0; a < 4; ++a) joystick_state.raw[a] = axes[a] == 0 ? -1 : int32_t(axes[a]);
    joystick_state.buttons = int32_t((reading.buttons & 0xF) << 4) | 0x0F;
    apply_hat(reading.hat);
}

void calibrate_joystick_centre() {
    read_joystick_device();
    for (int a = 0; a < 4; ++a) {
        int32_t r = joystick_state.raw[a];
        joystick_state.centre[a] = r;
        joystick_state.minimum[a] = a == AXIS_BY ? r - 1 : r / 2;
        joystick_state.maximum[a] = a == AXIS_BY ? r + 1 : r + r / 2;
    }
    joystick_state.stick_a_absent = joystick_state.bx_absent = joystick_state.by_absent = false;
    joystick_state.scaled[AXIS_AX] = joystick_state.scaled[AXIS_BX] = 128;
    joystick_state.timeout = 0;
    update_timeout();
}

void calibrate_joystick_range() {
    read_joystick_device();
    for (int a = 0; a < 4; ++a) {
        joystick_state.minimum[a] = std::min(joystick_state.minimum[a], joystick_state.raw[a]);
        joystick_state.maximum[a] = std::max(joystick_state.maximum[a], joystick_state.raw[a]);
        joystick_state.scaled[a] = scale_axis(a);
    }
    update_hat_from_type();
}

void set_joystick_centre(int ax, int ay, int bx, int by) {
    joystick_state.centre[AXIS_AX] = ax;
    joystick_state.centre[AXIS_AY] = ay;
    joystick_state.centre[AXIS_BX] = bx;
    joystick_state.centre[AXIS_BY] = by;
}

int read_joystick() {
    if (!joystick_enabled) return 0;
    read_joystick_device();
    update_timeout();
    for (int a = 0; a < 4; ++a) {
        int32_t& r = joystick_state.raw[a];
        if (r == -1) absent_flag(a) = true;
        if (r < joystick_state.minimum[a]) r = joystick_state.minimum[a] + (a == AXIS_BY ? 1 : 0);
        if (int64_t(r) * 10 > int64_t(joystick_state.maximum[a]) * 12) absent_flag(a) = true;
        if (r > joystick_state.maximum[a]) r = joystick_state.maximum[a];
        joystick_state.scaled[a] = scale_axis(a);
    }
    update_hat_from_type();
    return 0;
}

void build_joystick_curve(int dead_zone) {
    int64_t step = 46340 / (127 - dead_zone);
    std::fill(std::begin(joystick_curve), std::end(joystick_curve), 0);
    for (int j = 0; j <= 127 - dead_zone; ++j) {
        int64_t value = (j * step) * (j * step);
        joystick_curve[128 + dead_zone + j] = int32_t(value);
        joystick_curve[127 - dead_zone - j] = int32_t(-value);
    }
}

int32_t get_joystick_curve(int index) { return joystick_curve[index & 0xFF]; }

int32_t get_joystick_axis(int mode, int axis) {
    if (axis == AXIS_HAT) return joystick_state.hat;
    int64_t r = joystick_state.raw[axis], m = joystick_state.minimum[axis], M = joystick_state.maximum[axis];
    int64_t c = mode >= 3 ? (m + M) / 2 : joystick_state.centre[axis];
    bool curved = mode == 2 || mode == 4;
    if (curved) {
        int64_t index = r > c ? (M == c ? 127 : 255 - (M - r) * 127 / (M - c)) : (c == m ? 127 : (r - m) * 127 / (c - m));
        return joystick_curve[std::clamp<int64_t>(index, 0, 255)];
    }
    if (r > c) return M == c ? 0x7FFFFFFF : int32_t(-((M - r) * 0x7FFFFFFF / (M - c)));
    return c == m ? 0x7FFFFFFF : int32_t((r - m) * 0x7FFFFFFF / (c - m));
}

}  // namespace vyr
