#include "platform/display/vblank.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "platform/timer/timer.h"

namespace vyr::platform {

void wait_for_vertical_blank() {
    if (clock_mode() == ClockMode::VIRTUAL) {
        wait_periods(2);
        return;
    }
    // The blanks fall on a fixed 60 Hz grid from the first wait on, like a real display's.
    using Clock = std::chrono::steady_clock;
    constexpr auto FRAME = std::chrono::nanoseconds(1'000'000'000 / 60);
    static std::mutex grid_mutex;
    static Clock::time_point grid_origin = Clock::now();
    Clock::time_point next;
    {
        std::lock_guard lock(grid_mutex);
        auto now = Clock::now();
        next = grid_origin + ((now - grid_origin) / FRAME + 1) * FRAME;
    }
    std::this_thread::sleep_until(next);
}

}  // namespace vyr::platform
