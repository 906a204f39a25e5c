// The joystick as the game sees it: raw readings turned into calibrated axes, buttons and hat.
#pragma once

#include <cstdint>

namespace vyr {

enum StickType { STICK_PLAIN = 1, STICK_POV_HAT = 2, STICK_AXIS_HAT = 3 };
enum JoystickAxis { AXIS_AX, AXIS_AY, AXIS_BX, AXIS_BY, AXIS_HAT };

struct JoystickState {
    int32_t raw[4];       // Ax, Ay, Bx, By; -1 when the device reported nothing
    int32_t buttons;      // bits 4-7: buttons 1-4; the other bits set
    int32_t hat;          // 0 centred, 1 forward, 2 right, 3 back, 4 left
    int32_t scaled[4];    // 0..255, the centre at 127
    int32_t minimum[4];
    int32_t centre[4];
    int32_t maximum[4];
    int32_t timeout;      // three times the largest raw reading seen
    bool stick_a_absent;  // Ax or Ay
    bool bx_absent;
    bool by_absent;
};

extern JoystickState joystick_state;
extern int stick_type;
extern int joystick_enabled;
extern int joystick_devices;

void init_joystick();
void detect_joystick();
void read_joystick_device();
// The current position becomes the centre; the range starts around it.
void calibrate_joystick_centre();
// Widens each axis's range to include the current position.
void calibrate_joystick_range();
void set_joystick_centre(int ax, int ay, int bx, int by);
int read_joystick();
void build_joystick_curve(int dead_zone);
int32_t get_joystick_curve(int index);
// Modes 1 and 2: linear and curved about the calibrated centre; 3 and 4: about the middle of
// the range. Axis 4 is the hat.
int32_t get_joystick_axis(int mode, int axis);

}  // namespace vyr
