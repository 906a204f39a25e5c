// The control devices of the Preferences Screen: which device flies the aircraft, where the
// throttle and the rudder come from, and a live display of the joystick that widens its
// calibrated range while the screen is shown.
#pragma once

#include <cstdint>

namespace vyr {

struct UiObject;
struct Event;

// The stick choice names the Thrustmaster FCS, which carries its own throttle.
extern int32_t joystick_fcs;

// The choices' buttons and texts in `area`, and the calibration sprites on `screen`.
void create_control_devices(UiObject* screen, UiObject* area);

// The three choices ("Cyclic control", "Collective control", "Tailrotor control") into the
// flight controls' device set-up; a choice out of range becomes the keyboard, and the FCS
// takes the throttle off a throttle stick.
void apply_control_type();
// The choices' texts, and `control_type` by the stick choice.
void refresh_control_devices();

// Each stores its key, takes the stick's position as its centre and refreshes the screen.
void next_joystick_choice(UiObject* object, Event& event);
void previous_joystick_choice(UiObject* object, Event& event);
void toggle_throttle_choice(UiObject* object, Event& event);
void toggle_rudder_choice(UiObject* object, Event& event);

// The "Joystick Calibration" thread: every 10 ticks the range widened and the sprites placed.
void start_calibration_display();
// The calibration and the dead band stored; the thread leaves at its next pass.
void stop_calibration_display();
// One pass of the display.
void update_calibration_display();

}  // namespace vyr
