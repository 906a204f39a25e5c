// The set-up exchange of this machine against a scripted other machine on an in-memory cable:
// the other machine's frames wait on the wire before each step, and its answers are read after.
#include "source/sknet/setup_exchange.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "library/network/secure.h"
#include "library/network/serial_port.h"
#include "library/system/event.h"
#include "library/system/timer.h"
#include "platform/timer/timer.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/menu_choice.h"
#include "source/sknet/link.h"
#include "source/sknet/modem_link.h"
#include "source/sknet/two_player.h"
#include "tests/library/network/serial_pair.h"

namespace vyr {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<std::string> pressed;

class SetUpExchange : public testing::Test {
protected:
    void SetUp() override {
        platform::set_clock_mode(platform::ClockMode::VIRTUAL);
        ASSERT_TRUE(start_timer());
        pair_.emplace(false);
        pressed.clear();
        set_exchange_presses({[](int zone) { pressed.push_back("zone " + std::to_string(zone)); },
                              [] { pressed.push_back("next"); },
                              [](int line) { pressed.push_back("line " + std::to_string(line)); },
                              [] { pressed.push_back("take-off"); }, [] { pressed.push_back("start"); },
                              [] { pressed.push_back("map exit"); }, [] { pressed.push_back("close"); }});
        clear_modem_messages();
        two_player_choices = TwoPlayerChoices{};
        two_player_choices.com_port = 0;
        two_player_connect_type = CONNECT_DIRECT;
        two_player_game_type = 1;
        two_player_position = 1;
        linked_game = 1;
        connection_mode = CONNECTION_DIRECT;
        game_mode = GAME_COMBAT;
        start_link_test();
        other().reset();
    }
    void TearDown() override {
        close_serial_port();
        stop_timer();
        flush_events();
        set_exchange_presses({});
        linked_game = 0;
        connection_mode = CONNECTION_NONE;
        game_mode = GAME_SINGLE;
        modem_state = MODEM_IDLE;
    }

    // Each case of a table starts again with a fresh cable.
    void restart() {
        TearDown();
        SetUp();
    }
    SecureLink& other() { return pair_->links[1]; }
    void other_sends(Bytes bytes) { other().tx(bytes.data(), static_cast<int>(bytes.size())); }
    Bytes other_receives(int length) {
        Bytes bytes(static_cast<size_t>(length));
        EXPECT_EQ(other().rx(bytes.data(), length, false), SECURE_OK);
        return bytes;
    }
    // One step of this machine with the other's frame already on the wire.
    void step_with(Bytes from_other) {
        other_sends(std::move(from_other));
        exchange_menu_data();
    }
    std::vector<std::string> messages() {
        std::vector<std::string> lines;
        for (int i = 0; i < MODEM_MESSAGE_LINES; ++i)
            if (*modem_message_line(i)) lines.push_back(modem_message_line(i));
        return lines;
    }
    void link_test() {
        step_with({1});
        EXPECT_EQ(other_receives(1), Bytes({1}));
        ASSERT_EQ(exchange_state, EXCHANGE_MENU_DATA);
    }
    // The other machine's menu data: game type, position, weather, start time, difficulty.
    void menu_data(int game, int position, int weather = 0, int start_time = 0, int difficulty = 0) {
        step_with({3, uint8_t(game), uint8_t(position), uint8_t(weather), uint8_t(start_time), uint8_t(difficulty), 0});
        other_receives(MENU_DATA_SIZE);
    }
    void agree_on_single_missions_as_player_2() {
        two_player_game_type = 2;
        two_player_choices.position = 1;
        two_player_position = 2;
        link_test();
        menu_data(2, 0);
        ASSERT_EQ(exchange_state, EXCHANGE_BRANCH);
        exchange_menu_data();
        ASSERT_EQ(exchange_state, EXCHANGE_WAR_ZONE);
    }
    // One choice byte from player 1, acknowledged by this machine.
    void follow(uint8_t choice) {
        step_with({choice});
        EXPECT_EQ(other_receives(1), Bytes({1})) << int(choice);
    }

