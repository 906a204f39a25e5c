// The modem dialogue against the in-memory modem stand-in: this machine's COM2 is one modem, the
// test holds the other on the same exchange; time is the virtual clock, which the modems share.
#include "source/sknet/modem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "library/config/prefs.h"
#include "library/network/secure.h"
#include "library/network/serial_port.h"
#include "library/system/event.h"
#include "library/system/timer.h"
#include "platform/serial/modem.h"
#include "platform/timer/timer.h"
#include "source/sknet/link.h"
#include "source/sknet/modem_link.h"
#include "source/sknet/setup_exchange.h"
#include "source/sknet/two_player.h"
#include "source/sknet/two_player_screen.h"

namespace vyr {
namespace {

std::vector<std::string> messages() {
    std::vector<std::string> lines;
    for (int i = 0; i < MODEM_MESSAGE_LINES; ++i)
        if (*modem_message_line(i)) lines.push_back(modem_message_line(i));
    return lines;
}

bool shown(const std::string& text) {
    for (const std::string& line : messages())
        if (line == text) return true;
    return false;
}

TEST(ModemProfiles, StoredSlotsDefaultsAndThePhoneBook) {
    load_prefs(nullptr);
    set_pref_string("MODEM1", "US-Robotics|ATZ|");
    set_pref_string("MODEM_CONNECTION1", "COM2");
    set_pref_string("MODEM7", "Own modem|AT&F|ATS0=0|");
    set_pref_string("MODEM8", "no bar");
    set_pref_int("MODEM_TYPE", 7);
    set_pref_string("PHONE_BOOK_NUMBER0", "555-0100");
    set_pref_string("PHONE_BOOK_NAME0", "Bravo");
    set_pref_string("PHONE_BOOK_NAME1", "No number");
    load_modem_profiles(1);
    EXPECT_STREQ(modem_profile(1), "AT&F1E0&C1&K0|ATS0=0|");
    char stored[MODEM_PROFILE_SIZE] = {};
    get_pref_string("MODEM1", stored, sizeof stored);
    EXPECT_STREQ(stored, "US Robotics|AT&F1E0&C1&K0|ATS0=0|");
    get_pref_string("MODEM_CONNECTION1", stored, sizeof stored);
    EXPECT_STREQ(stored, "");
    get_pref_string("MODEM2", stored, sizeof stored);  // absent: the default, stored
    EXPECT_STREQ(stored, "Practical Peripherals|AT&F1E0&C1&K3S46=0|ATS0=0|AT%LCD=\"Vyr\"|");
    EXPECT_STREQ(modem_profile(7), "AT&F|ATS0=0|");
    EXPECT_STREQ(modem_profile(8), "");
    EXPECT_EQ(modem_type, 0);  // no choice reaches slot 7
    const ModemCommands commands = split_modem_profile(3);
    ASSERT_EQ(commands.count, 3);
    EXPECT_STREQ(commands.lines[1], "AT-SSE=1#VLS=5\r");
    load_phone_book();
    EXPECT_STREQ(phone_book_name(0), "Bravo");
    EXPECT_STREQ(phone_book_number(0), "555-0100");
    EXPECT_STREQ(phone_book_name(1), "-");
    EXPECT_STREQ(phone_book_name(5), "-");
    close_prefs();
}

TEST(ModemReplies, ReadAsTheModemMeantThem) {
    const std::string long_command = "AT" + std::string(188, 'S') + "\r";
    struct Case {
        const char* name;
        std::string command;
        std::string bytes;
        std::vector<int> codes;  // each code other than "none yet", in order
        std::string line;        // the last reply's line
    };
    const Case cases[] = {
        {"numeric RING", "ATS0=1\r", "2\r", {REPLY_RING}, ""},
        {"numeric OK after text", "ATV0\r", "\r\nOK\r\n0\r", {REPLY_OK, REPLY_OK}, ""},
        {"CONNECT with a speed", "ATDT 5\r", "\r\nCONNECT 28800\r\n", {REPLY_CONNECT}, "CONNECT 28800"},
        {"echo skipped", "ATE0\r", "ATE0\r\r\nOK\r\n", {REPLY_OK}, "OK"},
        {"long echo skipped", long_command, long_command + "\r\nERROR\r\n", {REPLY_ERROR}, "ERROR"},
        {"decimal, past the modem's codes", "AT\r", "10\r12\r8\r", {REPLY_UNEXPECTED, REPLY_UNEXPECTED, REPLY_NO_ANSWER}, ""},
        {"no text matches", "AT\r", "\r\nHELLO\r\n", {REPLY_UNEXPECTED}, "HELLO"},
        {"no line end", "AT\r", std::string(300, 'x'), {REPLY_UNEXPECTED}, ""},
        {"no line end, then a reply", "AT\r", std::string(257, 'x') + "\r\nBUSY\r\n", {REPLY_UNEXPECTED, REPLY_BUSY}, "BUSY"},
    };
    for (const Case& c : cases) {
        ModemReplyReader reader;
        reader.expect(c.command.c_str());
        std::vector<int> codes;
        for (char byte : c.bytes) {
            const int code = reader.take(static_cast<uint8_t>(byte));
            if (code != REPLY_NONE_YET) codes.push_back(code);
        }
        EXPECT_EQ(codes, c.codes) << c.name;
        EXPECT_EQ(reader.line(), c.line) << c.name;
    }
}

TEST(ModemReplies, ShownAsReceivedOrByTheirText) {
    struct Case {
        int code;
        const char* line;
        bool checking;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {REPLY_CONNECT, "CONNECT 28800", false, {"CONNECT 28800"}},
        {REPLY_RING, "", true, {"RING", "Checksum Error!"}},
        {REPLY_OK, "OK", true, {"OK"}},
        {REPLY_TIMED_OUT, "", false, {"Unknown error!"}},
        {25, "", false, {"Transmission error!"}},
        {REPLY_NONE_YET, "", true, {}},
    };
    for (const Case& c : cases) {
        clear_modem_messages();
        show_modem_reply(c.code, c.line, c.checking);
        EXPECT_EQ(messages(), c.shown) << c.code;
    }
}

uint64_t modem_clock() { return static_cast<uint64_t>(read_clock()) * 5; }

// This machine's modem, with what the program wrote to it.
class RecordingModem : public platform::SerialLine {
public:
    explicit RecordingModem(platform::ModemLine* modem) : modem_(modem) {}
    void write_byte(uint8_t byte) override {
        written += static_cast<char>(byte);
        written_at.push_back(read_clock());
        modem_->write_byte(byte);
    }
    int read_byte() override { return modem_->read_byte(); }
    bool data_set_ready() override { return modem_->data_set_ready(); }
    bool reaches_another_process() const override { return false; }
    std::string written;
    std::vector<int> written_at;

private:
    platform::ModemLine* modem_;
};

constexpr int OWN_PORT = 1, OTHER_PORT = 3;
std::unique_ptr<platform::SerialLine> waiting_lines[4];
std::unique_ptr<platform::SerialLine> open_waiting(int port, int) { return std::move(waiting_lines[port]); }

// The other machine's frame layer over its own modem, on the virtual clock.
class OtherLink : public SecureLink {
public:
    using SecureLink::SecureLink;

protected:
    int now() override { return read_clock(); }
    void wait_for_byte(bool) override { platform::advance_virtual_clock(1); }
};

class ModemDialogue : public testing::Test {
protected:
    void SetUp() override {
        platform::set_clock_mode(platform::ClockMode::VIRTUAL);
        ASSERT_TRUE(start_timer());
        load_prefs(nullptr);
        auto own = std::make_unique<platform::ModemLine>(platform::add_memory_phone_line(network_, "1000"), &modem_clock);
        own_modem_ = own.get();
        auto recording = std::make_unique<RecordingModem>(own_modem_);
        own_ = recording.get();
        own_keeper_ = std::move(own);
        waiting_lines[OWN_PORT] = std::move(recording);
        auto other = std::make_unique<platform::ModemLine>(platform::add_memory_phone_line(network_, "2000"), &modem_clock);
        other_ = other.get();
        waiting_lines[OTHER_PORT] = std::move(other);
        previous_ = platform::set_serial_opener(&open_waiting);
        other_port_.open(OTHER_PORT, 5, SERIAL_MODEM, IRQ_DEFAULT);
        two_player_choices = TwoPlayerChoices{};
        two_player_connect_type = CONNECT_MODEM;
        two_player_game_type = 1;
        two_player_position = 1;
        set_two_player_phone_number("");
        clear_modem_messages();
        load_modem_profiles(1);
        initialise_modem();
    }
    void TearDown() override {
        close_serial_port();
        own_keeper_.reset();
        other_port_.close();
        platform::set_serial_opener(previous_);
        close_prefs();
        stop_timer();
        flush_events();
        modem_state = MODEM_IDLE;
        answer_mode = ANSWER_NONE;
        linked_game = 0;
        two_player_connect_type = CONNECT_DIRECT;
    }
    // Runs the dialogue a poll at a time, a period apart, until `done` or the limit in ticks.
    template <typename Done>
    bool run_until(Done done, int limit = 80000) {
        const int start = read_clock();
        while (!done() && read_clock() - start < limit) {
            step_modem_dialogue();
            other_->data_set_ready();  // the other modem rings and answers as time passes
            platform::advance_virtual_clock(1);
        }
        return done();
    }
    bool idle() { return run_until([] { return modem_state == MODEM_IDLE; }); }
    // What the other modem said, as text.
    std::string other_says() {
        std::string said;
        for (int byte; (byte = other_->read_byte()) >= 0;) said += static_cast<char>(byte);
        return said;
    }
    void other_types(const std::string& text) {
        for (char c : text) other_->write_byte(static_cast<uint8_t>(c));
    }

