// The payload files and the loadout.
#pragma once

namespace vyr {

void load_weapon_file();
void load_pylon_file();

}  // namespace vyr
