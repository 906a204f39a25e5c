// The threat warning receiver: the threats and incoming missiles around the player's aircraft.
#pragma once

#include <cstdint>

namespace vyr {

struct WeaponRound;

// Mission set-up: no threat, no missile.
void init_threat_warning();
// Every 0.5 s: the sorted list emptied, then the threats looked for again.
void clear_sorted_threats();
void update_threat_warning();
// Into the panel: the threat display's symbols.
void draw_threat_display();
// A missile homing on the player's aircraft, the seconds before it arrives.
void add_incoming_missile(WeaponRound* missile, int32_t seconds);
// The nearest incoming missile's key; 12000 when none comes.
int nearest_incoming_missile();

}  // namespace vyr
