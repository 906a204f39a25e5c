// Stand-in for the debrief: no debrief screen exists yet to show; the flight's records are kept
// until the next one, and an award screen only closes.
#include "source/menus/debrief/debrief.h"

#include "library/ui/screens.h"
#include "source/recorder.h"

namespace vyr {

const char* debrief_failure_text = nullptr;
const char* debrief_success_text = nullptr;
const char* debrief_outstanding_text = nullptr;

void reset_debrief_records() { reset_flight_records(); }
void show_debrief() {}
void draw_flight_path() {}
void set_debrief_texts(const char* failure, const char* success, const char* outstanding) {
    debrief_failure_text = failure;
    debrief_success_text = success;
    debrief_outstanding_text = outstanding;
}
void close_award_screen(UiObject*, Event&) { pop_screen(); }
void ask_to_log_mission() {}
void log_this_mission(UiObject*, Event&) {}
void do_not_log_mission(UiObject*, Event&) {}
void retry_mission(UiObject*, Event&) {}

}  // namespace vyr
