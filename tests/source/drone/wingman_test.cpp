#include "source/drone/wingman.h"

#include <gtest/gtest.h>

#include <string>

#include "library/system/key.h"
#include "source/avionics/messages.h"
#include "source/drone/air_manoeuvre.h"
#include "source/drone/air_steering.h"
#include "tests/source/drone/armed_world.h"

namespace vyr {
namespace {

constexpr int32_t FT = 256;

// The player leads a strike task of three aircraft on a route of five waypoints: Departure,
// Turning, Target, Turning, Approach, all airborne but the first; the wingmen fly beside him.
class Wingmen : public ArmedWorld {
protected:
    void SetUp() override {
        ArmedWorld::SetUp();
        if (IsSkipped()) return;
        init_message_area();
        Task* task = create_task();
        set_task_side(task, SIDE_ALLIED);
        set_task_type(task, TASK_STRIKE);
        user_drone = member(task, ahead(0, 5000));
        one = member(task, ahead(500, 5000));
        two = member(task, ahead(1000, 5000));
        for (Drone* d : {user_drone, one, two}) {
            const int types[] = {WAYPOINT_DEPARTURE, WAYPOINT_TURNING, WAYPOINT_TARGET, WAYPOINT_TURNING,
                                 WAYPOINT_APPROACH};
            for (int n = 0; n < 5; ++n) {
                Waypoint* w = append_waypoint(d);
                w->type = types[n];
                w->x = HERE.x;
                w->y = HERE.y + n * 20000 * FT;
                w->z = n == 0 ? 0 : 5000 * FT;
                w->arrival_time = n * 10000;
            }
            d->current_waypoint = d->first_waypoint->next;
        }
    }

    static Drone* member(Task* task, const Vector3& at) {
        Drone* d = create_drone(task);
        set_drone_type(d, OBJ_VYR_WINGMAN);
        d->pose.position = at;
        d->manoeuvre = MANOEUVRE_NONE;
        return d;
    }
    static Waypoint* waypoint(const Drone* d, int n) {
        Waypoint* w = d->first_waypoint;
        while (n-- > 0) w = w->next;
        return w;
    }
    static bool shown(const char* text) {
        fill_message_lines();
        for (const auto& line : message_lines)
            if (std::string(line).find(text) != std::string::npos) return true;
        return false;
    }

