#include "source/drone/waypoint.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/graphics/plot.h"
#include "library/maths/vector.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/mission/selection.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/waypoint";
constexpr int32_t PICK_REACH = 12;  // screen units on each axis
constexpr int ORDINARY_CAPITALS = 19;  // A..S
constexpr int TARGET_CAPITALS = 3;     // X..Z

Waypoint waypoint_pool[MAX_WAYPOINTS];
int32_t waypoint_used[MAX_WAYPOINTS];

enum class LetterClass { NONE, ORDINARY, TARGET };

LetterClass letter_class(int type) {
    switch (type) {
    case WAYPOINT_TARGET:
    case WAYPOINT_RECON:
    case WAYPOINT_HUMAN_DEFEND:
    case WAYPOINT_HUMAN_ATTACK:
    case WAYPOINT_MINE_LAY:
        return LetterClass::TARGET;
    case 5:
    case WAYPOINT_INITIAL_POINT:
    case WAYPOINT_CAP_END:
        return LetterClass::NONE;
    default:
        return type >= 0 && type < WAYPOINT_TYPE_COUNT ? LetterClass::ORDINARY : LetterClass::NONE;
    }
}

// The waypoint that starts the selected route: of the selected waypoint's drone, else of the
// selected drone.
Waypoint* selected_route_start() {
    if (selected_waypoint) return selected_waypoint->drone->first_waypoint;
    return selected_drone ? selected_drone->first_waypoint : nullptr;
}

Waypoint* new_waypoint_after(Drone* drone, Waypoint* previous, int type) {
    Waypoint* w = allocate_waypoint();
    *w = {};
    w->drone = drone;
    w->type = type;
    w->arrival_time = w->leg_time = -1;
    w->speed = previous ? previous->speed : 0;
    w->prev = previous;
    if (previous) {
        w->next = previous->next;
        if (w->next) w->next->prev = w;
        previous->next = w;
    }
    ++drone->waypoint_count;
    return w;
}

int32_t saturate(int64_t ticks) { return int32_t(std::min<int64_t>(ticks, INT32_MAX)); }

void recalc_route_times(Waypoint* first) {
    for (Waypoint* w = first; w; w = w->next) {
        const Waypoint* p = w->prev;
        if (!p) {
            w->arrival_time = w->leg_time = w->leg_distance = 0;
            continue;
        }
        w->leg_distance = measure_distance_3d(p->x - w->x, p->y - w->y, p->z - w->z);
        if (w->speed < 1) {
            w->arrival_time = w->leg_time = -1;
            continue;
        }
        // A leg no drone could fly in a flight's time saturates rather than wrapping.
        w->leg_time = saturate(int64_t(w->leg_distance / w->speed) * 200);
        w->arrival_time = saturate(int64_t(p->arrival_time) + w->leg_time);
    }
}

Waypoint* pick_on_route(Waypoint* first, int32_t sx, int32_t sy) {
    for (Waypoint* w = first; w; w = w->next) {
        int32_t wx, wy;
        project_plot_point(w->x, w->y, wx, wy);
        if (std::abs(wx - sx) <= PICK_REACH && std::abs(wy - sy) <= PICK_REACH) return w;
    }
    return nullptr;
}

}  // namespace

const char* const waypoint_type_names[WAYPOINT_TYPE_COUNT] = {
    "Not Used",      "Departure",         "Turning",      "Cap Start",    "Target",         "Unknown Waypoint",
    "Recon",         "Landing",           "Approach",     "Initial Point", "Human turn / easy", "Human defend",
    "Human attack",  "Human ambush",      "Human boarding", "Deploy",     "Cap End",        "Mine Lay",
};

Waypoint* allocate_waypoint() {
    for (int i = 0; i < MAX_WAYPOINTS; ++i) {
        if (waypoint_used[i]) continue;
        waypoint_used[i] = 1;
        return &waypoint_pool[i];
    }
    report_fatal_error("Allocate Waypoints - too many waypoints used", SOURCE, __LINE__);
    return nullptr;
}

void free_waypoint(Waypoint* waypoint) {
    for (int i = 0; i < MAX_WAYPOINTS; ++i)
        if (&waypoint_pool[i] == waypoint) waypoint_used[i] = 0;
}

