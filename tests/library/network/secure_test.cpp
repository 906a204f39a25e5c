#include "library/network/secure.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "library/network/serial_port.h"
#include "platform/serial/serial_line.h"
#include "tests/library/network/serial_pair.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

using platform::WireFault;
using Bytes = std::vector<uint8_t>;

Bytes payload(int frame, int length) {
    Bytes bytes(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(frame * 37 + i * 11 + 0xF0);
    return bytes;
}

struct Received {
    std::vector<int> results;
    std::vector<Bytes> frames;
};

// Machine 0 sends `count` frames and then waits in its own receive for a one-byte answer, as the
// set-up exchange does, serving the resend requests meanwhile; machine 1 receives them, expecting
// `expected_length` bytes each, and answers.
Received send_frames(SerialPair& pair, int count, int length, int expected_length) {
    Received received;
    pair.clock.set_parties(2);
    std::thread sender([&] {
        for (int frame = 0; frame < count; ++frame) {
            Bytes bytes = payload(frame, length);
            pair.links[0].tx(bytes.data(), length);
        }
        uint8_t answer = 0;
        pair.links[0].rx(&answer, 1, false);
        pair.clock.set_parties(1);
    });
    for (int frame = 0; frame < count; ++frame) {
        Bytes buffer(static_cast<size_t>(expected_length));
        int result = pair.links[1].rx(buffer.data(), expected_length, false);
        received.results.push_back(result);
        if (result != SECURE_OK) break;
        received.frames.push_back(buffer);
    }
    const uint8_t answer = 1;
    pair.links[1].tx(&answer, 1);
    pair.clock.set_parties(1);
    sender.join();
    return received;
}

TEST(SecureFrames, EachFrameArrivesOnceInOrderWhateverTheWireDoes) {
    constexpr int LENGTH = 6, FRAME = LENGTH + 5;
    struct Case {
        const char* name;
        WireFault fault;
        int index;
        int delay;
    };
    const Case cases[] = {
        {"clean", WireFault::DROP, 1000, 0},
        {"sum low byte flipped", WireFault::FLIP, 3 + LENGTH, 0},
        {"sum high byte flipped", WireFault::FLIP, 4 + LENGTH, 0},
        {"start byte lost", WireFault::DROP, 0, 0},
        {"sequence flipped", WireFault::FLIP, 1, 0},
        {"length lost", WireFault::DROP, 2, 0},
        {"payload byte flipped", WireFault::FLIP, 5, 0},
        {"second frame's payload lost", WireFault::DROP, FRAME + 4, 0},
        {"last frame's sum lost", WireFault::DROP, 3 * FRAME - 1, 0},
        {"byte late within the time-out", WireFault::DELAY, FRAME + 3, SECURE_TIMEOUT_NORMAL / 2},
        {"byte later than the time-out", WireFault::DELAY, FRAME + 3, SECURE_TIMEOUT_NORMAL * 3},
    };
    for (const Case& c : cases) {
        SerialPair pair;
        pair.ends[0]->add_fault(c.fault, c.index, c.delay);
        Received received = send_frames(pair, 3, LENGTH, LENGTH);
        EXPECT_EQ(received.results, std::vector<int>(3, SECURE_OK)) << c.name;
        ASSERT_EQ(received.frames.size(), 3u) << c.name;
        for (int frame = 0; frame < 3; ++frame)
            EXPECT_EQ(received.frames[static_cast<size_t>(frame)], payload(frame, LENGTH)) << c.name;
        EXPECT_EQ(pair.links[1].receive_sequence(), 3) << c.name;
    }
}

TEST(SecureFrames, SequenceNineIsFollowedByZeroOnBothSides) {
    SerialPair pair;
    Received received = send_frames(pair, 12, 1, 1);
    EXPECT_EQ(received.results, std::vector<int>(12, SECURE_OK));
    EXPECT_EQ(received.frames.size(), 12u);
    EXPECT_EQ(pair.links[0].send_sequence(), 2);
    EXPECT_EQ(pair.links[1].receive_sequence(), 2);
}

TEST(SecureFrames, AWrongLengthNeverCompletes) {
    SerialPair pair;
    Received received = send_frames(pair, 1, 3, 4);
    EXPECT_EQ(received.results, std::vector<int>({SECURE_TOO_MANY_ERRORS}));
    EXPECT_EQ(pair.links[1].receive_sequence(), 0);  // a failed receive leaves the sequences
}

// What a receiver that hears nothing sends, and when it gives up.
TEST(SecureFrames, FiveTimeOutsRunTheErrorsOut) {
    SerialPair pair;
    uint8_t buffer[4];
    EXPECT_EQ(pair.links[1].rx(buffer, 4, false), SECURE_TOO_MANY_ERRORS);
    EXPECT_GT(pair.clock.now(), 5 * SECURE_TIMEOUT_NORMAL);
    EXPECT_LT(pair.clock.now(), 6 * SECURE_TIMEOUT_NORMAL);
    Bytes requests;
    for (int byte; (byte = pair.ends[0]->read_byte()) >= 0;) requests.push_back(static_cast<uint8_t>(byte));
    Bytes five;
    for (int i = 0; i < 5; ++i) five.insert(five.end(), {'f', 0, 'f', 0, 'f'});
    EXPECT_EQ(requests, five);
}

TEST(SecureFrames, AResendAnswerAtAnotherSequenceNeverCompletes) {
    SerialPair pair;
    // Frame 1 where 0 is expected, then the answer to a request for 1, its frame in it.
    const Bytes stale = {'g', 1, 2, 5, 6, 11, 0, 'h', 1, 'g', 1, 2, 5, 6, 11, 0};
    for (uint8_t byte : stale) pair.ends[0]->write_byte(byte);
    uint8_t buffer[2];
    EXPECT_EQ(pair.links[1].rx(buffer, 2, false), SECURE_TOO_MANY_ERRORS);
}

TEST(SecureFrames, ModemCarrierDownEndsTheReceiveAtOnce) {
    SerialPair modem;
    modem.ports[1].mode = SERIAL_MODEM;
    for (uint8_t byte : Bytes{'g', 0, 4, 1}) modem.ends[0]->write_byte(byte);  // half a frame
    modem.ends[1]->set_data_set_ready(false);
    uint8_t buffer[4];
    EXPECT_EQ(modem.links[1].rx(buffer, 4, false), SECURE_NO_CARRIER);
    EXPECT_EQ(modem.clock.now(), 0);
}

TEST(SecureFrames, CrossingResendRequestsDoNotDeadlock) {
    SerialPair pair;
    pair.clock.set_parties(2);
    // Each side's frame loses its sum, so both ask at once and each must serve the other while
    // it waits for its own.
    pair.ends[0]->add_fault(WireFault::FLIP, 3 + 2);
    pair.ends[1]->add_fault(WireFault::FLIP, 3 + 2);
    int results[2] = {};
    Bytes got[2] = {Bytes(2), Bytes(2)};
    std::thread other([&] {
        Bytes mine = payload(1, 2);
        pair.links[1].tx(mine.data(), 2);
        results[1] = pair.links[1].rx(got[1].data(), 2, false);
        pair.clock.set_parties(1);
    });
    Bytes mine = payload(0, 2);
    pair.links[0].tx(mine.data(), 2);
    results[0] = pair.links[0].rx(got[0].data(), 2, false);
    pair.clock.set_parties(1);
    other.join();
    EXPECT_EQ(results[0], SECURE_OK);
    EXPECT_EQ(results[1], SECURE_OK);
    EXPECT_EQ(got[0], payload(1, 2));
    EXPECT_EQ(got[1], payload(0, 2));
}

TEST(SecureFrames, ResetForgetsSequencesAndTheLongTimeOut) {
    SerialPair pair;
    const uint8_t byte = 1;
    pair.links[0].tx(&byte, 1);
    pair.links[0].set_timeout(SECURE_TIMEOUT_LONG);
    pair.links[0].reset();
    EXPECT_EQ(pair.links[0].send_sequence(), 0);
    EXPECT_EQ(pair.links[0].timeout(), SECURE_TIMEOUT_NORMAL);
    // Nothing kept to resend after a reset: the answer is the bare 'h', 0.
    while (pair.ends[1]->read_byte() >= 0) {
    }
    pair.links[0].resend_frames(0);
    pair.links[0].resend_frames(10);  // out of range: ignored
    EXPECT_EQ(pair.ends[1]->read_byte(), 'h');
    EXPECT_EQ(pair.ends[1]->read_byte(), 0);
    EXPECT_EQ(pair.ends[1]->read_byte(), -1);
}

TEST(SecureFramesDeathTest, PayloadsOutsideOneTo255AreFatal) {
    SerialPair pair;
    uint8_t big[256] = {};
    EXPECT_DEATH(pair.links[0].tx(big, 256), "MAX_PACKET_SIZE exceeded");
    EXPECT_DEATH(pair.links[0].tx(big, 0), "Empty secure frame");
}

// The real ports, clock and waits, over a pseudo-terminal pair.
TEST(SecureFrames, FramesCrossAPseudoTerminal) {
    ScratchDirectory scratch;
    static std::string link;
    link = (scratch / "cable").string();
    auto opener = [](int port, int baud) {
        return platform::open_serial_target("COM", port == 0 ? "pty:" + link : link, baud);
    };
    platform::SerialOpener previous = platform::set_serial_opener(opener);
    SerialPort ports[2];
    ports[0].open(0, 7, SERIAL_DIRECT, IRQ_DEFAULT);
    ports[1].open(1, 7, SERIAL_DIRECT, IRQ_DEFAULT);
    platform::set_serial_opener(previous);
    ASSERT_TRUE(ports[0].is_open() && ports[1].is_open());
    SecureLink links[2] = {SecureLink(ports[0]), SecureLink(ports[1])};
    std::thread sender([&] {
        for (int frame = 0; frame < 11; ++frame) {
            Bytes bytes = payload(frame, 200);
            links[0].tx(bytes.data(), 200);
        }
    });
    for (int frame = 0; frame < 11; ++frame) {
        Bytes buffer(200);
        ASSERT_EQ(links[1].rx(buffer.data(), 200, false), SECURE_OK);
        EXPECT_EQ(buffer, payload(frame, 200));
    }
    sender.join();
}

}  // namespace
}  // namespace vyr
