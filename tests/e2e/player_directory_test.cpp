// The player's own directory: where the game keeps its files whatever directory it starts from,
// and what it does with a directory or files it cannot use.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "virtual_display.h"

namespace vyr::e2e {
namespace {

namespace fs = std::filesystem;

const std::string QUIT_KEYS = "60 key 0x1d down\n62 key 0x10 down\n";
constexpr int CTRL_Q_STATUS = 16;

size_t count_of(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(PlayersDirectory, TheLastRunsSettingsAreFoundFromAnyStartDirectory) {
    ScratchDirectory dir;
    fs::path home = dir.path() / "home";
    auto script = write_bytes(dir / "run.txt", "30 capture shot.ppm\n" + QUIT_KEYS);
    const char* starts[] = {"a", "b"};
    for (int run_number = 1; const char* start : starts) {
        fs::create_directories(dir.path() / start);
        RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + script.string() + " VYR_HOME=" + home.string(),
                                start);
        ASSERT_EQ(run.exit_code, CTRL_Q_STATUS) << start << "\n" << run.output;
        EXPECT_NE(read_bytes(home / "prefs.cfg").find("Quick Start Game Runs=" + std::to_string(run_number++)),
                  std::string::npos)
            << start;
        EXPECT_TRUE(fs::exists(dir.path() / start / "shot.ppm")) << start << ": captures stay where the run started";
        EXPECT_FALSE(fs::exists(dir.path() / start / "prefs.cfg")) << start;
    }
}

TEST(PlayersDirectory, OneThatCannotBeMadeIsSaidOnceAndTheGamePlaysOn) {
    ScratchDirectory dir;
    write_bytes(dir / "file", "");
    fs::path home = dir.path() / "file" / "vyr";  // under a file: it cannot be made
    auto script = write_bytes(dir / "run.txt", "30 capture shot.ppm\n" + QUIT_KEYS);
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + script.string() + " VYR_HOME=" + home.string());
    EXPECT_EQ(run.exit_code, CTRL_Q_STATUS) << run.output;
    EXPECT_EQ(count_of(run.output, "cannot use the player's directory " + home.string()), 1u) << run.output;
    EXPECT_TRUE(fs::exists(dir.path() / "shot.ppm")) << "the game ran";
}

TEST(PlayersDirectory, BadDataDirectoryOrBankEndsOrIsMadeAgain) {
    ScratchDirectory dir;
    auto script = write_bytes(dir / "run.txt", QUIT_KEYS);
    const fs::path bank = dir.path() / "sound" / "maximal.blk";
    const struct {
        const char* what;
        std::function<void()> prepare;
        std::string environment;
        int status;
        std::string said;
        std::function<bool()> after;
    } cases[] = {
        {"a VYR_DATA without the sentinel, a data set beside the program notwithstanding",
         [&] { fs::create_directories(dir.path() / "nodata"); }, "VYR_DATA=" + (dir.path() / "nodata").string(), 10,
         "VYR_DATA names " + (dir.path() / "nodata").string() + ", which has no vyr.rop", [] { return true; }},
        {"a sound bank whose record runs past its end",
         [&] {
             fs::create_directories(bank.parent_path());
             std::ofstream(bank, std::ios::binary) << std::string("\x10\0\0\0\x05\0\0\0\x40\0\0\0ab", 14);
         },
         "VYR_AUDIO=null", CTRL_Q_STATUS, "maximal.blk: a record runs past the end of the file",
         [&] { return fs::file_size(bank) > 1000 && read_bytes(bank).substr(fs::file_size(bank) - 4) == "\xff\xff\xff\xff"; }},
    };
    for (const auto& c : cases) {
        c.prepare();
        RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + script.string() + " " + c.environment);
        EXPECT_EQ(run.exit_code, c.status) << c.what << "\n" << run.output;
        EXPECT_NE(run.output.find(c.said), std::string::npos) << c.what << "\n" << run.output;
        EXPECT_TRUE(c.after()) << c.what;
    }
}

// One directory, one copy: a second is sent away with status 1 and told how to run two, and a copy
// that was killed leaves nothing that keeps the next one out.
TEST(PlayersDirectory, ASecondCopyIsSentAwayAndAKilledOneNeverBlocks) {
    ScratchDirectory dir;
    const fs::path home = dir.path() / "home";
    // The child starts where the test runs: its capture goes by the full name.
    auto stay = write_bytes(dir / "stay.txt", "30 capture " + (dir.path() / "first.ppm").string() + "\n");
    auto quit = write_bytes(dir / "quit.txt", "30 capture third.ppm\n" + QUIT_KEYS);
    // The first copy stays on its menu, on the real clock, until it is killed.
    auto first = std::make_unique<Child>(
        std::vector<std::string>{std::string(VYR_BUILD_DIR) + "/vyr"},
        std::vector<std::string>{"VYR_VIDEO=headless", "VYR_AUDIO=off", "VYR_CLOCK=real",
                                 "VYR_DATA=" + data_without_movies(dir).string(), "VYR_HOME=" + home.string(),
                                 "VYR_SCRIPT=" + stay.string()},
        dir.path() / "first.txt");
    ASSERT_TRUE(wait_for([&] { return fs::exists(dir.path() / "first.ppm"); })) << read_bytes(dir / "first.txt");

    RunResult second = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + quit.string() + " VYR_HOME=" + home.string());
    EXPECT_EQ(second.exit_code, 1) << second.output;
    EXPECT_NE(second.output.find("vyr: The player's directory " + home.string() +
                                 " is in use by another copy of the game. To run two at once, give each its own "
                                 "directory with VYR_HOME.\n"),
              std::string::npos)
        << second.output;
    EXPECT_FALSE(fs::exists(dir.path() / "third.ppm")) << "the second copy never reached its menu";
    EXPECT_FALSE(fs::exists(home / "prefs.cfg")) << "nor wrote the settings";

    kill(first->pid(), SIGKILL);
    EXPECT_EQ(first->wait_for_exit(), 128 + SIGKILL);
    RunResult third = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + quit.string() + " VYR_HOME=" + home.string());
    EXPECT_EQ(third.exit_code, CTRL_Q_STATUS) << third.output;
    EXPECT_TRUE(fs::exists(dir.path() / "third.ppm"));
}

}  // namespace
}  // namespace vyr::e2e