    std::shared_ptr<platform::MemoryPhoneNetwork> network_ = platform::make_memory_phone_network();
    std::unique_ptr<platform::ModemLine> own_keeper_;
    platform::ModemLine* own_modem_ = nullptr;
    RecordingModem* own_ = nullptr;
    platform::ModemLine* other_ = nullptr;
    SerialPort other_port_;
    OtherLink other_link_{other_port_};
    platform::SerialOpener previous_ = nullptr;
};

TEST_F(ModemDialogue, InitialisingHangsUpThenSendsTheProfile) {
    ASSERT_TRUE(idle());
    EXPECT_EQ(own_->written, "+++ATH0\rAT&FE0&C1%C0\rATS0=0\r");
    EXPECT_EQ(messages(), std::vector<std::string>({"Initialise Modem", "AT&FE0&C1%C0", "OK", "ATS0=0", "OK"}));
}

TEST_F(ModemDialogue, AModemDeafToHangingUpIsTriedThreeTimes) {
    own_modem_->set_fault(platform::ModemFault::DEAF_HANG_UP, true);
    ASSERT_TRUE(idle());
    EXPECT_EQ(own_->written, "+++ATH0\r+++ATH0\r+++ATH0\r");
    for (size_t plus = 0; plus < own_->written.size(); plus += 8)
        EXPECT_GT(own_->written_at[plus + 3] - own_->written_at[plus], HANG_UP_GUARD) << plus;
    EXPECT_EQ(messages(), std::vector<std::string>({"Initialise Modem", "Timeout error!, reset modem and retry"}));
}

TEST_F(ModemDialogue, AModemAnsweringNoiseIsGivenUpToo) {
    own_modem_->set_fault(platform::ModemFault::GARBAGE, true);
    ASSERT_TRUE(idle());
    EXPECT_EQ(own_->written, "+++ATH0\r+++ATH0\r+++ATH0\r");
    EXPECT_TRUE(shown("Timeout error!, reset modem and retry"));
}

TEST_F(ModemDialogue, ASilentModemTimesOutEachCommand) {
    ASSERT_TRUE(idle());
    own_modem_->set_fault(platform::ModemFault::SILENT, true);
    clear_modem_messages();
    send_modem_command("ATI3");
    ASSERT_TRUE(idle());
    EXPECT_EQ(messages(), std::vector<std::string>({"ATI3", "Unknown error!"}));
}

TEST_F(ModemDialogue, DiallingAndAutoAnswerReachTheLinkTest) {
    for (bool dialling : {true, false}) {
        if (!dialling) {
            TearDown();
            SetUp();
        }
        ASSERT_TRUE(idle());
        Event press = {EV_SELECT, 0, 0, 0, 0};
        if (dialling) {
            other_types("ATE0S0=1\r");
            set_two_player_phone_number("200-0");
            dial_button(nullptr, press);
            EXPECT_EQ(answer_mode, ANSWER_DIALLING);
        } else {
            modem_answer_button(nullptr, press);
            EXPECT_EQ(answer_mode, ANSWER_AUTO);
            ASSERT_TRUE(run_until([] { return shown("OK"); }));
            other_types("ATE0DT1000\r");
        }
        ASSERT_TRUE(run_until([] { return modem_state == MODEM_EXCHANGE; })) << dialling;
        EXPECT_TRUE(shown("CONNECT 28800")) << dialling;
        EXPECT_EQ(linked_game, 1);
        EXPECT_TRUE(is_link_up());
        EXPECT_NE(other_says().find("CONNECT 28800"), std::string::npos);
        other_link_.reset();
        const uint8_t one = 1;
        other_link_.tx(&one, 1);
        exchange_menu_data();
        uint8_t got = 0;
        EXPECT_EQ(other_link_.rx(&got, 1, false), SECURE_OK);
        EXPECT_EQ(got, 1);
        EXPECT_TRUE(shown("Machines Linked")) << dialling;
        EXPECT_EQ(exchange_state, EXCHANGE_MENU_DATA);
    }
}

TEST_F(ModemDialogue, NoCallInTheWholeWaitIsReportedOnceAndTheModemReset) {
    ASSERT_TRUE(idle());
    Event press = {EV_SELECT, 0, 0, 0, 0};
    modem_answer_button(nullptr, press);
    own_->written.clear();
    ASSERT_TRUE(run_until([] { return answer_mode == ANSWER_NONE && modem_state == MODEM_IDLE; },
                          AWAIT_CALL_TIMEOUT + 5000));
    const std::vector<std::string> lines = messages();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Unknown error!"), 1);
    EXPECT_EQ(own_->written, "ATS0=1\rATS0=0\r");
    run_until([] { return false; }, 1000);
    EXPECT_EQ(messages(), lines);  // and nothing more
}

TEST_F(ModemDialogue, ACallDroppedInTheLinkTestResetsTheLink) {
    ASSERT_TRUE(idle());
    other_types("ATE0S0=1\r");
    set_two_player_phone_number("2000");
    Event press = {EV_SELECT, 0, 0, 0, 0};
    dial_button(nullptr, press);
    ASSERT_TRUE(run_until([] { return modem_state == MODEM_EXCHANGE; }));
    other_->drop_call();
    exchange_menu_data();
    const std::vector<std::string> lines = messages();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "NO CARRIER");
    EXPECT_EQ(lines.back(), "Data link lost - Resetting modem");
    EXPECT_EQ(linked_game, 0);
    EXPECT_EQ(modem_state, MODEM_IDLE);
}

}  // namespace
}  // namespace vyr
