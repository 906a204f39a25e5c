// What the player hears: with music on, the menus play the theme.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "run_vyr.h"

namespace vyr::e2e {
namespace {

uint32_t little_endian(const std::vector<uint8_t>& bytes, size_t offset, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[offset + i];
    return value;
}

TEST(Sound, MenusPlayTheTheme) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Sound Music=1\r\nSound Music Volume=100\r\n");
    auto script = write_bytes(dir / "run.txt", "1000 key 0x1d down\n1001 key 0x10 down\n");  // Ctrl+Q after 10 s
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_SCRIPT=" +
                                     script.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;

    std::ifstream file(dir.path() / "mix.wav", std::ios::binary);
    std::vector<uint8_t> wav(std::istreambuf_iterator<char>(file), {});
    ASSERT_GT(wav.size(), 44u);
    ASSERT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
    EXPECT_EQ(little_endian(wav, 22, 2), 2u);       // stereo
    EXPECT_EQ(little_endian(wav, 24, 4), 44100u);   // rate
    EXPECT_EQ(little_endian(wav, 34, 2), 16u);      // bits
    size_t frames = (wav.size() - 44) / 4;
    EXPECT_NEAR(double(frames) / 44100, 10.0, 0.5) << "the mix lasts as long as the run";

    double sum = 0;
    for (size_t i = 44; i + 1 < wav.size(); i += 2) {
        double sample = int16_t(little_endian(wav, i, 2));
        sum += sample * sample;
    }
    double rms = std::sqrt(sum / double((wav.size() - 44) / 2));
    EXPECT_GT(rms, 1000) << "the theme is heard, not silence";
    EXPECT_LT(rms, 20000) << "and it is not clipped noise";
}

}  // namespace
}  // namespace vyr::e2e
