#include "source/sknet/chat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "library/graphics/font.h"
#include "library/system/event.h"
#include "library/system/key.h"
#include "source/frame_loop.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_decoder.h"
#include "source/sknet/net_lobby.h"
#include "source/sknet/net_players.h"
#include "tests/source/sknet/hub_peer.h"
#include "tests/support/recording_plot.h"

namespace vyr {
namespace {

const std::string BLANKS(78, ' ');

class Chat : public testing::Test {
protected:
    void SetUp() override {
        flush_events();
        game_clock = 0;
        chat_lines = chat_scroll_delay = 5;
        chat_blank_time = 30;
        chat_text_colour = chat_outline_style = 1;
        chat_pending = chat_line_open = 0;
        game_mode = GAME_SINGLE;
        connection_mode = CONNECTION_NONE;
        for (int i = 0; i < CHAT_MAX_LINES; ++i) add_chat_line("");
    }
    void TearDown() override {
        flush_events();
        chat_line_open = 0;
        game_mode = GAME_SINGLE;
        connection_mode = CONNECTION_NONE;
    }
    static void press(std::initializer_list<int> codes) {
        for (int code : codes) post_event({EV_KEY, code, 0, 0, 0});
        read_chat_keys();
    }
    // Lower-case letters and blanks.
    static void type(const std::string& text) {
        static const char rows[] = "qwertyuiop\0\0\0\0asdfghjkl\0\0\0\0\0zxcvbnm";
        for (char c : text) {
            const int code = c == ' ' ? SCAN_SPACE : SCAN_Q + int(static_cast<const char*>(std::memchr(rows, c, sizeof rows)) - rows);
            post_event({EV_KEY, code, 0, 0, 0});
        }
        read_chat_keys();
    }
    // The shown message lines, oldest first.
    static std::vector<std::string> shown_lines() {
        std::vector<std::string> lines;
        for (int i = CHAT_MAX_LINES - chat_lines; i < CHAT_MAX_LINES; ++i) lines.push_back(get_chat_line(i));
        return lines;
    }
    static std::string typed_part(int length) { return std::string(chat_input, size_t(length)); }
};

TEST_F(Chat, KeysTypeEditAndRecallTheLine) {
    struct Case {
        const char* name;
        std::vector<int> keys;
        std::string input;  // the buffer as a string, blanks and all
        int cursor;
    };
    const std::vector<int> eighty_one(81, SCAN_A);
    const Case cases[] = {
        {"the 81st character is ignored", eighty_one, std::string(80, 'a'), 80},
        {"backspace at the start does nothing", {SCAN_BACKSPACE, SCAN_DELETE}, BLANKS, 0},
        {"backspace and delete blank the last character", {SCAN_A, SCAN_S, SCAN_D, SCAN_BACKSPACE, SCAN_DELETE, SCAN_F},
         "af" + BLANKS.substr(2), 2},
        {"shift types capitals; releases and other events type nothing",
         {KEY_SHIFT | SCAN_A, SCAN_A | KEY_RELEASE, KEY_ALT | SCAN_S, SCAN_F1}, "A" + BLANKS.substr(1), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open_chat_line(KEY_SHIFT | SCAN_M);
        post_event({EV_MOUSE_CLICK, 1, 5, 5, 0});
        for (int key : c.keys) post_event({EV_KEY, key, 0, 0, 0});
        read_chat_keys();
        EXPECT_EQ(std::string(chat_input), c.input);
        RecordingPlot plot;
        draw_chat_area();
        const RecordingPlot::Text* cursor = plot.find_text("_");
        ASSERT_NE(cursor, nullptr);
        EXPECT_EQ(cursor->colour, 1);
        select_font(&font_large);
        EXPECT_EQ(cursor->pixel_x, 20 + get_text_width(typed_part(c.cursor).c_str()));
        EXPECT_EQ(cursor->pixel_y, 58);
        ASSERT_EQ(plot.texts.size(), 11u) << "the line in eight outline copies and its own, two cursors";
        const RecordingPlot::Text& line = plot.texts[8];
        EXPECT_EQ(line.string, ":- " + c.input);
        EXPECT_EQ(line.colour, 1);
        EXPECT_EQ(line.pixel_x, 1);
        EXPECT_EQ(line.pixel_y, 55) << "under the five message lines";
        press({SCAN_ESCAPE});
    }
}

TEST_F(Chat, EnterClosesTheLineAndUpBringsItBackWithTheCursorAfterIt) {
    open_chat_line(KEY_SHIFT | SCAN_M);
    type("hi");
    post_event({EV_KEY, SCAN_ENTER, 0, 0, 0});
    post_event({EV_KEY, SCAN_Z, 0, 0, 0});
    read_chat_keys();
    EXPECT_EQ(chat_line_open, 0);
    EXPECT_EQ(std::string(chat_input), "hi" + BLANKS.substr(2)) << "a key after Enter is not typed into the line";
    Event left;
    ASSERT_EQ(get_event(left), 1) << "it waits for the hot keys";
    EXPECT_EQ(left.value, SCAN_Z);

    open_chat_line(KEY_SHIFT | SCAN_M);
    EXPECT_EQ(std::string(chat_input), BLANKS);
    press({SCAN_UP});
    type("o");
    EXPECT_EQ(std::string(chat_input), "hio" + BLANKS.substr(3));
    press({SCAN_ESCAPE});
    EXPECT_EQ(chat_line_open, 0);
    open_chat_line(KEY_SHIFT | SCAN_M);
    press({SCAN_UP});
    EXPECT_EQ(std::string(chat_input), "hi" + BLANKS.substr(2)) << "Escape keeps the line entered before";
    press({SCAN_ESCAPE});
}

TEST_F(Chat, AnEightyCharacterLineLeavesNothingBehindForTheNext) {
    open_chat_line(KEY_SHIFT | SCAN_M);
    for (int i = 0; i < 80; ++i) post_event({EV_KEY, SCAN_A, 0, 0, 0});
    post_event({EV_KEY, SCAN_ENTER, 0, 0, 0});
    read_chat_keys();
    open_chat_line(KEY_SHIFT | SCAN_M);
    EXPECT_EQ(std::string(chat_input), BLANKS);
    press({SCAN_ESCAPE});
}

// With the defaults a scroll step every 5 s, and 30 s after the last new line only the newest is
// kept, and nothing is drawn.
TEST_F(Chat, LinesScrollOnTheirTimerAndAreWipedAfterSilence) {
    add_chat_line("one");
    add_chat_line("two");
    struct Step {
        int32_t clock;
        std::vector<std::string> shown;
        bool drawn;
    };
    const Step steps[] = {
        {1000, {"", "", "", "one", "two"}, true},
        {1001, {"", "", "one", "two", "> "}, true},
        {2001, {"", "", "one", "two", "> "}, true},
        {2002, {"", "one", "two", "> ", "> "}, true},
        {6000, {"one", "two", "> ", "> ", "> "}, true},
        {6001, {"", "", "", "", "> "}, false},
        {9000, {"", "", "", "", "> "}, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.clock);
        game_clock = step.clock;
        RecordingPlot plot;
        draw_chat_area();
        EXPECT_EQ(shown_lines(), step.shown);
        EXPECT_EQ(!plot.texts.empty(), step.drawn);
    }
    add_chat_line("three");
    RecordingPlot plot;
    draw_chat_area();
    EXPECT_EQ(shown_lines(), (std::vector<std::string>{"", "", "", "> ", "three"}));
}

TEST_F(Chat, ANewFlightsClockRestartsTheTimers) {
    game_clock = 50'000;
    add_chat_line("last flight");
    game_clock = 0;
    request_chat_redraw();
    game_clock = 1001;
    draw_chat_area();
    EXPECT_EQ(shown_lines().back(), "> ") << "the lines scroll in the new flight";
    game_clock = 6001;
    draw_chat_area();
    EXPECT_EQ(shown_lines()[3], "") << "and are wiped";
}

TEST_F(Chat, OutlineStylesDrawTheirCopiesInColourZeroUnderTheText) {
    chat_text_colour = 35;
    add_chat_line("hi");
    struct Copy {
        int x, y, colour;
    };
    const struct {
        int32_t style;
        std::vector<Copy> copies;
    } cases[] = {
        {0, {{2, 41, 0}, {1, 40, 35}}},
        {8,
         {{2, 40, 0}, {0, 40, 0}, {1, 39, 0}, {1, 41, 0}, {0, 41, 0}, {2, 39, 0}, {0, 39, 0}, {2, 41, 0}, {2, 41, 0},
          {1, 40, 35}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        chat_outline_style = c.style;
        RecordingPlot plot;
        draw_chat_area();
        ASSERT_EQ(plot.texts.size(), c.copies.size());
        for (size_t i = 0; i < c.copies.size(); ++i) {
            EXPECT_EQ(plot.texts[i].string, "hi");
            EXPECT_EQ(plot.texts[i].pixel_x, c.copies[i].x) << i;
            EXPECT_EQ(plot.texts[i].pixel_y, c.copies[i].y) << i;
            EXPECT_EQ(plot.texts[i].colour, c.copies[i].colour) << i;
        }
    }
}

class NetworkChat : public Chat, protected HubPeer {
protected:
    void SetUp() override {
        Chat::SetUp();
        std::strcpy(own_network_name, "ALPHA");
        network_active = 1;
        send_announce();
        NetMessage count = {};
        count.code = NET_MSG_NODE_COUNT;
        count.sender = -1;
        uint8_t block[NET_MESSAGE_SIZE];
        peer->broadcast(block, size_t(encode_net_message(count, block)));
        settle();
        peer_heard();
        ASSERT_EQ(own_player_number, 0);
    }
    void TearDown() override {
        own_player_number = -1;
        Chat::TearDown();
    }
    void enter_line(const std::string& text) {
        open_chat_line(KEY_SHIFT | SCAN_M);
        type(text);
        press({SCAN_ENTER});
    }
};

TEST_F(NetworkChat, AnEnteredLineGoesAtOnceInANetworkGameAndWaitsForTheFrameOverACable) {
    const std::string line = "hi there" + BLANKS.substr(8);
    struct Case {
        int32_t mode, connection, network;
        bool sent, pending;
    };
    const Case cases[] = {
        {GAME_MULTI_PLAYER, CONNECTION_NETWORK, 1, true, false},
        {GAME_COMBAT, CONNECTION_NETWORK, 1, true, false},
        {GAME_COMBAT, CONNECTION_DIRECT, 0, false, true},
        {GAME_TWO_PLAYER_MISSION, CONNECTION_MODEM, 0, false, true},
        {GAME_PILOT_GUNNER, CONNECTION_DIRECT, 0, false, false},
        {GAME_SINGLE, CONNECTION_NONE, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " connection " << c.connection);
        game_mode = c.mode;
        connection_mode = c.connection;
        network_active = c.network;
        chat_pending = 0;
        add_chat_line("before");
        enter_line("hi there");
        const std::vector<NetMessage> heard = peer_heard();
        ASSERT_EQ(heard.size(), c.sent ? 1u : 0u);
        EXPECT_EQ(chat_pending, c.pending ? 1 : 0);
        EXPECT_EQ(std::string(chat_input), line) << "the frame record takes the line from the input";
        if (!c.sent) {
            EXPECT_EQ(shown_lines().back(), "before");
            continue;
        }
        EXPECT_EQ(heard[0].code, NET_MSG_CHAT);
        EXPECT_STREQ(heard[0].name, "ALPHA");
        EXPECT_EQ(heard[0].sender, 0);
        EXPECT_EQ(std::string(heard[0].text), line);
        EXPECT_EQ(shown_lines().back(), "> ALPHA: " + line);
    }
}

TEST_F(NetworkChat, ALineFromAnotherIsShownWithItsNameAndAtMostEightyCharacters) {
    network_active = 1;
    const struct {
        std::string text, shown;
    } cases[] = {
        {"hello", "> BRAVO : hello"},
        {std::string(80, 'x') + "tail", "> BRAVO : " + std::string(80, 'x')},
    };
    for (const auto& c : cases) {
        uint8_t block[NET_MESSAGE_SIZE] = {};
        NetMessage message = {};
        message.code = NET_MSG_CHAT;
        std::strcpy(message.name, "BRAVO");
        message.sender = 1;
        encode_net_message(message, block);
        std::memcpy(block + NET_OFFSET_CHAT_TEXT, c.text.data(), c.text.size());
        peer->broadcast(block, sizeof block);
        settle();
        EXPECT_EQ(shown_lines().back(), c.shown);
    }
}

}  // namespace
}  // namespace vyr
