#include "source/avionics/failures.h"

namespace vyr {

SystemFailures system_failures = {};
uint8_t threat_lamp_bits = 0;

namespace {

constexpr uint8_t KEPT_BYTE_2 = 0x10;
constexpr uint8_t KEPT_BYTE_4 = 0x40 | 0x80;
constexpr uint32_t RESET_LAMPS = 0xff | LAMP_WHEEL_BRAKES | LAMP_AIR_BRAKE | LAMP_KEYS_HELD;

void reset_lamp_word() { system_failures.lamp_word &= ~RESET_LAMPS; }

}  // namespace

void reset_system_failures() {
    uint8_t* bytes = system_failures.bytes;
    bytes[0] = bytes[1] = bytes[3] = 0;
    bytes[2] &= KEPT_BYTE_2;
    bytes[4] &= KEPT_BYTE_4;
    system_failures.word = 0;
    reset_lamp_word();
}

void reset_caution_lamps() { system_failures.caution_word &= 0xff000000u; }

int check_any_failure() {
    const uint8_t* bytes = system_failures.bytes;
    const bool failed = bytes[0] || bytes[1] || bytes[3] || (bytes[2] & ~KEPT_BYTE_2) || (bytes[4] & ~KEPT_BYTE_4) ||
                        (system_failures.lamp_word & (LAMP_GROUND_COLLISION | LAMP_LOW_ALTITUDE));
    return failed ? 1 : 0;
}

}  // namespace vyr
