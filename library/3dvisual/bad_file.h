// How the world's loaders leave a file they find bad: `fail` throws the text, and the loader
// catches it once, clears what it had set up and raises the fatal error with it.
#pragma once

#include <string>

namespace vyr {

struct BadFile {
    std::string text;
};

[[noreturn]] void fail(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vyr
