#include "source/menus/maps/map_layers.h"

#include <cstring>
#include <string>

#include "library/3dvisual/plan_map.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/font.h"
#include "library/graphics/palette.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/plot_poly.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/system/exit.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/ui/repaint.h"
#include "library/ui/setattr.h"
#include "library/ui/window.h"
#include "source/avionics/landing_aid.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/menus/debrief/debrief.h"
#include "source/menus/front_end.h"
#include "source/menus/maps/map_key.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/maps/map_tools.h"
#include "source/menus/maps/map_view.h"
#include "source/menus/maps/waypoint_tool.h"
#include "source/mission/mission_data.h"

namespace vyr {

Screen* ground_layer = nullptr;
Screen* overlay_layer = nullptr;
Screen* route_layer = nullptr;
Screen* composite_a = nullptr;
Screen* composite_b = nullptr;
MapLayerState ground_state, overlay_state, route_state;

namespace {

constexpr uint32_t LAYER_THREAD_PRIORITY = 1000;
constexpr int ROUTE_SETTLE_UNITS = 20;  // edits in quick succession make one redraw
constexpr uint32_t UNDRAWN_GROUND_PATTERN = 0x12345678;
constexpr PlanMapOptions GROUND_OPTIONS = {250, PLAN_MAP_YIELD | PLAN_MAP_TERRAIN | PLAN_MAP_OUTLINES |
                                                    PLAN_MAP_DYNAMIC_OBJECTS};
constexpr int FLOWN_PATH_COLOUR = 245;
constexpr int WEDGE_COLOUR = 1, DESTROY_POINT_COLOUR = 1;
constexpr int GRID_COLOUR = 203, ROSE_COLOUR = 251, AIRFIELD_NAME_COLOUR = 251;
constexpr int ALLIED_COLOUR = 205, ENEMY_COLOUR = 206;
constexpr int32_t WORLD_SIZE = 0x10000000;
constexpr int32_t KM = 839895, TEN_KM = 8398950;
constexpr int32_t FINE_GRID_SCALE = 41994;
constexpr int32_t WEDGE_LENGTH = 18665472;  // 12 nautical miles
constexpr int32_t SIDE_CIRCLE_STEP = 2048000;
constexpr int32_t SIDE_CIRCLE_OFFSET = 1 << 20;
constexpr int TILE_SHIFT = 22;
constexpr int32_t DESTROY_POINT_RADIUS = 10000;
constexpr uint32_t ONE_DEGREE = 11930465;
constexpr int NAME_CHARACTER_WIDTH = 6;

Sprite overlay_sprite = {};
Sprite route_sprite = {};
bool ground_yield_first = false;
bool composite_b_has_routes = false;

Screen* create_map_layer(int width, int height) {
    Screen* screen = create_screen(width, height);
    select_screen(screen);
    clear_screen(0);
    return screen;
}

void copy_layer(Screen* from, Screen* to) {
    select_screen(to);
    blit_opaque(0, 0, from->width, from->height, from->pixels, from->row_pad);
}

void draw_layer_over(const Sprite& sprite, Screen* to) {
    select_screen(to);
    blit_transparent(0, 0, sprite.width, sprite.height, sprite.pixels, 0);
}

bool map_visible() { return map_screen && map_screen->visible; }

void invalidate_map() {
    if (map_screen) invalidate_ui_object(map_screen, 0);
}

// A layer finished drawing: taken into the composite once the others are idle too.
void finish_layer(MapLayerState& state) {
    if (state.request != 1) return;  // asked again meanwhile: drawn again
    state.request = 0;
    state.changed = 1;
    if (ground_state.request != 1 && overlay_state.request != 1 && route_state.request != 1) {
        invalidate_map();
        update_map_pointer();
    }
}

void wait_for_request(MapLayerState& state) {
    wait_for_flag(&state.request);
    while (!state.request || !map_visible()) {
        if (state.request && map_screen) wait_for_flag_nested(&map_screen->visible);
        yield_thread();
        wait_for_flag(&state.request);
    }
}

void run_ground_layer() {
    for (;;) {
        wait_for_request(ground_state);
        draw_ground_layer();
    }
}

void run_overlay_layer() {
    for (;;) {
        wait_for_request(overlay_state);
        draw_overlay_tiles();
    }
}

void run_route_layer() {
    for (;;) {
        wait_for_request(route_state);
        route_state.request = 1;
        sleep_thread(ROUTE_SETTLE_UNITS);
        if (route_state.request != 1 || ground_state.request == 1 || overlay_state.request == 1) continue;
        draw_route_layer();
    }
}

uint32_t heading_degrees(uint32_t angle) { return angle / ONE_DEGREE; }

// The beacon whose runway lies nearest the wind, the first of equals; null for none.
const IlsBeacon* active_runway(const Airfield& airfield) {
    const int wind = int(heading_degrees(wind_direction));
    const IlsBeacon* best = nullptr;
    int best_difference = 361;
    for (const IlsBeacon& beacon : airfield.beacons) {
        if (!beacon.type) continue;
        int difference = std::abs(int(heading_degrees(beacon.runway_heading)) - wind);
        if (difference > 180) difference = 360 - difference;
        if (difference < best_difference) {
            best_difference = difference;
            best = &beacon;
        }
    }
    return best;
}

// The approach wedge: from the runway, eleven points a degree apart twelve miles out on the
// side opposite the quadrant's bearing.
void draw_approach_wedge(const IlsBeacon& beacon) {
    const int heading = int(heading_degrees(beacon.runway_heading));
    const int first = heading >= 46 && heading <= 135    ? 85
                      : heading >= 136 && heading <= 225 ? 175
                      : heading >= 226 && heading <= 315 ? 265
                                                         : 355;
    PolyVertex corners[12] = {};
    corners[0].x = beacon.x;
    corners[0].y = beacon.y;
    for (int k = 0; k < 11; ++k) {
        const uint32_t opposite = uint32_t(first + k) * ONE_DEGREE + 0x80000000u;
        corners[k + 1].x = beacon.x + mul31(WEDGE_LENGTH, lookup_sin(opposite));
        corners[k + 1].y = beacon.y + mul31(WEDGE_LENGTH, lookup_cos(opposite));
    }
    for (int k = 0; k < 11; ++k) corners[k].next = &corners[k + 1];
    fill_plot_poly_stipple(corners, WEDGE_COLOUR);
}

bool airfield_shown(const Airfield& airfield) {
    return airfield.in_use && get_cell_side(airfield.x, airfield.y) != SIDE_ENEMY;
}

void draw_airfield_name(const Airfield& airfield) {
    place_text_at_plot_point(airfield.x, airfield.y);
    text_x -= int32_t(std::strlen(airfield.name)) * NAME_CHARACTER_WIDTH / 2;
    text_y -= font_large.height / 2;
    select_font(&font_large);
    text_colour = AIRFIELD_NAME_COLOUR;
    draw_text(airfield.name);
}

void draw_grid(int32_t step) {
    for (int64_t at = 0; at <= WORLD_SIZE; at += step) {
        draw_plot_line(int32_t(at), 0, int32_t(at), WORLD_SIZE, GRID_COLOUR);
        draw_plot_line(0, int32_t(at), WORLD_SIZE, int32_t(at), GRID_COLOUR);
    }
}

void draw_compass_rose() {
    PlotWindow map_plot;
    save_plot(map_plot);
    const int size = display_width() / 4;
    set_plot(display_width() - size, display_height() - size, size, size, -51200, -51200, 51200, 51200);
    set_plot_rotation(map_view.rotation);
    draw_plot_circle(0, 0, 10240, ROSE_COLOUR);
    draw_plot_line(0, -12800, 0, 51200, ROSE_COLOUR);
    draw_plot_line(-12800, 0, 12800, 0, ROSE_COLOUR);
    restore_plot(map_plot);
}

void draw_side_circles(int i, int j, int side, int colour) {
    if (get_cell_side(int32_t(i) << TILE_SHIFT, int32_t(j) << TILE_SHIFT) != side) return;
    const int32_t centre_x = (int32_t(i) << TILE_SHIFT) + (1 << (TILE_SHIFT - 1));
    const int32_t centre_y = (int32_t(j) << TILE_SHIFT) + (1 << (TILE_SHIFT - 1));
    const int32_t radius = SIDE_CIRCLE_STEP * (get_front_line_distance(centre_x, centre_y) + 1);
    for (int32_t dx : {-SIDE_CIRCLE_OFFSET, SIDE_CIRCLE_OFFSET})
        for (int32_t dy : {-SIDE_CIRCLE_OFFSET, SIDE_CIRCLE_OFFSET})
            fill_plot_circle_sparse(centre_x + dx, centre_y + dy, radius, colour);
}

// One pass over the tiles; false when a new request came in meanwhile.
template <typename Draw>
bool each_tile(Draw draw) {
    for (int i = 0; i < GAMEPLAY_GRID_SIZE; ++i)
        for (int j = 0; j < GAMEPLAY_GRID_SIZE; ++j) {
            draw(i, j);
            yield_if_due();
            if (overlay_state.request != 1) return false;
        }
    return true;
}

}  // namespace

void create_map_layers() {
    const int width = display_width(), height = display_height();
    ground_layer = create_map_layer(width, height);
    overlay_layer = create_map_layer(width, height);
    route_layer = create_map_layer(width, height);
    composite_a = create_map_layer(width, height);
    composite_b = create_map_layer(width, height);
    select_screen(nullptr);
    overlay_sprite = {width, height, 0, 0, overlay_layer->pixels};
    route_sprite = {width, height, 0, 0, route_layer->pixels};
    add_exit_handler(free_map_layers);
    route_state.request = 0;
    route_state.changed = 0;
    composite_b_has_routes = false;
    const struct {
        const char* name;
        ThreadProcedure procedure;
        uint32_t priority;
    } threads[] = {{"Map Ground Draw", run_ground_layer, LAYER_THREAD_PRIORITY},
                   {"Map Overlay Draw", run_overlay_layer, LAYER_THREAD_PRIORITY},
                   {"Map Waypoint Draw", run_route_layer, LAYER_THREAD_PRIORITY},
                   {"Point Data", run_point_data, 10},
                   {"3D View", run_3d_view, 10000}};
    for (const auto& thread : threads) set_thread_priority_by_id(create_thread(thread.name, thread.procedure), thread.priority);
}

void free_map_layers() {
    for (Screen** screen : {&ground_layer, &overlay_layer, &route_layer, &composite_a, &composite_b}) {
        if (*screen) destroy_screen(*screen);
        *screen = nullptr;
    }
    overlay_sprite.pixels = route_sprite.pixels = nullptr;
}

void redraw_map() {
    request_ground_layer();
    redraw_overlay_layer();
    refresh_map_screen();
    update_map_pointer();
    invalidate_map();
}

void request_ground_layer() {
    if (!ground_layer) return;
    select_screen(ground_layer);
    for (int y = 0; y < ground_layer->height; ++y) {
        const int turn = (y % 4) * 8;
        const uint32_t pattern = turn ? UNDRAWN_GROUND_PATTERN >> turn | UNDRAWN_GROUND_PATTERN << (32 - turn)
                                      : UNDRAWN_GROUND_PATTERN;
        fill_rect(pattern, 0, y, ground_layer->width, 1);
    }
    select_screen(nullptr);
    ground_yield_first = true;
    ground_state.request = 2;
    ground_state.changed = 0;
    update_map_pointer();
}

void redraw_overlay_layer() {
    if (!overlay_layer) return;
    select_screen(overlay_layer);
    clear_screen(0);
    setup_map_plot();
    for (int a = 0; a < get_airfield_count(); ++a) {
        const Airfield& airfield = airfield_table[a];
        if (!airfield_shown(airfield)) continue;
        if (map_keys[KEY_ILS_BEACON])
            if (const IlsBeacon* beacon = active_runway(airfield)) draw_approach_wedge(*beacon);
    }
    if (map_keys[KEY_AIRFIELD_NAMES])
        for (int a = 0; a < get_airfield_count(); ++a)
            if (airfield_shown(airfield_table[a])) draw_airfield_name(airfield_table[a]);
    if (map_keys[KEY_GRID_LINES]) {
        if (map_view.scale < FINE_GRID_SCALE) draw_grid(KM);
        if (map_view.scale < MAP_SCALE_MAX) draw_grid(TEN_KM);
    }
    if (map_keys[KEY_COMPASS_ROSE]) draw_compass_rose();
    select_screen(nullptr);
    overlay_state.request = 2;
    overlay_state.changed = 0;
    update_map_pointer();
}

void refresh_map_screen() {
    if (!route_layer) return;
    if (composite_b_has_routes) {
        copy_layer(composite_a, composite_b);
        composite_b_has_routes = false;
    }
    select_screen(route_layer);
    clear_screen(0);
    select_screen(nullptr);
    route_state.request = 2;
    update_map_pointer();
    invalidate_map();
}

void update_map_pointer() {
    if (!map_screen) return;
    PointerShape* shape = pointer_arrow;
    if (ground_state.request || overlay_state.request || route_state.request)
        shape = pointer_wait;
    else if (map_tool == MAP_TOOL_ZOOM)
        shape = pointer_zoom;
    else if (map_tool == MAP_TOOL_ROTATE)
        shape = pointer_rotate;
    else if (map_tool == MAP_TOOL_WAYPOINT)
        shape = pointer_waypoint;
    set_ui_pointer(map_screen, shape);
}

void draw_ground_layer() {
    ground_state.request = 1;
    set_plan_map_options(&GROUND_OPTIONS);
    select_screen(ground_layer);
    setup_map_plot();
    if (ground_yield_first) {
        ground_yield_first = false;
        yield_thread();
    }
    draw_plan_map();
    finish_layer(ground_state);
}

void draw_overlay_tiles() {
    overlay_state.request = 1;
    select_screen(overlay_layer);
    setup_map_plot();
    const bool sides = map_keys[KEY_SIDES] != 0;
    if (sides && !each_tile([](int i, int j) { draw_side_circles(i, j, SIDE_ALLIED, ALLIED_COLOUR); })) return;
    if (!each_tile([sides](int i, int j) {
            if (sides) draw_side_circles(i, j, SIDE_ENEMY, ENEMY_COLOUR);
            draw_tile_objects(i, j);
        }))
        return;
    int32_t x, y;
    for (int p = 0; get_destroy_point(p, &x, &y); ++p) draw_plot_circle(x, y, DESTROY_POINT_RADIUS, DESTROY_POINT_COLOUR);
    finish_layer(overlay_state);
}

void draw_route_layer() {
    select_screen(route_layer);
    setup_map_plot();
    clear_screen(0);
    draw_route_list(1);
    draw_flight_path();
    finish_layer(route_state);
}

void draw_map_composite(UiObject* map) {
    if (!composite_a || !composite_b) return;
    Screen* target = get_current_screen();
    const int x0 = clip_x0, y0 = clip_y0, x1 = clip_x1, y1 = clip_y1;
    static const uint8_t RED[3] = {255, 0, 0};
    set_base_palette(RED, FLOWN_PATH_COLOUR, 1, 1);
    if (ground_state.changed || overlay_state.changed) {
        ground_state.changed = overlay_state.changed = 0;
        copy_layer(ground_layer, composite_a);
        draw_layer_over(overlay_sprite, composite_a);
        route_state.changed = 1;
    }
    if (route_state.changed) {
        copy_layer(composite_a, composite_b);
        draw_layer_over(route_sprite, composite_b);
        composite_b_has_routes = true;
        route_state.changed = 0;
    }
    select_screen(target);
    set_clip_rect(x0, y0, x1, y1);
    draw_canvas(map);
    if (route_state.request) {
        PlotWindow saved;
        save_plot(saved);
        setup_map_plot();
        set_plot_screen_rect(map->x0, map->y0, map->x1 - map->x0 + 1, map->y1 - map->y0 + 1);
        set_clip_rect(x0, y0, x1, y1);
        draw_route_list(0);
        restore_plot(saved);
        set_clip_rect(x0, y0, x1, y1);
    }
}

}  // namespace vyr
