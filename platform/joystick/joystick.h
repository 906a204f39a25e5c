// The first joystick of the machine: four axes, four buttons and a hat, read on demand.
#pragma once

#include <cstdint>
#include <memory>

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
// Tests install a device of their own.
void install_joystick(std::unique_ptr<JoystickDevice> device);

}  // namespace vyr::platform
