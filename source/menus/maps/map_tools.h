// What the player does on the mission map: the tool box's buttons, the current tool, the pointer
// on the map, the point data box and the 3D view.
#pragma once

#include <atomic>
#include <cstdint>

#include "library/maths/matrix.h"
#include "library/system/event.h"

namespace vyr {

struct UiObject;

enum MapTool : int32_t { MAP_TOOL_NONE = 0, MAP_TOOL_ZOOM = 1, MAP_TOOL_ROTATE = 4, MAP_TOOL_WAYPOINT = 7 };
extern int32_t map_tool;

// The map canvas's notify for every event.
void handle_map_event(UiObject* object, Event& event);
// The tool box's buttons, by identifier.
void handle_map_tool_button(UiObject* object, Event& event);
// No tool, the waypoint box hidden.
void reset_map_tool();

// The point data box follows the pointer's display position while an update is wanted (0 idle,
// 1 wanted, 2 being written).
extern std::atomic<int> point_data_update;
extern int32_t point_data_x, point_data_y;
// One pass of the "Point Data" thread: the ground, territory and object under the pointer.
void update_point_data();

enum Map3dMode : int32_t { MAP_3D_SAT = 1, MAP_3D_POINT = 2, MAP_3D_FLY = 3 };
struct Map3dView {
    int32_t mode;
    Pose camera;
    uint32_t heading, pitch;
    int32_t target_x, target_y;
    uint32_t orbit;
    int32_t speed;  // world units a second
};
extern Map3dView map_3d;
// One frame of the camera's motion over `seconds`, its orientation rebuilt.
void move_3d_camera(double seconds);

// The 3D view as the briefing steers it.
void set_3d_view_point_mode();
void set_3d_view_fly_mode();
void set_3d_view_target(int32_t x, int32_t y);
void set_3d_view_eye(int32_t x, int32_t y);

// The bodies of the "Point Data" and "3D View" threads.
void run_point_data();
void run_3d_view();

}  // namespace vyr
