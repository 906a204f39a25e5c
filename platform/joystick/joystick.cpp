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
    SdlJoystick(int index = 0, bool updates_itself = false) : index_(index), updates_itself_(updates_itself) {}
    ~SdlJoystick() override {
        if (stick_) SDL_JoystickClose(stick_);
    }

    int device_count() const override { return SDL_NumJoysticks(); }

    bool read(JoystickReading& reading) override {
        reading = {};
        // The window thread pumps SDL's events; the joystick lock keeps its state whole.
        SDL_LockJoysticks();
        if (updates_itself_) SDL_JoystickUpdate();
        if (!stick_ && SDL_NumJoysticks() > index_) stick_ = SDL_JoystickOpen(index_);
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
    int index_;
    bool updates_itself_;
};

std::unique_ptr<JoystickDevice> device = std::make_unique<NoJoystick>();
SDL_Joystick* virtual_stick = nullptr;

template <typename Set>
void set_virtual(Set set) {
    if (!virtual_stick) return;
    SDL_LockJoysticks();
    set();
    SDL_UnlockJoysticks();
}

}  // namespace

JoystickDevice* joystick() { return device.get(); }

void select_joystick_backend(bool use_sdl) {
    if (use_sdl && SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0)
        device = std::make_unique<SdlJoystick>();
    else
        device = std::make_unique<NoJoystick>();
}

bool attach_virtual_joystick(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        error = std::string("no joystick support: ") + SDL_GetError();
        return false;
    }
    SDL_VirtualJoystickDesc description{};
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_FLIGHT_STICK;
    description.naxes = 4;
    description.nbuttons = 4;
    description.nhats = 1;
    description.name = "Vyr scripted joystick";
    const int index = SDL_JoystickAttachVirtualEx(&description);
    if (index < 0 || !(virtual_stick = SDL_JoystickOpen(index))) {
        error = std::string("no virtual joystick: ") + SDL_GetError();
        return false;
    }
    device = std::make_unique<SdlJoystick>(index, true);
    return true;
}

void set_virtual_axis(int axis, int value) {
    set_virtual([&] { SDL_JoystickSetVirtualAxis(virtual_stick, axis, int16_t(value)); });
}

void set_virtual_button(int button, bool down) {
    set_virtual([&] { SDL_JoystickSetVirtualButton(virtual_stick, button, down ? SDL_PRESSED : SDL_RELEASED); });
}

void set_virtual_hat(Hat hat) {
    static const uint8_t values[] = {SDL_HAT_CENTERED, SDL_HAT_UP, SDL_HAT_RIGHT, SDL_HAT_DOWN, SDL_HAT_LEFT};
    if (hat == Hat::OTHER) return;
    set_virtual([&] { SDL_JoystickSetVirtualHat(virtual_stick, 0, values[int(hat)]); });
}

void install_joystick(std::unique_ptr<JoystickDevice> new_device) { device = std::move(new_device); }

}  // namespace vyr::platform
