// Stand-in for the map's tools, pointer events, point data and 3D view, which are not built yet:
// the map only shows.
#include "source/menus/maps/map_tools.h"

namespace vyr {

int32_t map_tool = MAP_TOOL_NONE;

void handle_map_tool_button(UiObject*, Event&) {}
void reset_map_tool() { map_tool = MAP_TOOL_NONE; }
void set_3d_view_point_mode() {}
void set_3d_view_fly_mode() {}
void set_3d_view_target(int32_t, int32_t) {}
void set_3d_view_eye(int32_t, int32_t) {}
void run_point_data() {}
void run_3d_view() {}

}  // namespace vyr
