// Weapon selection, modes and the weapon keys.
#pragma once

namespace vyr {

void register_weapon_keys();

}  // namespace vyr
