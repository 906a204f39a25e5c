#include "library/graphics/plot_draw.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "library/graphics/circle.h"
#include "library/graphics/font.h"
#include "library/graphics/line.h"
#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "platform/accel/framebuffer.h"
#include "tests/support/recording_plot.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

constexpr uint8_t BACKGROUND = 0;
constexpr int COLOUR = 5;

using Ends = std::vector<int32_t>;

// A 320 x 240 target with guard bytes around it, under the window of -10000 .. 10000.
class PlotDrawTest : public testing::Test {
protected:
    static constexpr int WIDTH = 320, HEIGHT = 240, MARGIN = 1024;
    static constexpr uint8_t GUARD = 0xEE;
    std::vector<uint8_t> memory;
    Screen* screen = nullptr;
    PlotWindow found{};

    void SetUp() override {
        memory.assign(2 * MARGIN + WIDTH * HEIGHT, GUARD);
        clear();
        screen = wrap_screen(WIDTH, HEIGHT, 0, memory.data() + MARGIN);
        select_screen(screen);
        save_plot(found);
        set_plot(0, 0, WIDTH, HEIGHT, -10000, -10000, 10000, 10000);
    }
    void TearDown() override {
        restore_plot(found);
        destroy_screen(screen);
        for (int i = 0; i < MARGIN; ++i) {
            ASSERT_EQ(memory[i], GUARD);
            ASSERT_EQ(memory[memory.size() - 1 - i], GUARD);
        }
    }
    void clear() { std::fill_n(memory.begin() + MARGIN, WIDTH * HEIGHT, BACKGROUND); }
    uint8_t at(int x, int y) const { return memory[MARGIN + y * WIDTH + x]; }
    std::vector<uint8_t> picture() const { return {memory.begin() + MARGIN, memory.end() - MARGIN}; }
    int drawn_count() const {
        std::vector<uint8_t> p = picture();
        return int(p.size()) - int(std::count(p.begin(), p.end(), BACKGROUND));
    }
    // What is on the target now is exactly what `reference` draws on a clear one.
    void expect_drawn_as(const std::function<void()>& reference) {
        std::vector<uint8_t> drawn = picture();
        clear();
        reference();
        EXPECT_EQ(drawn, picture());
    }
    static Ends clip(Ends line) {
        if (!clip_plot_line(line[0], line[1], line[2], line[3])) return {};
        return line;
    }
};

TEST_F(PlotDrawTest, ALineInsideIsDrawnBetweenItsConvertedEnds) {
    draw_plot_line(-10000, 10000, 10000, -10000, COLOUR);
    draw_plot_line(0, 0, 5000, 2500, COLOUR);
    expect_drawn_as([] {
        draw_line(COLOUR, 0, 0, 319, 239);
        draw_line(COLOUR, 159, 120, 239, 90);
    });
}

TEST_F(PlotDrawTest, LinesAreClippedToTheWorldWindow) {
    const struct {
        Ends world, screen;
    } cases[] = {
        {{0, 0, 20000, 0}, {159, 120, 319, 120}},
        {{0, 0, 20000, 10000}, {159, 120, 319, 60}},  // cut at (10000, 5000)
        {{-20000, 0, 20000, 0}, {0, 120, 319, 120}},
        {{-20000, -20000, 20000, 20000}, {0, 239, 319, 0}},  // through two corners
        {{5000, 30000, 5000, -30000}, {239, 0, 239, 239}},
        {{-20000, -5000, -15000, 5000}, {}},  // wholly beyond the left edge
        {{-12000, 9000, -9000, 12000}, {}},   // across the corner region outside
        {{20000, 0, 0, 40000}, {}},           // right end cut to the right edge lands above
    };
    for (const auto& c : cases) {
        EXPECT_EQ(clip(c.world), c.screen);
        draw_plot_line(c.world[0], c.world[1], c.world[2], c.world[3], COLOUR);
        EXPECT_EQ(drawn_count() == 0, c.screen.empty());
        clear();
    }
}

