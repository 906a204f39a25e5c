#include "source/menus/maps/waypoint_tool.h"

#include <cmath>

#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/line.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/plot_poly.h"
#include "library/maths/trig.h"
#include "library/maths/vector.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/menus/front_end.h"
#include "source/menus/maps/map_key.h"
#include "source/menus/maps/map_view.h"
#include "source/mission/selection.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"

namespace vyr {

RouteDrawEntry route_draw_list[ROUTE_DRAW_LIST_SIZE] = {};
int32_t route_draw_count = 0;

namespace {

constexpr const char* SOURCE_PATH = "source/menus/maps/waypoint_tool";
constexpr int OWN_ROUTE_COLOUR = 251;
constexpr int OTHER_ROUTE_COLOUR = 248;
constexpr int SHORTENED_END = 8;  // pixels cut off each end of a leg drawn over a stale layer
constexpr int CIRCLE_RADIUS = 8;
constexpr int SQUARE_HALF = 8;

bool is_target_type(const Waypoint* waypoint) {
    const int type = get_waypoint_type(waypoint);
    return type == WAYPOINT_TARGET || type == WAYPOINT_RECON || type == WAYPOINT_MINE_LAY;
}

int route_length(const Drone* drone) {
    int n = 0;
    for (Waypoint* w = drone->first_waypoint; w; w = get_next_waypoint(w)) ++n;
    return n;
}

void add_entry(int32_t kind, int32_t x, int32_t y) {
    if (route_draw_count >= ROUTE_DRAW_LIST_SIZE) return;
    route_draw_list[route_draw_count++] = {kind, x, y};
}

void add_lines(const Drone* drone) {
    for (Waypoint* w = drone->first_waypoint; w; w = get_next_waypoint(w))
        add_entry(w == drone->first_waypoint ? ROUTE_MOVE : ROUTE_LINE, w->x, w->y);
}

void add_symbols(const Drone* drone, bool fills, bool letters) {
    for (Waypoint* w = drone->first_waypoint; w; w = get_next_waypoint(w)) {
        const int kind = w == drone->first_waypoint ? ROUTE_FIRST_OUTLINE
                         : is_target_type(w)        ? ROUTE_TARGET_OUTLINE
                                                    : ROUTE_WAYPOINT_OUTLINE;
        add_entry(fills ? kind + (ROUTE_TARGET_FILL - ROUTE_TARGET_OUTLINE) : kind, w->x, w->y);
        if (letters) add_entry(ROUTE_LETTER, uint8_t(w->letter), 0);
    }
}

Drone* own_route_drone() {
    if (game_mode == GAME_TWO_PLAYER_MISSION || game_mode == GAME_LINKED_MISSION) {
        Task* task = get_first_task();
        Drone* leader = task ? task->first_drone : nullptr;
        if (two_player_position == 1 || !leader) return leader;
        return leader->next;
    }
    return selected_drone;
}

// The drawing state while the list is carried out.
struct RoutePen {
    int mode;
    bool on;
    int colour;
    int32_t x, y;
};

// The world point `pixels` right and up of (x, y) on the display, whatever the map's turn.
void upright_offset(int32_t x, int32_t y, double right, double up, int32_t& out_x, int32_t& out_y) {
    const double angle = -double(map_view.rotation) * (2 * M_PI / 4294967296.0);
    const double dx = right * map_view.scale, dy = up * map_view.scale;
    out_x = int32_t(std::lround(x + dx * std::cos(angle) - dy * std::sin(angle)));
    out_y = int32_t(std::lround(y + dx * std::sin(angle) + dy * std::cos(angle)));
}

// A polygon of corners given in pixels about (x, y), outlined or filled with colour 0.
void draw_symbol(int32_t x, int32_t y, const double (*corners)[2], int count, bool fill, int colour) {
    PolyVertex vertices[4] = {};
    for (int i = 0; i < count; ++i) {
        upright_offset(x, y, corners[i][0], corners[i][1], vertices[i].x, vertices[i].y);
        vertices[i].next = i + 1 < count ? &vertices[i + 1] : nullptr;
    }
    if (fill) {
        fill_plot_poly(vertices, 0);
        return;
    }
    for (int i = 0; i < count; ++i) {
        const PolyVertex& a = vertices[i];
        const PolyVertex& b = vertices[(i + 1) % count];
        draw_plot_line(a.x, a.y, b.x, b.y, colour);
    }
}

const double TRIANGLE[3][2] = {{-10, -20.0 / 3}, {0, 40.0 / 3}, {10, -20.0 / 3}};
const double SQUARE[4][2] = {
    {-SQUARE_HALF, -SQUARE_HALF}, {-SQUARE_HALF, SQUARE_HALF}, {SQUARE_HALF, SQUARE_HALF}, {SQUARE_HALF, -SQUARE_HALF}};

// A leg over a stale layer, shortened at both ends so that it clears the symbols.
void draw_shortened_leg(const RoutePen& pen, int32_t x, int32_t y) {
    int32_t x0, y0, x1, y1;
    project_plot_point(pen.x, pen.y, x0, y0);
    project_plot_point(x, y, x1, y1);
    const double dx = x1 - x0, dy = y1 - y0, length = std::hypot(dx, dy);
    if (length <= SHORTENED_END) return;
    const double ux = dx / length * SHORTENED_END, uy = dy / length * SHORTENED_END;
    draw_line(pen.colour, int(std::lround(x0 + ux)), int(std::lround(y0 + uy)), int(std::lround(x1 - ux)),
              int(std::lround(y1 - uy)));
}

void draw_entry(RoutePen& pen, const RouteDrawEntry& entry) {
    const bool fills = pen.mode == 1;
    switch (entry.kind) {
    case ROUTE_OWN:
        pen.on = map_keys[KEY_WAYPOINTS] != 0;
        pen.colour = OWN_ROUTE_COLOUR;
        return;
    case ROUTE_OTHERS:
        pen.on = true;
        pen.colour = OTHER_ROUTE_COLOUR;
        return;
    case ROUTE_LETTER:
        if (!pen.on) return;
        project_plot_point(pen.x, pen.y, text_x, text_y);
        text_x -= 2;
        text_y -= 3;
        select_font(&font_large);
        text_colour = uint8_t(pen.colour);
        draw_char(entry.x & 0xff);
        return;
    case ROUTE_MOVE: break;
    case ROUTE_LINE:
        if (!pen.on) break;
        if (pen.mode == 1)
            draw_plot_line(pen.x, pen.y, entry.x, entry.y, pen.colour);
        else
            draw_shortened_leg(pen, entry.x, entry.y);
        break;
    case ROUTE_TARGET_OUTLINE:
    case ROUTE_TARGET_FILL:
        if (pen.on && (entry.kind == ROUTE_TARGET_OUTLINE || fills))
            draw_symbol(entry.x, entry.y, TRIANGLE, 3, entry.kind == ROUTE_TARGET_FILL, pen.colour);
        break;
    case ROUTE_WAYPOINT_OUTLINE:
        if (pen.on) draw_plot_circle(entry.x, entry.y, CIRCLE_RADIUS * map_view.scale, pen.colour);
        break;
    case ROUTE_WAYPOINT_FILL:
        if (pen.on && fills) fill_plot_circle(entry.x, entry.y, CIRCLE_RADIUS * map_view.scale, 0);
        break;
    case ROUTE_FIRST_OUTLINE:
    case ROUTE_FIRST_FILL:
        if (pen.on && (entry.kind == ROUTE_FIRST_OUTLINE || fills))
            draw_symbol(entry.x, entry.y, SQUARE, 4, entry.kind == ROUTE_FIRST_FILL, pen.colour);
        break;
    default: report_fatal_error("Unknown Waypoint Redraw Command", SOURCE_PATH, __LINE__); return;
    }
    pen.x = entry.x;
    pen.y = entry.y;
}

}  // namespace

void build_route_draw_list() {
    route_draw_count = 0;
    Drone* own = own_route_drone();
    // The own route's cost first: a move or line, a fill, an outline and a letter per waypoint.
    // The end and the other routes' switch are kept room for as well.
    int room = ROUTE_DRAW_LIST_SIZE - 2 - (own ? 1 + 4 * route_length(own) : 0);
    static Drone* others[ROUTE_DRAW_LIST_SIZE];
    int other_count = 0;
    if (Task* task = get_selected_task()) {
        for (Drone* drone = task->first_drone; drone; drone = get_next_drone(drone)) {
            if (drone == own) continue;
            const int cost = 3 * route_length(drone);
            if (cost > room) continue;  // left out so that the own route still fits
            room -= cost;
            others[other_count++] = drone;
        }
    }
    add_entry(ROUTE_OTHERS, 0, 0);
    for (int i = 0; i < other_count; ++i) add_lines(others[i]);
    for (int i = 0; i < other_count; ++i) add_symbols(others[i], true, false);
    for (int i = 0; i < other_count; ++i) add_symbols(others[i], false, false);
    if (own) {
        add_entry(ROUTE_OWN, 0, 0);
        add_lines(own);
        add_symbols(own, true, false);
        add_symbols(own, false, true);
    }
    if (route_draw_count < ROUTE_DRAW_LIST_SIZE) route_draw_list[route_draw_count] = {ROUTE_END, 0, 0};
    refresh_map_screen();
}

void draw_route_list(int mode) {
    RoutePen pen = {mode, false, OWN_ROUTE_COLOUR, 0, 0};
    for (int i = 0; i < route_draw_count; ++i) draw_entry(pen, route_draw_list[i]);
}

}  // namespace vyr
