// The HSI page of a quick-start flight: the pilot looks down at the panel, steps the right display
// back to the HSI and gives it the focus. The page shows the theatre round the aircraft: the
// ground in greens by its height, water, the runway in grey and the ground objects in their
// sides' colours, under the route and its letters.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "capture.h"
#include "run_vyr.h"
#include "tests/support/paths.h"

namespace vyr::e2e {
namespace {

// The right display's window on the panel seen from the look down.
constexpr int LEFT = 424, TOP = 232, RIGHT = 566, BOTTOM = 370;

struct HsiColours {
    std::set<int> greens;
    int greys = 0, water = 0, allied = 0;
};

HsiColours colours_in_hsi(const Capture& c) {
    HsiColours h;
    for (int y = TOP; y < BOTTOM; ++y)
        for (int x = LEFT; x < RIGHT; ++x) {
            const auto p = c.at(x, y);
            if (p[1] > p[0] + 20 && p[1] > p[2] + 20) h.greens.insert(p[0] << 16 | p[1] << 8 | p[2]);
            if (std::abs(p[0] - p[1]) < 8 && std::abs(p[1] - p[2]) < 8 && p[0] > 100 && p[0] < 200) ++h.greys;
            if (p[2] > 130 && p[2] < 200 && p[2] > p[1] + 50) ++h.water;
            if (p[2] > 230 && p[0] < 100) ++h.allied;
        }
    return h;
}

// Israel's quick start stands on the runway: zoomed in to 1.3 nm the runway and the airfield's
// allied ground objects show round the aircraft. Cyprus's shows a river within 10 nm.
TEST(HsiMap, TheHsiPageShowsTheTheatreRoundTheAircraft) {
    auto key = [](int t, const char* scan) {
        return std::to_string(t) + " key " + scan + " down\n" + std::to_string(t + 2) + " key " + scan + " up\n";
    };
    const struct {
        const char* zone;
        const char* click;  // the war zone's button on the Quick Start screen
        int zoom_steps;
    } cases[] = {{"israel", "220 click 500 70\n", 3}, {"cyprus", "220 click 500 210\n", 0}};
    const std::filesystem::path kept = std::filesystem::path(VYR_BUILD_DIR) / "captures" / "hsi";
    std::filesystem::create_directories(kept);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        ScratchDirectory dir;
        write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\n");
        // Main Screen, Quick Start, the war zone; in flight look down (3), step the right display
        // back (shift ]), give it the focus (A), zoom in (.) and capture.
        std::string script = std::string("60 click 500 70\n210 click 530 385\n") + c.click + key(910, "0x04") +
                             "1010 key 0x2a down\n" + key(1012, "0x1b") + "1016 key 0x2a up\n" + key(1020, "0x1e");
        for (int i = 0; i < c.zoom_steps; ++i) script += key(1030 + 10 * i, "0x34");
        script += "1100 capture hsi.ppm\n1110 quit\n";
        auto path = write_bytes(dir / "run.txt", script);
        RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + path.string());
        ASSERT_EQ(run.exit_code, 0) << run.output;
        std::filesystem::copy_file(dir.path() / "hsi.ppm", kept / (std::string(c.zone) + ".ppm"),
                                   std::filesystem::copy_options::overwrite_existing);
        const HsiColours h = colours_in_hsi(read_capture(dir.path() / "hsi.ppm"));
        EXPECT_GE(h.greens.size(), 6u) << "the ground's height steps, the route and its letters";
        if (c.zoom_steps) {
            EXPECT_GT(h.greys, 0) << "the runway";
            EXPECT_GT(h.allied, 20) << "the airfield's allied ground objects";
        } else {
            EXPECT_GT(h.water, 20) << "the river";
        }
    }
}

}  // namespace
}  // namespace vyr::e2e
