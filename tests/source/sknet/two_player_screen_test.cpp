// The two-player screen's rows and message lines, as their choices and the settings they store.
#include "source/sknet/two_player_screen.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "library/config/prefs.h"
#include "library/network/transport.h"
#include "source/sknet/link.h"
#include "source/sknet/net_players.h"
#include "source/sknet/two_player.h"

namespace vyr {
namespace {

class TwoPlayerRows : public testing::Test {
protected:
    void SetUp() override {
        load_prefs(nullptr);
        two_player_choices = TwoPlayerChoices{};
        clear_modem_messages();
    }
    void TearDown() override { close_prefs(); }
    Event select_ = {EV_SELECT, 0, 0, 0, 0};
};

int stored(const char* name) {
    int value = -1;
    get_pref_int(name, &value);
    return value;
}

TEST_F(TwoPlayerRows, ChoosingAComPortChoosesAndStoresItsOwnInterruptLine) {
    com_port_plus(nullptr, select_);  // COM3
    EXPECT_EQ(two_player_choices.com_port, 2);
    EXPECT_EQ(two_player_choices.irq, 2);  // IRQ 4
    EXPECT_EQ(stored("COM_PORT"), 2);
    EXPECT_EQ(stored("IRQ_NUMBER"), 2);
    irq_plus(nullptr, select_);
    com_port_minus(nullptr, select_);  // COM2
    EXPECT_EQ(two_player_choices.irq, 1);  // IRQ 3
    EXPECT_EQ(stored("IRQ_NUMBER"), 1);
    for (int i = 0; i < 5; ++i) com_port_minus(nullptr, select_);
    EXPECT_EQ(two_player_choices.com_port, 0);  // no wrap
    for (int i = 0; i < 9; ++i) baud_rate_plus(nullptr, select_);
    EXPECT_EQ(two_player_choices.baud_rate, 7);
    EXPECT_EQ(stored("BAUD_RATE"), 7);
}

TEST_F(TwoPlayerRows, WeatherWrapsBothWays) {
    weather_minus(nullptr, select_);
    EXPECT_STREQ(weather_names[two_player_choices.weather], "Thick Fog");
    weather_plus(nullptr, select_);
    EXPECT_STREQ(weather_names[two_player_choices.weather], "Clear");
}

TEST_F(TwoPlayerRows, PositionSetsTheLinkPosition) {
    position_button(nullptr, select_);
    EXPECT_EQ(two_player_position, 2);
    position_button(nullptr, select_);
    EXPECT_EQ(two_player_position, 1);
}

TEST_F(TwoPlayerRows, AThirteenthMessageMovesTheFirstOutOfView) {
    for (int i = 1; i <= 13; ++i) add_modem_message(("line " + std::to_string(i)).c_str());
    EXPECT_STREQ(modem_message_line(0), "line 2");
    EXPECT_STREQ(modem_message_line(MODEM_MESSAGE_LINES - 1), "line 13");
    clear_modem_messages();
    EXPECT_STREQ(modem_message_line(0), "");
}

TEST_F(TwoPlayerRows, ThePhoneNumberTakesFortyNineDialCharactersAndNoLetter) {
    auto type = [&](int c) {
        Event key = {EV_KEY, 0, c, 0, 0};
        type_phone_number(nullptr, key);
    };
    type(27);  // Escape empties it
    for (int c : {'5', 'a', '%', 'Z', '*', '+', ',', '-', '\\', ' '}) type(c);
    // No field drawn here, so only the length bounds it.
    EXPECT_STREQ(two_player_phone_number(), "5%*+,-\\");
    for (int i = 0; i < 60; ++i) type('9');
    EXPECT_EQ(std::string(two_player_phone_number()).size(), 49u);
    type(8);
    EXPECT_EQ(std::string(two_player_phone_number()).size(), 48u);
}

TEST_F(TwoPlayerRows, OverTheNetworkStartGameNeedsBothPlayersInTheChannelUnderTheirNames) {
    struct Case {
        int own_number;
        const char* node_name;  // node 1's, against its slot's "BRAVO"
        const char* shown;
    };
    const Case cases[] = {
        {-1, "BRAVO", "Not Connected to Network. Try another channel"},
        {0, "", "You must have another player"},
        {0, "ZULU", "Not logged in properly. Try another channel"},
        {0, "BRAVO", "Taking off"},
    };
    two_player_connect_type = CONNECT_NETWORK;
    for (const Case& c : cases) {
        own_player_number = c.own_number;
        const char* const names[2] = {"ALPHA", c.node_name};
        for (int node = 0; node < 2; ++node) {
            net_nodes[node].active = 1;
            net_nodes[node].name = names[node];
            std::snprintf(net_players[node].name, sizeof net_players[node].name, "%s", node ? "BRAVO" : "ALPHA");
        }
        start_game_button(nullptr, select_);
        EXPECT_STREQ(modem_message_line(0), c.shown);
        clear_modem_messages();
    }
    for (int node = 0; node < 2; ++node) net_nodes[node] = {};
    own_player_number = -1;
    two_player_connect_type = CONNECT_DIRECT;
}

}  // namespace
}  // namespace vyr
