#include "source/drone/user_drone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/smoke.h"
#include "library/3dvisual/terrain.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/avionics/avionics.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/hud.h"
#include "source/avionics/panel.h"
#include "source/drone/drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_players.h"
#include "source/weapons/release.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapons_frame.h"
#include "tests/source/drone/mission_world.h"

namespace vyr {
namespace {

constexpr uint32_t RIGHT_ANGLE = 0x40000000;
constexpr int32_t TWENTIETH = FIXED_ONE / 20;  // a frame of 1/20 s

// The player's aircraft controls with the aircraft the flight model moves before a mission.
class UserControls : public testing::Test {
protected:
    void SetUp() override {
        init_trig_tables();
        saved_object = player_object;
        saved_position = player_position;
        gear_state = GEAR_UP;
        gear_door_angle = gear_leg_angle = 0;
        air_brake_state = AIR_BRAKE_CLOSED;
        air_brake_angle = 0;
        wheel_brake_state = 0;
        system_failures = {};
        autoland_engaged = 0;
        time_acceleration = 1;
        frame_fraction = TWENTIETH;
        player_flight_data = {};
        player_flight_data.airspeed = 200;
        user_drone = &aircraft;
    }
    void TearDown() override {
        user_drone = nullptr;
        system_failures = {};
        autoland_engaged = 0;
        time_acceleration = 1;
        player_object = saved_object;
        player_position = saved_position;
    }

    // Frames until the gear reaches `state`; -1 past 1,000.
    static int frames_until(int state) {
        for (int frames = 1; frames <= 1000; ++frames) {
            update_user_drone_model();
            if (gear_state == state) return frames;
        }
        return -1;
    }

