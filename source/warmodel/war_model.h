// The battlefield war model: sectors, air patrols, battle cells, the drone and ground wars.
#pragma once

namespace vyr {

void init_war_model();
// Once a simulation step: the drone war, the ground war, then the battle cells.
void update_war_model();
void release_war_model();
void reset_war_model_flag();

}  // namespace vyr
