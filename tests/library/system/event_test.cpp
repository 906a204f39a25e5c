#include "library/system/event.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace vyr {
namespace {

class EventQueue : public testing::Test {
protected:
    void SetUp() override { flush_events(); }
    void TearDown() override { flush_events(); }

    static Event move(int x, int y) { return {EV_MOUSE_MOVE, 0, x, y, 0}; }
    static Event timer(int tick) { return {EV_TIMER, 0, 0, 0, tick}; }
};

TEST_F(EventQueue, Holds255AndDropsTheNext) {
    for (int i = 0; i < 255; ++i) ASSERT_EQ(post_input_event({EV_KEY, i, 0, 0, i}), 1) << i;
    EXPECT_EQ(post_input_event({EV_KEY, 999, 0, 0, 0}), 0);
    EXPECT_EQ(event_count.load(), 255);
    Event out;
    for (int i = 0; i < 255; ++i) {
        ASSERT_EQ(get_event(out), 1);
        EXPECT_EQ(out.value, i);
    }
    EXPECT_EQ(get_event(out), 0);
    EXPECT_EQ(event_count.load(), 0);
}

// A flight started from a menu button flushes the queue while the UI holds the count one higher
// for its dispatch; the count went to -1 when the dispatch ended and the menus never slept again.
TEST_F(EventQueue, AFlushDropsTheQueuedEventsAndKeepsTheDispatchersHold) {
    ++event_count;
    post_input_event({EV_KEY, 1, 0, 0, 0});
    post_input_event({EV_KEY, 2, 0, 0, 0});
    flush_events();
    EXPECT_EQ(event_count.load(), 1);
    --event_count;
    EXPECT_EQ(event_count.load(), 0);
    Event out;
    EXPECT_EQ(get_event(out), 0);
}

TEST_F(EventQueue, MergesPointerMovesAndTimersButNotClicks) {
    post_input_event(move(10, 10));
    post_input_event(timer(1));
    post_input_event(move(12, 11));
    post_input_event({EV_MOUSE_CLICK, 1, 12, 11, 0});
    post_input_event(move(13, 11));
    Event out;
    ASSERT_EQ(get_event(out), 1);
    EXPECT_EQ(out.type, EV_MOUSE_MOVE);
    EXPECT_EQ(out.x, 12);
    EXPECT_EQ(out.y, 11);
    ASSERT_EQ(get_event(out), 1);
    EXPECT_EQ(out.type, EV_MOUSE_CLICK);
    ASSERT_EQ(get_event(out), 1);
    EXPECT_EQ(out.x, 13);
    EXPECT_EQ(get_event(out), 0);
}

TEST_F(EventQueue, CollapsesTimerRunsToTheLatestTick) {
    post_input_event(timer(5));
    post_input_event(timer(6));
    post_input_event(timer(7));
    post_input_event({EV_KEY, 0x1e, 0, 0, 7});
    Event out;
    ASSERT_EQ(get_event(out), 1);
    EXPECT_EQ(out.type, EV_TIMER);
    EXPECT_EQ(out.time, 7);
    ASSERT_EQ(get_event(out), 1);
    EXPECT_EQ(out.type, EV_KEY);
    EXPECT_EQ(event_count.load(), 0);
}

// Three producers (window thread, timer, game code) and one reader at once; run under
// ThreadSanitizer by `make test-sanitize`.
TEST(ThreadedEventQueue, SurvivesConcurrentPosting) {
    flush_events();
    constexpr int PER_PRODUCER = 20000;
    std::atomic<int> accepted{0}, taken{0};
    std::atomic<bool> producing{true};
    std::vector<std::thread> producers;
    for (int p = 0; p < 3; ++p)
        producers.emplace_back([&, p] {
            for (int i = 0; i < PER_PRODUCER; ++i)
                accepted += post_input_event({EV_KEY, p, 0, 0, i});
        });
    std::thread reader([&] {
        Event out;
        while (producing || event_count.load() > 0)
            if (get_event(out)) {
                ASSERT_EQ(out.type, EV_KEY);
                ASSERT_TRUE(out.value >= 0 && out.value < 3);
                ++taken;
            }
    });
    for (auto& t : producers) t.join();
    producing = false;
    reader.join();
    EXPECT_EQ(taken.load(), accepted.load());
    EXPECT_GT(accepted.load(), 0);
}

}  // namespace
}  // namespace vyr
