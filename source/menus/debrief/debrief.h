// The debrief of a single-player mission.
#pragma once

namespace vyr {

// Frees the last flight's event records before a new flight.
void reset_debrief_records();
// The result, the kill lists, the reasons and the log question.
void show_debrief();
// The path flown in the last flight, in colour 245 through the current plot window.
void draw_flight_path();
// The FAILURE, SUCCESS and OUTSTANDING texts of the mission opened for the flight (null for
// none), shown under the result; set together by set_debrief_texts.
extern const char* debrief_failure_text;
extern const char* debrief_success_text;
extern const char* debrief_outstanding_text;
void set_debrief_texts(const char* failure, const char* success, const char* outstanding);

struct UiObject;
struct Event;
// The "Exit" of an award screen; its identifier tells which one: 1 promotion, 2 to 4 the medals.
void close_award_screen(UiObject* object, Event& event);
// The map's debrief exit in a single-player game: the question whether to log the mission.
void ask_to_log_mission();
// The log box's answers.
void log_this_mission(UiObject* object, Event& event);
void do_not_log_mission(UiObject* object, Event& event);
void retry_mission(UiObject* object, Event& event);

}  // namespace vyr
