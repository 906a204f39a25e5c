#include "source/menus/maps/waypoint_tool.h"

#include <cmath>
#include <cstdio>

#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/line.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/plot_poly.h"
#include "library/maths/trig.h"
#include "library/maths/vector.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/terrain.h"
#include "library/ui/object.h"
#include "library/ui/repaint.h"
#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/menus/front_end.h"
#include "source/menus/maps/map_key.h"
#include "source/menus/maps/map_layers.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/maps/map_view.h"
#include "source/gameplay/defence_sites.h"
#include "source/menus/prefs_screens.h"
#include "source/mission/mission_data.h"
#include "source/mission/selection.h"
#include "source/weapons/object_types.h"
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

namespace {

constexpr int DRAG_START_PIXELS = 4;
constexpr int ROUTE_RUBBER_FIRST_SLOT = 2;
constexpr int32_t FEET = 256;
constexpr int32_t KNOT = 432;
constexpr int32_t MILE = 1351680;
constexpr int TICKS_PER_SECOND = 200;
constexpr int32_t DEPLOY_RADIUS = 2520000;  // 3 km
constexpr int POSITION_DIGITS = 6, ALTITUDE_DIGITS = 5, SPEED_DIGITS = 4;
constexpr int32_t POSITION_LIMIT = 999999, ALTITUDE_LIMIT = 99999, SPEED_LIMIT = 9999;
constexpr int SPINNER_WIDTH = 11, SPINNER_HEIGHT = 13, SPINNER_STEP = 12, ROW_GAP = 10;
constexpr int FIRST_ROW = 32, ROW_STEP = 24;

// The drag: the world point of the press, until the pointer has gone far enough to move it.
bool drag_pressed = false, drag_moving = false;
int32_t drag_press_x = 0, drag_press_y = 0;

// The box's fields.
int32_t info_x = 0, info_y = 0, info_z = 0, info_speed = 0;
int info_type = WAYPOINT_NOT_USED;
UiObject* info_title = nullptr;
UiObject* info_time = nullptr;
UiObject* info_leg = nullptr;
UiObject* info_type_button = nullptr;
UiObject* info_cells[3][POSITION_DIGITS] = {};  // X, Y, Z
UiObject* speed_cells[SPEED_DIGITS] = {};

bool is_first_or_last(Waypoint* w) { return !w->prev || !w->next; }

void refresh_box_and_buttons() {
    refresh_waypoint_info();
    refresh_waypoint_buttons();
}

// The route changed: lettered, redrawn, and the mission to be saved again.
void route_edited() {
    letter_selected_route();
    flag_mission_modified();
    build_route_draw_list();
    refresh_box_and_buttons();
}

int32_t limit_world(int32_t value) { return value < 0 ? 0 : value > MAP_WORLD_MAX ? MAP_WORLD_MAX : value; }

void show_rubber_leg(int slot, const Waypoint* from, const Waypoint* to) {
    int32_t x0, y0, x1, y1;
    project_plot_point(from->x, from->y, x0, y0);
    project_plot_point(to->x, to->y, x1, y1);
    show_rubber_line(slot, x0, y0, x1, y1);
}

void press_waypoint(int32_t x, int32_t y) {
    select_waypoint(pick_waypoint_at(x, y));
    drag_pressed = selected_waypoint != nullptr;
    drag_moving = false;
    drag_press_x = x;
    drag_press_y = y;
    letter_selected_route();
    refresh_box_and_buttons();
}

void drag_waypoint(int32_t x, int32_t y) {
    Waypoint* w = selected_waypoint;
    if (!drag_pressed || !w) return;
    flag_mission_modified();
    if (is_first_or_last(w)) return;
    const int64_t reach = int64_t(DRAG_START_PIXELS) * map_view.scale;
    if (!drag_moving && std::abs(int64_t(x) - drag_press_x) <= reach && std::abs(int64_t(y) - drag_press_y) <= reach)
        return;
    drag_moving = true;
    set_waypoint_x(w, x);
    set_waypoint_y(w, y);
    if (continuous_move) {
        build_route_draw_list();
        return;
    }
    show_rubber_leg(0, w->prev, w);
    show_rubber_leg(1, w->next, w);
}

void release_waypoint() {
    if (Waypoint* w = selected_waypoint) set_waypoint_altitude(w, w->z);
    drag_pressed = drag_moving = false;
    hide_rubber_lines();
    build_route_draw_list();
    refresh_box_and_buttons();
}

Waypoint* nth_waypoint(Drone* drone, int n) {
    Waypoint* w = drone->first_waypoint;
    for (int i = 0; i < n && w; ++i) w = w->next;
    return w;
}

void set_cells(UiObject* const* cells, int count, int32_t maximum) {
    for (int i = 0; i < count; ++i) {
        set_spinner_min(cells[i], 0);
        set_spinner_max(cells[i], maximum);
    }
}

void show_fields() {
    if (waypoint_info_box) invalidate_ui_object(waypoint_info_box, 0);
}

// The spinners show the waypoint's place again.
void show_position(const Waypoint* w) {
    info_x = world_to_metres(w->x);
    info_y = world_to_metres(w->y);
    info_z = w->z / FEET;
    show_fields();
}

void format_time(char* text, size_t size, const Waypoint* w) {
    if (w->arrival_time == -1) {
        std::snprintf(text, size, "Time to this waypoint: not reached");
        return;
    }
    int64_t ticks = w->arrival_time;
    for (const Waypoint* v = get_first_waypoint(const_cast<Waypoint*>(w)); v; v = v->next) {
        ticks += int64_t(v->wait / TICKS_PER_SECOND) * TICKS_PER_SECOND;
        if (v == w) break;
    }
    const int64_t seconds = ticks / TICKS_PER_SECOND;
    std::snprintf(text, size, "Time to this waypoint: %d:%.2d:%.2d", int(seconds / 3600), int(seconds / 60 % 60),
                  int(seconds % 60));
}

const char* type_name(int type) {
    return type >= 0 && type < WAYPOINT_TYPE_COUNT ? waypoint_type_names[type] : "Unknown Waypoint";
}

void clear_info() {
    set_ui_text(info_title, "No Waypoint");
    for (int row = 0; row < 3; ++row) set_cells(info_cells[row], row == 2 ? ALTITUDE_DIGITS : POSITION_DIGITS, 0);
    set_cells(speed_cells, SPEED_DIGITS, 0);
    info_x = info_y = info_z = info_speed = 0;
    info_type = WAYPOINT_NOT_USED;
    set_ui_text(info_type_button, "");
    show_fields();
}

int next_type(int shown) {
    switch (shown) {
    case WAYPOINT_DEPARTURE: return WAYPOINT_DEPLOY;
    case WAYPOINT_DEPLOY: return WAYPOINT_DEPARTURE;
    case WAYPOINT_TURNING: return WAYPOINT_APPROACH;
    case WAYPOINT_APPROACH: return WAYPOINT_TARGET;
    case WAYPOINT_TARGET: return WAYPOINT_RECON;
    case WAYPOINT_RECON: return WAYPOINT_MINE_LAY;
    case WAYPOINT_MINE_LAY: return WAYPOINT_CAP_START;
    case WAYPOINT_CAP_START: return WAYPOINT_HUMAN_TURN;
    case WAYPOINT_HUMAN_TURN: return WAYPOINT_HUMAN_DEFEND;
    case WAYPOINT_HUMAN_DEFEND: return WAYPOINT_HUMAN_ATTACK;
    case WAYPOINT_HUMAN_ATTACK: return WAYPOINT_HUMAN_AMBUSH;
    case WAYPOINT_HUMAN_AMBUSH: return WAYPOINT_HUMAN_BOARDING;
    case WAYPOINT_HUMAN_BOARDING: return WAYPOINT_TURNING;
    default: return WAYPOINT_TARGET;
    }
}

void step_waypoint_type(UiObject*, Event&) {
    Waypoint* w = selected_waypoint;
    if (!mission_planner || !w) return;
    const int type = next_type(shown_waypoint_type(w));
    set_waypoint_type(w, type);
    if (type == WAYPOINT_DEPLOY && w->target_radius == 0) w->target_radius = DEPLOY_RADIUS;
    route_edited();
}

void step_waypoint_position(UiObject*, Event& event) {
    Waypoint* w = selected_waypoint;
    if (!w) return;
    if (is_first_or_last(w)) {
        show_position(w);
        return;
    }
    if (event.type == EV_STOP) {
        build_route_draw_list();
        return;
    }
    set_waypoint_position(w, metres_to_world(info_x), metres_to_world(info_y), info_z * FEET);
    info_z = w->z / FEET;
    show_fields();
    flag_mission_modified();
    refresh_waypoint_info();
}

void step_waypoint_speed(UiObject*, Event&) {
    Waypoint* w = selected_waypoint;
    if (!w) return;
    set_waypoint_speed(w, info_speed * KNOT);
    flag_mission_modified();
    refresh_waypoint_info();
}

void waypoint_info_shown(UiObject*, Event& event) {
    for (UiObject* child = waypoint_tool_box ? waypoint_tool_box->first_child : nullptr; child; child = child->next_sibling)
        if (child->type == UI_TOGGLE) set_ui_state(child, event.value != 0);
}

UiObject* create_info_label(const char* name, int x, int y, int width, const char* text) {
    return create_ui_object(UI_TEXT, waypoint_info_box, name, ATTR_POS, x, y, ATTR_SIZE, width, 12, ATTR_TEXT, text,
                            ATTR_FONT, &menu_font, ATTR_INPUT, 0);
}

// A number field of one-digit cells from the highest digit down, all on one shared integer.
int create_number_field(UiObject** cells, int digits, int x, int y, int32_t* variable, int32_t limit,
                        UiNotify notify) {
    int32_t step = 1;
    for (int i = 1; i < digits; ++i) step *= 10;
    for (int i = 0; i < digits; ++i, step /= 10, x += SPINNER_STEP)
        cells[i] = create_ui_object(UI_SPINNER, waypoint_info_box, "Waypoint Digit", ATTR_POS, x, y, ATTR_SIZE,
                                    SPINNER_WIDTH, SPINNER_HEIGHT, ATTR_VARIABLE, variable, ATTR_STEP, step, ATTR_MIN,
                                    0, ATTR_MAX, limit, ATTR_NOTIFY, notify, ATTR_NOTIFY_EVENT, EV_SELECT,
                                    ATTR_NOTIFY_ADD, EV_STOP);
    return x;
}

}  // namespace

