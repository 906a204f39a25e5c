// Stand-in for the AI vehicles and the battlefield. No drone exists yet.
#include "library/3dvisual/instance.h"
#include "library/maths/matrix.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/soldier_moves.h"
#include "source/drone/user_drone.h"
#include "source/drone/wingman.h"

namespace vyr {

// With no drone types and no soldiers there is nothing to fill, pose or view.
void init_drone_types() {}
int get_drone_type_side_flag(int, int) { return 0; }
void load_human_movements() {}
void pose_human_figure(void*) {}
void view_next_drone() {}
void view_previous_drone() {}
void register_user_drone_keys() {}
void register_wingman_keys() {}

namespace {

// The player's aircraft has the flight model's pose and no route, carrier or air brake.
Pose own_pose = {};

ObjectInstance make_own_object() {
    ObjectInstance instance{};
    instance.object_type = 606;  // the player's aircraft
    instance.pose = &own_pose;
    return instance;
}

ObjectInstance own_object = make_own_object();
int gear_state = GEAR_DOWN;

}  // namespace

// No task, route or other drone exists: nothing hears a notification and no route ends anywhere.
Drone* user_drone = nullptr;
void raise_drone_notify(Drone*, int) {}
Task* get_first_task() { return nullptr; }
Task* get_next_task(Task*) { return nullptr; }
Drone* get_task_first_drone(Task*) { return nullptr; }
Drone* get_next_member(Drone*) { return nullptr; }
int get_drone_object_number(const Drone*) { return 0; }
Vector3 get_drone_position(const Drone*) { return {}; }
Waypoint* get_drone_current_waypoint(const Drone*) { return nullptr; }
Waypoint* get_last_waypoint(Waypoint* waypoint) { return waypoint; }
void set_user_drone(Drone*) {}
int is_landing_on_carrier_deck(Drone*, ObjectInstance*, const Vector3&) { return 0; }
void land_user_on_carrier(ObjectInstance*) {}

ObjectInstance* player_object = &own_object;
Pose* player_position = &own_pose;
int32_t air_brake_state = 0;
int32_t wheel_brake_state = 0;

bool get_current_waypoint_position(int32_t&, int32_t&) { return false; }
const Pose* get_user_carrier_pose() { return nullptr; }
int get_gear_state() { return gear_state; }
void set_gear_state(int state) { gear_state = state; }
uint32_t get_air_brake_angle() { return 0; }

}  // namespace vyr
