// The radar over a theatre of the generated data set with a mission's drones placed as a flight
// places them: the player's aircraft faces a group of enemy aircraft with the radar on, and the
// contacts are drawn into an 8-bit screen as the radar page will draw them. Each picture is kept
// as a PPM in the build directory to be looked at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/world.h"
#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/system/key.h"
#include "source/avionics/avionics.h"
#include "source/avionics/mfd.h"
#include "source/avionics/night_vision.h"
#include "source/avionics/panel.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_update.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/models/flight_model.h"
#include "source/radar/air_radar.h"
#include "source/radar/ground_radar.h"
#include "source/radar/radar.h"
#include "source/radar/target_scan.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapon_keys.h"
#include "tests/support/scratch.h"
#include "tests/support/war_zone.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {
constexpr int MIG_29 = 234, F_15 = 225, T_80 = 93;
constexpr int WIDTH = 256, HEIGHT = 256;

// Radar colours as the cockpit shows them; everything else dark.
uint32_t shown_colour(uint8_t index) {
    switch (index) {
    case 179: return 0xC0C0C0;
    case 204: return 0xFF4030;
    case 207: return 0xFF40FF;
    case 215: return 0x60FF60;
    case 217: return 0x40A0FF;
    case 218: return 0xFFFF60;
    case 222: return 0xFFFFFF;
    default: return 0x102010;
    }
}

class RadarTheatre : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        use_generated_data();
        init_trig_tables();
        init_drone_types();
        set_war_zone(1);
        reload_objects("3ddata\\");
        open_war_zone("israel.wz", WORLD_LOAD_DATA);
        init_weapon_info();
        init_mobile_lists();
        saved_object = player_object;
        saved_position = player_position;
        game_mode = GAME_SINGLE;
        control_mode = CONTROL_BOTH;
        time_acceleration = 1;
        night_vision_on = 0;
        selected_weapon = 0;
        system_failures = {};
        left_mfd_page = MFD_RADAR;
        active_mfd = 1;
        key_down[SCAN_ALT] = key_down[SCAN_CTRL] = 0;
        push_hot_key_layer();
        init_radar();
        reset_weapon_modes();
        scan_azimuth_limit = scan_elevation_limit = 0;  // the slew, kept across flights, back to the nose
        slew_scan_centre();
        set_radar_scan();
        reset_designation();
        pixels.assign(WIDTH * HEIGHT, 0);
        screen = wrap_screen(WIDTH, HEIGHT, 0, pixels.data());
        select_screen(screen);
        save_plot(saved_plot);
    }
    void TearDown() override {
        if (!screen) return;
        restore_plot(saved_plot);
        destroy_screen(screen);
        pop_hot_key_layer();
        destroy_all_tasks();
        user_drone = nullptr;
        player_object = saved_object;
        player_position = saved_position;
        init_mobile_lists();
        shutdown_world();
        std::memset(terrain_posts, 0, sizeof terrain_posts);
        std::fill(std::begin(ground_object_tiles), std::end(ground_object_tiles), nullptr);
        if (radar_ground_mode) toggle_air_ground_mode();
        ScratchDirectories::TearDown();
    }

    // A leader of the side and type starting at `p`, heading for a second waypoint 20 nm away.
    Drone* leader(int side, int task_type, int object_number, const Vector3& p, uint32_t heading) {
        Task* task = create_task();
        set_task_side(task, side);
        set_task_type(task, task_type);
        Drone* d = create_drone(task);
        set_drone_type(d, object_number);
        const int32_t leg = 20 * NAUTICAL_MILE;
        for (const Vector3& point : {p, Vector3{p.x + mul31(leg, lookup_sin(heading)), p.y + mul31(leg, lookup_cos(heading)), p.z}})
            set_waypoint_position(append_waypoint(d), point.x, point.y, point.z);
        return d;
    }

    // The world point `forward` ahead and `right` to the right of the start, flying north.
    Vector3 ahead(int32_t forward, int32_t right, int32_t z) const { return {start.x + right, start.y + forward, z}; }

    void fly(const Vector3& position, uint32_t heading) {
        player_position->position = position;
        build_rotation_matrix(heading, 0, 0, player_position->matrix);
        player_flight_data.heading = int32_t(heading);
        player_flight_data.pitch = player_flight_data.roll = 0;
    }

    // One frame of the avionics tick with a sweep due.
    void frame() {
        frame_seconds = 0.3;
        update_avionics();
    }

    void clear() { std::fill(pixels.begin(), pixels.end(), 0); }
    int count(uint8_t colour) const { return int(std::count(pixels.begin(), pixels.end(), colour)); }
    // The larger side of the box round every pixel of the colour.
    int spread(uint8_t colour) const {
        int x0 = WIDTH, y0 = HEIGHT, x1 = -1, y1 = -1;
        for (int i = 0; i < WIDTH * HEIGHT; ++i) {
            if (pixels[i] != colour) continue;
            x0 = std::min(x0, i % WIDTH), x1 = std::max(x1, i % WIDTH);
            y0 = std::min(y0, i / WIDTH), y1 = std::max(y1, i / WIDTH);
        }
        return std::max(x1 - x0, y1 - y0) + 1;
    }

    void write(const char* name) const {
        const std::string path = std::string(VYR_BUILD_DIR) + "/radar_" + name + ".ppm";
        FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fprintf(file, "P6\n%d %d\n255\n", WIDTH, HEIGHT);
        for (uint8_t index : pixels) {
            const uint32_t rgb = shown_colour(index);
            const unsigned char bytes[3] = {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)};
            std::fwrite(bytes, 1, 3, file);
        }
        std::fclose(file);
    }

    const Vector3 start = {1 << 27, 1 << 27, 12000 * FOOT};
    std::vector<uint8_t> pixels;
    Screen* screen = nullptr;
    PlotWindow saved_plot{};
    ObjectInstance* saved_object = nullptr;
    Pose* saved_position = nullptr;
};

