#include "source/sknet/net_decoder.h"

#include <cstring>

namespace vyr {

namespace {

struct CodeRule {
    int32_t code;
    int32_t size;
    bool reads_slot;  // the receiver reads the sender's slot, so the number must be a player's
};

constexpr CodeRule CODE_RULES[] = {
    {NET_MSG_ANNOUNCE, NET_MESSAGE_SIZE, false},  // -1 becomes the node's number
    {NET_MSG_ANNOUNCE_REPLY, NET_MESSAGE_SIZE, false},
    {NET_MSG_NODE_COUNT, NET_MESSAGE_SIZE, false},
    {NET_MSG_PLAYER_NAME, NET_MESSAGE_SIZE, false},
    {NET_MSG_MENU_ITEM, NET_MESSAGE_SIZE, false},
    {NET_MSG_PLAYER_QUIT, NET_MESSAGE_SIZE, true},
    {NET_MSG_TWO_PLAYER_SETTINGS, NET_SETTINGS_SIZE, false},
    {NET_MSG_CHAT, NET_MESSAGE_SIZE, false},
};

const CodeRule* find_rule(int32_t code) {
    for (const CodeRule& rule : CODE_RULES)
        if (rule.code == code) return &rule;
    return nullptr;
}

int32_t read_int32(const uint8_t* data, int offset) {
    return int32_t(uint32_t(data[offset]) | uint32_t(data[offset + 1]) << 8 | uint32_t(data[offset + 2]) << 16 |
                   uint32_t(data[offset + 3]) << 24);
}

void write_int32(uint8_t* data, int offset, int32_t value) {
    for (int i = 0; i < 4; ++i) data[offset + i] = uint8_t(uint32_t(value) >> (8 * i));
}

bool drop(NetDropReason reason) {
    ++net_drop_counts[reason];
    return false;
}

// The menu item's senders pass presses and the mission list's pointer events; any other type
// replayed on a control could act on it otherwise (EV_DESTROY would destroy it).
bool menu_item_in_range(const NetMessage& message) {
    const int type = message.event.type;
    return message.item >= 1 && message.item <= 20 &&
           (type == EV_SELECT || type == EV_MOUSE_MOVE || type == EV_MOUSE_CLICK || type == EV_MOUSE_DBL_CLICK);
}

// The settings index the name tables and the screen's rows. Position, start time and difficulty
// are bytes on the sender's screen: their low byte counts.
bool read_settings(const uint8_t* data, NetMessage& message) {
    int32_t* s = message.settings;
    for (int i = 0; i < 5; ++i) s[i] = read_int32(data, NET_OFFSET_SETTINGS + 4 * i);
    for (int i : {1, 3, 4}) s[i] = s[i] & 0xFF;
    return (s[0] == 1 || s[0] == 2) && s[1] <= 1 && s[2] >= 0 && s[2] <= 3 && s[3] <= 1 && s[4] <= 1;
}

}  // namespace

int32_t net_drop_counts[NET_DROP_REASONS] = {};

bool decode_net_message(const NetPacket& packet, NetMessage& message) {
    if (packet.length < 4) return drop(NET_DROP_SHORT);
    message = {};
    message.code = read_int32(packet.data, NET_OFFSET_CODE);
    const CodeRule* rule = find_rule(message.code);
    if (!rule) return drop(NET_DROP_UNKNOWN_CODE);
    if (packet.length < rule->size) return drop(NET_DROP_SHORT);
    message.node = packet.node;
    if (message.code == NET_MSG_TWO_PLAYER_SETTINGS) {
        message.sender = -1;
        return read_settings(packet.data, message) || drop(NET_DROP_BAD_VALUE);
    }
    message.sender = read_int32(packet.data, NET_OFFSET_SENDER);
    if (message.sender == -1 && message.code == NET_MSG_ANNOUNCE) message.sender = packet.node;
    bool player = message.sender >= 0 && message.sender < MAX_NET_PLAYERS;
    if (!player && (rule->reads_slot || message.sender != -1)) return drop(NET_DROP_BAD_SENDER);
    std::memcpy(message.name, packet.data + NET_OFFSET_NAME, NET_NAME_LENGTH);
    message.name[NET_NAME_LENGTH] = 0;
    if (message.code == NET_MSG_ANNOUNCE) {
        message.team = read_int32(packet.data, NET_OFFSET_TEAM);
        message.aircraft_object = read_int32(packet.data, NET_OFFSET_AIRCRAFT);
    }
    if (message.code == NET_MSG_MENU_ITEM) {
        message.item = read_int32(packet.data, NET_OFFSET_MENU_ITEM);
        int32_t* words[] = {&message.event.type, &message.event.value, &message.event.x, &message.event.y,
                            &message.event.time};
        for (int i = 0; i < 5; ++i) *words[i] = read_int32(packet.data, NET_OFFSET_MENU_EVENT + 4 * i);
        if (!menu_item_in_range(message)) return drop(NET_DROP_BAD_VALUE);
    }
    if (message.code == NET_MSG_CHAT) std::memcpy(message.text, packet.data + NET_OFFSET_CHAT_TEXT, NET_CHAT_TEXT_SIZE);
    return true;
}

int encode_net_message(const NetMessage& message, uint8_t (&block)[NET_MESSAGE_SIZE]) {
    std::memset(block, 0, sizeof block);
    write_int32(block, NET_OFFSET_CODE, message.code);
    if (message.code == NET_MSG_TWO_PLAYER_SETTINGS) {
        for (int i = 0; i < 5; ++i) write_int32(block, NET_OFFSET_SETTINGS + 4 * i, message.settings[i]);
        return NET_SETTINGS_SIZE;
    }
    std::memcpy(block + NET_OFFSET_NAME, message.name, strnlen(message.name, NET_NAME_LENGTH));
    write_int32(block, NET_OFFSET_SENDER, message.sender);
    if (message.code == NET_MSG_ANNOUNCE) {
        write_int32(block, NET_OFFSET_TEAM, message.team);
        write_int32(block, NET_OFFSET_AIRCRAFT, message.aircraft_object);
    }
    if (message.code == NET_MSG_MENU_ITEM) {
        write_int32(block, NET_OFFSET_MENU_ITEM, message.item);
        const Event& e = message.event;
        const int32_t words[] = {e.type, e.value, e.x, e.y, e.time};
        for (int i = 0; i < 5; ++i) write_int32(block, NET_OFFSET_MENU_EVENT + 4 * i, words[i]);
    }
    if (message.code == NET_MSG_CHAT)
        std::memcpy(block + NET_OFFSET_CHAT_TEXT, message.text, strnlen(message.text, NET_CHAT_TEXT_SIZE));
    return NET_MESSAGE_SIZE;
}

}  // namespace vyr
