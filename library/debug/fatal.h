// Fatal errors, the debug text they are built in, and the debug monitor's entry points.
#pragma once

#include <atomic>

namespace vyr {

constexpr int DEBUG_TEXT_SIZE = 1024;

extern char debug_text[DEBUG_TEXT_SIZE];
// Set just before the fatal message is shown; the scheduler hands over no more once it is set.
extern std::atomic<int> fatal_error_raised;

// Ends the program with exit code 10 after showing "FATAL *** <message> (<path>:<line>) @ s.hh"
// on stderr and in a message box. Before `init_debug_text` the box is empty and the code 255.
// Once shut-down has begun it only records the text and returns.
void report_fatal_error(const char* format, const char* source_path, int line, ...)
    __attribute__((format(printf, 1, 4)));

void init_debug_text();
// Appends when the text, the addition and 2 fit in the buffer; otherwise drops it whole.
void append_debug_text(const char* text);
// Appends " @ s.hh", the time since start.
void append_debug_time();
void flush_debug_text();

// The debug monitor keeps nothing in this program: both accept their arguments and return.
int watch_debug_value(const char* name, int kind, const void* address);
void select_debug_page(int page);

}  // namespace vyr
