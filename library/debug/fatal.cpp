#include "library/debug/fatal.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "library/system/exit.h"
#include "library/system/timer.h"
#include "platform/window/window.h"

namespace vyr {

char debug_text[DEBUG_TEXT_SIZE];
std::atomic<int> fatal_error_raised{0};

namespace {

std::atomic<int> debug_text_enabled{0};
// The timer thread never reports, but two game-side threads may race at start-up and shut-down.
std::recursive_mutex debug_text_mutex;

void show_fatal_text() {
    std::fprintf(stderr, "%s\n", debug_text);
    std::fflush(stderr);
    if (platform::Window* w = platform::window()) w->message_box("Fatal Error", debug_text);
}

}  // namespace

void init_debug_text() { debug_text_enabled.store(1); }

void append_debug_text(const char* text) {
    std::lock_guard lock(debug_text_mutex);
    size_t used = std::strlen(debug_text);
    size_t added = std::strlen(text);
    if (used + added + 2 > DEBUG_TEXT_SIZE) return;
    std::memcpy(debug_text + used, text, added + 1);
}

void append_debug_time() {
    int t = read_clock();
    char text[32];
    std::snprintf(text, sizeof text, " @ %d.%02d", t / CLOCK_RATE, (t % CLOCK_RATE) * 100 / CLOCK_RATE);
    append_debug_text(text);
}

// There is no debug monitor to hand the text to.
void flush_debug_text() { watch_debug_value(debug_text, 0, nullptr); }

int watch_debug_value(const char*, int, const void*) { return 1; }

void select_debug_page(int) {}

void report_fatal_error(const char* format, const char* source_path, int line, ...) {
    {
        std::lock_guard lock(debug_text_mutex);
        debug_text[0] = '\0';
        append_debug_text("FATAL *** ");
        // Leave room for the place and the time, so a long message is cut rather than lost.
        char message[DEBUG_TEXT_SIZE - 256];
        va_list values;
        va_start(values, line);
        std::vsnprintf(message, sizeof message, format, values);
        va_end(values);
        append_debug_text(message);
        char place[DEBUG_TEXT_SIZE];
        std::snprintf(place, sizeof place, " (%s:%d)", source_path, line);
        append_debug_text(place);
        append_debug_time();
        flush_debug_text();
    }
    if (shutting_down.load()) return;
    fatal_error_raised.store(1);
    show_fatal_text();
    // Before the library start-up has run there is nothing sound to close down in order.
    end_process(debug_text_enabled.load() ? 10 : 255);
}

}  // namespace vyr
