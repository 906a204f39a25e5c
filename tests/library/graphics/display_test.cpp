#include "library/graphics/display.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "library/debug/fatal.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/system/winmain.h"
#include "platform/display/display.h"
#include "platform/timer/timer.h"
#include "platform/window/headless.h"
#include "tests/support/headless_world.h"

namespace vyr {
namespace {

// Every test of this folder runs as the game side of a headless window.
const testing::Environment* const window_thread = testing::AddGlobalTestEnvironment(new WindowThreadEnvironment);

const std::vector<platform::DisplaySize> STANDARD_MODES = {{320, 200}, {320, 240}, {640, 480}, {800, 600}};

class DisplayTest : public testing::Test {
protected:
    // A fresh display each time: the cooperative level is taken again, with the modes listed then.
    void SetUp() override {
        send_request(REQ_RESTORE_SYSTEM_PALETTE);
        RequestBlock block = {0, 0, 0, 0};
        send_request(REQ_CREATE_DIRECTDRAW, block);
        ASSERT_EQ(block[0], 1);
    }

    // The next test finds a standard display, closed.
    void TearDown() override {
        select_screen(nullptr);
        for (Screen* screen : screens_) destroy_screen(screen);
        platform::set_period_listener(nullptr);
        platform::set_listed_display_modes(STANDARD_MODES);
        platform::set_lock_fault(platform::LockStatus::OK);
        platform::set_surfaces_lost(false);
        send_request(REQ_RESTORE_SYSTEM_PALETTE);
    }

    Screen* filled_screen(int width, int height, uint8_t colour, int origin_x = 0, int origin_y = 0) {
        Screen* screen = create_screen(width, height);
        screens_.push_back(screen);
        select_screen(screen);
        std::fill(screen->pixels, screen->pixels + size_t(width) * height, colour);
        set_screen_origin(origin_x, origin_y);
        return screen;
    }

    // Copies a screen of one colour to the display; answers what the window thread answered.
    intptr_t copy_to_display(int width, int height, uint8_t colour, int origin_x = 0, int origin_y = 0) {
        filled_screen(width, height, colour, origin_x, origin_y);
        RequestBlock block = {0, 0, 0, 0};
        send_request(REQ_LOCK_SURFACE, block);
        return block[0];
    }

    uint8_t visible(int x, int y) {
        platform::SurfaceLock lock;
        EXPECT_EQ(platform::lock_surface(platform::Surface::VISIBLE, lock), platform::LockStatus::OK);
        uint8_t index = lock.pixels[size_t(y) * lock.pitch + x];
        platform::unlock_surface(platform::Surface::VISIBLE);
        return index;
    }

    void set_entry(int index, uint8_t red, uint8_t green, uint8_t blue) {
        working_palette[3 * index] = red;
        working_palette[3 * index + 1] = green;
        working_palette[3 * index + 2] = blue;
        send_palette_to_display(working_palette + 3 * index, index, 1);
    }

    static uint32_t shown(int x, int y) {
        auto* headless = static_cast<platform::HeadlessWindow*>(platform::window());
        return headless->frame()[size_t(y) * headless->frame_width() + x];
    }

