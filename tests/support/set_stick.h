// A joystick device whose readings the test sets.
#pragma once

#include "platform/joystick/joystick.h"

namespace vyr {

class SetStick final : public platform::JoystickDevice {
public:
    explicit SetStick(platform::JoystickReading* now) : now_(now) {}
    int device_count() const override { return 1; }
    bool read(platform::JoystickReading& reading) override {
        reading = *now_;
        return true;
    }

private:
    platform::JoystickReading* now_;
};

}  // namespace vyr
