// The other machine's set-up choices pressed on this machine's controls, whether they came over
// the serial set-up exchange or in a network menu-item block. Every press is a replay (its event's
// fourth word -1), which is never passed back.
#pragma once

#include "library/system/event.h"

namespace vyr {

// War zone 1..4 on the Game Screen.
void press_war_zone(int zone);
// The mission list's line (from 0); -1 clears the selection.
void press_mission_line(int line);
// "Load Mission" with the line the list holds.
void press_mission_next();
void press_take_off();
// The mission map's exit after the debrief.
void press_map_exit();
// Closes the mission map (with fades), then the mission select screen and the Game Screen, each
// only while it is the one on show.
void close_linked_screens();

// The serial exchange presses these.
void install_remote_presses();

// A network menu item 1..20 from the other machine; false, pressing nothing, for another item or
// while a flight is under way (two take-off items crossing would start a second flight).
bool replay_menu_item(int item, const Event& event);

}  // namespace vyr
