#include "library/debug/notice.h"

#include <cstdarg>
#include <cstdio>

#include "platform/window/window.h"

namespace vyr {

void show_notice(const char* format, ...) {
    char text[512];
    va_list values;
    va_start(values, format);
    std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    std::fprintf(stderr, "vyr: %s\n", text);
    std::fflush(stderr);
    if (platform::Window* w = platform::window()) w->message_box("Vyr", text);
}

}  // namespace vyr
