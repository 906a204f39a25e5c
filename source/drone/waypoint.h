// Waypoints and routes: the pool, the editing of a drone's route, its letters and leg times.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;

enum WaypointType : int32_t {
    WAYPOINT_NOT_USED = 0,
    WAYPOINT_DEPARTURE = 1,
    WAYPOINT_TURNING = 2,
    WAYPOINT_CAP_START = 3,
    WAYPOINT_TARGET = 4,
    WAYPOINT_RECON = 6,
    WAYPOINT_LANDING = 7,
    WAYPOINT_APPROACH = 8,
    WAYPOINT_INITIAL_POINT = 9,
    WAYPOINT_HUMAN_TURN = 10,
    WAYPOINT_HUMAN_DEFEND = 11,
    WAYPOINT_HUMAN_ATTACK = 12,
    WAYPOINT_HUMAN_AMBUSH = 13,
    WAYPOINT_HUMAN_BOARDING = 14,
    WAYPOINT_DEPLOY = 15,
    WAYPOINT_CAP_END = 16,
    WAYPOINT_MINE_LAY = 17,
};
constexpr int WAYPOINT_TYPE_COUNT = 18;
// The names the map screens show, by type.
extern const char* const waypoint_type_names[WAYPOINT_TYPE_COUNT];

// Target classifications of a waypoint's target list and of the object types.
enum TargetClass : int32_t {
    Undefined = 0,
    Aircraft_helicopter,
    AAA_SAM_APC,
    People,
    Bombers,
    Tanks,
    Artillery,
    Radar,
    HAS,
    HQ_Bunkers,
    Fuel_AmmoDumps,
    Trucks_Trains_TransportAircraft,
    Bridges,
    GovernmentBuildings,
    Barracks,
    IndustrialBuildings,
    Housing,
};
constexpr int WAYPOINT_TARGET_CLASSES = 8;

constexpr int MAX_WAYPOINTS = 3072;
// Appending stops here; inserting does not.
constexpr int MAX_ROUTE_WAYPOINTS = 39;

struct Waypoint {
    Waypoint* prev;
    Waypoint* next;
    Drone* drone;  // the route's owner
    int32_t type;
    int32_t x, y, z;       // world units; z never below the ground when set through the setters
    int32_t arrival_time;  // game_clock ticks from the flight start; -1 unknown
    int32_t leg_distance;  // from the previous waypoint, 3D
    int32_t leg_time;      // ticks; -1 unknown
    int32_t speed;         // world units per second on the leg that ends here
    int32_t target_radius;  // 0: the reader's default
    int32_t target_classes[WAYPOINT_TARGET_CLASSES];  // ended by Undefined when fewer
    char letter;  // 0 when not lettered
    int32_t wait;  // ticks held after arriving
    int32_t mined;
};

// The first free record, marked used; fatal when all are.
Waypoint* allocate_waypoint();
// A pointer outside the pool changes nothing.
void free_waypoint(Waypoint* waypoint);
// Waypoints in use.
int count_waypoints();

// A new last waypoint (Departure for the first, which also becomes the drone's current one,
// Turning after it); with the route already at MAX_ROUTE_WAYPOINTS, the last one and nothing new.
Waypoint* append_waypoint(Drone* drone);
// A new Turning waypoint after `waypoint`; the leg times are recomputed.
Waypoint* insert_waypoint_after(Waypoint* waypoint);
// Unlinks and frees it, selecting its neighbour. Callers clear the drone's current waypoint first.
void delete_waypoint(Waypoint* waypoint);

// The waypoint n steps from the first of the selected route; nothing changes when it is shorter.
void select_waypoint_by_index(int n);
// On the selected route; null when no waypoint bears it.
Waypoint* find_waypoint_by_letter(char letter);

void set_waypoint_type(Waypoint* waypoint, int type);
void set_waypoint_x(Waypoint* waypoint, int32_t x);
void set_waypoint_y(Waypoint* waypoint, int32_t y);
void set_waypoint_speed(Waypoint* waypoint, int32_t speed);
void set_waypoint_letter(Waypoint* waypoint, char letter);
// The altitude is raised to the ground beneath when below it.
void set_waypoint_position(Waypoint* waypoint, int32_t x, int32_t y, int32_t z);
void set_waypoint_altitude(Waypoint* waypoint, int32_t z);
void set_waypoint_target_class(int32_t* list, int i, int target_class);

int get_waypoint_type(const Waypoint* waypoint);
int32_t get_waypoint_x(const Waypoint* waypoint);
int32_t get_waypoint_y(const Waypoint* waypoint);
int32_t get_waypoint_altitude(const Waypoint* waypoint);
int32_t get_waypoint_speed(const Waypoint* waypoint);
int32_t get_waypoint_wait(const Waypoint* waypoint);
int32_t get_waypoint_target_radius(const Waypoint* waypoint);
int32_t* get_waypoint_target_classes(Waypoint* waypoint);

Waypoint* get_next_waypoint(Waypoint* waypoint);
Waypoint* get_previous_waypoint(Waypoint* waypoint);
// The ends of the route holding `waypoint`.
Waypoint* get_first_waypoint(Waypoint* waypoint);
Waypoint* get_last_waypoint(Waypoint* waypoint);
// From `waypoint` on, the first of the type; null when none.
Waypoint* find_waypoint_of_type(Waypoint* waypoint, int type);
// The Cap Start loop without a wait of its own lasts this long (ticks: five hours).
constexpr int32_t CAP_WAIT_FOREVER = 3600000;
// On arrival: the next waypoint becomes current, the drone held for the arrived one's wait.
void advance_to_next_waypoint(Drone* drone);
// On arrival, 1 when the Cap Start loop chose the next waypoint: arriving at the Cap Start starts
// the loop's time and flies on; arriving where the loop closes goes back to the Cap Start until
// the time is up, then on past it.
int advance_cap_waypoint(Drone* drone);
// Along the route from `first`, the waypoint of the type horizontally nearest the player's
// aircraft within `range`, its distance written; null when none is within it.
Waypoint* find_nearest_waypoint_of_type(Waypoint* first, int type, int32_t range, int32_t* distance);
// The waypoint drawn within 12 screen units of the world point in the current plot window: the
// selected drone's route first, then the other leaders of the selected task (selecting the drone).
Waypoint* pick_waypoint_at(int32_t x, int32_t y);

// Leg distances, leg times and arrival times of every leader's route, or of the selected route
// (0 when no waypoint is selected).
void recalc_all_waypoint_times();
int recalc_selected_route_times();
// Letters the selected route: A..S then a.. for ordinary waypoints, X, Y, Z then x.. for targets.
void letter_selected_route();

// The debug dump of a drone and its route; a drone whose side bits read 3 is fatal.
void dump_drone(const Drone* drone);

}  // namespace vyr
