// The mission map screen: one canvas over the whole display with the boxes and buttons of
// planning, briefing and debrief, built once with the menus and kept for the run.
#pragma once

#include "library/system/event.h"

namespace vyr {

struct UiObject;

extern UiObject* map_screen;
extern UiObject* map_exit_button;
extern UiObject* debrief_exit_button;
extern UiObject* map_tool_box;
extern UiObject* map_remote_message;
extern UiObject* waypoint_tool_box;
extern UiObject* map_3d_view;
extern UiObject* map_3d_graphic;
extern UiObject* map_sprite;
extern UiObject* met_box;
extern UiObject* point_data_box;
extern UiObject* point_data_text;
extern UiObject* briefing_playback[4];  // "<<", "<", ">", ">>"
extern UiObject* briefing_button;
extern UiObject* briefing_takeoff_button;
extern UiObject* subtitles_box;
extern UiObject* subtitles_title;
extern UiObject* subtitles_text;
extern UiObject* subtitles_scrollbar;
extern UiObject* log_box;
extern UiObject* log_retry_button;

// The canvas under the front end's root, its boxes and the two exit buttons.
void create_map_screen();
// The map's view, layers and boxes, in their stacking order.
void build_map_boxes(UiObject* map);

void close_map_screen(UiObject* object, Event& event);
void close_debrief_map(UiObject* object, Event& event);

// The subtitles' title and text, the text scrolled to its top with its scroll bar following.
void set_map_subtitles(const char* title, const char* text);
// Fades out and pushes the map screen; returns once it is up with display updates resumed and
// faded in.
void show_map_screen();

// The Met Box's wind and weather from the mission.
void update_met_box();

// The Waypoint Tool Box's forty waypoint buttons, "Ins" and "Del".
constexpr int MAP_WAYPOINT_BUTTONS = 40;
void show_waypoint_button(int i, int on);
void set_waypoint_button_state(int i, int state);
void set_waypoint_button_label(int i, char letter);
void show_waypoint_insert_delete(int insert, int remove);

// Back to the player after a linked set-up: the tool box (with the planner on), "Takeoff" and
// "Exit" shown, the remote message hidden.
void return_map_screen_to_local_control();

}  // namespace vyr
