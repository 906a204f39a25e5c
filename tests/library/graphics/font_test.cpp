#include "library/graphics/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "library/graphics/line.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

class FontTest : public testing::Test {
protected:
    static constexpr int WIDTH = 40, HEIGHT = 24;

    void SetUp() override {
        screen = wrap_screen(WIDTH, HEIGHT, 0, pixels.data());
        select_screen(screen);
        select_font(&font_small);
        accelerator_flag = 0;
        text_x = text_y = 0;
        text_colour = 15;
    }
    void TearDown() override {
        destroy_screen(screen);
        select_font(&font_small);
        accelerator_flag = 0;
        frame_buffer = nullptr;
    }

    uint8_t at(int x, int y) const { return pixels[y * WIDTH + x]; }
    void clear() { pixels.fill(0); }
    // The row bytes of the cell at (x, y) as the font tables write them, bit 7 leftmost.
    std::vector<int> cell(int x, int y, int width, int height) const {
        std::vector<int> rows;
        for (int r = 0; r < height; ++r) {
            int bits = 0;
            for (int c = 0; c < width; ++c)
                if (at(x + c, y + r)) bits |= 0x80 >> c;
            rows.push_back(bits);
        }
        return rows;
    }
    int lit() const { return int(std::count_if(pixels.begin(), pixels.end(), [](uint8_t p) { return p != 0; })); }

    std::array<uint8_t, WIDTH * HEIGHT> pixels{};
    Screen* screen = nullptr;
};

TEST_F(FontTest, GlyphsDrawTheirRowBytes) {
    draw_char_small('0', 2, 3, 7);
    draw_char_small('A', 10, 3, 7);
    draw_char_large('0', 20, 3, 7);
    draw_char_large('A', 30, 3, 7);
    EXPECT_EQ(cell(2, 3, 3, 5), (std::vector<int>{0xE0, 0xA0, 0xA0, 0xA0, 0xE0}));
    EXPECT_EQ(cell(10, 3, 3, 5), (std::vector<int>{0xE0, 0xA0, 0xE0, 0xA0, 0xA0}));
    EXPECT_EQ(cell(20, 3, 5, 9), (std::vector<int>{0x70, 0x88, 0x98, 0xA8, 0xC8, 0x88, 0x70, 0, 0}));
    EXPECT_EQ(cell(30, 3, 5, 9), (std::vector<int>{0x70, 0x88, 0x88, 0xF8, 0x88, 0x88, 0x88, 0, 0}));
    EXPECT_EQ(at(3, 4), 0);  // clear bits leave the target alone
    EXPECT_EQ(at(2, 3), 7);
}

// Every printable character and extra symbol has a shape of its own; blanks and codes past the
// end of a table draw nothing.
TEST_F(FontTest, EachCodeHasADistinctShapeOrNone) {
    struct {
        GlyphRoutine draw;
        int width, height, count;
    } fonts[] = {{draw_char_small, 3, 5, 130}, {draw_char_large, 5, 9, 129}};
    for (auto& font : fonts) {
        std::set<std::vector<int>> shapes;
        for (int code = -1; code <= 256; ++code) {
            clear();
            font.draw(code, 4, 4, 1);
            bool printable = code >= 33 && code < font.count;
            if (!printable) {
                EXPECT_EQ(lit(), 0) << "code " << code;
                continue;
            }
            std::vector<int> shape = cell(4, 4, font.width, font.height);
            int in_cell = 0;
            for (int bits : shape) in_cell += std::popcount(unsigned(bits));
            EXPECT_EQ(lit(), in_cell) << "code " << code << " drew outside its cell";
            EXPECT_GT(lit(), 0) << "code " << code;
            EXPECT_TRUE(shapes.insert(shape).second) << "code " << code << " looks like another";
        }
    }
}

