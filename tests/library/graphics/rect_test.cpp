#include "library/graphics/rect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "library/graphics/screen.h"

namespace vyr {
namespace {

constexpr uint8_t BACKGROUND = 0xEE;

// A small screen with padding after each row, so that every routine must honour the pitch.
class RectTest : public testing::Test {
protected:
    static constexpr int WIDTH = 32, HEIGHT = 16, PAD = 3, PITCH = WIDTH + PAD;

    void SetUp() override {
        memory.assign(PITCH * HEIGHT, BACKGROUND);
        screen = wrap_screen(WIDTH, HEIGHT, PAD, memory.data());
        select_screen(screen);
    }
    void TearDown() override { destroy_screen(screen); }
    void clear() { std::fill(memory.begin(), memory.end(), BACKGROUND); }

    uint8_t& at(int x, int y) { return memory[y * PITCH + x]; }
    // Every byte outside the rectangle, padding included, is still the background.
    bool untouched_outside(int x, int y, int w, int h) {
        for (int row = 0; row < HEIGHT; ++row)
            for (int column = 0; column < PITCH; ++column) {
                bool inside = column >= x && column < x + w && row >= y && row < y + h;
                if (!inside && memory[row * PITCH + column] != BACKGROUND) return false;
            }
        return true;
    }
    void number_pixels() {
        for (int y = 0; y < HEIGHT; ++y)
            for (int x = 0; x < WIDTH; ++x) at(x, y) = uint8_t(1 + x + 7 * y);
    }

