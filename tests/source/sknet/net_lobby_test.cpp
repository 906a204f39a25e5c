#include "source/sknet/net_lobby.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "source/frame_loop.h"
#include "source/sknet/net_decoder.h"
#include "source/sknet/net_players.h"
#include "tests/source/sknet/hub_peer.h"

namespace vyr {
namespace {

class NetLobbyTest : public testing::Test, protected HubPeer {
protected:
    void SetUp() override {
        network_active = 1;
        own_player_number = -1;
        other_player_count = 0;
        reset_player_table();
        std::strcpy(own_network_name, "ALPHA");
    }
    void TearDown() override { flight_running = 0; }
    void peer_sends(int32_t code, int32_t sender, const char* name) {
        NetMessage message = {};
        message.code = code;
        std::strcpy(message.name, name);
        message.sender = sender;
        message.team = 1;
        uint8_t block[NET_MESSAGE_SIZE];
        peer->broadcast(block, size_t(encode_net_message(message, block)));
    }
};

TEST_F(NetLobbyTest, AnAnnounceNumberedMinusOneFillsItsNodesSlotAndIsAnswered) {
    send_announce();
    settle();
    ASSERT_EQ(own_player_number, 0) << "the own broadcast came back";
    peer_heard();
    peer_sends(NET_MSG_ANNOUNCE, -1, "BRAVO");
    settle();
    EXPECT_STREQ(net_players[1].name, "BRAVO");
    EXPECT_EQ(net_players[1].slot_state, 1);
    EXPECT_TRUE(net_players[1].status_bits & NET_STATUS_BLUE_TEAM);
    EXPECT_STREQ(get_node_name(1), "BRAVO");
    std::vector<int32_t> codes;
    for (const NetMessage& message : peer_heard()) {
        codes.push_back(message.code);
        EXPECT_STREQ(message.name, "ALPHA");
        EXPECT_EQ(message.sender, 0);
    }
    EXPECT_EQ(codes, (std::vector<int32_t>{NET_MSG_ANNOUNCE_REPLY, NET_MSG_PLAYER_NAME}));
}

TEST_F(NetLobbyTest, ANameFromAnotherNamesItsSlotAndOneFromANumberOutsideTheTableIsDropped) {
    send_announce();
    settle();
    peer_sends(NET_MSG_PLAYER_NAME, 1, "CHARLIE");
    settle();
    EXPECT_STREQ(net_players[1].name, "CHARLIE");
    EXPECT_EQ(other_player_count, 1);
    int32_t dropped = net_drop_counts[NET_DROP_BAD_SENDER];
    peer_sends(NET_MSG_PLAYER_NAME, 16, "DELTA");
    settle();
    EXPECT_EQ(net_drop_counts[NET_DROP_BAD_SENDER], dropped + 1);
    EXPECT_STREQ(net_players[1].name, "CHARLIE");
}

TEST_F(NetLobbyTest, InFlightAQuitEmptiesTheSlotAndTheLobbyIgnoresIt) {
    send_announce();
    settle();
    peer_sends(NET_MSG_PLAYER_NAME, 1, "BRAVO");
    settle();
    peer_sends(NET_MSG_PLAYER_QUIT, 1, "BRAVO");
    settle();
    EXPECT_EQ(net_players[1].slot_state, 1) << "the lobby waits for silence instead";
    flight_running = 1;
    peer_sends(NET_MSG_PLAYER_QUIT, 1, "BRAVO");
    settle();
    EXPECT_EQ(net_players[1].slot_state, NET_SLOT_EMPTY);
}

TEST_F(NetLobbyTest, LeavingTellsTheOthersAndClosesTheNetwork) {
    send_announce();
    settle();
    peer_sends(NET_MSG_PLAYER_NAME, 1, "BRAVO");
    settle();
    peer_heard();
    leave_network_game();
    EXPECT_EQ(network_active, 0);
    EXPECT_FALSE(network_socket_open());
    std::vector<NetMessage> heard = peer_heard();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].code, NET_MSG_PLAYER_QUIT);
    EXPECT_EQ(heard[0].sender, 0);
}

}  // namespace
}  // namespace vyr
