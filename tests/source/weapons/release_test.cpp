#include "source/weapons/release.h"

#include <gtest/gtest.h>

#include <string>

#include "source/models/engine.h"
#include "source/weapons/bomb_sight.h"
#include "source/weapons/weapons_frame.h"
#include "tests/source/weapons/stores_world.h"

namespace vyr {
namespace {

constexpr int PYLON_SINGLE = 1, PYLON_TRIPLE = 5;
constexpr uint32_t DEGREE_ANGLE = 11930465;

class Release : public StoresWorld {
protected:
    // Ground mode with the weapon selected off its release hardpoint.
    static void select(int weapon_id) {
        if (weapon_info[weapon_id].weapon_kind != WEAPON_KIND_AAM && weapons_air_mode &&
            weapon_info[weapon_id].weapon_kind != WEAPON_KIND_GUN)
            toggle_air_ground_mode();
        select_next_weapon(weapon_id);
        ASSERT_EQ(selected_weapon, weapon_id);
        fire_latch = 0;
    }
    static int live_rounds() { return round_pool.live_count; }
    static int rounds_of(int weapon_id) {
        int count = 0;
        for (const WeaponRound& round : round_pool.slots) count += round.weapon_id == weapon_id;
        return count;
    }
};

// A quantity of 4 on MK-82s carried on 3 and 4 drops from 3, 4, 3, 4 in one press; the next press
// starts again on 3.
TEST_F(Release, ARippleAlternatesBetweenTheMirrors) {
    carry(3, PYLON_TRIPLE, WEAPON_MK_82, 3, 4);
    load_stores();
    select(WEAPON_MK_82);
    EXPECT_EQ(fire_weapon(SCAN_SPACE), 1);
    EXPECT_EQ(live_rounds(), 4);
    EXPECT_EQ(count_hardpoint_rounds(3), 1);
    EXPECT_EQ(count_hardpoint_rounds(4), 1);
    EXPECT_EQ(first_hardpoint[WEAPON_MK_82], 3);
    EXPECT_EQ(get_weapon_rounds(WEAPON_MK_82), 2);
    ASSERT_NE(get_last_gun_round(), nullptr);
    EXPECT_EQ(get_last_gun_round()->weapon_id, WEAPON_MK_82);
    game_clock += weapon_info[WEAPON_MK_82].fire_interval;
    EXPECT_EQ(fire_weapon(SCAN_SPACE), 1);
    EXPECT_EQ(get_weapon_rounds(WEAPON_MK_82), 0);
    game_clock += weapon_info[WEAPON_MK_82].fire_interval;
    EXPECT_EQ(fire_weapon(SCAN_SPACE), 0) << "none left";
}

// In LAY the bomb waits for the cue; "WEAPON RELEASED" is posted at most every 400 ticks and
// latches the key.
TEST_F(Release, LayWaitsForTheCue) {
    carry(3, PYLON_TRIPLE, WEAPON_MK_82, 3);
    load_stores();
    select(WEAPON_MK_82);
    set_bomb_delivery_mode(BOMB_MODE_LAY);
    game_clock = 1000;
    view_mode = VIEW_ORBIT_SELF;  // outside the cockpit the release computes the cue itself
    designate_ground_point({AIRCRAFT_AT.x, AIRCRAFT_AT.y + 2000000, 0});
    EXPECT_EQ(fire_weapon(SCAN_SPACE), 0) << "the target still far ahead";
    EXPECT_EQ(live_rounds(), 0);
    designate_ground_point({AIRCRAFT_AT.x, AIRCRAFT_AT.y + 900000, 0});
    EXPECT_EQ(fire_weapon(SCAN_SPACE), 1);
    EXPECT_EQ(live_rounds(), 1);
    EXPECT_TRUE(message_shown("WEAPON RELEASED"));
    EXPECT_EQ(fire_latch, 1);
    EXPECT_EQ(fire_weapon(SCAN_SPACE), 0) << "latched until the key is let go";
    init_message_area();
    fire_latch = 0;
    game_clock += 300;
    EXPECT_EQ(fire_weapon(SCAN_SPACE), 1);
    EXPECT_FALSE(message_shown("WEAPON RELEASED")) << "within 400 ticks";
    EXPECT_EQ(fire_latch, 0);
}

TEST_F(Release, RefusalsReleaseNothing) {
    carry(3, PYLON_SINGLE, WEAPON_MK_82, 1);
    carry(1, PYLON_SINGLE, WEAPON_AGM_65G, 1);
    carry(7, PYLON_SINGLE, WEAPON_AIM_9M, 1);
    carry(9, PYLON_NONE, WEAPON_GUN, 1);
    load_stores();
    Drone* far = drone_at({AIRCRAFT_AT.x, AIRCRAFT_AT.y + 30000000, AIRCRAFT_AT.z});
    const struct {
        const char* what;
        int weapon;
        void (*set)(Drone*);
    } cases[] = {
        {"a bomb in a 76-degree bank", WEAPON_MK_82, [](Drone*) { player_flight_data.roll = int32_t(76 * DEGREE_ANGLE); }},
        {"a guided missile with nothing designated", WEAPON_AGM_65G, [](Drone*) {}},
        {"an AIM-9M out of reach", WEAPON_AIM_9M, [](Drone* d) { designated_target = d->target; }},
        {"the gun failed", WEAPON_GUN, [](Drone*) { set_failure(FAIL_GUN); }},
        {"on the ground", WEAPON_GUN, [](Drone*) { player_flight_data.on_ground = 1; }},
        {"nothing selected", WEAPON_GUN, [](Drone*) { weapon_selected = 0; }},
    };
    for (const auto& c : cases) {
        select(c.weapon);
        c.set(far);
        fire_weapon(SCAN_SPACE);
        EXPECT_EQ(live_rounds(), 0) << c.what;
        EXPECT_EQ(gun_rounds_fired, 0) << c.what;
        player_flight_data = {};
        clear_failure(FAIL_GUN);
        reset_designation();
        toggle_air_ground_mode();
    }
}

// At 20 frames a second (10 ticks) a gun firing every 4 ticks fires 2 rounds a frame; linked, 4.
TEST_F(Release, AGunBurstFollowsTheFrameTime) {
    carry(9, PYLON_NONE, WEAPON_GUN, 1);
    load_stores();
    set_step(0.05);
    set_gun_aim_mode(GUN_AIM_MANUAL);
    const struct {
        int mode;
        int rounds;
    } cases[] = {{GAME_SINGLE, 2}, {GAME_COMBAT, 4}};
    for (const auto& c : cases) {
        game_mode = c.mode;
        select(WEAPON_GUN);
        const int32_t before = get_weapon_rounds(WEAPON_GUN);
        EXPECT_EQ(fire_weapon(SCAN_SPACE), 1);
        EXPECT_EQ(before - get_weapon_rounds(WEAPON_GUN), c.rounds) << c.mode;
        EXPECT_EQ(internal_gun_fired, 1);
        EXPECT_EQ(gun_rounds_fired, 1);
        game_clock += 10;
    }
}

// The gun's last round moves nothing to a hardpoint -1: its launch point is the aircraft's.
TEST_F(Release, AnEmptiedGunLaunchesFromTheAircraft) {
    carry(9, PYLON_NONE, WEAPON_GUN, 1);
    load_stores();
    hardpoints[9].stations[0].rounds = 1;
    rounds_per_weapon[WEAPON_GUN] = 1;
    set_gun_aim_mode(GUN_AIM_MANUAL);
    select(WEAPON_GUN);
    EXPECT_EQ(fire_weapon(SCAN_SPACE), 1);
    EXPECT_EQ(first_hardpoint[WEAPON_GUN], 9) << "kept where it was: nothing holds the gun";
    first_hardpoint[WEAPON_GUN] = -1;
    EXPECT_EQ(get_launch_viewpoint(WEAPON_GUN).position.y, AIRCRAFT_AT.y);
    EXPECT_EQ(get_launch_viewpoint(WEAPON_FLARE).position.z, AIRCRAFT_AT.z - 1280);
}

TEST_F(Release, JettisonsDropWhatTheirKeyNames) {
    carry(7, PYLON_SINGLE, WEAPON_AIM_9M, 1);
    carry(5, PYLON_TRIPLE, WEAPON_MK_82, 3);
    carry(9, PYLON_NONE, WEAPON_GUN, 1);
    fit_sensor(0, SENSOR_TYPE_CENTRE_TANK);
    fit_sensor(1, SENSOR_TYPE_TARGETING_POD);
    fit_sensor(3, SENSOR_TYPE_ECM_POD);
    load_stores();
    set_model_fuel(5000.0);

    jettison_tanks(SCAN_J);
    EXPECT_EQ(sensor_slots[0].sensor_type, SENSOR_TYPE_NONE);
    EXPECT_EQ(sensor_slots[3].sensor_type, SENSOR_TYPE_ECM_POD);
    EXPECT_EQ(live_rounds(), 1);
    EXPECT_EQ(rounds_of(95), 1) << "the centre tank falls as its store";

    jettison_stores(KEY_CTRL | SCAN_J);
    EXPECT_EQ(get_weapon_rounds(WEAPON_MK_82), 0);
    EXPECT_EQ(get_weapon_rounds(WEAPON_AIM_9M), 2) << "air-to-air missiles are kept";
    EXPECT_EQ(get_weapon_rounds(WEAPON_GUN), 512) << "hardpoint 9 is kept";
    EXPECT_EQ(rounds_of(97), 6) << "the MK-82s fall as their jettisoned form";

    jettison_all(KEY_ALT | SCAN_J);
    EXPECT_EQ(get_weapon_rounds(WEAPON_AIM_9M), 0);
    EXPECT_EQ(get_weapon_rounds(WEAPON_GUN), 512);
    EXPECT_EQ(sensor_slots[1].sensor_type, SENSOR_TYPE_TARGETING_POD);
    EXPECT_EQ(sensor_slots[3].sensor_type, SENSOR_TYPE_NONE);
    EXPECT_EQ(get_model_fuel(), 1000.0);
    EXPECT_EQ(get_jettison_weapon(WEAPON_CBU15), 108);
    EXPECT_EQ(get_jettison_weapon(WEAPON_GBU_12), 103);
}

TEST_F(Release, NothingIsJettisonedWithUnlimitedWeapons) {
    carry(5, PYLON_TRIPLE, WEAPON_MK_82, 3);
    load_stores();
    unlimited_weapons = 1;
    jettison_all(KEY_ALT | SCAN_J);
    EXPECT_EQ(get_weapon_rounds(WEAPON_MK_82), 6);
    EXPECT_EQ(live_rounds(), 0);
}

}  // namespace
}  // namespace vyr
