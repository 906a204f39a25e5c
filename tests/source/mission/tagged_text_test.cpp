#include "source/mission/tagged_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vyr {
namespace {

std::vector<std::string> split(std::string text) {
    std::vector<std::string> lines;
    parse_tagged_lines("test", text.data(), text.size(),
                       [](char* line, void* context) { static_cast<std::vector<std::string>*>(context)->push_back(line); },
                       &lines);
    return lines;
}

TEST(TaggedLines, SplitAsTheGameAlwaysHas) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"one\ntwo\n", {"one", "two"}},
        {"one\ntwo", {"one"}},                 // a last line without a line feed is dropped
        {"one\r\ntwo\r\n", {"one", "two"}},    // carriage returns end the visible line
        {"one\rskipped\n", {"one"}},           // and what follows them up to the line feed goes
        {"\n\n\tone\t two\n\n", {" one  two"}},  // tabs are blanks; empty lines are skipped
        {"", {}},
        {"last\r", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(split(c.text), c.lines) << c.text;
}

TEST(TaggedLines, TagNamesAreComparedUpperCasedWithTrailingBlanksCut) {
    struct Case {
        const char* line;
        int id;
    };
    const Case cases[] = {
        {":title  ", TAG_TITLE},         {":Humans loaded count", TAG_HUMANS_LOADED_COUNT},
        {": TITLE", TAG_UNKNOWN},        {":Objects for Z", TAG_OBJECTS_FOR_Z},
        {":no such tag", TAG_UNKNOWN},   {":Hit Extra", TAG_HIT_EXTRA},
        {":UNKNOWN", TAG_UNKNOWN},       {":Drone unarmed", TAG_DRONE_UNARMED},
    };
    for (const Case& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(find_mission_tag(line.data()), c.id) << c.line;
    }
    EXPECT_TRUE(is_tag_line(":Title"));
    EXPECT_FALSE(is_tag_line("::Title"));
}

}  // namespace
}  // namespace vyr
