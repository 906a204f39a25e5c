#include "source/sknet/remote_choices.h"

#include "library/ui/object.h"
#include "library/ui/screens.h"
#include "source/flight.h"
#include "source/frame_loop.h"
#include "source/menus/brief/briefing.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/missions/mission_select.h"
#include "source/menus/notify.h"
#include "source/menus/screens.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_players.h"
#include "source/sknet/setup_exchange.h"
#include "source/sknet/two_player.h"
#include "source/sknet/two_player_screen.h"

namespace vyr {

namespace {

constexpr int REPLAYED = -1;

Event replay(Event event = {EV_SELECT, 0, 0, 0, 0}) {
    event.y = REPLAYED;
    return event;
}

bool on_show(const UiObject* screen) { return screen && screen_depth > 0 && screen_stack[screen_depth - 1] == screen; }

void war_zone(int zone, Event event) {
    static const UiNotify buttons[4] = {choose_war_zone_1, choose_war_zone_2, choose_war_zone_3, choose_war_zone_4};
    if (zone >= 1 && zone <= 4) buttons[zone - 1](nullptr, event);
}

void mission_line(Event event) {
    if (mission_list) select_mission_from_list(mission_list, event);
}

// The follower loads the line its list holds, which the leader's last line choice selected.
void mission_next(Event event) {
    event.value = mission_list ? mission_list->selection : -1;
    load_chosen_mission(nullptr, event);
}

void take_off(Event event) { briefing_takeoff(briefing_takeoff_button, event); }

}  // namespace

void press_war_zone(int zone) { war_zone(zone, replay()); }

void press_mission_line(int line) {
    Event event = replay();
    event.x = line;
    mission_line(event);
}

void press_mission_next() { mission_next(replay()); }
void press_take_off() { take_off(replay()); }

void press_map_exit() {
    Event event = replay();
    close_debrief_map(debrief_exit_button, event);
}

void close_linked_screens() {
    if (on_show(map_screen)) pop_screen();
    if (on_show(missions_select_screen)) pop_screen_now();
    if (on_show(game_screen)) pop_screen_now();
}

void install_remote_presses() {
    set_exchange_presses({press_war_zone, press_mission_next, press_mission_line, press_take_off,
                          start_game_from_other_machine, press_map_exit, close_linked_screens});
}

bool replay_menu_item(int item, const Event& received) {
    if (item < 1 || item > 20 || in_flight || flight_running) return false;
    Event event = replay(received);
    TwoPlayerChoices& choices = two_player_choices;
    switch (item) {
    case 1:
        game_mode_button(nullptr, event);
        set_game_rules();
        break;
    case 2: case 3: case 4: case 5:  // the weather before the one chosen, stepped on by one
        choices.weather = (item - 3) & 3;
        weather_plus(nullptr, event);
        break;
    // The toggles are turned from the value opposite the one chosen, so both machines show it
    // even when each had changed it.
    case 6: case 7:
        choices.start_time = 7 - item;
        start_time_button(nullptr, event);
        break;
    case 8: case 9:
        choices.difficulty = 9 - item;
        difficulty_button(nullptr, event);
        break;
    case 10: case 11:  // the other machine's position, so this one takes the other
        choices.position = item - 10;
        position_button(nullptr, event);
        set_game_rules();
        break;
    case 12: break;
    case 13: case 14: case 15: case 16: war_zone(item - 12, event); break;
    case 17: mission_next(event); break;
    case 18: mission_line(event); break;
    case 19: take_off(event); break;
    case 20:
        other_player_count = 0;
        network_active = 0;
        break;
    }
    return true;
}

}  // namespace vyr