TEST_F(PlotDrawTest, ProjectedLinesTakeWindowCoordinatesAndTheirOutcodes) {
    set_plot_offset(3000, 3000);  // no part in window coordinates
    int32_t x0 = 0, y0 = 0, x1 = 20000, y1 = 10000;
    ASSERT_EQ(project_plot_line(x0, y0, 0, x1, y1, PLOT_RIGHT), 1);
    EXPECT_EQ((Ends{x0, y0, x1, y1}), (Ends{159, 120, 319, 60}));
    x0 = -20000, y0 = 0, x1 = 20000, y1 = 0;
    ASSERT_EQ(project_plot_line(x0, y0, PLOT_LEFT, x1, y1, PLOT_RIGHT), 1);
    EXPECT_EQ((Ends{x0, y0, x1, y1}), (Ends{0, 120, 319, 120}));
    x0 = -20000, y0 = 0, x1 = -15000, y1 = 100;
    EXPECT_EQ(project_plot_line(x0, y0, PLOT_LEFT, x1, y1, PLOT_LEFT), 0);
    x0 = -12000, y0 = 9000, x1 = -9000, y1 = 12000;
    EXPECT_EQ(project_plot_line(x0, y0, PLOT_LEFT, x1, y1, PLOT_ABOVE), 0);
}

TEST_F(PlotDrawTest, ARecorderKeepsWorldUnitsAndNothingIsDrawn) {
    set_plot_offset(3000, 3000);
    {
        RecordingPlot plot;
        draw_plot_line(-20000, 0, 20000, 0, COLOUR);  // beyond the window: kept whole, unclipped
        draw_plot_line_dashed(0, 0, 100, 100, COLOUR);
        draw_plot_point(50, 60, COLOUR);
        fill_plot_circle(1, 2, 300, 0x5555);
        place_text_at_plot_point(5000, -5000);
        text_colour = COLOUR;
        draw_text("TGT");
        draw_char('7');
        ASSERT_EQ(plot.lines.size(), 2u);
        EXPECT_EQ((Ends{plot.lines[0].x0, plot.lines[0].y0, plot.lines[0].x1, plot.lines[0].y1}),
                  (Ends{-20000, 0, 20000, 0}));
        EXPECT_TRUE(plot.lines[1].dashed);
        ASSERT_EQ(plot.points.size(), 1u);
        EXPECT_EQ(plot.points[0].x, 50);
        ASSERT_EQ(plot.circles.size(), 1u);
        EXPECT_EQ(plot.circles[0].fill, PlotFill::PATTERN);
        EXPECT_EQ(plot.circles[0].colour_or_pattern, 0x5555u);
        EXPECT_EQ(plot.all_text(), "TGT|7");
        ASSERT_NE(plot.find_text("TGT"), nullptr);
        EXPECT_EQ(plot.find_text("TGT")->world_x, 5000);
        EXPECT_EQ(plot.find_text("TGT")->world_y, -5000);
        EXPECT_EQ(plot.find_text("TGT")->colour, COLOUR);
    }
    EXPECT_EQ(drawn_count(), 0);
    draw_plot_point(0, 0, COLOUR);  // the recorder gone, drawing is real again
    EXPECT_EQ(drawn_count(), 1);
}

TEST_F(PlotDrawTest, ADashedLineWritesTheScreenEvenUnderTheAccelerator) {
    uint32_t kept = dash_mask;
    dash_mask = 0xAAAAAAAA;
    accelerator_flag = 1;
    draw_plot_line_dashed(-10000, 0, 10000, 0, COLOUR);
    accelerator_flag = 0;
    dash_mask = kept;
    for (int x = 0; x < WIDTH; ++x) ASSERT_EQ(at(x, 120), x % 2 == 0 ? COLOUR : BACKGROUND) << x;
    EXPECT_EQ(drawn_count(), WIDTH / 2);
}

