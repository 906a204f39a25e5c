// The cockpit panel's instruments and lamps, and the failure bits they show.
#pragma once

#include <cstdint>

namespace vyr {

constexpr uint32_t FAIL_ELECTRICS = 1u << 0;
constexpr uint32_t FAIL_HYDRAULICS = 1u << 1;

// The failure bits of the player's aircraft.
extern uint32_t system_failures;

void reset_caution_lamps();
void reset_system_failures();

}  // namespace vyr
