// The 10 ms periodic timer and the clock source behind it.
//
// In the real mode a thread of its own calls the tick function every 10 ms. In the virtual mode
// time never moves by itself: whoever would otherwise wait advances it, period by period, so a
// scripted run is reproducible to the tick and runs as fast as the machine allows.
#pragma once

#include <cstdint>

namespace vyr::platform {

enum class ClockMode { REAL, VIRTUAL };

using TickFunction = void (*)();

// The mode is read once from VYR_CLOCK ("real" or "virtual"; real when unset). Tests may set it
// before the timer starts.
ClockMode clock_mode();
void set_clock_mode(ClockMode mode);

// Starts calling `tick` once per 10 ms period; false when a timer already runs.
bool start_periodic_timer(TickFunction tick);
// Stops the timer; the tick function is not called again once this returns.
void stop_periodic_timer();
bool periodic_timer_running();

// Periods elapsed since the timer started, whether or not the tick function did anything.
uint64_t timer_periods();

// True during the second 5 ms half of the current period (virtual clock: never).
bool in_second_half_of_period();

// Virtual clock: runs `periods` periods now, on the calling thread. Real clock: does nothing.
void advance_virtual_clock(int periods);

// While a link to another machine is open (true once per open, false once per close; they nest),
// a virtual period never runs ahead of the real time since the first opened, so that two processes keep time alike and a
// silent peer still times out.
void hold_to_real_time(bool hold);

// The one way to wait: `periods` periods pass, slept through under the real clock and run now,
// on the calling thread, under the virtual one.
void wait_periods(int periods);

// Called after every period, after the tick function, on the thread that ran the period. Setting
// one answers the listener it replaces, so that a watcher can pass each period on to it.
using PeriodListener = void (*)(uint64_t period);
PeriodListener set_period_listener(PeriodListener listener);

}  // namespace vyr::platform
