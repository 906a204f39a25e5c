#include "source/drone/wingman.h"

#include "library/debug/fatal.h"
#include "library/maths/vector.h"
#include "library/system/key.h"
#include "source/avionics/messages.h"
#include "source/drone/air_manoeuvre.h"
#include "source/drone/drone.h"
#include "source/drone/waypoint.h"
#include "source/sound/triggers.h"
#include "source/weapons/speech.h"
#include "source/weapons/target.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/wingman";
constexpr int MESSAGE_PRIORITY = 3;
constexpr int MESSAGE_TICKS = 1000;

using Order = void (*)(Drone*);

struct WingmanKey {
    int code;
    Order order;
    bool group;
    int sample;  // a radio row for the first wingman, a speech row for the group
    const char* message;
};

const WingmanKey WINGMAN_KEYS[] = {
    {KEY_CTRL | SCAN_1, order_wingman_home, false, 149, "WM: Going Home"},
    {KEY_CTRL | SCAN_2, order_wingman_follow, false, 147, "WM: Follow you"},
    {KEY_CTRL | SCAN_3, order_wingman_attack, false, 148, "WM: Attack Tgt"},
    {KEY_CTRL | SCAN_4, order_wingman_resume, false, 150, "WM: Resume Pth"},
    {KEY_SHIFT | SCAN_1, order_wingman_home, true, 153, "GRP:Going Home"},
    {KEY_SHIFT | SCAN_2, order_wingman_follow, true, 151, "GRP:Follow you"},
    {KEY_SHIFT | SCAN_3, order_wingman_attack, true, 152, "GRP:Attack Tgt"},
    {KEY_SHIFT | SCAN_4, order_wingman_resume, true, 154, "GRP:Resume Path"},
};

Drone* first_wingman() { return user_drone ? user_drone->next : nullptr; }

// The attack target is dropped without the target bookkeeping, but a pool point of the wingman's
// own (a bomb run's aim point) goes back to the pool, or nothing would ever free it.
void drop_attack_target(Drone* wingman) {
    Target* t = wingman->attack_target;
    if (t && t->kind == TARGET_FIXED_POINT && !(user_drone && t == user_drone->attack_target)) release_target(t);
    wingman->attack_target = nullptr;
}

// The first Approach waypoint; else the waypoint before the last airborne one, or the last when
// every waypoint lies on the ground (`at_once` set: it is taken whatever its time).
Waypoint* find_home_point(Drone* wingman, bool& at_once) {
    at_once = false;
    if (Waypoint* approach = find_waypoint_of_type(wingman->first_waypoint, WAYPOINT_APPROACH)) return approach;
    Waypoint* last = get_last_waypoint(wingman->first_waypoint);
    Waypoint* w = last;
    while (w && w->z <= 0) w = w->prev;
    if (!w) {
        at_once = true;
        return last;
    }
    return w->prev;
}

// The user drone's waypoint nearest the wingman, the first on ties.
Waypoint* find_nearest_route_waypoint(const Drone* wingman) {
    Waypoint* nearest = nullptr;
    int32_t best = 0;
    for (Waypoint* w = user_drone->first_waypoint; w; w = w->next) {
        const int32_t d = estimate_distance_2d(w->x - wingman->pose.position.x, w->y - wingman->pose.position.y);
        if (!nearest || d < best) {
            nearest = w;
            best = d;
        }
    }
    return nearest;
}

}  // namespace

void order_wingman_home(Drone* wingman) {
    if (!wingman || (wingman->mission_flags & DRONE_FLAG_DISENGAGE)) return;
    drop_attack_target(wingman);
    wingman->previous_waypoint = wingman->current_waypoint;
    bool at_once = false;
    Waypoint* home = find_home_point(wingman, at_once);
    // A wingman whose route is finished has no current waypoint to compare: it goes home.
    const Waypoint* c = wingman->current_waypoint;
    if (home && (at_once || !c || home->arrival_time > c->arrival_time)) wingman->current_waypoint = home;
    wingman->mission_flags = (wingman->mission_flags & ~DRONE_FLAG_FLY_WITH_USER) | DRONE_FLAG_DISENGAGE;
}

void order_wingman_follow(Drone* wingman) {
    if (!wingman || wingman->manoeuvre == MANOEUVRE_LANDING || wingman->manoeuvre == MANOEUVRE_TAKE_OFF) return;
    drop_attack_target(wingman);
    wingman->previous_waypoint = wingman->current_waypoint;
    wingman->mission_flags = (wingman->mission_flags | DRONE_FLAG_FLY_WITH_USER) & ~DRONE_FLAG_DISENGAGE;
}

void order_wingman_attack(Drone* wingman) {
    if (!wingman || !user_drone) return;
    Target* t = user_drone->attack_target;
    if (!t || t->kind == TARGET_NONE || t == &wingman->target) return;
    wingman->attack_target = t;
    wingman->mission_flags &= ~DRONE_FLAG_DISENGAGE;
}

void order_wingman_resume(Drone* wingman) {
    if (!wingman || !wingman->previous_waypoint || !user_drone) return;
    drop_attack_target(wingman);
    wingman->mission_flags &= ~(DRONE_FLAG_FLY_WITH_USER | DRONE_FLAG_DISENGAGE);
    Waypoint* nearest = find_nearest_route_waypoint(wingman);
    Waypoint* found = nullptr;
    for (Waypoint* w = wingman->previous_waypoint; w; w = w->next) {
        if (w == nearest) {
            found = w;
            break;
        }
        if (w->type == WAYPOINT_TARGET) {
            found = w->prev ? w->prev : w;
            break;
        }
    }
    if (Waypoint* resumed = found ? found : nearest) wingman->current_waypoint = resumed;
}

void order_group(Order order) {
    if (!user_drone) return;
    const Target* t = user_drone->attack_target;
    if (order == order_wingman_attack && (!t || t->kind == TARGET_NONE)) return;
    for (Drone* wingman = user_drone->next; wingman; wingman = wingman->next) order(wingman);
}

int handle_wingman_key(int key_code) {
    for (const WingmanKey& key : WINGMAN_KEYS) {
        if (key.code != key_code) continue;
        if (key.group) {
            order_group(key.order);
            queue_speech(key.sample);
            queue_speech(call_sign_speech_sample());
        } else {
            key.order(first_wingman());
            play_radio_sample(key.sample);
        }
        post_message(key.message, MESSAGE_PRIORITY, MESSAGE_TICKS);
        return 1;
    }
    report_fatal_error("attempting to pass UNKNOWN message to wingman!", SOURCE, __LINE__);
    return 0;
}

void register_wingman_keys() {
    for (const WingmanKey& key : WINGMAN_KEYS) add_hot_key(key.code, handle_wingman_key);
}

}  // namespace vyr
