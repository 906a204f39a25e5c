// The flight controls: keyboard and joystick turned, once per simulation step, into demands for
// the flight model, the external cameras, the cursor slew and the view panning. Demands are 1.31
// numbers: 0x7FFFFFFF full positive, -0x7FFFFFFF full negative. Held keys ramp their demand up;
// a released key returns it to 0.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int32_t CONTROL_KEYBOARD = 1;
constexpr int32_t CONTROL_JOYSTICK = 2;  // 3 and 4 act as 2

// Control devices from the settings: "Collective control" (the throttle lever), "Cyclic
// control" (the stick), "Tailrotor control" (the rudder) and the joystick's dead band.
extern int32_t collective_control;
extern int32_t cyclic_control;
extern int32_t tailrotor_control;
extern int32_t control_deadband;
// The settings keys of the joystick's calibration by axis (Ax, Ay, Bx, By) and by minimum, centre
// and maximum: "Joystick Ax Min" ... "Joystick By Max".
extern const char* const JOYSTICK_CALIBRATION_KEYS[4][3];

// Set by the front end from the devices.
extern int32_t control_type;
extern int32_t joystick_button_mode;     // 0, 1 or 2: how the buttons map onto keys
extern int32_t joystick_throttle;        // throttle from joystick axis 3, linear
extern int32_t joystick_throttle_curve;  // throttle from axis 3 through the response curve
extern int32_t joystick_rudder;          // yaw from axis 2
extern int32_t throttle_lever_keys;      // the lever position posts number keys

// Keyboard demands.
extern int32_t key_throttle, key_heading, key_pitch, key_roll;
extern int32_t key_pan_x;  // F4 / F1
extern int32_t key_pan_y;  // F3 / F2
extern int32_t key_look;   // "." / ","
// Cursor slew: the stick's pitch and roll axes, or the keys.
extern int32_t slew_y, slew_x;
// The flight model's inputs, and those of an external camera the player steers.
extern int32_t model_throttle, model_heading, model_pitch, model_roll;
extern int32_t external_throttle, external_heading, external_pitch, external_roll;

// Mission set-up: demands at rest, the control type applied, the control keys registered.
void init_flight_controls();
// One simulation step.
void read_flight_controls();

// Held times of F1, F4, F2 and F3 in the last step in a view that pans with them.
void get_view_pan_inputs(int32_t& f1, int32_t& f4, int32_t& f2, int32_t& f3);
void get_slew_inputs(int32_t& y, int32_t& x);

// Whether the controls (and the keys) have power: after an electrical failure not for 10 s,
// and not once 10 minutes have passed since the second failure.
bool controls_powered();
// The model's throttle is this step's lever position rather than a rate.
bool throttle_axis_in_use();

// Hot-key handlers: keyboard and joystick control swap; the stick's position becomes its centre.
int toggle_control_type(int key_code);
int centre_joystick(int key_code);

// Joystick buttons, the hat and the throttle lever turned into key events.
void map_joystick_buttons();
void post_key(int key_code);
// True at most once per 60 ticks of game_clock.
bool button_repeat_due();

}  // namespace vyr
