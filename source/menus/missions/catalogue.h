// The mission catalogue.
#pragma once

#include <cstdint>

namespace vyr {

void load_mission_catalogue();

// The mission being flown.
extern int32_t current_mission_number;

}  // namespace vyr
