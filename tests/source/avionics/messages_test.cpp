#include "source/avionics/messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/graphics/screen.h"
#include "source/avionics/failures.h"
#include "source/avionics/panel_art.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/mission/quick_start.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapon_info.h"

namespace vyr {
namespace {

class MessageArea : public ::testing::Test {
protected:
    void SetUp() override {
        system_failures = {};
        set_game_flow(FLOW_SINGLE_MISSION);
        user_drone = nullptr;
        frame_seconds = 0.05;
        init_message_area();
    }
    void TearDown() override {
        system_failures = {};
        set_game_flow(FLOW_NONE);
        init_message_area();
    }
    static std::string line(int i) { return message_lines[i]; }
    // One cockpit frame: the lines filled, then a tick's ageing.
    static void frame() {
        fill_message_lines();
        age_messages();
    }
    // Frames until line 1 no longer shows `text`.
    static int frames_shown(const char* text) {
        int frames = 0;
        for (fill_message_lines(); line(0) == text && frames < 10000; fill_message_lines()) {
            age_messages();
            ++frames;
        }
        return frames;
    }
};

TEST_F(MessageArea, TheHighestPrioritiesShowAndTheWaitingOneKeepsItsTime) {
    post_message("first two", 2, 200);
    post_message("four", 4, 200);
    post_message("second two", 2, 200);
    post_message("three", 3, 200);
    fill_message_lines();
    EXPECT_EQ(line(0), "four");
    EXPECT_EQ(line(1), "three");
    EXPECT_EQ(line(2), "first two");
    for (int i = 0; i < 20; ++i) frame();  // 200 ticks: the three shown expire together
    fill_message_lines();
    EXPECT_EQ(line(0), "second two");
    EXPECT_EQ(frames_shown("second two"), 20);  // it waited with its whole time
}

TEST_F(MessageArea, TheSeventeenthMessageIsDropped) {
    for (int i = 0; i < MESSAGE_NODES + 1; ++i) post_message(std::to_string(i).c_str(), i == MESSAGE_NODES ? 4 : 1, 200);
    fill_message_lines();
    EXPECT_EQ(line(0), "0");  // the priority-4 one never arrived
    static const char pull_up[] = "PULL UP PULL UP";
    add_persistent_message(pull_up, 4);  // nor does a persistent one
    fill_message_lines();
    EXPECT_EQ(line(0), "0");
}

TEST_F(MessageArea, AMessageAgesByTheFrameTimeInTicksAtLeastOne) {
    struct Case {
        double seconds;
        int frames;
    };
    for (const Case c : {Case{0.05, 40}, {0.0075, 400}, {0.004, 400}, {0.5, 4}}) {
        init_message_area();
        frame_seconds = c.seconds;
        post_message("gear down", 2, 400);
        EXPECT_EQ(frames_shown("gear down"), c.frames) << c.seconds;
    }
}

TEST_F(MessageArea, AMessageNotOnTheDisplayDoesNotAge) {
    post_message("Fuel Low", 3, 400);
    for (int i = 0; i < 100; ++i) age_messages();  // never filled: not shown
    set_failure(FAIL_DATA_DISPLAY);
    for (int i = 0; i < 100; ++i) frame();
    EXPECT_EQ(line(0).size(), size_t(MESSAGE_LINE_LENGTH));
    EXPECT_NE(line(0), "Fuel Low");
    for (char c : line(0) + line(1) + line(2)) EXPECT_TRUE(c >= ' ' && c <= 'Z') << int(c);
    clear_failure(FAIL_DATA_DISPLAY);
    EXPECT_EQ(frames_shown("Fuel Low"), 40);
}

TEST_F(MessageArea, APersistentMessageShowsOnceUntilAnEqualTextRemovesIt) {
    static const char warning[] = "PULL UP PULL UP";
    const std::string copy = warning;
    add_persistent_message(warning, 4);
    add_persistent_message(copy.c_str(), 4);
    post_message("gear down", 2, 200);
    for (int i = 0; i < 1000; ++i) frame();  // persistent messages never expire
    EXPECT_EQ(line(0), warning);
    EXPECT_EQ(line(1), std::string(MESSAGE_LINE_LENGTH, ' '));
    remove_persistent_message(copy.c_str());
    fill_message_lines();
    EXPECT_NE(line(0), warning);
    remove_persistent_message(warning);  // nothing left to remove
}

TEST_F(MessageArea, QuickStartShowsTheScoreAndTheWeaponWhenNoMessageIsUp) {
    set_game_flow(FLOW_QUICK_START);
    quick_start_score = 1234;
    const int32_t kept = selected_weapon;
    selected_weapon = WEAPON_AIM_9M;
    fill_message_lines();
    EXPECT_EQ(line(0), " --QUICKSTART--");
    EXPECT_EQ(line(1), "SCORE:       1234");
    EXPECT_EQ(line(2), std::string("WPN:") + std::string(13 - std::string(weapon_names[WEAPON_AIM_9M]).size(), ' ') +
                           weapon_names[WEAPON_AIM_9M]);
    quick_start_score = 1234567890;  // ten digits keep one space, eleven characters none
    fill_message_lines();
    EXPECT_EQ(line(1), "SCORE: 1234567890");
    quick_start_score = -1234567890;
    fill_message_lines();
    EXPECT_EQ(line(1), "SCORE:-1234567890");
    selected_weapon = kept;
    reset_quick_start_score();
}

TEST_F(MessageArea, OutsideQuickStartTheStatusLineNamesSteerpointAndLandingAid) {
    fill_message_lines();
    EXPECT_EQ(line(0), std::string(MESSAGE_LINE_LENGTH, ' '));  // no steerpoint
    EXPECT_EQ(line(1), "NO ILS   000.0 00");
}

TEST_F(MessageArea, DrawingWritesTheLinesInUpperCase) {
    Screen* screen = create_screen(1280, 580);
    select_screen(screen);
    clear_screen(0);
    post_message("gear down", 2, 200);
    view_mode = VIEW_COCKPIT;
    draw_message_area();
    EXPECT_EQ(line(0), "GEAR DOWN");
    int inked = 0;
    for (int y = 0; y < 580; ++y)
        for (int x = 0; x < 1280; ++x) {
            const uint8_t pixel = screen->pixels[y * (screen->width + screen->row_pad) + x];
            if (!pixel) continue;
            EXPECT_EQ(pixel, 222);
            EXPECT_TRUE(x >= 737 && x <= 838 && y >= 233 && y <= 263) << x << "," << y;
            ++inked;
        }
    EXPECT_GT(inked, 30);
    select_screen(nullptr);
    destroy_screen(screen);
}

// The panel keeps what was drawn on it, so each frame's lines go over the display's background
// afresh: a shorter line leaves nothing of a longer one behind.
TEST_F(MessageArea, EachFrameDrawsOverTheDisplaysBackground) {
    Screen* screen = create_screen(1280, 580);
    select_screen(screen);
    clear_screen(0);
    std::vector<uint8_t> background(102 * 31, 5);
    PanelPicture& display = cockpit_art[ART_DATA_DISPLAY];
    const PanelPicture kept = display;
    display = {737, 233, 102, 31, 31, background.data()};
    view_mode = VIEW_COCKPIT;
    post_message("wwwwwwwwwwwwwwwww", 2, 200);
    draw_message_area();
    init_message_area();
    post_message("i", 2, 200);
    draw_message_area();
    int ink_beyond_the_i = 0, background_left = 0;
    for (int y = 233; y <= 263; ++y)
        for (int x = 737; x <= 838; ++x) {
            const uint8_t pixel = screen->pixels[y * (screen->width + screen->row_pad) + x];
            ink_beyond_the_i += x > 737 + 8 && pixel == 222;
            background_left += pixel == 5;
        }
    EXPECT_EQ(ink_beyond_the_i, 0) << "the long line's ink is gone";
    EXPECT_GT(background_left, 102 * 31 / 2);
    display = kept;
    select_screen(nullptr);
    destroy_screen(screen);
}

}  // namespace
}  // namespace vyr
