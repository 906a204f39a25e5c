#include "source/sknet/setup_exchange.h"

#include <cstdio>

#include "library/debug/fatal.h"
#include "library/network/secure.h"
#include "library/network/serial_port.h"
#include "source/sknet/link.h"
#include "source/sknet/modem_link.h"
#include "source/sknet/net_screens.h"
#include "source/sknet/two_player.h"
#include "source/sknet/two_player_screen.h"

namespace vyr {

int32_t exchange_state = EXCHANGE_IDLE;

namespace {

constexpr const char* SOURCE_PATH = "sknet/setup_exchange.cpp";
constexpr uint8_t ACKNOWLEDGE = 1;
constexpr uint8_t MENU_DATA_MARK = 3;

ExchangePresses presses = {};
int32_t pending_choice = MENU_NOTHING;

template <typename Press, typename... Arguments>
void press(Press control, Arguments... arguments) {
    if (control) control(arguments...);
}

void send_byte(uint8_t byte) { tx_secure(&byte, 1); }

// One byte from the other machine; false when the link failed (already reported and reset).
bool receive_byte(uint8_t& byte) { return report_link_failure(rx_secure(&byte, 1, true)) == 0; }

void give_up_link() {
    add_modem_message("Data link lost - Resetting modem");
    reset_link();
}

// A byte this step cannot take would index the front end's tables or press nothing sensible:
// the link is given up as after a failed receive, and the program runs on.
void reject(const char* format, int value) {
    press(presses.close_screens);
    char text[MODEM_MESSAGE_SIZE];
    std::snprintf(text, sizeof text, format, value);
    add_modem_message(text);
    give_up_link();
}

void show_formatted(const char* format, const char* value) {
    char text[MODEM_MESSAGE_SIZE];
    std::snprintf(text, sizeof text, format, value);
    add_modem_message(text);
}

bool menu_data_in_range(const uint8_t data[MENU_DATA_SIZE]) {
    return data[0] == MENU_DATA_MARK && (data[1] == 1 || data[1] == 2) && data[2] <= 1 && data[3] <= 3 &&
           data[4] <= 1 && data[5] <= 1;
}

// Player 2, states 3..5: the choice byte, acknowledged before it is acted on.
bool receive_choice(uint8_t& byte) {
    if (!receive_byte(byte)) return false;
    send_byte(ACKNOWLEDGE);
    return true;
}

void follow_war_zone() {
    uint8_t byte = 0;
    if (!receive_choice(byte) || byte == MENU_NOTHING) return;
    if (byte < MENU_WAR_ZONE_1 || byte > MENU_WAR_ZONE_1 + 3) return reject("Incorrect map selection received = %d", byte);
    press(presses.war_zone, byte - MENU_WAR_ZONE_1 + 1);
    exchange_state = EXCHANGE_MISSION;
}

void follow_mission() {
    uint8_t byte = 0;
    if (!receive_choice(byte) || byte == MENU_NOTHING) return;
    if (byte == MENU_MISSION_NEXT) {
        press(presses.mission_next);
        exchange_state = EXCHANGE_TAKE_OFF;
    } else if (byte >= MENU_FIRST_MISSION && byte < MENU_FIRST_MISSION + MENU_MISSION_LINES) {
        press(presses.mission_line, byte - MENU_FIRST_MISSION);
    } else if (byte == MENU_NO_MISSION) {
        press(presses.mission_line, -1);
    } else {
        reject("Incorrect mission selection received = %d", byte);
    }
}

void follow_take_off() {
    uint8_t byte = 0;
    if (!receive_choice(byte) || byte == MENU_NOTHING) return;
    if (byte != MENU_TAKE_OFF) return reject("Incorrect takeoff selection received = %d", byte);
    press(presses.take_off);
    modem_state = MODEM_IDLE;
    exchange_state = EXCHANGE_LINK_TEST;
}

int take_pending_choice() {
    int choice = pending_choice;
    pending_choice = MENU_NOTHING;
    return choice;
}

void restart_link_test() {
    add_modem_message("Testing Link");
    exchange_state = EXCHANGE_LINK_TEST;
    reset_secure();
}

// After the step in which a "Start Game" press crossed, both machines start again at the link
// test, in step, whichever of them pressed.
void exchange_idle_bytes() {
    const int sent = take_pending_choice();
    send_byte(static_cast<uint8_t>(sent));
    uint8_t byte = 0;
    if (!receive_byte(byte)) return;
    if (byte == MENU_START_GAME)
        press(presses.start_game);
    else if (byte == MENU_MAP_EXIT)
        press(presses.map_exit);
    else if (byte != MENU_NOTHING)
        return reject("invalid byte received = %d", byte);
    if (sent == MENU_START_GAME || byte == MENU_START_GAME) restart_link_test();
}

void exchange_menu_record() {
    uint8_t own[MENU_DATA_SIZE];
    make_menu_data(own);
    tx_secure(own, MENU_DATA_SIZE);
    add_modem_message("Menu data sent");
    uint8_t other[MENU_DATA_SIZE];
    if (report_link_failure(rx_secure(other, MENU_DATA_SIZE, true))) return;
    add_modem_message("Received other machine's menu data");
    if (!menu_data_in_range(other)) return reject("Incorrect menu data received = %d", other[0]);
    if (!check_menu_data(other)) {
        exchange_state = EXCHANGE_IDLE;
        show_start_game_button();  // only a press restarts the link test
        return;
    }
    set_long_secure_timeout();
    if (two_player_game_type == 1) {
        TwoPlayerChoices& own_choices = two_player_choices;
        if (other[3] > own_choices.weather) own_choices.weather = other[3];
        if (other[4]) own_choices.start_time = other[4];
        if (other[5]) own_choices.difficulty = other[5];
        show_two_player_choices();
    }
    exchange_state = EXCHANGE_BRANCH;
}

void branch_by_game() {
    if (two_player_game_type == 1) {
        modem_state = MODEM_IDLE;
        exchange_state = EXCHANGE_LINK_TEST;
    } else if (two_player_game_type == 2 || two_player_game_type == 3) {
        exchange_state = two_player_position == 1 ? EXCHANGE_SEND : EXCHANGE_WAR_ZONE;
    } else {
        report_fatal_error("unknown game mode = %d", SOURCE_PATH, __LINE__, two_player_game_type);
    }
    check_network_take_off();
}

}  // namespace

void set_exchange_presses(const ExchangePresses& installed) { presses = installed; }
void close_exchange_screens() { press(presses.close_screens); }
void set_pending_menu_choice(int choice) { pending_choice = choice; }
int pending_menu_choice() { return pending_choice; }
bool exchange_at_link_test() { return exchange_state == EXCHANGE_LINK_TEST; }

void make_menu_data(uint8_t data[MENU_DATA_SIZE]) {
    data[0] = MENU_DATA_MARK;
    data[1] = static_cast<uint8_t>(two_player_game_type);
    data[2] = static_cast<uint8_t>(two_player_choices.position);
    data[3] = static_cast<uint8_t>(two_player_choices.weather);
    data[4] = static_cast<uint8_t>(two_player_choices.start_time);
    data[5] = static_cast<uint8_t>(two_player_choices.difficulty);
    data[6] = 0;
}

int check_menu_data(const uint8_t other[MENU_DATA_SIZE]) {
    const int game = two_player_game_type, position = two_player_choices.position;
    if (other[1] == game && other[2] == position) {
        show_formatted("Error, both players set to %s!", position_names[game - 1][position]);
        return 0;
    }
    if (other[1] != game) {
        show_formatted("Error, both players must pick %s or ", game_type_names[other[1]]);
        show_formatted("%s!", game_type_names[game]);
        return 0;
    }
    return 1;
}

void start_link_test() {
    if (two_player_connect_type == CONNECT_DIRECT) {
        close_serial_port();
        open_serial_port(two_player_choices.com_port, two_player_choices.baud_rate, SERIAL_DIRECT,
                         two_player_choices.irq);
        clear_modem_messages();
    } else if (two_player_connect_type != CONNECT_MODEM) {
        report_fatal_error("Connection type not allowed - %d", SOURCE_PATH, __LINE__, two_player_connect_type);
    }
    modem_state = MODEM_EXCHANGE;
    restart_link_test();
}

int report_link_failure(int result) {
    if (result == SECURE_OK) return 0;
    press(presses.close_screens);
    if (result == SECURE_TOO_MANY_ERRORS)
        add_modem_message("No response - Timed out");
    else if (result == SECURE_NO_CARRIER)
        add_modem_message("NO CARRIER");
    else
        report_fatal_error("rx_secure returned an unknown value!", SOURCE_PATH, __LINE__);
    give_up_link();
    return 1;
}

void exchange_menu_data() {
    switch (exchange_state) {
    case EXCHANGE_LINK_TEST: {
        send_byte(ACKNOWLEDGE);
        uint8_t byte = 0;
        if (!receive_byte(byte)) return;
        add_modem_message("Machines Linked");
        exchange_state = EXCHANGE_MENU_DATA;
        break;
    }
    case EXCHANGE_MENU_DATA: exchange_menu_record(); break;
    case EXCHANGE_BRANCH: branch_by_game(); break;
    case EXCHANGE_WAR_ZONE: follow_war_zone(); break;
    case EXCHANGE_MISSION: follow_mission(); break;
    case EXCHANGE_TAKE_OFF: follow_take_off(); break;
    case EXCHANGE_SEND: {
        const int choice = take_pending_choice();
        send_byte(static_cast<uint8_t>(choice));
        exchange_state = choice == MENU_TAKE_OFF ? EXCHANGE_LAST_ACK : EXCHANGE_ACK;
        break;
    }
    case EXCHANGE_ACK: {
        uint8_t byte = 0;
        if (receive_byte(byte)) exchange_state = EXCHANGE_SEND;
        break;
    }
    case EXCHANGE_LAST_ACK: {
        uint8_t byte = 0;
        if (!receive_byte(byte)) return;
        modem_state = MODEM_IDLE;
        exchange_state = EXCHANGE_LINK_TEST;
        break;
    }
    case EXCHANGE_IDLE: exchange_idle_bytes(); break;
    default: report_fatal_error("Data sequencer not recognised", SOURCE_PATH, __LINE__);
    }
}

void set_normal_secure_timeout() { secure_link.set_timeout(SECURE_TIMEOUT_NORMAL); }
void set_long_secure_timeout() { secure_link.set_timeout(SECURE_TIMEOUT_LONG); }

void reset_modem_link_states() {
    modem_state = MODEM_EXCHANGE;
    exchange_state = EXCHANGE_IDLE;
}

}  // namespace vyr
