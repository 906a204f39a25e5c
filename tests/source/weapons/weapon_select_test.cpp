#include "source/weapons/weapon_keys.h"

#include <gtest/gtest.h>

#include <string>

#include "library/3dvisual/eye.h"
#include "source/drone/waypoint.h"
#include "source/mission/game_flow.h"
#include "source/radar/radar.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/weapons_frame.h"
#include "tests/source/weapons/stores_world.h"

namespace vyr {
namespace {

constexpr int PYLON_SINGLE = 1, PYLON_SIX = 6;
constexpr int ENTER = 0x1C;
constexpr uint32_t DEGREE_ANGLE = 11930465;

class WeaponSelect : public StoresWorld {
protected:
    // AIM-9Ms on the wing tips, MK-82s on 5 and 6, the gun on 9.
    void arm() {
        carry(7, PYLON_SINGLE, WEAPON_AIM_9M, 1);
        carry(5, PYLON_SIX, WEAPON_MK_82, 6);
        carry(9, PYLON_NONE, WEAPON_GUN, 1);
        load_stores();
    }
    static std::string state() {
        return std::to_string(selected_weapon) + " " + std::to_string(get_bomb_delivery_mode()) + " " +
               std::to_string(get_gun_aim_mode());
    }
};

// Enter steps the gun's aiming in air mode, then the weapons; the bombs' delivery sub-modes come
// before the next weapon, and Shift+Enter from LOFT goes back to CCIP at once.
TEST_F(WeaponSelect, EnterStepsTheSubModesBeforeTheWeapons) {
    arm();
    select_next_weapon(WEAPON_GUN);
    ASSERT_EQ(selected_weapon, WEAPON_GUN);
    EXPECT_EQ(fire_latch, 1) << "a held release key does not fire what was just chosen";
    set_gun_aim_mode(GUN_AIM_AUTOMATIC);
    select_weapon_key(ENTER);
    EXPECT_EQ(state(), "21 0 0") << "manual aiming, the gun kept";
    select_weapon_key(ENTER);
    EXPECT_EQ(state(), "23 0 1") << "automatic aiming and the next weapon";

    toggle_air_ground_mode();
    select_next_weapon(WEAPON_MK_82);
    ASSERT_EQ(selected_weapon, WEAPON_MK_82);
    const char* steps[] = {"30 1 1", "30 2 1", "21 0 1"};  // LAY, LOFT, then CCIP and the gun
    for (const char* expected : steps) {
        select_weapon_key(ENTER);
        EXPECT_EQ(state(), expected);
    }
    select_next_weapon(WEAPON_MK_82);
    set_bomb_delivery_mode(BOMB_MODE_LOFT);
    select_previous_key(KEY_SHIFT | ENTER);
    EXPECT_EQ(state(), "30 0 1");
    select_previous_key(KEY_SHIFT | ENTER);
    EXPECT_EQ(selected_weapon, WEAPON_GUN) << "from CCIP the previous weapon";
    select_previous_key(KEY_SHIFT | ENTER);
    EXPECT_EQ(state(), "30 0 1") << "ground mode steps the gun at once; a bomb is met in CCIP";
    select_weapon_key(KEY_CTRL | ENTER);
    EXPECT_EQ(weapon_selected, 1) << "Ctrl+Enter deselects only while the flight runs";
    flight_running = 1;
    select_weapon_key(KEY_CTRL | ENTER);
    flight_running = 0;
    EXPECT_EQ(weapon_selected, 0);
    EXPECT_EQ(selected_weapon, 0);
}

TEST_F(WeaponSelect, TheModeOffersOnlyItsWeaponsAndOneTypeLeftIsKept) {
    carry(7, PYLON_SINGLE, WEAPON_AIM_9M, 1);
    carry(9, PYLON_NONE, WEAPON_GUN, 1);
    load_stores();
    toggle_air_ground_mode();
    EXPECT_EQ(select_next_weapon(-1), 1);
    EXPECT_EQ(selected_weapon, WEAPON_GUN);
    EXPECT_EQ(select_next_weapon(-1), 1) << "the gun is kept";
    EXPECT_EQ(selected_weapon, WEAPON_GUN);
    EXPECT_EQ(selected_hardpoint, 9);

    toggle_air_ground_mode();
    select_next_weapon(WEAPON_AIM_9M);
    ASSERT_EQ(selected_hardpoint, 7);
    EXPECT_EQ(select_next_weapon(WEAPON_AIM_9M), 1) << "never to the mirror holding the same weapon";
    EXPECT_EQ(selected_hardpoint, 7);
    EXPECT_EQ(radar_air_mode, 1);
    designated_target.kind = TARGET_FIXED_POINT;
    toggle_air_ground_mode();
    EXPECT_EQ(designated_target.kind, TARGET_NONE);
    EXPECT_EQ(selected_weapon, WEAPON_GUN) << "a missile does not suit the ground";
    EXPECT_TRUE(message_shown("GROUND MODE"));
}

// With nothing selected and nothing to select, the rebuild of a selection reads no hardpoint -1.
TEST_F(WeaponSelect, NothingCarriedClearsTheSelection) {
    load_stores();
    EXPECT_EQ(select_next_weapon(-1), 0);
    EXPECT_EQ(select_previous_weapon(-1), 0);
    EXPECT_EQ(selected_hardpoint, -1);
    EXPECT_EQ(weapon_selected, 0);
}

TEST_F(WeaponSelect, AltEnterCountsTheBombsOfThePair) {
    carry(5, PYLON_SIX, WEAPON_MK_82, 3);
    load_stores();
    select_weapon_key(KEY_ALT | ENTER);
    EXPECT_EQ(hardpoints[5].release_quantity, 1) << "no bomb selected";
    toggle_air_ground_mode();
    select_next_weapon(WEAPON_MK_82);
    std::string counted;
    for (int i = 0; i < 7; ++i) {
        select_weapon_key(KEY_ALT | ENTER);
        counted += std::to_string(hardpoints[5].release_quantity);
        EXPECT_EQ(hardpoints[6].release_quantity, hardpoints[5].release_quantity);
    }
    EXPECT_EQ(counted, "2345612");
}

TEST_F(WeaponSelect, DecoysArePacedAndRunOut) {
    load_stores();
    game_clock = 1000;
    EXPECT_EQ(launch_flare(SCAN_F), 1);
    game_clock += 199;
    EXPECT_EQ(launch_flare(SCAN_F), 0) << "within 200 ticks";
    game_clock += 1;
    EXPECT_EQ(launch_flare(SCAN_F), 1);
    EXPECT_EQ(get_weapon_rounds(WEAPON_FLARE), 13);
    EXPECT_EQ(launch_chaff(SCAN_C), 1);
    game_clock += 399;
    EXPECT_EQ(launch_chaff(SCAN_C), 0) << "within 400 ticks";
    rounds_per_weapon[WEAPON_FLARE] = 0;
    game_clock += 10000;
    EXPECT_EQ(launch_flare(SCAN_F), 0) << "none left";
    control_mode = CONTROL_PILOT;
    EXPECT_EQ(launch_chaff(SCAN_C), 0) << "the gunner's key";
}

// A single player's machine takes both seats. The flight's rules left it a pilot's machine, on
// which the weapon keys do nothing: no selection, release or decoy in any single-player flight.
TEST_F(WeaponSelect, TheSinglePlayersRulesOpenTheWeaponKeys) {
    arm();
    const int flow = get_game_flow();
    const int32_t kept[] = {unlimited_weapons, infinite_fuel, crashing_off};
    for (int each : {int(FLOW_SINGLE_MISSION), int(FLOW_QUICK_START)}) {
        control_mode = CONTROL_PILOT;
        set_game_flow(each);
        set_game_rules();
        EXPECT_EQ(control_mode, CONTROL_BOTH) << each;
    }
    set_game_flow(flow);
    unlimited_weapons = kept[0], infinite_fuel = kept[1], crashing_off = kept[2];
    EXPECT_EQ(select_weapon_key(ENTER), 1);
    EXPECT_EQ(selected_weapon, WEAPON_AIM_9M);
    EXPECT_EQ(launch_flare(SCAN_F), 1);
}

TEST_F(WeaponSelect, AReconWaypointIsReportedOnceAndNotInABank) {
    reset_recon();
    Waypoint* first = append_waypoint(player);
    Waypoint* recon = append_waypoint(player);
    ASSERT_NE(recon, nullptr);
    recon->type = WAYPOINT_RECON;
    recon->letter = 'B';
    recon->x = AIRCRAFT_AT.x + 2000000;
    recon->y = AIRCRAFT_AT.y;
    sky_state = SKY_BELOW_CLOUDS;
    const struct {
        int32_t roll;
        const char* said;
    } presses[] = {{int32_t(95 * DEGREE_ANGLE), "NO RECON"}, {0, "RECON SENT"}, {0, "NO RECON"}};
    for (const auto& press : presses) {
        init_message_area();
        player_flight_data.roll = press.roll;
        EXPECT_EQ(recon_key(0x14), 1);
        EXPECT_TRUE(message_shown(press.said)) << press.said;
    }
    delete_waypoint(recon);
    delete_waypoint(first);
    player->first_waypoint = player->current_waypoint = nullptr;
}

// A target receding straight ahead is in reach closer than 0.9 x (range - speed x factor).
TEST_F(WeaponSelect, TheInRangeCueTakesTheTargetsMotionOffTheReach) {
    selected_weapon = WEAPON_AIM_9M;
    rounds_per_weapon[WEAPON_AIM_9M] = 1;
    Drone* fleeing = drone_at({AIRCRAFT_AT.x, AIRCRAFT_AT.y + 100000, AIRCRAFT_AT.z}, 400 * FOOT);
    designated_target = fleeing->target;
    const WeaponInfo& info = weapon_info[WEAPON_AIM_9M];
    const int32_t reach = int32_t(0.9 * (info.max_range - 400.0 * FOOT * info.closing_time_factor));
    const struct {
        int32_t ahead;
        int in_range;
    } cases[] = {{reach - 3000, 1}, {reach + 3000, 0}, {-100000, 0}};
    for (const auto& c : cases) {
        fleeing->object.pose->position.y = AIRCRAFT_AT.y + c.ahead;
        update_in_range_cue();
        EXPECT_EQ(get_in_range_cue(), c.in_range) << c.ahead;
    }
    rounds_per_weapon[WEAPON_AIM_9M] = 0;
    fleeing->object.pose->position.y = AIRCRAFT_AT.y + 1000;
    update_in_range_cue();
    EXPECT_EQ(get_in_range_cue(), 0) << "no rounds";
}

TEST_F(WeaponSelect, DesignationAnglesAreHeldToTheirLimits) {
    uint32_t azimuth = 7, elevation = 7;
    EXPECT_EQ(get_designation_angles(azimuth, elevation), 0);
    EXPECT_EQ(azimuth, 7u);
    const double range = 1000000;
    const struct {
        double right, forward, up;
        int32_t azimuth_degrees, elevation_degrees;
    } cases[] = {{0, range, 0, 0, 0},
                 {range, 0, 0, 90, 0},
                 {0, range * 0.6427876, range * 0.7660444, 0, 40},     // 50 degrees up
                 {0, range * 0.3420201, -range * 0.9396926, 0, -60},  // 70 degrees down
                 {0, 0, range, 0, 30},                                // straight up
                 {0, 0, -range, 0, -60},
                 {0, 0, 0, 0, 0}};
    for (const auto& c : cases) {
        designate_ground_point({AIRCRAFT_AT.x + int32_t(c.right), AIRCRAFT_AT.y + int32_t(c.forward),
                                AIRCRAFT_AT.z + int32_t(c.up)});
        ASSERT_EQ(get_designation_angles(azimuth, elevation), 1);
        EXPECT_NEAR(int32_t(azimuth) / double(DEGREE_ANGLE), c.azimuth_degrees, 0.1) << c.right << " " << c.up;
        EXPECT_NEAR(int32_t(elevation) / double(DEGREE_ANGLE), c.elevation_degrees, 0.1) << c.forward << " " << c.up;
    }
    clear_designation();
    EXPECT_EQ(is_designator_tracking(), 0);
    EXPECT_EQ(is_laser_designating(), 0);
    EXPECT_EQ(get_default_target_order()[8], 0);
}

TEST_F(WeaponSelect, ACrashClearsTheSelectionAndLocksTheKeys) {
    arm();
    select_next_weapon(-1);
    ASSERT_EQ(weapon_selected, 1);
    die_flag = END_CRASH;
    const int32_t weapon = selected_weapon;
    EXPECT_EQ(select_weapon_key(ENTER), 1);
    EXPECT_EQ(selected_weapon, weapon) << "the key does nothing after a crash";
    update_weapons_frame();
    EXPECT_EQ(weapon_selected, 0);
    die_flag = 0;
}

}  // namespace
}  // namespace vyr