UiObject* waypoint_info_box = nullptr;

int shown_waypoint_type(Waypoint* w) {
    if (w->type != WAYPOINT_TURNING) return w->type;
    if (!w->next) return WAYPOINT_LANDING;
    if (w->next->type == WAYPOINT_TARGET || w->next->type == WAYPOINT_MINE_LAY) return WAYPOINT_INITIAL_POINT;
    if (w->prev && w->prev->type == WAYPOINT_CAP_START) return WAYPOINT_CAP_END;
    return w->type;
}

void draw_route_rubber_lines() {
    Drone* own = own_route_drone();
    int slot = ROUTE_RUBBER_FIRST_SLOT;
    for (Waypoint* w = own ? own->first_waypoint : nullptr; w && w->next && slot < MAX_RUBBER_LINES; w = w->next)
        show_rubber_leg(slot++, w, w->next);
}

void notify_map_waypoint(Event& event, int32_t x, int32_t y) {
    x = limit_world(x);
    y = limit_world(y);
    switch (event.type) {
    case EV_MOUSE_CLICK:
        if (event.value)
            press_waypoint(x, y);
        else
            release_waypoint();
        return;
    case EV_MOUSE_MOVE: drag_waypoint(x, y); return;
    case EV_MOUSE_DBL_CLICK: refresh_box_and_buttons(); return;
    default: report_fatal_error("Invalid EVENT for Notify Map Waypoint", SOURCE_PATH, __LINE__); return;
    }
}