    std::vector<uint8_t> memory;
    Screen* screen = nullptr;
};

struct Area {
    int x, y, width, height;
};

TEST_F(RectTest, SolidFillCoversExactlyTheRectangle) {
    for (Area a : {Area{0, 0, 1, 1}, Area{3, 2, 5, 4}, Area{1, 1, 29, 3}, Area{0, 0, WIDTH, HEIGHT}}) {
        clear();
        fill_rect(0x01010101, a.x, a.y, a.width, a.height);
        for (int y = a.y; y < a.y + a.height; ++y)
            for (int x = a.x; x < a.x + a.width; ++x) ASSERT_EQ(at(x, y), 1) << x << "," << y;
        EXPECT_TRUE(untouched_outside(a.x, a.y, a.width, a.height)) << a.x << "," << a.y << " " << a.width;
    }
}

TEST_F(RectTest, WidthZeroFillsNothing) {
    fill_rect(0x01010101, 4, 4, 0, 3);
    EXPECT_TRUE(untouched_outside(0, 0, 0, 0));
}

// The dither is fixed to the target: even x + y takes byte 0 wherever the rectangle starts and
// however wide it is (short rows take a different path from long ones).
TEST_F(RectTest, TwoColourDitherIsTiedToTheTarget) {
    const uint32_t pattern = 0x0B0A0B0A;
    for (Area a : {Area{0, 0, 5, 3}, Area{1, 0, 5, 3}, Area{0, 1, 5, 3}, Area{1, 1, 5, 3}, Area{3, 2, 20, 5},
                   Area{4, 5, 20, 5}, Area{2, 3, 1, 4}, Area{5, 2, 7, 2}, Area{5, 2, 8, 2}, Area{6, 7, 9, 3},
                   Area{1, 2, 31, 1}}) {
        clear();
        fill_rect(pattern, a.x, a.y, a.width, a.height);
        for (int y = a.y; y < a.y + a.height; ++y)
            for (int x = a.x; x < a.x + a.width; ++x)
                ASSERT_EQ(at(x, y), (x + y) % 2 ? 0x0B : 0x0A) << "rect " << a.x << "," << a.y << " w" << a.width
                                                               << " at " << x << "," << y;
        EXPECT_TRUE(untouched_outside(a.x, a.y, a.width, a.height));
    }
}

// With four different bytes the phase shows: rows of 8 or more run through all four bytes from
// the corner's parity, shorter rows alternate between the first two of the row's pattern.
TEST_F(RectTest, FourColourPatternPhaseFollowsTheCornerParity) {
    const uint32_t pattern = 0x44332211;
    auto byte = [&](int index) { return uint8_t(pattern >> (8 * (index & 3))); };
    for (Area a : {Area{0, 0, 8, 3}, Area{1, 0, 9, 3}, Area{2, 1, 13, 4}, Area{3, 3, 16, 2}, Area{5, 2, 27, 3},
                   Area{0, 0, 7, 4}, Area{1, 1, 3, 4}, Area{4, 1, 1, 5}, Area{3, 0, 6, 3}}) {
        clear();
        fill_rect(pattern, a.x, a.y, a.width, a.height);
        int phase = a.x % 2 + a.y % 2;
        for (int j = 0; j < a.height; ++j)
            for (int k = 0; k < a.width; ++k) {
                int index = (a.width >= 8 ? k : k % 2) + j + phase;
                ASSERT_EQ(at(a.x + k, a.y + j), byte(index))
                    << "rect " << a.x << "," << a.y << " w" << a.width << " pixel " << k << " row " << j;
            }
        EXPECT_TRUE(untouched_outside(a.x, a.y, a.width, a.height));
    }
}

TEST_F(RectTest, HorizontalLineTakesEitherEndFirst) {
    struct Case {
        int x1, x2, left, width;
    } cases[] = {{3, 9, 3, 7}, {9, 3, 3, 7}, {5, 5, 5, 1}, {0, WIDTH - 1, 0, WIDTH}, {WIDTH - 1, 0, 0, WIDTH}};
    for (Case c : cases) {
        clear();
        draw_hline(0x21, c.x1, c.x2, 6);
        for (int x = c.left; x < c.left + c.width; ++x) ASSERT_EQ(at(x, 6), 0x21) << c.x1 << "->" << c.x2;
        EXPECT_TRUE(untouched_outside(c.left, 6, c.width, 1)) << c.x1 << "->" << c.x2;
    }
}

TEST_F(RectTest, RemapReplacesEachPixelThroughTheTable) {
    number_pixels();
    std::vector<uint8_t> before = memory;
    uint8_t table[256];
    for (int c = 0; c < 256; ++c) table[c] = uint8_t(255 - c);
    remap_rect(2, 3, 9, 4, table);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            uint8_t was = before[y * PITCH + x];
            bool inside = x >= 2 && x < 11 && y >= 3 && y < 7;
            ASSERT_EQ(at(x, y), inside ? 255 - was : was) << x << "," << y;
        }
}

TEST_F(RectTest, CopyFromScreenSkipsTheDestinationGap) {
    number_pixels();
    const int w = 11, h = 3, gap = 2;
    std::vector<uint8_t> out(size_t((w + gap) * h), 0x5A);
    copy_rect_from_screen(3, 5, w, h, out.data(), gap);
    for (int j = 0; j < h; ++j) {
        for (int k = 0; k < w; ++k) ASSERT_EQ(out[j * (w + gap) + k], at(3 + k, 5 + j)) << k << "," << j;
        for (int k = w; k < w + gap; ++k) EXPECT_EQ(out[j * (w + gap) + k], 0x5A);
    }
}

// A 9 x 3 image inside rows of 12 bytes (gap 3), with zeros here and there.
struct Image {
    static constexpr int W = 9, H = 3, GAP = 3;
    uint8_t bytes[(W + GAP) * H];
    Image() {
        for (int i = 0; i < (W + GAP) * H; ++i) bytes[i] = i % (W + GAP) >= W ? 0x77 : uint8_t(i % 4 == 1 ? 0 : 100 + i);
    }
    uint8_t pixel(int k, int j) const { return bytes[j * (W + GAP) + k]; }
};

TEST_F(RectTest, OpaqueBlitCopiesZerosAndTransparentBlitKeepsTheTarget) {
    Image image;
    blit_opaque(2, 1, Image::W, Image::H, image.bytes, Image::GAP);
    blit_transparent(14, 6, Image::W, Image::H, image.bytes, Image::GAP);
    for (int j = 0; j < Image::H; ++j)
        for (int k = 0; k < Image::W; ++k) {
            EXPECT_EQ(at(2 + k, 1 + j), image.pixel(k, j));
            EXPECT_EQ(at(14 + k, 6 + j), image.pixel(k, j) ? image.pixel(k, j) : BACKGROUND);
        }
    // Nothing beyond the two images, and the gap bytes never landed anywhere.
    int changed = 0;
    for (uint8_t byte : memory) changed += byte != BACKGROUND;
    int zeros = 0;
    for (int j = 0; j < Image::H; ++j)
        for (int k = 0; k < Image::W; ++k) zeros += image.pixel(k, j) == 0;
    EXPECT_EQ(changed, 2 * Image::W * Image::H - zeros);
}

TEST_F(RectTest, PaintMaskPaintsUnderZeroMaskBytesOnly) {
    uint8_t all_zero[4 * 2] = {};
    uint8_t none_zero[4 * 2];
    std::fill(std::begin(none_zero), std::end(none_zero), 9);
    uint8_t mixed[5 * 2] = {0, 1, 0, 1, /*gap*/ 0, 1, 1, 0, 0, /*gap*/ 1};
    paint_mask(1, 1, 4, 2, all_zero, 0);
    paint_mask(10, 1, 4, 2, none_zero, 0);
    paint_mask(20, 1, 4, 2, mixed, 1);
    for (int j = 0; j < 2; ++j)
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(at(1 + k, 1 + j), MASK_PAINT_COLOUR);
            EXPECT_EQ(at(10 + k, 1 + j), BACKGROUND);
            EXPECT_EQ(at(20 + k, 1 + j), mixed[j * 5 + k] ? BACKGROUND : MASK_PAINT_COLOUR) << k << "," << j;
        }
}

