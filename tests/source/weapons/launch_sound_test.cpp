#include "source/weapons/launch_sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "source/models/flight_model.h"
#include "source/sound/triggers.h"
#include "source/weapons/launch.h"
#include "tests/library/sound/sound_fixture.h"
#include "tests/source/weapons/round_world.h"

namespace vyr {
namespace {

constexpr Vector3 CAMERA = {1 << 27, 1 << 27, 1000 * FOOT};

// Every launch row loaded with a tone, heard on the null device from a camera at CAMERA.
class LaunchSounds : public RoundWorldOn<SoundTest> {
protected:
    void SetUp() override {
        RoundWorldOn<SoundTest>::SetUp();
        if (IsSkipped()) return;
        for (int row : {11, 12, 13, 14, 15, 17, 18, 21, 23, 40, 41, 42}) load_tone(row);
        view_camera_pose.position = CAMERA;
        gun_sound_on = 0;
        aaa_sound_counter = 0;
        player = drone_at(CAMERA);
        other = drone_at({CAMERA.x + 100 * FOOT, CAMERA.y, CAMERA.z});
    }
    void TearDown() override {
        gun_sound_on = 0;
        RoundWorldOn<SoundTest>::TearDown();
    }

    // The weapon fired by the drone through the launcher of its class.
    WeaponRound* fire(int weapon_id, Drone* shooter) {
        const Pose pose = pose_at(shooter->pose.position);
        switch (weapon_info[weapon_id].round_class) {
        case ROUND_CLASS_UNGUIDED: return activate_round(launch_unguided_round(weapon_id, pose, &shooter->target, shooter));
        case ROUND_CLASS_GUIDED:
            return activate_round(launch_guided_round(weapon_id, pose, &shooter->target, nullptr, nullptr, shooter));
        case ROUND_CLASS_SHELL: return activate_round(launch_shell(weapon_id, pose.position, &shooter->target));
        default: return activate_round(launch_dropped_round(weapon_id, pose, &shooter->target, 0, shooter));
        }
    }

    static std::set<int> rows_playing() {
        std::set<int> rows;
        for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel)
            if (channel_status(channel) == SOUND_PLAYING) rows.insert(channel_sample(channel));
        return rows;
    }
    static void silence() {
        for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel) stop_channel(channel);
        gun_sound_on = 0;
    }

    Drone* player = nullptr;
    Drone* other = nullptr;
};

TEST_F(LaunchSounds, EachWeaponSoundsItsRowAndThePlayersGunsOnlyWhereTheyAreHeard) {
    const struct {
        int weapon;
        bool own;
        int view;
        std::set<int> rows;
    } cases[] = {
        {1, true, VIEW_COCKPIT, {12}},   {1, true, VIEW_AIRFRAME_CAMERA, {}}, {1, true, 8, {}}, {1, true, 1, {12}},
        {1, false, VIEW_COCKPIT, {40}},  {10, true, VIEW_COCKPIT, {}},        {10, true, 1, {12}},
        {10, false, VIEW_COCKPIT, {40}}, {2, false, VIEW_COCKPIT, {13}},      {3, true, VIEW_COCKPIT, {14}},
        {4, false, VIEW_COCKPIT, {21}},  {12, false, VIEW_COCKPIT, {15}},     {11, true, VIEW_COCKPIT, {17}},
        {33, false, VIEW_COCKPIT, {18}}, {84, true, VIEW_COCKPIT, {18, 15}},  {46, false, VIEW_COCKPIT, {41}},
        {47, false, VIEW_COCKPIT, {42}}, {50, false, VIEW_COCKPIT, {11}},     {7, true, VIEW_COCKPIT, {23}},
    };
    for (const auto& c : cases) {
        silence();
        user_drone = player;
        view_mode = c.view;
        ASSERT_NE(fire(c.weapon, c.own ? player : other), nullptr) << c.weapon;
        EXPECT_EQ(rows_playing(), c.rows) << "weapon " << c.weapon << (c.own ? " by the player" : "") << " in view " << c.view;
        clear_rounds();
    }
}

TEST_F(LaunchSounds, OnlyEveryThirdAaaLaunchIsHeard) {
    for (int launch = 1; launch <= 7; ++launch) {
        silence();
        ASSERT_NE(fire(53, other), nullptr);
        EXPECT_EQ(rows_playing().count(40), launch % 3 == 1 ? 1u : 0u) << launch;
    }
}

// The launch and the gun trigger share one playing flag: with a flag each, the trigger's stop
// would leave the launch's set and every later burst would be silent.
TEST_F(LaunchSounds, ThePlayersGunLoopStartsOnceAndAgainAfterItIsStopped) {
    user_drone = player;
    for (int burst = 0; burst < 2; ++burst) {
        for (int shot = 0; shot < 3; ++shot) ASSERT_NE(fire(1, player), nullptr);
        start_gun_sound();
        int loops = 0;
        for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel)
            loops += channel_sample(channel) == SAMPLE_GUN && channel_status(channel) == SOUND_PLAYING;
        EXPECT_EQ(loops, 1) << burst;
        EXPECT_EQ(channel_sample(gun_sound_channel), SAMPLE_GUN);
        stop_gun_sound();
        EXPECT_EQ(rows_playing().count(SAMPLE_GUN), 0u);
    }
}

TEST_F(LaunchSounds, VolumeFallsWithDistanceAndPanFollowsTheBearing) {
    const struct {
        int32_t ahead_ft, right_ft;
        int volume;
    } volumes[] = {{0, 0, 63}, {400, 0, 31}, {800, 0, 5}, {0, 2000, 5}};
    for (const auto& v : volumes)
        EXPECT_EQ(compute_distance_volume({CAMERA.x + v.right_ft * FOOT, CAMERA.y + v.ahead_ft * FOOT, CAMERA.z}), v.volume)
            << v.ahead_ft << " " << v.right_ft;
    player_flight_data.heading = 0;
    const int full_side = 0x8000 * 524941084LL / 0x20000000;
    const struct {
        int32_t ahead_ft, right_ft;
        int pan;
    } pans[] = {{100, 0, 0x8000}, {-100, 0, 0x8000}, {0, 100, 0x8000 + full_side}, {0, -100, 0x8000 - full_side},
                {100, 100, 0x8000 + full_side}, {100, 10, 0x8000 + int(0x8000 * (5.71 / 90) * 2)}};
    for (const auto& p : pans)
        EXPECT_NEAR(compute_sound_pan({CAMERA.x + p.right_ft * FOOT, CAMERA.y + p.ahead_ft * FOOT, CAMERA.z}), p.pan, 64)
            << p.ahead_ft << " " << p.right_ft;
    // Outside the cockpit the camera's own heading counts: facing east, a sound to the east is ahead.
    view_mode = 1;
    build_rotation_matrix(90 * DEGREE, 0, 0, view_camera_pose.matrix);
    EXPECT_NEAR(compute_sound_pan({CAMERA.x + 100 * FOOT, CAMERA.y, CAMERA.z}), 0x8000, 64);
}

}  // namespace
}  // namespace vyr
