// The 10 ms tick and the program clock in units of 1/200 s.
#pragma once

#include <atomic>

namespace vyr {

constexpr int CLOCK_RATE = 200;  // clock units a second; two per 10 ms tick

// 10 ms ticks counted while the program is active.
extern std::atomic<int> tick_count;

// Starts the 10 ms timer (1 on success); its ticks count only while `app_active` is set.
int start_timer();
void stop_timer();

// 2 x tick_count, plus 1 in the second half of the current tick.
int read_clock();
// 2 x tick_count.
int read_coarse_clock();
// Clock units since the previous call, 1 to 200.
int get_frame_time();
// Waits, a period at a time, until more than `units` clock units have passed.
void wait_clock(int units);

// The work of one tick; the timer runs it every 10 ms.
void on_timer_tick();

}  // namespace vyr
