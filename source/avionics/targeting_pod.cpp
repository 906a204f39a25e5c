#include "source/avionics/targeting_pod.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/line_of_sight.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/maths/trig.h"
#include "library/system/key.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/views.h"
#include "source/drone/user_drone.h"
#include "source/radar/ground_radar.h"
#include "source/radar/radar.h"
#include "source/radar/target_scan.h"
#include "source/radar/target_select.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

int32_t pod_track_mode = 0;
int32_t pod_point_valid = 0, pod_point_x = 0, pod_point_y = 0;
int32_t pod_on_point = 0;
int32_t pod_slaved = 0;
int32_t pod_azimuth = 0, pod_elevation = 0;
int32_t pod_slew[4] = {};
int32_t pod_step_request = 0;
int32_t pod_zoom = 1;
Target pod_target = {};

namespace {

constexpr const char* SOURCE = "source/avionics/targeting_pod";
constexpr int KEY_ALT_SPACE = 0x1039;
constexpr double RAY_STEP = 25600;  // 100 ft
constexpr double RAY_RESOLUTION = 100;
constexpr int LINE_OF_SIGHT_STEPS = 3;

bool is_laser_guided_bomb(int weapon) { return weapon >= WEAPON_GBU_12 && weapon <= WEAPON_GBU_10; }

// The designation is lost: destroyed, inactive, beyond the pod's reach or behind the ground.
bool target_lost(const Target& t) {
    if (is_target_destroyed(&t)) return true;
    const Vector3 p = target_ground_position(t);
    const Vector3& a = player_position->position;
    if (measure_distance_3d(p.x - a.x, p.y - a.y, p.z - a.z) > POD_MAX_RANGE) return true;
    return check_line_of_sight(a, p, LINE_OF_SIGHT_STEPS) != 1;
}

// Within 45 degrees of the nose and the pod's range, both in the horizontal plane.
bool in_pod_field(const Target& t) {
    const Vector3 p = target_ground_position(t);
    const Vector3& a = player_position->position;
    uint32_t heading, pitch;
    aircraft_attitude(heading, pitch);
    const int32_t off = int32_t(compute_bearing(p.x - a.x, p.y - a.y) - heading);
    if (uint32_t(std::abs(int64_t(off))) > POD_BEARING_LIMIT) return false;
    return std::hypot(double(p.x - a.x), double(p.y - a.y)) <= POD_MAX_RANGE;
}

void check_pod_target() {
    if (pod_target.kind == TARGET_NONE) return;
    if (pod_target.kind != TARGET_GROUND_OBJECT && pod_target.kind != TARGET_MOBILE)
        report_fatal_error("unknown object type %d", SOURCE, __LINE__, pod_target.kind);
    if (!is_valid_ground_target(&pod_target) || is_target_destroyed(&pod_target) || !in_pod_field(pod_target))
        pod_target.kind = TARGET_NONE;
}

const Target* first_lased_contact() {
    for (const Target* t = ground_contact_head; t; t = t->next)
        if (is_target_lased(t)) return t;
    return nullptr;
}

const Target* find_designated_contact() {
    for (const Target* t = ground_contact_head; t; t = t->next)
        if (targets_equal(t, &designated_target)) return t;
    return nullptr;
}

// The lased contact after (step 1) or before (step 2) the designated one, wrapping round the
// list; null when there is no other.
const Target* step_lased_contact(int step) {
    const Target* at = find_designated_contact();
    const Target* t = at;
    for (int guard = 0; guard <= MAX_GROUND_CONTACTS; ++guard) {
        t = t ? (step == 1 ? t->next : t->prev) : nullptr;
        if (!t) t = step == 1 ? ground_contact_head : ground_contact_tail;
        if (!t || t == at) return nullptr;
        if (is_target_lased(t)) return t;
    }
    return nullptr;
}

void copy_into_designation(const Target& t) {
    Target* keep_next = designated_target.next;
    Target* keep_prev = designated_target.prev;
    designated_target = t;
    designated_target.next = keep_next;
    designated_target.prev = keep_prev;
}

// The radar's automatic choice among the ground contacts.
void choose_from_contacts() {
    if (!ground_contact_head) {
        designated_target.kind = TARGET_NONE;
        if (pod_track_mode) pod_point_valid = 0;
        return;
    }
    const Target* designated = designated_target.kind == TARGET_NONE ? nullptr : find_designated_contact();
    if (follow_best_target) {
        if (designated_target.kind == TARGET_NONE || reacquire_target) {
            copy_into_designation(*ground_contact_head);
            reacquire_target = 0;
        }
    } else if (designated) {
        const Target* chosen = designated;
        if (pod_step_request == 1) chosen = designated->next ? designated->next : ground_contact_head;
        if (pod_step_request == 2) chosen = designated->prev ? designated->prev : ground_contact_tail;
        copy_into_designation(*chosen);
    } else {
        copy_into_designation(*ground_contact_head);
        follow_best_target = 1;
    }
}

}  // namespace

