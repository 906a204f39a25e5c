#include "library/graphics/pointer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "library/graphics/ddraw.h"
#include "library/graphics/display.h"
#include "library/system/winmain.h"
#include "platform/display/display.h"

namespace vyr {
namespace {

// A 640 x 480 display filled with colour 9, and a 32 x 32 pointer of colour 200 with a hole.
class SoftwarePointer : public testing::Test {
protected:
    void SetUp() override {
        RequestBlock block = {0, 0, 0, 0};
        send_request(REQ_CREATE_DIRECTDRAW, block);
        ASSERT_EQ(set_video_mode(1), 1);
        fill_display(9);
        shape_pixels.assign(32 * 32, 200);
        shape_pixels[5 * 32 + 5] = 0;
        shape = {32, 32, 0, 0, nullptr, shape_pixels.data()};
        current_pointer_shape = &shape;
    }
    void TearDown() override {
        current_pointer_shape = nullptr;
        send_request(REQ_RESTORE_SYSTEM_PALETTE);
    }

    static void fill_display(uint8_t colour) {
        platform::SurfaceLock lock;
        ASSERT_EQ(platform::lock_surface(platform::Surface::VISIBLE, lock), platform::LockStatus::OK);
        for (int y = 0; y < lock.height; ++y) std::fill_n(lock.pixels + size_t(y) * lock.pitch, lock.width, colour);
        platform::unlock_surface(platform::Surface::VISIBLE);
    }

    static uint8_t pixel(int x, int y) {
        platform::SurfaceLock lock;
        EXPECT_EQ(platform::lock_surface(platform::Surface::VISIBLE, lock), platform::LockStatus::OK);
        uint8_t p = lock.pixels[size_t(y) * lock.pitch + x];
        platform::unlock_surface(platform::Surface::VISIBLE);
        return p;
    }

    static int count_colour(uint8_t colour) {
        platform::SurfaceLock lock;
        EXPECT_EQ(platform::lock_surface(platform::Surface::VISIBLE, lock), platform::LockStatus::OK);
        int n = 0;
        for (int y = 0; y < lock.height; ++y)
            for (int x = 0; x < lock.width; ++x) n += lock.pixels[size_t(y) * lock.pitch + x] == colour;
        platform::unlock_surface(platform::Surface::VISIBLE);
        return n;
    }

    std::vector<uint8_t> shape_pixels;
    PointerShape shape;
};

TEST_F(SoftwarePointer, LeavesTheShapesLastRowAndColumnAlone) {
    pointer_draw_x = pointer_draw_y = 0;
    save_pointer_background(1);
    draw_pointer(1);
    EXPECT_EQ(pixel(0, 0), 200);
    EXPECT_EQ(pixel(30, 30), 200);
    EXPECT_EQ(pixel(31, 30), 9);
    EXPECT_EQ(pixel(30, 31), 9);
    EXPECT_EQ(pixel(5, 5), 9);  // transparent
    EXPECT_EQ(count_colour(200), 31 * 31 - 1);
    restore_pointer_background(1);
    EXPECT_EQ(count_colour(9), 640 * 480);
}

TEST_F(SoftwarePointer, RestoresTheOldPlaceAfterAMoveAndClipsToTheDisplay) {
    pointer_draw_x = 620;
    pointer_draw_y = 470;  // half off the display's right and bottom
    save_pointer_background(1);
    draw_pointer(1);
    EXPECT_EQ(count_colour(200), 20 * 10 - 1);  // less the transparent pixel
    pointer_draw_x = 100;  // moved: the restore still puts back the old place
    pointer_draw_y = 100;
    restore_pointer_background(1);
    EXPECT_EQ(count_colour(9), 640 * 480);

    pointer_draw_x = pointer_draw_y = -40;  // wholly off: nothing is touched
    save_pointer_background(1);
    draw_pointer(1);
    EXPECT_EQ(count_colour(9), 640 * 480);
}

TEST_F(SoftwarePointer, BusySurfaceSkipsTheSaveButTheDrawWaits) {
    pointer_draw_x = pointer_draw_y = 50;
    save_pointer_background(1);  // saves colour 9
    platform::SurfaceLock lock;
    ASSERT_EQ(platform::lock_surface(platform::Surface::VISIBLE, lock), platform::LockStatus::OK);
    lock.pixels[size_t(50) * lock.pitch + 50] = 77;
    save_pointer_background(1);  // busy: skipped, the slot keeps colour 9
    std::thread holder([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        platform::unlock_surface(platform::Surface::VISIBLE);
    });
    draw_pointer(1);  // waits for the holder
    holder.join();
    EXPECT_EQ(pixel(50, 50), 200);
    restore_pointer_background(1);
    EXPECT_EQ(pixel(50, 50), 9);
}

}  // namespace
}  // namespace vyr
