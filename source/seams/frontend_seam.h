// Stand-in for the front end, missions and pilot records until they are built: the start-up
// loads, the war zone, the visual detail level and the first screens, which show only their
// background pictures.
#pragma once

#include <cstdint>

namespace vyr {

// Set when a pilot log with a special call sign becomes current: they gate the debug keys.
extern int32_t debug_mode;
extern int32_t debug_flag;
// "Mission Planner".
extern int32_t mission_planner;

void load_mission_catalogue();
void load_weapon_file();
void load_pylon_file();
void load_top_ten();
// Every menu screen.
void init_front_end();

// The theatre, 1 to 5.
void set_war_zone(int war_zone);
int get_war_zone();
// Level 0 to 9.
void set_visual_detail(int level);

// The UI colours of the menus; null is the toolkit's own.
const uint8_t* get_menu_colour_table();

// The Main Screen (at once, or through the screen stack's fade) and the Preferences Screen over it.
void push_main_screen(int at_once);
void push_preferences_screen();

}  // namespace vyr