TEST_F(RadarTheatre, TheRadarPagesContactsOverAGeneratedTheatre) {
    const int32_t nm = NAUTICAL_MILE;
    leader(SIDE_ALLIED, TASK_COUNTER_AIR, F_15, start, 0);  // the player's
    // A group of four coming head on, a pair going away to the right, an allied flight to the left.
    for (int i = 0; i < 4; ++i)
        leader(SIDE_ENEMY, TASK_COUNTER_AIR, MIG_29, ahead(18 * nm + i * nm / 3, (i - 2) * nm / 2, 14000 * FOOT),
               0x80000000);
    leader(SIDE_ENEMY, TASK_COUNTER_AIR, MIG_29, ahead(25 * nm, 8 * nm, 20000 * FOOT), 0x10000000);
    leader(SIDE_ENEMY, TASK_COUNTER_AIR, MIG_29, ahead(28 * nm, 10 * nm, 21000 * FOOT), 0x10000000);
    leader(SIDE_ALLIED, TASK_COUNTER_AIR, F_15, ahead(10 * nm, -9 * nm, 15000 * FOOT), 0);
    // Tanks ahead on the ground and a column off to the right.
    for (int i = 0; i < 3; ++i) leader(SIDE_ENEMY, TASK_GROUND_VEHICLE, T_80, ahead(5 * nm + i * nm, -nm, 0), 0);
    for (int i = 0; i < 3; ++i) leader(SIDE_ENEMY, TASK_GROUND_VEHICLE, T_80, ahead(7 * nm, 2 * nm + i * nm / 2, 0), 0);
    place_drones_at_start();
    create_user_drone();
    link_mobile_object(player_object);
    fly(start, 0);

    // TWS at 35 nm: a B-scope with range up the screen, the scan's width across.
    dispatch_hot_key(0x13);  // R
    frame();
    ASSERT_GE(air_contact_count, 6);
    designated_target = air_display[0]->target;
    set_plot(0, 0, WIDTH, HEIGHT, -air_range / 2, 0, air_range / 2, air_range);
    draw_air_radar_contacts();
    write("tws");
    EXPECT_GT(count(204), 40) << "the enemies";
    EXPECT_GT(count(217), 5) << "the allied flight";
    EXPECT_GT(count(222), 20) << "the designated contact's ticks and range";

    // ACM ten miles on: only the designated contact, the scan's row chosen by its distance. The
    // target selection would designate the first displayed contact in range.
    dispatch_hot_key(0x25);  // K
    fly(ahead(10 * nm, 0, start.z), 0);
    designated_target.kind = TARGET_NONE;
    frame();
    ASSERT_GT(air_display_count, 0);
    designated_target = air_display[0]->target;
    frame();
    EXPECT_EQ(air_range_nm, 10);
    clear();
    set_plot(0, 0, WIDTH, HEIGHT, -air_range / 2, 0, air_range / 2, air_range);
    draw_air_radar_contacts();
    write("acm");
    EXPECT_EQ(count(217), 0);
    EXPECT_GT(count(204), 0);
    EXPECT_LT(spread(204), 20) << "one symbol";

    // The ground map at 10 nm, the aircraft back at the start at the bottom centre.
    fly(start, 0);
    toggle_air_ground_mode();
    frame();
    const int listed = int(ground_contact_count);
    ASSERT_GE(listed, 6);
    designated_target = *ground_contact_head;
    clear();
    set_plot(0, 0, WIDTH, HEIGHT, -ground_range, -ground_range / 8, ground_range, 2 * ground_range - ground_range / 8);
    draw_ground_radar_contacts();
    write("ground");
    EXPECT_GT(count(215), 40);
    EXPECT_GT(count(222), 4);

    // Frozen, then a turn to the right over three miles: the trail runs from the freeze point.
    dispatch_hot_key(0x23);  // H
    Vector3 p = start;
    uint32_t heading = 0;
    for (int step = 0; step < 60; ++step) {
        p.x += mul31(400 * FOOT, lookup_sin(heading));
        p.y += mul31(400 * FOOT, lookup_cos(heading));
        heading += 2 * DEGREE;
        fly(p, heading);
        frame();
    }
    EXPECT_EQ(ground_contact_count, listed);
    clear();
    draw_ground_radar_contacts();
    draw_radar_trail();
    write("frozen");
    EXPECT_GT(count(218), 20) << "the trail";
    EXPECT_GT(count(215), 40);
}

}  // namespace
}  // namespace vyr
