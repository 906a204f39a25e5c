#include "source/sknet/game_rules.h"

#include "source/sknet/link.h"
#include "source/sknet/net_messages.h"

namespace vyr {

// A network game sends each event at once; a direct or modem link carries it in the next frame.
void send_weapon_fire(WeaponRound* round) {
    if (connection_mode == CONNECTION_NETWORK) {
        send_weapon_fire_message(round);
    } else if (connection_mode != CONNECTION_NONE) {
        queue_link_weapon_fire(round);
    }
}

void send_flare_launch() {
    if (connection_mode == CONNECTION_NETWORK) {
        send_flare_message();
    } else if (connection_mode != CONNECTION_NONE) {
        link_flare_flag = 1;
    }
}

void send_chaff_launch() {
    if (connection_mode == CONNECTION_NETWORK) {
        send_chaff_message();
    } else if (connection_mode != CONNECTION_NONE) {
        link_chaff_flag = 1;
    }
}

}  // namespace vyr
