#include "platform/window/script.h"

#include <gtest/gtest.h>

namespace vyr::platform {
namespace {

TEST(Script, ReadsEveryKindOfLine) {
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(parse_script("# a comment\n"
                             "100 key 0x1c down\r\n"
                             "\n"
                             "101 key 0xe048 up\n"
                             "0120 move 0320 0090\n"
                             "140 click 10 20\n"
                             "141 rclick 1 2\n"
                             "300 capture menu.ppm\n"
                             "302 record 40 frames.ppm\n"
                             "305 digest run.txt\n"
                             "310 focus lost\n"
                             "320 focus gained\n"
                             "900 quit\n",
                             events, error))
        << error;
    ASSERT_EQ(events.size(), 11u);
    EXPECT_EQ(events[0].time, 100u);
    EXPECT_EQ(events[0].kind, ScriptEvent::KEY);
    EXPECT_EQ(events[0].code, 0x1c);
    EXPECT_TRUE(events[0].down);
    EXPECT_FALSE(events[0].extended);
    EXPECT_EQ(events[1].code, 0x48);
    EXPECT_TRUE(events[1].extended);
    EXPECT_FALSE(events[1].down);
    EXPECT_EQ(events[2].kind, ScriptEvent::MOVE);
    EXPECT_EQ(events[2].time, 120u);  // zero-padded numbers are decimal, not octal
    EXPECT_EQ(events[2].x, 320);
    EXPECT_EQ(events[2].y, 90);
    EXPECT_EQ(events[3].kind, ScriptEvent::CLICK);
    EXPECT_EQ(events[3].x, 10);
    EXPECT_EQ(events[3].y, 20);
    EXPECT_EQ(events[4].kind, ScriptEvent::RIGHT_CLICK);
    EXPECT_EQ(events[5].path, "menu.ppm");
    EXPECT_EQ(events[6].kind, ScriptEvent::RECORD);
    EXPECT_EQ(events[6].x, 40);
    EXPECT_EQ(events[6].path, "frames.ppm");
    EXPECT_EQ(events[7].kind, ScriptEvent::DIGEST);
    EXPECT_EQ(events[7].path, "run.txt");
    EXPECT_EQ(events[8].code, 0);
    EXPECT_EQ(events[9].code, 1);
    EXPECT_EQ(events[10].kind, ScriptEvent::QUIT);
}

TEST(Script, ReadsTheHeldPressItsReleaseAndTheDoubleClick) {
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(parse_script("10 press 1 2\n20 move 3 4\n30 release 5 6\n40 dclick 7 8\n", events, error)) << error;
    const ScriptEvent::Kind kinds[] = {ScriptEvent::PRESS, ScriptEvent::MOVE, ScriptEvent::RELEASE,
                                       ScriptEvent::DOUBLE_CLICK};
    ASSERT_EQ(events.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(events[i].kind, kinds[i]) << i;
        EXPECT_EQ(events[i].x, 1 + 2 * i) << i;
        EXPECT_EQ(events[i].y, 2 + 2 * i) << i;
    }
    EXPECT_FALSE(parse_script("10 press 1\n", events, error)) << "a press needs its place";
}

TEST(Script, ReadsTheJoysticksLines) {
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_FALSE(uses_joystick(events));
    ASSERT_TRUE(parse_script("10 joy axis 3 -32768\n11 joy axis 0 32767\n12 joy button 2 down\n13 joy button 0 up\n"
                             "14 joy hat left\n15 joy hat centre\n",
                             events, error))
        << error;
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].kind, ScriptEvent::JOY_AXIS);
    EXPECT_EQ(events[0].code, 3);
    EXPECT_EQ(events[0].x, -32768);
    EXPECT_EQ(events[1].x, 32767);
    EXPECT_EQ(events[2].kind, ScriptEvent::JOY_BUTTON);
    EXPECT_EQ(events[2].code, 2);
    EXPECT_TRUE(events[2].down);
    EXPECT_FALSE(events[3].down);
    EXPECT_EQ(events[4].kind, ScriptEvent::JOY_HAT);
    EXPECT_EQ(events[4].x, 4);
    EXPECT_EQ(events[5].x, 0);
    EXPECT_TRUE(uses_joystick(events));
    for (const char* bad : {"10 joy axis 4 0\n", "10 joy axis 0 32768\n", "10 joy button 1 pressed\n",
                            "10 joy hat diagonal\n", "10 joy\n", "10 joy axis 0\n"})
        EXPECT_FALSE(parse_script(bad, events, error)) << bad;
}

TEST(Script, NamesTheBadLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"10 quit\nfoo key 1 down\n", "line 2: cannot read: foo key 1 down"},
        {"10 key 0x80 down\n", "line 1: cannot read"},       // not a set-1 make code
        {"10 key 0x1c sideways\n", "line 1: cannot read"},
        {"10 key 0x1c down extra\n", "line 1: cannot read"},
        {"10 click 5\n", "line 1: cannot read"},
        {"10 click -5 5\n", "line 1: cannot read"},
        {"10 capture\n", "line 1: cannot read"},
        {"10 digest\n", "line 1: cannot read"},
        {"10 record 0 f.ppm\n", "line 1: cannot read"},
        {"10 record f.ppm\n", "line 1: cannot read"},
        {"10 focus maybe\n", "line 1: cannot read"},
        {"-1 quit\n", "line 1: cannot read"},
        {"10 explode\n", "line 1: cannot read"},
        {"20 quit\n10 quit\n", "line 2: time goes backwards"},
    };
    for (const auto& c : cases) {
        std::vector<ScriptEvent> events;
        std::string error;
        EXPECT_FALSE(parse_script(c.text, events, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave " << error;
    }
}

}  // namespace
}  // namespace vyr::platform
