#include "source/menus/notify.h"

#include <iterator>

#include "library/animplay/movie.h"
#include "library/debug/fatal.h"
#include "library/system/thread.h"
#include "library/ui/button.h"
#include "library/ui/screens.h"
#include "library/ui/setattr.h"
#include "source/flight.h"
#include "source/intro.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/missions/campaign.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/missions/mission_select.h"
#include "source/menus/prefs_screens.h"
#include "source/menus/recognition.h"
#include "source/menus/screens.h"
#include "source/menus/top_ten.h"
#include "source/mission/game_flow.h"
#include "source/mission/quick_start.h"
#include "source/preferences.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sknet/menu_choice.h"
#include "source/sound/menu_music.h"
#include "source/startup.h"
#include "source/weapons/stores.h"

namespace vyr {

int32_t quick_start_level = 0;
int32_t quick_start_invincible = 0;

namespace {

constexpr const char* SOURCE_PATH = "source/menus/notify";
constexpr int LAUNCH_SLEEP_UNITS = 200;  // the flight thread takes over meanwhile
constexpr int MOVIE_COUNT = 8;
const char* const MOVIES[MOVIE_COUNT] = {"anims\\qk_logo.rpl", "anims\\intro.rpl",  "anims\\c1_fin.rpl",
                                         "anims\\c2_fin.rpl",  "anims\\k1_fin.rpl", "anims\\k2_fin.rpl",
                                         "anims\\m1_fin.rpl",  "anims\\m2_fin.rpl"};

// The campaigns of zones 1 to 3 open with a movie.
const char* const CAMPAIGN_MOVIES[] = {"anims\\m2_fin.rpl", "anims\\k1_fin.rpl", "anims\\c1_fin.rpl"};

BackHook back_hook = nullptr;
int32_t movie_index = 0;

int always_go_back() { return 1; }

// The flight of the chosen mission; the menus stay parked in the sleep until it is over.
void launch_flight() {
    if (!prepare_quick_mission()) return;  // the player's own file was refused: the menu stays
    count_game_run();
    start_game_thread();
    sleep_thread(LAUNCH_SLEEP_UNITS);
}

void play_backdrop_movie(const char* name) {
    push_screen(movie_backdrop);
    play_movie(name);
    pop_screen();
}

void launch_quick_start(int zone) {
    quick_start_level = quick_start_invincible ? 3 : 1;
    connection_mode = CONNECTION_NONE;
    set_game_flow(FLOW_QUICK_START);
    set_war_zone(zone);
    launch_flight();
}

// Every single-player choice leaves the multiplayer state behind.
void reset_to_single_player() {
    connection_mode = CONNECTION_NONE;
    quick_start_level = 0;
}

void choose_war_zone(int zone, Event& event) {
    if (event.type != EV_SELECT) return;
    if (get_log_status(current_pilot_log) != 2) {
        push_screen(log_screen);
        choose_menu_music();
        return;
    }
    if (!send_menu_choice(12 + zone, event)) return;
    dress_mission_screens(zone);
    dress_situation_screen(zone);
    for (UiObject* toggle : training_toggles) set_ui_attrs(toggle, ATTR_INPUT, 0);
    set_war_zone(zone);
    switch (get_game_flow()) {
    case FLOW_QUICK_START: launch_flight(); break;
    case FLOW_SINGLE_MISSION: show_single_missions(); break;
    case FLOW_CAMPAIGN:
        if (animations_on && zone <= int(std::size(CAMPAIGN_MOVIES))) play_backdrop_movie(CAMPAIGN_MOVIES[zone - 1]);
        enter_campaign();
        break;
    default:
        if (zone <= 2)
            report_fatal_error("Unknown GameFlow on Map Selection (%d)", SOURCE_PATH, __LINE__, get_game_flow());
        else
            report_fatal_error("Unknown GameFlow on Map Selection", SOURCE_PATH, __LINE__);
    }
}

void pop_now(int times) {
    for (int i = 0; i < times; ++i) pop_screen_now();
}

}  // namespace

void set_back_hook(BackHook hook) { back_hook = hook; }

// The score of a quick start enters the top ten only when it was not flown invincible.
int get_game_type() { return quick_start_level; }

void quick_start_zone_1(UiObject*, Event&) { launch_quick_start(WAR_ZONE_ISRAEL); }
void quick_start_zone_2(UiObject*, Event&) { launch_quick_start(WAR_ZONE_KOREA); }
void quick_start_zone_3(UiObject*, Event&) { launch_quick_start(WAR_ZONE_CYPRUS); }
void quick_start_zone_4(UiObject*, Event&) { launch_quick_start(WAR_ZONE_AFGHAN); }

// The screen shows what will be flown: the air radio on and its table, as the kind is reset.
void show_quick_start_screen(UiObject*, Event&) {
    push_screen(quick_start_screen);
    set_quick_start_kind(1);
    select_radio(air_combat_radio);
    refresh_top_ten_lists();
}

void choose_war_zone_1(UiObject*, Event& event) { choose_war_zone(WAR_ZONE_ISRAEL, event); }
void choose_war_zone_2(UiObject*, Event& event) { choose_war_zone(WAR_ZONE_KOREA, event); }
void choose_war_zone_3(UiObject*, Event& event) { choose_war_zone(WAR_ZONE_CYPRUS, event); }
void choose_war_zone_4(UiObject*, Event& event) { choose_war_zone(WAR_ZONE_AFGHAN, event); }

void start_single_missions(UiObject*, Event&) {
    reset_to_single_player();
    set_game_flow(FLOW_SINGLE_MISSION);
    two_player_position = 1;
    restore_single_player_dress(true);
    push_screen(game_screen);
}

void start_campaign(UiObject*, Event&) {
    reset_to_single_player();
    set_game_flow(FLOW_CAMPAIGN);
    push_screen(game_screen);
}

void start_training(UiObject*, Event&) {
    reset_to_single_player();
    dress_mission_screens(WAR_ZONE_NEVADA);
    for (UiObject* toggle : training_toggles) set_ui_attrs(toggle, ATTR_INPUT, 1);
    set_war_zone(WAR_ZONE_NEVADA);
    set_game_flow(FLOW_TRAINING);
    unlimited_weapons = 1;
    invincible = 1;
    two_player_position = 1;
    restore_single_player_dress(false);
    show_training_missions();
}

void combat_screen_shown(UiObject*, Event& event) {
    if (event.value) set_game_flow(FLOW_NONE);
}

void show_combat_screen(UiObject*, Event&) { push_screen(combat_screen); }
void show_help_screen(UiObject*, Event&) { push_screen(help_pages[0]); }

void show_preferences_screen(UiObject*, Event&) {
    refresh_preferences_screen();
    push_screen(preferences_screen);
    choose_menu_music();
}

void show_log_screen(UiObject*, Event&) {
    push_screen(log_screen);
    choose_menu_music();
}

void show_recognition_screen(UiObject*, Event&) {
    push_screen(recognition_screen);
    choose_menu_music();
}

void go_main_screen(UiObject*, Event&) {
    two_player_position = 1;
    restore_single_player_dress(true);
    push_screen(main_screen);
}

void go_back_screen(UiObject*, Event& event) {
    if (event.type == EV_SELECT && !(back_hook && back_hook() == 0)) pop_screen();
    choose_menu_music();
}

void close_exit_screen(UiObject*, Event&) { pop_screen(); }
void show_exit_screen(UiObject*, Event&) { push_screen(exit_screen); }

void quit_game(UiObject*, Event&) {
    play_finale();
    quit_game_key(0);
}

void play_next_movie(UiObject*, Event&) {
    if (movie_index < 0 || movie_index >= MOVIE_COUNT) movie_index = 0;
    if (animations_on) play_backdrop_movie(MOVIES[movie_index]);
    ++movie_index;
}

void main_screen_shown(UiObject*, Event& event) { set_back_hook(event.value ? always_go_back : nullptr); }
void quick_start_screen_shown(UiObject*, Event&) { refresh_top_ten_lists(); }

void toggle_quick_start_invincible(UiObject* object, Event&) { quick_start_invincible = object->state != 0; }

void choose_quick_start_kind(UiObject*, Event&) {
    set_quick_start_kind(air_combat_radio->state ? 1 : 2);
    refresh_top_ten_lists();
}

void toggle_training_invincible(UiObject* object, Event&) { invincible = object->state; }
void toggle_training_weapons(UiObject* object, Event&) { unlimited_weapons = object->state; }

void load_campaign_mission(UiObject*, Event&) {
    if (current_campaign_mission) {
        open_campaign_mission();
        return;
    }
    choose_menu_music();
    enter_campaign();
}

// Forward: to the next page, the last wrapping to the first.
void help_forward_1(UiObject*, Event&) { push_screen(help_pages[1]); }
void help_forward_2(UiObject*, Event&) { push_screen(help_pages[2]); }
void help_forward_3(UiObject*, Event&) { push_screen(help_pages[3]); }
void help_forward_4(UiObject*, Event&) {
    pop_now(2);
    pop_screen();
}
// Back: to the previous page, the first wrapping to the last with the pages between on the stack.
void help_back_1(UiObject*, Event&) {
    push_screen_now(help_pages[1]);
    push_screen_now(help_pages[2]);
    push_screen(help_pages[3]);
}
void help_back_2(UiObject*, Event&) { pop_screen(); }
void help_back_3(UiObject*, Event&) { pop_screen(); }
void help_back_4(UiObject*, Event&) { pop_screen(); }
// Exit: back to where the help was opened, with one fade.
void help_exit_1(UiObject*, Event&) { pop_screen(); }
void help_exit_2(UiObject*, Event&) {
    pop_now(1);
    pop_screen();
}
void help_exit_3(UiObject*, Event&) {
    pop_now(2);
    pop_screen();
}
void help_exit_4(UiObject*, Event&) {
    pop_now(3);
    pop_screen();
}

}  // namespace vyr
