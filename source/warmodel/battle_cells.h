// The battle cells' fight: both groups of a cell fire at each other, re-plan, and the weaker
// falls back along its route while the stronger moves on.
#pragma once

namespace vyr {

// Once a simulation step, after the ground war.
void update_battle_cells();

}  // namespace vyr
