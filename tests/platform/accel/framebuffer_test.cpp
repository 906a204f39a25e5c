#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "platform/timer/timer.h"
#include "tests/platform/accel/accel_fixture.h"
#include "tests/platform/window/stub_window.h"

namespace vyr::platform::accel {
namespace {

// A window that keeps what it is asked to present.
class PresentRecorder final : public StubWindow {
public:
    int presents = 0;
    std::vector<uint32_t> frame;

    void present(const uint32_t* pixels, int width, int height, int pitch) override {
        ++presents;
        frame.assign(pixels, pixels + pitch * height);
        EXPECT_EQ(width, SCREEN_WIDTH);
        EXPECT_EQ(pitch, SCREEN_WIDTH);
    }
};

// Colours are checked to the level: truncated, not dithered.
class FramebufferTest : public AccelTest {
protected:
    void SetUp() override {
        AccelTest::SetUp();
        set_dither_mode(DitherMode::DISABLED);
    }
    void TearDown() override {
        install_window(nullptr);
        AccelTest::TearDown();
    }
    static uint16_t read(LockBuffer which, int x, int y) {
        LockedBuffer lock;
        EXPECT_TRUE(lock_frame_buffer(LockAccess::READ, which, LockFormat::RGB565, lock));
        uint16_t value;
        std::memcpy(&value, static_cast<uint8_t*>(lock.pixels) + y * lock.stride + 2 * x, 2);
        unlock_frame_buffer(LockAccess::READ, which);
        return value;
    }
    static void write_888(const LockedBuffer& lock, int x, int y, uint32_t rgb) {
        std::memcpy(static_cast<uint8_t*>(lock.pixels) + y * lock.stride + 4 * x, &rgb, 4);
    }
};

TEST_F(FramebufferTest, ClearFillsTheBackBufferAndSwapShowsIt) {
    EXPECT_EQ(count_boards(), 1);
    clear_buffer(0x12345678);
    EXPECT_EQ(read(LockBuffer::BACK, 639, 479), rgb565(0x12, 0x34, 0x56));
    EXPECT_EQ(read(LockBuffer::FRONT, 0, 0), 0);
    swap_buffers(0);
    EXPECT_EQ(read(LockBuffer::FRONT, 0, 0), rgb565(0x12, 0x34, 0x56));
    EXPECT_EQ(read(LockBuffer::BACK, 0, 0), 0);
}

// 888 writes go in on the last unlock, over the picture and over what was drawn meanwhile;
// pixels not written keep the picture.
TEST_F(FramebufferTest, WritesIn888LandConvertedOnTheLastUnlock) {
    clear_buffer(0x0000FF00);
    LockedBuffer outer, inner, other;
    ASSERT_TRUE(lock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK, LockFormat::RGB888, outer));
    EXPECT_EQ(outer.stride, SCREEN_WIDTH * 4);
    write_888(outer, 5, 5, 0x00FF8040);
    draw_rectangle(0, 0, 10, 10, 0, 255, 0);
    ASSERT_TRUE(lock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK, LockFormat::RGB888, inner));
    EXPECT_EQ(inner.pixels, outer.pixels);
    EXPECT_FALSE(
        lock_frame_buffer(LockAccess::WRITE, LockBuffer::FRONT, LockFormat::RGB888, other));
    EXPECT_FALSE(
        lock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK, LockFormat::RGB565, other));
    write_888(inner, 639, 479, 0x00000000);
    unlock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK);
    EXPECT_EQ(pixel(5, 5), rgb565(0, 255, 0));  // still held by the outer lock
    unlock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK);
    EXPECT_EQ(pixel(5, 5), rgb565(0xFF, 0x80, 0x40));
    EXPECT_EQ(pixel(6, 5), rgb565(0, 255, 0));
    EXPECT_EQ(pixel(639, 479), 0);
    EXPECT_EQ(pixel(638, 479), rgb565(0, 0, 255));

    // The next lock starts with nothing written.
    ASSERT_TRUE(lock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK, LockFormat::RGB888, outer));
    draw_rectangle(0, 0, 10, 10, 255, 255, 255);
    unlock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK);
    EXPECT_EQ(pixel(5, 5), rgb565(255, 255, 255));
}

