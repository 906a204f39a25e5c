#include "library/graphics/screen.h"

#include <gtest/gtest.h>

#include <vector>

#include "library/debug/fatal.h"
#include "library/graphics/display.h"

namespace vyr {
namespace {

class ScreenTest : public testing::Test {
protected:
    void TearDown() override {
        select_screen(nullptr);
        for (Screen* screen : screens_) destroy_screen(screen);
    }

    Screen* keep(Screen* screen) {
        screens_.push_back(screen);
        return screen;
    }

    std::vector<Screen*> screens_;
};

TEST_F(ScreenTest, TheHundredAndFirstScreenIsFatal) {
    EXPECT_EXIT(
        {
            init_debug_text();
            static uint8_t pixel;
            for (int i = 0; i < MAX_SCREENS + 1; ++i) wrap_screen(1, 1, 0, &pixel);
        },
        testing::ExitedWithCode(10), "FATAL \\*\\*\\* Not Enough Screens \\(library/graphics/screen:");
}

TEST_F(ScreenTest, AFreedSlotIsTakenAgainWhenItIsTheLowest) {
    Screen* a = keep(create_screen(4, 4));
    Screen* b = create_screen(4, 4);
    Screen* c = keep(create_screen(4, 4));
    destroy_screen(b);
    Screen* d = keep(create_screen(8, 2));
    EXPECT_EQ(d, b);
    EXPECT_NE(d, a);
    EXPECT_NE(d, c);
    EXPECT_EQ(d->width, 8);
}

TEST_F(ScreenTest, DestroyingTheCurrentScreenLeavesNoTargetAndItsClip) {
    Screen* screen = create_screen(40, 30);
    select_screen(screen);
    set_clip_rect(1, 2, 3, 4);
    uint8_t* row_5 = row_table[5];
    destroy_screen(screen);

    EXPECT_EQ(get_current_screen(), nullptr);
    EXPECT_EQ(clip_x1, 3);
    EXPECT_EQ(clip_y1, 4);
    EXPECT_EQ(row_table[5], row_5);
    clear_screen(0x01010101);  // with no target this draws nothing (the pixels are gone)
    fill_clip_rect(0x01010101);
    destroy_screen(screen);  // a second destroy is ignored
    Screen* next = keep(create_screen(2, 2));
    Screen* after = keep(create_screen(2, 2));
    EXPECT_NE(next, after);  // the slot was returned once only
}

TEST_F(ScreenTest, ARecordOutsideTheTableIsFatal) {
    EXPECT_EXIT(
        {
            init_debug_text();
            Screen stranger{};
            stranger.flags = SCREEN_OWNS_PIXELS;
            destroy_screen(&stranger);
        },
        testing::ExitedWithCode(10), "FATAL \\*\\*\\* Too many Screens \\(library/graphics/screen:");
}

TEST_F(ScreenTest, AScreenTallerThanTheRowTableIsFatalWhenSelected) {
    EXPECT_EXIT(
        {
            init_debug_text();
            static uint8_t pixels[MAX_SCREEN_ROWS + 1];
            select_screen(wrap_screen(1, MAX_SCREEN_ROWS + 1, 0, pixels));
        },
        testing::ExitedWithCode(10), "Screen too tall");
    static uint8_t pixels[MAX_SCREEN_ROWS];
    Screen* tallest = keep(wrap_screen(1, MAX_SCREEN_ROWS, 0, pixels));
    select_screen(tallest);
    EXPECT_EQ(row_table[MAX_SCREEN_ROWS - 1], pixels + MAX_SCREEN_ROWS - 1);
}

TEST_F(ScreenTest, OnlyCreatedScreensOfTheDisplaysSizeAreDisplaySized) {
    static uint8_t pixels[640 * 480];
    int width = display_width(), height = display_height();
    EXPECT_TRUE(keep(create_screen(width, height))->flags & SCREEN_DISPLAY_SIZED);
    EXPECT_FALSE(keep(create_screen(width, height - 1))->flags & SCREEN_DISPLAY_SIZED);
    EXPECT_FALSE(keep(wrap_screen(width, height, 0, pixels))->flags & SCREEN_DISPLAY_SIZED);
    EXPECT_TRUE(keep(create_screen(3, 3))->flags & SCREEN_OWNS_PIXELS);
    EXPECT_FALSE(keep(wrap_screen(3, 3, 0, pixels))->flags & SCREEN_OWNS_PIXELS);
}

TEST_F(ScreenTest, SelectingTakesTheScreensGeometryAndResetsTheClip) {
    static uint8_t pixels[(20 + 4) * 10];
    Screen* screen = keep(wrap_screen(20, 10, 4, pixels));
    set_clip_rect(-5, -5, 500, 500);
    select_screen(screen);
    EXPECT_EQ(screen_pitch, 24);
    EXPECT_EQ(row_table[9], pixels + 9 * 24);
    EXPECT_EQ(clip_x0, 0);
    EXPECT_EQ(clip_y0, 0);
    EXPECT_EQ(clip_x1, 19);
    EXPECT_EQ(clip_y1, 9);

    set_screen_origin(7, 8);
    EXPECT_EQ(screen->origin_x, 7);
    EXPECT_EQ(screen_origin_y, 8);
}

TEST(MaskSpans, EachRowGivesItsNonZeroExtent) {
    uint8_t bitmap[] = {
        0, 0, 0, 0, 0,  //
        0, 0, 9, 0, 0,  //
        3, 0, 0, 0, 4,  //
        0, 1, 1, 1, 0,  //
    };
    RowSpan table[4];
    ASSERT_EQ(build_mask_spans(5, 4, bitmap, table), table);
    EXPECT_EQ(table[0].row, nullptr);
    EXPECT_EQ(table[0].offset, 0);
    EXPECT_EQ(table[0].length, 0);
    EXPECT_EQ(table[1].row, bitmap + 7);
    EXPECT_EQ(table[1].offset, 2);
    EXPECT_EQ(table[1].length, 1);
    EXPECT_EQ(table[2].row, bitmap + 10);
    EXPECT_EQ(table[2].offset, 0);
    EXPECT_EQ(table[2].length, 5);
    EXPECT_EQ(table[3].offset, 1);
    EXPECT_EQ(table[3].length, 3);
}

}  // namespace
}  // namespace vyr