// A destroyed current screen leaves no target: its row table must not be written through.
TEST_F(RectTest, NothingIsDrawnWithoutACurrentScreen) {
    Screen* other = wrap_screen(WIDTH, HEIGHT, PAD, memory.data());
    select_screen(other);
    destroy_screen(other);
    Image image;
    uint8_t table[256] = {};
    fill_rect(0x01010101, 0, 0, 8, 2);
    draw_hline(3, 0, 9, 1);
    remap_rect(0, 0, 4, 4, table);
    blit_opaque(0, 0, Image::W, Image::H, image.bytes, Image::GAP);
    paint_mask(0, 0, 4, 1, table, 0);
    Sprite sprite{2, 2, 0, 0, image.bytes};
    draw_sprite(&sprite, 1, 1);
    EXPECT_TRUE(untouched_outside(0, 0, 0, 0));
}

class FrameBufferTest : public testing::Test {
protected:
    static constexpr int WIDTH = 16, HEIGHT = 8, STRIDE_WORDS = 19;

    void SetUp() override {
        words.assign(STRIDE_WORDS * HEIGHT, 0xDEADBEEF);
        frame_buffer = reinterpret_cast<uint8_t*>(words.data());
        frame_buffer_stride = STRIDE_WORDS * 4;
        for (int c = 0; c < 256; ++c) display_colours[c] = 0x00010203u * uint32_t(c) ^ 0x00800000u;
    }
    void TearDown() override { frame_buffer = nullptr; }

    uint32_t at(int x, int y) const { return words[y * STRIDE_WORDS + x]; }
    int changed() const {
        int count = 0;
        for (uint32_t word : words) count += word != 0xDEADBEEF;
        return count;
    }

    std::vector<uint32_t> words;
};

TEST_F(FrameBufferTest, BlitsWriteTheDisplayColourOfEachIndex) {
    Image image;
    blit_opaque32(1, 1, Image::W, Image::H, image.bytes, Image::GAP);
    blit_transparent32(5, 4, Image::W, Image::H, image.bytes, Image::GAP);
    int zeros = 0;
    for (int j = 0; j < Image::H; ++j)
        for (int k = 0; k < Image::W; ++k) {
            uint8_t c = image.pixel(k, j);
            zeros += c == 0;
            EXPECT_EQ(at(1 + k, 1 + j), display_colours[c]) << k << "," << j;
            EXPECT_EQ(at(5 + k, 4 + j), c ? display_colours[c] : 0xDEADBEEF) << k << "," << j;
        }
    EXPECT_EQ(changed(), 2 * Image::W * Image::H - zeros);
}

