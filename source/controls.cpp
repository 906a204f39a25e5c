#include "source/controls.h"

#include <algorithm>
#include <cmath>

#include "library/debug/fatal.h"
#include "library/system/event.h"
#include "library/system/joystick.h"
#include "library/system/key.h"
#include "source/avionics/panel.h"
#include "source/avionics/views.h"
#include "source/frame_loop.h"
#include "source/menus/prefs_screens.h"
#include "source/weapons/system_damage.h"

namespace vyr {

int32_t collective_control = 0;
int32_t cyclic_control = 0;
int32_t tailrotor_control = 0;
int32_t control_deadband = 0;
const char* const JOYSTICK_CALIBRATION_KEYS[4][3] = {{"Joystick Ax Min", "Joystick Ax Mid", "Joystick Ax Max"},
                                                     {"Joystick Ay Min", "Joystick Ay Mid", "Joystick Ay Max"},
                                                     {"Joystick Bx Min", "Joystick Bx Mid", "Joystick Bx Max"},
                                                     {"Joystick By Min", "Joystick By Mid", "Joystick By Max"}};

int32_t control_type = CONTROL_KEYBOARD;
int32_t joystick_button_mode = 0;
int32_t joystick_throttle = 0;
int32_t joystick_throttle_curve = 0;
int32_t joystick_rudder = 0;
int32_t throttle_lever_keys = 0;

int32_t key_throttle = 0, key_heading = 0, key_pitch = 0, key_roll = 0;
int32_t key_pan_x = 0, key_pan_y = 0, key_look = 0;
int32_t slew_y = 0, slew_x = 0;
int32_t model_throttle = 0, model_heading = 0, model_pitch = 0, model_roll = 0;
int32_t external_throttle = 0, external_heading = 0, external_pitch = 0, external_roll = 0;

namespace {

constexpr int64_t FULL = 0x7FFFFFFF;
constexpr int RAMP_SHIFT = 25;               // a key held 64 ticks reaches full deflection
constexpr double THROTTLE_RAMP_GAIN = 0.4;   // the throttle takes 160
constexpr int32_t ELECTRICS_DEAD_TIME = 2000;      // 10 s
constexpr int32_t ELECTRICS_LIFE_TIME = 120000;    // 10 min
constexpr int32_t BUTTON_REPEAT_TICKS = 60;


constexpr int POSTED_ENTER = 0x1001C;
constexpr int POSTED_CTRL_ENTER = 0x1201C;

int32_t view_pan_inputs[4];  // F1, F4, F2, F3
int32_t stick_throttle = 0;  // this step's throttle and yaw demands
int32_t stick_yaw = 0;
int32_t button_repeat_time = 0;

struct KeyInput {
    bool down;
    int32_t time;  // ticks held since the last step
};

KeyInput take_key(int scan_code) { return {is_key_down(scan_code), take_key_held_time(scan_code)}; }

// Two keys that do one thing count as one: either down, the longer time.
KeyInput take_key_pair(int a, int b) {
    const KeyInput first = take_key(a), second = take_key(b);
    return {first.down || second.down, std::max(first.time, second.time)};
}

bool active(const KeyInput& key) { return key.down || key.time != 0; }

// Reversing first returns to centre; no key returns to centre.
void ramp(int32_t& demand, const KeyInput& raise, const KeyInput& lower, double gain = 1.0) {
    double next;
    if (active(raise)) {
        next = std::max(demand, 0) + std::ldexp(double(raise.time), RAMP_SHIFT) * gain;
    } else if (active(lower)) {
        next = std::min(demand, 0) - std::ldexp(double(lower.time), RAMP_SHIFT) * gain;
    } else {
        next = 0.0;
    }
    demand = int32_t(std::clamp(std::trunc(next), double(-FULL), double(FULL)));
}

int32_t negate(int32_t demand) { return int32_t(0u - uint32_t(demand)); }

bool is_joystick_type(int32_t type) { return type >= 2 && type <= 4; }

// The stick, throttle and yaw of this step by the control type.
void assemble_demands() {
    if (control_type == CONTROL_KEYBOARD) {
        slew_y = key_pitch;
        slew_x = key_roll;
        stick_throttle = key_throttle;
        stick_yaw = key_heading;
        return;
    }
    if (!is_joystick_type(control_type)) return;
    slew_y = key_pitch ? key_pitch : get_joystick_axis(2, AXIS_AY);
    slew_x = key_roll ? key_roll : get_joystick_axis(2, AXIS_AX);
    if (joystick_throttle && collective_control)
        stick_throttle = negate(get_joystick_axis(3, AXIS_BY));
    else if (joystick_throttle_curve && collective_control)
        stick_throttle = get_joystick_axis(2, AXIS_BY);
    else
        stick_throttle = key_throttle;
    stick_yaw = joystick_rudder && tailrotor_control ? negate(get_joystick_axis(2, AXIS_BX)) : key_heading;
}

// The aircraft holds still while the controls steer something else.
void hold_model_inputs() {
    model_heading = model_pitch = model_roll = 0;
    if (!joystick_throttle) model_throttle = 0;
}

bool steerable_camera_view() {
    return view_mode != VIEW_COCKPIT &&
           ((view_mode >= 0 && view_mode <= 7) || view_mode == VIEW_REAR_LEFT || view_mode == VIEW_REAR_RIGHT);
}

void steer_external_camera(const KeyInput (&f)[4], bool alt) {
    const bool pan_roll = active(f[0]) || active(f[1]), pan_pitch = active(f[2]) || active(f[3]);
    if ((pan_roll || pan_pitch) && !alt) {
        external_throttle = stick_throttle;
        external_heading = stick_yaw;
        if (pan_roll) external_roll = key_pan_x;
        if (pan_pitch) external_pitch = key_pan_y;
    } else if (alt) {
        external_throttle = stick_throttle;
        external_heading = stick_yaw;
        external_pitch = slew_y;
        external_roll = slew_x;
        hold_model_inputs();
    }
}

struct ButtonKey {
    int key;  // 0: none
    bool repeat;
};

// Mode 0: one key per button bit 0x10 .. 0x80. Modes 1 and 2: one key per 4-bit button field.
constexpr ButtonKey button_bit_keys[4] = {{SCAN_SPACE, false}, {POSTED_ENTER, true}, {SCAN_BACKSPACE, false},
                                          {SCAN_K, false}};
constexpr ButtonKey button_field_keys[2][16] = {
    {{}, {SCAN_SPACE, false}, {SCAN_BACKSPACE, false}, {SCAN_1, false}, {POSTED_CTRL_ENTER, false}, {}, {},
     {SCAN_3, false}, {POSTED_ENTER, true}, {}, {}, {SCAN_4, false}, {SCAN_1, false}, {}, {}, {SCAN_2, false}},
    {{}, {SCAN_BACKSPACE, false}, {SCAN_SPACE, false}, {}, {SCAN_C, false}, {SCAN_F, false}, {SCAN_3, false}, {},
     {POSTED_ENTER, true}, {POSTED_CTRL_ENTER, false}, {SCAN_4, false}, {}, {SCAN_1, false}, {}, {SCAN_2, false}, {}},
};
constexpr int hat_keys[4] = {SCAN_2, SCAN_4, SCAN_3, SCAN_1};  // forward, right, back, left

void post_button_key(const ButtonKey& entry) {
    if (entry.key && (!entry.repeat || button_repeat_due())) post_key(entry.key);
}

// The lever's position, in percent of its travel, posts one of the number keys.
void post_throttle_lever_key() {
    const int q = joystick_state.scaled[AXIS_BY] * 100 / 256;
    if (q <= 5)
        post_key(SCAN_2);
    else if (q <= 30)
        post_key(SCAN_4);
    else if (q <= 55)
        post_key(SCAN_3);
    else if (q <= 80)
        post_key(SCAN_1);
}

void register_watches() {
    watch_debug_value("Control Type", 1, &control_type);
    const struct {
        const char* label;
        const int32_t* value;
    } watches[] = {{"Key Throttle", &key_throttle},         {"Key Heading", &key_heading},
                   {"Key Pitch", &key_pitch},               {"Key Roll", &key_roll},
                   {"%%%%%%%%%% Y:", &slew_y},              {"%%%%%%%%%% X:", &slew_x},
                   {"Model Throttle", &model_throttle},     {"Model Heading", &model_heading},
                   {"Model Pitch", &model_pitch},           {"Model Roll", &model_roll},
                   {"Extrn Throttle", &external_throttle},  {"Extrn Heading", &external_heading},
                   {"Extrn Pitch", &external_pitch},        {"Extrn Roll", &external_roll}};
    for (const auto& w : watches) watch_debug_value(w.label, 0, w.value);
}

}  // namespace

bool controls_powered() {
    if (!has_failure(FAIL_ELECTRICS)) return true;
    return game_clock - electrics_first_failure_time > ELECTRICS_DEAD_TIME &&
           game_clock - electrics_second_failure_time < ELECTRICS_LIFE_TIME;
}

bool throttle_axis_in_use() {
    return is_joystick_type(control_type) && collective_control && (joystick_throttle || joystick_throttle_curve);
}

void init_flight_controls() {
    key_throttle = key_heading = key_pitch = key_roll = 0;
    key_pan_x = key_pan_y = key_look = 0;
    slew_y = slew_x = 0;
    std::fill(std::begin(view_pan_inputs), std::end(view_pan_inputs), 0);
    button_repeat_time = 0;
    apply_control_type();
    add_hot_key(KEY_CTRL | SCAN_BACKSLASH, toggle_control_type);
    add_hot_key(KEY_CTRL | SCAN_Y, centre_joystick);
    register_watches();
}

void read_flight_controls() {
    if (!controls_powered()) {
        model_throttle = model_heading = model_pitch = model_roll = 0;
        return;
    }
    const KeyInput throttle_up = take_key_pair(SCAN_EQUALS, SCAN_PAD_PLUS);
    const KeyInput throttle_down = take_key_pair(SCAN_MINUS, SCAN_PAD_MINUS);
    const KeyInput yaw_left = take_key_pair(SCAN_Z, SCAN_INSERT);
    const KeyInput yaw_right = take_key_pair(SCAN_X, SCAN_DELETE);
    const KeyInput up = take_key(SCAN_UP), down = take_key(SCAN_DOWN);
    const KeyInput left = take_key(SCAN_LEFT), right = take_key(SCAN_RIGHT);
    const KeyInput look_on = take_key(SCAN_PERIOD), look_back = take_key(SCAN_COMMA);
    const KeyInput f[4] = {take_key(SCAN_F1), take_key(SCAN_F4), take_key(SCAN_F2), take_key(SCAN_F3)};
    const bool ctrl = is_key_down(SCAN_CTRL), alt = is_key_down(SCAN_ALT);

    // Ctrl freezes the throttle where it is.
    if (!ctrl) ramp(key_throttle, throttle_up, throttle_down, THROTTLE_RAMP_GAIN);
    ramp(key_heading, yaw_left, yaw_right);
    ramp(key_pitch, down, up);
    ramp(key_roll, right, left);
    ramp(key_pan_y, f[3], f[2]);
    ramp(key_pan_x, f[1], f[0]);
    ramp(key_look, look_on, look_back);

    assemble_demands();
    map_joystick_buttons();
    if (ctrl || (alt && view_mode == VIEW_COCKPIT)) {
        hold_model_inputs();
        return;
    }
    if (view_mode == VIEW_COCKPIT || view_mode == VIEW_AIRFRAME_CAMERA || view_mode == VIEW_RUNWAY_CAMERA)
        for (int i = 0; i < 4; ++i) view_pan_inputs[i] = f[i].time;
    model_throttle = stick_throttle;
    model_heading = stick_yaw;
    model_pitch = slew_y;
    model_roll = slew_x;
    external_throttle = external_heading = external_pitch = external_roll = 0;
    if (steerable_camera_view()) steer_external_camera(f, alt);
}

void get_view_pan_inputs(int32_t& f1, int32_t& f4, int32_t& f2, int32_t& f3) {
    f1 = view_pan_inputs[0];
    f4 = view_pan_inputs[1];
    f2 = view_pan_inputs[2];
    f3 = view_pan_inputs[3];
}

void get_slew_inputs(int32_t& y, int32_t& x) {
    y = slew_y;
    x = slew_x;
}

int toggle_control_type(int) {
    control_type = control_type == CONTROL_KEYBOARD ? CONTROL_JOYSTICK : CONTROL_KEYBOARD;
    return 1;
}

int centre_joystick(int) {
    read_joystick();
    const int32_t* raw = joystick_state.raw;
    set_joystick_centre(raw[AXIS_AX], raw[AXIS_AY], raw[AXIS_BX], raw[AXIS_BY]);
    return 1;
}

void map_joystick_buttons() {
    const int32_t buttons = joystick_state.buttons;
    switch (joystick_button_mode) {
    case 0:
        for (int bit = 0; bit < 4; ++bit)
            if (buttons & (0x10 << bit)) post_button_key(button_bit_keys[bit]);
        if (cyclic_control == 2 && joystick_state.hat >= 1 && joystick_state.hat <= 4)
            post_key(hat_keys[joystick_state.hat - 1]);
        break;
    case 1:
    case 2:
        post_button_key(button_field_keys[joystick_button_mode - 1][(buttons >> 4) & 0xF]);
        break;
    default:
        report_fatal_error("Unknown joystick button mode.", "source/controls", __LINE__);
        return;
    }
    if (throttle_lever_keys) post_throttle_lever_key();
}

void post_key(int key_code) { post_event({EV_KEY, key_code, 0, 0, 0}); }

bool button_repeat_due() {
    if (game_clock <= button_repeat_time) return false;
    button_repeat_time = game_clock + BUTTON_REPEAT_TICKS;
    return true;
}

}  // namespace vyr
