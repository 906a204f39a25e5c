#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/datagram/hub.h"
#include "platform/datagram/udp.h"
#include "platform/timer/timer.h"

namespace vyr::platform {
namespace {

using Bytes = std::vector<uint8_t>;

// The datagrams waiting at `socket`, each as its first byte.
std::vector<int> drain(DatagramSocket& socket) {
    std::vector<int> firsts;
    uint8_t buffer[64];
    NetAddress from;
    while (socket.receive(buffer, sizeof buffer, from) >= 0) firsts.push_back(buffer[0]);
    return firsts;
}

class HubTest : public testing::Test {
protected:
    void SetUp() override {
        set_clock_mode(ClockMode::VIRTUAL);
        start_periodic_timer(nullptr);
    }
    void TearDown() override { stop_periodic_timer(); }
    DatagramHub hub;
};

TEST_F(HubTest, BroadcastReachesTheChannelIncludingTheSenderButNoOtherChannel) {
    auto a = hub.open(0), b = hub.open(0), other = hub.open(1);
    ASSERT_TRUE(a && b && other);
    EXPECT_EQ(a->own_address(), (NetAddress{LOOPBACK_IP, 4661}));
    EXPECT_EQ(b->own_address(), (NetAddress{LOOPBACK_IP, 4662}));
    EXPECT_EQ(other->own_address(), (NetAddress{LOOPBACK_IP, 4677}));
    uint8_t block[3] = {7, 8, 9};
    a->broadcast(block, sizeof block);
    uint8_t buffer[2];
    NetAddress from;
    EXPECT_EQ(b->receive(buffer, sizeof buffer, from), 3) << "the full length, though only 2 bytes fit";
    EXPECT_EQ(from, a->own_address());
    EXPECT_EQ(a->receive(buffer, sizeof buffer, from), 3);
    EXPECT_EQ(other->receive(buffer, sizeof buffer, from), -1);
}

TEST_F(HubTest, ChannelHoldsSixteenSocketsAndAClosedPortIsFreeAgain) {
    std::vector<std::unique_ptr<DatagramSocket>> sockets;
    for (int i = 0; i < PORTS_PER_LOOPBACK_CHANNEL; ++i) sockets.push_back(hub.open(0));
    EXPECT_TRUE(sockets.back());
    EXPECT_FALSE(hub.open(0));
    sockets[3].reset();
    auto again = hub.open(0);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->own_address().port, 4664);
}

TEST_F(HubTest, FaultsRepeatForOneSeedAndDelaysFollowTheClock) {
    auto run = [&](uint32_t seed) {
        DatagramHub faulty;
        faulty.set_faults({20, 20, 5, seed});
        auto sender = faulty.open(0), receiver = faulty.open(0);
        for (uint8_t i = 0; i < 40; ++i) sender->send_to(receiver->own_address(), &i, 1);
        std::vector<int> arrivals = drain(*receiver);
        EXPECT_LT(arrivals.size(), 40u) << "nothing was held back at period 0";
        advance_virtual_clock(5);
        for (int first : drain(*receiver)) arrivals.push_back(first);
        return arrivals;
    };
    std::vector<int> once = run(7);
    EXPECT_EQ(once, run(7));
    EXPECT_NE(once, run(8));
    std::vector<int> sorted = once;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_NE(once, sorted) << "held datagrams arrive reordered";
    EXPECT_LT(std::unique(sorted.begin(), sorted.end()) - sorted.begin(), 40) << "some were dropped";
    EXPECT_GT(once.size(), size_t(std::unique(sorted.begin(), sorted.end()) - sorted.begin()))
        << "some were duplicated";
}

// Real sockets on 127.0.0.1 only, at a port block well above the default.
class LoopbackTest : public testing::Test {
protected:
    static constexpr uint16_t BASE = 47100;
    std::unique_ptr<DatagramNetwork> network = make_loopback_network(BASE);
};

TEST_F(LoopbackTest, InstancesTakeTheFirstFreePortsAndHearEachOthersBroadcasts) {
    auto a = network->open(2), b = network->open(2);
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->is_real());
    EXPECT_GT(b->own_address().port, a->own_address().port);
    EXPECT_GE(a->own_address().port, BASE + 32) << "channel 2's block";
    EXPECT_LT(b->own_address().port, BASE + 48);
    uint8_t block[1] = {42};
    a->broadcast(block, 1);
    for (DatagramSocket* socket : {b.get(), a.get()}) {
        uint8_t buffer[8];
        NetAddress from;
        int length = -1;
        for (int tries = 0; tries < 500 && length < 0; ++tries) {
            socket->wait_for_input(20);
            length = socket->receive(buffer, sizeof buffer, from);
        }
        EXPECT_EQ(length, 1);
        EXPECT_EQ(from, a->own_address()) << "the own broadcast returns from the own address";
    }
}

TEST_F(LoopbackTest, APortBlockBeyondTheLastPortCannotBeOpened) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(make_loopback_network(65530)->open(0));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("65530"), std::string::npos);
}

TEST(ClockHold, VirtualPeriodsNeverRunAheadOfRealTimeWhileARealLinkIsOpen) {
    set_clock_mode(ClockMode::VIRTUAL);
    start_periodic_timer(nullptr);
    hold_to_real_time(true);
    auto start = std::chrono::steady_clock::now();
    advance_virtual_clock(20);
    auto elapsed = std::chrono::steady_clock::now() - start;
    hold_to_real_time(false);
    stop_periodic_timer();
    EXPECT_GE(elapsed, std::chrono::milliseconds(200));
}

}  // namespace
}  // namespace vyr::platform
