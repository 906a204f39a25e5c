#include "library/ui/repaint.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "library/debug/fatal.h"
#include "library/graphics/ddraw.h"
#include "library/system/exit.h"
#include "library/system/key.h"
#include "platform/accel/framebuffer.h"
#include "tests/library/ui/ui_fixture.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

class RepaintAreas : public testing::Test {
protected:
    void SetUp() override {
        set_display_clip(0, 0, 639, 479);
        discard_repaint_areas();
    }
    void TearDown() override { discard_repaint_areas(); }

    static std::string areas() {
        std::string text;
        for (const RepaintArea* area = repaint_head; area; area = area->next)
            text += std::to_string(area->x0) + "," + std::to_string(area->y0) + "," + std::to_string(area->x1) + "," +
                    std::to_string(area->y1) + " ";
        return text;
    }
};

TEST_F(RepaintAreas, NewRectanglesAreCutAroundTheQueuedOnes) {
    const struct {
        const char* what;
        std::vector<std::vector<int>> queued;  // x0, y0, x1, y1, whole
        const char* expected;
    } cases[] = {
        {"inside an area", {{0, 0, 99, 99, 0}, {10, 10, 20, 20, 0}, {5, 5, 30, 30, 1}}, "0,0,99,99 "},
        {"overlapping", {{0, 0, 99, 99, 0}, {50, 50, 149, 149, 0}}, "0,0,99,99 100,50,149,99 50,100,149,149 "},
        {"around all four sides", {{40, 40, 59, 59, 0}, {0, 0, 99, 99, 0}},
         "40,40,59,59 0,0,99,39 0,40,39,59 60,40,99,59 0,60,99,99 "},
        {"whole over several",
         {{10, 10, 19, 19, 0}, {200, 200, 209, 209, 0}, {95, 10, 120, 20, 0}, {0, 0, 99, 99, 1}},
         "0,0,99,99 200,200,209,209 100,10,120,20 "},
        {"partly outside the display", {{600, 470, 700, 500, 0}, {-5, -5, 3, 3, 1}}, "0,0,3,3 600,470,639,479 "},
        {"wholly outside", {{640, 0, 700, 10, 0}, {0, -9, 10, -1, 1}}, ""},
    };
    for (const auto& c : cases) {
        discard_repaint_areas();
        for (const std::vector<int>& q : c.queued) invalidate_area(q[0], q[1], q[2], q[3], q[4]);
        EXPECT_EQ(areas(), c.expected) << c.what;
        EXPECT_EQ(update_required, repaint_count) << c.what;
    }
}

TEST_F(RepaintAreas, MoreThanSixtyFourAreasCollapseIntoOne) {
    for (int i = 0; i < 65; ++i) invalidate_area(i * 4, 0, i * 4 + 1, 1, 0);
    EXPECT_EQ(repaint_count, 65);
    invalidate_area(300, 300, 300, 300, 0);
    EXPECT_EQ(areas(), "0,0,300,300 ");
    EXPECT_EQ(repaint_count, 1);
}

// Random rectangles, whole and not, many times over: the list never overlaps, covers everything
// queued, and never runs out of nodes (re-queueing whole frees the old nodes first).
TEST_F(RepaintAreas, AnyMixOfQueuesKeepsTheListDisjointAndCovering) {
    std::mt19937 random(12);
    for (int round = 0; round < 40; ++round) {
        discard_repaint_areas();
        std::vector<uint8_t> queued(640 * 480);
        for (int i = 0; i < 80; ++i) {
            int x0 = int(random() % 700) - 30, y0 = int(random() % 520) - 20;
            int x1 = x0 + int(random() % 90), y1 = y0 + int(random() % 90);
            invalidate_area(x0, y0, x1, y1, int(random() % 3 == 0));
            for (int y = std::max(y0, 0); y <= std::min(y1, 479); ++y)
                for (int x = std::max(x0, 0); x <= std::min(x1, 639); ++x) queued[size_t(y) * 640 + x] = 1;
        }
        std::vector<uint8_t> covered(640 * 480);
        for (const RepaintArea* area = repaint_head; area; area = area->next)
            for (int y = area->y0; y <= area->y1; ++y)
                for (int x = area->x0; x <= area->x1; ++x) ASSERT_EQ(covered[size_t(y) * 640 + x]++, 0) << round;
        for (size_t i = 0; i < queued.size(); ++i) ASSERT_TRUE(!queued[i] || covered[i]) << round << " " << i;
    }
}

