// Korea's quick starts, read from the generated data and run in game time: every kind of mover
// the ground-attack one shows moves; in the air-combat one the wingmen go for the fighter the
// player designates when he orders it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "library/3dvisual/features.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/world.h"
#include "library/maths/units.h"
#include "source/drone/drone.h"
#include "source/drone/drone_update.h"
#include "source/drone/ships.h"
#include "source/drone/user_drone.h"
#include "source/drone/wingman.h"
#include "library/maths/vector.h"
#include "library/system/key.h"
#include "source/weapons/targets.h"
#include "source/frame_loop.h"
#include "source/mission/mission_data.h"
#include "tests/source/drone/mission_world.h"
#include "tests/source/drone/quick_start_mission.h"

namespace vyr {
namespace {

class QuickStartMovers : public MissionWorld {
protected:
    void SetUp() override {
        MissionWorld::SetUp();
        if (IsSkipped()) return;
        reload_objects("3DDATA\\");
        std::strcpy(world_settings.war_zone_directory, "KOREA.WZ\\");
        current_world_settings = &world_settings;
        load_features();
        read_korean_quick_start();
    }
    void TearDown() override {
        for (auto& column : feature_layer)
            for (const FeatureEntry*& entry : column) entry = nullptr;
        for (auto& column : super_layer)
            for (const FeatureEntry*& entry : column) entry = nullptr;
        game_clock = 0;
        MissionWorld::TearDown();
        reset_carriers();
    }

    static Drone* find(int object_number, int formation = 0) { return find_mission_drone(object_number, formation); }
};

TEST_F(QuickStartMovers, EveryMoverOfTheShowMoves) {
    place_drones_at_start();
    Drone* diamond = find(93, 1);
    Drone* train = find(523, 58);
    Drone* ship = find(130);
    Drone* frigate = find(320);
    ASSERT_TRUE(diamond && train && ship && frigate);
    Drone *landing = nullptr, *parked = nullptr, *truck = nullptr;
    for (Task* t = task_list; t; t = t->next) {
        if (t->type == TASK_GROUND_VEHICLE_LOOPING) truck = t->first_drone;
        for (Drone* d = t->first_drone; d; d = d->next)
            if (d->object.object_type == 307) (d->mission_flags & DRONE_FLAG_ON_CARRIER ? parked : landing) = d;
    }
    ASSERT_TRUE(landing && parked && truck);
    EXPECT_TRUE(diamond->mission_flags & DRONE_FLAG_COLUMN) << "its first leg ends on the road";
    EXPECT_NE(ship->carrier, NO_CARRIER);
    EXPECT_EQ(parked->carrier, ship->carrier);

    struct Watched {
        Drone* drone;
        Vector3 start;
    };
    Watched movers[] = {{diamond, {}}, {train, {}}, {truck, {}}, {frigate, {}}, {ship, {}}};
    for (Watched& w : movers) w.start = w.drone->pose.position;
    bool landed = false, took_off = false, parked_flew = false;
    for (int step = 0; step < 90 * 20; ++step) {
        update_drones();
        game_clock += 10;
        landed |= landing->pose.position.z == 0;
        took_off |= landed && landing->pose.position.z > 10 * FOOT;
        parked_flew |= !(parked->mission_flags & DRONE_FLAG_ON_CARRIER) && parked->pose.position.z > 100 * FOOT;
    }
    for (const Watched& w : movers) {
        const Vector3& at = w.drone->pose.position;
        EXPECT_GT(std::abs(at.x - w.start.x) + std::abs(at.y - w.start.y), 100000) << w.drone->object.object_type;
        EXPECT_FALSE(w.drone->destroyed) << w.drone->object.object_type;
    }
    EXPECT_TRUE(landed);
    EXPECT_TRUE(took_off);
    EXPECT_TRUE(parked_flew);
}

// How far, in degrees, the drone's heading is off the line to `to`.
double degrees_off(const Drone* drone, const Drone* to) {
    const Vector3& a = drone->pose.position;
    const Vector3& b = to->pose.position;
    const int32_t off = int32_t(compute_bearing(b.x - a.x, b.y - a.y) - drone->heading);
    return std::abs(off / 11930465.0);
}

TEST_F(QuickStartMovers, TheWingmenGoForTheDesignatedFighterOnTheGroupsOrder) {
    read_quick_start("koreaq01.dta");
    place_drones_at_start();
    create_user_drone();
    Drone* one = user_drone->next;
    ASSERT_TRUE(one && one->next);
    Drone* two = one->next;
    Drone* fighter = nullptr;
    for (Task* t = task_list; t && !fighter; t = t->next)
        if (t->side != user_drone->task->side && t->first_drone && t->first_drone->drone_class == DRONE_CLASS_AIRCRAFT)
            fighter = t->first_drone;
    ASSERT_NE(fighter, nullptr);
    // Moved five miles abeam of the wingmen, off the way their route takes them.
    fighter->pose.position = one->pose.position;
    fighter->pose.position.x += 5 * 1555456;

    designated_target = {};
    handle_wingman_key(KEY_SHIFT | SCAN_3);
    EXPECT_EQ(one->attack_target, nullptr) << "nothing designated: the order does nothing";
    EXPECT_EQ(two->attack_target, nullptr);

    designated_target = {};
    designated_target.kind = TARGET_MOBILE;
    designated_target.object = &fighter->object;
    handle_wingman_key(KEY_SHIFT | SCAN_3);
    const double before[] = {degrees_off(one, fighter), degrees_off(two, fighter)};
    for (int step = 0; step < 12 * 20; ++step) {
        update_drones();
        game_clock += 10;
    }
    int n = 0;
    for (const Drone* wingman : {one, two}) {
        EXPECT_EQ(wingman->attack_target, &designated_target);
        EXPECT_GT(before[n], 45.0);
        EXPECT_LT(degrees_off(wingman, fighter), before[n] / 3) << "turned to it";
        ++n;
    }
    designated_target = {};
}

}  // namespace
}  // namespace vyr
