// The cockpit panel's instruments and lamps, and the failure bits they show.
#pragma once

#include <cstdint>

namespace vyr {

constexpr uint32_t FAIL_ELECTRICS = 1u << 0;

// The failure bits of the player's aircraft.
extern uint32_t system_failures;

}  // namespace vyr
