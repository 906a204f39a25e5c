// Stand-in for the network transport: what would go out is recorded.
#include "source/sknet/net_messages.h"

namespace vyr {

NetSendLog net_send_log = {};

void send_weapon_fire_message(WeaponRound* round) {
    ++net_send_log.weapon_fire;
    net_send_log.last_round = round;
}
void send_flare_message() { ++net_send_log.flare; }
void send_chaff_message() { ++net_send_log.chaff; }

}  // namespace vyr
