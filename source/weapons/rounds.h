// Weapon rounds in flight and the countermeasures.
#pragma once

namespace vyr {

// Once a simulation step: rounds moved and resolved, gun and warning sounds, radio chatter.
void update_weapons_frame();
// Chaff or flares again while their repeat is on.
void repeat_countermeasures();

}  // namespace vyr
