// Stand-in for the waypoint tool and its information box, which are not built yet: the routes
// are drawn, not edited.
#include "source/menus/maps/waypoint_tool.h"

namespace vyr {

void draw_route_rubber_lines() {}
void notify_map_waypoint(Event&, int32_t, int32_t) {}
void refresh_waypoint_buttons() {}
void refresh_waypoint_info() {}
void create_waypoint_info_box(UiObject*) {}
void insert_map_waypoint(UiObject*, Event&) {}
void delete_map_waypoint(UiObject*, Event&) {}
void toggle_waypoint_info(UiObject*, Event&) {}
void choose_map_waypoint(UiObject*, Event&) {}

}  // namespace vyr