void offered_waypoint_edits(int& insert, int& remove) {
    Waypoint* w = selected_waypoint;
    remove = w && !is_first_or_last(w);
    insert = remove && route_length(w->drone) < MAX_ROUTE_WAYPOINTS;
}

void refresh_waypoint_buttons() {
    if (!waypoint_tool_box) return;
    Drone* drone = selected_drone;
    if (selected_waypoint && selected_waypoint->drone != drone) select_drone(drone = selected_waypoint->drone);
    if (!drone) {
        show_ui_object(waypoint_tool_box, 0);
        return;
    }
    for (int i = 0; i < MAP_WAYPOINT_BUTTONS; ++i) {
        Waypoint* w = nth_waypoint(drone, i);
        show_waypoint_button(i, w != nullptr);
        if (!w) continue;
        set_waypoint_button_label(i, w->letter);
        set_waypoint_button_state(i, w == selected_waypoint);
    }
    int insert, remove;
    offered_waypoint_edits(insert, remove);
    show_waypoint_insert_delete(insert, remove);
}

void refresh_waypoint_info() {
    if (!waypoint_info_box) return;
    recalc_selected_route_times();
    Waypoint* w = selected_waypoint;
    if (!w) {
        clear_info();
        return;
    }
    char text[128];
    if (w->type == WAYPOINT_TARGET || w->type == WAYPOINT_MINE_LAY) {
        const ground_object* nearest = find_nearest_ground_object(w->x, w->y);
        if (nearest)
            std::snprintf(text, sizeof text, "Waypoint %c (%s)", w->letter, get_object_type_name(nearest->type));
        else
            std::snprintf(text, sizeof text, "Waypoint %c", w->letter);
    } else {
        std::snprintf(text, sizeof text, is_first_or_last(w) ? "Waypoint %c (Fixed)" : "Waypoint %c", w->letter);
    }
    set_ui_text(info_title, text);
    const int32_t metres_max = world_to_metres(MAP_WORLD_MAX);
    set_cells(info_cells[0], POSITION_DIGITS, metres_max);
    set_cells(info_cells[1], POSITION_DIGITS, metres_max);
    set_cells(info_cells[2], ALTITUDE_DIGITS, ALTITUDE_LIMIT);
    set_cells(speed_cells, SPEED_DIGITS, SPEED_LIMIT);
    show_position(w);
    info_speed = w->speed / KNOT;
    format_time(text, sizeof text, w);
    set_ui_text(info_time, text);
    std::snprintf(text, sizeof text, "Length this leg: %dft (%d miles)", int(w->leg_distance / FEET),
                  int(w->leg_distance / MILE));
    set_ui_text(info_leg, text);
    info_type = shown_waypoint_type(w);
    set_ui_text(info_type_button, type_name(info_type));
}

