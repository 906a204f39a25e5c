// Front-end flow and set-up: every menu screen, the war zone and the menus' UI colours.
#pragma once

#include <cstdint>

namespace vyr {

// Every menu screen.
void init_front_end();

// The theatre, 1 to 5.
void set_war_zone(int war_zone);
int get_war_zone();

// The UI colours of the menus; null is the toolkit's own.
const uint8_t* get_menu_colour_table();

enum GameFlow : int32_t {
    FLOW_QUICK_START = 1,
    FLOW_TRAINING = 2,
    FLOW_SINGLE_MISSION = 3,
    FLOW_CAMPAIGN = 4,
    FLOW_DEATHMATCH = 5,
    FLOW_CAPTURE_FLAG = 6,
};
int get_game_flow();
void set_game_flow(int flow);

// The coming quick start: 1 air combat, 2 ground attack.
extern int32_t quick_start_kind;

// The mission's time of day at its start, in ticks since midnight.
int32_t get_mission_start_time();

// The front end's game type (1: the quick start that enters the top ten).
int get_game_type();
// Set while the flight was started from the first-run screen.
extern int32_t first_run_flight;
void refresh_map_screen();
// After a flight the menus' screens are the player's again: buttons shown, remote-control
// messages hidden.
void return_screens_to_local_control();

}  // namespace vyr