TEST_F(FontTest, WidthsAndLineHeights) {
    EXPECT_EQ(get_text_width("AB"), 8);
    EXPECT_EQ(get_text_width(""), 0);
    EXPECT_EQ(get_text_width("Range 12 nm"), 44);
    EXPECT_EQ(get_char_width(' '), 4);
    EXPECT_EQ(get_line_height(), 6);
    select_font(&font_large);
    EXPECT_EQ(get_text_width("AB"), 12);
    EXPECT_EQ(get_text_width("Range 12 nm"), 66);
    EXPECT_EQ(get_char_width(200), 6);
    EXPECT_EQ(get_line_height(), 10);
}

TEST_F(FontTest, TextAdvancesThePositionAcrossOrDown) {
    text_x = 1;
    text_y = 2;
    text_colour = 33;
    draw_text("AB 7");
    EXPECT_EQ(text_x, 1 + get_text_width("AB 7"));
    EXPECT_EQ(text_y, 2);
    EXPECT_EQ(cell(5, 2, 3, 5), (std::vector<int>{0xC0, 0xA0, 0xC0, 0xA0, 0xC0}));  // the B
    EXPECT_EQ(at(1, 2), 33);

    clear();
    select_font(&font_large);
    text_x = 30;
    text_y = 0;
    draw_text_down("0A");
    EXPECT_EQ(text_x, 30);
    EXPECT_EQ(text_y, 20);
    EXPECT_EQ(cell(30, 10, 5, 9), (std::vector<int>{0x70, 0x88, 0x88, 0xF8, 0x88, 0x88, 0x88, 0, 0}));
}

// A glyph cut by the clip rectangle keeps exactly its pixels inside it.
TEST_F(FontTest, GlyphsClipToTheClipRectangle) {
    struct Case {
        const char* what;
        int x, y;
    } cases[] = {{"inside", 12, 8},       {"across the left edge", 8, 8},  {"across the right edge", 18, 8},
                 {"across the top", 12, 3}, {"across the bottom", 12, 15},  {"across a corner", 8, 3},
                 {"wholly left", 5, 8},   {"wholly right", 21, 8},         {"wholly above", 12, -6},
                 {"wholly below", 12, 17}, {"far off", -2147483647, 2147483647}};
    for (const Case& c : cases) {
        clear();
        reset_clip_rect();
        if (c.x >= 0 && c.x + 5 <= WIDTH && c.y >= 0 && c.y + 9 <= HEIGHT) draw_char_large('@', c.x, c.y, 3);
        std::array<uint8_t, WIDTH * HEIGHT> whole = pixels;
        for (int y = 0; y < HEIGHT; ++y)
            for (int x = 0; x < WIDTH; ++x)
                if (x < 10 || x > 20 || y < 5 || y > 16) whole[y * WIDTH + x] = 0;
        clear();
        set_clip_rect(10, 5, 20, 16);
        draw_char_large('@', c.x, c.y, 3);
        EXPECT_EQ(pixels, whole) << c.what;
    }
}

TEST_F(FontTest, FrameBufferTextWritesTheColourShownForTheTextColour) {
    std::vector<uint32_t> frame(size_t(WIDTH + 4) * HEIGHT, 0);
    frame_buffer = reinterpret_cast<uint8_t*>(frame.data());
    frame_buffer_stride = (WIDTH + 4) * 4;
    accelerator_flag = 1;
    text_colour = 15;
    display_colours[15] = 0x00FF8040;
    text_x = 3;
    text_y = 1;
    draw_text("A");
    display_colours[15] = 0x00102030;  // a palette effect changed what index 15 shows
    text_x = 3;
    text_y = 10;
    draw_text("A");
    const int a_rows[5] = {0xE0, 0xA0, 0xE0, 0xA0, 0xA0};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 3; ++c) {
            bool on = a_rows[r] & (0x80 >> c);
            EXPECT_EQ(frame[size_t(1 + r) * (WIDTH + 4) + 3 + c], on ? 0x00FF8040u : 0u);
            EXPECT_EQ(frame[size_t(10 + r) * (WIDTH + 4) + 3 + c], on ? 0x00102030u : 0u);
        }
    EXPECT_EQ(lit(), 0);  // the 8-bit screen was left alone
}

