// A mission built through the setters as the mission reader builds one, on the generated mission
// world, which takes it down again after each test so that the pools start empty.
#pragma once

#include <gtest/gtest.h>

#include "library/debug/fatal.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/frame_loop.h"
#include "source/mission/selection.h"
#include "source/skill.h"
#include "tests/support/worlds.h"

namespace vyr {

class MissionTest : public GeneratedMission {
protected:
    static Task* task(int side, int type = TASK_GROUND_VEHICLE) {
        Task* t = create_task();
        set_task_side(t, side);
        set_task_type(t, type);
        return t;
    }

    // A leader of the type with a route of waypoints of the given types at the given points.
    static Drone* drone(Task* t, int object_number, std::initializer_list<int> waypoint_types = {}) {
        Drone* d = create_drone(t);
        set_drone_type(d, object_number);
        int i = 0;
        for (int type : waypoint_types) {
            Waypoint* w = append_waypoint(d);
            set_waypoint_type(w, type);
            set_waypoint_x(w, 1000 * ++i);
            set_waypoint_y(w, 2000 * i);
        }
        return d;
    }

    static int used_drones() {
        int32_t size;
        return count_drones(&size);
    }
};

// Runs `action` in a death test's child with the fatal report's text ready.
#define EXPECT_FATAL(action, message)      \
    EXPECT_EXIT(                           \
        {                                  \
            init_debug_text();             \
            action;                        \
        },                                 \
        testing::ExitedWithCode(10), message)

}  // namespace vyr