// 64 strips give way to a whole bar across them: each splits in two, and the old nodes must be
// free before the pieces are added, or the pool runs out.
TEST_F(RepaintAreas, ABarQueuedWholeAcrossSixtyFourStripsFitsThePool) {
    for (int k = 0; k < REPAINT_COLLAPSE; ++k) invalidate_area(0, 2 * k, 639, 2 * k, 0);
    invalidate_area(100, 0, 199, 127, 1);
    int covered = 0;
    for (const RepaintArea* area = repaint_head; area; area = area->next)
        covered += (area->x1 - area->x0 + 1) * (area->y1 - area->y0 + 1);
    EXPECT_GE(covered, REPAINT_COLLAPSE * 540 + 100 * 128);
    EXPECT_FALSE(fatal_error_raised.load());
}

TEST_F(RepaintAreas, NothingIsQueuedOnceShutDownHasBegun) {
    shutting_down = 1;
    invalidate_area(0, 0, 10, 10, 1);
    shutting_down = 0;
    EXPECT_EQ(repaint_count, 0);
}

class ScreenShots : public testing::Test {
protected:
    void SetUp() override {
        inside.emplace(work.path());
        platform::accel::open_display();
        add_hot_key(SCREEN_SHOT_KEY, screen_shot_key);
    }
    void TearDown() override {
        free_hot_keys();
        platform::accel::shut_down();
        inside.reset();
    }
    static void touch(int number) {
        char name[24];
        std::snprintf(name, sizeof name, "shot%04d.raw", number);
        std::ofstream(name).put('x');
    }
    ScratchDirectory work;
    std::optional<WorkingDirectory> inside;
};

TEST_F(ScreenShots, TheFrontBufferGoesToTheFirstFreeNameAsRgb) {
    platform::accel::LockedBuffer lock{};
    using platform::accel::LockAccess, platform::accel::LockBuffer, platform::accel::LockFormat;
    ASSERT_TRUE(lock_frame_buffer(LockAccess::WRITE, LockBuffer::FRONT, LockFormat::RGB565, lock));
    auto* row = static_cast<uint16_t*>(lock.pixels);
    row[0] = 0xF800;                           // red
    row[639] = 0x07E0;                         // green
    reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(lock.pixels) + 479 * lock.stride)[0] = 0x001F;  // blue
    unlock_frame_buffer(LockAccess::WRITE, LockBuffer::FRONT);
    touch(0), touch(2);
    EXPECT_EQ(dispatch_hot_key(SCREEN_SHOT_KEY), 0);
    std::ifstream file("shot0001.raw", std::ios::binary);
    std::vector<uint8_t> rgb((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_EQ(rgb.size(), 640u * 480 * 3);
    EXPECT_EQ(std::vector<uint8_t>(rgb.begin(), rgb.begin() + 3), (std::vector<uint8_t>{0xF8, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(rgb.begin() + 639 * 3, rgb.begin() + 640 * 3), (std::vector<uint8_t>{0, 0xFC, 0}));
    EXPECT_EQ(std::vector<uint8_t>(rgb.begin() + 479 * 640 * 3, rgb.begin() + 479 * 640 * 3 + 3),
              (std::vector<uint8_t>{0, 0, 0xF8}));
    dispatch_hot_key(SCREEN_SHOT_KEY);
    EXPECT_TRUE(fs::exists("shot0003.raw"));
}

TEST_F(ScreenShots, AThousandShotsLeaveTheGameRunningAndWriteNothing) {
    for (int i = 0; i < MAX_SCREEN_SHOTS; ++i) touch(i);
    EXPECT_EQ(dispatch_hot_key(SCREEN_SHOT_KEY), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(work.path()), fs::directory_iterator()), MAX_SCREEN_SHOTS);
    EXPECT_FALSE(fatal_error_raised.load());
}

TEST_F(ScreenShots, WithoutTheAcceleratorNothingIsWritten) {
    platform::accel::shut_down();
    EXPECT_EQ(dispatch_hot_key(SCREEN_SHOT_KEY), 1);
    EXPECT_TRUE(fs::is_empty(work.path()));
}

}  // namespace
}  // namespace vyr
