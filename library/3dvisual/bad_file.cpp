#include "library/3dvisual/bad_file.h"

#include <cstdarg>
#include <cstdio>

namespace vyr {

void fail(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    throw BadFile{text};
}

}  // namespace vyr