    std::vector<Screen*> screens_;
};

TEST_F(DisplayTest, EachModeSetsItsSizeAndWayOfPresenting) {
    const struct {
        int mode, width, height, flipping;
    } cases[] = {{1, 640, 480, 0}, {0, 320, 240, 1}, {2, 800, 600, 0}, {4, 320, 200, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        set_display_clip(1, 2, 3, 4);
        ASSERT_EQ(set_video_mode(c.mode), 1);
        EXPECT_EQ(get_video_mode(), c.mode);
        EXPECT_EQ(display_width(), c.width);
        EXPECT_EQ(display_height(), c.height);
        EXPECT_EQ(page_flipping, c.flipping);
        EXPECT_EQ(platform::surface_exists(platform::Surface::BACK), c.flipping != 0);
        EXPECT_EQ(display_clip_x0, 0);
        EXPECT_EQ(display_clip_y0, 0);
        EXPECT_EQ(display_clip_x1, c.width - 1);
        EXPECT_EQ(display_clip_y1, c.height - 1);
        int pitch = platform::surface_pitch();
        EXPECT_EQ(display_row_offsets[c.height - 1], (c.height - 1) * pitch);
    }
}

TEST_F(DisplayTest, UnknownModesAreFatal) {
    for (int mode : {3, 5, -1}) {
        SCOPED_TRACE(mode);
        EXPECT_EXIT(
            {
                init_debug_text();
                set_video_mode(mode);
            },
            testing::ExitedWithCode(10), "FATAL \\*\\*\\* Video mode unknown \\(library/graphics/ddraw:");
    }
}

TEST_F(DisplayTest, AStandardModeTheDisplayLacksIsFatal) {
    platform::set_listed_display_modes({{320, 200}, {800, 600}});
    EXPECT_EXIT(
        {
            init_debug_text();
            set_video_mode(1);
        },
        testing::ExitedWithCode(10), "FATAL \\*\\*\\* Video mode not supported \\(library/graphics/ddraw:");
}

TEST_F(DisplayTest, ALowResolutionModeTheDisplayLacksIsRefusedQuietly) {
    platform::set_listed_display_modes({{320, 240}, {640, 480}, {800, 600}});
    ASSERT_EQ(set_video_mode(1), 1);
    ASSERT_EQ(copy_to_display(640, 480, 6), 1);

    EXPECT_EQ(set_video_mode(4), 0);
    EXPECT_EQ(display_width(), 640);
    EXPECT_EQ(display_height(), 480);
    EXPECT_EQ(page_flipping, 0);
    EXPECT_EQ(visible(320, 240), 6);  // the display kept its mode and picture
}

TEST_F(DisplayTest, WithoutADisplayNoModeIsSet) {
    send_request(REQ_RESTORE_SYSTEM_PALETTE);
    EXPECT_EQ(set_video_mode(1), 0);
    RequestBlock block = {7, 0, 0, 0};
    send_request(REQ_LOCK_SURFACE, block);
    EXPECT_EQ(block[0], 0);
}

TEST_F(DisplayTest, AShorterScreenLandsAtItsOrigin) {
    ASSERT_EQ(set_video_mode(1), 1);
    ASSERT_EQ(copy_to_display(640, 480, 7), 1);
    ASSERT_EQ(copy_to_display(640, 400, 3, 0, 40), 1);
    for (int x : {0, 333, 639}) {
        EXPECT_EQ(visible(x, 39), 7);
        EXPECT_EQ(visible(x, 40), 3);
        EXPECT_EQ(visible(x, 439), 3);
        EXPECT_EQ(visible(x, 440), 7);
    }
}

// A screen that is not display-sized gives only its own pixels, and only inside the clip.
TEST_F(DisplayTest, APlacedScreenCopiesOnlyItsOwnPixelsInsideTheClip) {
    const struct {
        const char* name;
        int width, height, origin_x, origin_y;
        int clip[4];
        int inside[4];  // the display rectangle that must take the screen, inclusive
    } cases[] = {
        {"over the right and bottom edges", 100, 50, 600, 470, {0, 0, 639, 479}, {600, 470, 639, 479}},
        {"over the left and top edges", 50, 30, -20, -10, {0, 0, 639, 479}, {0, 0, 29, 19}},
        {"inside a smaller clip", 640, 400, 0, 0, {10, 20, 300, 200}, {10, 20, 300, 200}},
        {"under a clip larger than the display", 700, 500, -30, -10, {-50, -50, 1000, 1000}, {0, 0, 639, 479}},
    };
    ASSERT_EQ(set_video_mode(1), 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        reset_display_clip();
        ASSERT_EQ(copy_to_display(640, 480, 7), 1);
        set_display_clip(c.clip[0], c.clip[1], c.clip[2], c.clip[3]);
        ASSERT_EQ(copy_to_display(c.width, c.height, 3, c.origin_x, c.origin_y), 1);
        for (int y : {0, 1, 19, 20, 21, 200, 201, 469, 470, 479})
            for (int x : {0, 9, 10, 29, 30, 300, 301, 599, 600, 639}) {
                bool in = x >= c.inside[0] && x <= c.inside[2] && y >= c.inside[1] && y <= c.inside[3];
                ASSERT_EQ(visible(x, y), in ? 3 : 7) << x << ", " << y;
            }
    }
}

TEST_F(DisplayTest, AScreenBelowTheClipCopiesNothingAndSucceeds) {
    ASSERT_EQ(set_video_mode(1), 1);
    ASSERT_EQ(copy_to_display(640, 480, 7), 1);
    EXPECT_EQ(copy_to_display(640, 40, 3, 0, 480), 1);
    EXPECT_EQ(visible(0, 479), 7);
}

TEST_F(DisplayTest, ADisplaySizedScreenOfAnEarlierLargerModeStaysOnTheDisplay) {
    ASSERT_EQ(set_video_mode(2), 1);
    filled_screen(800, 600, 4);
    ASSERT_EQ(set_video_mode(1), 1);
    RequestBlock block = {0, 0, 0, 0};
    send_request(REQ_LOCK_SURFACE, block);
    EXPECT_EQ(block[0], 1);
    EXPECT_EQ(visible(639, 479), 4);
}

TEST_F(DisplayTest, WithNoScreenSelectedTheCopyLeavesTheDisplay) {
    ASSERT_EQ(set_video_mode(1), 1);
    ASSERT_EQ(copy_to_display(640, 480, 7), 1);
    select_screen(nullptr);
    lock_video_memory_retry();
    EXPECT_EQ(visible(5, 5), 7);
}

TEST_F(DisplayTest, AFlippingModeShowsTheCopyOnlyAfterTheFlip) {
    ASSERT_EQ(set_video_mode(0), 1);
    set_entry(0, 0, 0, 0);
    set_entry(9, 255, 0, 0);
    flip_display();
    filled_screen(320, 240, 9);
    lock_video_memory_retry();
    EXPECT_EQ(shown(10, 10), 0u);
    request_flip();
    EXPECT_EQ(shown(10, 10), 0xFF0000u);
    EXPECT_EQ(visible(10, 10), 9);
}

TEST_F(DisplayTest, APresentedFrameShowsThePaletteColours) {
    ASSERT_EQ(set_video_mode(1), 1);
    set_entry(0, 0, 0, 0);
    set_entry(5, 10, 20, 30);
    Screen* screen = filled_screen(640, 480, 0);
    screen->pixels[100 * 640 + 200] = 5;
    lock_and_flip_display();
    EXPECT_EQ(shown(200, 100), 0x0A141Eu);
    EXPECT_EQ(shown(201, 100), 0u);
}

TEST_F(DisplayTest, FramePhaseCountsFramesInFours) {
    ASSERT_EQ(set_video_mode(1), 1);
    int start = frame_phase;
    flip_display();
    EXPECT_EQ(frame_phase, (start + 1) % 4);
    for (int i = 0; i < 3; ++i) flip_display();
    EXPECT_EQ(frame_phase, start);
}

TEST_F(DisplayTest, PaletteRequestsSetAndReadTheDisplayPalette) {
    ASSERT_EQ(set_video_mode(1), 1);
    uint8_t read[6];

    set_entry(40, 1, 2, 3);
    request_display_palette(read, 40, 1);
    EXPECT_EQ(std::vector<uint8_t>(read, read + 3), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(display_colours[40], 0x010203u);

    const uint8_t six_bit[] = {63, 32, 1};
    request_display_palette6(six_bit, 41, 1);
    request_display_palette(read, 41, 1);
    EXPECT_EQ(std::vector<uint8_t>(read, read + 3), (std::vector<uint8_t>{252, 128, 4}));

    // Writes past entry 255 are cut off.
    uint8_t many[30];
    for (int i = 0; i < 30; ++i) many[i] = uint8_t(100 + i);
    std::copy(many, many + 18, working_palette + 3 * 250);
    send_palette_to_display(many, 250, 10);
    request_display_palette(read, 254, 2);
    EXPECT_EQ(std::vector<uint8_t>(read, read + 6), (std::vector<uint8_t>{112, 113, 114, 115, 116, 117}));
    EXPECT_EQ(display_colours[255], 0x737475u);
}

// The window thread hears a palette send only when it would change what it keeps: after a 6-bit
// send, a run list, or a send it could not keep, the same triple goes again.
TEST_F(DisplayTest, OnlyAPaletteSendThatChangesSomethingReachesTheWindowThread) {
    static int palette_requests;
    palette_requests = 0;
    set_request_handler(REQ_SET_PALETTE, [](intptr_t lparam) -> intptr_t {
        ++palette_requests;
        intptr_t* b = request_block(lparam);
        return set_display_palette(reinterpret_cast<const uint8_t*>(b[0]), int(b[1]), int(b[2]));
    });
    uint8_t read[3];
    auto entry_60 = [&] {
        request_display_palette(read, 60, 1);
        return std::vector<uint8_t>(read, read + 3);
    };
    const std::vector<uint8_t> sent{7, 8, 9};

    set_entry(60, 7, 8, 9);  // no palette yet: not kept
    ASSERT_EQ(set_video_mode(1), 1);
    set_entry(60, 7, 8, 9);
    EXPECT_EQ(entry_60(), sent);
    set_entry(60, 7, 8, 9);
    EXPECT_EQ(palette_requests, 2);

    const uint8_t six_bit[] = {1, 1, 1};
    request_display_palette6(six_bit, 60, 1);
    set_entry(60, 7, 8, 9);
    EXPECT_EQ(entry_60(), sent);
    const uint8_t runs[] = {1, 60, 1, 2, 2, 2};
    request_display_palette_runs(runs);
    set_entry(60, 7, 8, 9);
    EXPECT_EQ(entry_60(), sent);
    set_entry(60, 7, 8, 10);
    EXPECT_EQ(palette_requests, 5);
    install_display_requests();
}

TEST_F(DisplayTest, ARunListSetsItsRunsAndAnswersItsEnd) {
    ASSERT_EQ(set_video_mode(1), 1);
    set_entry(10, 9, 9, 9);
    const uint8_t runs[] = {3,
                            10, 0,  // a run of no entries
                            20, 2, 1, 2, 3, 4, 5, 6,
                            255, 2, 7, 8, 9, 10, 11, 12,  // runs past the last entry
                            0xEE};
    EXPECT_EQ(request_display_palette_runs(runs), runs + sizeof runs - 1);
    uint8_t read[6];
    request_display_palette(read, 10, 1);
    EXPECT_EQ(std::vector<uint8_t>(read, read + 3), (std::vector<uint8_t>{9, 9, 9}));
    request_display_palette(read, 20, 2);
    EXPECT_EQ(std::vector<uint8_t>(read, read + 6), (std::vector<uint8_t>{4, 8, 12, 16, 20, 24}));
    request_display_palette(read, 255, 1);
    EXPECT_EQ(std::vector<uint8_t>(read, read + 3), (std::vector<uint8_t>{28, 32, 36}));
}

TEST_F(DisplayTest, TheVerticalBlankShowsPaletteChangesAndTakesTwoTicks) {
    ASSERT_EQ(set_video_mode(1), 1);
    set_entry(0, 0, 0, 0);
    flip_display();
    set_entry(0, 200, 100, 50);
    EXPECT_EQ(shown(7, 7), 0u);  // not shown before the blank
    uint64_t before = platform::timer_periods();
    wait_vertical_blank();
    EXPECT_EQ(platform::timer_periods(), before + 2);
    EXPECT_EQ(shown(7, 7), 0xC86432u);
}

TEST_F(DisplayTest, LockFailuresAreFatalWithTheirReason) {
    const struct {
        platform::LockStatus status;
        const char* text;
    } cases[] = {
        {platform::LockStatus::INVALID_OBJECT, "invalid object"},
        {platform::LockStatus::SURFACE_LOST, "surface lost"},
        {platform::LockStatus::OUT_OF_MEMORY, "out of memory"},
        {platform::LockStatus::INVALID_PARAMS, "invalid params"},
        {platform::LockStatus::SURFACE_BUSY, "surface busy"},
        {platform::LockStatus::STILL_DRAWING, "was still drawing"},
    };
    ASSERT_EQ(set_video_mode(1), 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EXIT(
            {
                init_debug_text();
                platform::set_lock_fault(c.status);
                lock_video_memory_retry();
            },
            testing::ExitedWithCode(10), std::string("Unable to lock video memory - ") + c.text);
    }
}

uint64_t display_back_at = 0;

TEST_F(DisplayTest, ALostDisplayIsAskedAgainEachSecondUntilItComesBack) {
    ASSERT_EQ(set_video_mode(1), 1);
    filled_screen(640, 480, 8);
    platform::set_surfaces_lost(true);
    uint64_t before = platform::timer_periods();
    display_back_at = before + 150;
    platform::set_period_listener([](uint64_t period) {
        if (period == display_back_at) platform::set_surfaces_lost(false);
    });
    lock_video_memory_retry();
    EXPECT_EQ(platform::timer_periods(), before + 200);  // two waits of a second
    EXPECT_EQ(visible(320, 240), 8);
}

TEST_F(DisplayTest, InvertingLinesUndoThemselvesAndKeepInsideTheClip) {
    ASSERT_EQ(set_video_mode(1), 1);
    ASSERT_EQ(copy_to_display(640, 480, 0), 1);
    request_xor_line(0, 0, 10, 0);
    EXPECT_EQ(visible(0, 0), 0xB9);
    EXPECT_EQ(visible(10, 0), 0xB9);
    EXPECT_EQ(visible(11, 0), 0);
    request_xor_line(0, 0, 10, 0);
    EXPECT_EQ(visible(5, 0), 0);

    set_display_clip(5, 0, 639, 479);
    request_xor_dashed_line(0, 1, 10, 1);
    EXPECT_EQ(visible(4, 1), 0);  // outside the clip

    // A clip beyond the display still keeps the line on it.
    set_display_clip(-100, -100, 2000, 2000);
    request_xor_line(-50, -50, 700, 700);
    EXPECT_EQ(visible(100, 100), 0xB9);
    EXPECT_EQ(visible(479, 479), 0xB9);
}

}  // namespace
}  // namespace vyr
