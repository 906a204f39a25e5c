// What the receivers take from the system library, for a process that runs no threads or timer:
// a fatal error is a crash the fuzzer reports.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "library/debug/fatal.h"
#include "library/system/event.h"
#include "library/system/thread.h"
#include "library/system/timer.h"

namespace vyr {

void report_fatal_error(const char* format, const char* source_path, int line, ...) {
    va_list arguments;
    va_start(arguments, line);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, " (%s:%d)\n", source_path, line);
    std::abort();
}
// Time moves only as a receiver waits, a period at a time: a silent line times out at once.
namespace {
int clock_units = 0;
}  // namespace
int read_clock() { return clock_units; }
void yield_thread() {}
void wait_after_empty_poll() { clock_units += 2; }

}  // namespace vyr
