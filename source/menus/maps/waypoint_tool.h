// The routes on the mission map: the draw list of the selected task's routes with their symbols
// and letters, and the waypoint tool that edits the own route.
#pragma once

#include <cstdint>

#include "library/system/event.h"

namespace vyr {

struct UiObject;
struct Waypoint;

constexpr int ROUTE_DRAW_LIST_SIZE = 3072;

enum RouteDrawKind : int32_t {
    ROUTE_END = 0,
    ROUTE_MOVE = 1,
    ROUTE_LINE = 2,
    ROUTE_TARGET_OUTLINE = 3,
    ROUTE_WAYPOINT_OUTLINE = 4,
    ROUTE_FIRST_OUTLINE = 5,
    ROUTE_TARGET_FILL = 6,
    ROUTE_WAYPOINT_FILL = 7,
    ROUTE_FIRST_FILL = 8,
    ROUTE_LETTER = 9,
    ROUTE_OWN = 10,
    ROUTE_OTHERS = 11,
};

struct RouteDrawEntry {
    int32_t kind, x, y;
};
extern RouteDrawEntry route_draw_list[ROUTE_DRAW_LIST_SIZE];
extern int32_t route_draw_count;

// Rebuilds the list from the selected task (lines under symbols under letters, the own route last)
// and asks the route layer to redraw. The list never runs past its size: the other routes give way
// first, and the own route is cut where it no longer fits.
void build_route_draw_list();
// Carries the list out through the current plot window: mode 1 into the route layer, mode 0 on
// the display over a stale layer (legs shortened, no fills).
void draw_route_list(int mode);

// Rubber lines of the own route's legs while the map is being turned.
void draw_route_rubber_lines();
// The waypoint tool's share of the map's pointer events, at world point (x, y) through the map
// plot: a press selects, a drag moves a waypoint between the route's ends, a release settles it.
void notify_map_waypoint(Event& event, int32_t x, int32_t y);
// The Waypoint Tool Box for the selected drone's route, hidden without a drone.
void refresh_waypoint_buttons();
// "Ins" and "Del" between the route's ends; "Ins" not once the route holds as many waypoints as a
// saved route keeps, so that an edited route loads back whole.
void offered_waypoint_edits(int& insert, int& remove);
// The information box for the selected waypoint, its route's times recalculated first.
void refresh_waypoint_info();
// The "Waypoint Information Box" on the map.
void create_waypoint_info_box(UiObject* map);
extern UiObject* waypoint_info_box;
// The type the box shows: a Turning waypoint as Landing last, Initial Point before a target, Cap
// End after a Cap Start.
int shown_waypoint_type(Waypoint* waypoint);
// The notifies of the Waypoint Tool Box.
void insert_map_waypoint(UiObject* object, Event& event);
void delete_map_waypoint(UiObject* object, Event& event);
void toggle_waypoint_info(UiObject* object, Event& event);
void choose_map_waypoint(UiObject* object, Event& event);

}  // namespace vyr
