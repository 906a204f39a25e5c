#include <gtest/gtest.h>

#include <sstream>

#include "platform/window/window.h"

namespace vyr::platform {
namespace {

TEST(WrapText, BreaksAtSpacesWithinTheWidth) {
    const struct {
        const char* text;
        size_t width;
        const char* wrapped;
    } cases[] = {
        {"short", 10, "short"},
        {"one two three", 7, "one two\nthree"},
        {"one two three", 8, "one two\nthree"},
        {"abcdefghij kl", 4, "abcd\nefgh\nij\nkl"},  // a word longer than a line is cut
        {"first\nsecond line here", 8, "first\nsecond\nline\nhere"},
        {"", 5, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(wrap_text(c.text, c.width), c.wrapped) << c.text;
}

TEST(WrapText, AFatalMessageKeepsEveryWordAndFitsItsLines) {
    std::string text = "FATAL *** Cannot find the data directory: no vyr.rop in /home/player/games/vyr/data, "
                       "/usr/local/share/vyr, /usr/share/vyr. Set VYR_DATA to it (library/os/file.cpp:181) @ 0.02";
    std::string wrapped = wrap_text(text, 40);
    std::istringstream lines(wrapped);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 40u) << line;
    std::string joined = wrapped;
    for (char& c : joined)
        if (c == '\n') c = ' ';
    EXPECT_EQ(joined, text);
}

}  // namespace
}  // namespace vyr::platform