void create_waypoint_info_box(UiObject* map) {
    waypoint_info_box = create_ui_object(UI_WINDOW, map, "Waypoint Information Box", ATTR_POS, 100, 100, ATTR_SIZE,
                                         236, 168, ATTR_CLOSE_BOX, ATTR_RESIZE_BOX, ATTR_MOVABLE, 1, ATTR_SHOWN, 0,
                                         ATTR_NOTIFY, waypoint_info_shown, ATTR_NOTIFY_EVENT, EV_DISPLAY);
    info_title = create_info_label("Waypoint Title", 32, 4, 200, "Waypoint");
    create_info_label("Waypoint Position", 4, 16, 80, "Position");
    int x = create_number_field(info_cells[0], POSITION_DIGITS, 4, FIRST_ROW, &info_x, POSITION_LIMIT,
                                step_waypoint_position);
    x = create_number_field(info_cells[1], POSITION_DIGITS, x + ROW_GAP, FIRST_ROW, &info_y, POSITION_LIMIT,
                            step_waypoint_position);
    create_number_field(info_cells[2], ALTITUDE_DIGITS, x + ROW_GAP, FIRST_ROW, &info_z, ALTITUDE_LIMIT,
                        step_waypoint_position);
    int y = FIRST_ROW + ROW_STEP;
    create_info_label("Waypoint Type", 4, y, 40, "Type");
    info_type_button = create_ui_object(UI_BUTTON, waypoint_info_box, "Type Text", ATTR_POS, 60, y, ATTR_SIZE, 124, 12,
                                        ATTR_TEXT, "Target (Optional)", ATTR_FONT, &menu_font, ATTR_NOTIFY,
                                        step_waypoint_type, ATTR_NOTIFY_EVENT, EV_SELECT);
    y += ROW_STEP;
    create_info_label("Waypoint Speed", 4, y, 70, "Speed (Kt)");
    create_number_field(speed_cells, SPEED_DIGITS, 80, y, &info_speed, SPEED_LIMIT, step_waypoint_speed);
    y += ROW_STEP;
    info_time = create_info_label("Waypoint Time", 4, y, 228, "Time to this Waypoint: 0s");
    y += ROW_STEP;
    info_leg = create_info_label("Waypoint Leg", 4, y, 228, "Length this leg: 0ft");
}

void insert_map_waypoint(UiObject*, Event&) {
    Waypoint* w = selected_waypoint;
    Waypoint* previous = w ? w->prev : nullptr;
    if (!previous || route_length(w->drone) >= MAX_ROUTE_WAYPOINTS) return;
    Waypoint* added = insert_waypoint_after(previous);
    set_waypoint_position(added, int32_t((int64_t(previous->x) + w->x) / 2), int32_t((int64_t(previous->y) + w->y) / 2),
                          previous->z);
    select_waypoint(added);
    route_edited();
}

void delete_map_waypoint(UiObject*, Event&) {
    Waypoint* w = selected_waypoint;
    if (!w || (!w->next && !w->prev)) return;
    Waypoint* chosen = w->next ? w->next : w->prev;
    Drone* drone = w->drone;
    if (drone->current_waypoint == w) drone->current_waypoint = chosen;
    if (drone->previous_waypoint == w) drone->previous_waypoint = nullptr;
    delete_waypoint(w);
    select_waypoint(chosen);
    recalc_selected_route_times();
    route_edited();
}

void toggle_waypoint_info(UiObject*, Event&) {
    if (!waypoint_info_box) return;
    const bool show = !(waypoint_info_box->flags & UIF_SHOWN);
    if (show) refresh_waypoint_info();
    show_ui_object(waypoint_info_box, show);
    if (show) raise_ui_object(waypoint_info_box);
}

void choose_map_waypoint(UiObject* object, Event&) {
    select_waypoint_by_index(object->id);
    refresh_box_and_buttons();
}

}  // namespace vyr
