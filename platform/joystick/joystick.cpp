#include "platform/joystick/joystick.h"

#include <SDL.h>

namespace vyr::platform {

namespace {

class NoJoystick final : public JoystickDevice {
public:
    int device_count() const override { return 0; }
    bool read(JoystickReading& reading) override {
        reading = {};
        return false;
    }
};

class SdlJoystick final : public JoystickDevice {
public:
    ~SdlJoystick() override {
        if (stick_) SDL_JoystickClose(stick_);
    }

    int device_count() const override { return SDL_NumJoysticks(); }

    bool read(JoystickReading& reading) override {
        reading = {};
        // The window thread pumps SDL's events; the joystick lock keeps its state whole.
        SDL_LockJoysticks();
        if (!stick_ && SDL_NumJoysticks() > 0) stick_ = SDL_JoystickOpen(0);
        if (stick_ && !SDL_JoystickGetAttached(stick_)) {
            SDL_JoystickClose(stick_);
            stick_ = nullptr;
        }
        if (stick_) {
            reading.x = axis(0);
            reading.y = axis(1);
            reading.z = axis(2);  // throttle
            reading.r = axis(3);  // rudder
            for (int b = 0; b < 4 && b < SDL_JoystickNumButtons(stick_); ++b)
                if (SDL_JoystickGetButton(stick_, b)) reading.buttons |= 1u << b;
            reading.hat = SDL_JoystickNumHats(stick_) > 0 ? hat(SDL_JoystickGetHat(stick_, 0)) : Hat::OTHER;
        }
        SDL_UnlockJoysticks();
        return stick_ != nullptr;
    }

private:
    // SDL's -32768..32767 onto 1..65535, so that 0 still means "no such axis".
    uint32_t axis(int index) const {
        if (index >= SDL_JoystickNumAxes(stick_)) return 0;
        int value = SDL_JoystickGetAxis(stick_, index) + 32768;
        return uint32_t(value < 1 ? 1 : value);
    }

    static Hat hat(uint8_t value) {
        switch (value) {
        case SDL_HAT_CENTERED: return Hat::CENTRED;
        case SDL_HAT_UP: return Hat::FORWARD;
        case SDL_HAT_RIGHT: return Hat::RIGHT;
        case SDL_HAT_DOWN: return Hat::BACK;
        case SDL_HAT_LEFT: return Hat::LEFT;
        default: return Hat::OTHER;
        }
    }

    SDL_Joystick* stick_ = nullptr;
};

std::unique_ptr<JoystickDevice> device = std::make_unique<NoJoystick>();

}  // namespace

JoystickDevice* joystick() { return device.get(); }

void select_joystick_backend(bool use_sdl) {
    if (use_sdl && SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0)
        device = std::make_unique<SdlJoystick>();
    else
        device = std::make_unique<NoJoystick>();
}

void install_joystick(std::unique_ptr<JoystickDevice> new_device) { device = std::move(new_device); }

}  // namespace vyr::platform
