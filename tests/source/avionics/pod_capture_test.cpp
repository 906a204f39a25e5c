// The pod page and the threat display drawn over a generated theatre as the panel draws them:
// into an 8-bit picture with the accelerator flag clear, the sensor image rendered by the
// accelerator off-screen. The picture is kept beside the build to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/terrain_colours.h"
#include "library/3dvisual/view.h"
#include "library/graphics/palette.h"
#include "library/graphics/plot.h"
#include "library/maths/units.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/targeting_pod.h"
#include "source/avionics/threat_warning.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/radar/radar.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapon_keys.h"
#include "tests/library/3dvisual/world_fixtures.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {
constexpr int32_t POST = 1 << 20;
constexpr int32_t UNIT = 0x100000;
constexpr int W = 320, H = 160;
constexpr MfdRect POD_RECT = {10, 10, 140, 140};
constexpr MfdRect THREAT_RECT = {170, 10, 140, 140};

class PodCapture : public GeneratedWorld {
protected:
    void SetUp() override {
        GeneratedWorld::SetUp();
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
    }
    void TearDown() override {
        select_screen(nullptr);
        destroy_screen(screen);
        player_position = nullptr;
        system_failures = {};
        GeneratedWorld::TearDown();
    }
    void write_picture(const std::string& path) const {
        std::ofstream out(path, std::ios::binary);
        out << "P6\n" << W << " " << H << "\n255\n";
        const int scale = *std::max_element(base_palette, base_palette + PALETTE_BYTES) < 64 ? 4 : 1;
        for (uint8_t index : pixels)
            for (int c = 0; c < 3; ++c) out.put(char(std::min(255, base_palette[3 * index + c] * scale)));
    }
    std::set<int> colours_in(const MfdRect& r) const {
        std::set<int> found;
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x) found.insert(pixels[size_t(y * W + x)]);
        return found;
    }

    std::vector<uint8_t> pixels = std::vector<uint8_t>(W * H, 0);
    Screen* screen = nullptr;
};

TEST_F(PodCapture, ThePodsImageAndTheThreatDisplayOverAfghanistan) {
    open_zone("afghan.wz");
    load_base_palette("3ddata\\3dpal.rgb", 0, 224, 0);
    load_terrain_colours();
    // What the palette's trip to the display would leave for the accelerator's colours.
    const int scale = *std::max_element(base_palette, base_palette + PALETTE_BYTES) < 64 ? 4 : 1;
    std::copy(base_palette, base_palette + PALETTE_BYTES, working_palette);
    for (int i = 0; i < 256; ++i)
        display_colours[i] = uint32_t(base_palette[3 * i] * scale) << 16 | uint32_t(base_palette[3 * i + 1] * scale) << 8 |
                             uint32_t(base_palette[3 * i + 2] * scale);
    ViewSettings view = view_settings;
    view.visual_range = 6;
    view.object_visual_range = 20 * POST;
    view.sun_elevation = -40 * DEGREE;
    set_view_settings(&view);
    accelerator_flag = 0;
    screen = wrap_screen(W, H, 0, pixels.data());
    select_screen(screen);

    Pose aircraft{{118 * POST, 146 * POST, 9000 * FOOT}, {}};
    build_rotation_matrix(10 * DEGREE, 0, 0, aircraft.matrix);
    player_position = &aircraft;
    flight_data.altitude = aircraft.position.z;
    flight_data.height_above_ground = aircraft.position.z - get_ground_height(aircraft.position.x, aircraft.position.y);
    reset_targeting_pod();
    reset_designation();
    left_mfd_page = MFD_POD;
    active_mfd = 1;
    radar_on = 0;
    if (radar_air_mode) toggle_air_ground_mode();
    selected_weapon = WEAPON_GBU_12;
    pod_elevation = -20 * DEGREE;
    pod_zoom = 4;
    draw_mfd_pod_page(POD_RECT);

    // A SAM site and an early-warning radar ahead, both seeing the aircraft.
    ground_object sam = {450, 0, 0, 0, 0, uint16_t(2 << GROUND_SIDE_SHIFT)};
    ground_object radar = {46, 0, 0, 0, 0, uint16_t(2 << GROUND_SIDE_SHIFT)};
    Target sam_target = {}, radar_target = {};
    sam_target.kind = radar_target.kind = TARGET_GROUND_OBJECT;
    sam_target.object = &sam;
    radar_target.object = &radar;
    sam_target.position = {aircraft.position.x + 2 * POST, aircraft.position.y + 4 * POST, 0};
    radar_target.position = {aircraft.position.x - 20 * POST, aircraft.position.y + 10 * POST, 0};
    frame_seconds = 0.02;
    init_threat_warning();
    add_threat(&sam_target);
    add_threat(&radar_target);
    clear_sorted_threats();
    update_threat_warning();
    ASSERT_EQ(threat_display_count, 2);
    set_plot(THREAT_RECT.x, THREAT_RECT.y, THREAT_RECT.width, THREAT_RECT.height, -UNIT, -UNIT, UNIT, UNIT);
    fill_plot(0);
    draw_threat_display();

    write_picture(std::string(VYR_BUILD_DIR) + "/pod_page_afghan.ppm");
    // The ground in many of the display's shades, and the crosshair over it.
    const std::set<int> pod = colours_in(POD_RECT);
    EXPECT_GE(std::count_if(pod.begin(), pod.end(), [](int c) { return c >= 208 && c <= 223; }), 4);
    EXPECT_TRUE(pod.count(1));
    const std::set<int> threats = colours_in(THREAT_RECT);
    EXPECT_TRUE(threats.count(217));
    EXPECT_TRUE(threats.count(221));
}

}  // namespace
}  // namespace vyr
