#include "library/network/transport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "library/system/thread.h"
#include "library/system/timer.h"
#include "platform/datagram/hub.h"
#include "platform/datagram/udp.h"
#include "platform/timer/timer.h"
#include "tests/library/system/system_scenario.h"

namespace vyr {
namespace {

using platform::LOOPBACK_IP;
using platform::NetAddress;

uint16_t node_port(int node) { return uint16_t(get_node_address(node)[8] << 8 | get_node_address(node)[9]); }

std::vector<NetPacket> received;
void keep_packet(NetPacket* packet) { received.push_back(*packet); }

// The transport on a hub, with scripted peers at chosen ports of channel 0.
class TransportTest : public testing::Test {
protected:
    void SetUp() override {
        platform::set_clock_mode(platform::ClockMode::VIRTUAL);
        platform::start_periodic_timer(nullptr);
        auto owned = std::make_unique<platform::DatagramHub>();
        hub = owned.get();
        platform::install_datagram_network(std::move(owned));
        received.clear();
        set_receive_callback(keep_packet);
    }
    void TearDown() override {
        stop_network();
        peers.clear();
        platform::install_datagram_network(nullptr);
        platform::stop_periodic_timer();
    }
    platform::DatagramSocket& add_peer(uint16_t port) {
        peers.push_back(hub->open_at({LOOPBACK_IP, port}));
        return *peers.back();
    }
    // The transport's own port, after its first broadcast came back.
    void announce_self() {
        uint8_t block[24] = {2};
        queue_broadcast(block, sizeof block);
        poll_network();
        poll_network();
        dispatch_received_packets();
    }
    platform::DatagramHub* hub = nullptr;
    std::vector<std::unique_ptr<platform::DatagramSocket>> peers;
};

TEST_F(TransportTest, EveryMachineIsNumberedByAddressWhereverItJoins) {
    struct Case {
        uint16_t peer_ports[2];
        int own_number;
    };
    for (Case c : {Case{{4662, 4663}, 0}, Case{{4661, 4663}, 1}, Case{{4661, 4662}, 2}}) {
        SCOPED_TRACE(c.own_number);
        for (uint16_t port : c.peer_ports) add_peer(port);
        start_network();
        // The later peer speaks first: arrival order must not matter.
        uint8_t block[24] = {2};
        peers[1]->send_to({LOOPBACK_IP, uint16_t(4661 + c.own_number)}, block, sizeof block);
        announce_self();
        peers[0]->send_to({LOOPBACK_IP, uint16_t(4661 + c.own_number)}, block, sizeof block);
        poll_network();
        EXPECT_EQ(find_own_node(), c.own_number);
        EXPECT_EQ(count_other_nodes(), 2);
        for (int node = 0; node < 3; ++node) EXPECT_EQ(node_port(node), 4661 + node);
        TearDown();
        SetUp();
    }
}

TEST_F(TransportTest, ASilentNodeIsDroppedAndItsQueuedPacketsGoBackToThePool) {
    start_network();
    platform::DatagramSocket& peer = add_peer(4670);
    uint8_t block[24] = {2};
    peer.send_to({LOOPBACK_IP, 4661}, block, sizeof block);
    announce_self();
    int peer_node = 1 - find_own_node();
    for (int i = 0; i < 3; ++i) queue_to_node(peer_node, block, sizeof block);
    EXPECT_EQ(net_packets_in_use(), 3);
    tick_count += NET_DROP_TICKS / 2;  // two clock units a tick
    drop_silent_nodes(NET_DROP_TICKS);
    EXPECT_TRUE(is_node_active(peer_node)) << "not yet silent long enough";
    tick_count += 1;
    drop_silent_nodes(NET_DROP_TICKS);
    EXPECT_EQ(count_other_nodes(), 0);
    EXPECT_EQ(net_packets_in_use(), 0);
}

TEST_F(TransportTest, WithThePoolFullASendIsLostQuietly) {
    start_network();
    uint8_t block[24] = {2};
    for (int i = 0; i < MAX_NET_PACKETS + 1; ++i) queue_broadcast(block, sizeof block);
    EXPECT_EQ(net_packets_in_use(), MAX_NET_PACKETS);
    EXPECT_EQ(alloc_net_packet(), nullptr);
    poll_network();
    EXPECT_EQ(net_packets_in_use(), 0);
    poll_network();
    dispatch_received_packets();
    EXPECT_EQ(received.size(), size_t(MAX_NET_PACKETS)) << "the 501st never went out";
}

TEST_F(TransportTest, ASeventeenthMachineIsNotHeard) {
    start_network();
    announce_self();
    for (uint16_t port = 4662; port < 4662 + 16; ++port) add_peer(port);
    uint8_t block[24] = {2};
    for (auto& peer : peers) peer->send_to({LOOPBACK_IP, 4661}, block, sizeof block);
    received.clear();
    poll_network();
    dispatch_received_packets();
    EXPECT_EQ(count_other_nodes(), MAX_NET_PLAYERS - 1);
    EXPECT_EQ(received.size(), size_t(MAX_NET_PLAYERS - 1));
    for (const NetPacket& packet : received) EXPECT_NE(node_port(packet.node), 4662 + 15);
}

TEST_F(TransportTest, AShortDatagramKeepsItsLengthAndALongOneIsCutToThePacket) {
    start_network();
    platform::DatagramSocket& peer = add_peer(4670);
    std::vector<uint8_t> block(1000, 5);
    peer.send_to({LOOPBACK_IP, 4661}, block.data(), 24);
    peer.send_to({LOOPBACK_IP, 4661}, block.data(), block.size());
    poll_network();
    dispatch_received_packets();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].length, 24);
    EXPECT_EQ(received[1].length, NET_PACKET_DATA_SIZE);
}

