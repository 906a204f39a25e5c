#include "source/drone/waypoint.h"

#include <gtest/gtest.h>

#include <string>

#include "library/3dvisual/terrain.h"
#include "library/graphics/plot.h"
#include "source/drone/user_drone.h"
#include "source/mission/selection.h"
#include "tests/source/drone/mission_fixture.h"

namespace vyr {
namespace {

using Routes = MissionTest;

std::string letters(const Drone* d) {
    std::string s;
    for (const Waypoint* w = d->first_waypoint; w; w = w->next) s += w->letter ? w->letter : '-';
    return s;
}

TEST_F(Routes, AppendingMakesADepartureThenTurningsAndStopsAt39) {
    Drone* d = drone(task(SIDE_ALLIED), 225);
    Waypoint* first = append_waypoint(d);
    EXPECT_EQ(first->type, WAYPOINT_DEPARTURE);
    EXPECT_EQ(d->current_waypoint, first);
    EXPECT_EQ(get_selected_waypoint(), first);
    EXPECT_EQ(get_selected_drone(), d);
    set_waypoint_speed(first, 700);
    Waypoint* last = first;
    for (int i = 2; i <= MAX_ROUTE_WAYPOINTS; ++i) last = append_waypoint(d);
    EXPECT_EQ(last->type, WAYPOINT_TURNING);
    EXPECT_EQ(last->speed, 700);  // the previous waypoint's
    EXPECT_EQ(last->arrival_time, -1);
    EXPECT_EQ(append_waypoint(d), last);
    EXPECT_EQ(d->waypoint_count, MAX_ROUTE_WAYPOINTS);
    EXPECT_EQ(get_last_waypoint(first), last);
    EXPECT_EQ(get_first_waypoint(last), first);
    Waypoint* inserted = insert_waypoint_after(last);  // no limit
    EXPECT_EQ(d->waypoint_count, MAX_ROUTE_WAYPOINTS + 1);
    EXPECT_EQ(get_next_waypoint(last), inserted);
}

TEST_F(Routes, LettersCountOrdinaryAndTargetWaypointsApart) {
    Drone* d = drone(task(SIDE_ALLIED), 225,
                     {WAYPOINT_DEPARTURE, WAYPOINT_TURNING, WAYPOINT_TARGET, WAYPOINT_TURNING, WAYPOINT_TARGET,
                      WAYPOINT_LANDING});
    select_waypoint(d->first_waypoint);
    EXPECT_EQ(letters(d), "ABXCYD");
    EXPECT_EQ(find_waypoint_by_letter('Y'), d->first_waypoint->next->next->next->next);
    EXPECT_EQ(find_waypoint_by_letter('Z'), nullptr);

    Drone* long_route = drone(task(SIDE_ALLIED), 225);
    for (int i = 0; i < 20; ++i) append_waypoint(long_route);
    for (int i = 0; i < 4; ++i) set_waypoint_type(append_waypoint(long_route), WAYPOINT_RECON);
    set_waypoint_type(append_waypoint(long_route), WAYPOINT_INITIAL_POINT);
    select_waypoint(long_route->first_waypoint);
    EXPECT_EQ(letters(long_route), "ABCDEFGHIJKLMNOPQRSaXYZx-");
}

TEST_F(Routes, LegTimesTruncateTheSecondsAndAStopLeavesTheTimeUnknown) {
    Drone* d = drone(task(SIDE_ALLIED), 225, {WAYPOINT_DEPARTURE, WAYPOINT_TURNING, WAYPOINT_TURNING, WAYPOINT_TURNING});
    Waypoint* w[4];
    w[0] = d->first_waypoint;
    for (int i = 1; i < 4; ++i) w[i] = w[i - 1]->next;
    const int32_t x[] = {0, 839895, 839895, 839895 + 40000};
    const int32_t speed[] = {0, 2000, 0, 400};
    for (int i = 0; i < 4; ++i) {
        set_waypoint_position(w[i], x[i], 0, 0);
        set_waypoint_speed(w[i], speed[i]);
    }
    recalc_all_waypoint_times();
    EXPECT_EQ(w[0]->arrival_time, 0);
    EXPECT_EQ(w[1]->leg_distance, 839895);
    EXPECT_EQ(w[1]->leg_time, 83800);
    EXPECT_EQ(w[1]->arrival_time, 83800);
    EXPECT_EQ(w[2]->leg_time, -1);
    EXPECT_EQ(w[2]->arrival_time, -1);
    EXPECT_EQ(w[3]->leg_time, 20000);
    EXPECT_EQ(w[3]->arrival_time, 19999);
    select_waypoint(nullptr);
    EXPECT_EQ(recalc_selected_route_times(), 0);
}

TEST_F(Routes, AnAltitudeBelowTheGroundIsTheGround) {
    const TerrainPost saved = terrain_posts[0][0];
    terrain_posts[0][0].height = 100;  // feet
    Drone* d = drone(task(SIDE_ALLIED), 225, {WAYPOINT_DEPARTURE});
    set_waypoint_position(d->first_waypoint, 0, 0, 5);
    EXPECT_EQ(get_waypoint_altitude(d->first_waypoint), 100 * 256);
    set_waypoint_altitude(d->first_waypoint, 200 * 256);
    EXPECT_EQ(get_waypoint_altitude(d->first_waypoint), 200 * 256);
    terrain_posts[0][0] = saved;
}

TEST_F(Routes, DeletingSelectsANeighbourAndTheLastLeavesNoneSelected) {
    Drone* d = drone(task(SIDE_ALLIED), 225, {WAYPOINT_DEPARTURE, WAYPOINT_TURNING});
    Waypoint* second = d->first_waypoint->next;
    d->current_waypoint = nullptr;
    delete_waypoint(d->first_waypoint);
    EXPECT_EQ(d->first_waypoint, second);
    EXPECT_EQ(get_selected_waypoint(), second);
    delete_waypoint(second);
    EXPECT_EQ(get_selected_waypoint(), nullptr);
    EXPECT_EQ(d->waypoint_count, 0);
    EXPECT_EQ(count_waypoints(), 0);
}

TEST_F(Routes, SelectingByIndexWalksTheSelectedRoute) {
    Drone* d = drone(task(SIDE_ALLIED), 225, {WAYPOINT_DEPARTURE, WAYPOINT_TURNING, WAYPOINT_TARGET});
    select_waypoint_by_index(2);
    EXPECT_EQ(get_selected_waypoint(), get_last_waypoint(d->first_waypoint));
    select_waypoint_by_index(3);  // beyond the route
    EXPECT_EQ(get_selected_waypoint(), get_last_waypoint(d->first_waypoint));
    EXPECT_EQ(find_waypoint_of_type(d->first_waypoint, WAYPOINT_TARGET), get_selected_waypoint());
}

TEST_F(Routes, AMapPickFindsTheSelectedRouteFirstThenTheTasksOtherLeaders) {
    PlotWindow saved;
    save_plot(saved);
    set_plot(0, 0, 640, 480, 0, 0, 64000, 48000);  // 100 world units a pixel
    Task* t = task(SIDE_ALLIED);
    Drone* a = drone(t, 225, {WAYPOINT_DEPARTURE, WAYPOINT_TURNING});
    Drone* b = drone(t, 225);
    Waypoint* far = append_waypoint(b);
    set_waypoint_position(far, 30000, 30000, 0);
    select_drone(a);
    EXPECT_EQ(pick_waypoint_at(1000 + 1100, 1000), a->first_waypoint);
    EXPECT_EQ(get_selected_drone(), a);
    EXPECT_EQ(pick_waypoint_at(30000, 28900), far);
    EXPECT_EQ(get_selected_drone(), b);
    EXPECT_EQ(pick_waypoint_at(50000, 5000), nullptr);
    restore_plot(saved);
}

TEST_F(Routes, TheNearestWaypointOfATypeIsMeasuredFromThePlayer) {
    Drone* d = drone(task(SIDE_ALLIED), 225, {WAYPOINT_DEPARTURE, WAYPOINT_RECON, WAYPOINT_TURNING, WAYPOINT_RECON});
    const Vector3 saved = player_position->position;
    player_position->position = {4000, 8000, 0};  // on the last waypoint
    int32_t distance = -1;
    Waypoint* last = get_last_waypoint(d->first_waypoint);
    EXPECT_EQ(find_nearest_waypoint_of_type(d->first_waypoint, WAYPOINT_RECON, 100000, &distance), last);
    EXPECT_EQ(distance, 0);
    player_position->position = {2000, 4000 + 3000, 0};
    EXPECT_EQ(find_nearest_waypoint_of_type(d->first_waypoint, WAYPOINT_RECON, 5000, &distance), last);
    EXPECT_EQ(distance, 2236);  // sqrt(2000^2 + 1000^2), truncated
    EXPECT_EQ(find_nearest_waypoint_of_type(d->first_waypoint, WAYPOINT_RECON, 2236, &distance), nullptr);
    player_position->position = saved;
}

TEST_F(Routes, ThePoolHolds3072AndThe3073rdIsFatal) {
    EXPECT_FATAL(
        {
            Task* t = task(SIDE_ALLIED);
            Drone* d = nullptr;
            for (int i = 0; i < MAX_WAYPOINTS; ++i) {
                if (i % MAX_ROUTE_WAYPOINTS == 0) d = create_drone(t);
                append_waypoint(d);
            }
            if (count_waypoints() == MAX_WAYPOINTS) append_waypoint(create_drone(t));
        },
        "Allocate Waypoints - too many waypoints used");
}

}  // namespace
}  // namespace vyr
