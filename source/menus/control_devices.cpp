#include "source/menus/control_devices.h"

#include <atomic>
#include <cmath>
#include <cstring>

#include "library/config/prefs.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/rect.h"
#include "library/system/joystick.h"
#include "library/system/thread.h"
#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/controls.h"
#include "source/menus/front_end.h"
#include "source/menus/prefs_screens.h"
#include "source/startup.h"

namespace vyr {

int32_t joystick_fcs = 0;

namespace {

constexpr int CHOICE_KEYBOARD = 0, CHOICE_FCS = 2, CHOICE_FLIGHTSTICK = 3, CHOICE_VIRTUAL_PILOT = 4;
constexpr int THROTTLE_STICK = 6, PEDALS = 5;
constexpr int CALIBRATION_PRIORITY = 10, CALIBRATION_PERIOD = 10;

UiObject* joystick_text = nullptr;
UiObject* throttle_text = nullptr;
UiObject* rudder_text = nullptr;

enum { HAT_C, HAT_T, HAT_R, HAT_B, HAT_L, CYCLIC, THROTTLE_HZ, THROTTLE_VT, SPRITE_COUNT };
UiObject* sprites[SPRITE_COUNT] = {};
uint8_t sprite_pictures[3840];
Sprite sprite_shapes[SPRITE_COUNT];

std::atomic<int> calibration_running{0};
uint32_t calibration_thread = 0;

// The slot of each picture is a multiple of 128 bytes; a sprite shows its picture's top rows.
struct SpritePicture {
    const char* name;
    const char* file;
    int slot, width, height, sprite_height, x, y;
};
const SpritePicture SPRITE_PICTURES[] = {
    {"Coolie C sprite", "menuscrn\\coolie-c.bbm", 4, 8, 8, 7, 571, 353},
    {"Coolie T sprite", "menuscrn\\coolie-t.bbm", 0, 16, 8, 8, 567, 323},
    {"Coolie R sprite", "menuscrn\\coolie-r.bbm", 3, 8, 16, 15, 600, 349},
    {"Coolie B sprite", "menuscrn\\coolie-b.bbm", 1, 16, 8, 8, 567, 383},
    {"Coolie L sprite", "menuscrn\\coolie-l.bbm", 2, 8, 16, 15, 542, 349},
    {"Cyclic sprite", nullptr, 4, 8, 8, 7, 474, 353},
    {"Throttle hz sprite", "menuscrn\\throt-hz.bbm", 5, 16, 8, 6, 373, 393},
    {"Throttle vt sprite", "menuscrn\\throt-vt.bbm", 6, 8, 18, 11, 341, 329},
};

const char* joystick_name(int choice) {
    static const char* const names[] = {"Keyboard", "Joystick", "Thrustmaster FCS Mk1", "Flightstick Pro",
                                        "Virtual Pilot Pro"};
    if (choice == CHOICE_KEYBOARD && product_language == LANG_ITALIAN) return "Tastiera";
    return choice >= 0 && choice <= CHOICE_VIRTUAL_PILOT ? names[choice] : names[0];
}

const char* keyboard_or(int32_t choice, const char* device, const char* italian_device) {
    const bool italian = product_language == LANG_ITALIAN;
    if (choice == 0) return italian ? "Tastiera" : "Keyboard";
    return italian ? italian_device : device;
}

// -1 to +1: +1 at the calibrated minimum, 0 at the centre, -1 at the maximum.
double axis_position(int axis) {
    const int32_t value = get_joystick_axis(1, axis);
    // At the maximum itself the ramp wraps round to 0, which would read as the minimum.
    if (value == 0 && joystick_state.raw[axis] > joystick_state.centre[axis]) return -1;
    return 1.0 - double(uint32_t(value)) / 2147483648.0;
}

int offset(double p, int pixels) { return int(std::lround(p * pixels)); }

void place_sprite(int sprite, int x, int y) {
    move_ui_object(sprites[sprite], x, y);
    show_ui_object(sprites[sprite], 1);
}

int hat_position() {
    if (cyclic_control == CHOICE_FCS) {
        const int q = joystick_state.scaled[AXIS_BY] * 100 / 256;
        return q <= 12 ? 1 : q <= 37 ? 2 : q <= 62 ? 3 : q <= 87 ? 4 : 0;
    }
    if (cyclic_control == CHOICE_FLIGHTSTICK || cyclic_control == CHOICE_VIRTUAL_PILOT) return joystick_state.hat;
    return -1;
}

void run_calibration_display() {
    set_thread_priority(CALIBRATION_PRIORITY);
    while (calibration_running.load()) {
        update_calibration_display();
        sleep_thread(CALIBRATION_PERIOD);
    }
    calibration_thread = 0;
}

void choice_changed(const char* key, int32_t value) {
    set_pref_int(key, value);
    calibrate_joystick_centre();
    refresh_preferences_screen();
}

UiObject* create_choice_button(UiObject* area, const char* name, int x, int y, const char* picture,
                               UiNotify notify) {
    return create_ui_object(UI_BUTTON, area, name, ATTR_RECT, x, y, x + 24, y + 20, ATTR_PICTURE, picture,
                            ATTR_TRANSPARENT, 1, ATTR_NOTIFY, notify, ATTR_NOTIFY_EVENT, EV_SELECT);
}

UiObject* create_choice_text(UiObject* area, const char* name, int y) {
    return create_ui_object(UI_TEXT, area, name, ATTR_POS, 120, y, ATTR_SIZE, 120, 15, ATTR_FONT, &menu_font,
                            ATTR_SHADOW, 1, ATTR_TEXT_INSET, 1, ATTR_INPUT, 0);
}

}  // namespace

void create_control_devices(UiObject* screen, UiObject* area) {
    create_choice_button(area, "Joystick +", 283, 5, "menuscrn\\pr_joyp.bbm", next_joystick_choice);
    create_choice_button(area, "Joystick -", 258, 5, "menuscrn\\pr_joym.bbm", previous_joystick_choice);
    joystick_text = create_choice_text(area, "Joystick text", 8);
    create_choice_button(area, "Throttle +", 283, 39, "menuscrn\\pr_throp.bbm", toggle_throttle_choice);
    create_choice_button(area, "Throttle -", 258, 39, "menuscrn\\pr_throm.bbm", toggle_throttle_choice);
    throttle_text = create_choice_text(area, "Throttle text", 41);
    create_choice_button(area, "Rudder +", 283, 72, "menuscrn\\pr_ruddp.bbm", toggle_rudder_choice);
    create_choice_button(area, "Rudder -", 258, 72, "menuscrn\\pr_ruddm.bbm", toggle_rudder_choice);
    rudder_text = create_choice_text(area, "Rudder text", 75);

    std::memset(sprite_pictures, 0, sizeof sprite_pictures);
    for (int i = 0; i < SPRITE_COUNT; ++i) {
        const SpritePicture& s = SPRITE_PICTURES[i];
        uint8_t* pixels = sprite_pictures + s.slot * 128;
        if (s.file) read_picture(s.file, &pixels, s.width, s.height, nullptr, nullptr, nullptr);
        sprite_shapes[i] = {s.width, s.sprite_height, 0, 0, pixels};
        sprites[i] = create_ui_object(UI_SPRITE, screen, s.name, ATTR_POS, s.x, s.y, ATTR_SIZE, s.width,
                                      s.sprite_height, ATTR_SPRITE, &sprite_shapes[i], ATTR_INPUT, 0, ATTR_SHOWN, 0);
    }
}

void apply_control_type() {
    int32_t fcs, throttle, pedals, buttons;
    bool corrected;
    do {
        corrected = false;
        joystick_throttle_curve = 0;
        throttle_lever_keys = 0;
        fcs = throttle = pedals = buttons = 0;
        control_type = CONTROL_JOYSTICK;
        switch (cyclic_control) {
            case CHOICE_KEYBOARD: control_type = CONTROL_KEYBOARD; break;
            case 1: break;
            case CHOICE_FCS:
                fcs = 1;
                if (collective_control == THROTTLE_STICK) {
                    collective_control = 0;
                    corrected = true;
                }
                break;
            case CHOICE_FLIGHTSTICK: buttons = 1; break;
            case CHOICE_VIRTUAL_PILOT: buttons = 2; break;
            default:
                cyclic_control = CHOICE_KEYBOARD;
                corrected = true;
                continue;
        }
        // Only a stick with a hat of its own reads it as such; the others get back the start-up type.
        stick_type = buttons ? STICK_POV_HAT : STICK_AXIS_HAT;
        if (tailrotor_control == PEDALS)
            pedals = 1;
        else if (tailrotor_control != 0) {
            tailrotor_control = 0;
            corrected = true;
        }
        if (collective_control == THROTTLE_STICK)
            throttle = 1;
        else if (collective_control != 0) {
            collective_control = 0;
            corrected = true;
        }
    } while (corrected);
    joystick_fcs = fcs;
    joystick_throttle = throttle;
    joystick_button_mode = buttons;
    joystick_rudder = pedals;
}

void refresh_control_devices() {
    static const int32_t types[] = {1, 2, 4, 3, 2};
    if (cyclic_control >= 0 && cyclic_control <= CHOICE_VIRTUAL_PILOT) control_type = types[cyclic_control];
    set_ui_text(joystick_text, joystick_name(cyclic_control));
    set_ui_text(throttle_text, keyboard_or(collective_control, "Throttle Stick", "Manetta"));
    set_ui_text(rudder_text, keyboard_or(tailrotor_control, "Pedals", "Pedali"));
}

void next_joystick_choice(UiObject*, Event&) {
    cyclic_control = cyclic_control >= CHOICE_VIRTUAL_PILOT ? 0 : cyclic_control + 1;
    choice_changed("Cyclic control", cyclic_control);
}

void previous_joystick_choice(UiObject*, Event&) {
    cyclic_control = cyclic_control <= 0 ? CHOICE_VIRTUAL_PILOT : cyclic_control - 1;
    choice_changed("Cyclic control", cyclic_control);
}

void toggle_throttle_choice(UiObject*, Event&) {
    collective_control = collective_control == 0 ? THROTTLE_STICK : 0;
    choice_changed("Collective control", collective_control);
}

void toggle_rudder_choice(UiObject*, Event&) {
    tailrotor_control = tailrotor_control == 0 ? PEDALS : 0;
    choice_changed("Tailrotor control", tailrotor_control);
}

void start_calibration_display() {
    calibration_running = 1;
    // A thread still between its passes takes up the display again.
    if (!calibration_thread) calibration_thread = create_thread("Joystick Calibration", run_calibration_display);
}

void stop_calibration_display() {
    set_pref_int("Control Deadband Size", control_deadband);
    for (int a = 0; a < 4; ++a) {
        set_pref_int(JOYSTICK_CALIBRATION_KEYS[a][0], joystick_state.minimum[a]);
        set_pref_int(JOYSTICK_CALIBRATION_KEYS[a][1], joystick_state.centre[a]);
        set_pref_int(JOYSTICK_CALIBRATION_KEYS[a][2], joystick_state.maximum[a]);
    }
    calibration_running = 0;
}

void update_calibration_display() {
    calibrate_joystick_range();
    if (control_type == CONTROL_KEYBOARD)
        show_ui_object(sprites[CYCLIC], 0);
    else
        place_sprite(CYCLIC, 474 - offset(axis_position(AXIS_AX), 29), 353 - offset(axis_position(AXIS_AY), 25));
    if (joystick_throttle)
        place_sprite(THROTTLE_VT, 341, 313 - offset(axis_position(AXIS_BY), 23));
    else
        show_ui_object(sprites[THROTTLE_VT], 0);
    if (joystick_rudder)
        place_sprite(THROTTLE_HZ, 373 - offset(axis_position(AXIS_BX), 33), 393);
    else
        show_ui_object(sprites[THROTTLE_HZ], 0);
    for (int hat = HAT_C; hat <= HAT_L; ++hat) show_ui_object(sprites[hat], 0);
    const int hat = hat_position();
    if (hat >= 0 && hat <= 4) show_ui_object(sprites[HAT_C + hat], 1);
}

}  // namespace vyr
