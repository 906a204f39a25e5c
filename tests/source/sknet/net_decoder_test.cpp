#include "source/sknet/net_decoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tests/support/paths.h"

namespace vyr {
namespace {

struct Field {
    int offset;
    std::vector<uint8_t> bytes;
};

TEST(NetDecoder, BlocksAreWrittenByteForByteAndReadBack) {
    struct Case {
        NetMessage message;
        std::vector<Field> fields;  // every other byte of the 488 is zero
    };
    const std::vector<uint8_t> alpha = {'A', 'L', 'P', 'H', 'A'};
    const std::vector<uint8_t> eight = {'B', 'R', 'A', 'V', 'O', 'B', 'R', 'A'};
    const Case cases[] = {
        {{NET_MSG_ANNOUNCE, "ALPHA", 3, 0, -1, 606}, {{0, {2, 0, 0, 0}}, {4, alpha}, {16, {3, 0, 0, 0}}, {72, {0xFF, 0xFF, 0xFF, 0xFF}}, {76, {0x5E, 2, 0, 0}}}},
        {{NET_MSG_ANNOUNCE, "ALPHA", -1, 0, 1, 0}, {{0, {2, 0, 0, 0}}, {4, alpha}, {16, {0xFF, 0xFF, 0xFF, 0xFF}}, {72, {1, 0, 0, 0}}}},
        {{NET_MSG_ANNOUNCE_REPLY, "BRAVOBRA", 15, 0, 0, 0}, {{0, {3, 0, 0, 0}}, {4, eight}, {16, {15, 0, 0, 0}}}},
        {{NET_MSG_NODE_COUNT, "", 0, 0, 0, 0}, {{0, {4, 0, 0, 0}}}},
        {{NET_MSG_PLAYER_NAME, "ALPHA", 1, 0, 0, 0}, {{0, {5, 0, 0, 0}}, {4, alpha}, {16, {1, 0, 0, 0}}}},
        {{NET_MSG_PLAYER_QUIT, "ALPHA", 7, 0, 0, 0}, {{0, {19, 0, 0, 0}}, {4, alpha}, {16, {7, 0, 0, 0}}}},
        {{NET_MSG_CHAT, "ALPHA", 2, 0, 0, 0, "hello"}, {{0, {41, 0, 0, 0}}, {4, alpha}, {16, {2, 0, 0, 0}}, {24, {'h', 'e', 'l', 'l', 'o'}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.code);
        uint8_t block[NET_MESSAGE_SIZE];
        std::memset(block, 0xCC, sizeof block);
        ASSERT_EQ(encode_net_message(c.message, block), NET_MESSAGE_SIZE);
        std::vector<uint8_t> expected(NET_MESSAGE_SIZE, 0);
        for (const Field& field : c.fields) std::copy(field.bytes.begin(), field.bytes.end(), expected.begin() + field.offset);
        EXPECT_EQ(std::vector<uint8_t>(block, block + NET_MESSAGE_SIZE), expected);

        NetPacket packet = {};
        std::memcpy(packet.data, block, sizeof block);
        packet.length = NET_MESSAGE_SIZE;
        packet.node = 9;
        NetMessage read;
        ASSERT_TRUE(decode_net_message(packet, read));
        EXPECT_STREQ(read.name, c.message.name);
        EXPECT_EQ(read.sender, c.message.sender == -1 && c.message.code == NET_MSG_ANNOUNCE ? 9 : c.message.sender)
            << "an announce numbered -1 speaks for its node";
        EXPECT_EQ(read.node, 9);
        EXPECT_STREQ(read.text, c.message.text);
        if (c.message.code == NET_MSG_ANNOUNCE) {
            EXPECT_EQ(read.team, c.message.team);
            EXPECT_EQ(read.aircraft_object, c.message.aircraft_object);
        }
    }
}

NetPacket packet_of(const uint8_t* block, int length) {
    NetPacket packet = {};
    std::memcpy(packet.data, block, size_t(length));
    packet.length = length;
    return packet;
}

int32_t word_at(const uint8_t* block, int offset) {
    int32_t value;
    std::memcpy(&value, block + offset, 4);
    return value;
}

TEST(NetDecoder, TheMenuItemAndTheTwoPlayerSettingsTravelAtTheirOffsets) {
    NetMessage item = {NET_MSG_MENU_ITEM, "ALPHA", 1, 0, 0, 0};
    item.item = 18;
    item.event = {EV_SELECT, 4, 25, 0, 900};
    uint8_t block[NET_MESSAGE_SIZE];
    ASSERT_EQ(encode_net_message(item, block), NET_MESSAGE_SIZE);
    EXPECT_EQ(word_at(block, 44), 18);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(word_at(block, 48 + 4 * i), (std::vector<int32_t>{EV_SELECT, 4, 25, 0, 900}[size_t(i)]));
    NetMessage read;
    ASSERT_TRUE(decode_net_message(packet_of(block, NET_MESSAGE_SIZE), read));
    EXPECT_EQ(read.item, 18);
    EXPECT_EQ(read.event.x, 25);
    EXPECT_EQ(read.event.time, 900);

    NetMessage settings = {NET_MSG_TWO_PLAYER_SETTINGS, "ALPHA", 1, 0, 0, 0};
    const int32_t chosen[5] = {2, 1, 3, 1, 0};
    std::copy(std::begin(chosen), std::end(chosen), settings.settings);
    ASSERT_EQ(encode_net_message(settings, block), 24) << "no name and no sender number";
    EXPECT_EQ(std::vector<uint8_t>(block, block + 24),
              (std::vector<uint8_t>{40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    block[9] = 0xAB;  // the sender's screen keeps position, start time and difficulty as bytes
    block[17] = 0xCD;
    ASSERT_TRUE(decode_net_message(packet_of(block, 24), read));
    EXPECT_EQ(std::vector<int32_t>(read.settings, read.settings + 5), (std::vector<int32_t>{2, 1, 3, 1, 0}));
    EXPECT_EQ(read.sender, -1) << "byte 16 is the start time here";
}

// Each malformed datagram is named for the reason it must be dropped under.
TEST(NetDecoder, TheMalformedCorpusIsDroppedUnderItsReasons) {
    const std::map<std::string, NetDropReason> reasons = {
        {"short", NET_DROP_SHORT}, {"unknown-code", NET_DROP_UNKNOWN_CODE}, {"bad-sender", NET_DROP_BAD_SENDER},
        {"bad-value", NET_DROP_BAD_VALUE}};
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VYR_FIXTURES_DIR) + "/net_malformed")) {
        std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        auto reason = std::find_if(reasons.begin(), reasons.end(), [&](const auto& r) { return name.rfind(r.first, 0) == 0; });
        ASSERT_NE(reason, reasons.end()) << "a corpus file names its reason";
        std::ifstream file(entry.path(), std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        NetPacket packet = {};
        packet.length = int32_t(std::min(bytes.size(), sizeof packet.data));
        std::copy_n(bytes.begin(), packet.length, packet.data);
        int32_t before[NET_DROP_REASONS];
        std::copy(std::begin(net_drop_counts), std::end(net_drop_counts), before);
        NetMessage message;
        EXPECT_FALSE(decode_net_message(packet, message));
        for (int r = 0; r < NET_DROP_REASONS; ++r) EXPECT_EQ(net_drop_counts[r] - before[r], r == reason->second ? 1 : 0);
        ++files;
    }
    EXPECT_GE(files, 10);
}

}  // namespace
}  // namespace vyr
