// The player's flight model as the rest of the flight sees it.
#pragma once

#include <cstdint>

namespace vyr {

extern int32_t model_id;
extern double rotor_direction;

void register_model_keys();

}  // namespace vyr
