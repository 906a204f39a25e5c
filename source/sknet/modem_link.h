// The modem dialogue thread "Tx Rx Modem Messages" and the link's life on the two-player screen:
// the modem's states (initialise, await a call, answer, dial, hang up, a typed command) and the
// set-up exchange run on it, and a lost link is reported and reset here.
#pragma once

#include <cstdint>

#include "library/system/event.h"

namespace vyr {

struct UiObject;

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

// The screen's answer mode: what the modem was last told to do about calls.
enum AnswerMode : int32_t { ANSWER_NONE = 0, ANSWER_AUTO = 1, ANSWER_MANUAL = 2, ANSWER_DIALLING = 3 };
extern int32_t answer_mode;

// Reply time-outs, in 1/200 s.
constexpr int HANG_UP_GUARD = 240;
constexpr int INITIALISE_TIMEOUT = 2000;
constexpr int AWAIT_CALL_TIMEOUT = 60000;
constexpr int CALL_TIMEOUT = 18000;
constexpr int HANG_UP_ATTEMPTS = 3;

// Why the last linked flight ended: 5 and 6 a lost link, 7 the modem's carrier gone; 0 none.
extern int32_t link_end_reason;

// Opens the port as a modem on the screen's port, rate and line, takes the chosen profile's
// commands and starts initialising, after a hang-up.
void initialise_modem();
// Answer mode off, the link flags cleared; "Hangup Phone" when `show`; the hang-up state when
// `start`.
void hang_up_modem(int show, int start);
// One step of the dialogue in states 1..6.
void step_modem_dialogue();
// The screen's buttons: dial, hang up, the answer row, and a typed command sent.
void dial_button(UiObject* object, Event& event);
void hang_up_button(UiObject* object, Event& event);
void modem_answer_button(UiObject* object, Event& event);
void send_modem_command(const char* command);

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
