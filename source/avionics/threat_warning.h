// The threat warning receiver: the threats and incoming missiles around the player's aircraft.
#pragma once

namespace vyr {

// Mission set-up: no threat, no missile.
void init_threat_warning();
// Every 0.5 s: the sorted list emptied, then the threats looked for again.
void clear_sorted_threats();
void update_threat_warning();
// Into the panel: the threat display's symbols.
void draw_threat_display();
// The nearest incoming missile's key; 12000 when none comes.
int nearest_incoming_missile();

}  // namespace vyr
