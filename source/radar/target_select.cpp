#include "source/radar/target_select.h"

#include <algorithm>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/line_of_sight.h"
#include "library/maths/matrix.h"
#include "source/avionics/mfd.h"
#include "source/avionics/targeting_pod.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/radar/air_radar.h"
#include "source/radar/ground_radar.h"
#include "source/radar/radar.h"
#include "source/radar/target_scan.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"

namespace vyr {

int32_t auto_target_on = 1;
int32_t follow_best_target = 1;
int32_t reacquire_target = 1;
int32_t target_step_request = 0;
int32_t designated_air_index = 0;
Target laser_spot_target = {};

namespace {

constexpr int AIR_CHOICES = 10;  // only the first displayed air contacts can be designated
constexpr int32_t ACM_RANGE_NM = 10;
constexpr int32_t TARGET_AREA_REACH = 1555456;  // a contact within 1 nm of the route's target area
constexpr int LINE_OF_SIGHT_STEPS = 3;
constexpr int32_t LOW_FLYER_HEIGHT = 7679;  // 30 ft: above it an aircraft is no ground target

// How a step of the selection ends: at once, or through the end step that resets the requests.
enum class Ending { STOP, FINISH };

bool has_designation() { return designated_target.kind != TARGET_NONE; }

void drop_designation() {
    designated_target.kind = TARGET_NONE;
    target_step_request = 0;
}

const Vector3& aircraft() { return player_position->position; }

// The focused MFD shows the pod page.
bool pod_page_in_focus() {
    return (get_active_mfd() == 1 ? get_left_mfd_page() : get_right_mfd_page()) == MFD_POD;
}

bool either_mfd_shows(int page) { return get_left_mfd_page() == page || get_right_mfd_page() == page; }

bool destroyed_or_inactive(const Target& t) {
    if (t.kind == TARGET_GROUND_OBJECT) return static_cast<const ground_object*>(t.object)->flags & GROUND_DESTROYED;
    return static_cast<const ObjectInstance*>(t.object)->flags & INSTANCE_INACTIVE;
}

// Bearing in the radar's frame and horizontal distance within the limits (the bounds inside).
bool within_scan(const Target& t, const Matrix3& frame, int32_t half_angle, int32_t range) {
    const Vector3& p = *get_target_position_ptr(&t);
    const Vector3 offset = {p.x - aircraft().x, p.y - aircraft().y, p.z - aircraft().z};
    Vector3 r;
    rotate_vector(frame, offset, r);
    const int32_t bearing = int32_t(compute_bearing(r.x, r.y));
    return -half_angle <= bearing && bearing <= half_angle && estimate_distance_2d(offset.x, offset.y) <= range;
}

bool within_ground_scan(const Target& t) {
    return within_scan(t, ground_radar_frame, ground_sector_half_angle, ground_range);
}

// Only ground objects and mobiles can be checked; a fixed point fails like a lost target.
bool is_still_valid(const Target& t) {
    if (t.kind != TARGET_GROUND_OBJECT && t.kind != TARGET_MOBILE) return false;
    if (!is_valid_ground_target(&t) || destroyed_or_inactive(t)) return false;
    const bool in_scan = radar_air_mode ? within_scan(t, air_radar_frame, scan_half_width, air_range)
                                        : within_ground_scan(t);
    return in_scan && check_line_of_sight(*get_target_position_ptr(&t), aircraft(), LINE_OF_SIGHT_STEPS);
}

void check_designation() {
    if (!has_designation() || is_still_valid(designated_target)) return;
    reacquire_target = 1;
    follow_best_target = 1;
}

Target* find_ground_node(const void* object) {
    for (Target* node = ground_contact_head; node; node = node->next)
        if (node->object == object) return node;
    return nullptr;
}

// From `from` (excluded) in the direction of the request to the list's end, then from the other
// end round to `from`: the first lased node.
Target* next_lased_node(Target* from, int request) {
    const bool forward = request == 1;
    auto step = [forward](Target* node) { return forward ? node->next : node->prev; };
    Target* const start = forward ? ground_contact_head : ground_contact_tail;
    for (Target* node = from ? step(from) : start; node; node = step(node))
        if (is_target_lased(node)) return node;
    for (Target* node = start; node && node != from; node = step(node))
        if (is_target_lased(node)) return node;
    return nullptr;
}

// The laser spot kept while it stays valid, else the first lased contact; the pilot's steps move
// it between lased contacts. Answers whether there is a laser spot.
bool update_laser_spot() {
    Target& spot = laser_spot_target;
    if (spot.kind != TARGET_NONE &&
        (spot.kind == TARGET_FIXED_POINT || !is_valid_ground_target(&spot) || destroyed_or_inactive(spot) ||
         radar_air_mode || !within_ground_scan(spot)))
        spot.kind = TARGET_NONE;
    if (spot.kind == TARGET_NONE) {
        Target* lased = next_lased_node(nullptr, 1);
        if (!lased) return false;
        spot = *lased;
    } else if (target_step_request != 0) {
        if (Target* lased = next_lased_node(find_ground_node(designated_target.object), target_step_request))
            spot = *lased;
        target_step_request = 0;
    }
    return true;
}

void designate_air(int index) {
    designated_target = air_display[index]->target;
    designated_air_index = index;
}

// The first `n` displayed contacts: where the designated object is among them, or -1.
int find_designated_air(int n) {
    for (int i = 0; i < n; ++i)
        if (air_display[i]->target.object == designated_target.object) return i;
    return -1;
}

int32_t distance_to(const Target& t) {
    const Vector3& p = *get_target_position_ptr(&t);
    return measure_distance_3d(p.x - aircraft().x, p.y - aircraft().y, p.z - aircraft().z);
}

void widen_acm() {
    if (air_range_nm != ACM_RANGE_NM) set_acm_range(ACM_RANGE_NM);
}

// ACM keeps a target handed over from TWS while it stays displayed and in range; otherwise it
// takes the first displayed contact in range.
Ending select_acm(int n) {
    if (saved_air_submode == RADAR_TWS && has_designation() && !destroyed_or_inactive(designated_target) &&
        distance_to(designated_target) < air_range) {
        const int i = find_designated_air(n);
        if (i >= 0) {
            designate_air(i);
            return Ending::FINISH;
        }
        designated_target.kind = TARGET_NONE;
        widen_acm();
        return Ending::STOP;
    }
    for (int i = 0; i < n; ++i)
        if (distance_to(air_display[i]->target) < air_range) {
            designate_air(i);
            return Ending::FINISH;
        }
    designated_target.kind = TARGET_NONE;
    set_acm_range(ACM_RANGE_NM);
    return Ending::FINISH;
}

// TWS and RCR: the designation refreshed or stepped among the first `n` displayed contacts; the
// best one when it is gone or lost.
void select_tws(int n) {
    if (reacquire_target || !has_designation()) {
        designate_air(0);
        reacquire_target = 0;
        return;
    }
    const int i = find_designated_air(n);
    if (i < 0) {
        designate_air(0);
        follow_best_target = 1;
        return;
    }
    if (target_step_request == 1)
        designate_air(i + 1 == n ? 0 : i + 1);
    else if (target_step_request == 2)
        designate_air(i == 0 ? n - 1 : i - 1);
    else
        designate_air(i);
}

Ending select_air() {
    merge_air_contacts(air_contact_head);
    if (!air_contact_head) {
        designated_target.kind = TARGET_NONE;
        if (air_submode == RADAR_ACM) widen_acm();
        return Ending::STOP;
    }
    const int n = std::min<int>(air_display_count, AIR_CHOICES);
    if (air_submode == RADAR_ACM) return select_acm(n);
    select_tws(n);
    return Ending::FINISH;
}

int32_t horizontal_distance(const Vector3& p, int32_t x, int32_t y) { return estimate_distance_2d(p.x - x, p.y - y); }

// The pilot's choice kept, or stepped along the list (round at the ends); the best contact when
// the choice is no longer listed.
void select_pilots_choice() {
    Target* node = find_ground_node(designated_target.object);
    if (!node) {
        designated_target = *ground_contact_head;
        follow_best_target = 1;
        return;
    }
    if (target_step_request == 1)
        node = node->next ? node->next : ground_contact_head;
    else if (target_step_request == 2)
        node = node->prev ? node->prev : ground_contact_tail;
    designated_target = *node;
}

void designate_ground(const Target& t) {
    designated_target = t;
    reacquire_target = 0;
}

void keep_or_take_best() {
    if (!has_designation() || reacquire_target) designate_ground(*ground_contact_head);
}

// The best contact, or the one nearest the target area of the player's route when that lies in
// range; a designation inside the area is kept.
void select_best_ground() {
    Waypoint* area = nullptr;
    if (user_drone) {
        int32_t distance = 0;
        area = find_nearest_waypoint_of_type(get_first_waypoint(user_drone->first_waypoint), WAYPOINT_TARGET,
                                             ground_range, &distance);
    }
    if (!area) {
        keep_or_take_best();
        return;
    }
    const int32_t x = get_waypoint_x(area), y = get_waypoint_y(area);
    if (has_designation() && !reacquire_target &&
        horizontal_distance(*get_target_position_ptr(&designated_target), x, y) <= ground_range)
        return;
    const Target* nearest = nullptr;
    int32_t nearest_distance = TARGET_AREA_REACH + 1;
    for (const Target* node = ground_contact_head; node; node = node->next) {
        const int32_t d = horizontal_distance(*get_target_position_ptr(node), x, y);
        if (d < nearest_distance) {
            nearest = node;
            nearest_distance = d;
        }
    }
    if (nearest && (!has_designation() || reacquire_target || nearest->object != designated_target.object))
        designate_ground(*nearest);
    else
        keep_or_take_best();
}

Ending select_ground() {
    if (has_designation() && has_targeting_pod()) set_pod_slave_target(1);
    if (designated_target.kind == TARGET_MOBILE && get_target_domain(&designated_target) == TARGET_DOMAIN_AIR &&
        get_target_position_ptr(&designated_target)->z > LOW_FLYER_HEIGHT)
        drop_designation();
    if (update_laser_spot()) {
        designated_target = laser_spot_target;
        return Ending::FINISH;
    }
    if (!ground_contact_head) {
        designated_target.kind = TARGET_NONE;
        if (get_pod_track_mode() == 1) clear_pod_point();
        return Ending::STOP;
    }
    if (follow_best_target)
        select_best_ground();
    else
        select_pilots_choice();
    return Ending::FINISH;
}

Ending select_target() {
    const bool pod_page = pod_page_in_focus();
    if (!radar_on && (!has_targeting_pod() || !pod_page)) {
        if (!update_laser_spot())
            drop_designation();
        else if (is_laser_weapon_selected())
            designated_target = laser_spot_target;
    }
    if (get_pod_track_mode() == 1 && ((radar_on && pod_page) || (!radar_on && has_targeting_pod()))) {
        if (radar_air_mode) merge_air_contacts(air_contact_head);
        return Ending::FINISH;
    }
    check_designation();
    if (pod_page && get_pod_track_mode() != 1) {
        drop_designation();
        return Ending::STOP;
    }
    if (!radar_on) {
        if (either_mfd_shows(MFD_MAVERICK)) return Ending::STOP;
        if (laser_spot_target.kind == TARGET_NONE)
            drop_designation();
        else if (is_laser_weapon_selected())
            designated_target = laser_spot_target;
        return Ending::STOP;
    }
    return radar_air_mode ? select_air() : select_ground();
}

}  // namespace

void update_target_selection() {
    if (select_target() == Ending::STOP) return;
    if (!auto_target_on) follow_best_target = 0;
    target_step_request = 0;
}

}  // namespace vyr
