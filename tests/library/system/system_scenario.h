// Threading scenarios for tests: the thread table, the clock and the event queue live for the
// whole process, so each scenario runs in a fresh child process in which the test's thread
// becomes "System" under the virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/debug/fatal.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "platform/timer/timer.h"

namespace vyr {

// A suite of such scenarios forks its death tests the thread-safe way, and puts the style back
// for the suites after it.
class SystemScenarios : public testing::Test {
protected:
    static void SetUpTestSuite() {
        kept_style = GTEST_FLAG_GET(death_test_style);
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
    static void TearDownTestSuite() { GTEST_FLAG_SET(death_test_style, kept_style); }
    static inline std::string kept_style;

    static void start_as_system(platform::ClockMode mode = platform::ClockMode::VIRTUAL) {
        platform::set_clock_mode(mode);
        init_debug_text();
        start_timer();
        init_threads();
    }

    // Runs `prepare` (by default: become System) and `scenario` in a child process and returns
    // the text the scenario produced.
    static std::string run_as_system(std::string (*scenario)(), void (*prepare)() = [] { start_as_system(); }) {
        std::string output;
        EXPECT_EXIT(
            {
                prepare();
                std::string text = scenario();
                std::fputs(text.c_str(), stderr);
                std::fflush(stderr);
                std::_Exit(0);
            },
            testing::ExitedWithCode(0),
            testing::Matcher<const std::string&>(testing::Truly([&output](const std::string& text) {
                output = text;
                return true;
            })));
        return output;
    }
};

}  // namespace vyr
