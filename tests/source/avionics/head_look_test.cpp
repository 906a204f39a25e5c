#include "source/avionics/head_look.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "library/3dvisual/instance.h"
#include "library/graphics/cockpit_layout.h"
#include "library/graphics/palette.h"
#include "library/graphics/poly_accel.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"
#include "library/3dvisual/view.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/avionics/cockpit_projection.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/night_vision.h"
#include "source/avionics/vcockpit.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/weapons/targets.h"
#include "tests/support/empty_flight_world.h"
#include "tests/support/recording_plot.h"

namespace vyr {
namespace {

double degrees(int32_t angle) { return angle / double(DEGREE); }

class HeadLook : public EmptyFlightWorld {
protected:
    void SetUp() override {
        EmptyFlightWorld::SetUp();
        view_mode = VIEW_COCKPIT;
        set_head_pan(0, 0);
        reset_head_look();
        init_cockpit_pieces();
        frame_fraction = int32_t(0.05 * 2147483647.0);
        aircraft = {{1 << 27, 1 << 27, 1 << 24}, {}};
        aircraft.matrix[0][0] = aircraft.matrix[1][1] = aircraft.matrix[2][2] = 0x7fffffff;
        player_position = &aircraft;
    }
    void TearDown() override {
        player_position = nullptr;
        designated_target = {};
        EmptyFlightWorld::TearDown();
    }
    Pose aircraft{};
};

TEST_F(HeadLook, SidewaysKeysStepByThreeHundredWithinTheLimits) {
    struct Case {
        int (*key)(int);
        int32_t from, to;
    };
    const Case cases[] = {{look_left_key, -650, -650}, {look_left_key, -600, -900}, {look_left_key, 0, -300},
                          {look_right_key, 650, 650},  {look_right_key, 600, 900},  {look_right_key, -900, -600}};
    for (const Case& c : cases) {
        look_x = c.from;
        look_y = 0;
        c.key(0);
        EXPECT_EQ(look_x, c.to) << "from " << c.from;
    }
}

TEST_F(HeadLook, UpAndDownStepAlongTheLadder) {
    struct Case {
        int (*key)(int);
        int32_t from, to;
    };
    const Case cases[] = {{look_up_key, 100, 0},      {look_up_key, 0, -167},     {look_up_key, -166, -167},
                          {look_up_key, -167, -640},  {look_up_key, -640, -640},  {look_down_key, -640, -167},
                          {look_down_key, -168, -167}, {look_down_key, -167, 0},  {look_down_key, -1, 0},
                          {look_down_key, 0, 100},    {look_down_key, 100, 100}};
    for (const Case& c : cases) {
        look_x = 0;
        look_y = c.from;
        c.key(0);
        EXPECT_EQ(look_y, c.to) << "from " << c.from;
    }
    look_x = 900;
    look_y = 0;
    look_down_key(0);
    EXPECT_EQ(look_y, 61) << "looking fully right the panel ends sooner";
    EXPECT_EQ(lowest_look_y(0), 100);
    EXPECT_EQ(lowest_look_y(-900), 61);
    look_centre_key(0);
    EXPECT_EQ(look_x, 0);
    EXPECT_EQ(look_y, 0);
}

TEST_F(HeadLook, KeysDoNothingOutsideTheCockpit) {
    view_mode = VIEW_ORBIT_SELF;
    look_x = 0;
    look_left_key(0);
    look_down_key(0);
    EXPECT_EQ(look_x, 0);
    EXPECT_EQ(look_y, 0);
}

TEST_F(HeadLook, VisiblePiecesAreCutToTheLookWindow) {
    look_x = 0;
    look_y = -117;
    compute_visible_cockpit_pieces();
    // The canopy, both side panels and the front panel; the consoles lie below the window.
    ASSERT_EQ(visible_piece_count, 4);
    EXPECT_EQ(visible_pieces[0].source_x, 485);
    EXPECT_EQ(visible_pieces[0].source_y, 0);
    EXPECT_EQ(visible_pieces[0].height, 226);
    const VisiblePiece& front = visible_pieces[3];
    EXPECT_EQ(front.source_x, 485);
    EXPECT_EQ(front.height, 363 - 226) << "down to the window's last row";
    EXPECT_EQ(front.transparent, 0);
    look_y = -640;
    compute_visible_cockpit_pieces();
    EXPECT_EQ(visible_piece_count, 0) << "looking up, nothing of the panel";
    look_x = 300;
    look_y = 100;
    compute_visible_cockpit_pieces();
    for (int i = 0; i < visible_piece_count; ++i) {
        EXPECT_GE(visible_pieces[i].source_x, 620);
        EXPECT_LE(visible_pieces[i].source_x + visible_pieces[i].width, 1260);
    }
}

TEST_F(HeadLook, LookAnglesOnEachFace) {
    struct Case {
        int32_t x, y;
        double heading, pitch;
    };
    const Case cases[] = {{0, -117, 0, 0},  {320, -117, 45, 0},   {-320, -117, -45, 0}, {640, -117, 90, 0},
                          {-640, -117, -90, 0}, {0, 203, 0, -45}, {0, -437, 0, 45}};
    for (const Case& c : cases) {
        int32_t heading, pitch;
        panorama_to_look_angles(c.x, c.y, heading, pitch);
        EXPECT_NEAR(degrees(heading), c.heading, 0.2) << c.x << ", " << c.y;
        EXPECT_NEAR(degrees(pitch), c.pitch, 0.2) << c.x << ", " << c.y;
        int32_t x, y;
        look_angles_to_panorama(heading, pitch, x, y);
        EXPECT_NEAR(x, c.x, 2) << "back from the angles";
        EXPECT_NEAR(y, c.y, 2);
    }
}

TEST_F(HeadLook, ProjectionOnEachFaceAndBehind) {
    Matrix3 eye{};
    eye[0][0] = eye[1][1] = eye[2][2] = 0x7fffffff;
    struct Case {
        Vector3 offset;
        int32_t x, y;
    };
    const Case cases[] = {
        {{0, 1000, 0}, 0, 0},          {{100, 1000, 100}, 32, -32},  {{1000, 100, 0}, 640 - 32, 0},
        {{-1000, 100, 0}, -640 + 32, 0}, {{100, -1000, 0}, -1280 + 32 * -1, 0}, {{0, 0, 0}, 0, 0},
    };
    for (const Case& c : cases) {
        int32_t x, y;
        project_to_screen(c.offset, eye, x, y);
        EXPECT_NEAR(x, c.x, 1) << c.offset.x << ", " << c.offset.y;
        EXPECT_NEAR(y, c.y, 1);
    }
    EXPECT_EQ(bearing_of_vector(0, 5), 0u);
    EXPECT_EQ(bearing_of_vector(0, -5), 0x80000000u);
    EXPECT_NEAR(degrees(int32_t(bearing_of_vector(5, 5))), 45, 0.1);
    EXPECT_NEAR(degrees(int32_t(bearing_of_vector(-5, 0))), -90, 0.1);
    EXPECT_NEAR(degrees(elevation_of_vector(0, 10)), 60, 0.01);
    EXPECT_NEAR(degrees(elevation_of_vector(0, -10)), -60, 0.01);
    EXPECT_NEAR(degrees(elevation_of_vector(10, 10)), 45, 0.1);
}

// A drone the padlock can hold, `forward` and `right` feet from the aircraft.
struct Bandit {
    Drone drone{};
    Pose pose{};
    void place(int32_t right, int32_t forward) {
        pose.position = {(1 << 27) + right * 256, (1 << 27) + forward * 256, 1 << 24};
    }
    Bandit() {
        drone.object.owner_kind = OWNER_DRONE;
        drone.object.owner = &drone;
        drone.object.pose = &pose;
    }
};

TEST_F(HeadLook, ThePadlockFollowsReturnsAndTakesTheTargetAgain) {
    Bandit bandit;
    bandit.place(2000, 3000);
    designated_target = {};
    designated_target.kind = TARGET_MOBILE;
    designated_target.object = &bandit.drone.object;
    toggle_padlock_key(0);
    ASSERT_EQ(padlock_on, 1);
    Pose camera;
    for (int i = 0; i < 60; ++i) set_cockpit_camera(camera);
    EXPECT_GT(look_x, 150) << "turned right towards it";
    bandit.place(0, -3000);
    for (int i = 0; i < 200 && (padlock_returning || look_x); ++i) set_cockpit_camera(camera);
    EXPECT_EQ(padlock_on, 1) << "still padlocked";
    EXPECT_LT(std::abs(look_x), 20) << "back to the front while it is behind";
    bandit.place(-2000, 3000);
    for (int i = 0; i < 60; ++i) set_cockpit_camera(camera);
    EXPECT_LT(look_x, -150) << "taken again on the other side";
    toggle_padlock_key(0);
    EXPECT_EQ(padlock_on, 0);
    EXPECT_EQ(padlock_returning, 1);
}

TEST_F(HeadLook, ThePadlockSymbolMarksTheTargetWithItsRangeArc) {
    Bandit bandit;
    bandit.pose.matrix = aircraft.matrix;  // flying the player's heading
    flight_data.heading = 0;  // as the player's matrix gives it, whatever an earlier test left
    designated_target = {};
    designated_target.kind = TARGET_MOBILE;
    designated_target.object = &bandit.drone.object;
    toggle_padlock_key(0);
    eye_matrix = aircraft.matrix;
    struct Case {
        int32_t right, forward;  // feet
        int arc;                 // degrees of the range arc
    };
    // 3 nm is 18,229 ft; from 10 nm on the arc closes.
    for (const Case c : {Case{0, 18229, 108}, {2000, 18229, 108}, {0, 72913, 360}, {0, 90000, 360}}) {
        bandit.place(c.right, c.forward);
        RecordingPlot plot;
        draw_padlock_symbol();
        const int segments = (c.arc + 9) / 10;
        ASSERT_EQ(plot.lines.size(), size_t(4 + segments + 1)) << c.forward;
        const int32_t x = int32_t(int64_t(320) * c.right / c.forward);
        for (int i = 0; i < 4; ++i) {  // the ticks, each along a line through the target
            const RecordingPlot::Line& t = plot.lines[size_t(i)];
            EXPECT_TRUE((t.x0 == x && t.x1 == x) || (t.y0 == 0 && t.y1 == 0)) << i;
            EXPECT_GE(std::abs(t.x0 - x) + std::abs(t.y0), 3);
        }
        const RecordingPlot::Line& first = plot.lines[4];
        EXPECT_EQ(first.x0, x);
        EXPECT_EQ(first.y0, 14) << "the arc starts straight above";
        const RecordingPlot::Line& last = plot.lines[size_t(3 + segments)];
        const double a = c.arc * 3.14159265358979 / 180;
        EXPECT_NEAR(last.x1, x + 14 * std::sin(a), 1) << c.forward;
        EXPECT_NEAR(last.y1, 14 * std::cos(a), 1);
        const RecordingPlot::Line& heading = plot.lines.back();
        EXPECT_EQ(heading.x0, x);
        EXPECT_EQ(heading.y1, 20) << "its heading, the player's";
    }
    bandit.place(0, -3000);
    RecordingPlot plot;
    draw_padlock_symbol();
    EXPECT_TRUE(plot.lines.empty()) << "nothing for a target behind";
}

TEST_F(HeadLook, PiecesAreCopiedWithColourZeroSkipped) {
    panel_screen = create_screen(PANEL_WIDTH, PANEL_HEIGHT);
    const int pitch = PANEL_WIDTH + panel_screen->row_pad;
    std::memset(panel_screen->pixels, 0, size_t(pitch) * PANEL_HEIGHT);
    panel_screen->pixels[size_t(100) * pitch + 600] = 7;  // on the canopy's frame
    display_colours[0] = 0;
    display_colours[7] = 0x123456;
    look_x = 0;
    look_y = -117;
    compute_visible_cockpit_pieces();
    ASSERT_TRUE(accel_lock_frame_buffer());
    const auto at = [](int x, int y) {
        uint32_t colour;
        std::memcpy(&colour, frame_buffer + y * frame_buffer_stride + 4 * x, 4);
        return colour & 0xffffff;
    };
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) put_frame_pixel(frame_buffer + y * frame_buffer_stride + 4 * x, 0xabcdef);
    draw_cockpit_pieces();
    EXPECT_EQ(at(600 - 320, 100 + 117), 0x123456u) << "the canopy's frame";
    EXPECT_EQ(at(601 - 320, 100 + 117), 0xabcdefu) << "the world through the canopy";
    EXPECT_EQ(at(400 - 320, 300 + 117), 0xabcdefu) << "the side panel's colour 0";
    EXPECT_EQ(at(600 - 320, 300 + 117), 0u) << "the front panel is opaque";
    accel_unlock_frame_buffer();
    destroy_screen(panel_screen);
    panel_screen = nullptr;
}

TEST_F(HeadLook, CockpitLightsAtNightDarkenTheNeedlesAQuarterAtMost) {
    use_generated_data();
    load_cockpit_palette();
    view_settings.darkness = 0x7fffffff;
    cockpit_darkness = view_settings.darkness;
    cockpit_lights_on = 0;
    toggle_cockpit_lights_key(0);
    view_mode = VIEW_ORBIT_SELF;
    draw_cockpit_overlay();
    int32_t needles = -1, panel = -1;
    for (PaletteEffect* e = get_palette_effect_list(); e; e = e->next) {
        if (e->first == 240 && e->count == 2) needles = e->level;
        if (e->first == 224 && e->count == 16) panel = e->level;
    }
    EXPECT_EQ(needles, int32_t(int64_t(0x1fffffff) * 3 / 4));
    EXPECT_EQ(panel, int32_t(int64_t(0x7fffffff) * 3 / 4));
    toggle_cockpit_lights_key(0);
    draw_cockpit_overlay();
    for (PaletteEffect* e = get_palette_effect_list(); e; e = e->next)
        if (e->first == 240 && e->count == 2) needles = e->level;
    EXPECT_EQ(needles, int32_t(int64_t(0x7fffffff) * 3 / 4)) << "lights off: the needles go dark with the night";
    free_cockpit();
}

}  // namespace
}  // namespace vyr
