#include "source/sknet/modem_link.h"

#include <cstdio>
#include <cstring>

#include "library/debug/fatal.h"
#include "library/network/secure.h"
#include "library/network/serial_port.h"
#include "library/system/event.h"
#include "library/system/exit.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "source/sknet/link.h"
#include "source/sknet/modem.h"
#include "source/sknet/net_screens.h"
#include "source/sknet/setup_exchange.h"
#include "source/sknet/two_player.h"
#include "source/sknet/two_player_screen.h"

namespace vyr {

int32_t modem_state = MODEM_IDLE;
int32_t answer_mode = ANSWER_NONE;
int32_t link_end_reason = 0;

namespace {
constexpr const char* SOURCE_PATH = "sknet/modem_link.cpp";
constexpr int IDLE_SLEEP = 100;
constexpr int CLOSE_WAIT = 2000;
bool thread_made = false;

int modem_step = 0;
ModemCommands commands;
int next_command = 0;
char user_command[MODEM_COMMAND_SIZE + 1] = {};
ModemReplyReader reader;
bool waiting = false;
int wait_start = 0;
int wait_timeout = 0;
// The first reply after "ATS0=1" is checked as the initialisation's are.
bool checking = false;
bool auto_answer_on = false;

struct HangUp {
    int sub_step = 0;
    int attempts = HANG_UP_ATTEMPTS;
    bool done = false;
    bool failed = false;
};
HangUp hang_up;

void begin(int state, int step) {
    modem_state = state;
    modem_step = step;
    waiting = false;
}

void start_wait(int timeout) {
    waiting = true;
    wait_start = read_clock();
    wait_timeout = timeout;
}

void send_command(const char* command, int timeout) {
    write_serial_string(command);
    reader.expect(command);
    start_wait(timeout);
}

// The command as the message lines show it, without its CR.
void show_command(const char* command) {
    char text[MODEM_MESSAGE_SIZE];
    std::snprintf(text, sizeof text, "%.*s", static_cast<int>(std::strcspn(command, "\r")), command);
    add_modem_message(text);
}

int read_modem_reply() {
    if (read_clock() - wait_start > wait_timeout) return REPLY_TIMED_OUT;
    const int byte = read_serial_byte();
    if (byte < 0) return REPLY_NONE_YET;
    if (read_line_errors()) {
        report_line_errors();
        reader.restart();
        return REPLY_LINE_ERROR;
    }
    return reader.take(static_cast<uint8_t>(byte));
}

// "+++" and the guard time, "ATH0" up to three times, and "ATS0=0" when the modem answers calls.
void run_hang_up() {
    if (hang_up.sub_step == 0) {
        if (!waiting) {
            write_serial_string("+++");
            return start_wait(HANG_UP_GUARD);
        }
        read_serial_byte();  // what the modem says in the guard time is not a reply to anything
        if (read_clock() - wait_start > HANG_UP_GUARD) {
            waiting = false;
            hang_up.sub_step = 1;
        }
        return;
    }
    if (!waiting) return send_command(hang_up.sub_step == 1 ? "ATH0\r" : "ATS0=0\r", HANG_UP_GUARD);
    const int reply = read_modem_reply();
    if (reply == REPLY_NONE_YET) return;
    waiting = false;
    if (hang_up.sub_step == 2) {
        if (reply == REPLY_OK) auto_answer_on = false;
        hang_up.done = true;
    } else if (reply == REPLY_OK) {
        hang_up.failed = false;
        if (auto_answer_on)
            hang_up.sub_step = 2;
        else
            hang_up.done = true;
    } else {
        hang_up.sub_step = 0;
        // A modem's own news (a RING, a NO CARRIER) costs no attempt; a line that is no reply at
        // all does, or a modem that answers only noise would be hung up forever.
        if (reply == REPLY_TIMED_OUT || reply == REPLY_LINE_ERROR || reply == REPLY_UNEXPECTED) {
            if (--hang_up.attempts == 0) hang_up.done = hang_up.failed = true;
        }
    }
}

// Step 0 of states 1..4: the hang-up runs first. True once it is done and went well; a failure
// has the dialogue idle.
bool hung_up_first() {
    run_hang_up();
    if (!hang_up.done) return false;
    if (!hang_up.failed) {
        modem_step = 1;
        return false;
    }
    modem_state = MODEM_IDLE;
    return true;
}

void initialise_step() {
    if (modem_step == 0) {
        if (hung_up_first()) {
            char text[MODEM_MESSAGE_SIZE];
            std::snprintf(text, sizeof text, "%s, reset modem and retry", modem_reply_texts[REPLY_TIMEOUT_TEXT]);
            add_modem_message(text);
        }
        next_command = 0;
        return;
    }
    if (!waiting) {
        if (next_command >= commands.count) return begin(MODEM_IDLE, 0);
        show_command(commands.lines[next_command]);
        checking = true;
        return send_command(commands.lines[next_command], INITIALISE_TIMEOUT);
    }
    const int reply = read_modem_reply();
    if (reply == REPLY_NONE_YET) return;
    show_modem_reply(reply, reader.line(), checking);
    ++next_command;
    waiting = false;
}

bool call_failed(int reply) {
    return reply == REPLY_NO_CARRIER || reply == REPLY_ERROR || reply == REPLY_NO_DIALTONE || reply == REPLY_BUSY ||
           reply == REPLY_NO_ANSWER || reply == REPLY_TIMED_OUT;
}

void connected() {
    linked_game = 1;
    start_link_test();
}

// The reply to "ATS0=1", "ATA" or the dial; REPLY_NONE_YET until one came that ends the wait.
int call_reply() {
    const int reply = read_modem_reply();
    if (reply == REPLY_NONE_YET) return reply;
    show_modem_reply(reply, reader.line(), checking);
    checking = false;
    if (reply == REPLY_CONNECT || call_failed(reply)) {
        waiting = false;
        return reply;
    }
    return REPLY_NONE_YET;
}

void give_up_call() {
    enable_connect_buttons(1);
    answer_mode = ANSWER_NONE;
}

void await_call_step() {
    if (modem_step == 0) {
        if (hung_up_first()) enable_connect_buttons(1);
        return;
    }
    if (!waiting) {
        add_modem_message("Awaiting phone call");
        auto_answer_on = true;
        checking = true;
        return send_command("ATS0=1\r", AWAIT_CALL_TIMEOUT);
    }
    const int reply = call_reply();
    if (reply == REPLY_CONNECT) return connected();
    if (reply == REPLY_NONE_YET) return;
    // Failed, or no call in the whole wait: the modem stops answering and the dialogue rests.
    give_up_call();
    hang_up = HangUp{2};
    begin(MODEM_HANG_UP, 0);
}

void answer_step() {
    if (modem_step == 0) {
        if (hung_up_first()) enable_connect_buttons(1);
        return;
    }
    if (!waiting) {
        add_modem_message("Answering phone call");
        return send_command("ATA\r", CALL_TIMEOUT);
    }
    const int reply = call_reply();
    if (reply == REPLY_CONNECT) return connected();
    if (reply == REPLY_NONE_YET) return;
    give_up_call();
    begin(MODEM_IDLE, 0);
}

void dial_step() {
    if (modem_step == 0) {
        if (hung_up_first()) {
            release_dial_button();
            enable_connect_buttons(1);
        }
        return;
    }
    if (!waiting) {
        const char* number = two_player_phone_number();
        if (!*number) {
            release_dial_button();
            give_up_call();
            return begin(MODEM_IDLE, 0);
        }
        add_modem_message("Dialing phone number");
        char command[MODEM_COMMAND_SIZE + 8];
        std::snprintf(command, sizeof command, phone_type ? "ATDP %s\r" : "ATDT %s\r", number);
        return send_command(command, CALL_TIMEOUT);
    }
    const int reply = call_reply();
    if (reply == REPLY_NONE_YET) return;
    if (reply == REPLY_CONNECT) {
        show_start_game_button();
        return connected();
    }
    release_dial_button();
    give_up_call();
    begin(MODEM_IDLE, 0);
}

void hang_up_step() {
    run_hang_up();
    if (!hang_up.done) return;
    release_hang_up_button();
    begin(MODEM_IDLE, 0);
}

void user_command_step() {
    if (!waiting) {
        char command[MODEM_COMMAND_SIZE + 2];
        std::snprintf(command, sizeof command, "%s\r", user_command);
        show_command(command);
        return send_command(command, CALL_TIMEOUT);
    }
    const int reply = read_modem_reply();
    if (reply == REPLY_NONE_YET) return;
    show_modem_reply(reply, reader.line(), false);
    release_modem_command();
    begin(MODEM_IDLE, 0);
}

bool modem_busy() { return modem_state == MODEM_INITIALISE || modem_state == MODEM_HANG_UP; }

// States 2, 3 and 4 hang up first when the modem was told something about calls before.
void start_call_state(int state, int mode) {
    const bool was_active = answer_mode != ANSWER_NONE;
    if (was_active) hang_up_modem(1, 0);
    enable_connect_buttons(0);
    answer_mode = mode;
    begin(state, was_active ? 0 : 1);
}

}  // namespace

void initialise_modem() {
    close_serial_port();
    open_serial_port(two_player_choices.com_port, two_player_choices.baud_rate, SERIAL_MODEM, two_player_choices.irq);
    commands = split_modem_profile(modem_type);
    add_modem_message("Initialise Modem");
    hang_up_modem(0, 0);
    auto_answer_on = false;  // the profile's own "ATS0=0" follows the hang-up
    begin(MODEM_INITIALISE, 0);
}

void hang_up_modem(int show, int start) {
    answer_mode = ANSWER_NONE;
    if (linked_game) enable_connect_buttons(1);
    linked_game = 0;
    hang_up = HangUp{};
    waiting = false;
    if (show) add_modem_message("Hangup Phone");
    if (start) begin(MODEM_HANG_UP, 0);
}

void step_modem_dialogue() {
    switch (modem_state) {
    case MODEM_INITIALISE: initialise_step(); break;
    case MODEM_AWAIT_CALL: await_call_step(); break;
    case MODEM_ANSWER: answer_step(); break;
    case MODEM_DIAL: dial_step(); break;
    case MODEM_HANG_UP: hang_up_step(); break;
    case MODEM_USER_COMMAND: user_command_step(); break;
    default: break;
    }
}

void dial_button(UiObject*, Event&) {
    if (modem_busy() || answer_mode == ANSWER_DIALLING || !*two_player_phone_number()) {
        if (answer_mode != ANSWER_DIALLING) release_dial_button();
        return;
    }
    start_call_state(MODEM_DIAL, ANSWER_DIALLING);
}

void hang_up_button(UiObject*, Event&) {
    if (modem_busy()) return release_hang_up_button();
    enable_connect_buttons(1);
    hang_up_modem(1, 1);
}

void modem_answer_button(UiObject*, Event&) {
    if (modem_busy() || answer_mode == ANSWER_DIALLING) return;
    if (answer_mode == ANSWER_AUTO) {
        show_answer_mode("Manual Answer");
        start_call_state(MODEM_ANSWER, ANSWER_MANUAL);
    } else {
        show_answer_mode("Auto Answer");
        start_call_state(MODEM_AWAIT_CALL, ANSWER_AUTO);
    }
}

void send_modem_command(const char* command) {
    std::snprintf(user_command, sizeof user_command, "%s", command);
    begin(MODEM_USER_COMMAND, 0);
}

void run_modem_state() {
    for (;;) {
        if (two_player_connect_type != CONNECT_MODEM && modem_state == MODEM_IDLE) {
            sleep_thread(IDLE_SLEEP);
            continue;
        }
        if (modem_state == MODEM_EXCHANGE)
            exchange_menu_data();
        else if (modem_state >= MODEM_INITIALISE && modem_state < MODEM_EXCHANGE)
            step_modem_dialogue();
        else if (modem_state != MODEM_IDLE)
            report_fatal_error("Invalid Modem Message Type", SOURCE_PATH, __LINE__);
        // The dialogue polls the port: time must pass between its polls under either clock.
        if (modem_state >= MODEM_INITIALISE && modem_state < MODEM_EXCHANGE)
            yield_on_link();
        else
            yield_thread();
    }
}

void start_modem_thread() {
    if (!thread_made) {
        set_thread_priority_by_id(create_thread("Tx Rx Modem Messages", run_modem_state), 1000);
        thread_made = true;
    }
    add_exit_handler(close_link);
}

void yield_on_link() {
    const int before = read_clock();
    yield_thread();
    if (read_clock() == before) wait_after_empty_poll();
}

void reset_link() {
    enable_connect_buttons(1);
    hang_up_modem(0, 0);
    linked_game = 0;
    modem_state = MODEM_IDLE;
    // A cable has no CONNECT to show "Start Game" again: without it the player could not retry.
    if (two_player_connect_type == CONNECT_DIRECT) show_start_game_button();
}

int check_carrier() {
    if (is_link_up()) return 1;
    add_modem_message("NO CARRIER");
    add_modem_message("Data link lost - Resetting modem");
    reset_link();
    return 0;
}

void show_link_end_reason() {
    set_normal_secure_timeout();
    if (link_end_reason == 7)
        add_modem_message("NO CARRIER");
    else if (link_end_reason == 5 || link_end_reason == 6)
        add_modem_message(" ");
    else
        return;
    link_end_reason = 0;
    add_modem_message("Data link lost - Resetting modem");
    reset_link();
}

void close_link() {
    if (two_player_connect_type == CONNECT_MODEM && linked_game) {
        hang_up_modem(0, 1);
        const int start = read_clock();
        while (modem_state == MODEM_HANG_UP && read_clock() - start < CLOSE_WAIT) yield_on_link();
    }
    close_serial_port();
}

}  // namespace vyr