// Draws a test card with every primitive and writes it as a PPM beside the build for a look.
TEST(DrawingScene, WritesACaptureOfEveryPrimitive) {
    constexpr int W = 240, H = 160;
    std::vector<uint8_t> memory(W * H);
    Screen* card = wrap_screen(W, H, 0, memory.data());
    accelerator_flag = 0;
    select_screen(card);
    clear_screen(0x01010101);
    fill_rect(0x02030203, 4, 4, 40, 20);
    fill_rect(0x04040404, 50, 4, 5, 20);
    fill_rect(0x05060708, 60, 4, 30, 20);
    draw_hline(9, 4, 150, 28);
    for (int i = 0; i < 16; ++i) {
        double angle = i * 3.14159265358979 / 8;
        draw_line(10 + i % 6, 205, 125, 205 + int(std::lround(28 * std::cos(angle))), 125 + int(std::lround(28 * std::sin(angle))));
    }
    dash_mask = 0xCCCCCCCC;
    line_dashed(12, 200, 4, 235, 4);
    line_dashed(12, 235, 4, 235, 60);
    line_xor(200, 60, 235, 10);
    static const uint8_t arrow[8 * 8] = {
        0, 0, 0, 13, 13, 0, 0, 0, 0, 0, 13, 14, 14, 13, 0, 0, 0, 13, 14, 14, 14, 14, 13, 0, 13, 13, 13, 14, 14, 13, 13, 13,
        0, 0, 13, 14, 14, 13, 0, 0, 0, 0, 13, 14, 14, 13, 0, 0, 0, 0, 13, 14, 14, 13, 0, 0, 0, 0, 13, 13, 13, 13, 0, 0};
    const Sprite sprite{8, 8, 4, 0, arrow};
    set_clip_rect(0, 0, W - 1, H - 1);
    draw_sprite(&sprite, 10, 32);
    draw_sprite(&sprite, 2, 32);     // clipped at the left edge
    set_clip_rect(20, 34, 40, 60);
    draw_sprite(&sprite, 30, 30);    // clipped at the top of the clip rectangle
    reset_clip_rect();
    text_colour = 15;
    select_font(&font_small);
    const char* lines[] = {" !\"#$%&'()*+,-./0123456789:;<=>?", "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_",
                           "`abcdefghijklmnopqrstuvwxyz{|}~\x7F\x80\x81"};
    for (int i = 0; i < 3; ++i) {
        text_x = 2;
        text_y = 46 + 6 * i;
        draw_text(lines[i]);
    }
    select_font(&font_large);
    text_colour = 14;
    for (int i = 0; i < 3; ++i) {
        text_x = 2;
        text_y = 66 + 10 * i;
        draw_text(lines[i]);
    }
    text_x = 2;
    text_y = 98;
    draw_text("Fuel 4200 lb  ALT 12,500 ft\x7F");
    text_x = 2;
    text_y = 108;
    draw_text("jumpy quirks: gq@\x80");
    select_font(&font_small);
    destroy_screen(card);

    static const uint32_t palette[16] = {0x000000, 0x101828, 0x2050A0, 0x3070D0, 0xC04040, 0x40C040, 0x4040C0,
                                         0xC0C040, 0xC040C0, 0xFFFFFF, 0xFF8000, 0x00FF80, 0xFFFF00, 0x80FF80,
                                         0x208020, 0xE0E0E0};
    std::string path = std::string(VYR_BUILD_DIR) + "/drawing_scene.ppm";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fprintf(file, "P6\n%d %d\n255\n", W, H);
    for (uint8_t index : memory) {
        uint32_t rgb = index < 16 ? palette[index] : 0xFF00FF;
        uint8_t out[3] = {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)};
        std::fwrite(out, 1, 3, file);
    }
    EXPECT_EQ(std::fclose(file), 0);
}

}  // namespace
}  // namespace vyr
