// A mission's world in its data file (missdata\<name>.dta): read into the tasks, drones, routes,
// gameplay grid, payload, weather and goal counts by load_mission, and written back from them.
// Also the destroy points, which start a mission with ground objects already destroyed.
#pragma once

#include <cstdint>

#include "source/weapons/weapon_info.h"

namespace vyr {

struct Mission;

// The goal counts of the debrief and the goal monitor; a data file without them reads all 0.
extern int32_t mission_failure_count;
extern int32_t mission_success_count;
extern int32_t mission_outstanding_count;
extern int32_t humans_loaded_count;
extern int32_t humans_deployed_count;

constexpr int MAX_DESTROY_POINTS = 128;
extern int32_t destroy_point_count;

// 1 while the mission on the map has unsaved changes.
extern int32_t mission_modified;

// The mission's weather and rules as the data file gives them.
extern uint32_t wind_direction;  // binary angle
extern int32_t wind_speed;
extern int32_t weather_condition;
extern int32_t laser_timeout;

constexpr int PAYLOAD_PYLONS = 11;
constexpr int STORE_NONE = 26;       // the empty pylon's store
constexpr int MAX_PYLON_COUNT = 6;

// The mission's time of day at its start, in ticks since midnight.
int32_t get_mission_start_time();

// Resets the world and builds it from the mission's data file: 1. A bad file names the file and
// line: fatal for the data's own; the player's (saved or loose) is refused with a message box, the
// world left reset, and 0 comes back. A missing file is fatal.
int load_mission(Mission* mission);
// Start time 12:00, no task, an empty gameplay grid, no destroy point, the weapons and carriers
// reset.
void reset_mission_world();
// The line handler of the data file (context unused).
void parse_mission_data(char* line, void* context);
// The data file of the present world, written whole or not at all; fatal when it cannot be.
void write_mission_data(const char* path);

// A point beyond the 128th is dropped.
void add_destroy_point(int32_t x, int32_t y);
// 1 and the point when index < count, else 0.
int get_destroy_point(int index, int32_t* x, int32_t* y);
void clear_destroy_points();
// Mission start: the ground object nearest each point (within 100 ft) is destroyed and shows
// its wreck.
void apply_destroy_points();

// The map's Save button: the chosen mission gets a number if it has none and its data file.
void save_current_mission();
// A new mission (number 0) takes the first number 1..149 for which neither its text nor its data
// file exists (fatal when none is spare); quick starts are never written.
void find_spare_mission_slot(Mission* mission);

// Both also tell the mission map, whose Save button shows whether the mission needs saving.
void flag_mission_modified();
void flag_mission_saved();
// The mission map installs them: its Save button's look, and its refresh after a mission is loaded.
void set_mission_map_hooks(void (*save_state)(int modified), void (*refresh)());

}  // namespace vyr
