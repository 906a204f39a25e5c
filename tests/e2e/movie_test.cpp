// The intro's movies as the player sees and hears them: the studio's logo, then the flight over
// the coast, a key skipping on to the next, and the Main Screen with its music after them.
#include <gtest/gtest.h>

#include <string>

#include "capture.h"
#include "run_vyr.h"
#include "wav.h"

namespace vyr::e2e {
namespace {

bool bright(const std::array<int, 3>& c) { return c[0] > 150 && c[1] > 150 && c[2] > 150; }

TEST(Movies, TheIntroPlaysTheLogoThenTheFlightAndAKeyMovesOnToTheNext) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Animations=1\r\nQuick Start Game Runs=1\r\nSound Music=1\r\nSound Music Volume=100\r\n");
    // The logo lasts 3.5 s: Space at 2.5 s ends it, so that 3.3 s in the flight is on already.
    auto script = write_bytes(dir / "run.txt",
                              "160 capture logo.ppm\n250 key 0x39 down\n252 key 0x39 up\n330 capture flight.ppm\n"
                              "600 capture jet.ppm\n2400 capture main.ppm\n2500 key 0x1d down\n2502 key 0x10 down\n");
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_DATA=" +
                                     GENERATED_DATA.string() + " VYR_SCRIPT=" + script.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;

    // 320 x 200 frames twice over, between black bands of 40 rows.
    Capture logo = read_capture(dir.path() / "logo.ppm");
    EXPECT_EQ(logo.at(320, 20), (std::array<int, 3>{0, 0, 0})) << "the band above the movie";
    int lettering = 0;
    for (int x = 200; x < 440; ++x) lettering += bright(logo.at(x, 220));
    EXPECT_GT(lettering, 20) << "the studio's name across the middle";

    Capture flight = read_capture(dir.path() / "flight.ppm");
    auto sky = flight.at(320, 50), sea = flight.at(320, 420);
    EXPECT_GT(sky[2], sky[0] + 60) << "a blue sky at the top";
    EXPECT_GT(sea[2], sea[0]) << "the sea below";
    EXPECT_EQ(flight.at(320, 460), (std::array<int, 3>{0, 0, 0})) << "the band below the movie";

    Capture jet = read_capture(dir.path() / "jet.ppm");
    int grey = 0;  // the aircraft's sides against the sky
    for (int y = 40; y < 276; ++y)
        for (int x = 0; x < 640; ++x) grey += jet.at(x, y) == std::array<int, 3>{112, 120, 128};
    EXPECT_GT(grey, 500) << "the aircraft crossing the sky";

    EXPECT_EQ(first_screen(read_capture(dir.path() / "main.ppm")), Shown::MAIN_SCREEN);

    std::vector<int16_t> samples = read_wav(dir.path() / "mix.wav");
    EXPECT_GT(loudness(samples, 0.8, 2.4), 300) << "the logo's chime";
    EXPECT_GT(loudness(samples, 4.0, 8.0), 1000) << "the flight's engines";
    EXPECT_GT(loudness(samples, 22.0, 24.0), 1000) << "the menu music after the movies";
}

}  // namespace
}  // namespace vyr::e2e
