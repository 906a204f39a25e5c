// The battlefield war model: sectors, air patrols, battle cells, the drone and ground wars.
#pragma once

#include <cstdint>

namespace vyr {

void init_war_model();
// Once a simulation step: the drone war, the ground war, then the battle cells.
void update_war_model();
void release_war_model();
void reset_war_model_flag();
// The war model's own generator: 0..0x7fffffff, drawn alike on linked machines.
int32_t war_random();

}  // namespace vyr