    Drone* one = nullptr;
    Drone* two = nullptr;
};

TEST_F(Wingmen, GoingHomeTakesTheApproachOnceAndDropsAnAimPointOfItsOwn) {
    Target* aim = new_fixed_point_target(ahead(40000));
    const int held = count_targets();
    one->attack_target = aim;
    one->mission_flags |= DRONE_FLAG_FLY_WITH_USER;
    handle_wingman_key(KEY_CTRL | SCAN_1);
    EXPECT_EQ(one->current_waypoint, waypoint(one, 4));
    EXPECT_EQ(one->previous_waypoint, waypoint(one, 1));
    EXPECT_EQ(one->attack_target, nullptr);
    EXPECT_EQ(count_targets(), held - 1) << "the aim point went back to the pool";
    EXPECT_EQ(one->mission_flags & (DRONE_FLAG_FLY_WITH_USER | DRONE_FLAG_DISENGAGE), DRONE_FLAG_DISENGAGE);
    EXPECT_EQ(two->current_waypoint, waypoint(two, 1)) << "only the first wingman";
    EXPECT_TRUE(shown("WM: Going Home"));
    // A second order is ignored by the wingman already going home.
    one->current_waypoint = waypoint(one, 2);
    handle_wingman_key(KEY_SHIFT | SCAN_1);
    EXPECT_EQ(one->current_waypoint, waypoint(one, 2));
    EXPECT_EQ(two->current_waypoint, waypoint(two, 4));
    EXPECT_TRUE(shown("GRP:Going Home"));
}

TEST_F(Wingmen, TheHomePointWithoutAnApproach) {
    waypoint(one, 4)->type = WAYPOINT_TURNING;
    const struct {
        const char* what;
        bool all_low;           // every waypoint at height 0
        int current, expected;  // waypoint numbers; -1 none
    } cases[] = {
        {"the waypoint before the last airborne one", false, 1, 3},
        {"not when it lies behind the current one", false, 4, 4},
        {"every waypoint on the ground: the last at once, whatever its time", true, 1, 4},
        {"a finished route goes home", false, -1, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        one->mission_flags &= ~DRONE_FLAG_DISENGAGE;
        for (Waypoint* w = one->first_waypoint; w; w = w->next) w->z = c.all_low || !w->prev ? 0 : 5000 * FT;
        waypoint(one, 4)->arrival_time = c.all_low ? 0 : 40000;
        one->current_waypoint = c.current < 0 ? nullptr : waypoint(one, c.current);
        order_wingman_home(one);
        EXPECT_EQ(one->current_waypoint, waypoint(one, c.expected));
    }
}

TEST_F(Wingmen, FollowIsIgnoredOnTheTakeOffRunElseTheWingmanClosesOnItsStation) {
    one->manoeuvre = MANOEUVRE_TAKE_OFF;
    handle_wingman_key(KEY_CTRL | SCAN_2);
    EXPECT_FALSE(one->mission_flags & DRONE_FLAG_FLY_WITH_USER);
    EXPECT_TRUE(shown("WM: Follow you"));

    one->manoeuvre = MANOEUVRE_NONE;
    one->mission_flags |= DRONE_FLAG_DISENGAGE;
    one->pose.position = ahead(60000, 5000);  // far off
    handle_wingman_key(KEY_CTRL | SCAN_2);
    EXPECT_EQ(one->mission_flags & (DRONE_FLAG_FLY_WITH_USER | DRONE_FLAG_DISENGAGE), DRONE_FLAG_FLY_WITH_USER);
    EXPECT_EQ(one->previous_waypoint, one->current_waypoint);
    // Its goal is its station beside the player, not its waypoint.
    Vector3 goal;
    get_air_goal(one, goal);
    const Vector3& lead = user_drone->pose.position;
    EXPECT_LT(std::abs(goal.y - lead.y), 3000 * FT);
    EXPECT_EQ(goal.z, lead.z);
}

TEST_F(Wingmen, AttackTakesThePlayersTargetOnlyWhenThereIsOne) {
    Drone* tank = unit(SIDE_ENEMY, TASK_GROUND_VEHICLE, TANK, ahead(30000));
    one->mission_flags |= DRONE_FLAG_DISENGAGE | DRONE_FLAG_FLY_WITH_USER;
    handle_wingman_key(KEY_SHIFT | SCAN_3);
    EXPECT_EQ(one->attack_target, nullptr);
    EXPECT_TRUE(one->mission_flags & DRONE_FLAG_DISENGAGE) << "no designation changes nothing";
    EXPECT_TRUE(shown("GRP:Attack Tgt"));

    user_drone->attack_target = &tank->target;
    handle_wingman_key(KEY_SHIFT | SCAN_3);
    for (Drone* d : {one, two}) EXPECT_EQ(d->attack_target, &tank->target);
    EXPECT_EQ(one->mission_flags & (DRONE_FLAG_FLY_WITH_USER | DRONE_FLAG_DISENGAGE), DRONE_FLAG_FLY_WITH_USER);
    // Its own drone is no target for the wingman; another order leaves the player's target alone.
    user_drone->attack_target = &two->target;
    order_wingman_attack(two);
    EXPECT_EQ(two->attack_target, &tank->target);
    handle_wingman_key(KEY_CTRL | SCAN_2);
    EXPECT_EQ(one->attack_target, nullptr);
}

TEST_F(Wingmen, ResumeStopsBeforeATargetWaypoint) {
    const struct {
        const char* what;
        int previous;  // -1 none
        int32_t at_y;  // the wingman's place along the route, in legs
        int expected;  // past the route's end: the player's nearest waypoint
    } cases[] = {
        {"from the departure: the one before the Target", 0, 1, 1},
        {"a Target waypoint on the way: the one before it", 1, 4, 1},
        {"past the Target: the nearest", 3, 4, 4},
        {"no previous waypoint: nothing", -1, 4, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        one->current_waypoint = waypoint(one, 2);
        one->previous_waypoint = c.previous < 0 ? nullptr : waypoint(one, c.previous);
        one->mission_flags |= DRONE_FLAG_FLY_WITH_USER;
        one->pose.position = {HERE.x, HERE.y + c.at_y * 20000 * FT, 5000 * FT};
        handle_wingman_key(KEY_CTRL | SCAN_4);
        EXPECT_EQ(one->current_waypoint,
                  c.expected == 4 && c.previous == 3 ? waypoint(user_drone, 4) : waypoint(one, c.expected));
        EXPECT_EQ((one->mission_flags & DRONE_FLAG_FLY_WITH_USER) != 0, c.previous < 0);
    }
}

TEST_F(Wingmen, WithoutAWingmanEveryKeyOnlySpeaksAndShowsItsMessage) {
    destroy_drone(two);
    destroy_drone(one);
    const struct {
        int code;
        const char* message;
    } keys[] = {{KEY_CTRL | SCAN_1, "WM: Going Home"}, {KEY_CTRL | SCAN_2, "WM: Follow you"},
                {KEY_CTRL | SCAN_3, "WM: Attack Tgt"}, {KEY_CTRL | SCAN_4, "WM: Resume Pth"},
                {KEY_SHIFT | SCAN_1, "GRP:Going Home"}, {KEY_SHIFT | SCAN_2, "GRP:Follow you"},
                {KEY_SHIFT | SCAN_3, "GRP:Attack Tgt"}, {KEY_SHIFT | SCAN_4, "GRP:Resume Path"}};
    const uint32_t flags = user_drone->mission_flags;
    for (const auto& k : keys) {
        SCOPED_TRACE(k.message);
        init_message_area();
        EXPECT_EQ(handle_wingman_key(k.code), 1);
        EXPECT_TRUE(shown(k.message));
        EXPECT_EQ(user_drone->mission_flags, flags);
    }
    EXPECT_DEATH(handle_wingman_key(KEY_CTRL | SCAN_5), "attempting to pass UNKNOWN message to wingman!");
}

}  // namespace
}  // namespace vyr