    Drone aircraft{};
    ObjectInstance* saved_object = nullptr;
    Pose* saved_position = nullptr;
};

TEST_F(UserControls, TheGearTakesTwoSecondsAWayOfGameTime) {
    for (int acceleration : {1, 2}) {
        time_acceleration = acceleration;
        gear_state = GEAR_UP;
        toggle_gear(0);
        EXPECT_EQ(gear_state, GEAR_DOORS_OPENING);
        EXPECT_EQ(frames_until(GEAR_LOWERING), 40 / acceleration);
        EXPECT_EQ(gear_door_angle, RIGHT_ANGLE);
        EXPECT_EQ(frames_until(GEAR_DOWN), 40 / acceleration);
        EXPECT_EQ(gear_leg_angle, RIGHT_ANGLE);
        toggle_gear(0);
        EXPECT_EQ(gear_state, GEAR_RAISING);
        EXPECT_EQ(frames_until(GEAR_DOORS_CLOSING), 40 / acceleration);
        EXPECT_EQ(frames_until(GEAR_UP), 40 / acceleration);
        EXPECT_EQ(gear_door_angle, 0u);
        EXPECT_EQ(gear_leg_angle, 0u);
    }
}

// The longest frame, a whole second, used to overflow the step's rounding and move the doors
// backwards.
TEST_F(UserControls, TheGearMovesInTheLongestFrameToo) {
    frame_fraction = FIXED_ONE;
    toggle_gear(0);
    EXPECT_EQ(frames_until(GEAR_LOWERING), 2);
}

TEST_F(UserControls, TheGearKeyAnswersSpeedGroundAndFailures) {
    player_flight_data.airspeed = 310;  // "SPEED TOO HIGH"
    toggle_gear(0);
    EXPECT_EQ(gear_state, GEAR_UP);
    autoland_engaged = 1;
    toggle_gear(0);
    EXPECT_EQ(gear_state, GEAR_DOORS_OPENING);

    gear_state = GEAR_DOWN;
    update_user_drone_model();
    player_flight_data.on_ground = 1;
    toggle_gear(0);
    EXPECT_EQ(gear_state, GEAR_DOWN);
    player_flight_data.on_ground = 0;
    system_failures = {};
    set_failure(FAIL_GEAR);
    toggle_gear(0);
    EXPECT_EQ(gear_state, GEAR_DOWN);

    // A gear failing on its way up comes down again.
    system_failures = {};
    toggle_gear(0);
    update_user_drone_model();
    system_failures = {};
    set_failure(FAIL_GEAR);
    EXPECT_EQ(frames_until(GEAR_DOWN), 1);
}

TEST_F(UserControls, LoweringTheGearDropsTheWeaponSelection) {
    weapon_selected = 1;
    selected_hardpoint = 5;
    selected_weapon = WEAPON_AIM_9M;
    toggle_gear(0);
    ASSERT_EQ(gear_state, GEAR_DOORS_OPENING);
    EXPECT_EQ(weapon_selected, 0);
    EXPECT_EQ(selected_hardpoint, -1);
    EXPECT_EQ(selected_weapon, 0);
    choose_hud_mode();
    EXPECT_EQ(hud_mode, HUD_ILS) << "no sight, the landing symbols";
}

// Live puffs in the smoke and haze rings.
int live_smoke() {
    return int(std::count_if(std::begin(smoke_puffs), std::end(smoke_puffs), [](const SmokePuff& p) { return p.state != 0; }));
}
int live_haze() {
    return int(std::count_if(std::begin(haze_puffs), std::end(haze_puffs), [](const HazePuff& p) { return p.state != 0; }));
}

TEST_F(UserControls, TheExhaustHazesWhileTheEngineTurns) {
    init_haze();
    Pose& pose = *player_position;
    build_rotation_matrix(0, 0, 0, pose.matrix);
    pose.position = {1 << 27, 1 << 27, 1 << 22};
    flight_data.engine_rpm = 0;
    emit_user_exhaust_haze();
    EXPECT_EQ(live_haze(), 0);
    flight_data.engine_rpm = 100;
    emit_user_exhaust_haze();
    ASSERT_EQ(live_haze(), 32);
    EXPECT_EQ(haze_puffs[0].y, (1 << 27) - 5888);
    EXPECT_LT(haze_puffs[31].y, (1 << 27) - 5888);
    flight_data.engine_rpm = 0;
    init_haze();
}

TEST_F(UserControls, TheAirBrakeLimitFallsWithSpeed) {
    struct Case {
        int32_t speed;
        uint32_t limit;
    };
    for (const Case c : {Case{0, 0x20000000}, {200 * KNOT, 0x20000000}, {400 * KNOT, 0xe38e38e + 0x11c71c72 / 2},
                         {600 * KNOT, 0xe38e38e}, {900 * KNOT, 0xe38e38e}})
        EXPECT_EQ(get_air_brake_limit(c.speed), c.limit) << c.speed;
}

TEST_F(UserControls, TheAirBrakeOpensInASecondAndGivesWayToSpeed) {
    player_flight_data.airspeed = 150;
    toggle_air_brake(0);
    EXPECT_EQ(air_brake_state, AIR_BRAKE_OPENING);
    EXPECT_EQ(system_failures.lamp_word, LAMP_AIR_BRAKE);  // DISC, not BRK
    for (int i = 0; i < 20; ++i) update_user_drone_model();
    EXPECT_EQ(air_brake_state, AIR_BRAKE_OPEN);
    EXPECT_EQ(get_air_brake_angle(), 0x20000000u);
    toggle_air_brake(0);  // moving states ignore the key, open ones close
    EXPECT_EQ(air_brake_state, AIR_BRAKE_CLOSING);
    EXPECT_EQ(system_failures.lamp_word, 0u);
    air_brake_state = AIR_BRAKE_OPEN;
    player_flight_data.airspeed = 600;
    update_user_drone_model();
    EXPECT_EQ(get_air_brake_angle(), 0xe38e38eu);

    system_failures = {};
    set_failure(FAIL_BRAKE);  // frozen, the key ignored
    player_flight_data.airspeed = 150;
    update_user_drone_model();
    toggle_air_brake(0);
    EXPECT_EQ(get_air_brake_angle(), 0xe38e38eu);
    EXPECT_EQ(air_brake_state, AIR_BRAKE_OPEN);
}

TEST_F(UserControls, TheWheelBrakeKeyTogglesTheBrkLamp) {
    toggle_wheel_brakes(0);
    EXPECT_EQ(wheel_brake_state, 1);
    EXPECT_EQ(system_failures.lamp_word, LAMP_WHEEL_BRAKES);
    toggle_wheel_brakes(0);
    EXPECT_EQ(wheel_brake_state, 0);
    EXPECT_EQ(system_failures.lamp_word, 0u);
}

TEST_F(UserControls, TheNoseWheelSmokesOnlyWhenItMeetsTheGroundAgain) {
    std::memset(terrain_posts, 0, sizeof terrain_posts);
    gear_state = GEAR_DOWN;
    player_flight_data.vertical_speed = -100;
    Pose& pose = *player_position;
    build_rotation_matrix(0, 0, 0, pose.matrix);
    wheel_on_ground[0] = 0;
    // The contact point lies 1,280 units below the aircraft; the ground must reach 38.4 above it.
    struct Step {
        int32_t z;
        int on_ground;
    };
    for (const Step step : {Step{2000, 0}, {1200, 1}, {1200, 1}, {1300, 0}, {1200, 1}}) {
        pose.position = {1 << 27, 1 << 27, step.z};
        emit_touchdown_smoke();
        EXPECT_EQ(wheel_on_ground[0], step.on_ground) << step.z;
    }
    // Climbing, or with the gear up, nothing is looked at.
    pose.position.z = 1300;
    player_flight_data.vertical_speed = 10;
    emit_touchdown_smoke();
    EXPECT_EQ(wheel_on_ground[0], 1);
}

TEST_F(UserControls, WheelBrakesToggle) {
    toggle_wheel_brakes(0);
    EXPECT_EQ(wheel_brake_state, 1);
    toggle_wheel_brakes(0);
    EXPECT_EQ(wheel_brake_state, 0);
}

// The player's drone chosen from a mission built through the setters.
class UserDrone : public MissionWorld {
protected:
    void SetUp() override {
        MissionWorld::SetUp();
        saved_object = player_object;
        saved_position = player_position;
        gear_state = GEAR_DOWN;
    }
    void TearDown() override {
        game_mode = GAME_SINGLE;
        own_player_number = 0;
        player_object = saved_object;
        player_position = saved_position;
        MissionWorld::TearDown();
    }

