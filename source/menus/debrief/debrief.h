// The debrief of a single-player mission: the flight judged from its records, the goals and the
// way it ended; the verdict and its reasons on the map; the flight logged, rewarded and the
// campaign moved on.
#pragma once

#include <cstdint>

#include "library/system/event.h"

namespace vyr {

struct UiObject;

// Results of a debrief.
constexpr int DEBRIEF_FAILURE = 2;
constexpr int DEBRIEF_SUCCESS = 3;
constexpr int DEBRIEF_OUTSTANDING = 4;

// What became of the pilot.
enum PilotFate : int32_t {
    FATE_UNHURT = 0,
    FATE_MISSING = 1,
    FATE_CAPTURED = 2,
    FATE_INJURED = 3,
    FATE_KILLED = 4,
    FATE_ESCAPED = 5,
};

// Object numbers 0..1238 are counted; each counts under its group's number (0: never counted).
constexpr int DEBRIEF_OBJECTS = 1239;
extern int32_t object_group[DEBRIEF_OBJECTS];

constexpr int DEBRIEF_TEXT_SIZE = 2048;

// The last debrief's verdict (DEBRIEF_*), the pilot's fate and the judging's lines, each after a
// line feed.
extern int32_t debrief_result;
extern int32_t pilot_fate;
extern char debrief_text[DEBRIEF_TEXT_SIZE];
// The rest of the last debrief, which logging reads.
struct DebriefState {
    int32_t assessment_result;  // the result as the goals left it: whether the FAILURE text shows
    int32_t loss_state;         // 2 when the aircraft, a prohibited target or the landing failed it
    int32_t flight_time;        // ticks
    int32_t died, aborted, away_from_landing_point, over_enemy_ground;
    int32_t front_line_distance;
    int32_t failure_score, success_score, outstanding_score;
    int32_t air_kills, ground_kills, friendly_kills;
};
extern DebriefState debrief;

// The award screens still to show: bit id-1 for the screen with identifier id.
extern int32_t award_bits;

// Front-end set-up: the object groups.
void init_debrief();
// Frees the last flight's event records before a new flight.
void reset_debrief_records();
// The whole debrief after a single-player flight: judged, shown on the map, a result sound.
void show_debrief();
// Judges the recorded flight into the debrief's state (the screens untouched).
void judge_flight();
// The result's title, and the mission's text shown above the judging's lines.
const char* debrief_title();
const char* debrief_mission_text();
// The path flown in the last flight, in colour 245 through the current plot window.
void draw_flight_path();
// Every ground object the flight destroyed stands again, its own object once more.
void restore_destroyed_ground_objects();
// A line built by printf rules, appended after a line feed; dropped when the text would reach
// 2046 characters.
void add_debrief_line(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The FAILURE, SUCCESS and OUTSTANDING texts of the mission opened for the flight (null for
// none), shown under the result; set together by set_debrief_texts.
extern const char* debrief_failure_text;
extern const char* debrief_success_text;
extern const char* debrief_outstanding_text;
void set_debrief_texts(const char* failure, const char* success, const char* outstanding);

// The judged flight into the log: its result (a campaign's level and seed stepped), times,
// counts and the pilot's fate; the log written.
struct PilotLog;
void record_mission_in_log(PilotLog* log);

// The map's debrief exit and back hook: a campaign logs at once, otherwise the log box asks.
// 0: the map stays.
int ask_log_mission();
// The log box's answers: "Yes", "No" and "Retry".
void log_flown_mission(UiObject* object, Event& event);
void skip_logging(UiObject* object, Event& event);
void retry_mission(UiObject* object, Event& event);
// The "Exit" of an award screen; its identifier tells which one: 1 promotion, 2 to 4 the medals.
void close_award_screen(UiObject* object, Event& event);

}  // namespace vyr
