// The modem dialogue thread "Tx Rx Modem Messages" and the link's life on the two-player screen:
// the set-up exchange runs on it, and a lost link is reported and reset here.
#pragma once

#include <cstdint>

namespace vyr {

enum ModemState : int32_t {
    MODEM_IDLE = 0,
    MODEM_INITIALISE = 1,
    MODEM_AWAIT_CALL = 2,
    MODEM_ANSWER = 3,
    MODEM_DIAL = 4,
    MODEM_HANG_UP = 5,
    MODEM_USER_COMMAND = 6,
    MODEM_EXCHANGE = 7,
};
extern int32_t modem_state;

// Why the last linked flight ended: 5 and 6 a lost link, 7 the modem's carrier gone; 0 none.
extern int32_t link_end_reason;

// Makes the thread the first time; every call registers close_link as an exit handler.
void start_modem_thread();
// The thread's procedure: one step of the current state per turn.
void run_modem_state();
// Lets the other threads run once; when none of them moved time, a period passes here.
void yield_on_link();
// Connect buttons on again, the modem hung up, the link given up.
void reset_link();
// 1 while the link is up; otherwise reports "NO CARRIER", resets the link and answers 0.
int check_carrier();
// At exit: a connected modem is hung up, the port closed.
void close_link();

}  // namespace vyr