int count_waypoints() {
    int n = 0;
    for (int32_t used : waypoint_used) n += used;
    return n;
}

Waypoint* append_waypoint(Drone* drone) {
    Waypoint* last = drone->first_waypoint ? get_last_waypoint(drone->first_waypoint) : nullptr;
    if (drone->waypoint_count >= MAX_ROUTE_WAYPOINTS) return last;
    Waypoint* w = new_waypoint_after(drone, last, last ? WAYPOINT_TURNING : WAYPOINT_DEPARTURE);
    if (!last) drone->first_waypoint = drone->current_waypoint = w;
    if (!selected_waypoint) select_waypoint(w);
    else letter_selected_route();
    return w;
}

Waypoint* insert_waypoint_after(Waypoint* waypoint) {
    Waypoint* w = new_waypoint_after(waypoint->drone, waypoint, WAYPOINT_TURNING);
    letter_selected_route();
    recalc_all_waypoint_times();
    return w;
}

void delete_waypoint(Waypoint* waypoint) {
    Drone* drone = waypoint->drone;
    if (waypoint->prev) waypoint->prev->next = waypoint->next;
    else drone->first_waypoint = waypoint->next;
    if (waypoint->next) waypoint->next->prev = waypoint->prev;
    --drone->waypoint_count;
    select_waypoint(waypoint->next ? waypoint->next : waypoint->prev);
    free_waypoint(waypoint);
}

void select_waypoint_by_index(int n) {
    Waypoint* w = selected_route_start();
    for (int i = 0; i < n && w; ++i) w = w->next;
    if (w) select_waypoint(w);
}

Waypoint* find_waypoint_by_letter(char letter) {
    if (!selected_waypoint) return nullptr;
    for (Waypoint* w = selected_waypoint->drone->first_waypoint; w; w = w->next)
        if (w->letter == letter) return w;
    return nullptr;
}

void set_waypoint_type(Waypoint* waypoint, int type) { waypoint->type = type; }
void set_waypoint_x(Waypoint* waypoint, int32_t x) { waypoint->x = x; }
void set_waypoint_y(Waypoint* waypoint, int32_t y) { waypoint->y = y; }
void set_waypoint_speed(Waypoint* waypoint, int32_t speed) { waypoint->speed = speed; }
void set_waypoint_letter(Waypoint* waypoint, char letter) { waypoint->letter = letter; }

void set_waypoint_position(Waypoint* waypoint, int32_t x, int32_t y, int32_t z) {
    waypoint->x = x;
    waypoint->y = y;
    set_waypoint_altitude(waypoint, z);
}

void set_waypoint_altitude(Waypoint* waypoint, int32_t z) {
    const int32_t ground = get_ground_height(waypoint->x, waypoint->y);
    waypoint->z = z < ground ? ground : z;
}

void set_waypoint_target_class(int32_t* list, int i, int target_class) {
    if (i >= 0 && i < WAYPOINT_TARGET_CLASSES) list[i] = target_class;
}

int get_waypoint_type(const Waypoint* waypoint) { return waypoint->type; }
int32_t get_waypoint_x(const Waypoint* waypoint) { return waypoint->x; }
int32_t get_waypoint_y(const Waypoint* waypoint) { return waypoint->y; }
int32_t get_waypoint_altitude(const Waypoint* waypoint) { return waypoint->z; }
int32_t get_waypoint_speed(const Waypoint* waypoint) { return waypoint->speed; }
int32_t get_waypoint_wait(const Waypoint* waypoint) { return waypoint->wait; }
int32_t get_waypoint_target_radius(const Waypoint* waypoint) { return waypoint->target_radius; }
int32_t* get_waypoint_target_classes(Waypoint* waypoint) { return waypoint->target_classes; }

Waypoint* get_next_waypoint(Waypoint* waypoint) { return waypoint->next; }
Waypoint* get_previous_waypoint(Waypoint* waypoint) { return waypoint->prev; }

Waypoint* get_first_waypoint(Waypoint* waypoint) {
    while (waypoint && waypoint->prev) waypoint = waypoint->prev;
    return waypoint;
}

Waypoint* get_last_waypoint(Waypoint* waypoint) {
    while (waypoint && waypoint->next) waypoint = waypoint->next;
    return waypoint;
}

