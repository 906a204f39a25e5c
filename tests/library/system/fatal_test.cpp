#include "library/debug/fatal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "library/system/exit.h"
#include "library/system/timer.h"

namespace vyr {
namespace {

class FatalError : public testing::Test {
protected:
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(FatalError, ReportsTheExactTextAndEndsWithCode10) {
    EXPECT_EXIT(
        {
            init_debug_text();
            tick_count.store(1234);
            report_fatal_error("Out of Threads", "library/system/thread", 452);
        },
        testing::ExitedWithCode(10), "^FATAL \\*\\*\\* Out of Threads \\(library/system/thread:452\\) @ 12\\.34\n$");
}

TEST_F(FatalError, FormatsItsValuesWithinTheBuffer) {
    EXPECT_EXIT(
        {
            init_debug_text();
            std::string huge(5000, 'z');
            report_fatal_error("Allocate Drone - too many drones used (MAX %d (%dk)) %s", "source/drone/drone", 7,
                               400, 12, huge.c_str());
        },
        testing::ExitedWithCode(10), "^FATAL \\*\\*\\* Allocate Drone - too many drones used \\(MAX 400 \\(12k\\)\\) z+");
}

TEST_F(FatalError, BeforeTheLibraryStartsTheCodeIs255) {
    EXPECT_EXIT(report_fatal_error("early", "library/system/winmain", 1), testing::ExitedWithCode(255), "early");
}

TEST_F(FatalError, DuringShutDownItOnlyRecordsTheText) {
    EXPECT_EXIT(
        {
            init_debug_text();
            add_exit_handler([] {
                report_fatal_error("late %d", "library/system/exit", 9, 3);
                std::fprintf(stderr, "carried on after: %s\n", debug_text);
            });
            end_process(4);
        },
        testing::ExitedWithCode(4), "carried on after: FATAL \\*\\*\\* late 3 \\(library/system/exit:9\\)");
}

TEST(DebugText, TimeSuffixHasTwoDigitsOfHundredths) {
    const struct {
        int ticks;
        const char* suffix;
    } cases[] = {  // the clock never steps back, so these lie beyond any time an earlier test reached
        {1000000, " @ 10000.00"}, {1000001, " @ 10000.01"}, {1000050, " @ 10000.50"}, {1001234, " @ 10012.34"}};
    for (const auto& c : cases) {
        tick_count.store(c.ticks);
        debug_text[0] = '\0';
        append_debug_time();
        EXPECT_STREQ(debug_text, c.suffix);
    }
}

TEST(DebugText, DropsAnAppendThatWouldNotFitWhole) {
    debug_text[0] = '\0';
    std::string most(DEBUG_TEXT_SIZE - 10, 'a');
    append_debug_text(most.c_str());
    append_debug_text("123456789");  // 1014 + 9 + 2 > 1024
    EXPECT_EQ(std::strlen(debug_text), most.size());
    append_debug_text("12345678");
    EXPECT_EQ(std::strlen(debug_text), most.size() + 8);
    EXPECT_EQ(watch_debug_value("Mouse X", 3, &most), 1);
}

TEST(ExitHandlers, RunNewestFirstOnceIncludingLateRegistrations) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            add_exit_handler([] { std::fputs("A\n", stderr); });
            add_exit_handler([] {
                std::fputs("B\n", stderr);
                add_exit_handler([] { std::fputs("D\n", stderr); });
            });
            add_exit_handler([] { std::fputs("C\n", stderr); });
            run_exit_handlers();
            run_exit_handlers();  // the quit key, then the run-time exit: still once
            end_process(0);
        },
        testing::ExitedWithCode(0), "^C\nB\nA\nD\n$");
}

}  // namespace
}  // namespace vyr
