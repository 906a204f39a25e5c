#include "source/menus/maps/map_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_palette.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "library/ui/object.h"
#include "library/ui/repaint.h"
#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/menus/maps/map_key.h"
#include "source/menus/maps/map_layers.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/maps/map_view.h"
#include "source/menus/maps/task_box.h"
#include "source/menus/maps/waypoint_tool.h"
#include "source/menus/missions/mission_select.h"
#include "source/mission/mission_data.h"
#include "source/mission/selection.h"
#include "source/weapons/object_types.h"

namespace vyr {

int32_t map_tool = MAP_TOOL_NONE;
std::atomic<int> point_data_update{0};
int32_t point_data_x = 0, point_data_y = 0;
Map3dView map_3d = {MAP_3D_FLY, {{MAP_WORLD_MIDDLE, MAP_WORLD_MIDDLE, 0}, {}}, 0, 0, MAP_WORLD_MIDDLE,
                    MAP_WORLD_MIDDLE, 0, 0};

namespace {

enum MapDrag : int32_t { DRAG_NONE = 0, DRAG_ZOOM = 1, DRAG_TURN = 4, DRAG_CENTRE = 5, DRAG_WAYPOINT = 7 };
enum ToolButton : int32_t {
    BUTTON_BACK = 2,
    BUTTON_FIT = 3,
    BUTTON_KEY = 6,
    BUTTON_MET = 8,
    BUTTON_POINT = 9,
    BUTTON_3D = 17,
    BUTTON_PAY = 18,
    BUTTON_SAVE = 19,
    BUTTON_TASK = 21,
    BUTTON_RESTORE = 28,
};

constexpr uint32_t POINT_DATA_PRIORITY = 10;
constexpr uint32_t VIEW_3D_DRAW_PRIORITY = 1000;
constexpr int VIEW_3D_IDLE_UNITS = 100;
constexpr int32_t TARGET_NEAR = 65536;  // 256 ft: close enough to stay put
constexpr uint32_t PITCH_DOWN = 0xc0000000u;
constexpr uint32_t PITCH_POINT = 0xd5555555u;
constexpr int32_t SAT_HEIGHT = 2560000;
constexpr int32_t POINT_HEIGHT = 256000;
constexpr int32_t POINT_ORBIT_RADIUS = 76800;
constexpr double POINT_ORBIT_RATE = 268435456.0;  // 22.5 degrees a second
constexpr int32_t FLY_HEIGHT = 25600;
constexpr int32_t FLY_SPEED_MAX = 512000;
constexpr int MODE_BUTTON_STEP = 43;
constexpr int MODE_BUTTON_ROW = 17;  // from the window's bottom
constexpr int MODE_BUTTON_ROOM = 18;
constexpr int OPENED_3D_WIDTH = 240, OPENED_3D_HEIGHT = 200;
constexpr int CAMERA_HOT_X = 7, CAMERA_HOT_Y = 4;

int32_t map_drag = DRAG_NONE;
int32_t zoom_press_x = 0, zoom_press_y = 0;
int32_t zoom_scale = 0;
uint32_t turn_start = 0;
int last_3d_width = 0, last_3d_height = 0;

int32_t limit_world(int32_t value) { return std::clamp(value, 0, MAP_WORLD_MAX); }

// The bearing of a world point from the view centre; 0 on the centre's own pixel, whose world point
// lies a fraction of a pixel off the centre in any direction.
uint32_t bearing_from_centre(int32_t x, int32_t y) {
    const double dx = double(x) - map_view.centre_x, dy = double(y) - map_view.centre_y;
    if (std::abs(dx) < map_view.scale && std::abs(dy) < map_view.scale) return 0;
    return uint32_t(int64_t(std::llround(-std::atan2(dy, dx) / M_PI * 2147483647.0)));
}

UiObject* child_with_id(UiObject* parent, UiType type, int id) {
    for (UiObject* child = parent ? parent->first_child : nullptr; child; child = child->next_sibling)
        if (child->type == type && child->id == id) return child;
    return nullptr;
}

void set_radio(UiObject* parent, int id, int state) {
    if (UiObject* radio = child_with_id(parent, UI_RADIO, id)) set_ui_state(radio, state);
}

void show_and_raise(UiObject* box) {
    if (!box) return;
    show_ui_object(box, 1);
    raise_ui_object(box);
}

bool shown(const UiObject* object) { return object && (object->flags & UIF_SHOWN); }

// The compass rose's needle and bar, and the own route's legs, turned by `turn` more than the map.
void show_turn_rubber(uint32_t turn) {
    PlotWindow map_plot;
    save_plot(map_plot);
    const int size = display_width() / 4;
    set_plot(display_width() - size, display_height() - size, size, size, -51200, -51200, 51200, 51200);
    set_plot_rotation(map_view.rotation + turn);
    const int32_t ends[2][4] = {{0, -12800, 0, 51200}, {-12800, 0, 12800, 0}};
    for (int slot = 0; slot < 2; ++slot) {
        int32_t x0, y0, x1, y1;
        project_plot_point(ends[slot][0], ends[slot][1], x0, y0);
        project_plot_point(ends[slot][2], ends[slot][3], x1, y1);
        show_rubber_line(slot, x0, y0, x1, y1);
    }
    restore_plot(map_plot);
    setup_map_plot();
    set_plot_rotation(map_view.rotation + turn);
    draw_route_rubber_lines();
    restore_plot(map_plot);
}

void show_zoom_rubber() {
    const int hw = display_width() / 32, hh = display_height() / 32;
    show_rubber_rect(zoom_press_x - hw, zoom_press_y - hh, zoom_press_x + hw, zoom_press_y + hh);
}

// The box from the press point out to the pointer, at the display's aspect and no smaller than
// the click's box; the scale it would give.
void follow_zoom_box(int x, int y) {
    const int width = display_width(), height = display_height();
    int hw = std::max(std::abs(x - zoom_press_x), width / 32);
    int hh = std::max(std::abs(y - zoom_press_y), height / 32);
    if (hh * width / height < hw)
        hh = hw * height / width;
    else
        hw = hh * width / height;
    zoom_scale = int32_t(int64_t(map_view.scale) * hw / (width / 2));
    show_rubber_rect(zoom_press_x - hw, zoom_press_y - hh, zoom_press_x + hw, zoom_press_y + hh);
}

void press_map(UiObject* map, Event& event, int32_t x, int32_t y) {
    map_view.pointer_x = x;
    map_view.pointer_y = y;
    set_3d_view_target(x, y);
    switch (map_tool) {
    case MAP_TOOL_ZOOM:
        zoom_press_x = event.x;
        zoom_press_y = event.y;
        zoom_scale = int32_t(int64_t(map_view.scale) * (display_width() / 16) / display_width());
        ui_captured = map;
        show_zoom_rubber();
        map_drag = DRAG_ZOOM;
        break;
    case MAP_TOOL_ROTATE:
        turn_start = bearing_from_centre(x, y);
        ui_captured = map;
        map_drag = DRAG_TURN;
        break;
    case MAP_TOOL_WAYPOINT:
        ui_captured = map;
        notify_map_waypoint(event, x, y);
        map_drag = DRAG_WAYPOINT;
        break;
    default: break;
    }
}

// A move with the button held acts only for the drag its press began on the map.
void drag_map(Event& event, int32_t x, int32_t y) {
    map_view.pointer_x = x;
    map_view.pointer_y = y;
    set_3d_view_target(x, y);
    if (map_drag != map_tool) return;
    switch (map_tool) {
    case MAP_TOOL_ZOOM: follow_zoom_box(event.x, event.y); break;
    case MAP_TOOL_ROTATE: show_turn_rubber(bearing_from_centre(x, y) - turn_start); break;
    case MAP_TOOL_WAYPOINT: notify_map_waypoint(event, x, y); break;
    default: break;
    }
}

void release_map(UiObject* map, Event& event, int32_t x, int32_t y) {
    switch (map_drag) {
    case DRAG_ZOOM: {
        int32_t press_x, press_y;
        map_screen_to_plot(zoom_press_x, zoom_press_y, press_x, press_y);
        hide_rubber_rect();
        push_map_view();
        set_map_view(press_x, press_y, zoom_scale);
        break;
    }
    case DRAG_TURN: {
        const uint32_t turn = bearing_from_centre(x, y) - turn_start;
        hide_rubber_lines();
        set_map_rotation(map_view.rotation + turn);
        break;
    }
    case DRAG_WAYPOINT: notify_map_waypoint(event, x, y); break;
    default: break;
    }
    map_drag = DRAG_NONE;
    if (ui_captured == map) ui_captured = nullptr;
}

void size_3d_view(UiObject* window) {
    int x = 2;
    for (int id = MAP_3D_SAT; id <= MAP_3D_FLY; ++id) {
        UiObject* radio = child_with_id(window, UI_RADIO, id);
        if (!shown(radio)) continue;
        move_ui_object(radio, x, window->y1 - window->y0 - MODE_BUTTON_ROW);
        x += MODE_BUTTON_STEP;
    }
}

void open_3d_view() {
    if (!map_3d_view) return;
    if (Drone* drone = get_selected_drone(); drone && !shown(map_3d_view)) {
        // A drone without a route leaves the camera where it was.
        if (const Waypoint* first = drone->first_waypoint) {
            set_3d_view_eye(first->x, first->y);
            map_3d.target_x = first->x;
            map_3d.target_y = first->y;
        }
    }
    show_ui_object(map_3d_view, 1);
    for (int id = MAP_3D_SAT; id <= MAP_3D_FLY; ++id)
        if (UiObject* radio = child_with_id(map_3d_view, UI_RADIO, id)) show_ui_object(radio, 1);
    resize_ui_object(map_3d_view, OPENED_3D_WIDTH, OPENED_3D_HEIGHT);
    last_3d_width = last_3d_height = 0;
    build_world_palette();
    init_mobile_lists();
    raise_ui_object(map_3d_view);
}

void choose_3d_mode(int mode) {
    map_3d.mode = mode;
    for (int id = MAP_3D_SAT; id <= MAP_3D_FLY; ++id) set_radio(map_3d_view, id, id == mode);
}

// A mode button's press: the map tools' identifiers 1 to 3 are the camera's modes there.
bool is_3d_mode_button(const UiObject* object) { return map_3d_view && object->parent == map_3d_view; }

void append(char* text, size_t size, const char* format, const char* word) {
    const size_t used = std::strlen(text);
    std::snprintf(text + used, size - used, format, word);
}

// The canvas follows a resized window: less the frame, less the mode buttons' row when shown.
void follow_3d_window_size() {
    const int width = map_3d_view->x1 - map_3d_view->x0, height = map_3d_view->y1 - map_3d_view->y0;
    if (width == last_3d_width && height == last_3d_height) return;
    last_3d_width = width;
    last_3d_height = height;
    bool buttons = false;
    for (int id = MAP_3D_SAT; id <= MAP_3D_FLY; ++id) buttons |= shown(child_with_id(map_3d_view, UI_RADIO, id));
    resize_ui_object(map_3d_graphic, std::max(width - 2, 1), std::max(height - 2 - (buttons ? MODE_BUTTON_ROOM : 0), 1));
    resize_ui_screen(map_3d_graphic);
    select_screen(nullptr);
}

void render_3d_frame(double seconds) {
    ViewSettings settings = view_settings;
    settings.sun_heading = 0;
    settings.sun_elevation = int32_t(PITCH_DOWN);
    settings.darkness = 0;
    settings.weather = WEATHER_CLEAR;
    settings.night_vision = 0;
    set_view_settings(&settings);
    move_3d_camera(seconds);
    Screen* canvas = map_3d_graphic->screen;
    select_screen(canvas);
    set_viewport(0, 0, canvas->width, canvas->height);
    render_world(&map_3d.camera);
    select_screen(nullptr);
    invalidate_ui_object(map_3d_graphic, 0);
    setup_map_plot();
    int32_t x, y;
    project_plot_point(map_3d.camera.position.x, map_3d.camera.position.y, x, y);
    move_ui_object(map_sprite, x - CAMERA_HOT_X, y - CAMERA_HOT_Y);
    show_ui_object(map_sprite, 1);
}

}  // namespace

void handle_map_event(UiObject* object, Event& event) {
    if (object == map_3d_view) {
        if (event.type == EV_SIZE) size_3d_view(object);
        return;
    }
    switch (event.type) {
    case EV_DISPLAY:
        if (event.value) build_world_palette();
        return;
    case EV_DRAW: draw_map_composite(object); return;
    case EV_MOUSE_CLICK:
    case EV_MOUSE_MOVE:
    case EV_MOUSE_DBL_CLICK: break;
    default: return;
    }
    setup_map_plot();
    int32_t x, y;
    map_screen_to_plot(event.x - object->x0, event.y - object->y0, x, y);
    if (event.type == EV_MOUSE_CLICK) {
        if (event.value == 2) {
            set_map_centre(x, y);
            map_drag = DRAG_CENTRE;
        } else if (event.value == 1) {
            press_map(object, event, x, y);
        } else {
            release_map(object, event, x, y);
        }
        return;
    }
    if (event.type == EV_MOUSE_DBL_CLICK) {
        if (map_tool == MAP_TOOL_WAYPOINT) notify_map_waypoint(event, x, y);
        return;
    }
    if (event.value == 1) drag_map(event, x, y);
    point_data_x = event.x;
    point_data_y = event.y;
    if (shown(point_data_box)) point_data_update = 1;
    map_view.pointer_x = x;
    map_view.pointer_y = y;
    map_view.pointer_bearing = bearing_from_centre(x, y);
}

void handle_map_tool_button(UiObject* object, Event&) {
    if (is_3d_mode_button(object)) {
        choose_3d_mode(object->id);
        return;
    }
    switch (object->id) {
    case MAP_TOOL_NONE:
    case MAP_TOOL_ZOOM:
    case MAP_TOOL_ROTATE:
        map_tool = object->id;
        if (waypoint_tool_box) show_ui_object(waypoint_tool_box, 0);
        break;
    case MAP_TOOL_WAYPOINT:
        if (get_selected_task() && get_selected_drone()) {
            map_tool = MAP_TOOL_WAYPOINT;
            refresh_waypoint_buttons();
            show_and_raise(waypoint_tool_box);
        } else {
            reset_map_tool();
        }
        break;
    case BUTTON_BACK: pop_map_view(); break;
    case BUTTON_FIT: fit_map_to_routes(); break;
    case BUTTON_KEY: show_and_raise(map_key_box); break;
    case BUTTON_MET:
        update_met_box();
        show_and_raise(met_box);
        break;
    case BUTTON_POINT:
        show_and_raise(point_data_box);
        point_data_update = 1;
        break;
    case BUTTON_3D: open_3d_view(); break;
    case BUTTON_PAY:
        if (map_3d_view) show_ui_object(map_3d_view, 0);
        break;
    case BUTTON_SAVE: save_current_mission(); break;
    case BUTTON_TASK:
        show_and_raise(task_box);
        rebuild_task_box(1);
        break;
    case BUTTON_RESTORE: delete_current_mission(); break;
    default: break;
    }
    update_map_pointer();
}

void reset_map_tool() {
    if (waypoint_tool_box) show_ui_object(waypoint_tool_box, 0);
    for (int id : {MAP_TOOL_ZOOM, MAP_TOOL_ROTATE, MAP_TOOL_WAYPOINT}) set_radio(map_tool_box, id, 0);
    set_radio(map_tool_box, MAP_TOOL_NONE, 1);
    map_tool = MAP_TOOL_NONE;
}

void update_point_data() {
    point_data_update = 2;
    setup_map_plot();
    int32_t x, y;
    map_screen_to_plot(point_data_x, point_data_y, x, y);
    x = limit_world(x);
    y = limit_world(y);
    char text[200];
    std::snprintf(text, sizeof text, "Ground Height: %6d feet\n", get_ground_height(x, y) / 256);
    yield_thread();
    const int side = get_cell_side(x, y);
    append(text, sizeof text, "Teritory: %s\n", side == SIDE_ALLIED ? "Allied" : side == SIDE_ENEMY ? "Enemy" : "Neutral");
    yield_thread();
    const ground_object* nearest = find_nearest_ground_object(x, y);
    append(text, sizeof text, "Object: %s", nearest ? get_object_type_name(nearest->type) : "No Object");
    set_ui_text(point_data_text, text);
    if (point_data_update == 2) point_data_update = 0;
}

void move_3d_camera(double seconds) {
    Vector3& eye = map_3d.camera.position;
    const int64_t dx = int64_t(map_3d.target_x) - eye.x, dy = int64_t(map_3d.target_y) - eye.y;
    const bool near = std::abs(dx) < TARGET_NEAR && std::abs(dy) < TARGET_NEAR;
    switch (map_3d.mode) {
    case MAP_3D_SAT:
        map_3d.pitch = PITCH_DOWN;
        map_3d.heading = 0;
        eye.z = SAT_HEIGHT;
        if (!near) {
            eye.x = map_3d.target_x;
            eye.y = map_3d.target_y;
        }
        break;
    case MAP_3D_POINT: {
        map_3d.pitch = PITCH_POINT;
        map_3d.orbit += uint32_t(int64_t(std::llround(POINT_ORBIT_RATE * seconds)));
        map_3d.heading = PITCH_DOWN - map_3d.orbit;
        const double angle = double(map_3d.orbit) * (2 * M_PI / 4294967296.0);
        eye.x = map_3d.target_x + int32_t(std::lround(POINT_ORBIT_RADIUS * std::cos(angle)));
        eye.y = map_3d.target_y + int32_t(std::lround(POINT_ORBIT_RADIUS * std::sin(angle)));
        eye.z = POINT_HEIGHT;
        break;
    }
    default: {
        map_3d.pitch = 0;
        if (!near) {
            const double distance = std::hypot(double(dx), double(dy));
            map_3d.heading = uint32_t(int64_t(std::llround(std::atan2(double(dx), double(dy)) / M_PI * 2147483648.0)));
            const int32_t wanted = int32_t(std::min(distance, double(FLY_SPEED_MAX)));
            map_3d.speed += std::clamp(wanted - map_3d.speed, -FLY_SPEED_MAX, FLY_SPEED_MAX);
            const double travel = map_3d.speed * seconds;
            if (travel >= distance) {
                eye.x = map_3d.target_x;
                eye.y = map_3d.target_y;
            } else {
                eye.x += int32_t(std::lround(dx / distance * travel));
                eye.y += int32_t(std::lround(dy / distance * travel));
            }
        }
        eye.z = get_ground_height(limit_world(eye.x), limit_world(eye.y)) + FLY_HEIGHT;
        break;
    }
    }
    build_rotation_matrix(map_3d.heading, map_3d.pitch, 0, map_3d.camera.matrix);
}

void set_3d_view_point_mode() { choose_3d_mode(MAP_3D_POINT); }
void set_3d_view_fly_mode() { choose_3d_mode(MAP_3D_FLY); }

void set_3d_view_target(int32_t x, int32_t y) {
    if (map_3d.mode < MAP_3D_SAT || map_3d.mode > MAP_3D_FLY) return;
    map_3d.target_x = x;
    map_3d.target_y = y;
}

void set_3d_view_eye(int32_t x, int32_t y) {
    map_3d.camera.position.x = x;
    map_3d.camera.position.y = y;
}

void run_point_data() {
    for (;;) {
        wait_for_flag(&point_data_update);
        wait_for_flag(nullptr);
        if (point_data_text && point_data_update == 1) update_point_data();
        yield_thread();
    }
}

void run_3d_view() {
    // The map's boxes are made one by one, and making one may let this thread run before the rest.
    while (!map_3d_graphic || !map_3d_graphic->screen || !map_sprite) sleep_thread(VIEW_3D_IDLE_UNITS);
    for (;;) {
        show_ui_object(map_sprite, 0);
        while (!map_3d_graphic->visible) sleep_thread(VIEW_3D_IDLE_UNITS);
        // The theatre may have changed, or a flight taken the world down, since the view last showed.
        set_thread_priority(VIEW_3D_DRAW_PRIORITY);
        set_view_settings(&view_settings);
        init_world(&world_settings);
        int last = read_clock();
        while (map_3d_graphic->visible) {
            const int now = read_clock();
            const int ticks = std::clamp(now - last, 1, 200);
            last = now;
            follow_3d_window_size();
            render_3d_frame(std::min(ticks * 0.005, 0.5));
            yield_thread();
        }
    }
}

}  // namespace vyr