Waypoint* find_waypoint_of_type(Waypoint* waypoint, int type) {
    while (waypoint && waypoint->type != type) waypoint = waypoint->next;
    return waypoint;
}

void advance_to_next_waypoint(Drone* drone) {
    Waypoint* current = drone->current_waypoint;
    drone->activation_time = game_clock + current->wait;
    drone->previous_waypoint = current;
    drone->current_waypoint = current->next;
}

int advance_cap_waypoint(Drone* drone) {
    Waypoint* current = drone->current_waypoint;
    if (!current) return 0;
    if (current->type == WAYPOINT_CAP_START) {
        if (drone->cap_end_time == 0) drone->cap_end_time = game_clock + (current->wait ? current->wait : CAP_WAIT_FOREVER);
        if (current->next) {
            drone->activation_time = game_clock;
            drone->previous_waypoint = current;
            drone->current_waypoint = current->next;
        }
        return 1;
    }
    const Waypoint* previous = drone->previous_waypoint;
    if (!previous || previous->type != WAYPOINT_CAP_START) return 0;
    drone->previous_waypoint = current;
    if (game_clock < drone->cap_end_time) {
        Waypoint* first = drone->first_waypoint ? drone->first_waypoint : get_first_waypoint(current);
        drone->current_waypoint = find_waypoint_of_type(first, WAYPOINT_CAP_START);
    } else if (current->next) {
        drone->activation_time = game_clock + current->wait;
        drone->current_waypoint = current->next;
    }
    return 1;
}

Waypoint* find_nearest_waypoint_of_type(Waypoint* first, int type, int32_t range, int32_t* distance) {
    const Vector3& at = player_position->position;
    Waypoint* nearest = nullptr;
    int32_t best = range;
    for (Waypoint* w = find_waypoint_of_type(first, type); w; w = find_waypoint_of_type(w->next, type)) {
        const int64_t dx = int64_t(w->x) - at.x, dy = int64_t(w->y) - at.y;
        const int32_t d = int32_t(isqrt64(uint64_t(dx * dx + dy * dy)));
        if (d >= best) continue;
        best = d;
        nearest = w;
    }
    if (nearest) *distance = best;
    return nearest;
}

Waypoint* pick_waypoint_at(int32_t x, int32_t y) {
    int32_t sx, sy;
    project_plot_point(x, y, sx, sy);
    if (selected_drone) {
        if (Waypoint* w = pick_on_route(selected_drone->first_waypoint, sx, sy)) return w;
    }
    if (!selected_task) return nullptr;
    for (Drone* d = selected_task->first_drone; d; d = d->next) {
        if (d == selected_drone) continue;
        if (Waypoint* w = pick_on_route(d->first_waypoint, sx, sy)) {
            select_drone(d);
            return w;
        }
    }
    return nullptr;
}

void recalc_all_waypoint_times() {
    for (Task* t = task_list; t; t = t->next)
        for (Drone* d = t->first_drone; d; d = d->next) recalc_route_times(d->first_waypoint);
}

int recalc_selected_route_times() {
    if (!selected_waypoint) return 0;
    recalc_route_times(selected_waypoint->drone->first_waypoint);
    return 1;
}

void letter_selected_route() {
    if (!selected_waypoint) return;
    int ordinary = 0, target = 0;
    for (Waypoint* w = selected_waypoint->drone->first_waypoint; w; w = w->next) {
        switch (letter_class(w->type)) {
        case LetterClass::ORDINARY:
            w->letter = char(ordinary < ORDINARY_CAPITALS ? 'A' + ordinary : 'a' + ordinary - ORDINARY_CAPITALS);
            ++ordinary;
            break;
        case LetterClass::TARGET:
            w->letter = char(target < TARGET_CAPITALS ? 'X' + target : 'x' + target - TARGET_CAPITALS);
            ++target;
            break;
        case LetterClass::NONE:
            break;
        }
    }
}

// The debug monitor that the dump's lines were built for shows nothing in this program; what
// remains is the check that no drone carries the impossible side.
void dump_drone(const Drone* drone) {
    if (((drone->object.flags >> INSTANCE_SIDE_SHIFT) & 3) == 3) report_fatal_error("      Side Invalid", SOURCE, __LINE__);
}

}  // namespace vyr
