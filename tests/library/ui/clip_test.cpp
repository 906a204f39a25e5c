#include "library/ui/clip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/graphics/ddraw.h"
#include "library/graphics/screen.h"
#include "tests/library/ui/ui_fixture.h"

namespace vyr {
namespace {

// A small 8-bit target cleared to 0, with the clip rectangle at (1, 1)-(8, 6).
class ClippedDrawing : public testing::Test {
protected:
    void SetUp() override {
        screen = create_screen(10, 8);
        select_screen(screen);
        clear_screen(0);
        set_clip_rect(1, 1, 8, 6);
    }
    void TearDown() override {
        select_screen(nullptr);
        destroy_screen(screen);
    }

    // Rows of the target, one character a pixel: '.' for 0, letters for the UI colours, digits
    // for small colours.
    std::string picture() const {
        std::string text;
        for (int y = 0; y < screen->height; ++y) {
            for (int x = 0; x < screen->width; ++x) {
                int p = row_table[y][x];
                const char* roles = "CSHFLW";  // 246 corner .. 251 white
                text += p == 0 ? '.' : p >= 246 && p <= 251 ? roles[p - 246] : p < 10 ? char('0' + p) : '?';
            }
            text += '\n';
        }
        return text;
    }

    Screen* screen = nullptr;
};

TEST_F(ClippedDrawing, RaisedAndSunkenBevelsPutEachColourInItsPlace) {
    draw_raised_box(1, 1, 5, 4);
    draw_sunken_box(6, 2, 9, 7);  // runs past the clip rectangle's right and bottom
    EXPECT_EQ(picture(),
              "..........\n"
              ".WLLLH....\n"
              ".L...SCSS.\n"
              ".L...SS...\n"
              ".HSSSCS...\n"
              "......S...\n"
              "......S...\n"
              "..........\n");
}

TEST_F(ClippedDrawing, FillsOutlinesAndGlassStayInsideTheClipRectangle) {
    fill_box(-3, -3, 3, 2, 0x01010101);
    fill_box(9, 0, 20, 20, 0x02020202);  // wholly outside: nothing
    draw_box_outline(5, 0, 12, 4, 3);
    for (int i = 0; i < 256; ++i) glass_remap[size_t(i)] = uint8_t(i + 4);
    glass_box(2, 2, 6, 9);
    for (int i = 0; i < 256; ++i) glass_remap[size_t(i)] = uint8_t(i);
    EXPECT_EQ(picture(),
              "..........\n"
              ".111.3....\n"
              ".155474...\n"
              "..44474...\n"
              "..4447733.\n"
              "..44444...\n"
              "..44444...\n"
              "..........\n");
}

TEST_F(ClippedDrawing, PixelsAreReadAndWrittenOnlyInsideTheClipRectangle) {
    draw_box_pixel(0, 0, 5);
    draw_box_pixel(1, 1, 6);
    EXPECT_EQ(read_box_pixel(1, 1), 6);
    row_table[0][0] = 7;
    EXPECT_EQ(read_box_pixel(0, 0), 0);
    EXPECT_EQ(read_box_pixel(100, -100), 0);
}

TEST_F(ClippedDrawing, ImageCopiesMoveTheirStartAndGapWithTheCut) {
    set_clip_rect(0, 0, 9, 7);
    std::vector<uint8_t> image(12 * 10);  // 10 x 10 with a gap of 2
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) image[size_t(y * 12 + x)] = uint8_t(y * 10 + x);
    copy_pixels_to_box(-3, -2, 6, 7, image.data(), 2);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(row_table[y][x], (y + 2) * 10 + x + 3) << x << "," << y;
    EXPECT_EQ(row_table[0][7], 0);

