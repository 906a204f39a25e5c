#include "platform/display/display.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "platform/timer/timer.h"
#include "platform/window/headless.h"

namespace vyr::platform {
namespace {

class Display : public testing::Test {
protected:
    static void SetUpTestSuite() { set_clock_mode(ClockMode::VIRTUAL); }

    void SetUp() override {
        auto window = std::make_unique<HeadlessWindow>();
        headless = window.get();
        install_window(std::move(window));
        set_listed_display_modes({{320, 200}, {320, 240}, {640, 480}, {800, 600}});
        set_lock_fault(LockStatus::OK);
        set_surfaces_lost(false);
        ASSERT_TRUE(open_display());
        start_periodic_timer([] {});
    }

    void TearDown() override {
        stop_periodic_timer();
        close_display();
        install_window(nullptr);
    }

    void open_mode(int width, int height, bool back_buffer) {
        ASSERT_TRUE(set_display_mode(width, height));
        ASSERT_TRUE(create_surfaces(back_buffer));
    }

    void write_pixel(Surface surface, int x, int y, uint8_t index) {
        SurfaceLock lock;
        ASSERT_EQ(lock_surface(surface, lock), LockStatus::OK);
        lock.pixels[y * lock.pitch + x] = index;
        unlock_surface(surface);
    }

    uint8_t read_pixel(Surface surface, int x, int y) {
        SurfaceLock lock;
        EXPECT_EQ(lock_surface(surface, lock), LockStatus::OK);
        uint8_t index = lock.pixels[y * lock.pitch + x];
        unlock_surface(surface);
        return index;
    }

    void set_entry(int index, uint8_t red, uint8_t green, uint8_t blue) {
        PaletteEntry entry{red, green, blue, 0};
        set_palette(&entry, index, 1);
    }

    uint32_t shown(int x, int y) { return headless->frame()[size_t(y) * headless->frame_width() + x]; }

