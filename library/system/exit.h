// Exit handlers and the end of the process.
#pragma once

#include <atomic>

namespace vyr {

using ExitFunction = void (*)();

// Set when the exit handlers start running; never cleared.
extern std::atomic<int> shutting_down;

// Registers a function to run once at the end of the program, newest first.
void add_exit_handler(ExitFunction function);
// Runs every registered handler once, newest first, then any registered while they ran.
void run_exit_handlers();
// Runs the exit handlers, has the window thread give back sound and the window, flushes the
// standard streams and ends the process with `code`. Never returns.
[[noreturn]] void end_process(int code);

}  // namespace vyr