    static Task* make_task(int drones) {
        Task* task = create_task();
        for (int i = 0; i < drones; ++i) set_drone_type(create_drone(task), 225);
        return task;
    }

    ObjectInstance* saved_object = nullptr;
    Pose* saved_position = nullptr;
};

TEST_F(UserDrone, AloneThePlayerFliesTheFirstTasksFirstDrone) {
    for (int mode : {int(GAME_SINGLE), int(GAME_PILOT_GUNNER), 6}) {
        game_mode = mode;
        Task* first = make_task(2);
        make_task(1);
        create_user_drone();
        Drone* own = first->first_drone;
        EXPECT_EQ(user_drone, own) << mode;
        EXPECT_EQ(own->player, 0);
        EXPECT_EQ(player_object, &own->object);
        EXPECT_EQ(player_position, &own->pose);
        EXPECT_EQ(own->object.object_type, OBJ_VYR_HOVREN_TALSWEEP);
        EXPECT_EQ(own->object.owner, own);
        EXPECT_EQ(user_part_list[0], 1022);  // the gear is down
        EXPECT_EQ(user_part_list[3], 0);     // the gun is silent
        EXPECT_EQ(user_part_list[5], 1096);  // the legs are out
        EXPECT_EQ(user_part_list[6], 1094);
        EXPECT_EQ(user_part_list[15], 1210);  // the nozzle after the empty stores
        destroy_all_tasks();
    }
}

TEST_F(UserDrone, TheObjectShowsTheGunFiringAndTheGearUp) {
    make_task(1);
    internal_gun_was_fired = 1;
    gear_state = GEAR_UP;
    create_user_drone();
    internal_gun_was_fired = 0;
    EXPECT_EQ(user_part_list[0], 0);
    EXPECT_EQ(user_part_list[3], 1035);
    EXPECT_EQ(user_part_list[5], 0);
    EXPECT_EQ(user_part_list[6], 0);
}

TEST_F(UserDrone, TheStoresShowOnTheAirframeUntilReleasedOrJettisoned) {
    init_weapon_info();
    init_pylon_types();
    init_sensor_types();
    unlimited_weapons = 0;
    fit_pylon(1, 5);  // a triple rack under each wing
    load_hardpoint(1, WEAPON_MK_82, 1, 3);
    fit_pylon(3, 2);
    load_hardpoint(3, WEAPON_GBU_12, 1, 1);
    fit_sensor(0, SENSOR_TYPE_CENTRE_TANK);
    fit_sensor(1, SENSOR_TYPE_TARGETING_POD);
    load_stores();
    make_task(1);
    create_user_drone();
    const int rack = pylon_types[5].object_number, pylon = pylon_types[2].object_number;
    const int mk82 = weapon_info[WEAPON_MK_82].round_object, gbu = weapon_info[WEAPON_GBU_12].round_object;
    const int fins = weapon_info[WEAPON_GBU_12].store_part_object, tank = sensor_types[SENSOR_TYPE_CENTRE_TANK].object_number;
    const std::vector<int32_t> loaded = {1022, 1023, 1024, 0, tank, 1096, 1094, rack, mk82, mk82, mk82, pylon, gbu, fins,
                                         0, rack, mk82, mk82, mk82, pylon, gbu, fins, 0, 0, 0, 1210};
    EXPECT_EQ(std::vector<int32_t>(user_part_list, user_part_list + loaded.size()), loaded);
    // The instance tree takes each entry where the object has room for it.
    const ObjectInstance* left_rack = player_object->sub_instances[9];
    ASSERT_NE(left_rack, nullptr);
    EXPECT_EQ(left_rack->object_type, rack);
    ASSERT_EQ(left_rack->count, 3);
    for (int s = 0; s < 3; ++s) EXPECT_EQ(left_rack->sub_instances[s] ? left_rack->sub_instances[s]->object_type : 0, mk82);
    EXPECT_EQ(player_object->sub_instances[23]->object_type, 1210);
    // A bomb leaves from its station under the aircraft, placed before any render.
    user_drone->pose.position = {1 << 27, 1 << 27, 1 << 22};
    build_rotation_matrix(0, 0, 0, user_drone->pose.matrix);
    set_user_drone(user_drone);
    const Vector3 from = get_launch_viewpoint(WEAPON_MK_82).position;
    EXPECT_LT(estimate_distance_3d(from.x - (1 << 27), from.y - (1 << 27), from.z - (1 << 22)), 20 * 256);

    hardpoints[1].stations[2].rounds = 0;  // as a release leaves the station
    set_user_drone(user_drone);
    EXPECT_EQ(user_part_list[10], 0) << "the released bomb is gone";
    EXPECT_EQ(player_object->sub_instances[9]->sub_instances[2], nullptr);

    player_flight_data.on_ground = 0;
    jettison_tanks(0);
    jettison_stores(0);
    set_user_drone(user_drone);
    const std::vector<int32_t> jettisoned = {1022, 1023, 1024, 0, 0, 1096, 1094, rack, 0, 0, 0, pylon, 0,
                                             0, rack, 0, 0, 0, pylon, 0, 0, 0, 0, 1210};
    EXPECT_EQ(std::vector<int32_t>(user_part_list, user_part_list + jettisoned.size()), jettisoned)
        << "the pylons and the targeting pod stay";
    reset_weapons();
}

TEST_F(UserDrone, PodsTakeTheirOwnPlacesAndTheRestStillFits) {
    init_weapon_info();
    init_pylon_types();
    init_sensor_types();
    fit_pylon(0, 1);
    load_hardpoint(0, WEAPON_GEPOD, 1, 1);
    fit_pylon(3, 2);
    load_hardpoint(3, WEAPON_M151_HE, 1, 1);
    load_stores();
    gun_rounds_were_fired = 1;
    make_task(1);
    create_user_drone();
    gun_rounds_were_fired = 0;
    // The gun pod hangs on the centre pylon, in the gun bay's second place, its muzzle flashing.
    const ObjectInstance* bay = player_object->sub_instances[4];
    ASSERT_TRUE(bay && bay->count == 2 && bay->sub_instances[1]);
    const ObjectInstance* pylon = bay->sub_instances[1];
    EXPECT_EQ(pylon->object_type, pylon_types[1].object_number);
    ASSERT_TRUE(pylon->count == 1 && pylon->sub_instances[0]);
    const ObjectInstance* pod = pylon->sub_instances[0];
    EXPECT_EQ(pod->object_type, weapon_info[WEAPON_GEPOD].pod_object);
    ASSERT_TRUE(pod->count == 1 && pod->sub_instances[0]);
    EXPECT_EQ(pod->sub_instances[0]->object_type, 1035);
    const ObjectInstance* rockets = player_object->sub_instances[10]->sub_instances[0];
    ASSERT_NE(rockets, nullptr);
    EXPECT_EQ(rockets->object_type, weapon_info[WEAPON_M151_HE].pod_object);
    EXPECT_EQ(rockets->count, weapon_info[WEAPON_M151_HE].pod_slots);
    EXPECT_EQ(player_object->sub_instances[23]->object_type, 1210) << "the nozzle where it belongs";
    reset_weapons();
}

TEST_F(UserDrone, TheAttackTargetIsTheDesignatedTarget) {
    make_task(3);
    create_user_drone();
    EXPECT_EQ(user_drone->attack_target, &designated_target);
}

TEST_F(UserDrone, AFireTrailsSmokeFromTheExhaustOnceTheAircraftMovesOn) {
    init_smoke();
    make_task(1);
    create_user_drone();
    Pose& pose = *player_position;
    build_rotation_matrix(0, 0, 0, pose.matrix);  // heading north
    pose.position = {1 << 27, 1 << 27, 1 << 22};
    emit_user_damage_smoke();
    EXPECT_EQ(live_smoke(), 0) << "the first call marks the spot";
    pose.position.y += 200;
    emit_user_damage_smoke();
    EXPECT_EQ(live_smoke(), 0) << "not moved far enough";
    pose.position.y += 200;
    emit_user_damage_smoke();
    ASSERT_EQ(live_smoke(), 64);
    // From the exhaust, 5,888 units aft, back to the marked spot.
    EXPECT_EQ(smoke_puffs[0].y, (1 << 27) + 400 - 5888);
    EXPECT_EQ(smoke_puffs[0].x, 1 << 27);
    EXPECT_NEAR(smoke_puffs[63].y, (1 << 27) - 5888, 64) << "the last a step short of the spot";
    init_smoke();
}

TEST_F(UserDrone, MainWheelsSmokeWhereTheyMeetTheGround) {
    make_task(1);
    create_user_drone();
    player_flight_data.vertical_speed = -100;
    for (int i = 0; i < 3; ++i) wheel_on_ground[i] = 0;
    user_drone->pose.position = {1 << 27, 1 << 27, 0};  // the wheels sunk in the ground
    place_sub_instances(player_object);
    emit_touchdown_smoke();
    EXPECT_EQ(wheel_on_ground[1], 1);
    EXPECT_EQ(wheel_on_ground[2], 1);
    user_drone->pose.position.z = 20 * 256;
    place_sub_instances(player_object);
    emit_touchdown_smoke();
    EXPECT_EQ(wheel_on_ground[1], 0);
    EXPECT_EQ(wheel_on_ground[2], 0);
}

TEST_F(UserDrone, LinkedThePlayerFliesTheDroneOfItsNumber) {
    game_mode = GAME_COMBAT;
    own_player_number = 1;
    Task* first = make_task(3);
    create_user_drone();
    Drone* own = first->first_drone->next;
    EXPECT_EQ(get_user_task(), first);
    EXPECT_EQ(user_drone, own);
    EXPECT_EQ(own->player, 1);

    user_drone = nullptr;
    own_player_number = 5;  // no drone of that number: no user drone
    create_user_drone();
    EXPECT_EQ(user_drone, nullptr);
}

TEST_F(UserDrone, AloneWithoutADroneIsFatal) {
    EXPECT_DEATH(create_user_drone(), "No user drone set");
}

}  // namespace
}  // namespace vyr
