#include "library/graphics/plot.h"

#include <gtest/gtest.h>

#include <vector>

#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "platform/timer/timer.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

// The 320 x 240 window of -10000 .. 10000 on both axes; the window found is put back after.
class PlotTest : public testing::Test {
protected:
    PlotWindow found{};
    void SetUp() override {
        save_plot(found);
        set_plot(0, 0, 320, 240, -10000, -10000, 10000, 10000);
    }
    void TearDown() override { restore_plot(found); }

    static std::pair<int32_t, int32_t> to_screen(int32_t x, int32_t y) {
        int32_t sx, sy;
        project_plot_point(x, y, sx, sy);
        return {sx, sy};
    }
    // Through the window coordinates, as lines and polygons convert.
    static std::pair<int32_t, int32_t> to_screen_clipped(int32_t x, int32_t y) {
        int32_t wx, wy;
        rotate_into_plot(x, y, wx, wy);
        return {plot_screen_x(wx), plot_screen_y(wy)};
    }
    static std::pair<int32_t, int32_t> to_world(int sx, int sy) {
        int32_t x, y;
        map_screen_to_plot(sx, sy, x, y);
        return {x, y};
    }
};

using Point = std::pair<int32_t, int32_t>;

TEST_F(PlotTest, ScalesAndCornersMapBothWays) {
    EXPECT_EQ(current_plot.x_scale, 34252364);
    EXPECT_EQ(current_plot.y_scale, -25662429);
    EXPECT_EQ(current_plot.centre_x, 0);
    EXPECT_EQ((std::vector<int32_t>{clip_x0, clip_y0, clip_x1, clip_y1}), (std::vector<int32_t>{0, 0, 319, 239}));
    const struct {
        Point world, screen;
    } cases[] = {
        {{0, 0}, {159, 120}},
        {{-10000, 10000}, {0, 0}},
        {{10000, -10000}, {319, 239}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(to_screen(c.world.first, c.world.second), c.screen);
        EXPECT_EQ(to_screen_clipped(c.world.first, c.world.second), c.screen);
    }
    EXPECT_EQ(to_world(0, 0), Point(-10000, 10000));
    EXPECT_EQ(to_world(319, 239), Point(10000, -10000));
}

TEST_F(PlotTest, ScreenRectangleAndWorldWindowChangeApart) {
    set_plot_screen_rect(100, 50, 160, 120);
    EXPECT_EQ((std::vector<int32_t>{clip_x0, clip_y0, clip_x1, clip_y1}), (std::vector<int32_t>{100, 50, 259, 169}));
    EXPECT_EQ(to_screen(-10000, 10000), Point(100, 50));
    EXPECT_EQ(to_screen(10000, -10000), Point(259, 169));

    set_plot_world_window(0, 0, 4000, 2000);
    EXPECT_EQ(current_plot.centre_x, 2000);
    EXPECT_EQ(current_plot.centre_y, 1000);
    EXPECT_EQ(to_screen(0, 2000), Point(100, 50));
    EXPECT_EQ(to_screen(4000, 0), Point(259, 169));
}

TEST_F(PlotTest, OffsetShiftsThePlaneAndSettingTheCentreCancelsIt) {
    set_plot_offset(1000, -2000);
    EXPECT_EQ(to_screen(-1000, 2000), to_screen_clipped(-1000, 2000));
    EXPECT_EQ(to_screen(-1000, 2000), Point(159, 120));

    set_plot_centre(300, 400);
    int32_t wx, wy;
    rotate_into_plot(0, 0, wx, wy);
    EXPECT_EQ(Point(wx, wy), Point(300, 400));
    EXPECT_EQ(current_plot.offset_less_centre_x, 0);
    EXPECT_EQ(current_plot.centre_less_world_y, 0);
}

TEST_F(PlotTest, AZeroSizedWorldWindowDoesNotDivideByZero) {
    set_plot(0, 0, 320, 240, 500, -10000, 500, 10000);
    EXPECT_EQ(current_plot.x_scale, 0);
    EXPECT_EQ(to_screen(500, 0).first, 0);
    to_world(10, 10);
    set_plot_world_window(-10000, 7, 10000, 7);
    EXPECT_EQ(current_plot.y_scale, 0);
    EXPECT_EQ(to_screen(0, 7).second, 239);
    to_world(10, 10);
    // A window far smaller than a pixel holds its scale at the largest word.
    set_plot_world_window(0, 0, 1, 1);
    EXPECT_EQ(current_plot.x_scale, 0x7FFFFFFF);
    EXPECT_EQ(current_plot.y_scale, -0x7FFFFFFF - 1);
}

TEST_F(PlotTest, SaveAndRestoreCarryTheWholeWindowAndItsClipRectangle) {
    set_plot_offset(5, 6);
    PlotWindow saved;
    save_plot(saved);
    set_plot(10, 10, 20, 20, 0, 0, 100, 100);
    set_clip_rect(1, 2, 3, 4);
    restore_plot(saved);
    EXPECT_EQ(current_plot.offset_x, 5);
    EXPECT_EQ(current_plot.x_scale, 34252364);
    EXPECT_EQ(to_screen(-5, -6), Point(159, 120));
    EXPECT_EQ((std::vector<int32_t>{clip_x0, clip_y0, clip_x1, clip_y1}), (std::vector<int32_t>{0, 0, 319, 239}));
}

TEST_F(PlotTest, ClassifiesPointsAgainstTheWorldWindow) {
    const struct {
        std::vector<int32_t> x, y;
        int expected;
    } cases[] = {
        {{-10000, 10000, 10000, -10000}, {-10000, -10000, 10000, 10000}, PLOT_ALL_INSIDE},  // on the edges
        {{-10001, -20000}, {0, 50000}, PLOT_ALL_OUTSIDE},
        {{0, 0}, {10001, 99999}, PLOT_ALL_OUTSIDE},
        {{-10001, 10001}, {0, 0}, PLOT_PARTLY_INSIDE},  // beyond opposite edges
        {{0, 20000}, {0, 20000}, PLOT_PARTLY_INSIDE},
        {{}, {}, PLOT_ALL_OUTSIDE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(classify_plot_points(c.x.data(), c.y.data(), int(c.x.size())), c.expected);
    // Window coordinates: the offset is not applied.
    set_plot_offset(50000, 0);
    int32_t x = 0, y = 0;
    EXPECT_EQ(classify_plot_points(&x, &y, 1), PLOT_ALL_INSIDE);
}

// Needs the trig tables, which are computed into a scratch working directory.
class PlotRotationTest : public ScratchDirectories {
protected:
    PlotWindow found{};
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        save_plot(found);
        set_plot(0, 0, 320, 240, -10000, -10000, 10000, 10000);
    }
    void TearDown() override {
        restore_plot(found);
        ScratchDirectories::TearDown();
    }
};

TEST_F(PlotRotationTest, AQuarterTurnTakesThePositiveXAxisToThePositiveYAxis) {
    set_plot_rotation(0x40000000);
    EXPECT_EQ(current_plot.sine, 0x7FFFFFFF);
    EXPECT_EQ(current_plot.cosine, 0);
    int32_t wx, wy;
    rotate_into_plot(5000, 0, wx, wy);
    EXPECT_EQ(Point(wx, wy), Point(0, 5000));
    // Turned about the centre of the window, not the origin of the plane.
    set_plot_world_window(0, 0, 20000, 20000);
    rotate_into_plot(15000, 10000, wx, wy);
    EXPECT_EQ(Point(wx, wy), Point(10000, 15000));
}

TEST_F(PlotRotationTest, ScreenToWorldUndoesRotationAndOffset) {
    set_plot_offset(-700, 300);
    for (uint32_t angle : {0x00000000u, 0x20000000u, 0x40000000u, 0x9C000000u}) {
        set_plot_rotation(angle);
        for (int32_t world_x : {-8000, 0, 2500})
            for (int32_t world_y : {-6000, 4000}) {
                int32_t sx, sy, back_x, back_y;
                project_plot_point(world_x, world_y, sx, sy);
                map_screen_to_plot(sx, sy, back_x, back_y);
                // One pixel is about 63 world units; allow for the rounding to a pixel.
                EXPECT_NEAR(back_x, world_x, 90) << angle;
                EXPECT_NEAR(back_y, world_y, 90) << angle;
            }
    }
}

TEST_F(PlotRotationTest, AngleTakesTheNearestOf8192Steps) {
    set_plot_rotation(0x40000000 - (1 << 18));  // half a step short rounds up
    EXPECT_EQ(current_plot.sine, 0x7FFFFFFF);
    set_plot_rotation(0xFFFFFFFFu);  // the last half step reads the table's repeated start
    EXPECT_EQ(current_plot.sine, 0);
    EXPECT_EQ(current_plot.cosine, 0x7FFFFFFF);
}

// An 8 x 6 target surrounded by guard bytes.
class PlotTargetTest : public PlotTest {
protected:
    static constexpr int WIDTH = 8, HEIGHT = 6, MARGIN = 64;
    static constexpr uint8_t GUARD = 0xEE;
    std::vector<uint8_t> memory;
    Screen* screen = nullptr;

    void SetUp() override {
        PlotTest::SetUp();
        memory.assign(2 * MARGIN + WIDTH * HEIGHT, GUARD);
        std::fill_n(memory.begin() + MARGIN, WIDTH * HEIGHT, 10);
        screen = wrap_screen(WIDTH, HEIGHT, 0, memory.data() + MARGIN);
        select_screen(screen);
    }
    void TearDown() override {
        for (int i = 0; i < MARGIN; ++i) {
            EXPECT_EQ(memory[i], GUARD);
            EXPECT_EQ(memory[memory.size() - 1 - i], GUARD);
        }
        destroy_screen(screen);
        PlotTest::TearDown();
    }
    uint8_t& at(int x, int y) { return memory[MARGIN + y * WIDTH + x]; }
    std::vector<uint8_t> row(int y) { return {&at(0, y), &at(0, y) + WIDTH}; }
};

TEST_F(PlotTargetTest, FillPlotFillsTheScreenRectangle) {
    set_plot(2, 1, 3, 2, 0, 0, 100, 100);
    fill_plot(0x07070707);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) EXPECT_EQ(at(x, y), x >= 2 && x <= 4 && y >= 1 && y <= 2 ? 7 : 10);
}

TEST_F(PlotTargetTest, BlitAdditiveAddsExceptZeroBytesAndTheKeyColour) {
    at(1, 0) = 200;  // the key colour
    at(3, 0) = 250;
    const uint8_t pixels[] = {5, 5, 0, 10};
    Sprite sprite{4, 1, 3, 3, pixels};  // the hot spot plays no part
    blit_additive(200, 0, 0, &sprite);
    EXPECT_EQ(row(0), (std::vector<uint8_t>{15, 200, 10, 4, 10, 10, 10, 10}));
}

TEST_F(PlotTargetTest, BlitAdditiveIsClippedToTheClipRectangleAndTheTarget) {
    const uint8_t pixels[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    Sprite sprite{3, 3, 0, 0, pixels};
    set_clip_rect(1, 1, 5, 4);
    blit_additive(0, 0, 0, &sprite);   // over the top-left corner of the clip rectangle
    blit_additive(0, 4, 3, &sprite);   // over its bottom-right corner
    EXPECT_EQ(row(0), (std::vector<uint8_t>{10, 10, 10, 10, 10, 10, 10, 10}));
    EXPECT_EQ(row(1), (std::vector<uint8_t>{10, 15, 16, 10, 10, 10, 10, 10}));
    EXPECT_EQ(row(2), (std::vector<uint8_t>{10, 18, 19, 10, 10, 10, 10, 10}));
    EXPECT_EQ(row(3), (std::vector<uint8_t>{10, 10, 10, 10, 11, 12, 10, 10}));
    EXPECT_EQ(row(4), (std::vector<uint8_t>{10, 10, 10, 10, 14, 15, 10, 10}));
    EXPECT_EQ(row(5), (std::vector<uint8_t>{10, 10, 10, 10, 10, 10, 10, 10}));
    // A clip rectangle larger than the target, and sprites hanging off or far beyond it.
    set_clip_rect(-100, -100, 100, 100);
    blit_additive(0, 6, 4, &sprite);
    blit_additive(0, -2, -2, &sprite);
    blit_additive(0, 1000000, 5, &sprite);
    blit_additive(0, -0x7FFFFFFF, -0x7FFFFFFF, &sprite);
    EXPECT_EQ(at(7, 5), 10 + 5);
    EXPECT_EQ(at(0, 0), 10 + 9);
}

// The scheduler keeps a window per cooperative thread; the scenario runs in a process of its own,
// in which the test's thread becomes "System".
TEST(ThreadedPlot, EachThreadDrawsWithItsOwnWindow) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            platform::set_clock_mode(platform::ClockMode::VIRTUAL);
            init_debug_text();
            start_timer();
            init_threads();
            set_plot(0, 0, 100, 100, 0, 0, 1000, 1000);
            create_thread("Drawer", [] {
                bool inherited = current_plot.screen_x1 == 99 && current_plot.world_x1 == 1000;
                set_plot(10, 10, 20, 20, -5, -5, 5, 5);
                yield_thread();
                bool kept = current_plot.world_x1 == 5 && clip_x0 == 10 && clip_x1 == 29;
                std::fprintf(stderr, "Drawer: %d %d\n", inherited, kept);
                std::_Exit(0);
            });
            yield_thread();
            std::fprintf(stderr, "System: %d\n", current_plot.world_x1 == 1000 && clip_x1 == 99);
            for (;;) yield_thread();
        },
        testing::ExitedWithCode(0), "^System: 1\nDrawer: 1 1\n$");
}

}  // namespace
}  // namespace vyr
