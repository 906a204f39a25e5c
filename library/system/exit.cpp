#include "library/system/exit.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

#include "library/system/winmain.h"

namespace vyr {

std::atomic<int> shutting_down{0};

namespace {

std::mutex handlers_mutex;
std::vector<ExitFunction> exit_handlers;  // oldest first; run from the back

std::vector<ExitFunction> take_handlers() {
    std::lock_guard lock(handlers_mutex);
    return std::exchange(exit_handlers, {});
}

}  // namespace

void add_exit_handler(ExitFunction function) {
    std::lock_guard lock(handlers_mutex);
    exit_handlers.push_back(function);
}

void run_exit_handlers() {
    if (shutting_down.exchange(1)) return;
    // Handlers may register more handlers; those run after the current list.
    for (auto list = take_handlers(); !list.empty(); list = take_handlers())
        for (auto it = list.rbegin(); it != list.rend(); ++it) (*it)();
}

void end_process(int code) {
    run_exit_handlers();
    release_main_window();
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace vyr
