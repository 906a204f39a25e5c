#include "library/system/winmain.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "library/graphics/ddraw.h"
#include "library/sound/dsound.h"
#include "library/system/event.h"
#include "library/system/key.h"
#include "library/system/timer.h"
#include "platform/audio/audio.h"
#include "platform/timer/timer.h"
#include "platform/window/headless.h"
#include "tests/platform/window/stub_window.h"
#include "tests/support/headless_world.h"

namespace vyr {
namespace {

int repaints = 0;
void record_repaint() { ++repaints; }

// The headless world, the test being the game side; whatever an earlier test left, the program
// is active, no key is held, and the clock is a whole tick past any half tick it showed, so that
// it reads 2 units a tick from here.
class WindowThread : public HeadlessWorld {
protected:
    void SetUp() override {
        HeadlessWorld::SetUp();
        app_active.store(1);
        for (int i = 0; i < KEY_TABLE_SIZE; ++i) key_down[i].store(0), key_held_time[i].store(0);
        platform::advance_virtual_clock(1);
        flush_events();
    }

    // Runs `message` through the window procedure on the window thread and waits for it.
    void deliver(const platform::WindowMessage& message) {
        headless->call_on_window_thread([&] { window_proc(message); });
    }

    std::vector<Event> drain() {
        std::vector<Event> events;
        Event e;
        while (get_event(e)) events.push_back(e);
        return events;
    }

};

TEST_F(WindowThread, RequestsWriteTheirResultsBack) {
    RequestBlock block = {0, 0, 0, 0};
    send_request(REQ_CREATE_DIRECTDRAW, block);
    EXPECT_EQ(block[0], 1);
    block[0] = 7;
    send_request(REQ_CREATE_DIRECTSOUND, block);
    EXPECT_EQ(block[0], 0);  // no sound device here: the program runs silent
    EXPECT_TRUE(drain().empty());
}

TEST_F(WindowThread, CodesAbove22DoNothing) {
    for (uint32_t code : {23u, 24u, 1000u}) {
        RequestBlock block = {5, 6, 7, 8};
        EXPECT_EQ(send_request(code, block), 0);
        EXPECT_EQ(block[0], 5);
        EXPECT_EQ(block[3], 8);
    }
    EXPECT_TRUE(drain().empty());
}

TEST_F(WindowThread, RequestFromTheWindowThreadRunsInline) {
    intptr_t result = 0;
    bool inline_call = false;
    headless->call_on_window_thread([&] {
        RequestBlock block = {0, 0, 0, 0};
        send_request(REQ_CREATE_DIRECTDRAW, block);  // would wait for itself if queued
        result = block[0];
        inline_call = headless->on_window_thread();
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(inline_call);
}

// The flags of the activation logic live for the whole process, so the road is one test.
TEST_F(WindowThread, ReactivationReleasesAltAndRepaintsOnlyInFullScreenStyle) {
    set_repaint_function(record_repaint);
    using platform::MessageKind;
    deliver({MessageKind::ACTIVATE_APP, 1, 0});  // the activation after creation only records itself
    deliver({MessageKind::KEY_DOWN, 0x38, 0});
    drain();

    deliver({MessageKind::ACTIVATE_APP, 0, 0});
    EXPECT_EQ(app_active.load(), 0);
    deliver({MessageKind::ACTIVATE_APP, 1, 0});
    EXPECT_EQ(app_active.load(), 1);
    EXPECT_TRUE(drain().empty()) << "before the first video mode nothing is posted";
    EXPECT_EQ(repaints, 0);

    send_request(REQ_SET_VIDEO_MODE, 1);
    deliver({MessageKind::ACTIVATE_APP, 0, 0});
    deliver({MessageKind::ACTIVATE_APP, 1, 0});
    std::vector<Event> events = drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EV_KEY);
    EXPECT_EQ(events[0].value, 0xB8);
    EXPECT_EQ(key_down[0x38].load(), 0);
    EXPECT_EQ(repaints, 1);
    set_repaint_function(nullptr);
}

TEST_F(WindowThread, ClockStandsStillWhileInactive) {
    deliver({platform::MessageKind::ACTIVATE_APP, 0, 0});
    int ticks = tick_count.load(), clock = read_clock();
    platform::advance_virtual_clock(1000);
    EXPECT_EQ(tick_count.load(), ticks);
    EXPECT_EQ(read_clock(), clock);
    EXPECT_TRUE(drain().empty());

    deliver({platform::MessageKind::ACTIVATE_APP, 1, 0});
    platform::advance_virtual_clock(100);
    EXPECT_EQ(tick_count.load(), ticks + 100);
    EXPECT_EQ(read_clock(), 2 * (ticks + 100));  // no half tick under the virtual clock
    std::vector<Event> events = drain();
    ASSERT_EQ(events.size(), 1u);  // a run of timer events comes out as the latest one
    EXPECT_EQ(events[0].type, EV_TIMER);
    EXPECT_EQ(events[0].time, ticks + 100);
}

TEST_F(WindowThread, HeldKeysAgeByTicks) {
    deliver({platform::MessageKind::KEY_DOWN, 0x1e, 0});
    platform::advance_virtual_clock(50);
    EXPECT_EQ(key_held_time[0x1e].load(), 50);
    deliver({platform::MessageKind::KEY_UP, 0x1e, 0});
    platform::advance_virtual_clock(10);
    EXPECT_EQ(key_held_time[0x1e].load(), 50);
}

TEST_F(WindowThread, FrameTimeIsBetweenOneAndTwoHundredUnits) {
    get_frame_time();
    EXPECT_EQ(get_frame_time(), 1);
    platform::advance_virtual_clock(5);
    EXPECT_EQ(get_frame_time(), 10);
    platform::advance_virtual_clock(300);
    EXPECT_EQ(get_frame_time(), 200);
}

// Under the virtual clock every wait runs exactly its periods, so a scripted run repeats.
TEST_F(WindowThread, WaitsRunTheirPeriodsUnderTheVirtualClock) {
    int ticks = tick_count.load();
    platform::wait_periods(7);
    EXPECT_EQ(tick_count.load(), ticks + 7);
    platform::wait_periods(0);
    platform::wait_periods(-3);
    EXPECT_EQ(tick_count.load(), ticks + 7);
    wait_after_empty_poll();
    EXPECT_EQ(tick_count.load(), ticks + 8);
    wait_clock(5);  // more than 5 units: three ticks
    EXPECT_EQ(tick_count.load(), ticks + 11);
}

TEST(WinMain, RunsTheGameThreadWithItsArguments) {
    const HeadlessWindowThread world;  // its loop run by win_main
    static platform::HeadlessWindow* headless;
    headless = world.window();
    static std::vector<std::string> seen;
    static std::atomic<bool> game_done{false};
    seen.clear();
    int result = win_main(
        [](int argc, char** argv) {
            seen.assign(argv, argv + argc);
            headless->post_destroy();
            game_done = true;
            return 0;
        },
        "-c1 -L e");
    EXPECT_EQ(result, 0);
    // The game thread is still inside post_destroy when the loop ends: wait before the window goes.
    while (!game_done) std::this_thread::yield();
    EXPECT_EQ(seen, (std::vector<std::string>{"application", "-c1", "-L", "e"}));
}

TEST(WinMain, AWindowThatCannotBeMadeIsAFailedStart) {
    struct NoWindow : platform::StubWindow {
        bool create(platform::WindowProcedure, const char*, int, int, int, int) override { return false; }
    };
    platform::install_window(std::make_unique<NoWindow>());
    EXPECT_EQ(win_main([](int, char**) { return 0; }, ""), 1);
    platform::install_window(nullptr);
}

TEST(CommandLine, SplitsAtEverySpace) {
    const std::string long_word(100, 'x');
    std::string many;
    for (int i = 0; i < 40; ++i) many += (i ? " w" : "w") + std::to_string(i);
    const struct {
        std::string line;
        std::vector<std::string> words;  // after "application"
    } cases[] = {
        {"", {}},
        {"a b", {"a", "b"}},
        {"a  b", {"a", "", "b"}},
        {"a b ", {"a", "b"}},
        {" a", {"", "a"}},
        {long_word, {std::string(63, 'x')}},
    };
    for (const auto& c : cases) {
        GameArguments arguments;
        split_command_line(c.line.c_str(), arguments);
        std::vector<std::string> expected = {"application"};
        expected.insert(expected.end(), c.words.begin(), c.words.end());
        EXPECT_EQ(std::vector<std::string>(arguments.argv, arguments.argv + arguments.argc), expected)
            << '"' << c.line << '"';
        EXPECT_EQ(arguments.argv[arguments.argc], nullptr);
    }
    GameArguments arguments;
    split_command_line(many.c_str(), arguments);
    EXPECT_EQ(arguments.argc, MAX_GAME_ARGS);
    EXPECT_STREQ(arguments.argv[MAX_GAME_ARGS - 1], "w30");
}

}  // namespace
}  // namespace vyr
