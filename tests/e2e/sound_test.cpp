// What the player hears: with music on, the menus play the theme.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vyr::e2e
