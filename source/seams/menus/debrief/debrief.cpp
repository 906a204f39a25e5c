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
void close_award_screen(UiObject*, Event&) { pop_screen(); }

}  // namespace vyr