// Scattered writes land wherever they are, alone or in runs, at either end of a row or across
// rows; every pixel not written keeps the picture.
TEST_F(FramebufferTest, Scattered888WritesLandAndNothingElseChanges) {
    clear_buffer(0x0000FF00);
    const uint16_t blue = pixel(0, 0);
    std::vector<uint16_t> expected(SCREEN_WIDTH * SCREEN_HEIGHT, blue);
    struct Run {
        int first, count;  // pixel numbers from (0, 0)
    };
    const Run runs[] = {{0, 1},           {639, 1},          {1279, 2},      {3 * 640 + 3, 1},
                        {3 * 640 + 9, 5},  {100 * 640 + 2, 1}, {102 * 640 + 1, 1}, {105 * 640, 2},
                        {200 * 640 + 317, 700}, {479 * 640 + 639, 1}};
    LockedBuffer lock;
    ASSERT_TRUE(lock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK, LockFormat::RGB888, lock));
    uint32_t step = 0;
    for (const Run& run : runs) {
        for (int p = run.first; p < run.first + run.count; ++p, step += 0x00050301) {
            const uint32_t rgb = (0x00102030 + step) & 0x00FFFFFF;
            write_888(lock, p % SCREEN_WIDTH, p / SCREEN_WIDTH, rgb);
            expected[p] = rgb565(rgb >> 16 & 255, rgb >> 8 & 255, rgb & 255);
        }
    }
    unlock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK);
    EXPECT_EQ(back_buffer(), expected);
}

// A swap ends a lock still held: its writes reach the frame being shown, and the unlock after it,
// now naming the other buffer, leaves nothing locked.
TEST_F(FramebufferTest, ASwapEndsAn888LockStillHeld) {
    LockedBuffer lock;
    ASSERT_TRUE(lock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK, LockFormat::RGB888, lock));
    write_888(lock, 5, 5, 0x00FF0000);
    swap_buffers(0);
    unlock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK);
    EXPECT_EQ(read(LockBuffer::FRONT, 5, 5), rgb565(255, 0, 0));
    for (LockBuffer which : {LockBuffer::FRONT, LockBuffer::BACK}) {
        ASSERT_TRUE(lock_frame_buffer(LockAccess::WRITE, which, LockFormat::RGB888, lock));
        unlock_frame_buffer(LockAccess::WRITE, which);
    }
}

// A clear and 888 writes make the same pixels as a polygon of their colour, so that nothing
// drawn over either in that colour shows an edge.
TEST_F(FramebufferTest, ClearsAnd888WritesDitherAsPolygonsDo) {
    set_dither_mode(DitherMode::ORDERED);
    draw_rectangle(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0x6A, 0x9D, 0x35);
    const std::vector<uint16_t> polygon = back_buffer();
    EXPECT_NE(std::count(polygon.begin(), polygon.end(), polygon[0]), int(polygon.size()));

    clear_buffer(0x6A9D3500);
    EXPECT_EQ(back_buffer(), polygon);

    clear_buffer(0);
    LockedBuffer lock;
    ASSERT_TRUE(lock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK, LockFormat::RGB888, lock));
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x)
            write_888(lock, x, y, 0x006A9D35);
    unlock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK);
    EXPECT_EQ(back_buffer(), polygon);
}

TEST_F(FramebufferTest, WritesIn565GoStraightIn) {
    LockedBuffer lock;
    ASSERT_TRUE(lock_frame_buffer(LockAccess::WRITE, LockBuffer::FRONT, LockFormat::RGB565, lock));
    EXPECT_EQ(lock.stride, SCREEN_WIDTH * 2);
    static_cast<uint16_t*>(lock.pixels)[SCREEN_WIDTH * 2 + 3] = 0xBEEF;
    EXPECT_EQ(read(LockBuffer::FRONT, 3, 2), 0xBEEF);
    unlock_frame_buffer(LockAccess::WRITE, LockBuffer::FRONT);
    shut_down();
    EXPECT_FALSE(lock_frame_buffer(LockAccess::READ, LockBuffer::FRONT, LockFormat::RGB565, lock));
    EXPECT_EQ(lock.pixels, nullptr);
}

