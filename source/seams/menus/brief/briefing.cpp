// Stand-in for the briefing player: opening a mission readies the map's boxes as a briefing does,
// but no script is played yet.
#include "source/menus/brief/briefing.h"

#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/menus/debrief/debrief.h"
#include "source/menus/maps/map_key.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/maps/map_tools.h"
#include "source/menus/maps/task_box.h"
#include "source/menus/prefs_screens.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"

namespace vyr {

void do_briefing(const char*) {
    if (!map_screen) return;  // a mission opened without the menus built (a test's)
    set_ui_text(briefing_button, "Briefing");
    for (UiObject* box : {map_key_box, map_tool_box, waypoint_tool_box, map_3d_view, task_box, met_box, point_data_box,
                          log_box, log_retry_button})
        if (box) show_ui_object(box, 0);
    reset_map_tool();
    reset_debrief_records();
    show_ui_object(briefing_button, 1);
    if (game_mode == GAME_SINGLE) {
        show_ui_object(briefing_takeoff_button, 1);
        show_ui_object(map_tool_box, mission_planner != 0);
    } else {
        show_ui_object(map_tool_box, 0);
        show_ui_object(briefing_takeoff_button, two_player_position == 1);
    }
}

void toggle_briefing_subtitles(UiObject*, Event&) {}
void briefing_takeoff(UiObject*, Event&) {}
void briefing_start(UiObject*, Event&) {}
void briefing_back(UiObject*, Event&) {}
void briefing_forward(UiObject*, Event&) {}
void briefing_end(UiObject*, Event&) {}
void toggle_subtitles_size(UiObject*, Event&) {}
void scroll_subtitles(UiObject*, Event&) {}

}  // namespace vyr
