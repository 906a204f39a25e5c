// The two-player link's state, the choices of the two-player screen that both machines share,
// and the screen's message lines, which the modem dialogue and the set-up exchange write.
#pragma once

#include <cstdint>

namespace vyr {

enum TwoPlayerConnect : int32_t { CONNECT_DIRECT = 1, CONNECT_MODEM = 2, CONNECT_NETWORK = 3 };

// 1 while two machines are joined by a cable or connected modems and set up together.
extern int32_t linked_game;
// 1 combat, 2 single missions.
extern int32_t two_player_game_type;
extern int32_t two_player_connect_type;

struct TwoPlayerChoices {
    int32_t position = 0;    // 0 "Player 1", 1 "Player 2"
    int32_t weather = 0;     // 0 "Clear" .. 3 "Thick Fog"
    int32_t start_time = 0;  // 0 "Day", 1 "Night"
    int32_t difficulty = 0;  // 1 "Crashing Enabled", 0 "No Crashing"
    int32_t com_port = 1;    // 0..3
    int32_t irq = 1;         // 0..5 of IRQ 2, 3, 4, 5, 7, 9
    int32_t baud_rate = 5;   // 0..7 of 2400 .. 115200
};
extern TwoPlayerChoices two_player_choices;

extern const char* const game_type_names[3];      // by game type 0..2
extern const char* const position_names[3][2];    // by game type 1..3 and position
extern const char* const weather_names[4];
extern const char* const start_time_names[2];
extern const char* const difficulty_names[2];     // by the difficulty value

constexpr int MODEM_MESSAGE_LINES = 12;
constexpr int MODEM_MESSAGE_SIZE = 80;

// A new line below the last; with all twelve used, the lines move up one first.
void add_modem_message(const char* text);
void scroll_modem_messages();
void clear_modem_messages();
// Line 0..11 as shown; empty when unused.
const char* modem_message_line(int line);
// The screen redraws its lines when told; null for none.
using ModemMessagesShown = void (*)();
void set_modem_messages_shown(ModemMessagesShown shown);

}  // namespace vyr
