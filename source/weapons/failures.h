// Failures of the player's systems after hits.
#pragma once

#include <cstdint>

namespace vyr {

// `game_clock` when the electrics failed: the controls and keys lose power for a while after the
// first and for good some time after the second.
extern int32_t electrics_first_failure_time;
extern int32_t electrics_second_failure_time;

}  // namespace vyr
