// The pilot logs of a fresh player's directory: the default log made at start-up, kept at exit and
// found again by the next run; a damaged one set aside without keeping the game from starting.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "run_vyr.h"

namespace vyr::e2e {
namespace {

namespace fs = std::filesystem;

const std::string QUIT_KEYS = "60 key 0x1d down\n62 key 0x10 down\n";
constexpr int CTRL_Q_STATUS = 16;

TEST(PilotLogs, AFreshDirectoryGetsItsDefaultLogOnceAndKeepsIt) {
    ScratchDirectory dir;
    auto script = write_bytes(dir / "run.txt", QUIT_KEYS);
    const fs::path log = dir.path() / "log";
    for (int run_number = 1; run_number <= 2; ++run_number) {
        RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + script.string());
        ASSERT_EQ(run.exit_code, CTRL_Q_STATUS) << run_number << "\n" << run.output;
        ASSERT_TRUE(fs::is_directory(log)) << run.output;
        const std::string bytes = read_bytes(log / "log0.1");
        ASSERT_EQ(bytes.size(), 141u) << run_number;
        EXPECT_EQ(bytes.substr(0, 9), std::string("de Fault", 9)) << run_number;
        EXPECT_FALSE(fs::exists(log / "log0.2")) << run_number << ": a restart adds no default log";
        EXPECT_EQ(read_bytes(log / "current.log"), std::string("0", 2)) << run_number;
        EXPECT_EQ(read_bytes(log / "user.0"), std::string("1 ", 3)) << run_number;
    }
}

TEST(PilotLogs, ADamagedLogIsSetAsideOnceAndTheGameStarts) {
    ScratchDirectory dir;
    auto script = write_bytes(dir / "run.txt", QUIT_KEYS);
    const fs::path log = dir.path() / "log";
    const std::string damaged = std::string("de Fault\0\x13\0\0", 12);  // cut short in its header
    write_bytes(log / "log0.1", damaged);
    RunResult first = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + script.string());
    ASSERT_EQ(first.exit_code, CTRL_Q_STATUS) << first.output;
    EXPECT_NE(first.output.find("vyr: Log Corrupt: log\\log0.1 a short header. It is kept as log\\log0.1.damaged; "
                                "the game starts without it.\n"),
              std::string::npos)
        << first.output;
    EXPECT_EQ(read_bytes(log / "log0.1.damaged"), damaged);
    EXPECT_EQ(read_bytes(log / "log0.1").size(), 141u) << "a fresh default log in its place";
    RunResult second = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + script.string());
    ASSERT_EQ(second.exit_code, CTRL_Q_STATUS) << second.output;
    EXPECT_EQ(second.output.find("Log Corrupt"), std::string::npos) << second.output;
    EXPECT_EQ(read_bytes(log / "log0.1.damaged"), damaged);
}

}  // namespace
}  // namespace vyr::e2e