// Sprites: a 4 x 3 picture with one transparent pixel, its hot spot at (1, 2), drawn against
// the clip rectangle (8, 4) - (19, 10) of the 32 x 16 screen.
class SpriteTest : public RectTest {
protected:
    static constexpr int CLIP_X0 = 8, CLIP_Y0 = 4, CLIP_X1 = 19, CLIP_Y1 = 10;
    static constexpr uint8_t PIXELS[12] = {11, 12, 13, 14, 21, 0, 23, 24, 31, 32, 33, 34};
    const Sprite sprite{4, 3, 1, 2, PIXELS};

    void SetUp() override {
        RectTest::SetUp();
        set_clip_rect(CLIP_X0, CLIP_Y0, CLIP_X1, CLIP_Y1);
    }
    // What a clipped draw at (x, y) must leave, each drawn pixel passed through `colour`.
    template <class Colour>
    std::vector<uint8_t> expected(int x, int y, Colour colour) const {
        std::vector<uint8_t> out(PITCH * HEIGHT, BACKGROUND);
        for (int j = 0; j < sprite.height; ++j)
            for (int i = 0; i < sprite.width; ++i) {
                int px = x - sprite.hot_x + i, py = y - sprite.hot_y + j;
                uint8_t c = PIXELS[j * sprite.width + i];
                if (c && px >= CLIP_X0 && px <= CLIP_X1 && py >= CLIP_Y0 && py <= CLIP_Y1) out[py * PITCH + px] = colour(c);
            }
        return out;
    }
};

struct Place {
    const char* where;
    int x, y;
};

// (x, y) is the hot spot; the sprite covers x - 1 .. x + 2 and y - 2 .. y.
constexpr Place PLACES[] = {
    {"inside", 12, 7},          {"on the left edge", 8, 7},      {"across the left edge", 7, 7},
    {"mostly left", 5, 7},      {"just left", 4, 7},             {"across the right edge", 18, 7},
    {"mostly right", 20, 7},    {"just right", 21, 7},           {"across the top", 12, 5},
    {"mostly above", 12, 4},    {"just above", 12, 3},           {"bottom row on clip_y1", 12, 10},
    {"across the bottom", 12, 11}, {"just below", 12, 13},       {"top-left corner", 7, 5},
    {"top-right corner", 19, 4}, {"bottom-left corner", 6, 12},  {"bottom-right corner", 20, 11},
    {"far away", -1000, 5000},
};

TEST_F(SpriteTest, ClipsOnEveryEdgeAndCorner) {
    for (const Place& p : PLACES) {
        clear();
        draw_sprite(&sprite, p.x, p.y);
        EXPECT_EQ(memory, expected(p.x, p.y, [](uint8_t c) { return c; })) << p.where;
    }
}

TEST_F(SpriteTest, RemapAndFrameBufferFormsClipAlike) {
    uint8_t table[256];
    for (int c = 0; c < 256; ++c) table[c] = uint8_t(c + 100);
    std::vector<uint32_t> frame(PITCH * HEIGHT, 0);
    frame_buffer = reinterpret_cast<uint8_t*>(frame.data());
    frame_buffer_stride = PITCH * 4;
    for (int c = 0; c < 256; ++c) display_colours[c] = 0x00ABCD00u | uint32_t(c);
    for (const Place& p : PLACES) {
        clear();
        std::fill(frame.begin(), frame.end(), 0x00ABCD00u | BACKGROUND);
        draw_sprite_remap(&sprite, p.x, p.y, table);
        draw_sprite32(&sprite, p.x, p.y);
        std::vector<uint8_t> from_frame(frame.size());
        for (size_t i = 0; i < frame.size(); ++i) from_frame[i] = uint8_t(frame[i]);
        EXPECT_EQ(memory, expected(p.x, p.y, [&](uint8_t c) { return table[c]; })) << p.where;
        EXPECT_EQ(from_frame, expected(p.x, p.y, [](uint8_t c) { return c; })) << p.where;
    }
    frame_buffer = nullptr;
}

TEST_F(SpriteTest, HotSpotAtTheLastPixelEndsTheSpriteThere) {
    const Sprite corner{4, 3, 3, 2, PIXELS};
    draw_sprite(&corner, 15, 9);
    EXPECT_EQ(at(15, 9), 34);
    EXPECT_EQ(at(12, 7), 11);
    EXPECT_EQ(at(16, 9), BACKGROUND);
    EXPECT_EQ(at(15, 10), BACKGROUND);
}

}  // namespace
}  // namespace vyr
