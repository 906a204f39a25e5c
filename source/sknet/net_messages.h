// The messages this machine sends to the others of a network game, one per event.
#pragma once

#include <cstdint>

namespace vyr {

struct WeaponRound;

// Message numbers on the wire.
constexpr int NET_MESSAGE_WEAPON_FIRE = 13;
constexpr int NET_MESSAGE_CHAFF = 23;
constexpr int NET_MESSAGE_FLARE = 24;

// Messages 13, 24 and 23: a round the player launched, a flare, a chaff bundle.
void send_weapon_fire_message(WeaponRound* round);
void send_flare_message();
void send_chaff_message();

// What was handed to the transport since the flight began: the count of each kind and the last
// round and score sent.
struct NetSendLog {
    int32_t weapon_fire, flare, chaff, score;
    const WeaponRound* last_round;
    int32_t last_score_player;
};
extern NetSendLog net_send_log;

}  // namespace vyr
