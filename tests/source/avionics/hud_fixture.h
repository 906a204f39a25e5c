// The head-up display drawn into a plot recorder: the aircraft level and heading north, 5,000 ft
// up at 300 kt, the glass where the home look puts it, every switch at its set-up value and
// nothing designated or selected.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/view.h"
#include "library/graphics/plot.h"
#include "library/maths/matrix.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/head_look.h"
#include "source/avionics/hud.h"
#include "source/avionics/night_vision.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/radar/radar.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"
#include "tests/support/recording_plot.h"

namespace vyr {

class Hud : public testing::Test {
public:
    static int32_t u(double v) { return hud_units(v); }
    // HUD coordinates summed from rounded parts differ from the rounded whole by a unit or two.
    static bool near(int32_t a, int32_t b) { return std::abs(a - b) <= 4; }

protected:
    void SetUp() override {
        init_trig_tables();
        pose = {};
        pose.position = {1 << 27, 1 << 27, 5000 * FOOT};
        set_identity_matrix(pose.matrix);
        kept_position = player_position;
        kept_object = player_object;
        player_position = &pose;
        aircraft = {};
        aircraft.pose = &pose;
        player_object = &aircraft;
        user_drone = nullptr;
        flight_data = {};
        flight_data.altitude = 5000 * FOOT;
        flight_data.height_above_ground = 5000 * FOOT;
        flight_data.indicated_airspeed = flight_data.true_airspeed = 300;
        system_failures = {};
        selected_weapon = WEAPON_UNARMED;
        gear_state = GEAR_UP;
        radar_air_mode = 1;
        radar_ground_mode = 0;
        designated_target = {};
        night_vision_on = 0;
        view_settings.darkness = 0;
        game_clock = 1000;
        hud_window_x = 320;
        hud_window_y = -117;
        save_plot(kept_plot);
        init_hud();
    }
    void TearDown() override {
        restore_plot(kept_plot);
        player_position = kept_position;
        player_object = kept_object;
    }

    // The HUD of this frame, recorded.
    void draw() {
        plot.clear();
        draw_hud();
    }
    std::string caption() {
        draw();
        for (const auto& t : plot.texts)
            if (t.world_x == u(-0.75) && t.world_y == u(-0.75)) return t.string;
        return "(none)";
    }
    bool shows(const std::string& text) const { return plot.find_text(text) != nullptr; }

    Pose pose;
    Pose* kept_position = nullptr;
    ObjectInstance aircraft{};
    ObjectInstance* kept_object = nullptr;
    PlotWindow kept_plot{};
    RecordingPlot plot;
};

}  // namespace vyr
