#include "source/sknet/two_player.h"

#include <cstdio>
#include <cstring>

namespace vyr {

int32_t linked_game = 0;
int32_t two_player_game_type = 1;
int32_t two_player_connect_type = CONNECT_DIRECT;
TwoPlayerChoices two_player_choices;

const char* const game_type_names[3] = {"Single Player", "Combat", "Single Missions"};
const char* const position_names[3][2] = {
    {"Red Leader", "Blue Leader"}, {"Leader", "Wingman"}, {"Pilot", "Gunner"}};
const char* const weather_names[4] = {"Clear", "Overcast", "Light Fog", "Thick Fog"};
const char* const start_time_names[2] = {"Day", "Night"};
const char* const difficulty_names[2] = {"No Crashing", "Crashing Enabled"};

namespace {
char lines[MODEM_MESSAGE_LINES][MODEM_MESSAGE_SIZE] = {};
int lines_used = 0;
ModemMessagesShown messages_shown = nullptr;

void show_lines() {
    if (messages_shown) messages_shown();
}
}  // namespace

void scroll_modem_messages() {
    std::memmove(lines[0], lines[1], sizeof lines - sizeof lines[0]);
    lines[MODEM_MESSAGE_LINES - 1][0] = '\0';
    if (lines_used > 0) --lines_used;
}

void add_modem_message(const char* text) {
    if (lines_used == MODEM_MESSAGE_LINES) scroll_modem_messages();
    std::snprintf(lines[lines_used++], MODEM_MESSAGE_SIZE, "%s", text);
    show_lines();
}

void clear_modem_messages() {
    std::memset(lines, 0, sizeof lines);
    lines_used = 0;
    show_lines();
}

const char* modem_message_line(int line) {
    return line >= 0 && line < MODEM_MESSAGE_LINES ? lines[line] : "";
}

void set_modem_messages_shown(ModemMessagesShown shown) { messages_shown = shown; }

}  // namespace vyr
