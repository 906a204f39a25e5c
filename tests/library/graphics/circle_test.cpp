#include "library/graphics/circle.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "library/graphics/screen.h"

namespace vyr {
namespace {

// A width x height target of '.' pixels with guard bytes on both sides.
class CircleTest : public testing::Test {
protected:
    static constexpr uint8_t GUARD = 0xEE;
    static constexpr int MARGIN = 256;
    int width = 0, height = 0;
    std::vector<uint8_t> memory;
    Screen* screen = nullptr;

    void make_target(int w, int h) {
        if (screen) destroy_screen(screen);
        width = w;
        height = h;
        memory.assign(2 * MARGIN + size_t(w) * h, GUARD);
        std::memset(memory.data() + MARGIN, '.', size_t(w) * h);
        screen = wrap_screen(w, h, 0, memory.data() + MARGIN);
        select_screen(screen);
    }
    void SetUp() override { make_target(12, 9); }
    void TearDown() override {
        for (int i = 0; i < MARGIN; ++i) {
            ASSERT_EQ(memory[i], GUARD);
            ASSERT_EQ(memory[memory.size() - 1 - i], GUARD);
        }
        destroy_screen(screen);
    }

    std::vector<std::string> picture() const {
        std::vector<std::string> rows;
        for (int y = 0; y < height; ++y) rows.emplace_back(reinterpret_cast<const char*>(screen->pixels) + y * width, width);
        return rows;
    }
};

TEST_F(CircleTest, OutlineHasTheMidpointPointsAndNotTheCentre) {
    draw_circle(1, 1, 1, '#');
    draw_circle(7, 4, 3, '#');
    draw_circle(10, 7, 0, '#');
    draw_circle(10, 7, -2, '#');
    EXPECT_EQ(picture(), (std::vector<std::string>{".#..........",
                                                   "#.#...###...",
                                                   ".#...#...#..",
                                                   "....#.....#.",
                                                   "....#.....#.",
                                                   "....#.....#.",
                                                   ".....#...#..",
                                                   "......###...",
                                                   "............"}));
}

TEST_F(CircleTest, ClippedOutlinesAreTheWholeOutlinesCutToTheClipRectangle) {
    struct Centre {
        int x, y;
    };
    // Every region around the clip rectangle (12, 12) to (27, 27), and inside it.
    const Centre centres[] = {{8, 8}, {20, 6}, {31, 9}, {7, 20}, {20, 20}, {33, 19}, {9, 31}, {20, 33}, {32, 31}};
    for (const Centre& centre : centres) {
        SCOPED_TRACE(testing::Message() << centre.x << "," << centre.y);
        make_target(40, 40);
        draw_circle(centre.x, centre.y, 7, '#');
        std::vector<std::string> expected = picture();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (x < 12 || x > 27 || y < 12 || y > 27) expected[y][x] = '.';
        make_target(40, 40);
        set_clip_rect(12, 12, 27, 27);
        draw_circle(centre.x, centre.y, 7, '#');
        EXPECT_EQ(picture(), expected);
    }
}

TEST_F(CircleTest, OutlineStaysOnTheTargetWhateverTheClipRectangle) {
    // Every point of these lies off the 12 x 9 target but inside the clip rectangle.
    set_clip_rect(-100, -100, 100, 100);
    draw_circle(0, 4, 20, '#');
    draw_circle(6, 4, 16, '#');
    set_clip_rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    draw_circle(INT32_MAX - 5, 4, 9, '#');
    EXPECT_EQ(picture(), std::vector<std::string>(9, "............"));
}

TEST_F(CircleTest, OutlineUnderTheAcceleratorWritesDisplayColoursToTheFrameBuffer) {
    constexpr int STRIDE_WORDS = 16;
    std::vector<uint32_t> words(STRIDE_WORDS * 9, 0);
    const uint32_t saved = display_colours['#'];
    display_colours['#'] = 0x00C08040;
    accelerator_flag = 1;
    frame_buffer = reinterpret_cast<uint8_t*>(words.data());
    frame_buffer_stride = STRIDE_WORDS * 4;
    set_clip_rect(0, 0, 11, 8);
    draw_circle(7, 4, 3, '#');
    accelerator_flag = 0;
    display_colours['#'] = saved;
    draw_circle(7, 4, 3, '#');  // the same points on the 8-bit target, for comparison
    const std::vector<std::string> expected = picture();
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < STRIDE_WORDS; ++x)
            EXPECT_EQ(words[y * STRIDE_WORDS + x], x < 12 && expected[y][x] == '#' ? 0x00C08040u : 0u) << x << "," << y;
}

struct FillCase {
    const char* name;
    std::function<void()> fill;
    std::vector<std::string> picture;
};

TEST_F(CircleTest, FillsPaintTheDiscWithTheirPattern) {
    const FillCase cases[] = {
        {"solid", [] { fill_circle(5, 4, 3, 0x23232323); },
         {"............", "....###.....", "...#####....", "..#######...", "..#######...", "..#######...",
          "...#####....", "....###.....", "............"}},
        {"stipple", [] { fill_circle_stipple(5, 4, 3, '#'); },
         {"............", ".....#......", "....#.#.....", "...#.#.#....", "..#.#.#.#...", "...#.#.#....",
          "....#.#.....", ".....#......", "............"}},
        {"sparse", [] { fill_circle_sparse(5, 4, 3, '#'); },
         {"............", "......#.....", "....#.......", "..#...#.....", "....#...#...", "..#...#.....",
          "....#.......", "......#.....", "............"}},
        {"cut at the left edge", [] { fill_circle(-1, 4, 3, 0x23232323); },
         {"............", "#...........", "##..........", "###.........", "###.........", "###.........",
          "##..........", "#...........", "............"}},
        {"radius 0", [] { fill_circle(5, 4, 0, 0x23232323); }, std::vector<std::string>(9, "............")},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.name);
        make_target(12, 9);
        c.fill();
        EXPECT_EQ(picture(), c.picture);
    }
}

}  // namespace
}  // namespace vyr
