#include "library/system/thread.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "library/debug/fatal.h"
#include "library/graphics/screen.h"
#include "library/system/escape.h"
#include "library/system/event.h"
#include "library/system/timer.h"
#include "library/system/winmain.h"
#include "tests/library/system/system_scenario.h"
#include "platform/timer/timer.h"

namespace vyr {
namespace {

using Threaded = SystemScenarios;
using ThreadedScheduler = Threaded;
using ThreadedWaits = Threaded;
using ThreadedContext = Threaded;
using ThreadedEnd = Threaded;
using ThreadedFatal = Threaded;
using ThreadedWakeUp = Threaded;

std::string number(long value) { return std::to_string(value); }

// A trace the threads of a scenario append to; each process has its own.
std::string trace;
std::atomic<int> done{0};
int runs_a = 0, runs_b = 0;

void yield_forever() {
    for (;;) yield_thread();
}

// Blocks for good: the virtual clock only moves while nobody but Idle can run.
void block_forever() {
    static std::atomic<int> never{0};
    wait_for_flag(&never);
}

void count_runs(int& runs, char name) {
    for (;;) {
        if (!done) {
            ++runs;
            if (trace.size() < 9) trace += name;
            if (runs_a + runs_b == 3000) done = 1;
        }
        yield_thread();
    }
}

TEST_F(ThreadedScheduler, SystemRunsOnAndIdleGetsOnePickInTenThousand) {
    // Priorities 100 and 1,000,000: Idle's cost drains by System's charge on every pick.
    std::string output = run_as_system([] {
        std::string idle_runs;
        int start = read_clock();
        for (int i = 1; i <= 30000; ++i) {
            idle_flag = 0;
            yield_thread();
            if (idle_flag) idle_runs += number(i) + " ";
        }
        return idle_runs + "clock +" + number(read_clock() - start);
    });
    EXPECT_EQ(output, "10000 20000 30000 clock +0");
}

TEST_F(ThreadedScheduler, PrioritiesShareThePicksByCostAndTiesGoToTheHighestRecord) {
    std::string output = run_as_system([] {
        create_thread("A", [] { count_runs(runs_a, 'A'); });
        uint32_t b = create_thread("B", [] { count_runs(runs_b, 'B'); });
        set_thread_priority_by_id(b, 200);
        wait_for_flag(&done);
        return trace + " A=" + number(runs_a) + " B=" + number(runs_b);
    });
    // Both start at cost 100, so B (the higher record) goes first; then A runs twice per B.
    EXPECT_EQ(output, "BAABAABAA A=2000 B=1000");
}

TEST_F(ThreadedScheduler, RecordsKeepPrioritiesAndShortNames) {
    std::string output = run_as_system([] {
        std::string text;
        lower_thread_priority();
        for (int i = 0; i < 3; ++i) {
            yield_thread();
            text += number(thread_table[0].priority) + " ";  // drifts back by one a pick
        }
        set_thread_priority(DEFAULT_THREAD_PRIORITY);
        uint32_t id = create_thread("A twenty character n", yield_forever);
        ThreadRecord& a = thread_table[2];
        text += std::string(a.name) + "|";
        auto priorities = [&] { return number(a.priority) + "/" + number(a.base_priority) + " "; };
        set_thread_priority_high(id);
        text += priorities();
        set_thread_priority_top(id);
        text += priorities();
        set_thread_priority_by_id(id, 300);
        text += priorities();
        set_thread_priority_by_id(0, 5);  // a free record's id names no thread
        set_thread_priority_by_id(uint32_t(-1), 5);
        text += priorities();
        text += number(thread_table[3].priority);
        return text;
    });
    EXPECT_EQ(output, "9999 9998 9997 A twenty charac|10/100 1/100 300/300 300/300 0");
}

TEST_F(ThreadedWaits, FlagSleepAndIdleConditions) {
    std::string output = run_as_system([] {
        static std::atomic<int> flag{0};
        create_thread("W", [] {
            wait_for_flag(&flag);
            trace += "W1 ";
            flag = 0;
            yield_thread();  // the condition outlives the pick that met it
            trace += "W2 ";
            wait_for_flag(nullptr);
            trace += "W3 ";
            yield_forever();
        });
        for (int i = 0; i < 1000; ++i) yield_thread();
        trace += "S ";
        flag = 1;
        for (int i = 0; i < 1000; ++i) yield_thread();
        trace += "S ";
        flag = 1;
        yield_thread();
        yield_thread();  // W ran last time at cost 0; now the tie goes to its higher record
        return trace;
    });
    EXPECT_EQ(output, "S W1 S W2 W3 ");
}

TEST_F(ThreadedWaits, SleepersWakeExactlyWhenDue) {
    std::string output = run_as_system([] {
        static int start = read_clock();
        create_thread("A", [] {
            for (int i = 0; i < 3; ++i) {
                sleep_thread(50);
                trace += "A+" + number(read_clock() - start) + " ";
            }
        });
        sleep_thread(200);
        return trace + "S+" + number(read_clock() - start);
    });
    EXPECT_EQ(output, "A+50 A+100 A+150 S+200");
}

TEST_F(ThreadedWaits, TenMinutesOfGameTimePassAtOnce) {
    std::string output = run_as_system([] {
        int start = read_clock();
        sleep_thread(10 * 60 * CLOCK_RATE);
        return "S+" + number(read_clock() - start);
    });
    EXPECT_EQ(output, "S+120000");
}

TEST_F(ThreadedWaits, WaitUntilIdleReturnsOnceEveryOtherThreadHasBlocked) {
    std::string output = run_as_system([] {
        create_thread("A", [] {
            for (; runs_a < 5; ++runs_a) yield_thread();
            wait_for_flag(&done);  // never set
        });
        idle_flag = 0;
        wait_until_idle();
        return "A=" + number(runs_a) + (thread_table[0].wait_flag ? " kept" : " cleared");
    });
    EXPECT_EQ(output, "A=5 cleared");
}

TEST_F(ThreadedWaits, LockedSchedulerRunsTheHolderAlone) {
    std::string output = run_as_system([] {
        create_thread("A", [] {
            runs_a = 1;
            done = 1;
            block_forever();
        });
        int start = read_clock();
        lock_scheduler();
        for (int i = 0; i < 100; ++i) yield_thread();
        sleep_thread(50);  // recorded all the same: System is not picked before +50
        wait_for_flag(&done);
        std::string text = "A=" + number(runs_a) + " clock+" + number(read_clock() - start);
        unlock_scheduler();
        wait_for_flag(&done);
        return text + " then A=" + number(runs_a);
    });
    EXPECT_EQ(output, "A=0 clock+0 then A=1");
}

TEST_F(ThreadedWaits, YieldIfDueHandsOverOnlyAfterTheTimeSlice) {
    std::string output = run_as_system([] {
        yield_thread();  // a fresh slice
        std::string text = number(yield_if_due());
        platform::advance_virtual_clock(2);  // 4 units: not yet over
        text += number(yield_if_due());
        platform::advance_virtual_clock(1);
        text += number(yield_if_due());
        return text + number(yield_if_due());
    });
    EXPECT_EQ(output, "0010");
}

void record_inactive_period(uint64_t) {
    static int periods = 0;
    if (app_active.load()) return;
    if (++periods < 50) return;
    trace += "A=" + number(runs_a) + " ticks=" + number(tick_count.load()) + " ";
    window_proc({platform::MessageKind::ACTIVATE_APP, 1, 0});
}

TEST_F(ThreadedWakeUp, NoThreadRunsWhileTheProgramIsInTheBackground) {
    std::string output = run_as_system([] {
        create_thread("A", [] {
            for (;;) {
                ++runs_a;
                yield_thread();
            }
        });
        int ticks = tick_count.load();
        trace = "ticks=" + number(ticks) + " ";
        platform::set_period_listener(record_inactive_period);
        app_active = 0;
        yield_thread();  // fifty periods pass in the background, then the focus returns
        return trace + "A=" + number(runs_a > 0);
    });
    EXPECT_EQ(output, "ticks=0 A=0 ticks=0 A=1");
}

TEST_F(ThreadedWakeUp, RealClockWakesTheIdleThreadOnTicksEventsAndActivation) {
    EXPECT_EXIT(
        {
            start_as_system(platform::ClockMode::REAL);
            int start = read_clock();
            sleep_thread(6);  // only the timer's ticks can end this
            bool slept = read_clock() - start >= 6;
            stop_timer();
            flush_events();

            std::thread window([] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                post_input_event({EV_KEY, 0x1e, 0, 0, 0});
                while (app_active.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                window_proc({platform::MessageKind::ACTIVATE_APP, 1, 0});
            });
            wait_for_flag(&event_count);  // no ticks now: only the posted key ends this
            Event key;
            bool got_key = get_event(key) && key.value == 0x1e;
            wait_for_flag(nullptr);
            app_active = 0;
            yield_thread();  // only the activation ends this
            bool active = app_active.load();
            window.join();
            std::fprintf(stderr, "%d %d %d\n", slept, got_key, active);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "^1 1 1\n$");
}

TEST_F(ThreadedScheduler, ScriptedRunsRepeatToTheTick) {
    auto scenario = [] {
        static auto note = [] { trace += number(read_clock()) + " " + thread_table[current_thread].name + "\n"; };
        static std::atomic<int> b_ready{0}, b_done{0};
        static int finished = 0;
        static auto finish = [] {
            if (++finished == 3) done = 1;
        };
        create_thread("Sleeper", [] {
            for (int i = 0; i < 20; ++i) {
                sleep_thread(3 + i % 4);
                note();
            }
            finish();
        });
        create_thread("Waiter", [] {
            for (int i = 0; i < 20; ++i) {
                wait_for_flag(&b_ready);
                b_ready = 0;
                note();
                yield_thread();
            }
            b_done = 1;
            finish();
        });
        create_thread("Yielder", [] {
            for (int i = 0; !b_done; ++i) {
                if (i % 3 == 0) b_ready = 1;
                yield_thread();
                note();
                if (i % 5 == 0) sleep_thread(1);
            }
            finish();
        });
        wait_for_flag(&done);
        note();
        return trace;
    };
    std::string first = run_as_system(scenario);
    std::string second = run_as_system(scenario);
    EXPECT_EQ(first, second);
    for (const char* name : {" Sleeper\n", " Waiter\n", " Yielder\n", " System\n"})
        EXPECT_NE(first.find(name), std::string::npos) << name;
    std::set<std::string> clocks;
    std::istringstream lines(first);
    for (std::string line; std::getline(lines, line);) clocks.insert(line.substr(0, line.find(' ')));
    EXPECT_GT(std::count(first.begin(), first.end(), '\n'), 60);
    EXPECT_GT(clocks.size(), 20u) << "the sleeps should have moved the clock";
}

TEST_F(ThreadedContext, EachDrawingThreadFindsItsScreenAndClipAgain) {
    std::string output = run_as_system([] {
        static uint8_t pixels[2][16 * 16];
        static Screen* first = wrap_screen(16, 16, 0, pixels[0]);
        static Screen* second = wrap_screen(8, 8, 0, pixels[1]);
        static auto context = [] {
            std::string which = current_screen == first ? "first" : current_screen == second ? "second" : "none";
            return which + " " + number(clip_x0) + "," + number(clip_y0) + "," + number(clip_x1) + "," +
                   number(clip_y1) + "; ";
        };
        select_screen(first);
        set_clip_rect(1, 2, 3, 4);
        create_thread("Drawer", [] {
            trace += "new: " + context();
            select_screen(second);
            set_clip_rect(5, 6, 7, 7);
            yield_thread();
            trace += "Drawer: " + context();
            yield_forever();
        });
        create_thread("Quiet", [] {
            set_thread_background();
            select_screen(nullptr);  // a background thread's changes are nobody's context
            yield_forever();
        });
        yield_thread();
        trace += "System: " + context();
        yield_thread();
        return trace;
    });
    // Quiet, a background thread, runs first each time (highest record) and is not restored.
    EXPECT_EQ(output, "new: none 0,0,0,0; System: first 1,2,3,4; Drawer: second 5,6,7,7; ");
}

std::string unwound;  // what ran after each call below returned

void third_call(EscapePoint& point) { jump_to_escape_point(point, 1); }

void second_call(EscapePoint& point) {
    third_call(point);
    unwound += "second ";
}

void first_call(EscapePoint& point) {
    second_call(point);
    unwound += "first ";
}

TEST(EscapePoint, JumpReturnsToItsPointWithTheValue) {
    EscapePoint point;
    unwound.clear();
    EXPECT_EQ(set_escape_point(point, [&] {
                  first_call(point);
                  unwound += "body ";
              }),
              1);
    EXPECT_EQ(unwound, "");
    int ran = 0;
    EXPECT_EQ(set_escape_point(point, [&] { ran = 1; }), 0);
    EXPECT_EQ(ran, 1);
}

TEST(EscapePoint, InnerPointsLetJumpsToOuterOnesThrough) {
    EscapePoint outer, inner;
    std::string steps;
    int result = set_escape_point(outer, [&] {
        int inner_result = set_escape_point(inner, [&] { jump_to_escape_point(inner, 7); });
        steps += "inner " + number(inner_result) + "; ";
        set_escape_point(inner, [&] { jump_to_escape_point(outer, 2); });
        steps += "not here";
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(steps, "inner 7; ");
}

TEST_F(ThreadedEnd, EndingAThreadRunsNothingAfterItAndFreesItsRecord) {
    std::string output = run_as_system([] {
        static EscapePoint point;
        create_thread("Ender", [] {
            // The end passes through an escape point without being taken for a jump.
            set_escape_point(point, [] {
                trace += "ending; ";
                terminate_current_thread();
                trace += "after the end; ";
            });
            trace += "after the escape point; ";
        });
        wait_for_flag(nullptr);
        yield_thread();
        trace += "record " + number(thread_table[2].id) + " count " + number(thread_count) + "; ";
        create_thread("Next", [] {});
        return trace + "reused " + thread_table[2].name;
    });
    EXPECT_EQ(output, "ending; record 0 count 2; reused Next");
}

TEST_F(ThreadedEnd, TheGameThreadHandsOverForGood) {
    std::string output = run_as_system([] {
        create_thread("Heir", [] {
            std::fprintf(stderr, "System record %u, Heir at %d", thread_table[0].id, current_thread);
            std::_Exit(0);
        });
        terminate_current_thread();
        return std::string("System came back");
    });
    EXPECT_EQ(output, "System record 0, Heir at 2");
}

TEST_F(ThreadedFatal, TextsAreExact) {
    EXPECT_EXIT(
        {
            start_as_system();
            for (int i = 0; i < MAX_THREADS - 2; ++i) create_thread("Filler", yield_forever);
            create_thread("One too many", yield_forever);
        },
        testing::ExitedWithCode(10), "^FATAL \\*\\*\\* Out of Threads \\(library/system/thread:452\\) @ 0\\.00\n$");
    EXPECT_EXIT(
        {
            start_as_system();
            init_threads();
        },
        testing::ExitedWithCode(10),
        "^FATAL \\*\\*\\* Cannot Create System Thread \\(library/system/thread:333\\) @ 0\\.00\n$");
    EXPECT_EXIT(
        {
            start_as_system();
            kill_thread(thread_table[1].id);
        },
        testing::ExitedWithCode(10),
        "^FATAL \\*\\*\\* What the f\\*\\*k is kill_thread \\(library/system/thread:848\\) @ 0\\.00\n$");
}

}  // namespace
}  // namespace vyr
