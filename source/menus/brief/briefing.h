// The briefing of a mission on the map: its script's subtitles and timed steps, played on a
// thread of its own, and the map's playback buttons.
#pragma once

#include "library/system/event.h"

namespace vyr {

struct UiObject;

// Prepares the map screen for the briefing of `script` (none: no briefing) and starts it.
void do_briefing(const char* script);

void toggle_briefing_subtitles(UiObject* object, Event& event);
void briefing_takeoff(UiObject* object, Event& event);
void briefing_start(UiObject* object, Event& event);
void briefing_back(UiObject* object, Event& event);
void briefing_forward(UiObject* object, Event& event);
void briefing_end(UiObject* object, Event& event);
void toggle_subtitles_size(UiObject* object, Event& event);
void scroll_subtitles(UiObject* object, Event& event);

}  // namespace vyr
