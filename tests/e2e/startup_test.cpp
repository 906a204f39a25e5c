// The program as a player starts it: the real executable on the generated data.
#include <gtest/gtest.h>

#include <fstream>

#include "run_vyr.h"

namespace vyr::e2e {
namespace {

TEST(Startup, ScriptedHeadlessRunEndsThroughItsExitPath) {
    ScratchDirectory dir;
    auto script = write_bytes(dir / "run.txt", "10 key 0x1e down\n20 key 0x1e up\n30 capture first.ppm\n50 quit\n");
    for (const char* clock : {"virtual", "real"}) {
        RunResult run = run_vyr(dir, std::string("VYR_CLOCK=") + clock + " VYR_SCRIPT=" + script.string());
        EXPECT_EQ(run.exit_code, 0) << clock << ": " << run.output;
        std::ifstream capture(dir.path() / "first.ppm", std::ios::binary);
        std::string magic;
        int width = 0, height = 0;
        capture >> magic >> width >> height;
        EXPECT_EQ(magic, "P6") << clock;
        EXPECT_EQ(width, 640);
        EXPECT_EQ(height, 480);
    }
}

TEST(Startup, AQuitEndsARunInTheBackground) {
    ScratchDirectory dir;
    auto script = write_bytes(dir / "run.txt", "20 focus lost\n50 quit\n");
    for (const char* clock : {"virtual", "real"}) {
        RunResult run = run_vyr(dir, std::string("VYR_CLOCK=") + clock + " VYR_SCRIPT=" + script.string());
        EXPECT_EQ(run.exit_code, 0) << clock << ": " << run.output;
    }
}

TEST(Startup, BadEnvironmentIsAClearError) {
    ScratchDirectory dir;
    auto script = write_bytes(dir / "bad.txt", "10 quit\n20 jump 3\n");
    const struct {
        std::string environment;
        std::string message;
    } cases[] = {
        {"VYR_CLOCK=virtual VYR_SCRIPT=" + script.string(), "line 2: cannot read: 20 jump 3"},
        {"VYR_SCRIPT=" + (dir.path() / "missing.txt").string(), "cannot read the script"},
        {"VYR_VIDEO=teletype", "unknown VYR_VIDEO value \"teletype\""},
    };
    for (const auto& c : cases) {
        RunResult run = run_vyr(dir, c.environment);
        EXPECT_EQ(run.exit_code, 1) << c.environment;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.environment << ": " << run.output;
    }
}

}  // namespace
}  // namespace vyr::e2e
