#include "source/game_main.h"

#include "library/3dvisual/world.h"
#include "library/config/prefs.h"
#include "library/sound/music.h"
#include "library/sound/samples.h"
#include "library/system/key.h"
#include "library/system/library.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/ui/repaint.h"
#include "library/ui/setattr.h"
#include "source/drone/drone_types.h"
#include "source/drone/soldier_moves.h"
#include "source/intro.h"
#include "source/menus/front_end.h"
#include "source/menus/missions/catalogue.h"
#include "source/mission/game_flow.h"
#include "source/mission/payload.h"
#include "source/menus/screens.h"
#include "source/menus/top_ten.h"
#include "source/preferences.h"
#include "source/startup.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

namespace {

constexpr int DEFAULT_WAR_ZONE = 3;

void show_first_screen() {
    if (run_count != 0 || is_key_down(SCAN_LEFT_SHIFT)) {
        push_main_screen(0);
        count_game_run();
    } else {
        count_game_run();
        push_main_screen(1);
        push_preferences_screen();
    }
}

}  // namespace

void load_flight_data() {
    init_weapon_info();
    init_pylon_types();
    init_sensor_types();
    load_pylon_file();
    load_weapon_file();
    set_animation_hook(pose_human_figure);
    load_human_movements();
    init_drone_types();
}

// Brings every subsystem up under the loading screen, puts the first menu screen up and leaves
// the front end to the UI's threads; it never returns.
int game_main(int argc, char** argv) {
    report_seams();
    pointer_colours_locked = 1;
    init_library("vyr.rop");
    parse_environment_options("VORNGS");
    parse_command_line(argc, argv);
    apply_preferences();
    show_loading_screen(0);
    add_hot_key(KEY_CTRL | SCAN_Q, quit_game_key);
    add_hot_key(KEY_CTRL | KEY_ALT | SCAN_DELETE, quit_game_key);
    show_loading_screen(1);
    init_sound();
    show_loading_screen(2);
    load_mission_catalogue();
    set_ui_colours(get_menu_colour_table());
    show_loading_screen(3);
    int war_zone = DEFAULT_WAR_ZONE;
    get_pref_int("Set Map", &war_zone);
    pointer_colours_locked = 1;
    set_war_zone(war_zone);
    start_accelerator();
    load_flight_data();
    load_top_ten();
    pointer_colours_locked = 1;
    init_front_end();
    show_loading_screen(-1);
    play_intro();
    resume_ui_updates();
    show_first_screen();
    play_theme_music();
    enable_pointer_colours();
    reset_pointer_limits();
    show_pointer();
    terminate_current_thread();
}

}  // namespace vyr
