#include "library/graphics/line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <compare>
#include <functional>
#include <ostream>
#include <vector>

#include "library/graphics/ddraw.h"
#include "library/graphics/screen.h"

namespace vyr {
namespace {

struct Point {
    int x, y;
    auto operator<=>(const Point&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Point& p) { return out << "(" << p.x << "," << p.y << ")"; }

constexpr uint8_t BACKGROUND = 0x3C;
constexpr int SIZE = 16;

// A 16 x 16 target of `pitch` elements a row, remembering which pixels a drawing changed.
template <class Pixel>
struct Surface {
    int pitch;
    Pixel background;
    std::vector<Pixel> memory = std::vector<Pixel>(size_t(pitch) * SIZE, background);
    Pixel& at(int x, int y) { return memory[size_t(y) * pitch + x]; }
    void clear() { std::fill(memory.begin(), memory.end(), background); }
    // Changed pixels, sorted; a change in the padding shows up as a column >= SIZE.
    std::vector<Point> changed() {
        std::vector<Point> out;
        for (int y = 0; y < SIZE; ++y)
            for (int x = 0; x < pitch; ++x)
                if (at(x, y) != background) out.push_back({x, y});
        std::sort(out.begin(), out.end());
        return out;
    }
};

class LineTest : public testing::Test {
protected:
    void SetUp() override {
        screen = wrap_screen(SIZE, SIZE, 5, bytes.memory.data());
        select_screen(screen);
        saved_mask = dash_mask;
    }
    void TearDown() override {
        destroy_screen(screen);
        dash_mask = saved_mask;
    }

