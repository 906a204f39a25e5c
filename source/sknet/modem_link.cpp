#include "source/sknet/modem_link.h"

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
int32_t link_end_reason = 0;

namespace {
constexpr const char* SOURCE_PATH = "sknet/modem_link.cpp";
constexpr int IDLE_SLEEP = 100;
constexpr int CLOSE_WAIT = 2000;
bool thread_made = false;
}  // namespace

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
