// What the player hears: with music on, the menus play the theme.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "run_vyr.h"
#include "wav.h"

namespace vyr::e2e {
namespace {

TEST(Sound, MenusPlayTheTheme) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Sound Music=1\r\nSound Music Volume=100\r\n");
    auto script = write_bytes(dir / "run.txt", "1000 key 0x1d down\n1001 key 0x10 down\n");  // Ctrl+Q after 10 s
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_SCRIPT=" +
                                     script.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;

    std::vector<int16_t> samples = read_wav(dir.path() / "mix.wav");
    ASSERT_FALSE(samples.empty());
    EXPECT_NEAR(double(samples.size() / 2) / WAV_RATE, 10.0, 0.5) << "the mix lasts as long as the run";
    double rms = loudness(samples, 0, 10);
    EXPECT_GT(rms, 1000) << "the theme is heard, not silence";
    EXPECT_LT(rms, 20000) << "and it is not clipped noise";
}

// Israel's air quick start with the AIM-9M selected (its tone sounding over the engine) and one
// launched: the loudest mix of the flight stays below full scale.
TEST(Sound, TheAim9ToneAndLaunchDoNotClip) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\nSound effects=1\r\nSound Master Volume=63\r\n"
                                   "Sound Effects Volume=63\r\n");
    auto script = write_bytes(dir / "run.txt",
                              "60 click 500 70\n"        // Quick Start
                              "210 click 420 385\n"      // air
                              "220 click 500 70\n"       // Israel
                              "600 key 0x1c down\n602 key 0x1c up\n"     // Enter steps to the AIM-9M
                              "900 key 0x39 down\n902 key 0x39 up\n"     // Space launches it
                              "1600 key 0x38 down\n1602 key 0x2d down\n1604 key 0x2d up\n1606 key 0x38 up\n"
                              "1660 key 0x15 down\n1662 key 0x15 up\n"   // Alt+X, Y: back to the menus
                              "1800 key 0x1d down\n1802 key 0x10 down\n");  // Ctrl+Q
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_SCRIPT=" +
                                     script.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;

    std::vector<int16_t> samples = read_wav(dir.path() / "mix.wav");
    EXPECT_GT(loudness(samples, 6, 12), 1000) << "the flight is heard";
    EXPECT_EQ(std::count_if(samples.begin(), samples.end(), [](int16_t s) { return s == 32767 || s == -32768; }), 0)
        << "samples at full scale";
}

}  // namespace
}  // namespace vyr::e2e