    Surface<uint8_t> bytes{SIZE + 5, BACKGROUND};
    Screen* screen = nullptr;
    uint32_t saved_mask = 0;
};

struct LineCase {
    int x1, y1, x2, y2;
    std::vector<Point> pixels;  // relative to the start's origin, in any order
};

// Worked by hand from the stepping rule: error starts at ceil(major / 2), loses minor each step
// and moves the minor axis when it falls to 0 or below. Reversed lines are worked separately.
const std::vector<LineCase> LINES = {
    {0, 0, 0, 0, {{0, 0}}},
    {0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
    {0, 0, 2, 1, {{0, 0}, {1, 1}, {2, 1}}},
    {2, 1, 0, 0, {{2, 1}, {1, 0}, {0, 0}}},
    {0, 0, 1, 2, {{0, 0}, {1, 1}, {1, 2}}},
    {1, 2, 0, 0, {{1, 2}, {0, 1}, {0, 0}}},
    {0, 0, 2, -1, {{0, 0}, {1, -1}, {2, -1}}},
    {0, 0, -2, 1, {{0, 0}, {-1, 1}, {-2, 1}}},
    {0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
    {0, 0, -3, 1, {{0, 0}, {-1, 0}, {-2, 1}, {-3, 1}}},
    {0, 0, -3, -1, {{0, 0}, {-1, 0}, {-2, -1}, {-3, -1}}},
    {0, 0, 3, -1, {{0, 0}, {1, 0}, {2, -1}, {3, -1}}},
    {0, 0, -1, 3, {{0, 0}, {0, 1}, {-1, 2}, {-1, 3}}},
    {0, 0, 1, -3, {{0, 0}, {0, -1}, {1, -2}, {1, -3}}},
    {0, 0, -1, -3, {{0, 0}, {0, -1}, {-1, -2}, {-1, -3}}},
    {0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
    {0, 0, -2, -5, {{0, 0}, {0, -1}, {-1, -2}, {-1, -3}, {-2, -4}, {-2, -5}}},
    {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
    {0, 0, -3, 3, {{0, 0}, {-1, 1}, {-2, 2}, {-3, 3}}},
    {0, 0, 4, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
    {0, 0, 0, -4, {{0, 0}, {0, -1}, {0, -2}, {0, -3}, {0, -4}}},
};

constexpr int ORIGIN = 7;

std::vector<Point> placed(const LineCase& line) {
    std::vector<Point> out;
    for (Point p : line.pixels) out.push_back({p.x + ORIGIN, p.y + ORIGIN});
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<Point> sorted(std::vector<Point> points) {
    std::sort(points.begin(), points.end());
    return points;
}

// Every form writes its pixels through its own writer; all must step alike.
TEST_F(LineTest, EveryFormDrawsThePixelsOfTheSteppingRule) {
    Surface<uint32_t> frame{SIZE + 3, 0xDEADBEEF};
    frame_buffer = reinterpret_cast<uint8_t*>(frame.memory.data());
    frame_buffer_stride = frame.pitch * 4;
    display_colours[9] = 0x00112233;
    Surface<uint8_t> display{SIZE + 7, BACKGROUND};
    int32_t offsets[SIZE];
    for (int y = 0; y < SIZE; ++y) offsets[y] = y * display.pitch;
    set_display_clip(0, 0, SIZE - 1, SIZE - 1);

    for (const LineCase& line : LINES) {
        int x1 = line.x1 + ORIGIN, y1 = line.y1 + ORIGIN, x2 = line.x2 + ORIGIN, y2 = line.y2 + ORIGIN;
        std::vector<Point> want = placed(line);
        bytes.clear();
        frame.clear();
        display.clear();
        draw_line(9, x1, y1, x2, y2);
        draw_line32(9, x1, y1, x2, y2);
        draw_xor_line_raw(display.memory.data(), offsets, x1, y1, x2, y2);
        Point from{line.x1, line.y1}, to{line.x2, line.y2};
        SCOPED_TRACE(testing::Message() << "line " << from << " to " << to);
        EXPECT_EQ(bytes.changed(), want);
        EXPECT_EQ(frame.changed(), want);
        EXPECT_EQ(display.changed(), want);
        for (Point p : want) {
            EXPECT_EQ(bytes.at(p.x, p.y), 9);
            EXPECT_EQ(frame.at(p.x, p.y), 0x00112233u);
            EXPECT_EQ(display.at(p.x, p.y), BACKGROUND ^ 0xB9);
        }
    }
    frame_buffer = nullptr;
    reset_display_clip();
}

TEST_F(LineTest, RemapAndXorChangeEachPixelOnce) {
    uint8_t table[256];
    for (int c = 0; c < 256; ++c) table[c] = uint8_t(c + 1);
    line_remap(table, 1, 1, 14, 6);
    line_xor(1, 9, 14, 12);
    for (Point p : bytes.changed()) EXPECT_EQ(bytes.at(p.x, p.y), p.y < 8 ? BACKGROUND + 1 : BACKGROUND ^ 0xFF) << p;
    EXPECT_EQ(bytes.changed().size(), 28u);
}

TEST_F(LineTest, XorTwiceRestoresTheTarget) {
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < bytes.pitch; ++x) bytes.at(x, y) = uint8_t(x * 17 + y * 5);
    std::vector<uint8_t> before = bytes.memory;
    const Point ends[][2] = {{{0, 0}, {15, 15}}, {{15, 2}, {0, 9}}, {{3, 14}, {5, 0}}, {{7, 7}, {7, 7}}};
    for (auto& e : ends) line_xor(e[0].x, e[0].y, e[1].x, e[1].y);
    EXPECT_EQ(bytes.at(15, 2), before[2 * bytes.pitch + 15] ^ 0xFF);
    for (auto& e : ends) line_xor(e[0].x, e[0].y, e[1].x, e[1].y);
    EXPECT_EQ(bytes.memory, before);

    Surface<uint8_t> display{SIZE + 1, 0};
    for (size_t i = 0; i < display.memory.size(); ++i) display.memory[i] = uint8_t(i * 31);
    std::vector<uint8_t> display_before = display.memory;
    int32_t offsets[SIZE];
    for (int y = 0; y < SIZE; ++y) offsets[y] = y * display.pitch;
    set_display_clip(0, 0, SIZE - 1, SIZE - 1);
    draw_xor_line_raw(display.memory.data(), offsets, 0, 3, 15, 11);
    draw_xor_dashed_line_raw(display.memory.data(), offsets, 15, 0, 1, 15);
    EXPECT_EQ(display.at(0, 3), display_before[3 * display.pitch] ^ 0xB9);
    EXPECT_NE(display.memory, display_before);
    draw_xor_line_raw(display.memory.data(), offsets, 0, 3, 15, 11);
    dash_mask = saved_mask;
    draw_xor_dashed_line_raw(display.memory.data(), offsets, 15, 0, 1, 15);
    EXPECT_EQ(display.memory, display_before);
    reset_display_clip();
}

TEST_F(LineTest, VerticalLineTakesEitherEndFirst) {
    draw_vline(4, 3, 9, 2);
    draw_vline(5, 10, 6, 6);
    std::vector<Point> want = {{10, 6}};
    for (int y = 2; y <= 9; ++y) want.push_back({3, y});
    EXPECT_EQ(bytes.changed(), sorted(want));
}

// With 0xCCCCCCCC two 5-pixel lines draw pixels 1, 2, 5 and then 1, 4, 5: the phase carries over.
TEST_F(LineTest, DashPhaseCarriesOverFromLineToLine) {
    dash_mask = 0xCCCCCCCC;
    line_dashed(6, 2, 2, 6, 2);
    line_dashed(6, 6, 3, 6, 7);
    EXPECT_EQ(bytes.changed(), (std::vector<Point>{{2, 2}, {3, 2}, {6, 2}, {6, 3}, {6, 6}, {6, 7}}));
    EXPECT_EQ(dash_mask, 0x33333333u);

    bytes.clear();
    dash_mask = 0xCCCCCCCC;
    line_dashed_xor(2, 2, 6, 2);
    line_dashed_xor(6, 3, 6, 7);
    EXPECT_EQ(bytes.changed(), (std::vector<Point>{{2, 2}, {3, 2}, {6, 2}, {6, 3}, {6, 6}, {6, 7}}));
    EXPECT_EQ(bytes.at(6, 6), BACKGROUND ^ 0xFF);
    EXPECT_EQ(dash_mask, 0x33333333u);
}

TEST_F(LineTest, DashedRemapStartsEveryLineFromTheCallersMask) {
    uint8_t table[256];
    for (int c = 0; c < 256; ++c) table[c] = uint8_t(c ^ 0x40);
    dash_mask = 0xCCCCCCCC;
    line_dashed_remap(table, 2, 2, 6, 2);
    line_dashed_remap(table, 2, 4, 6, 4);
    EXPECT_EQ(dash_mask, 0xCCCCCCCCu);
    EXPECT_EQ(bytes.changed(), sorted({{2, 2}, {3, 2}, {6, 2}, {2, 4}, {3, 4}, {6, 4}}));
    EXPECT_EQ(bytes.at(3, 4), BACKGROUND ^ 0x40);
}

// Display lines run on through pixels outside the display clip, dash phase included.
TEST_F(LineTest, DisplayLinesSkipPixelsOutsideTheDisplayClip) {
    Surface<uint8_t> display{SIZE + 2, BACKGROUND};
    int32_t offsets[SIZE];
    for (int y = 0; y < SIZE; ++y) offsets[y] = y * display.pitch;
    set_display_clip(3, 2, 12, 13);
    draw_xor_line_raw(display.memory.data(), offsets, 0, 5, 15, 5);
    draw_xor_line_raw(display.memory.data(), offsets, 1, -40, 1, 40);
    draw_xor_line_raw(display.memory.data(), offsets, 6, -9, 6, 0);
    std::vector<Point> want;
    for (int x = 3; x <= 12; ++x) want.push_back({x, 5});
    EXPECT_EQ(display.changed(), want);

    display.clear();
    dash_mask = 0xCCCCCCCC;
    draw_xor_dashed_line_raw(display.memory.data(), offsets, 0, 7, 9, 7);
    EXPECT_EQ(display.changed(), (std::vector<Point>{{4, 7}, {5, 7}, {8, 7}, {9, 7}}));
    EXPECT_EQ(dash_mask, 0x33333333u);
    reset_display_clip();
}

}  // namespace
}  // namespace vyr
