// The first joystick of the machine: four axes, four buttons and a hat, read on demand.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vyr::platform {

// OTHER: a diagonal, or a stick without a hat.
enum class Hat { CENTRED, FORWARD, RIGHT, BACK, LEFT, OTHER };

struct JoystickReading {
    uint32_t x, y, r, z;  // 1..65535; 0 for an axis the device lacks
    uint32_t buttons;     // bit 0 button 1 ... bit 3 button 4
    Hat hat;
};

class JoystickDevice {
public:
    virtual ~JoystickDevice() = default;
    // Joysticks the system reports.
    virtual int device_count() const = 0;
    // The first joystick now; false (and all zero) when there is none.
    virtual bool read(JoystickReading& reading) = 0;
};

// The device in use; never null once a backend is selected ("none" reports no joystick).
JoystickDevice* joystick();
// Chooses SDL when `use_sdl` and SDL's joystick support starts, else none. Main thread only.
void select_joystick_backend(bool use_sdl);
// A virtual joystick of SDL's (four axes, four buttons, a hat) becomes the device, for scripted
// runs; nothing else pumps SDL there, so its reads update SDL's joysticks themselves. False, with
// the reason in `error`, when SDL cannot make one.
bool attach_virtual_joystick(std::string& error);
// The virtual joystick's controls: axis 0..3 (x, y, throttle, rudder) -32768..32767; button 0..3;
// the hat as Hat::CENTRED .. Hat::LEFT. Nothing without one.
void set_virtual_axis(int axis, int value);
void set_virtual_button(int button, bool down);
void set_virtual_hat(Hat hat);
// Tests install a device of their own.
void install_joystick(std::unique_ptr<JoystickDevice> device);

}  // namespace vyr::platform
