// Two runs side by side: both end and leave no process behind, whether they quit, the test fails
// while they run, or they never end; and two quick starts from one script stay in one state
// until one player's hand differs.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>

#include "vyr_pair.h"

namespace vyr::e2e {
namespace {

// The Main Screen's "Quick Start", Korea's plate and into the flight, for a player who has been
// there before.
const std::string INTO_QUICK_START = "60 click 500 70\n210 click 530 385\n220 click 500 70\n";
const std::pair<std::string, std::string> RETURNING_PLAYER{"prefs.cfg", "Quick Start Game Runs=1\r\n"};

// Alt+X and Y end the flight, back on the Quick Start Screen.
std::string end_flight_at(int t) {
    std::string lines;
    for (const auto& [dt, key] : {std::pair{0, "0x38 down"}, {2, "0x2d down"}, {4, "0x2d up"}, {6, "0x38 up"}, {60, "0x15 down"}, {62, "0x15 up"}})
        lines += std::to_string(t + dt) + " key " + key + "\n";
    return lines;
}

// Ctrl+Q ends the program with status 16.
std::string quit_at(int t) { return std::to_string(t) + " key 0x1d down\n" + std::to_string(t + 2) + " key 0x10 down\n"; }

std::string digests(int from, int to, int step) {
    std::string lines;
    for (int t = from; t <= to; t += step) lines += std::to_string(t) + " digest " + DIGEST_FILE + "\n";
    return lines;
}

// A digest line without its clock.
std::string state_of(const std::string& line) { return line.substr(line.find(" state ")); }

void expect_gone(const VyrPair& pair) {
    for (pid_t id : pair.ids()) EXPECT_FALSE(process_group_alive(id)) << "process group " << id;
}

TEST(VyrPair, TwoQuickStartsFromOneScriptAgreeUntilOnePlayerBrakes) {
    ScratchDirectory dir;
    // Digests every 20 ticks, 8 before tick 650 and 13 from 660; the second player of the second
    // pair puts the wheel brakes on (W) at 650 as the aircraft rolls down the runway.
    auto run = [](const std::string& keys) {
        return PairedRun{INTO_QUICK_START + digests(500, 640, 20) + keys + digests(660, 900, 20) +
                             "950 capture flight.ppm\n" + end_flight_at(1000) + quit_at(1300),
                         {},
                         {RETURNING_PLAYER}};
    };
    const std::string brake = "650 key 0x11 down\n652 key 0x11 up\n";
    std::array<PairedResult, 2> same;
    {
        VyrPair pair(dir, "same", {run(""), run("")});
        same = pair.wait();
        expect_gone(pair);
    }
    for (const PairedResult& run : same) {
        ASSERT_EQ(run.exit_code, 16) << run.output;
        ASSERT_EQ(run.digest_lines.size(), 21u) << run.output;
        EXPECT_EQ(run.captures, std::vector<std::filesystem::path>{"flight.ppm"});
    }
    EXPECT_EQ(same[0].digest_lines, same[1].digest_lines);
    EXPECT_NE(state_of(same[0].digest_lines.front()), state_of(same[0].digest_lines.back())) << "the flight moves on";

    VyrPair pair(dir, "braked", {run(""), run(brake)});
    std::array<PairedResult, 2> braked = pair.wait();
    EXPECT_EQ(braked[0].digest_lines, same[0].digest_lines) << "the first run does as the first pair did";
    ASSERT_EQ(braked[1].digest_lines.size(), 21u) << braked[1].output;
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(braked[1].digest_lines[i], same[0].digest_lines[i]) << "before the key";
    for (size_t i = 8; i < 21; ++i) EXPECT_NE(braked[1].digest_lines[i], same[0].digest_lines[i]) << "from the key on";
}

// A test that fails while its runs go on; the ids are kept for the check after.
const ScratchDirectory* failing_dir;
std::array<pid_t, 2> failed_ids;

void fail_while_running() {
    VyrPair pair(*failing_dir, "failing", {PairedRun{""}, PairedRun{""}});
    failed_ids = pair.ids();
    ASSERT_TRUE(process_group_alive(failed_ids[0]) && process_group_alive(failed_ids[1]));
    FAIL() << "on purpose";
}

TEST(VyrPair, BothEndWhenTheyQuitWhenTheTestFailsAndWhenTheyHang) {
    ScratchDirectory dir;
    {
        VyrPair pair(dir, "quitting", {PairedRun{quit_at(100)}, PairedRun{quit_at(150)}});
        for (const PairedResult& run : pair.wait()) {
            EXPECT_EQ(run.exit_code, 16) << run.output;
            EXPECT_FALSE(run.ended_at_limit);
        }
        expect_gone(pair);
    }

    failing_dir = &dir;
    EXPECT_FATAL_FAILURE(fail_while_running(), "on purpose");
    for (pid_t id : failed_ids) EXPECT_FALSE(process_group_alive(id)) << "process group " << id;

    // Without a quit line the program runs on until the limit ends it.
    VyrPair pair(dir, "hanging", {PairedRun{"100 move 10 10\n"}, PairedRun{""}});
    for (const PairedResult& run : pair.wait(std::chrono::seconds(3))) {
        EXPECT_TRUE(run.ended_at_limit);
        EXPECT_EQ(run.exit_code, -1);
    }
    expect_gone(pair);
}

}  // namespace
}  // namespace vyr::e2e
