// The one door between a received packet and the game: a packet becomes a checked NetMessage or
// a drop counted under its reason. Blocks are written and read field by field, little-endian, at
// fixed offsets.
#pragma once

#include <cstdint>

#include "library/system/event.h"
#include "library/network/transport.h"
#include "source/sknet/net_players.h"

namespace vyr {

enum NetMessageCode : int32_t {
    NET_MSG_ANNOUNCE = 2,
    NET_MSG_ANNOUNCE_REPLY = 3,
    NET_MSG_NODE_COUNT = 4,
    NET_MSG_PLAYER_NAME = 5,
    NET_MSG_MENU_ITEM = 7,
    NET_MSG_PLAYER_QUIT = 19,
    NET_MSG_TWO_PLAYER_SETTINGS = 40,
    NET_MSG_CHAT = 41,
};

constexpr int NET_MESSAGE_SIZE = 488;
constexpr int NET_OFFSET_CODE = 0;
constexpr int NET_OFFSET_NAME = 4;
constexpr int NET_OFFSET_SENDER = 16;
constexpr int NET_OFFSET_TEAM = 72;
constexpr int NET_OFFSET_AIRCRAFT = 76;
constexpr int NET_OFFSET_MENU_ITEM = 44;
constexpr int NET_OFFSET_MENU_EVENT = 48;
// The two-player settings block is five words from byte 4, with no name and no sender number.
constexpr int NET_OFFSET_SETTINGS = 4;
constexpr int NET_SETTINGS_SIZE = 24;
constexpr int NET_OFFSET_CHAT_TEXT = 24;
constexpr int NET_CHAT_TEXT_SIZE = 80;

struct NetMessage {
    int32_t code;
    char name[NET_NAME_LENGTH + 1];
    // The sender's player number; -1 while it has none, except that an announce numbered -1
    // speaks for the node it came from.
    int32_t sender;
    int32_t node;  // the transport's node the packet came from
    // Announce: bit 0 set for blue (1 while the sender's number is unknown, else -1 blue, 0 red),
    // and the aircraft object number.
    int32_t team;
    int32_t aircraft_object;
    // Chat: the text, ending at its first NUL or after 80 bytes.
    char text[NET_CHAT_TEXT_SIZE + 1] = {};
    // Menu item: the item 1..20 and the event its control passed.
    int32_t item = 0;
    Event event = {};
    // Two-player settings: game type 1 or 2, the sender's position 0 or 1, weather 0..3, start
    // time 0 or 1, difficulty 0 or 1.
    int32_t settings[5] = {};
};

enum NetDropReason : int32_t {
    NET_DROP_SHORT,         // shorter than its code's block
    NET_DROP_UNKNOWN_CODE,  // a code this program does not take
    NET_DROP_BAD_SENDER,    // a player number outside the table where a slot is read
    NET_DROP_BAD_VALUE,     // a field outside the values its receiver indexes or replays
    NET_DROP_REASONS,
};
extern int32_t net_drop_counts[NET_DROP_REASONS];

// False, counting the reason, for a packet no receiver may see.
bool decode_net_message(const NetPacket& packet, NetMessage& message);
// Writes the message's block (cleared first) and returns its length.
int encode_net_message(const NetMessage& message, uint8_t (&block)[NET_MESSAGE_SIZE]);

}  // namespace vyr
