#include "source/drone/drone_update.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "library/3dvisual/mobile.h"
#include "source/avionics/avionics.h"
#include "source/drone/drone.h"
#include "source/drone/formations.h"
#include "source/frame_loop.h"
#include "tests/source/drone/mission_world.h"

namespace vyr {
namespace {

constexpr int32_t EAST = 0x40000000;

// A mission built through the setters.
class DroneStart : public MissionWorld {
protected:
    void SetUp() override {
        MissionWorld::SetUp();
        game_clock = 0;
        autoland_engaged = 0;
    }
    void TearDown() override {
        game_clock = 0;
        autoland_engaged = 0;
        MissionWorld::TearDown();
    }

    // A leader of a new task of `type`, with a route due east through the given x (y 100,000).
    static Drone* make_drone(int type, std::initializer_list<int32_t> xs, int start = 0) {
        Task* task = create_task();
        set_task_type(task, type);
        set_task_side(task, SIDE_ALLIED);
        Drone* drone = create_drone(task);
        set_drone_type(drone, 93);
        int32_t speed = 1000;
        for (int32_t x : xs) {
            Waypoint* w = append_waypoint(drone);
            set_waypoint_position(w, x, 100000, 0);
            set_waypoint_speed(w, speed += 1000);
        }
        set_drone_start_waypoint(drone, start);
        return drone;
    }
};

TEST_F(DroneStart, AFormationStartsOnItsStartWaypointInItsSlots) {
    Drone* leader = make_drone(TASK_GROUND_VEHICLE, {100000, 200000, 300000}, 1);
    set_drone_formation(leader, 1);  // ahead, right, left and behind, 25,600 units out
    place_drones_at_start();

    EXPECT_EQ(leader->heading, uint32_t(EAST));
    EXPECT_EQ(leader->pose.position.x, 225600);  // row 0 lies ahead
    EXPECT_EQ(leader->pose.position.y, 100000);
    EXPECT_EQ(leader->current_waypoint, leader->first_waypoint->next->next);
    EXPECT_EQ(leader->remaining_distance, 300000 - 225600);
    EXPECT_EQ(leader->speed, 0);
    EXPECT_FALSE(leader->mission_flags & DRONE_FLAG_MOVING);

    // Newest member first, taking the last row; members stand at the waypoint before the leader's.
    struct Slot {
        int32_t x, y;
    };
    const Slot slots[] = {{174400, 100000}, {200000, 125600}, {200000, 74400}};
    int i = 0;
    for (Drone* member = leader->first_member; member; member = member->next, ++i) {
        ASSERT_LT(i, 3);
        EXPECT_EQ(member->pose.position.x, slots[i].x) << i;
        EXPECT_EQ(member->pose.position.y, slots[i].y) << i;
        EXPECT_EQ(member->heading, uint32_t(EAST)) << i;
        EXPECT_EQ(member->pose.position.z, 0);
    }
    EXPECT_EQ(i, 3);
    EXPECT_NE(leader->random_seed, leader->first_member->random_seed);
}

TEST_F(DroneStart, StaticTasksStandOnTheGroundAndAreNeverMoved) {
    Drone* gun = make_drone(TASK_ARTILLERY_FIXED_POINT, {100000, 200000});
    place_drones_at_start();
    EXPECT_EQ(gun->speed, 0);
    EXPECT_EQ(gun->pose.position.x, 100000);
    EXPECT_TRUE(gun->mission_flags & DRONE_FLAG_MOVING);
    update_drones();
    EXPECT_EQ(gun->speed, 0);
}

TEST_F(DroneStart, ALeaderIsFirstMovedAtItsActivationTime) {
    Drone* truck = make_drone(TASK_GROUND_VEHICLE, {100000, 200000, 300000});
    truck->first_waypoint->wait = 2000;
    place_drones_at_start();
    game_clock = 1999;
    update_drones();
    EXPECT_FALSE(truck->mission_flags & DRONE_FLAG_MOVING);
    game_clock = 2000;
    update_drones();
    EXPECT_TRUE(truck->mission_flags & DRONE_FLAG_MOVING);
    EXPECT_EQ(truck->speed, 3000);  // its current waypoint's
}

TEST_F(DroneStart, ThePlayerAndRemoteDrones) {
    Drone* own = make_drone(TASK_GROUND_VEHICLE, {100000, 200000});
    Drone* remote = make_drone(TASK_GROUND_VEHICLE, {100000, 200000});
    place_drones_at_start();
    EXPECT_EQ(user_drone, nullptr);
    user_drone = own;
    remote->player = 2;
    update_drones();
    EXPECT_FALSE(own->mission_flags & DRONE_FLAG_MOVING);
    EXPECT_FALSE(remote->mission_flags & DRONE_FLAG_MOVING);
    autoland_engaged = 1;  // the autoland flies the player's aircraft
    update_drones();
    EXPECT_TRUE(own->mission_flags & DRONE_FLAG_MOVING);
    EXPECT_FALSE(remote->mission_flags & DRONE_FLAG_MOVING);
}

// The whole object leaves the world and only its pieces fly: it stood on among them, filed in its
// tile as if nothing had happened.
TEST_F(DroneStart, ExplodingDronesStartDestroyedAndAreNotMoved) {
    Drone* wreck = make_drone(TASK_GROUND_VEHICLE, {100000, 200000});
    set_drone_explode(wreck, 1);
    place_drones_at_start();
    EXPECT_EQ(wreck->destroyed, 1);
    const Vector3& at = wreck->pose.position;
    for (ObjectInstance* o = mobile_object_tiles[at.x >> 22][at.y >> 22]; o; o = o->next) EXPECT_NE(o, &wreck->object);
    const Vector3 before = at;
    update_drones();
    EXPECT_EQ(wreck->speed, 0);
    EXPECT_EQ(at.x, before.x);
    EXPECT_EQ(at.y, before.y);
}

TEST_F(DroneStart, RoutesTooShortAndBadClassesAreFatal) {
    EXPECT_DEATH(
        {
            make_drone(TASK_GROUND_VEHICLE, {100000, 200000, 300000}, 2);
            place_drones_at_start();
        },
        "OK, now then, all drones must have two, \\(thats 2, II\\) waypoints each");
    EXPECT_DEATH(
        {
            make_drone(TASK_GROUND_VEHICLE, {100000, 200000, 300000}, 3);
            place_drones_at_start();
        },
        "Drone does not have enough waypoints for start waypoint number");
    for (const auto& [drone_class, message] : {std::pair{0, "Drone has not had its class defined"}, {10, "Drone has illegal class"}}) {
        EXPECT_DEATH(
            {
                Drone* d = make_drone(TASK_GROUND_VEHICLE, {100000, 200000});
                place_drones_at_start();
                d->drone_class = drone_class;
                update_drones();
            },
            message);
    }
}

}  // namespace
}  // namespace vyr
