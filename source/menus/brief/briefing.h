// The briefing of a mission on the map: its script's subtitles and timed steps, played on a
// thread of its own, and the map's playback buttons.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "library/system/event.h"

namespace vyr {

struct UiObject;

enum BriefingKind : int32_t {
    BRIEF_TEXT = 1,  // text: the subtitle chunk; value 0: its offset in "Subtitles Text"
    BRIEF_TRACK,     // text: the section title, empty for none
    BRIEF_SPEECH,    // value 0: the number
    BRIEF_SYNC,      // value 0: tenths of a second since the last TRACK or RESYNC
    BRIEF_RESYNC,
    BRIEF_ZOOM,
    BRIEF_FIT,
    BRIEF_FLY,     // values: start x, start y, end x, end y
    BRIEF_ROTATE,  // values: x, y
    BRIEF_KEY,     // values: the three fields
    BRIEF_NO3D,
    BRIEF_PAY,
    BRIEF_NOPAY,
};

struct BriefingEntry {
    int32_t kind = 0;
    int32_t value[4] = {};
    std::string text;
};

constexpr int MAX_BRIEFING_ENTRIES = 128;
// Longer commands are cut to this many characters.
constexpr int MAX_BRIEFING_COMMAND = 99;

extern BriefingEntry briefing_entries[MAX_BRIEFING_ENTRIES];
extern int32_t briefing_entry_count;
// The next entry the player carries out; -1 before the start.
extern int32_t briefing_position;
// The player walks the table while it is 1.
extern std::atomic<int> briefing_running;
// The clock when the last TRACK or RESYNC ran.
extern int32_t briefing_time;

// Prepares the map screen for the briefing of `script` (none: no briefing) and starts it.
void do_briefing(const char* script);

// Frees the entries' texts, empties the table and "Subtitles Text"; the player keeps running.
void reset_briefing();
// Text between commands becomes subtitle chunks, each "{...}" one command. Entries past the
// table's size are dropped.
void split_briefing_text(const char* script);
void add_briefing_text(const std::string& chunk);
// One command; an unknown keyword is fatal. FLY and ROTATE naming no waypoint of the selected
// route add nothing.
void parse_briefing(const char* command);
// From the first entry, the subtitles shown and the tool box hidden.
void restart_briefing();

// The player's thread, made once with the front end; it sleeps until the first briefing.
void start_briefing_player();
void run_briefing_commands();
// One step of the player: the entry at the position, or the end of the table.
void play_briefing_step();

// The 3D view window moved to the spot of the map farthest from what the briefing shows.
void place_3d_view_window();
void clear_view_avoid_lists();
void add_view_avoid_point(int32_t x, int32_t y);
void add_view_avoid_segment(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// Avoid points and segments are in map pixels, as stored.
void add_view_avoid_pixel_point(float x, float y);
void add_view_avoid_pixel_segment(float x1, float y1, float x2, float y2);
float distance_to_segment(float px, float py, float x1, float y1, float x2, float y2);

void toggle_briefing_subtitles(UiObject* object, Event& event);
void briefing_takeoff(UiObject* object, Event& event);
void briefing_start(UiObject* object, Event& event);
void briefing_back(UiObject* object, Event& event);
void briefing_forward(UiObject* object, Event& event);
void briefing_end(UiObject* object, Event& event);
void toggle_subtitles_size(UiObject* object, Event& event);
void scroll_subtitles(UiObject* object, Event& event);

}  // namespace vyr
