#include "source/drone/notify.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "library/maths/units.h"
#include "source/drone/drone.h"
#include "source/drone/drone_update.h"
#include "source/drone/soldiers.h"
#include "source/frame_loop.h"
#include "tests/source/drone/vehicle_world.h"

namespace vyr {
namespace {

constexpr int HELICOPTER = 103;
constexpr int SOLDIER = 916;
constexpr int TANK = 93;

class Notifications : public VehicleWorld {
protected:
    void TearDown() override {
        // The figures are the test's own, not the pool's to free.
        for (Drone* d : with_figures) d->class_record = nullptr;
        VehicleWorld::TearDown();
    }

    static Drone* make(int object_number) { return make_leader(TASK_GROUND_VEHICLE, object_number); }

    // A soldier with a figure that notes the transport it boards.
    Drone* soldier(Drone* leader = nullptr) {
        Drone* d = leader ? create_formation_member(leader) : make(SOLDIER);
        if (leader) set_drone_type(d, SOLDIER);
        HumanFigure& figure = figures.emplace_back();
        figure = {};
        d->class_record = &figure;
        with_figures.push_back(d);
        return d;
    }

    std::deque<HumanFigure> figures;
    std::vector<Drone*> with_figures;
};

TEST_F(Notifications, AFifthSubscriberIsRefusedAndNothingChanges) {
    Drone* transport = make(HELICOPTER);
    std::array<Drone*, 5> riders{};
    for (Drone*& r : riders) r = make(TANK);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(subscribe_drone_notify(riders[size_t(i)], transport, NOTIFY_LANDED), 1);
    riders[4]->awaited_event = NOTIFY_DEAD;
    EXPECT_EQ(subscribe_drone_notify(riders[4], transport, NOTIFY_TAKEOFF), 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(transport->subscribers[i], riders[size_t(i)]);
    EXPECT_EQ(riders[4]->awaited_event, NOTIFY_DEAD);

    EXPECT_EQ(unsubscribe_drone_notify(riders[4], transport), 0);
    EXPECT_EQ(unsubscribe_drone_notify(riders[1], transport), 1);
    EXPECT_EQ(transport->subscribers[1], nullptr);
    EXPECT_EQ(subscribe_drone_notify(riders[4], transport, NOTIFY_TAKEOFF), 1);  // into the freed slot
    EXPECT_EQ(transport->subscribers[1], riders[4]);
}

TEST_F(Notifications, ALandingLetsOutTheGroupWaitingForItAlone) {
    // A helicopter 50 ft up comes down on a ground waypoint, then flies on.
    Drone* helicopter = make_leader(TASK_ESCORT_COVER, HELICOPTER);
    for (auto [y, z] : {std::pair{1000000, 50 * FOOT}, {1010000, 0}, {1100000, 100 * FOOT}}) {
        Waypoint* w = append_waypoint(helicopter);
        w->x = 1000000, w->y = y, w->z = z, w->speed = 4320;
    }
    place_drones_at_start();

    Drone* group = soldier();
    Drone* member = soldier(group);
    Drone* other_group = soldier();
    for (Drone* d : {group, member, other_group}) d->pose.position = {1000000, 1010000 + 100 * FOOT, 0};  // in reach
    Drone* tank = make(TANK);
    EXPECT_EQ(subscribe_drone_notify(group, helicopter, NOTIFY_LANDED), 1);
    EXPECT_EQ(subscribe_drone_notify(other_group, helicopter, NOTIFY_TAKEOFF), 1);
    EXPECT_EQ(subscribe_drone_notify(tank, helicopter, NOTIFY_LANDED), 1);

    int steps = 0;
    const Waypoint* landing = helicopter->first_waypoint->next;
    while (helicopter->current_waypoint == landing && steps++ < 4000) update_drones();
    ASSERT_EQ(helicopter->pose.position.z, 0);
    EXPECT_EQ(helicopter->current_waypoint, helicopter->first_waypoint->next->next);  // on to the next leg
    EXPECT_EQ(group->class_record->transport, helicopter);
    EXPECT_EQ(member->class_record->transport, helicopter);
    EXPECT_EQ(other_group->class_record->transport, nullptr);
    EXPECT_EQ(tank->mission_flags & DRONE_FLAG_HIDDEN_PASSENGER, 0u);

    // Lifting off again is what the other group waits for.
    game_clock = helicopter->activation_time;
    while (helicopter->pose.position.z == 0 && steps++ < 4000) update_drones();
    EXPECT_GT(helicopter->pose.position.z, 0);
    EXPECT_EQ(other_group->class_record->transport, nullptr);  // a take-off lets nobody out
}

}  // namespace
}  // namespace vyr
