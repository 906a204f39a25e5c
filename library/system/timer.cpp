#include "library/system/timer.h"


#include "library/system/event.h"
#include "library/system/exit.h"
#include "library/system/key.h"
#include "library/system/thread.h"
#include "library/system/winmain.h"
#include "platform/timer/timer.h"

namespace vyr {

std::atomic<int> tick_count{0};

namespace {

std::atomic<int> last_clock{0};  // keeps read_clock monotonic across the half-tick boundary
std::atomic<int> last_frame_clock{0};

}  // namespace

void on_timer_tick() {
    if (shutting_down.load()) {
        platform::stop_periodic_timer();
        return;
    }
    if (!app_active.load()) return;
    int ticks = tick_count.fetch_add(1) + 1;
    age_held_keys();
    post_input_event({EV_TIMER, 0, 0, 0, ticks});
    wake_idle_thread();  // sleepers may be due
}

int start_timer() { return platform::start_periodic_timer(on_timer_tick) ? 1 : 0; }

void stop_timer() { platform::stop_periodic_timer(); }

int read_clock() {
    // The period flips to its first half a moment before the tick lands, and keeps flipping
    // while the program is inactive: never let either show as the clock stepping back.
    int half = (app_active.load() && platform::in_second_half_of_period()) ? 1 : 0;
    int now = 2 * tick_count.load() + half;
    int last = last_clock.load();
    while (now > last && !last_clock.compare_exchange_weak(last, now)) {
    }
    return now > last ? now : last;
}

int read_coarse_clock() { return 2 * tick_count.load(); }

int get_frame_time() {
    int now = read_clock();
    int elapsed = now - last_frame_clock.exchange(now);
    if (elapsed < 1) return 1;
    if (elapsed > CLOCK_RATE) return CLOCK_RATE;
    return elapsed;
}

void wait_clock(int units) {
    int start = read_clock();
    while (read_clock() - start <= units) platform::wait_periods(1);
}

}  // namespace vyr