TEST_F(PlotDrawTest, ASolidLineUnderTheAcceleratorGoesIntoItsBackBuffer) {
    namespace accel = platform::accel;
    accel::open_display();
    uint32_t kept = display_colours[COLOUR];
    display_colours[COLOUR] = 0x00FF0000;
    accelerator_flag = 1;
    draw_plot_line(-10000, 0, 20000, 0, COLOUR);
    accelerator_flag = 0;
    display_colours[COLOUR] = kept;
    const uint16_t* back = accel::draw_buffer();
    for (int x = 0; x < WIDTH; ++x) EXPECT_EQ(back[120 * accel::SCREEN_WIDTH + x], 0xF800) << x;
    EXPECT_EQ(back[120 * accel::SCREEN_WIDTH + WIDTH], 0);
    EXPECT_EQ(back[119 * accel::SCREEN_WIDTH + 5], 0);
    EXPECT_EQ(drawn_count(), 0);
    accel::shut_down();
}

TEST_F(PlotDrawTest, PointsAreDrawnOnlyInsideTheScreenRectangle) {
    // 19 pixels across 1900 units, the rectangle (10, 10) .. (29, 29).
    set_plot(10, 10, 20, 20, 0, 0, 1900, 1900);
    const struct {
        int32_t x, y;
        int screen_x, screen_y;
        bool drawn;
    } cases[] = {
        {1900, 0, 29, 29, true},
        {0, 1900, 10, 10, true},
        {950, 950, 19, 20, true},
        {2000, 0, 30, 29, false},
        {0, 2000, 10, 9, false},
        {-100, 0, 9, 29, false},
    };
    for (const auto& c : cases) {
        draw_plot_point(c.x, c.y, COLOUR);
        EXPECT_EQ(at(c.screen_x, c.screen_y), c.drawn ? COLOUR : BACKGROUND) << c.x << "," << c.y;
        EXPECT_EQ(drawn_count(), c.drawn ? 1 : 0);
        clear();
    }
}

TEST_F(PlotDrawTest, TextIsPlacedAtTheConvertedPointUnclipped) {
    place_text_at_plot_point(0, 0);
    EXPECT_EQ((Ends{text_x, text_y}), (Ends{159, 120}));
    place_text_at_plot_point(20000, -10000);
    EXPECT_EQ((Ends{text_x, text_y}), (Ends{478, 239}));
}

TEST_F(PlotDrawTest, CirclesTakeTheirPixelRadiusFromTheXScaleAlone) {
    // 2000 units are 31.9 pixels across and 23.9 down; the radius is 32.
    const struct {
        std::function<void()> plotted, reference;
    } cases[] = {
        {[] { draw_plot_circle(0, 0, 2000, COLOUR); }, [] { draw_circle(159, 120, 32, COLOUR); }},
        {[] { fill_plot_circle(0, 0, 2000, 0x05050505); }, [] { fill_circle(159, 120, 32, 0x05050505); }},
        {[] { fill_plot_circle_sparse(0, 0, 2000, COLOUR); }, [] { fill_circle_sparse(159, 120, 32, COLOUR); }},
    };
    for (const auto& c : cases) {
        c.plotted();
        ASSERT_GT(drawn_count(), 0);
        expect_drawn_as(c.reference);
        clear();
    }
    draw_plot_circle(0, 0, 2000, COLOUR);
    EXPECT_EQ(at(159, 88), COLOUR);
}

// Rotation needs the trig tables, computed into a scratch working directory.
class PlotDrawRotationTest : public ScratchDirectories {};

TEST_F(PlotDrawRotationTest, ARotatedLineIsTurnedAboutTheWindowCentre) {
    init_trig_tables();
    std::vector<uint8_t> pixels(320 * 240, 0), expected(320 * 240, 0);
    Screen* screen = wrap_screen(320, 240, 0, pixels.data());
    select_screen(screen);
    PlotWindow found;
    save_plot(found);
    set_plot(0, 0, 320, 240, -10000, -10000, 10000, 10000);
    set_plot_rotation(0x40000000);
    draw_plot_line(0, 0, 5000, 0, COLOUR);
    draw_plot_line(-5000, 0, -30000, 0, COLOUR);  // cut at the bottom edge once turned
    restore_plot(found);
    destroy_screen(screen);

    screen = wrap_screen(320, 240, 0, expected.data());
    select_screen(screen);
    draw_line(COLOUR, 159, 120, 159, 60);
    draw_line(COLOUR, 159, 179, 159, 239);
    destroy_screen(screen);
    EXPECT_EQ(pixels, expected);
}

}  // namespace
}  // namespace vyr
