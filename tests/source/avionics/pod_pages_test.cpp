#include "source/avionics/pod_pages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "source/weapons/weapon_keys.h"
#include "tests/source/avionics/threat_world.h"
#include "tests/support/recording_plot.h"

namespace vyr {
namespace {

constexpr MfdRect RECT = {20, 300, 140, 140};
constexpr int32_t UNIT = 0x100000;
constexpr int32_t ONE_DEGREE = 11930465;

std::vector<Pose> eyes;
void record_eye(const MfdRect&, const Pose& eye) { eyes.push_back(eye); }

class PodPages : public ThreatWorld {
protected:
    void SetUp() override {
        ThreatWorld::SetUp();
        eyes.clear();
        set_sensor_image_renderer(record_eye);
        sensor_slots[0].sensor_type = SENSOR_TYPE_TARGETING_POD;
        toggle_air_ground_mode();
        left_mfd_page = MFD_POD;
        selected_weapon = WEAPON_AGM_65G;
    }
    void TearDown() override {
        set_sensor_image_renderer(nullptr);
        key_down[SCAN_UP] = 0;
        ThreatWorld::TearDown();
    }
    void designate(Drone* d) {
        designated_target = {};
        designated_target.kind = TARGET_MOBILE;
        designated_target.object = &d->object;
    }
    static double eye_to(const Vector3& p) {
        const Vector3& e = eyes.back().position;
        return std::sqrt(std::pow(double(p.x - e.x), 2) + std::pow(double(p.y - e.y), 2) + std::pow(double(p.z - e.z), 2));
    }
    // World pitch of the eye's line of sight, in degrees.
    static double eye_pitch() {
        const int32_t* d = eyes.back().matrix[1];
        return std::atan2(double(d[2]), std::hypot(double(d[0]), double(d[1]))) * 180 / M_PI;
    }
    RecordingPlot plot;
};

TEST_F(PodPages, ANewTargetZoomsTo64AndTheEyeStandsOffByTheMagnification) {
    Drone* t = tank(ENEMY, ahead(5 * NAUTICAL_MILE));
    designate(t);
    pod_track_mode = 1;
    const int32_t size = player_aircraft_size();
    draw_mfd_pod_page(RECT);
    ASSERT_EQ(eyes.size(), 1u);
    // At 1:1 the eye stays three aircraft sizes ahead of the aircraft.
    EXPECT_NEAR(std::hypot(double(eyes[0].position.x - START.x), double(eyes[0].position.y - START.y),
                           double(eyes[0].position.z - ALTITUDE)),
                3.0 * size, 4);
    EXPECT_EQ(pod_zoom, POD_ZOOM_MAX);  // the new target
    EXPECT_NE(plot.find_text("LOCKED"), nullptr);
    draw_mfd_pod_page(RECT);
    // At 64:1 it ends about a 64th of the way short of the target.
    const double distance = std::hypot(double(5 * NAUTICAL_MILE), double(ALTITUDE)) - 3.0 * size;
    EXPECT_NEAR(eye_to(t->pose.position), distance / 64, distance / 640);
    EXPECT_NE(plot.find_text("64:1"), nullptr);
    EXPECT_NE(plot.find_text("LTG AUTO CUR"), nullptr);
}

TEST_F(PodPages, AHiddenTargetZoomsTo1AndReadsObscured) {
    // A ridge of 12,000 ft between the aircraft and the tank.
    const int row = (START.y >> 20) + 3;
    for (int i = 0; i < TERRAIN_POSTS; ++i) terrain_posts[i][row].height = 12000;
    terrain_max_height = 12000 * FOOT;
    Drone* t = tank(ENEMY, ahead(5 * NAUTICAL_MILE));
    designate(t);
    left_mfd_page = MFD_RADAR;  // the pod page without the focus keeps the designation
    right_mfd_page = MFD_POD;
    pod_zoom = 20;
    draw_mfd_pod_page(RECT);
    EXPECT_EQ(pod_zoom, 1);
    const RecordingPlot::Text* text = plot.find_text("Target Obscured");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->world_y, -UNIT / 2);
    for (int i = 0; i < TERRAIN_POSTS; ++i) terrain_posts[i][row].height = 0;
    terrain_max_height = 0;
}

TEST_F(PodPages, AFullRateSlewMovesThirtyDegreesOverTheZoomStep) {
    selected_weapon = WEAPON_GBU_12;
    pod_track_mode = 0;
    key_down[SCAN_ALT] = 1;
    key_down[SCAN_UP] = 1;
    slew_y = -FIXED_ONE;  // up
    for (const int zoom : {1, 64}) {
        pod_zoom = zoom;
        pod_elevation = -45 * ONE_DEGREE;
        pod_slew[POD_SLEW_UP] = 30;
        draw_mfd_pod_page(RECT);
        EXPECT_EQ(pod_elevation, -45 * ONE_DEGREE + 30 * ONE_DEGREE / (zoom / 5 + 1)) << zoom;
    }
    key_down[SCAN_ALT] = 0;
    slew_y = 0;
}

TEST_F(PodPages, TheViewIsHeldWithinThirtyDegreesTimesTheCosineOfTheAzimuth) {
    // Nose 70 degrees down, the point 30 degrees below the horizon straight ahead: 40 degrees above
    // the nose, seen at 30.
    Drone* t = tank(ENEMY, ahead(int32_t(ALTITUDE / std::tan(30 * M_PI / 180))));
    designate(t);
    pod_track_mode = 1;
    build_rotation_matrix(0, uint32_t(-70 * int32_t(DEGREE)), 0, aircraft_pose.matrix);
    draw_mfd_pod_page(RECT);
    EXPECT_NEAR(eye_pitch(), -70 + 30, 0.5);

    // Level, a point 10 degrees up and 90 degrees off the nose (on a 1,000 ft ridge to the
    // east): the limit there is 30 x cos 90 = 0.
    const int column = (START.x >> 20) + 1;
    for (int j = 0; j < TERRAIN_POSTS; ++j) terrain_posts[column][j].height = 1000;
    terrain_max_height = 1000 * FOOT;
    const int32_t east = 4096 * FOOT;
    designate(tank(ENEMY, {START.x + east, START.y, 1000 * FOOT}));
    fly({START.x, START.y, 1000 * FOOT - int32_t(east * std::tan(10 * M_PI / 180))}, 0);
    draw_mfd_pod_page(RECT);
    EXPECT_NEAR(eye_pitch(), 0, 0.5);
    for (int j = 0; j < TERRAIN_POSTS; ++j) terrain_posts[column][j].height = 0;
    terrain_max_height = 0;
}

TEST_F(PodPages, TheRangeReadsWholeMilesAndTenths) {
    const double horizontal = std::sqrt(std::pow(3.25 * NAUTICAL_MILE, 2) - std::pow(double(ALTITUDE), 2));
    designate(tank(ENEMY, ahead(int32_t(horizontal))));
    pod_track_mode = 1;
    draw_mfd_pod_page(RECT);
    const RecordingPlot::Text* range = plot.find_text("3.2");
    ASSERT_NE(range, nullptr) << plot.all_text();
    EXPECT_EQ(range->world_y, UNIT * 7 / 8);
}

TEST_F(PodPages, WithTheFlirFailedOnlyTheFailureAndTheModeShow) {
    set_failure(FAIL_TARGETING);
    pod_track_mode = 1;
    draw_mfd_pod_page(RECT);
    EXPECT_EQ(plot.all_text(), "LANTIRN FAILED|LTG AUTO CUR");
    EXPECT_TRUE(plot.lines.empty());
    EXPECT_TRUE(eyes.empty());
}

TEST_F(PodPages, AirModeShowsTheBoresightWithInvalidWeapon) {
    toggle_air_ground_mode();
    designate(tank(ENEMY, ahead(3 * NAUTICAL_MILE)));
    pod_azimuth = 10 * int32_t(DEGREE);
    draw_mfd_pod_page(RECT);
    EXPECT_EQ(plot.find_text("LOCKED"), nullptr);
    EXPECT_NE(plot.find_text("Invalid Weapon"), nullptr);
    EXPECT_EQ(pod_azimuth, 0);
    ASSERT_EQ(eyes.size(), 1u);
    EXPECT_NEAR(eyes[0].position.x, START.x, 2);  // straight ahead
}

TEST_F(PodPages, TheMaverickLocksWithinItsFieldAndNamesAWrongWeapon) {
    const struct {
        const char* name;
        int weapon;
        double degrees;
        const char* text;
        bool designated_after;
    } cases[] = {
        {"AGM-65G, 29 degrees off", WEAPON_AGM_65G, 29, "LOCKED", true},
        {"AGM-65G, 31 degrees off: the pod looks again and finds nothing", WEAPON_AGM_65G, 31, "No Target", false},
        {"AGM-88A", WEAPON_AGM_88A, 0, "Invalid Weapon", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plot.clear();
        selected_weapon = c.weapon;
        radar_on = 0;
        designate(tank(ENEMY, bearing(3 * NAUTICAL_MILE, c.degrees)));
        draw_mfd_maverick_page(RECT);
        EXPECT_NE(plot.find_text(c.text), nullptr) << plot.all_text();
        EXPECT_NE(plot.find_text("MAV"), nullptr);
        EXPECT_NE(plot.find_text("4:1"), nullptr);
        EXPECT_EQ(designated_target.kind != TARGET_NONE, c.designated_after);
    }
}

}  // namespace
}  // namespace vyr