TEST_F(FramebufferTest, SwapsPresentOnlyWhileThe3dBuffersHaveTheScreen) {
    install_window(std::make_unique<PresentRecorder>());
    auto* recorder = static_cast<PresentRecorder*>(window());
    open_display();
    set_dither_mode(DitherMode::DISABLED);
    EXPECT_TRUE(is_3d_display_shown());
    EXPECT_EQ(recorder->presents, 1);  // taking the screen shows the front buffer

    clear_buffer(0xFF000000);
    swap_buffers(0);
    EXPECT_EQ(recorder->presents, 2);
    EXPECT_EQ(recorder->frame[1000], 0x00FF0000u);

    hand_display_to_2d();
    EXPECT_FALSE(is_3d_display_shown());
    swap_buffers(0);
    EXPECT_EQ(recorder->presents, 2);
    show_3d_display();
    EXPECT_EQ(recorder->presents, 3);
    EXPECT_EQ(recorder->frame[1000], 0u);  // the swap while handed back still happened

    // Gamma shapes what is shown, not what the buffers hold.
    clear_buffer(0x84848400);
    set_gamma(0.5f);
    set_gamma(-1.0f);
    swap_buffers(0);
    int level = (0x84 >> 3 << 3 | 0x84 >> 5);  // the 565 level, widened
    int shown = int(std::lround(255.0 * std::pow(level / 255.0, 2.0)));
    EXPECT_EQ(recorder->frame[0] >> 16, uint32_t(shown));
    EXPECT_EQ(read(LockBuffer::FRONT, 0, 0), rgb565(0x84, 0x84, 0x84));
}

// Under the virtual clock each vertical blank waited for is two ticks of time.
TEST_F(FramebufferTest, SwapIntervalWaitsForVerticalBlanks) {
    set_clock_mode(ClockMode::VIRTUAL);
    ASSERT_TRUE(start_periodic_timer([] {}));
    swap_buffers(0);
    EXPECT_EQ(timer_periods(), 0u);
    swap_buffers(1);
    EXPECT_EQ(timer_periods(), 2u);
    swap_buffers(3);
    EXPECT_EQ(timer_periods(), 8u);
    stop_periodic_timer();
}

TEST_F(FramebufferTest, TheOffscreenTargetTakesClearsAndPrimitivesWhileSelected) {
    clear_buffer(0x00000000);
    select_offscreen_target(true);
    clear_buffer(0xFF000000);
    draw_triangle(at(0, 0), at(0, 40), at(40, 0));
    LockedBuffer lock;
    EXPECT_FALSE(lock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK, LockFormat::RGB888, lock));
    select_offscreen_target(false);
    EXPECT_EQ(offscreen_target()[SCREEN_WIDTH * 30 + 300], rgb565(255, 0, 0));
    EXPECT_EQ(offscreen_target()[SCREEN_WIDTH * 5 + 5], rgb565(255, 255, 255));
    EXPECT_EQ(read(LockBuffer::BACK, 5, 5), 0);
    EXPECT_EQ(read(LockBuffer::BACK, 300, 30), 0);
    // Deselected, primitives reach the back buffer again.
    draw_triangle(at(0, 0), at(0, 40), at(40, 0));
    EXPECT_EQ(read(LockBuffer::BACK, 5, 5), rgb565(255, 255, 255));
    shut_down();
    EXPECT_EQ(offscreen_target(), nullptr);
    select_offscreen_target(true);
    EXPECT_EQ(draw_buffer(), nullptr);
}

}  // namespace
}  // namespace vyr::platform::accel
