#include "source/avionics/autoland.h"

#include <cmath>
#include <cstdlib>

#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/maths/vector.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/messages.h"
#include "source/avionics/panel.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/sknet/game_rules.h"

namespace vyr {

int32_t autoland_on = 0;
int32_t autoland_engaged = 0;
int32_t autoland_stage = 0;

namespace {
constexpr int PRIORITY = 2;
constexpr int LIFE = 400;
constexpr int64_t TOO_CLOSE = 4106239;
constexpr int64_t NEAR = 1408000;
constexpr int64_t STAGE_LIMITS[3] = {716800, 384000, 102400};  // to stages 2, 3 and 4
constexpr int32_t CAMERA_STEP_TICKS = 2000;
constexpr int32_t HAND_BACK_TICKS = 200;
constexpr int32_t HAND_BACK_SPEED = 55808;
constexpr int32_t HAND_BACK_CLIMB = -19200;

struct RoutePoint {
    int32_t back;  // world units before the beacon along the runway; negative beyond it
    int32_t height;
    int32_t speed;
};
constexpr RoutePoint ROUTE[6] = {{4055040, 128000, 86400}, {2027520, 64000, 73440}, {1013760, 32000, 64800},
                                 {0, 0, 56160},            {-153600, 0, 0},          {0, 0, 86400}};

Waypoint route[6] = {};
Waypoint* saved_first = nullptr;
Waypoint* saved_current = nullptr;
Waypoint* saved_previous = nullptr;
int32_t stamp = 0;
int32_t throttle = 0;
int32_t air_brake_opened = 0;

int64_t beacon_distance(const IlsBeacon& b) {
    const Vector3& p = player_position->position;
    return int64_t(std::hypot(double(b.x) - p.x, double(b.y) - p.y));
}

void post_pair(const char* first, const char* second) {
    post_message(first, PRIORITY, LIFE);
    if (second) post_message(second, PRIORITY, LIFE);
}

// Autoland's own camera changes work whatever the player's keys may do; the permission is put
// back as it was.
template <typename Change>
void with_camera_permission(Change change) {
    const int32_t kept = camera_permission;
    camera_permission = 1;
    change();
    camera_permission = kept;
}

void autoland_view(int mode) {
    with_camera_permission([mode] { set_view_mode(mode); });
}

void autoland_camera(int preset) {
    with_camera_permission([preset] { set_airframe_camera(preset); });
}

// The approach points from the beacon back along its runway, then the roll-out.
bool build_autoland_route() {
    const IlsBeacon* b = get_current_ils_beacon();
    if (!b || !user_drone) {
        autoland_on = 0;
        return false;
    }
    const int32_t s = lookup_sin(b->runway_heading), c = lookup_cos(b->runway_heading);
    for (int i = 0; i < 6; ++i) {
        Waypoint& w = route[i];
        w = {};
        w.prev = i ? &route[i - 1] : nullptr;
        w.next = i < 5 ? &route[i + 1] : nullptr;
        w.drone = user_drone;
        w.type = 2;
        w.letter = char('u' + i);
        w.arrival_time = w.leg_time = -1;
        if (i < 5) {
            w.x = b->x - mul31(s, ROUTE[i].back);
            w.y = b->y - mul31(c, ROUTE[i].back);
        }
        w.z = ROUTE[i].height;
        w.speed = ROUTE[i].speed;
    }
    saved_first = user_drone->first_waypoint;
    saved_current = user_drone->current_waypoint;
    saved_previous = user_drone->previous_waypoint;
    user_drone->first_waypoint = user_drone->current_waypoint = &route[0];
    user_drone->previous_waypoint = nullptr;
    return true;
}

void restore_user_route() {
    if (!user_drone || user_drone->first_waypoint != &route[0]) return;
    user_drone->first_waypoint = saved_first;
    user_drone->current_waypoint = saved_current;
    user_drone->previous_waypoint = saved_previous;
}

void autoland_engage() {
    stamp = game_clock;
    autoland_engaged = 1;
    throttle = int32_t(player_flight_data.engine_percent);
    air_brake_opened = 0;
    user_drone->speed = player_flight_data.airspeed * KNOT;
    user_drone->heading = uint32_t(player_flight_data.heading);
    user_drone->pitch = uint32_t(player_flight_data.pitch);
    user_drone->roll = uint32_t(player_flight_data.roll);
    user_drone->mission_flags |= DRONE_FLAG_MOVING;
}

void clear_flags() {
    autoland_on = autoland_engaged = 0;
    autoland_stage = 0;
}

void hand_to_flight_model(int32_t speed, int32_t climb) {
    if (!user_drone) return;
    place_flight_model(user_drone->pose.position, user_drone->heading, user_drone->pitch, user_drone->roll, speed,
                       climb, int32_t(player_flight_data.afterburner_percent));
}

void disengage() {
    clear_flags();
    hand_to_flight_model(user_drone ? user_drone->speed : 0, user_drone ? user_drone->velocity.z : 0);
    restore_user_route();
    post_message("autoland off", PRIORITY, LIFE);
    set_view_mode(VIEW_COCKPIT);
}

int pick_autoland_camera() {
    for (;;) {
        const int preset = draw_rand() % AIRFRAME_PRESETS;
        if (preset == 0 || preset == 3 || preset == 4 || preset == 5 || preset == 15 || preset == 16) return preset;
    }
}

void autoland_power_step() {
    if (throttle > 0) {
        --throttle;
        autoland_camera(16);
        stamp = game_clock;
    } else if (air_brake_state == AIR_BRAKE_CLOSED && !air_brake_opened) {
        autoland_camera(3);
        stamp = game_clock;
        toggle_air_brake(0);
        air_brake_opened = 1;
    }
}

void autoland_near_step(int64_t distance) {
    if (distance >= NEAR) return;
    autoland_camera(10);
    if (autoland_stage == 0) autoland_stage = 1;
    if (get_gear_state() == GEAR_UP) {
        toggle_gear(0);
        stamp = game_clock;
    }
}

void autoland_camera_step() {
    if (autoland_stage != 0 || game_clock - stamp < CAMERA_STEP_TICKS) return;
    stamp = game_clock;
    autoland_camera(pick_autoland_camera());
}

void autoland_stage_step(int64_t distance) {
    switch (autoland_stage) {
    case 1:
        autoland_camera(10);
        if (distance < STAGE_LIMITS[0]) autoland_stage = 2;
        return;
    case 2:
    case 3:
        autoland_view(VIEW_RUNWAY_CAMERA);
        if (distance < STAGE_LIMITS[autoland_stage - 1]) ++autoland_stage;
        return;
    case 4: autoland_view(VIEW_RUNWAY_CAMERA); return;
    case 5:
        stamp = game_clock;
        autoland_stage = 6;
        return;
    case 6:
        if (game_clock - stamp < HAND_BACK_TICKS) return;
        clear_flags();
        restore_user_route();
        if (!wheel_brake_state) toggle_wheel_brakes(0);
        hand_to_flight_model(HAND_BACK_SPEED, HAND_BACK_CLIMB);
        return;
    default: return;
    }
}

}  // namespace

void reset_autoland() { clear_flags(); }

const char* check_autoland() {
    if (has_failure(FAIL_GEAR)) return "gear failure";
    if (has_failure(FAIL_AUTOPILOT)) return "autopilot failure";
    const IlsBeacon* b = get_current_ils_beacon();
    if (!b) return "no ils beacon";
    if (!is_in_ils_cone()) return "outside ils cone";
    if (beacon_distance(*b) <= TOO_CLOSE) return "too close";
    const Vector3& p = player_position->position;
    const int32_t off = int32_t(compute_bearing(b->x - p.x, b->y - p.y) - uint32_t(player_flight_data.heading));
    if (std::abs(int64_t(off)) >= 90ll * DEGREE) return "heading <> runway";
    if (std::abs(int64_t(player_flight_data.pitch)) > 19ll * DEGREE) return "pitch too extreme";
    if (std::abs(int64_t(player_flight_data.roll)) > 19ll * DEGREE) return "roll too extreme";
    return nullptr;
}

int toggle_autoland(int) {
    if (autoland_on) {
        disengage();
        return 1;
    }
    if (game_mode == GAME_MULTI_PLAYER || game_mode == GAME_CAPTURE_FLAG) return 1;
    if (const char* reason = check_autoland()) {
        post_pair("no autoland", reason);
        return 1;
    }
    autoland_on = 1;
    post_message("autoland on", PRIORITY, LIFE);
    if (!build_autoland_route()) return 1;
    autoland_engage();
    autoland_view(VIEW_AIRFRAME_CAMERA);
    return 1;
}

void update_autoland() {
    const IlsBeacon* b = get_current_ils_beacon();
    // Past the beacon on the roll-out the bearing to it turns round: from stage 4 on the cone no
    // longer holds the approach.
    if (autoland_stage < 4 && (!b || !is_in_ils_cone())) {
        post_message("out of ils cone", PRIORITY, LIFE);
        disengage();
        return;
    }
    const int64_t distance = b ? beacon_distance(*b) : 0;
    autoland_power_step();
    autoland_near_step(distance);
    autoland_camera_step();
    autoland_stage_step(distance);
}

}  // namespace vyr
