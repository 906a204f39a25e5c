// The head-up display's weapon modes: per mode its flight symbols and its aiming symbols, fed by
// the designated target, the selected weapon and the weapons' release computations.
#pragma once

namespace vyr {

// The element list of the current weapon mode.
void draw_weapon_elements();

}  // namespace vyr
