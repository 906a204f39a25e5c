// The gun seen from the cockpit: a burst's tracers stream in from the muzzle, left of the nose,
// towards the gun cross.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "capture.h"
#include "run_vyr.h"

namespace vyr::e2e {
namespace {

// Tracer yellows and oranges; the sky, the ground and the head-up display's symbols have none.
bool is_tracer(const std::array<int, 3>& p) { return p[0] > p[2] + 50 && p[1] > p[2] + 40; }

struct TracerPixels {
    int all = 0, left_of_cross = 0;
};

// Over the head-up display's window; the gun cross stands on column 320.
TracerPixels tracer_pixels(const Capture& c) {
    TracerPixels n;
    for (int y = 40; y < 200; ++y)
        for (int x = 210; x < 430; ++x)
            if (is_tracer(c.at(x, y))) {
                ++n.all;
                n.left_of_cross += x <= 317;
            }
    return n;
}

TEST(Gun, ABurstsTracersStreamFromTheMuzzleLeftOfTheNose) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\n");
    auto script = write_bytes(dir / "run.txt",
                              "60 click 500 70\n"    // Quick Start
                              "210 click 420 385\n"  // air
                              "220 click 500 70\n"   // Israel
                              "600 key 0x1c down\n602 key 0x1c up\n"  // Enter twice: the AIM-9M, the gun
                              "620 key 0x1c down\n622 key 0x1c up\n"
                              "650 key 0x1c down\n652 key 0x1c up\n"  // and its manual aiming
                              "880 capture before.ppm\n"
                              "900 key 0x39 down\n"  // Space held
                              "940 capture burst.ppm\n"
                              "1000 key 0x39 up\n"
                              "1100 key 0x38 down\n1102 key 0x2d down\n1104 key 0x2d up\n1106 key 0x38 up\n"
                              "1160 key 0x15 down\n1162 key 0x15 up\n"  // Alt+X, Y
                              "1300 key 0x1d down\n1302 key 0x10 down\n");
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + script.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;
    EXPECT_EQ(tracer_pixels(read_capture(dir.path() / "before.ppm")).all, 0);
    const TracerPixels burst = tracer_pixels(read_capture(dir.path() / "burst.ppm"));
    EXPECT_GE(burst.all, 5) << "the burst is seen";
    // Rounds that left from the aircraft's reference point would fly along the line of sight and
    // stand as one column under the cross, hidden by it.
    EXPECT_GE(burst.left_of_cross, 4) << "from the muzzle, not from the eye's line";
}

}  // namespace
}  // namespace vyr::e2e
