// The modem stand-in as a program at its serial port sees it: commands, replies, calls between
// two modems on an in-memory exchange (time moved by the test), one call over TCP on loopback,
// and the faults test modems show.
#include "platform/serial/modem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/support/loopback_port.h"

namespace vyr::platform {
namespace {

uint64_t now_ms = 0;
uint64_t test_clock() { return now_ms; }

std::string drain(SerialLine& line) {
    std::string bytes;
    for (int byte; (byte = line.read_byte()) >= 0;) bytes += static_cast<char>(byte);
    return bytes;
}

void type(SerialLine& line, const std::string& text) {
    for (char c : text) line.write_byte(static_cast<uint8_t>(c));
}

// What the modem answers to `text`, once time has moved `after` ms.
std::string answer_to(SerialLine& line, const std::string& text, uint64_t after = 0) {
    type(line, text);
    now_ms += after;
    return drain(line);
}

class Modems : public testing::Test {
protected:
    void SetUp() override { now_ms = 1000; }
    std::unique_ptr<ModemLine> modem(const std::string& number) {
        return std::make_unique<ModemLine>(add_memory_phone_line(network_, number), &test_clock);
    }
    // Echo off, as the program's profiles have it.
    std::unique_ptr<ModemLine> quiet_modem(const std::string& number) {
        auto line = modem(number);
        EXPECT_EQ(answer_to(*line, "ATE0\r"), "ATE0\r\r\nOK\r\n");
        return line;
    }
    // `caller` dials 2000 and `called` answers after two rings.
    void connect(ModemLine& caller, ModemLine& called) {
        EXPECT_EQ(answer_to(called, "ATS0=2\r"), "\r\nOK\r\n");
        EXPECT_EQ(answer_to(caller, "ATDT 200-0\r"), "");
        EXPECT_EQ(drain(called), "\r\nRING\r\n");
        now_ms += ModemLine::RING_INTERVAL;
        EXPECT_EQ(drain(called), "\r\nRING\r\n\r\nCONNECT 28800\r\n");
        EXPECT_EQ(drain(caller), "\r\nCONNECT 28800\r\n");
        EXPECT_TRUE(caller.data_set_ready());
        EXPECT_TRUE(called.data_set_ready());
    }
    std::shared_ptr<MemoryPhoneNetwork> network_ = make_memory_phone_network();
};

TEST_F(Modems, CommandLinesAreEchoedAndAnswered) {
    struct Case {
        std::string typed;
        std::string shown;
    };
    const std::string too_long(300, 'A');
    const Case cases[] = {
        {"AT\r", "AT\r\r\nOK\r\n"},
        {"at&fe0&c1%c0\r", "at&fe0&c1%c0\r\r\nOK\r\n"},  // echo stops after the line that says so
        {"ATS0=0\r", "\r\nOK\r\n"},
        {"+++ATH0\r", "\r\nOK\r\n"},  // what comes before AT is not part of the command
        {"AT%LCD=\"Vyr\"\r", "\r\nOK\r\n"},
        {"hello\r", ""},
        {"ATXQ\bV0\r", "0\r"},  // a backspace takes the Q back
        {"ATA\r", "3\r"},        // nothing rings: NO CARRIER, as a number
        {"ATDT 555\r", "8\r"},   // no line has that number: NO ANSWER
        {"ATZ\r", "\r\nOK\r\n"},
        {"ATV0\r", "ATV0\r0\r"},
        {too_long + "\r", too_long + "\r4\r"},
    };
    auto line = modem("1000");
    for (const Case& c : cases) EXPECT_EQ(answer_to(*line, c.typed), c.shown) << c.typed;
    EXPECT_FALSE(line->data_set_ready());
}

TEST_F(Modems, ACallRingsConnectsCarriesDataAndHangsUp) {
    auto caller = quiet_modem("1000");
    auto called = quiet_modem("2000");
    connect(*caller, *called);
    type(*caller, "g\x01+");
    type(*called, "\r\n");
    EXPECT_EQ(drain(*called), "g\x01+");
    EXPECT_EQ(drain(*caller), "\r\n");
    // "+++" and a second of silence: commands again; the pluses went down the line.
    type(*caller, "+++");
    now_ms += ModemLine::ESCAPE_GUARD - 1;
    EXPECT_EQ(drain(*caller), "");
    now_ms += 1;
    EXPECT_EQ(drain(*caller), "\r\nOK\r\n");
    EXPECT_TRUE(caller->data_set_ready());
    EXPECT_EQ(answer_to(*caller, "ATH0\r"), "\r\nOK\r\n");
    EXPECT_FALSE(caller->data_set_ready());
    EXPECT_EQ(drain(*called), "+++\r\nNO CARRIER\r\n");
    EXPECT_FALSE(called->data_set_ready());
}

TEST_F(Modems, AnsweringByHandAnEngagedLineAndAnUnansweredCall) {
    auto caller = quiet_modem("1000");
    auto called = modem("2000");
    auto third = quiet_modem("3000");
    EXPECT_EQ(answer_to(*caller, "ATDP2000\r"), "");
    EXPECT_EQ(drain(*called), "\r\nRING\r\n");
    now_ms += 3 * ModemLine::RING_INTERVAL;  // no auto answer: it rings on
    EXPECT_EQ(drain(*called), "\r\nRING\r\n");
    EXPECT_EQ(answer_to(*called, "ATA\r"), "ATA\r\r\nCONNECT 28800\r\n");
    EXPECT_EQ(drain(*caller), "\r\nCONNECT 28800\r\n");
    EXPECT_EQ(answer_to(*third, "ATDT2000\r"), "");
    EXPECT_EQ(drain(*called), "");  // engaged: the call is turned away
    EXPECT_EQ(drain(*third), "\r\nBUSY\r\n");
    // Nobody answers the third's next call: it gives up after its wait.
    auto silent_line = modem("4000");
    EXPECT_EQ(answer_to(*third, "ATDT4000\r"), "");
    now_ms += ModemLine::ANSWER_WAIT;
    EXPECT_EQ(drain(*third), "\r\nNO ANSWER\r\n");
    // A key pressed while dialling gives the call up.
    EXPECT_EQ(answer_to(*third, "ATDT4000\r"), "");
    EXPECT_EQ(answer_to(*third, "x"), "\r\nNO CARRIER\r\n");
}

TEST_F(Modems, FaultsOfTestModems) {
    auto caller = modem("1000");
    auto called = modem("2000");
    caller->set_fault(ModemFault::GARBAGE, true);
    EXPECT_EQ(answer_to(*caller, "ATE0\r"), "ATE0\r\r\n#~?x}0\r\n");
    caller->set_fault(ModemFault::GARBAGE, false);
    caller->set_fault(ModemFault::DEAF_HANG_UP, true);
    EXPECT_EQ(answer_to(*caller, "ATH0\r"), "");
    EXPECT_EQ(answer_to(*caller, "ATS0=0\r"), "\r\nOK\r\n");
    caller->set_fault(ModemFault::DEAF_HANG_UP, false);
    EXPECT_EQ(answer_to(*called, "ATE0\r"), "ATE0\r\r\nOK\r\n");
    connect(*caller, *called);
    caller->drop_call();
    EXPECT_EQ(drain(*caller), "\r\nNO CARRIER\r\n");
    EXPECT_EQ(drain(*called), "\r\nNO CARRIER\r\n");
    EXPECT_FALSE(called->data_set_ready());
    called->set_fault(ModemFault::SILENT, true);
    EXPECT_EQ(answer_to(*called, "ATE1\r"), "");
    EXPECT_EQ(answer_to(*caller, "ATDT2000\r"), "");
    now_ms += ModemLine::ANSWER_WAIT;
    EXPECT_EQ(drain(*caller), "\r\nNO ANSWER\r\n");
}

// Polls until `line` has shown `text`, with a generous limit.
std::string read_until(SerialLine& line, const std::string& text) {
    std::string shown;
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (shown.find(text) == std::string::npos && std::chrono::steady_clock::now() < limit) {
        shown += drain(line);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return shown;
}

TEST(TcpModems, TwoProcessesWorthOfModemsCallEachOtherOnLoopback) {
    const std::string a_port = std::to_string(free_loopback_port());
    const std::string b_port = std::to_string(free_loopback_port());
    setenv("VYR_MODEM_NUMBERS", ("555-0100=127.0.0.1:" + b_port).c_str(), 1);
    auto caller = open_serial_target("COM2", "modem:127.0.0.1:" + a_port, 28800);
    auto called = open_serial_target("COM2", "modem:127.0.0.1:" + b_port, 28800);
    ASSERT_NE(caller, nullptr);
    ASSERT_NE(called, nullptr);
    EXPECT_TRUE(caller->reaches_another_process());
    type(*called, "ATE0S0=1\r");
    type(*caller, "ATE0DT5550100\r");
    EXPECT_NE(read_until(*called, "CONNECT 28800").find("RING"), std::string::npos);
    EXPECT_NE(read_until(*caller, "CONNECT 28800").find("CONNECT 28800"), std::string::npos);
    type(*caller, "data");
    EXPECT_EQ(read_until(*called, "data"), "data");
    called.reset();  // the other machine gone: the line drops
    EXPECT_NE(read_until(*caller, "NO CARRIER").find("NO CARRIER"), std::string::npos);
    EXPECT_FALSE(caller->data_set_ready());
    type(*caller, "ATDT 999\r");  // not listed
    EXPECT_NE(read_until(*caller, "NO ANSWER").find("NO ANSWER"), std::string::npos);
    unsetenv("VYR_MODEM_NUMBERS");
    testing::internal::CaptureStderr();
    EXPECT_EQ(open_serial_target("COM1", "modem:", 28800), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vyr: COM1: cannot open modem:: expected modem:[HOST:]PORT\n");
}

}  // namespace
}  // namespace vyr::platform
