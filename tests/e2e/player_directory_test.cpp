// The player's own directory: where the game keeps its files whatever directory it starts from,
// and what it does with a directory or files it cannot use.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "run_vyr.h"

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

}  // namespace
}  // namespace vyr::e2e
