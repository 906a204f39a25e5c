// The briefing script player: a mission's briefing spoken and shown over the map screen.
#pragma once

namespace vyr {

// Prepares the map screen for a briefing and starts the script; none only prepares the screen.
void do_briefing(const char* briefing);

}  // namespace vyr
