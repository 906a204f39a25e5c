#include "library/graphics/screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "library/debug/fatal.h"
#include "library/graphics/circle.h"
#include "library/graphics/display.h"
#include "library/graphics/poly.h"

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

TEST_F(ScreenTest, DestroyingTheCurrentScreenLeavesNoTargetAndAnEmptyClip) {
    Screen* screen = create_screen(40, 30);
    select_screen(screen);
    set_clip_rect(1, 2, 3, 4);
    destroy_screen(screen);

    EXPECT_EQ(get_current_screen(), nullptr);
    EXPECT_EQ(screen_width, 0);
    EXPECT_EQ(screen_height, 0);
    EXPECT_LT(clip_x1, clip_x0);
    EXPECT_LT(clip_y1, clip_y0);
    clear_screen(0x01010101);  // with no target this draws nothing (the pixels are gone)
    fill_clip_rect(0x01010101);
    destroy_screen(screen);  // a second destroy is ignored
    Screen* next = keep(create_screen(2, 2));
    Screen* after = keep(create_screen(2, 2));
    EXPECT_NE(next, after);  // the slot was returned once only
}

// Pixels kept by the test, so that a write after the target went away shows in them.
TEST_F(ScreenTest, NoPrimitiveDrawsOnceTheTargetHasGone) {
    constexpr int SIDE = 16;
    static uint8_t texels[64 * 64];
    std::fill(std::begin(texels), std::end(texels), uint8_t(9));
    static const TextureRecord texture{2, 64, texels};
    static PolyVertex triangle[3];
    const int corners[3][2] = {{1, 1}, {14, 3}, {4, 14}};
    for (int k = 0; k < 3; ++k) {
        triangle[k] = {corners[k][0], 100, 0, corners[k][0], corners[k][1], k << 20, k << 20, 100 << 23, 0, nullptr};
        triangle[k].next = k < 2 ? &triangle[k + 1] : nullptr;
    }
    static const uint8_t remap[256] = {1};
    const struct {
        const char* name;
        std::function<void()> draw;
    } primitives[] = {
        {"point", [] { draw_point(5, 5, 9); }},
        {"circle", [] { draw_circle(8, 8, 5, 9); }},
        {"filled circle", [] { fill_circle(8, 8, 5, 0x09090909); }},
        {"stippled circle", [] { fill_circle_stipple(8, 8, 5, 9); }},
        {"sparse circle", [] { fill_circle_sparse(8, 8, 5, 9); }},
        {"flat", [] { draw_poly_flat(triangle, 0x09090909); }},
        {"gouraud", [] { draw_poly_gouraud(triangle, 0x09090909); }},
        {"stipple", [] { draw_poly_stipple(triangle, 9); }},
        {"remap", [] { draw_poly_remap(triangle, remap); }},
        {"shimmer", [] { draw_poly_shimmer(triangle); }},
        {"textured", [] { draw_poly_textured(triangle, &texture); }},
        {"perspective", [] { draw_poly_textured_persp(triangle, &texture); }},
    };
    const struct {
        const char* name;
        void (*leave)(Screen*);
    } departures[] = {
        {"destroyed", destroy_screen},
        {"deselected", [](Screen*) { select_screen(nullptr); }},
    };
    for (const auto& departure : departures)
        for (const auto& primitive : primitives) {
            SCOPED_TRACE(std::string(departure.name) + ", " + primitive.name);
            std::vector<uint8_t> pixels(SIDE * SIDE);
            for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(100 + i % 7);  // shimmer moves show
            const std::vector<uint8_t> before = pixels;
            Screen* screen = keep(wrap_screen(SIDE, SIDE, 0, pixels.data()));
            select_screen(screen);
            departure.leave(screen);
            primitive.draw();
            EXPECT_EQ(pixels, before);
        }
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