void reset_targeting_pod() {
    pod_track_mode = pod_point_valid = pod_point_x = pod_point_y = pod_on_point = pod_slaved = 0;
    pod_azimuth = pod_elevation = 0;
    std::fill(std::begin(pod_slew), std::end(pod_slew), 0);
    pod_step_request = 0;
    pod_zoom = 1;
    pod_target = {};
    reset_pod_pages();
}

void register_pod_key() { add_hot_key(KEY_ALT_SPACE, pod_designate_key); }

bool focused_on_pod_page() { return (get_active_mfd() == 1 ? get_left_mfd_page() : get_right_mfd_page()) == MFD_POD; }
bool pod_page_shown() { return get_left_mfd_page() == MFD_POD || get_right_mfd_page() == MFD_POD; }

void aircraft_attitude(uint32_t& heading, uint32_t& pitch) {
    const int32_t* f = player_position->matrix[1];
    heading = compute_bearing(f[0], f[1]);
    pitch = lookup_arcsin(f[2]);
}

Vector3 point_along(const Vector3& start, const Vector3& line, double distance) {
    const double s = distance / 2147483648.0;
    return {int32_t(start.x + line.x * s), int32_t(start.y + line.y * s), int32_t(start.z + line.z * s)};
}

Vector3 pod_direction(uint32_t heading, uint32_t pitch) {
    const int32_t c = lookup_cos(pitch);
    return {mul31(lookup_sin(heading), c), mul31(lookup_cos(heading), c), lookup_sin(pitch)};
}

int32_t player_aircraft_size() {
    const ObjectHeader* h = player_object ? get_object_header(player_object->object_type) : nullptr;
    if (!h) return 0;
    return std::max(h->box_max_x - h->box_min_x, h->box_max_y - h->box_min_y);
}

Vector3 target_ground_position(const Target& target) {
    Vector3 p = {};
    get_target_position(&target, p);
    if (target.kind != TARGET_MOBILE) p.z = get_ground_height(p.x, p.y);
    return p;
}

int pod_designate_key(int) {
    if (!focused_on_pod_page() || has_failure(FAIL_TARGETING) || has_failure(FAIL_LASER) || radar_air_mode) return 1;
    if (pod_point_valid) {
        pod_point_valid = pod_slaved = 0;
        std::fill(std::begin(pod_slew), std::end(pod_slew), 0);
        return 1;
    }
    if (pod_track_mode || flight_data.altitude >= POD_MAX_ALTITUDE || !player_position) return 1;
    designated_target.kind = TARGET_NONE;
    uint32_t heading, pitch;
    aircraft_attitude(heading, pitch);
    const Vector3 line = pod_direction(heading + uint32_t(pod_azimuth), pitch + uint32_t(pod_elevation));
    const Vector3 start = point_along(player_position->position, line, player_aircraft_size());
    const Vector3 point = point_along(start, line, pod_ray_to_ground(POD_MAX_RANGE, start, line));
    pod_point_valid = pod_slaved = pod_on_point = 1;
    pod_point_x = point.x;
    pod_point_y = point.y;
    std::fill(std::begin(pod_slew), std::end(pod_slew), 0);
    return 1;
}

