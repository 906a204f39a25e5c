// The debrief of a single-player mission.
#pragma once

namespace vyr {

// Frees the last flight's event records before a new flight.
void reset_debrief_records();
// The result, the kill lists, the reasons and the log question.
void show_debrief();
// The FAILURE, SUCCESS and OUTSTANDING texts of the mission opened for the flight (null for
// none), shown under the result.
extern const char* debrief_failure_text;
extern const char* debrief_success_text;
extern const char* debrief_outstanding_text;

struct UiObject;
struct Event;
// The "Exit" of an award screen; its identifier tells which one: 1 promotion, 2 to 4 the medals.
void close_award_screen(UiObject* object, Event& event);

}  // namespace vyr
