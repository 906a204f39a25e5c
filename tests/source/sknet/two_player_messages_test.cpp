// The other machine's two-player set-up over the network: its menu items pressed on this
// machine's rows, and its settings taken over when it presses "Start Game".
#include "source/sknet/two_player_messages.h"

#include <gtest/gtest.h>

#include "source/flight.h"
#include "source/sknet/link.h"
#include "source/sknet/net_decoder.h"
#include "source/sknet/net_players.h"
#include "source/sknet/two_player.h"

namespace vyr {
namespace {

class TwoPlayerMessages : public testing::Test {
protected:
    void SetUp() override {
        two_player_choices = TwoPlayerChoices{};
        two_player_game_type = 1;
        two_player_position = 1;
        own_player_number = 0;
    }
    void TearDown() override {
        two_player_position = 1;
        own_player_number = -1;
        in_flight = 0;
    }
    static void item_from_other(int item, int type = EV_SELECT) {
        NetMessage message = {NET_MSG_MENU_ITEM, "BRAVO", 1, 1, 0, 0};
        message.item = item;
        message.event = {type, 0, 0, 0, 0};
        receive_menu_item(message);
    }
};

TEST_F(TwoPlayerMessages, EachItemSetsItsRowToTheOtherMachinesValueWhateverThisOneShowed) {
    struct Case {
        int item;
        int TwoPlayerChoices::*row;
        int shown;
    };
    const Case cases[] = {
        {2, &TwoPlayerChoices::weather, 0},    {3, &TwoPlayerChoices::weather, 1},
        {4, &TwoPlayerChoices::weather, 2},    {5, &TwoPlayerChoices::weather, 3},
        {6, &TwoPlayerChoices::start_time, 0}, {7, &TwoPlayerChoices::start_time, 1},
        {8, &TwoPlayerChoices::difficulty, 0}, {9, &TwoPlayerChoices::difficulty, 1},
        {10, &TwoPlayerChoices::position, 1},  {11, &TwoPlayerChoices::position, 0},  // the other seat
    };
    for (const Case& c : cases)
        for (int before : {0, 1, 3}) {
            two_player_choices.*c.row = c.row == &TwoPlayerChoices::weather ? before : before & 1;
            item_from_other(c.item);
            EXPECT_EQ(two_player_choices.*c.row, c.shown) << "item " << c.item << " over " << before;
        }
    EXPECT_EQ(two_player_position, 1) << "the last item, 11, left this machine player 1";
}

TEST_F(TwoPlayerMessages, OwnItemsAndItemsInFlightPressNothing) {
    item_from_other(3);
    NetMessage own = {NET_MSG_MENU_ITEM, "ALPHA", 0, 0, 0, 0};
    own.item = 5;
    own.event = {EV_SELECT, 0, 0, 0, 0};
    receive_menu_item(own);
    EXPECT_EQ(two_player_choices.weather, 1);
    in_flight = 1;
    item_from_other(4);
    EXPECT_EQ(two_player_choices.weather, 1);
}

TEST_F(TwoPlayerMessages, StartGameSettingsAreTakenOverWithTheOtherSeat) {
    struct Case {
        int settings[5];
        int position, player;
    };
    const Case cases[] = {{{2, 0, 3, 1, 1}, 1, 2}, {{1, 1, 2, 0, 0}, 0, 1}};
    for (const Case& c : cases) {
        NetMessage message = {};
        message.code = NET_MSG_TWO_PLAYER_SETTINGS;
        message.sender = -1;
        std::copy(std::begin(c.settings), std::end(c.settings), message.settings);
        receive_two_player_settings(message);
        EXPECT_EQ(two_player_game_type, c.settings[0]);
        EXPECT_EQ(two_player_choices.position, c.position);
        EXPECT_EQ(two_player_choices.weather, c.settings[2]);
        EXPECT_EQ(two_player_choices.start_time, c.settings[3]);
        EXPECT_EQ(two_player_choices.difficulty, c.settings[4]);
        EXPECT_EQ(two_player_position, c.player);
    }
}

}  // namespace
}  // namespace vyr
