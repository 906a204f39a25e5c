// The serial set-up exchange: once a cable or two modems join the machines, they test the link,
// agree on the game and its settings, and player 2's front end follows player 1's choices, one
// request and its answer per step of the modem dialogue thread.
#pragma once

#include <cstdint>

namespace vyr {

enum ExchangeState : int32_t {
    EXCHANGE_LINK_TEST = 0,
    EXCHANGE_MENU_DATA = 1,
    EXCHANGE_BRANCH = 2,
    EXCHANGE_WAR_ZONE = 3,  // player 2 follows ...
    EXCHANGE_MISSION = 4,
    EXCHANGE_TAKE_OFF = 5,
    EXCHANGE_SEND = 6,  // player 1 leads ...
    EXCHANGE_ACK = 7,
    EXCHANGE_LAST_ACK = 8,
    EXCHANGE_IDLE = 9,  // after a mismatch or a flight: single bytes both ways
};
extern int32_t exchange_state;

// Menu choice codes carried as single bytes.
enum MenuChoice : int32_t {
    MENU_NOTHING = 0,
    MENU_START_GAME = 12,
    MENU_WAR_ZONE_1 = 13,  // .. 16 for war zone 4
    MENU_MISSION_NEXT = 17,
    MENU_MISSION_LINE = 18,
    MENU_TAKE_OFF = 19,
    MENU_MAP_EXIT = 21,
    MENU_NO_MISSION = 49,
    MENU_FIRST_MISSION = 50,  // + the line of the listed mission
};
// A war zone lists up to 31 single missions: lines 0..30.
constexpr int MENU_MISSION_LINES = 31;

constexpr int MENU_DATA_SIZE = 7;

// The controls the other machine's choices press on this one; a null entry ignores that choice.
struct ExchangePresses {
    void (*war_zone)(int zone);
    void (*mission_next)();
    void (*mission_line)(int line);  // -1 clears the selection
    void (*take_off)();
    void (*start_game)();
    void (*map_exit)();
    // Closes the mission map, the mission select screen and the Game Screen, those on show.
    void (*close_screens)();
};
void set_exchange_presses(const ExchangePresses& presses);
void close_exchange_screens();

// "Start Game" on a cable, or CONNECT from the modems: opens a cable's port and starts at the
// link test.
void start_link_test();
// One step of the exchange.
void exchange_menu_data();
// 0 for SECURE_OK; otherwise reports the failure, resets the link and answers 1.
int report_link_failure(int result);

// The one-byte mailbox from the front end to the exchange: 0 when empty.
void set_pending_menu_choice(int choice);
int pending_menu_choice();
bool exchange_at_link_test();

// This machine's menu data record, and the check of the other's (1 agreement).
void make_menu_data(uint8_t data[MENU_DATA_SIZE]);
int check_menu_data(const uint8_t other[MENU_DATA_SIZE]);

}  // namespace vyr
