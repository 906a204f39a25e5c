#include "platform/timer/timer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

namespace vyr::platform {

namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr auto PERIOD = std::chrono::milliseconds(10);

std::atomic<int> mode_read{-1};  // -1 until first read, else a ClockMode
std::atomic<TickFunction> tick_function{nullptr};
std::atomic<PeriodListener> period_listener{nullptr};
std::atomic<uint64_t> periods{0};
std::atomic<int64_t> period_start_ns{0};  // steady-clock time of the current period's start

std::mutex timer_mutex;
std::condition_variable timer_stop_cv;
bool stop_requested = false;
std::thread timer_thread;
std::atomic<bool> running{false};
// Serialises periods run by advance_virtual_clock from different threads.
std::mutex virtual_mutex;
// Real links holding the virtual clock to real time, and when and at which period the first
// opened; guarded by virtual_mutex.
int real_time_holds = 0;
int64_t hold_start_ns = 0;
uint64_t hold_start_period = 0;

int64_t now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               SteadyClock::now().time_since_epoch())
        .count();
}

void run_one_period() {
    uint64_t period = periods.fetch_add(1, std::memory_order_acq_rel) + 1;
    period_start_ns.store(now_ns(), std::memory_order_release);
    if (TickFunction tick = tick_function.load(std::memory_order_acquire)) tick();
    if (PeriodListener listener = period_listener.load(std::memory_order_acquire)) listener(period);
}

void timer_thread_main() {
    auto next = SteadyClock::now() + PERIOD;
    std::unique_lock lock(timer_mutex);
    for (;;) {
        if (timer_stop_cv.wait_until(lock, next, [] { return stop_requested; })) return;
        lock.unlock();
        run_one_period();
        lock.lock();
        next += PERIOD;
        // After a long stall (debugger, suspended process) do not fire a burst of catch-up ticks.
        if (SteadyClock::now() > next + 10 * PERIOD) next = SteadyClock::now() + PERIOD;
    }
}

}  // namespace

ClockMode clock_mode() {
    int mode = mode_read.load(std::memory_order_acquire);
    if (mode < 0) {
        const char* value = std::getenv("VYR_CLOCK");
        mode = (value && std::strcmp(value, "virtual") == 0) ? int(ClockMode::VIRTUAL)
                                                             : int(ClockMode::REAL);
        mode_read.store(mode, std::memory_order_release);
    }
    return ClockMode(mode);
}

void set_clock_mode(ClockMode mode) { mode_read.store(int(mode), std::memory_order_release); }

bool start_periodic_timer(TickFunction tick) {
    std::lock_guard lock(timer_mutex);
    if (running.load()) return false;
    tick_function.store(tick, std::memory_order_release);
    periods.store(0);
    period_start_ns.store(now_ns());
    running.store(true);
    if (clock_mode() == ClockMode::REAL) {
        stop_requested = false;
        timer_thread = std::thread(timer_thread_main);
    }
    return true;
}

void stop_periodic_timer() {
    std::thread finished;
    {
        std::lock_guard lock(timer_mutex);
        if (!running.load()) return;
        running.store(false);
        tick_function.store(nullptr, std::memory_order_release);
        stop_requested = true;
        finished = std::move(timer_thread);
    }
    timer_stop_cv.notify_all();
    // The tick function may itself stop the timer (from the timer thread): never join oneself.
    if (finished.joinable()) {
        if (finished.get_id() == std::this_thread::get_id())
            finished.detach();
        else
            finished.join();
    }
}

bool periodic_timer_running() { return running.load(std::memory_order_acquire); }

uint64_t timer_periods() { return periods.load(std::memory_order_acquire); }

bool in_second_half_of_period() {
    if (clock_mode() == ClockMode::VIRTUAL) return false;
    int64_t elapsed = now_ns() - period_start_ns.load(std::memory_order_acquire);
    return elapsed >= 5'000'000;
}

void advance_virtual_clock(int count) {
    if (clock_mode() != ClockMode::VIRTUAL) return;
    std::lock_guard lock(virtual_mutex);
    for (int i = 0; i < count && running.load(std::memory_order_acquire); ++i) {
        if (real_time_holds > 0) {
            uint64_t period = periods.load(std::memory_order_acquire);
            if (period < hold_start_period) {  // the timer restarted its count under the hold
                hold_start_period = period;
                hold_start_ns = now_ns();
            }
            uint64_t due = period + 1 - hold_start_period;
            int64_t wait_ns = hold_start_ns + int64_t(due) * 10'000'000 - now_ns();
            if (wait_ns > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(wait_ns));
        }
        run_one_period();
    }
}

void hold_to_real_time(bool hold) {
    std::lock_guard lock(virtual_mutex);
    if (!hold) {
        if (real_time_holds > 0) --real_time_holds;
        return;
    }
    if (real_time_holds++ > 0) return;
    hold_start_ns = now_ns();
    hold_start_period = periods.load(std::memory_order_acquire);
}

void wait_periods(int count) {
    if (count <= 0) return;
    if (clock_mode() == ClockMode::VIRTUAL)
        advance_virtual_clock(count);
    else
        std::this_thread::sleep_for(count * PERIOD);
}

PeriodListener set_period_listener(PeriodListener listener) {
    return period_listener.exchange(listener, std::memory_order_acq_rel);
}

}  // namespace vyr::platform