    HeadlessWindow* headless = nullptr;
};

TEST_F(Display, PresentsTheVisibleSurfaceThroughItsPalette) {
    open_mode(640, 480, false);
    SurfaceLock lock;
    ASSERT_EQ(lock_surface(Surface::VISIBLE, lock), LockStatus::OK);
    EXPECT_EQ(lock.width, 640);
    EXPECT_EQ(lock.height, 480);
    EXPECT_GT(lock.pitch, 640);  // rows are padded, so a copy that ignores the pitch shows it
    lock.pixels[2 * lock.pitch + 3] = 7;
    lock.pixels[479 * lock.pitch + 639] = 9;
    unlock_surface(Surface::VISIBLE);
    set_entry(7, 1, 2, 3);
    set_entry(9, 255, 128, 0);

    present_display();

    ASSERT_EQ(headless->frame_width(), 640);
    ASSERT_EQ(headless->frame_height(), 480);
    EXPECT_EQ(shown(3, 2), 0x010203u);
    EXPECT_EQ(shown(639, 479), 0xFF8000u);
    EXPECT_EQ(shown(4, 2), 0u);
    EXPECT_EQ(shown(0, 3), 0u);
}

TEST_F(Display, AFrameTakesTwoVirtualTicksAndARefreshNone) {
    open_mode(320, 200, false);
    uint64_t before = timer_periods();
    present_display();
    EXPECT_EQ(timer_periods(), before + 2);

    set_entry(0, 10, 20, 30);
    refresh_display();
    EXPECT_EQ(timer_periods(), before + 2);
    EXPECT_EQ(headless->frame_width(), 320);
    EXPECT_EQ(shown(100, 100), 0x0A141Eu);  // a palette change between frames is seen
}

TEST_F(Display, FlipBringsTheBackBufferToTheFront) {
    open_mode(320, 240, true);
    set_entry(5, 0, 255, 0);
    write_pixel(Surface::BACK, 10, 20, 5);
    present_display();
    EXPECT_EQ(shown(10, 20), 0u);

    flip_surfaces();
    present_display();
    EXPECT_EQ(shown(10, 20), 0x00FF00u);
    EXPECT_EQ(read_pixel(Surface::BACK, 10, 20), 0);  // the old front is behind now
}

TEST_F(Display, OnlyListedModesAreSet) {
    set_listed_display_modes({{640, 480}});
    EXPECT_TRUE(display_lists_mode(640, 480));
    EXPECT_FALSE(display_lists_mode(320, 200));
    EXPECT_FALSE(set_display_mode(320, 200));
    EXPECT_TRUE(set_display_mode(640, 480));
    close_display();
    EXPECT_FALSE(set_display_mode(640, 480));
    EXPECT_FALSE(create_surfaces(false));
}

TEST_F(Display, ChangingTheModeReleasesTheSurfaces) {
    open_mode(640, 480, true);
    ASSERT_TRUE(set_display_mode(800, 600));
    EXPECT_FALSE(surface_exists(Surface::VISIBLE));
    EXPECT_FALSE(surface_exists(Surface::BACK));
    SurfaceLock lock;
    EXPECT_EQ(lock_surface(Surface::VISIBLE, lock), LockStatus::INVALID_OBJECT);
    ASSERT_TRUE(create_surfaces(false));
    EXPECT_EQ(lock_surface(Surface::VISIBLE, lock), LockStatus::OK);
    EXPECT_EQ(lock.width, 800);
    EXPECT_EQ(lock.height, 600);
    EXPECT_GE(lock.pitch, 800);
    unlock_surface(Surface::VISIBLE);
    EXPECT_FALSE(surface_exists(Surface::BACK));
}

TEST_F(Display, PaletteRangesAreCutToTheEntriesThatExist) {
    const struct {
        int first, count;
        bool left;
        int first_after, count_after, skip;
    } cases[] = {
        {0, 256, true, 0, 256, 0},   {250, 10, true, 250, 6, 0}, {-2, 4, true, 0, 2, 2},
        {256, 1, false, 0, 0, 0},    {10, 0, false, 0, 0, 0},    {-5, 3, false, 0, 0, 0},
        {0x7FFFFFF0, 0x7FFFFFF0, false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        int first = c.first, count = c.count, skip = -1;
        SCOPED_TRACE(testing::Message() << c.first << " + " << c.count);
        ASSERT_EQ(clamp_palette_range(first, count, skip), c.left);
        if (!c.left) continue;
        EXPECT_EQ(first, c.first_after);
        EXPECT_EQ(count, c.count_after);
        EXPECT_EQ(skip, c.skip);
    }

    PaletteEntry entries[10];
    for (int i = 0; i < 10; ++i) entries[i] = {uint8_t(i + 1), 0, 0, 0};
    set_palette(entries, 250, 10);
    PaletteEntry read[4] = {};
    get_palette(read, 254, 4);
    EXPECT_EQ(read[0].red, 5);
    EXPECT_EQ(read[1].red, 6);
    EXPECT_EQ(read[2].red, 0);  // nothing beyond entry 255 is read back
    get_palette(read, -2, 3);
    EXPECT_EQ(read[2].red, 0);  // entry 0
}

TEST_F(Display, LostSurfacesAndLockFaultsLastUntilCleared) {
    open_mode(640, 480, false);
    set_surfaces_lost(true);
    EXPECT_TRUE(surface_lost(Surface::VISIBLE));
    EXPECT_FALSE(restore_surface(Surface::VISIBLE));
    set_surfaces_lost(false);
    EXPECT_TRUE(restore_surface(Surface::VISIBLE));

    set_lock_fault(LockStatus::SURFACE_BUSY);
    SurfaceLock lock;
    EXPECT_EQ(lock_surface(Surface::VISIBLE, lock), LockStatus::SURFACE_BUSY);
    EXPECT_EQ(lock_surface(Surface::VISIBLE, lock), LockStatus::SURFACE_BUSY);
    set_lock_fault(LockStatus::OK);
    EXPECT_EQ(lock_surface(Surface::VISIBLE, lock), LockStatus::OK);
    unlock_surface(Surface::VISIBLE);
}

class ThreadedDisplay : public Display {};

TEST_F(ThreadedDisplay, SecondLockWaitsForTheFirst) {
    open_mode(320, 200, false);
    SurfaceLock lock;
    ASSERT_EQ(lock_surface(Surface::VISIBLE, lock), LockStatus::OK);
    std::thread other([] {
        SurfaceLock second;
        ASSERT_EQ(lock_surface(Surface::VISIBLE, second), LockStatus::OK);
        second.pixels[0] = 2;
        unlock_surface(Surface::VISIBLE);
    });
    lock.pixels[0] = 1;
    unlock_surface(Surface::VISIBLE);
    other.join();
    EXPECT_EQ(read_pixel(Surface::VISIBLE, 0, 0), 2);
}

}  // namespace
}  // namespace vyr::platform
