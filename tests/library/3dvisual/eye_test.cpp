#include "library/3dvisual/eye.h"

#include <gtest/gtest.h>

#include "library/3dvisual/objects.h"
#include "library/3dvisual/view.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

// Trig tables, and a clear daytime view with the default cloud layer installed.
class Eye : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        settings = view_settings;
        install();
        reset_tile_cells();
    }

    void install() {
        objects_loaded = 1;  // computes the light afresh
        set_view_settings(&settings);
    }

    static Pose level_pose(int32_t x, int32_t y, int32_t z) {
        Pose pose{{x, y, z}, {}};
        set_identity_matrix(pose.matrix);
        return pose;
    }

    ViewSettings settings{};
};

TEST_F(Eye, AnEyeAtOrBelowTheGroundIsLiftedAFootAboveIt) {
    for (int32_t z : {-1000, 0}) {
        const Pose pose = level_pose(1000, 1000, z);
        set_eye(&pose);
        EXPECT_EQ(eye_pose.position.z, 256);
        EXPECT_EQ(eye_height, 256);
        EXPECT_EQ(pose.position.z, z) << "the caller's pose stays";
    }
}

TEST_F(Eye, TilesAndFarBlocksOfTheEye) {
    Pose pose = level_pose((5 << 22) + 123, (63 << 22) + 7, 5000);
    set_eye(&pose);
    EXPECT_EQ(eye_in_world, 1);
    EXPECT_EQ(eye_tile_x, 5);
    EXPECT_EQ(eye_tile_y, 63);
    EXPECT_EQ(eye_tile_fraction_x, 123);
    EXPECT_EQ(eye_tile_fraction_y, 7);
    EXPECT_EQ(eye_far_block_x, 6);
    EXPECT_EQ(eye_far_block_y, 9);
    EXPECT_EQ(eye_far_block_fraction_x, (5 << 22) + 123);
    EXPECT_EQ(eye_tile_changed, 1) << "after the world set-up forgot the cells";
    EXPECT_EQ(eye_far_block_changed, 1);
    // Level and unturned, the eye space is the world moved to the eye.
    EXPECT_EQ(tile_origin_eye[0], -123);
    EXPECT_EQ(tile_origin_eye[1], -7);
    EXPECT_EQ(tile_origin_eye[2], -5000);

    pose.position.x += 1000;
    set_eye(&pose);
    EXPECT_EQ(eye_tile_changed, 0);
    EXPECT_EQ(eye_far_block_changed, 0);

    pose.position.x = -1;
    set_eye(&pose);
    EXPECT_EQ(eye_in_world, 0);
    EXPECT_EQ(eye_tile_x, -1);
    EXPECT_EQ(eye_tile_fraction_x, (1 << 22) - 1);
    EXPECT_EQ(eye_tile_changed, 1);
    EXPECT_EQ(eye_in_far_grid, 1);
    pose.position.x = -0x18000001;
    set_eye(&pose);
    EXPECT_EQ(eye_in_far_grid, 0);
}

TEST_F(Eye, SkyStateAgainstTheCloudLayer) {
    const struct {
        int32_t z;
        SkyState state;
    } cases[] = {{6400000 - 1, SKY_BELOW_CLOUDS}, {6400000, SKY_IN_CLOUDS}, {6912000 - 1, SKY_IN_CLOUDS},
                 {6912000, SKY_ABOVE_CLOUDS}};
    for (const auto& c : cases) {
        const Pose pose = level_pose(1000, 1000, c.z);
        set_eye(&pose);
        EXPECT_EQ(sky_state, c.state) << c.z;
    }
}

TEST_F(Eye, ShadowsNeedALowEnoughSunAClearSkyAndDaylight) {
    const struct {
        int32_t elevation, darkness, weather, z;
        int32_t active;
    } cases[] = {
        {-10 * DEGREE - 1, 0, 0, 1000, 1},  {-9 * DEGREE, 0, 0, 1000, 0},      {-45 * DEGREE, 1, 0, 1000, 0},
        {-45 * DEGREE, 0, 2, 1000, 0},      {-45 * DEGREE, 0, 0, 6500000, 0}, {-45 * DEGREE, 0, 2, 7000000, 1},
    };
    for (const auto& c : cases) {
        settings.sun_elevation = c.elevation;
        settings.darkness = c.darkness;
        settings.weather = c.weather;
        install();
        const Pose pose = level_pose(1000, 1000, c.z);
        set_eye(&pose);
        EXPECT_EQ(shadows_active, c.active) << c.elevation << " " << c.darkness << " " << c.weather << " " << c.z;
    }
    settings.flags &= ~VIEW_SHADOWS;
    settings.sun_elevation = -45 * DEGREE;
    install();
    const Pose pose = level_pose(1000, 1000, 1000);
    set_eye(&pose);
    EXPECT_EQ(shadows_active, 0);
}