    std::optional<SerialPair> pair_;
};

TEST_F(SetUpExchange, TheLinkTestAndMenuDataGoBothWays) {
    two_player_choices.weather = 2;
    two_player_choices.difficulty = 1;
    step_with({1});
    EXPECT_EQ(other_receives(1), Bytes({1}));
    other_sends({3, 1, 1, 0, 0, 0, 0});
    exchange_menu_data();
    EXPECT_EQ(other_receives(MENU_DATA_SIZE), Bytes({3, 1, 0, 2, 0, 1, 0}));
    EXPECT_EQ(messages(), std::vector<std::string>({"Testing Link", "Machines Linked", "Menu data sent",
                                                    "Received other machine's menu data"}));
    EXPECT_EQ(exchange_state, EXCHANGE_BRANCH);
    EXPECT_EQ(secure_link.timeout(), SECURE_TIMEOUT_LONG);
    exchange_menu_data();  // combat: the dialogue goes idle, ready for the next link test
    EXPECT_EQ(modem_state, MODEM_IDLE);
    EXPECT_EQ(exchange_state, EXCHANGE_LINK_TEST);
}

TEST_F(SetUpExchange, MismatchedChoicesAreShownAndNoGameStarts) {
    struct Case {
        int own_game, own_position, other_game, other_position;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {1, 0, 1, 0, {"Error, both players set to Red Leader!"}},
        {2, 1, 2, 1, {"Error, both players set to Wingman!"}},
        {1, 0, 2, 1, {"Error, both players must pick Single Missions or ", "Combat!"}},
        {2, 0, 1, 1, {"Error, both players must pick Combat or ", "Single Missions!"}},
    };
    for (const Case& c : cases) {
        restart();
        two_player_game_type = c.own_game;
        two_player_choices.position = c.own_position;
        link_test();
        menu_data(c.other_game, c.other_position);
        std::vector<std::string> shown = messages();
        shown.erase(shown.begin(), shown.end() - static_cast<long>(c.shown.size()));
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(exchange_state, EXCHANGE_IDLE);
        EXPECT_EQ(modem_state, MODEM_EXCHANGE);
    }
}

TEST_F(SetUpExchange, InCombatNightThickFogAndCrashingWin) {
    two_player_choices.weather = 1;
    link_test();
    menu_data(1, 1, 3, 1, 1);
    EXPECT_EQ(two_player_choices.weather, 3);
    EXPECT_EQ(two_player_choices.start_time, 1);
    EXPECT_EQ(two_player_choices.difficulty, 1);
    restart();
    two_player_choices = {0, 3, 1, 1, 0, 1, 5};
    link_test();
    menu_data(1, 1, 1, 0, 0);  // the other's Day, Overcast and No Crashing change nothing
    EXPECT_EQ(two_player_choices.weather, 3);
    EXPECT_EQ(two_player_choices.start_time, 1);
    EXPECT_EQ(two_player_choices.difficulty, 1);
}

TEST_F(SetUpExchange, APulledCableInTheLinkTestTimesOutAndResetsTheLink) {
    pair_->ends[1]->pull_cable();
    exchange_menu_data();
    EXPECT_EQ(messages(), std::vector<std::string>({"Testing Link", "No response - Timed out",
                                                    "Data link lost - Resetting modem"}));
    EXPECT_EQ(pressed, std::vector<std::string>({"close"}));
    EXPECT_EQ(linked_game, 0);
    EXPECT_EQ(modem_state, MODEM_IDLE);
}

TEST_F(SetUpExchange, Player2FollowsTheZoneTheMissionLineAndTheTakeOff) {
    agree_on_single_missions_as_player_2();
    follow(0);  // nothing chosen yet: stay
    EXPECT_EQ(exchange_state, EXCHANGE_WAR_ZONE);
    follow(13 + 2);
    EXPECT_EQ(exchange_state, EXCHANGE_MISSION);
    follow(50 + 25);
    follow(49);
    follow(50 + 30);  // the 31st line of a war zone's list
    follow(17);
    EXPECT_EQ(exchange_state, EXCHANGE_TAKE_OFF);
    follow(19);
    EXPECT_EQ(pressed, std::vector<std::string>({"zone 3", "line 25", "line -1", "line 30", "next", "take-off"}));
    EXPECT_EQ(modem_state, MODEM_IDLE);
    EXPECT_EQ(exchange_state, EXCHANGE_LINK_TEST);
}

TEST_F(SetUpExchange, Player1SendsEachChoiceAndWaitsForItsAcknowledgement) {
    two_player_game_type = 2;
    link_test();
    menu_data(2, 1);
    exchange_menu_data();
    ASSERT_EQ(exchange_state, EXCHANGE_SEND);
    for (int choice : {14, 50 + 3, 17, 19}) {
        set_pending_menu_choice(choice);
        exchange_menu_data();
        EXPECT_EQ(pending_menu_choice(), 0);
        EXPECT_EQ(other_receives(1), Bytes({uint8_t(choice)}));
        step_with({1});
    }
    EXPECT_EQ(modem_state, MODEM_IDLE);
    EXPECT_EQ(exchange_state, EXCHANGE_LINK_TEST);
}

TEST_F(SetUpExchange, AStartGamePressCrossingInTheIdleExchangeRestartsBothAtTheLinkTest) {
    link_test();
    menu_data(1, 0);  // both Player 1: mismatch, idle exchange
    ASSERT_EQ(exchange_state, EXCHANGE_IDLE);
    step_with({0});
    EXPECT_EQ(other_receives(1), Bytes({0}));
    EXPECT_EQ(exchange_state, EXCHANGE_IDLE);
    set_pending_menu_choice(MENU_START_GAME);
    step_with({0});
    EXPECT_EQ(other_receives(1), Bytes({MENU_START_GAME}));
    EXPECT_EQ(exchange_state, EXCHANGE_LINK_TEST);
    other().reset();  // the other machine's own restart
    two_player_choices.position = 1;
    link_test();
    step_with({21});  // not yet: the map's exit only counts in the idle exchange
    EXPECT_EQ(messages().back(), "Data link lost - Resetting modem");
}

TEST_F(SetUpExchange, AnUnexpectedByteShowsItsTextResetsTheLinkAndTheProgramRunsOn) {
    struct Case {
        Bytes menu_data;  // empty: agree as player 2 of single missions
        int state;
        uint8_t byte;
        const char* shown;
    };
    const Case cases[] = {
        {{}, EXCHANGE_WAR_ZONE, 17, "Incorrect map selection received = 17"},
        {{}, EXCHANGE_MISSION, 50 + 31, "Incorrect mission selection received = 81"},
        {{}, EXCHANGE_MISSION, 12, "Incorrect mission selection received = 12"},
        {{}, EXCHANGE_TAKE_OFF, 17, "Incorrect takeoff selection received = 17"},
        {{3, 1, 0, 0, 0, 0, 0}, EXCHANGE_IDLE, 7, "invalid byte received = 7"},
        {{3, 7, 0, 0, 0, 0, 0}, -1, 0, "Incorrect menu data received = 3"},
        {{3, 1, 1, 4, 0, 0, 0}, -1, 0, "Incorrect menu data received = 3"},
        {{2, 1, 1, 0, 0, 0, 0}, -1, 0, "Incorrect menu data received = 2"},
    };
    for (const Case& c : cases) {
        restart();
        if (c.menu_data.empty()) {
            agree_on_single_missions_as_player_2();
            if (c.state >= EXCHANGE_MISSION) follow(13);
            if (c.state >= EXCHANGE_TAKE_OFF) follow(17);
            ASSERT_EQ(exchange_state, c.state);
            step_with({c.byte});
        } else {
            link_test();
            step_with(c.menu_data);
            if (c.state == EXCHANGE_IDLE) step_with({c.byte});
        }
        const std::vector<std::string> shown = messages();
        ASSERT_GE(shown.size(), 2u);
        EXPECT_EQ(shown[shown.size() - 2], c.shown);
        EXPECT_EQ(shown.back(), "Data link lost - Resetting modem");
        EXPECT_EQ(linked_game, 0) << c.shown;
        EXPECT_EQ(modem_state, MODEM_IDLE) << c.shown;
    }
}

TEST_F(SetUpExchange, AChoiceIsRefusedOnlyWhenItsOwnCarrierTestFails) {
    serial_port.mode = SERIAL_MODEM;
    two_player_connect_type = CONNECT_MODEM;
    connection_mode = CONNECTION_MODEM;
    game_mode = GAME_TWO_PLAYER_MISSION;
    two_player_position = 2;
    Event select = {EV_SELECT, 0, 0, 0, 0};
    pair_->ends[0]->set_data_set_ready(false);
    EXPECT_EQ(send_menu_choice(13, select), 0);
    EXPECT_EQ(messages().back(), "Data link lost - Resetting modem");
    EXPECT_EQ(pressed, std::vector<std::string>({"close"}));
    // The lost link leaves no answer behind: a war-zone choice without one goes on.
    connection_mode = CONNECTION_NONE;
    game_mode = GAME_SINGLE;
    EXPECT_EQ(send_menu_choice(14, select), 1);
    connection_mode = CONNECTION_MODEM;
    game_mode = GAME_TWO_PLAYER_MISSION;
    pair_->ends[0]->set_data_set_ready(true);
    EXPECT_EQ(send_menu_choice(15, select), 1);
}

}  // namespace
}  // namespace vyr
