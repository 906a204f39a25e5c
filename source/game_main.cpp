#include "source/game_main.h"

#include <chrono>
#include <thread>

#include "library/system/event.h"
#include "library/system/exit.h"
#include "library/system/winmain.h"
#include "platform/timer/timer.h"

namespace vyr {

namespace {

constexpr int ESCAPE_KEY = 0x01;

}  // namespace

// A stand-in until the start-up sequence exists: show the display and wait for Esc or a quit.
int game_main(int, char**) {
    send_request(REQ_SET_VIDEO_MODE, 1);
    for (;;) {
        Event event;
        if (get_event(event)) {
            if (event.type == EV_KEY && event.value == ESCAPE_KEY) end_process(0);
        } else if (platform::clock_mode() == platform::ClockMode::VIRTUAL) {
            platform::advance_virtual_clock(1);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
}

}  // namespace vyr
