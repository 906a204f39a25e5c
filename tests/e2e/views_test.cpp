// The outside views of a quick-start flight: the orbit camera, the fly-by, the frozen camera and a
// held rear view, each captured and checked to show the world rather than a black frame.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "capture.h"
#include "run_vyr.h"
#include "tests/support/paths.h"

namespace vyr::e2e {
namespace {

// Distinct colours in the frame above the panel's rows: a black or empty frame has one or two.
size_t colours_in(const Capture& c) {
    std::set<int> seen;
    for (int y = 0; y < 300; y += 3)
        for (int x = 0; x < c.width; x += 3) {
            const auto p = c.at(x, y);
            seen.insert(p[0] << 16 | p[1] << 8 | p[2]);
        }
    return seen.size();
}

int differing_pixels(const Capture& a, const Capture& b) {
    int n = 0;
    for (size_t i = 0; i < a.rgb.size() && i < b.rgb.size(); i += 3) n += a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1];
    return n;
}

TEST(Views, OrbitFlybyFrozenAndRearViewsShowTheWorld) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\n");
    auto key = [](int t, const char* scan) {
        return std::to_string(t) + " key " + scan + " down\n" + std::to_string(t + 2) + " key " + scan + " up\n";
    };
    const std::string script = std::string("60 click 500 70\n210 click 530 385\n220 click 500 70\n") +
                               "900 capture cockpit.ppm\n" + key(910, "0x40") + "960 capture orbit.ppm\n" +
                               key(970, "0x44") + "1060 capture flyby.ppm\n" + key(1070, "0x57") +
                               "1120 capture frozen.ppm\n" + key(1130, "0x3f") + "1140 key 0x0b down\n" +
                               "1180 capture rear.ppm\n1182 key 0x0b up\n1230 capture back.ppm\n" +
                               "1300 key 0x38 down\n1302 key 0x2d down\n1304 key 0x2d up\n1306 key 0x38 up\n" +
                               "1360 key 0x15 down\n1362 key 0x15 up\n1700 key 0x1d down\n1702 key 0x10 down\n";
    auto path = write_bytes(dir / "run.txt", script);
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + path.string());
    ASSERT_EQ(run.exit_code, 16) << run.output;
    // Kept beside the build for a look at them.
    const std::filesystem::path kept = std::filesystem::path(VYR_BUILD_DIR) / "captures" / "views";
    std::filesystem::create_directories(kept);
    for (const char* name : {"cockpit.ppm", "orbit.ppm", "flyby.ppm", "frozen.ppm", "rear.ppm", "back.ppm"})
        std::filesystem::copy_file(dir.path() / name, kept / name, std::filesystem::copy_options::overwrite_existing);
    const Capture cockpit = read_capture(dir.path() / "cockpit.ppm");
    for (const char* name : {"orbit.ppm", "flyby.ppm", "frozen.ppm", "rear.ppm"}) {
        const Capture c = read_capture(dir.path() / name);
        EXPECT_GT(colours_in(c), 8u) << name << " is not a black or empty frame";
        EXPECT_GT(differing_pixels(c, cockpit), 20000) << name << " is not the cockpit's picture";
    }
    EXPECT_LT(differing_pixels(read_capture(dir.path() / "back.ppm"), cockpit), differing_pixels(read_capture(dir.path() / "rear.ppm"), cockpit))
        << "let go, the rear view returns to the cockpit";
}

}  // namespace
}  // namespace vyr::e2e