    std::vector<uint8_t> back(5 * 6, 0xEE);  // 4 x 6 read back with a gap of 1, from (8, 3)
    copy_box_to_pixels(8, 3, 11, 8, back.data(), 1);
    EXPECT_EQ(back[0], row_table[3][8]);
    EXPECT_EQ(back[1], row_table[3][9]);
    EXPECT_EQ(back[2], 0xEE);  // past the clip rectangle's right edge
    EXPECT_EQ(back[4 * 5], row_table[7][8]);
    EXPECT_EQ(back[5 * 5], 0xEE);  // row 8 lies below the target
}

TEST_F(ClippedDrawing, AMaskedCopyStopsAtThePicturesLastRow) {
    set_clip_rect(0, 0, 9, 7);
    UiObject picture_object{};
    picture_object.pic_height = 5;
    picture_object.top_row = 2;
    std::vector<uint8_t> mask(4 * 8, 0);  // all zero: paint everywhere it may
    mask[4 + 2] = 9;                      // ... except one pixel of the first row drawn
    copy_pixels_to_box_masked(&picture_object, 1, -1, 4, 6, mask.data(), 0);
    EXPECT_EQ(picture(),
              ".WW.W.....\n"
              ".WWWW.....\n"
              "..........\n"
              "..........\n"
              "..........\n"
              "..........\n"
              "..........\n"
              "..........\n");
}

TEST_F(ClippedDrawing, AxisLinesInvertOnlyInsideAndSlantedOnesMustNotLeave) {
    draw_xor_axis_line(4, 9, 4, -3);
    draw_xor_axis_line(-5, 2, 3, 2);
    draw_xor_axis_line(0, 3, 0, 5);  // left of the clip columns
    draw_xor_axis_line(6, 4, 8, 6);  // slanted, inside
    EXPECT_EQ(picture(),
              "..........\n"
              "....?.....\n"
              ".????.....\n"
              "....?.....\n"
              "....?.?...\n"
              "....?..?..\n"
              "....?...?.\n"
              "..........\n");
}

TEST(ClipSegment, EndsAreCutToTheRectangleTopEndFirst) {
    set_display_clip(0, 0, 639, 479);
    struct Case {
        int x0, y0, x1, y1;
        int answer;
        int want[4];
    } cases[] = {
        {-10, 5, 10, 5, 1, {0, 5, 10, 5}},
        {700, 20, 600, 20, 1, {639, 20, 600, 20}},
        {30, 500, 30, -7, 1, {30, 0, 30, 479}},        // bottom end first comes back top first
        {-100, 100, 100, 300, 1, {0, 200, 100, 300}},  // left end cut
        {620, 460, 660, 500, 1, {620, 460, 639, 479}}, // right and bottom
        {100, -50, 0, 50, 1, {50, 0, 0, 50}},          // falling to the left, top cut
        {-5, 700, 5, 710, 0, {}},                      // below
        {650, 0, 700, 10, 0, {}},                      // right of it
        {-100, 400, 100, 600, 0, {}},                  // passes the bottom-left corner
        {640, 3, 640, 9, 0, {}},
    };
    for (const Case& c : cases) {
        int x0 = c.x0, y0 = c.y0, x1 = c.x1, y1 = c.y1;
        ASSERT_EQ(clip_line_to_display(x0, y0, x1, y1), c.answer) << c.x0 << "," << c.y0;
        if (c.answer) {
            EXPECT_EQ(x0, c.want[0]) << c.x0 << "," << c.y0;
            EXPECT_EQ(y0, c.want[1]) << c.x0 << "," << c.y0;
            EXPECT_EQ(x1, c.want[2]) << c.x0 << "," << c.y0;
            EXPECT_EQ(y1, c.want[3]) << c.x0 << "," << c.y0;
        }
    }
}

TEST(ClipSegment, TheClipRectangleVersionUsesTheCurrentClip) {
    Screen* screen = create_screen(100, 100);
    select_screen(screen);
    set_clip_rect(10, 10, 20, 20);
    int x0 = 0, y0 = 0, x1 = 30, y1 = 30;
    EXPECT_EQ(clip_line_to_clip(x0, y0, x1, y1), 1);
    EXPECT_EQ(x0, 10);
    EXPECT_EQ(y0, 10);
    EXPECT_EQ(x1, 20);
    EXPECT_EQ(y1, 20);
    select_screen(nullptr);
    destroy_screen(screen);
}

using ClippedDrawingFatal = ClippedDrawing;

TEST_F(ClippedDrawingFatal, ASlantedAxisLineLeavingTheClipRectangle) {
    EXPECT_DEATH(draw_xor_axis_line(0, 0, 5, 5), "Trying to clip a line");
}

}  // namespace
}  // namespace vyr