platform::DatagramSocket* replying_peer = nullptr;
void reply_and_poll(NetPacket* packet) {
    received.push_back(*packet);
    if (received.size() > 1) return;
    uint8_t block[24] = {3};
    replying_peer->send_to({LOOPBACK_IP, 4661}, block, sizeof block);
    poll_network();
}

TEST_F(TransportTest, WhatAHandlersOwnPollReceivesIsDispatchedInTheSamePass) {
    start_network();
    replying_peer = &add_peer(4670);
    set_receive_callback(reply_and_poll);
    uint8_t block[24] = {2};
    replying_peer->send_to({LOOPBACK_IP, 4661}, block, sizeof block);
    poll_network();
    dispatch_received_packets();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1].data[0], 3);
}

// The transport on real sockets at 127.0.0.1, with a second machine as a bare socket.
TEST(TransportLoopback, TheLowerPortIsPlayerZeroAndAnEmptyPollKeepsRealTime) {
    platform::set_clock_mode(platform::ClockMode::VIRTUAL);
    platform::start_periodic_timer(nullptr);
    platform::install_datagram_network(platform::make_loopback_network(47300));
    start_network();
    ASSERT_EQ(network_transport, 1);
    auto other = platform::make_loopback_network(47300)->open(0);
    ASSERT_TRUE(other);
    uint8_t block[24] = {2};
    other->broadcast(block, sizeof block);
    queue_broadcast(block, sizeof block);
    for (int tries = 0; tries < 500 && (find_own_node() < 0 || count_other_nodes() < 1); ++tries) poll_network();
    EXPECT_EQ(find_own_node(), 0);
    EXPECT_EQ(count_other_nodes(), 1);
    uint64_t period = platform::timer_periods();
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i) poll_network();
    EXPECT_GE(platform::timer_periods(), period + 10) << "every empty poll runs a period";
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90)) << "but not ahead of real time";
    stop_network();
    platform::install_datagram_network(nullptr);
    platform::stop_periodic_timer();
}

// A cooperative thread that polls and yields, as "Check Network" does, on a silent real socket:
// every pass runs a period, and the periods keep to real time.
class ThreadedTransportClock : public SystemScenarios {};

TEST_F(ThreadedTransportClock, AYieldingPollerOfASilentRealSocketRunsPeriodsAtRealTime) {
    std::string text = run_as_system([]() -> std::string {
        platform::install_datagram_network(platform::make_loopback_network(47400));
        start_network();
        if (network_transport != 1) return "no socket";
        uint64_t period = platform::timer_periods();
        auto start = std::chrono::steady_clock::now();
        for (int pass = 0; pass < 20; ++pass) {
            poll_network();
            yield_thread();
        }
        auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        stop_network();
        return "periods " + std::to_string(platform::timer_periods() - period >= 20) + " real " +
               std::to_string(elapsed.count() >= 190);
    });
    EXPECT_EQ(text, "periods 1 real 1");
}

}  // namespace
}  // namespace vyr
