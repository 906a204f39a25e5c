#include "source/sknet/menu_choice.h"

#include "source/menus/logs/pilot_log.h"
#include "library/ui/screens.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sknet/modem_link.h"
#include "source/sknet/setup_exchange.h"
#include "source/sknet/two_player_messages.h"
#include "source/sknet/two_player.h"

namespace vyr {

namespace {

int last_item = 0;
int last_line = -1;

// The mission line a list choice carries, in the event the mission list fills.
int mission_line(const Event& event) { return event.x; }

// Waits while `waiting` holds and the exchange still runs.
template <typename Condition>
void wait_for_exchange(Condition waiting) {
    while (waiting() && modem_state == MODEM_EXCHANGE) yield_on_link();
}

bool checks_carrier(int item) {
    switch (item) {
    case 13: case 14: case 15: case 17: case 18: case 19: case 20: return true;
    default: return false;
    }
}

}  // namespace

void send_menu_choice_serial(int item, const Event& event) {
    const int line = mission_line(event);
    const bool listed = line >= 0 && line < MENU_MISSION_LINES;
    int byte = item;
    if (item == MENU_MISSION_LINE) byte = listed ? MENU_FIRST_MISSION + line : MENU_NO_MISSION;
    set_pending_menu_choice(byte);
    wait_for_exchange([] { return pending_menu_choice() != MENU_NOTHING; });
    if (item == MENU_TAKE_OFF) wait_for_exchange([] { return !exchange_at_link_test(); });
}

int send_menu_choice(int item, const Event& event) {
    if (item == MENU_MISSION_NEXT && get_log_status(current_pilot_log) != 2) {
        push_screen(log_screen);
        return 0;
    }
    if (connection_mode == CONNECTION_NONE || game_mode == GAME_SINGLE) return 1;
    if (linked_game && item >= 1 && item <= 11) return 1;
    const bool repeats = item != 12 && item != 1 && item != MENU_MISSION_LINE;
    if ((repeats && item == last_item) || (item == MENU_MISSION_LINE && mission_line(event) == last_line) ||
        event.y == -1)
        return 1;
    last_item = item;
    if (item == MENU_MISSION_LINE) last_line = mission_line(event);
    if (connection_mode == CONNECTION_DIRECT || connection_mode == CONNECTION_MODEM) {
        if (two_player_position == 1) send_menu_choice_serial(item, event);
        // Only this machine's own failed carrier test refuses the choice: the answer of an
        // earlier lost link must not stop every later choice.
        if (connection_mode == CONNECTION_MODEM && checks_carrier(item) && !check_carrier()) {
            close_exchange_screens();
            return 0;
        }
    } else if (connection_mode == CONNECTION_NETWORK) {
        send_menu_item(item, event);
    }
    return 1;
}

}  // namespace vyr
