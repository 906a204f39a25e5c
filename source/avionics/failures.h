// The system failures of the player's aircraft: five bytes of failure bits set by the damage code
// and obeyed by every system, and the cockpit's caution and lamp words kept beside them.
#pragma once

#include <cstdint>

namespace vyr {

// One failure bit: its byte in the block and its mask there.
struct FailureBit {
    uint8_t byte;
    uint8_t mask;
};

constexpr FailureBit FAIL_LEFT_MFD{0, 0x04};
constexpr FailureBit FAIL_RIGHT_MFD{0, 0x08};
constexpr FailureBit FAIL_RADAR{0, 0x10};
constexpr FailureBit FAIL_FUEL{0, 0x20};  // below the low-fuel mark: warned once
constexpr FailureBit FAIL_FUEL_LEAK{0, 0x40};
constexpr FailureBit FAIL_DATA_DISPLAY{1, 0x01};
constexpr FailureBit FAIL_HUD_FLICKER{1, 0x02};
constexpr FailureBit FAIL_TARGETING{1, 0x04};
constexpr FailureBit FAIL_GUN{1, 0x08};
constexpr FailureBit FAIL_TERRAIN_FOLLOWING{1, 0x10};
constexpr FailureBit FAIL_HUD{1, 0x40};
constexpr FailureBit FAIL_AUTOPILOT{1, 0x80};
constexpr FailureBit FAIL_BRAKE{2, 0x01};  // the air brake
constexpr FailureBit FAIL_ELECTRICS{2, 0x02};
constexpr FailureBit FAIL_THREAT_WARNING{2, 0x04};
constexpr FailureBit FAIL_FLAPS{2, 0x08};
constexpr FailureBit FAIL_ENGINE{2, 0x20};
constexpr FailureBit FAIL_FIRE{2, 0x80};
constexpr FailureBit FAIL_PYLON{3, 0x01};
constexpr FailureBit FAIL_ECM{3, 0x02};
constexpr FailureBit FAIL_OXYGEN{3, 0x04};
constexpr FailureBit FAIL_AFTERBURNER{3, 0x08};
constexpr FailureBit FAIL_PRESSURE{3, 0x10};
constexpr FailureBit FAIL_LASER{3, 0x20};
constexpr FailureBit FAIL_HYDRAULICS{3, 0x40};
constexpr FailureBit FAIL_RADIO{3, 0x80};
constexpr FailureBit FAIL_RECON{4, 0x01};
constexpr FailureBit FAIL_GEAR{4, 0x02};

// Bits of lamp_word.
constexpr uint32_t LAMP_GROUND_COLLISION = 0x01;
constexpr uint32_t LAMP_LOW_ALTITUDE = 0x02;
constexpr uint32_t LAMP_MASTER_CAUTION = 0x04;
constexpr uint32_t LAMP_FAILURE_PRESENT = 0x08;
constexpr uint32_t LAMP_AOA_INDEXER = 0x10;
constexpr uint32_t LAMP_WHEEL_BRAKES = 0x100;  // BRK
constexpr uint32_t LAMP_AIR_BRAKE = 0x200;     // DISC
constexpr uint32_t LAMP_KEYS_HELD = 0x400;

struct SystemFailures {
    uint8_t bytes[5];
    uint32_t word;  // cleared with the failure bytes
    uint32_t caution_word;
    uint32_t lamp_word;
};

extern SystemFailures system_failures;

// Bits of threat_lamp_bits, the threat panel's lamps.
constexpr uint8_t THREAT_LAMP_RADAR_ON = 0x01;
constexpr uint8_t THREAT_LAMP_ECM_ON = 0x02;
extern uint8_t threat_lamp_bits;

inline bool has_failure(FailureBit bit) { return system_failures.bytes[bit.byte] & bit.mask; }
inline void set_failure(FailureBit bit) { system_failures.bytes[bit.byte] |= bit.mask; }
inline void clear_failure(FailureBit bit) { system_failures.bytes[bit.byte] &= uint8_t(~bit.mask); }

// Mission set-up, a restart of the player's aircraft and a flight-model reset: every failure
// and the lamp bits go, except byte 2's 0x10 and byte 4's 0x40 and 0x80, which outlive resets.
void reset_system_failures();
// The low 24 bits of caution_word.
void reset_caution_lamps();
// 1 when any failure the master caution counts is present (byte 2's 0x10 and byte 4's 0x40 and
// 0x80 are not; the ground-collision and low-altitude lamps are).
int check_any_failure();

}  // namespace vyr
