// Stand-in for the front end, missions and pilot records: the start-up loads, the war zone and
// the first screens, which show only their background pictures.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "library/3dvisual/terrain.h"
#include "library/3dvisual/world.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/os/file.h"
#include "source/controls.h"
#include "source/menus/debrief/debrief.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/missions/goals.h"
#include "source/menus/prefs_screens.h"
#include "source/menus/screens.h"
#include "source/menus/top_ten.h"
#include "source/recorder.h"

namespace vyr {

int32_t mission_planner = 0;
int32_t first_run_flight = 0;
int32_t quick_start_score = 0;
int32_t goal_damage_tally = 0;
int32_t landing_goal_met = 0;
int32_t soldiers_picked_up = 0;
int32_t soldiers_delivered = 0;
int32_t waypoints_reached = 0;

namespace {

constexpr int PICTURE_COLOURS = 246;  // entries above belong to the UI and the pointer

const char* const THEATRE_DIRECTORIES[] = {"israel.wz", "korea.wz", "cyprus.wz", "afghan.wz", "nevada.wz"};
constexpr int WAR_ZONE_KOREA = 2;

int current_war_zone = 0;  // none until start-up sets the stored one
Screen* shown_screen = nullptr;

// Until the screens exist, the player sees each one's background picture.
void show_background(const char* name) {
    if (!check_file_exists(name)) return;
    Screen* screen = create_screen(640, 480);
    select_screen(screen);
    clear_screen(0);
    // A picture without a colour map leaves the colours as they are.
    uint8_t palette[PICTURE_PALETTE_SIZE];
    std::memcpy(palette, base_palette, sizeof palette);
    if (load_picture_palette(name, screen->pixels, 640, 480, palette)) set_base_palette(palette, 0, PICTURE_COLOURS, 1);
    lock_and_flip_display();
    destroy_screen(shown_screen);
    shown_screen = screen;
}

}  // namespace

// There is no top ten or menu screen yet to load or build, only the pilot logs to read; the UI's
// threads run from the library start-up.
void load_top_ten() {}
void init_front_end() { init_pilot_logs(); }

// The palette's flag and the theatre's world data; the setting, the pointer and the landing aid
// are not here yet.
void set_war_zone(int war_zone) {
    if (war_zone == current_war_zone) return;
    current_war_zone = war_zone;
    zone_override_active = war_zone == WAR_ZONE_KOREA;
    if (war_zone >= 1 && war_zone <= int(std::size(THEATRE_DIRECTORIES))) {
        std::snprintf(world_settings.data_directory, sizeof world_settings.data_directory, "3ddata\\");
        std::snprintf(world_settings.war_zone_directory, sizeof world_settings.war_zone_directory, "%s\\",
                      THEATRE_DIRECTORIES[war_zone - 1]);
    }
    world_settings.flags = WORLD_LOAD_DATA;
    init_world(&world_settings);
    world_settings.flags &= ~WORLD_LOAD_DATA;
    reload_terrain_textures(&world_settings);
}

int get_war_zone() { return current_war_zone; }
void set_visual_detail(int) {}
const uint8_t* get_menu_colour_table() { return nullptr; }

// Until the menus choose them: an air-combat quick start, flown from the keyboard.
namespace {
int game_flow = FLOW_QUICK_START;
}  // namespace
int get_game_flow() { return game_flow; }
void set_game_flow(int flow) { game_flow = flow; }
int32_t quick_start_kind = 1;
void apply_control_type() {
    control_type = CONTROL_KEYBOARD;
    joystick_throttle = joystick_throttle_curve = joystick_rudder = 0;
}

int get_game_type() { return 1; }

// No top ten, map, goal or debrief screen exists yet to write or show; the flight's
// records are kept until the next one.
void reset_quick_start_score() { quick_start_score = 0; }
void enter_top_ten_score() {}
void show_top_ten_screen() {}
void refresh_map_screen() {}
void return_screens_to_local_control() {}
void reset_debrief_records() { reset_flight_records(); }
void show_debrief() {}
void init_mission_goals() {}
void restore_destroyed_ground_objects() {}
void note_mission_drone_killed() {}
void note_mission_target_destroyed() {}
void note_waypoint_reached() {}

void push_main_screen(int) { show_background("menuscrn\\main_off.lbm"); }
void push_preferences_screen() { show_background("menuscrn\\pref3_of.lbm"); }

}  // namespace vyr
