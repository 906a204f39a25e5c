// Stand-in for the avionics and cockpit until they are built: the failure bits and the cockpit,
// view and display keys.
#pragma once

#include <cstdint>

namespace vyr {

constexpr uint32_t FAIL_ELECTRICS = 1u << 0;

// The failure bits of the player's aircraft.
extern uint32_t system_failures;

void register_detail_keys();
void register_view_keys();
void register_cockpit_keys();
void register_avionics_keys();
void register_mfd_keys();
void register_pod_key();

}  // namespace vyr
