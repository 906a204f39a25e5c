// Stand-in for the debrief: no debrief screen exists yet to show; the flight's records are kept
// until the next one, and an award screen only closes.
#include "source/menus/debrief/debrief.h"

#include "library/ui/screens.h"
#include "source/recorder.h"

namespace vyr {

void reset_debrief_records() { reset_flight_records(); }
void show_debrief() {}
void draw_flight_path() {}
void set_debrief_texts(const char*, const char*, const char*) {}
void close_award_screen(UiObject*, Event&) { pop_screen(); }
void ask_to_log_mission() {}
void log_this_mission(UiObject*, Event&) {}
void do_not_log_mission(UiObject*, Event&) {}
void retry_mission(UiObject*, Event&) {}

}  // namespace vyr
