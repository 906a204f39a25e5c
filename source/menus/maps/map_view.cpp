#include "source/menus/maps/map_view.h"

#include <algorithm>
#include <cstdint>

#include "library/graphics/ddraw.h"
#include "library/graphics/plot.h"
#include "library/ui/object.h"
#include "source/menus/maps/map_layers.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/maps/waypoint_tool.h"
#include "source/mission/game_flow.h"

namespace vyr {

MapView map_view = {MAP_SCALE_MIN, MAP_WORLD_MIDDLE, MAP_WORLD_MIDDLE, 0, 0, 0, 0};
MapZoomEntry map_zoom_stack[MAP_ZOOM_DEPTH] = {};
int32_t map_zoom_depth = 0;

namespace {

// The view's edges are those of the fixed 640 x 480 map.
constexpr int64_t MAP_HALF_WIDTH = 320, MAP_HALF_HEIGHT = 240;
constexpr int64_t MAP_SPAN_MAX = int64_t(1) << 27;
constexpr int32_t AREA_LOW = 0x2000000, AREA_HIGH = 0xe000000;
constexpr int32_t AFGHAN_AREA_LOW = 0x400000, AFGHAN_AREA_HIGH = 0xfc00000;
constexpr int64_t WORLD_UNITS_PER_KM = 839895;

int32_t limit_coordinate(int32_t value) { return std::clamp(value, 0, MAP_WORLD_MAX); }

// Moves the centre so that the edges come inside [low, high].
int32_t keep_inside(int32_t centre, int64_t half_span, int32_t low, int32_t high) {
    const int64_t first = centre - half_span, last = centre + half_span;
    int64_t moved = centre;
    if (first < low) moved += low - first;
    if (last > high) moved -= last - high;
    return int32_t(moved);
}

int map_pixel_width() { return map_screen ? map_screen->x1 - map_screen->x0 + 1 : display_width(); }
int map_pixel_height() { return map_screen ? map_screen->y1 - map_screen->y0 + 1 : display_height(); }

}  // namespace

void clamp_map_view() {
    if (MAP_HALF_WIDTH * 2 * map_view.scale > MAP_SPAN_MAX) map_view.scale = MAP_SCALE_SHOWN_MAX;
    const bool afghan = get_war_zone() == WAR_ZONE_AFGHAN;
    const int32_t low = afghan ? AFGHAN_AREA_LOW : AREA_LOW, high = afghan ? AFGHAN_AREA_HIGH : AREA_HIGH;
    map_view.centre_x = keep_inside(map_view.centre_x, MAP_HALF_WIDTH * map_view.scale, low, high);
    map_view.centre_y = keep_inside(map_view.centre_y, MAP_HALF_HEIGHT * map_view.scale, low, high);
}

void set_map_view(int32_t x, int32_t y, int32_t scale) {
    map_view.centre_x = limit_coordinate(x);
    map_view.centre_y = limit_coordinate(y);
    map_view.scale = std::clamp(scale, MAP_SCALE_MIN, MAP_SCALE_MAX);
    clamp_map_view();
    redraw_map();
}

void set_map_view_rotated(int32_t x, int32_t y, int32_t scale, uint32_t rotation) {
    map_view.rotation = rotation;
    set_map_view(x, y, scale);
}

void set_map_centre(int32_t x, int32_t y) { set_map_view(x, y, map_view.scale); }

void set_map_rotation(uint32_t rotation) {
    map_view.rotation = rotation;
    clamp_map_view();
    redraw_map();
}

void push_map_view() {
    clamp_map_view();
    if (map_zoom_depth >= MAP_ZOOM_DEPTH) return;
    map_zoom_stack[map_zoom_depth++] = {map_view.centre_x, map_view.centre_y, map_view.scale, map_view.rotation};
}

void pop_map_view() {
    if (map_zoom_depth == 0) {
        set_map_view_rotated(MAP_WORLD_MIDDLE, MAP_WORLD_MIDDLE, MAP_SCALE_MAX, 0);
        return;
    }
    const MapZoomEntry& entry = map_zoom_stack[--map_zoom_depth];
    set_map_view_rotated(entry.centre_x, entry.centre_y, entry.scale, entry.rotation);
}

void clear_map_zoom_stack() { map_zoom_depth = 0; }

void fit_map_to_routes() {
    int32_t x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
    for (int i = 0; i < ROUTE_DRAW_LIST_SIZE && route_draw_list[i].kind != ROUTE_END; ++i) {
        const RouteDrawEntry& entry = route_draw_list[i];
        if (entry.kind != ROUTE_MOVE && entry.kind != ROUTE_LINE) continue;
        x0 = std::min(x0, entry.x);
        y0 = std::min(y0, entry.y);
        x1 = std::max(x1, entry.x);
        y1 = std::max(y1, entry.y);
    }
    clear_map_zoom_stack();
    if (x0 > x1) {  // no route: the whole theatre, as "Back" shows it
        set_map_view_rotated(MAP_WORLD_MIDDLE, MAP_WORLD_MIDDLE, MAP_SCALE_MAX, 0);
        return;
    }
    const int64_t width = int64_t(x1) - x0, height = int64_t(y1) - y0;
    const int64_t scale = std::max(width / display_width() * 150 / 100, height / display_height() * 150 / 100);
    set_map_view_rotated(int32_t((int64_t(x0) + x1) / 2), int32_t((int64_t(y0) + y1) / 2),
                         int32_t(std::min<int64_t>(scale, MAP_SCALE_MAX)), 0);
}

void setup_map_plot() {
    const int width = map_pixel_width(), height = map_pixel_height();
    const int64_t half_x = int64_t(width) * map_view.scale / 2, half_y = int64_t(height) * map_view.scale / 2;
    set_plot(0, 0, width, height, int32_t(map_view.centre_x - half_x), int32_t(map_view.centre_y - half_y),
             int32_t(map_view.centre_x + half_x), int32_t(map_view.centre_y + half_y));
    set_plot_rotation(map_view.rotation);
    set_plot_offset(0, 0);
}

int32_t metres_to_world(int32_t metres) { return int32_t(int64_t(metres) * WORLD_UNITS_PER_KM / 1000); }
// Rounded so that whole metres come back unchanged, but never past the world's last whole metre,
// whose rounding up would name a point outside the world.
int32_t world_to_metres(int32_t world) {
    constexpr int64_t LAST_METRE = int64_t(MAP_WORLD_MAX) * 1000 / WORLD_UNITS_PER_KM;
    return int32_t(std::min((int64_t(world) * 1000 + 128000) / WORLD_UNITS_PER_KM, LAST_METRE));
}

}  // namespace vyr
