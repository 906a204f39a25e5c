// A single mission in Israel opened on the map plays its briefing: section titles over the
// scrolling subtitles, the 3D view window moved clear of what it shows, the spoken briefing on
// "Briefing", and ">" and "<" moving between sections.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "capture.h"
#include "run_vyr.h"
#include "wav.h"

namespace vyr::e2e {
namespace {

constexpr int QUIT_STATUS = 0;
constexpr double BRIEFING_CLICK_SECONDS = 38.0;

const char* const TO_THE_BRIEFING = "60 click 500 215\n"    // Combat
                                    "200 click 500 70\n"    // Single Missions
                                    "340 click 500 70\n"    // Israel
                                    "700 click 100 85\n"    // the first mission
                                    "1000 click 580 410\n"  // Load Mission
                                    "1800 capture ingress.ppm\n"
                                    "3600 capture target.ppm\n"
                                    "3700 click 598 9\n"  // "Briefing" hides the subtitles
                                    "3800 click 598 9\n"  // and shows them again, spoken
                                    "3900 capture spoken.ppm\n"
                                    "4000 click 346 469\n"  // ">"
                                    "4200 capture forward.ppm\n"
                                    "4300 click 294 469\n"  // "<"
                                    "4500 capture back.ppm\n"
                                    "4600 quit\n";

// The toolkit's close-box colour, on a window's top-left corner.
constexpr std::array<int, 3> CLOSE_BOX = {102, 151, 154};

int close_box_pixels(const Capture& c, int window_x, int window_y) {
    int n = 0;
    for (int y = window_y + 1; y < window_y + 13; ++y)
        for (int x = window_x + 1; x < window_x + 13; ++x) n += c.at(x, y) == CLOSE_BOX;
    return n;
}

// The subtitles' section title.
std::vector<std::array<int, 3>> title(const Capture& c) {
    std::vector<std::array<int, 3>> pixels;
    for (int y = 403; y < 418; ++y)
        for (int x = 90; x < 300; ++x) pixels.push_back(c.at(x, y));
    return pixels;
}

TEST(Briefing, PlaysOverTheMapWithItsViewClearOfTheRouteAndItsSpeech) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\nSound Music=0\r\nSound Speech=1\r\nMission Planner=1\r\n");
    const auto script = write_bytes(dir / "run.txt", TO_THE_BRIEFING);
    const RunResult result =
        run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_SCRIPT=" + script.string());
    ASSERT_EQ(result.exit_code, QUIT_STATUS) << result.output;

    const Capture ingress = read_capture(dir.path() / "ingress.ppm");
    const Capture target = read_capture(dir.path() / "target.ppm");
    // Flying A to B along the top the window stands low on the right; circling C it moves left.
    EXPECT_GT(close_box_pixels(ingress, 376, 216), 20);
    EXPECT_LT(close_box_pixels(ingress, 8, 216), 5);
    EXPECT_GT(close_box_pixels(target, 8, 216), 20);
    EXPECT_NE(title(ingress), title(target)) << "a new section's title";

    const auto mix = read_wav(dir.path() / "mix.wav");
    EXPECT_LT(loudness(mix, BRIEFING_CLICK_SECONDS - 6, BRIEFING_CLICK_SECONDS), 50) << "quiet before";
    EXPECT_GT(loudness(mix, BRIEFING_CLICK_SECONDS, BRIEFING_CLICK_SECONDS + 1.5), 500) << "the spoken briefing";

    const Capture forward = read_capture(dir.path() / "forward.ppm");
    const Capture back = read_capture(dir.path() / "back.ppm");
    EXPECT_NE(title(forward), title(target)) << "\">\" goes on to the next section";
    EXPECT_EQ(title(back), title(target)) << "\"<\" replays the section before the one in progress";
}

}  // namespace
}  // namespace vyr::e2e
