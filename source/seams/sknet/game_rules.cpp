// Stand-in for the rules of a linked game: a linked game takes its mode and connection from the
// two-player screen; every other game is a single-player one.
#include "source/sknet/game_rules.h"

#include "source/mission/game_flow.h"
#include "source/menus/notify.h"
#include "source/sknet/two_player.h"
#include "source/weapons/stores.h"

namespace vyr {

int32_t game_mode = GAME_SINGLE;
int32_t connection_mode = CONNECTION_NONE;
int32_t free_pause = 0;
int32_t control_mode = CONTROL_PILOT;
int32_t crashing_off = 0;
int32_t invincible = 0;
int32_t infinite_fuel = 0;

// The rules as they stand are the single player's: one machine takes both seats, so the weapon
// and target keys act and the target selection runs. A quick start has infinite fuel and
// unlimited weapons, and no crashes when flown invincible.
void set_game_rules() {
    if (linked_game) {
        game_mode = two_player_game_type;
        connection_mode = two_player_connect_type;
        return;
    }
    game_mode = GAME_SINGLE;
    connection_mode = CONNECTION_NONE;
    control_mode = CONTROL_BOTH;
    if (get_game_flow() != FLOW_QUICK_START) return;
    infinite_fuel = 1;
    unlimited_weapons = 1;
    crashing_off = quick_start_level == 3;
}

void register_comms_phrase_keys() {}
int own_team_bit() { return 1; }
void send_crashed() {}
void send_flag_captured() {}
void queue_two_player_event(int) {}

}  // namespace vyr