TEST_F(Eye, MatrixAnglesComeBackFromTheOrientation) {
    const uint32_t angles[][3] = {{0, 0, 0}, {uint32_t(30 * DEGREE), uint32_t(20 * DEGREE), uint32_t(-40 * DEGREE)},
                                  {uint32_t(200u * DEGREE), uint32_t(-60 * DEGREE), uint32_t(100 * DEGREE)}};
    for (const auto& a : angles) {
        Matrix3 m;
        build_rotation_matrix(a[0], a[1], a[2], m);
        uint32_t heading, pitch, roll;
        get_matrix_angles(m, heading, pitch, roll);
        EXPECT_NEAR(int32_t(heading - a[0]), 0, DEGREE / 8) << a[0];
        EXPECT_NEAR(int32_t(pitch - a[1]), 0, DEGREE / 8) << a[1];
        EXPECT_NEAR(int32_t(roll - a[2]), 0, DEGREE / 8) << a[2];
        EXPECT_EQ(get_matrix_heading(m), heading);
    }
    Matrix3 up{{{0x7fffffff, 0, 0}, {0, 0, 0x7fffffff}, {0, -0x7fffffff, 0}}};
    uint32_t heading = 1, pitch = 1, roll = 1;
    get_matrix_angles(up, heading, pitch, roll);
    EXPECT_NEAR(double(pitch), double(0x40000000u), 1.0);
    EXPECT_EQ(heading, 0u);
    EXPECT_EQ(roll, 0u);
}

TEST_F(Eye, ObjectEyeMatrixTurnsObjectAxesIntoEyeAxes) {
    Pose eye = level_pose(0, 0, 1000);
    build_rotation_matrix(uint32_t(90 * DEGREE), 0, 0, eye.matrix);
    set_eye(&eye);
    Pose object = level_pose(0, 0, 0);
    set_object_eye_matrix(&object);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(object_eye_matrix[i][j], eye.matrix[i][j], 2) << i << j;
}

TEST_F(Eye, NightVisionAndOvercastChangeOnlyTheInstalledCopy) {
    settings.night_vision = NIGHT_VISION_ALTERNATE;
    settings.weather = WEATHER_OVERCAST;
    cloud_random = 100;
    install();
    EXPECT_EQ(current_view.terrain_detail, 0);
    EXPECT_EQ(current_view.object_textures, 0);
    EXPECT_EQ(current_view.flags & VIEW_CLOUDS, 0);
    EXPECT_EQ(current_view.cloud_base, 13100 * FOOT);
    EXPECT_EQ(current_view.cloud_top, 15100 * FOOT);
    EXPECT_EQ(cloud_fade_height, 14100);
    EXPECT_EQ(settings.terrain_detail, view_settings.terrain_detail);
    EXPECT_NE(settings.flags & VIEW_CLOUDS, 0);
    EXPECT_EQ(settings.cloud_base, 6400000);

    settings.weather = WEATHER_LIGHT_FOG;
    install();
    EXPECT_EQ(current_view.cloud_base, 6400000);
    EXPECT_EQ(cloud_fade_height, 26000);
}

TEST_F(Eye, LightPointsAtTheSunAndShadowsStopAtTenDegrees) {
    settings.sun_heading = 0;
    settings.sun_elevation = -45 * DEGREE;
    install();
    EXPECT_NEAR(light_vector.x, 0, 2);
    EXPECT_NEAR(light_vector.y, -0x5A82799A, 0x10000);
    EXPECT_NEAR(light_vector.z, 0x5A82799A, 0x10000);
    EXPECT_NEAR(shadow_step_x, 0, 2);
    EXPECT_NEAR(shadow_step_y, 1 << 28, 1 << 16) << "one unit along per unit of height at 45 degrees";

    settings.sun_elevation = -10 * DEGREE;
    install();
    const int32_t steepest = shadow_step_y;
    EXPECT_GT(steepest, 5 << 28);
    for (int32_t elevation : {-5 * DEGREE, 0, 30 * DEGREE}) {
        settings.sun_elevation = elevation;
        install();
        EXPECT_EQ(shadow_step_y, steepest) << elevation;
    }
}

}  // namespace
}  // namespace vyr