int32_t pod_ray_to_ground(int32_t range, const Vector3& start, const Vector3& line) {
    const double horizontal = std::hypot(double(line.x), double(line.y)) / 2147483648.0;
    const auto reach = [&](double t) { return t * horizontal; };
    const auto above = [&](double t) {
        const Vector3 p = point_along(start, line, t);
        return p.z >= get_ground_height(p.x, p.y);
    };
    double t = 0;
    if (start.z >= POD_RAY_SHORTCUT_ALTITUDE) {
        if (line.z >= 0) return range;
        const int64_t ratio = int64_t(std::hypot(double(line.x), double(line.y))) / std::abs(int64_t(line.z));
        const int64_t skip = ratio * (start.z - POD_RAY_SHORTCUT_ALTITUDE);
        if (skip >= range) return range;
        t = horizontal > 0 ? double(skip) / horizontal : 0;
    }
    // A line that never comes down ends at the range; one straight up at twice it.
    const auto within = [&](double u) { return reach(u) <= range && u <= 2.0 * range; };
    double step = RAY_STEP;
    while (within(t + step) && above(t + step)) t += step;
    while (step > RAY_RESOLUTION) {
        step /= 2;
        if (within(t + step) && above(t + step)) t += step;
    }
    // Stopped by the range with the ground still below: nothing met.
    const double past = t + 2 * RAY_RESOLUTION;
    return within(past) && !above(past) ? int32_t(t) : range;
}

void update_targeting_pod() {
    if (!player_position) return;
    const bool lost = designated_target.kind != TARGET_NONE && target_lost(designated_target);
    if (radar_air_mode) {
        pod_point_valid = 0;
        if (focused_on_pod_page()) designated_target.kind = TARGET_NONE;
    }
    if (pod_track_mode && (!radar_on || !radar_air_mode) && !has_failure(FAIL_LASER) && focused_on_pod_page() &&
        (designated_target.kind == TARGET_NONE || pod_step_request || lost ||
         get_target_domain(&designated_target) != TARGET_DOMAIN_GROUND))
        update_pod_track(0);
    if (flight_data.altitude >= POD_MAX_ALTITUDE) {
        designated_target.kind = TARGET_NONE;
        pod_point_valid = 0;
    }
    if (view_mode != VIEW_COCKPIT && pod_page_shown() && pod_point_valid && designated_target.kind != TARGET_NONE) {
        const Vector3 p = target_ground_position(designated_target);
        pod_point_x = p.x;
        pod_point_y = p.y;
    }
}

void update_pod_track(int step_request) {
    if (step_request) pod_step_request = step_request;
    if (!player_position) return;
    check_pod_target();
    if (pod_target.kind == TARGET_NONE)
        if (const Target* first = first_lased_contact()) pod_target = *first;
    if (pod_step_request == 1 || pod_step_request == 2) {
        if (const Target* next = step_lased_contact(pod_step_request)) pod_target = *next;
        pod_step_request = 0;
    }
    if (pod_target.kind != TARGET_NONE)
        copy_into_designation(pod_target);
    else
        choose_from_contacts();
    if (!is_auto_target_on()) follow_best_target = 0;
    pod_step_request = 0;
}

int get_pod_track_mode() { return pod_track_mode; }

void set_pod_track_mode(int on) {
    pod_zoom = 1;
    if (is_laser_guided_bomb(selected_weapon)) {
        if (!on && pod_track_mode && designated_target.kind != TARGET_NONE) pod_slaved = 1;
        if (on && designated_target.kind == TARGET_NONE) update_pod_track(0);
        pod_track_mode = on ? 1 : 0;
    } else {
        pod_track_mode = 1;
        pod_slaved = 0;
    }
}

int get_pod_on_point() { return pod_on_point; }

void set_pod_slave_target(int flag) {
    if (!pod_track_mode) pod_slaved = flag;
}

void clear_pod_point() { pod_point_valid = 0; }

int get_designated_ground_point(Vector3& out) {
    if (has_failure(FAIL_LASER)) return 0;
    if (pod_page_shown()) {
        if (!pod_point_valid) return 0;
        out = {pod_point_x, pod_point_y, get_ground_height(pod_point_x, pod_point_y)};
        return 1;
    }
    if (designated_target.kind == TARGET_NONE || !has_targeting_pod() ||
        get_target_domain(&designated_target) != TARGET_DOMAIN_GROUND)
        return 0;
    const Vector3 p = target_ground_position(designated_target);
    out = {p.x, p.y, get_ground_height(p.x, p.y)};
    return 1;
}

}  // namespace vyr
