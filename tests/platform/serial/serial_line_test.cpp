#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/serial/memory_pair.h"
#include "platform/serial/serial_line.h"
#include "tests/support/loopback_port.h"
#include "tests/support/scratch.h"

namespace vyr::platform {
namespace {

std::vector<int> drain(SerialLine& line) {
    std::vector<int> bytes;
    for (int byte; (byte = line.read_byte()) >= 0;) bytes.push_back(byte);
    return bytes;
}

// Reads `count` bytes from a line fed by another process's buffers, with a generous limit.
std::vector<int> read_arriving(SerialLine& line, size_t count) {
    std::vector<int> bytes;
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (bytes.size() < count && std::chrono::steady_clock::now() < limit) {
        int byte = line.read_byte();
        if (byte >= 0)
            bytes.push_back(byte);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return bytes;
}

void send(SerialLine& line, const std::vector<int>& bytes) {
    for (int byte : bytes) line.write_byte(static_cast<uint8_t>(byte));
}

TEST(MemorySerialPair, FaultsOnTheBytesOneEndSends) {
    struct Case {
        const char* name;
        WireFault fault;
        int index;
        std::vector<int> arrives;
    };
    const Case cases[] = {
        {"drop", WireFault::DROP, 1, {1, 3, 4}},
        {"flip", WireFault::FLIP, 2, {1, 2, 0xFC, 4}},
        {"delay keeps the order", WireFault::DELAY, 1, {1}},
    };
    for (const Case& c : cases) {
        auto [a, b] = make_serial_pair();
        a->add_fault(c.fault, c.index, 3);
        send(*a, {1, 2, 3, 4});
        EXPECT_EQ(drain(*b), c.arrives) << c.name;
    }
}

TEST(MemorySerialPair, DelayedBytesArriveAfterTheEmptyPolls) {
    auto [a, b] = make_serial_pair();
    a->add_fault(WireFault::DELAY, 1, 3);
    send(*a, {1, 2, 3});
    EXPECT_EQ(drain(*b), std::vector<int>({1}));  // the first empty poll
    EXPECT_EQ(b->read_byte(), -1);
    EXPECT_EQ(b->read_byte(), -1);
    EXPECT_EQ(drain(*b), std::vector<int>({2, 3}));
}

TEST(MemorySerialPair, PulledCableCarriesNothingAndDropsDataSetReady) {
    auto [a, b] = make_serial_pair();
    EXPECT_TRUE(a->data_set_ready());
    b->set_data_set_ready(false);
    EXPECT_TRUE(a->data_set_ready());
    EXPECT_FALSE(b->data_set_ready());
    send(*a, {7});
    a->pull_cable();
    send(*b, {8});
    EXPECT_EQ(b->read_byte(), -1);
    EXPECT_EQ(a->read_byte(), -1);
    EXPECT_FALSE(a->data_set_ready());
}

TEST(SerialTargets, PortsNameTheirVariableOrTheDefaultDevice) {
    unsetenv("VYR_COM3");
    setenv("VYR_COM2", "tcp:127.0.0.1:5000", 1);
    EXPECT_EQ(serial_port_target(1), "tcp:127.0.0.1:5000");
    EXPECT_EQ(serial_port_target(2), "/dev/ttyS2");
    unsetenv("VYR_COM2");
}

TEST(SerialTargets, AFailedOpenNamesPortTargetAndReason) {
    ScratchDirectory scratch;
    const std::string missing = (scratch / "nothing").string();
    const std::string not_tty = write_bytes(scratch / "file", "x").string();
    struct Case {
        std::string target;
        std::string reason;
    };
    const Case cases[] = {
        {missing, "No such file or directory"},
        {not_tty, "not a terminal device"},
        {"tcp:127.0.0.1", "expected tcp:HOST:PORT"},
        {"tcp-listen:", "expected tcp-listen:[HOST:]PORT"},
        {"pty:" + (scratch / "no" / "such" / "link").string(), "No such file or directory"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(open_serial_target("COM2", c.target, 38400), nullptr) << c.target;
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "vyr: COM2: cannot open " + c.target + ": " + c.reason + "\n");
    }
}

TEST(SerialTargets, PtyLinksItsOtherEndForASecondProgram) {
    ScratchDirectory scratch;
    const std::string link = (scratch / "cable").string();
    auto first = open_serial_target("COM1", "pty:" + link, 38400);
    ASSERT_NE(first, nullptr);
    testing::internal::CaptureStderr();
    auto second = open_serial_target("COM2", link, 14400);
    testing::internal::GetCapturedStderr();  // a pseudo-terminal may round the odd rate
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->data_set_ready());
    // Raw both ways: the line discipline must not turn CR, NUL or ^C into anything else.
    const std::vector<int> bytes = {'g', 0, 13, 10, 3, 0x11, 0x13, 0xFF, 0x7F};
    send(*first, bytes);
    EXPECT_EQ(read_arriving(*second, bytes.size()), bytes);
    send(*second, bytes);
    EXPECT_EQ(read_arriving(*first, bytes.size()), bytes);
    first.reset();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST(SerialTargets, TcpCableCarriesTheBytesAndItsCloseIsAPulledCable) {
    const std::string port = std::to_string(free_loopback_port());
    auto listener = open_serial_target("COM1", "tcp-listen:127.0.0.1:" + port, 38400);
    ASSERT_NE(listener, nullptr);
    EXPECT_FALSE(listener->data_set_ready());  // nothing plugged in yet
    listener->write_byte(1);                   // lost: no cable
    auto caller = open_serial_target("COM2", "tcp:127.0.0.1:" + port, 38400);
    ASSERT_NE(caller, nullptr);
    send(*caller, {'g', 0, 2});
    EXPECT_EQ(read_arriving(*listener, 3), std::vector<int>({'g', 0, 2}));
    send(*listener, {0, 255});
    EXPECT_EQ(read_arriving(*caller, 2), std::vector<int>({0, 255}));
    EXPECT_TRUE(listener->data_set_ready());
    caller.reset();
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (listener->read_byte() < 0 && listener->data_set_ready() && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(listener->data_set_ready());
    auto again = open_serial_target("COM2", "tcp:127.0.0.1:" + port, 38400);
    ASSERT_NE(again, nullptr);  // the kernel's queue takes it, but the cable stays pulled
    again->write_byte(9);
    EXPECT_EQ(listener->read_byte(), -1);
}

// Writing on after the other program closed its end must pull the cable, not end this program.
TEST(SerialTargets, WritingIntoAClosedTcpCableOnlyPullsIt) {
    const std::string port = std::to_string(free_loopback_port());
    auto listener = open_serial_target("COM1", "tcp-listen:127.0.0.1:" + port, 38400);
    auto caller = open_serial_target("COM2", "tcp:127.0.0.1:" + port, 38400);
    ASSERT_NE(listener, nullptr);
    ASSERT_NE(caller, nullptr);
    send(*caller, {'g'});
    EXPECT_EQ(read_arriving(*listener, 1), std::vector<int>({'g'}));
    caller.reset();
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (listener->data_set_ready() && std::chrono::steady_clock::now() < limit) {
        listener->write_byte(7);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(listener->data_set_ready());
}

}  // namespace
}  // namespace vyr::platform
