#include "source/weapons/bomb_sight.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/maths/units.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/drone/user_drone.h"
#include "source/models/flight_model.h"
#include "source/models/intercept.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/weapons/bomb_sight";

constexpr int WEAPON_CBU_15 = WEAPON_CBU15;
constexpr double FREE_FALL_DRAG = 0.9, RETARDED_DRAG = 0.6, GLIDE_DRAG = 0.3;
constexpr int64_t GRAVITY = 8192;           // 32 ft/s2 in units a second squared
constexpr int32_t DISPENSER_OPENING = 102400;  // 400 ft above the ground
constexpr int32_t RELEASE_DROP = 1024;         // a store's first 4 ft below the rack
constexpr double GLIDE_ANGLE = -0.4014257279587222;  // -23 degrees
constexpr int32_t GLIDE_SINK = -429, GLIDE_RUN = 1012;  // 1,100 ft/s along the glide
constexpr double LOFT_ANGLE = 0.7853981633975;
constexpr double EARLIEST_RELEASE = -100.0, LATEST_RELEASE = 3600.0;

int32_t release_cue = 0;

int64_t ft(int64_t units) { return units / 256; }
// The integer root of a value that may come out negative below the ground: taken as 0.
int64_t root(int64_t q) { return q > 0 ? int64_t(std::sqrt(double(q))) : 0; }

Vector3 scaled(const Vector3& v, double k) { return {int32_t(k * v.x), int32_t(k * v.y), int32_t(k * v.z)}; }
int64_t horizontal_speed(const Vector3& v) { return 256 * root(ft(v.y) * ft(v.y) + ft(v.x) * ft(v.x)); }
int64_t travel(int64_t speed, int64_t ticks) { return speed * ticks / TICKS_PER_SECOND; }

Vector3 velocity() {
    Vector3 v;
    player_model_velocity(v);
    return v;
}
const Vector3& aircraft() { return player_object->pose->position; }
bool retarded(int weapon) { return weapon_info[weapon].round_class == ROUND_CLASS_RETARDED_BOMB; }

// The point `distance` ahead along the horizontal track, on the ground below when there is ground.
void impact_point_at(int64_t distance, Vector3& out) {
    const Vector3 v = velocity();
    Vector3 u = {v.x, v.y, 0};
    normalize_vector(u);
    const Vector3& p = aircraft();
    out.x = p.x + round31(uint64_t(distance * u.x));
    out.y = p.y + round31(uint64_t(distance * u.y));
    out.z = flight_data.height_above_ground > 0 ? get_ground_height(out.x, out.y) : p.z;
}

// Seconds until the impact point meets the target along `v`; the cue is left to the caller.
double time_to_target(const Vector3& impact, const Vector3& v, int32_t& ticks, bool& moving) {
    Vector3 target = designated_target.position;
    get_target_position(&designated_target, target);
    const double dx = double(impact.x) - target.x, dy = double(impact.y) - target.y;
    const double b = dx * v.x + dy * v.y, a = dx * dx + dy * dy;
    moving = b != 0;
    if (!moving) {
        ticks = -1;
        return 0.0;
    }
    const double t = std::clamp(-a / b, EARLIEST_RELEASE, LATEST_RELEASE);
    ticks = int32_t(t) * int32_t(TICKS_PER_SECOND);
    return t;
}

void check_ground_designation() {
    if (designated_target.kind == TARGET_NONE || get_target_domain(&designated_target) != TARGET_DOMAIN_GROUND)
        report_fatal_error("Incorrect target type for bomb time to release (CCWR)", SOURCE, __LINE__);
}

// The CCWR from an impact point computed with the drag factor `k`.
double release_time(const Vector3& impact, double k, int32_t& ticks) {
    bool moving = false;
    const double t = time_to_target(impact, scaled(velocity(), k), ticks, moving);
    if (moving) release_cue = t <= 0 ? 1 : 0;
    return t;
}

}  // namespace

int32_t compute_fall_ticks(int32_t z, int32_t vz) {
    const int64_t a = ft(z), w = ft(vz);
    if (vz > 0) {
        const int64_t climb = std::llabs(int64_t(vz) * TICKS_PER_SECOND / GRAVITY);
        const int64_t apex = (a + w * w / 64) * 256 / 4096;
        return int32_t(int64_t(std::sqrt(double(std::max<int64_t>(apex, 0))) * 200.0) + climb);
    }
    const int64_t s = root(64 * a + w * w);
    return int32_t((256 * s + vz) * TICKS_PER_SECOND / GRAVITY);
}

void predict_bomb_impact(Vector3& out) {
    const Vector3 v = velocity();
    const int32_t z0 = aircraft().z;
    int64_t distance = 0;
    if (selected_weapon == WEAPON_CBU_15) {
        const Vector3 first = scaled(v, FREE_FALL_DRAG), second = scaled(v, RETARDED_DRAG);
        distance = travel(horizontal_speed(second), compute_fall_ticks(z0 + first.z - RELEASE_DROP, second.z)) +
                   int64_t(0.5 * double(horizontal_speed(first)));
    } else {
        const Vector3 falling = scaled(v, retarded(selected_weapon) ? RETARDED_DRAG : FREE_FALL_DRAG);
        distance = travel(horizontal_speed(falling), compute_fall_ticks(z0, falling.z));
    }
    impact_point_at(distance, out);
}

void predict_cluster_bomb_impact(Vector3& out) {
    const Vector3 first = scaled(velocity(), FREE_FALL_DRAG);
    const int64_t h1 = horizontal_speed(first), h2 = int64_t(0.6 * double(h1));
    const int64_t agl = flight_data.height_above_ground;
    int64_t distance = 0;
    if (agl > DISPENSER_OPENING) {
        const int64_t a = ft(agl - DISPENSER_OPENING), w = ft(first.z);
        int64_t t1 = 0, opening_speed = 0;
        if (first.z > 0) {
            t1 = compute_fall_ticks(int32_t(agl - DISPENSER_OPENING), first.z);
            opening_speed = 256 * root(64 * (a + w * w / 64));
        } else {
            const int64_t s = root(64 * a + w * w);
            t1 = (256 * s + first.z) * TICKS_PER_SECOND / GRAVITY;
            opening_speed = 256 * s;
        }
        const int64_t vz2 = int64_t(-0.6 * double(opening_speed + 4096));
        const int64_t h2_start = DISPENSER_OPENING + int64_t(-0.5 * double(opening_speed) - 1024);
        const int64_t s2 = root(64 * ft(h2_start) + ft(vz2) * ft(vz2));
        const int64_t t2 = (256 * s2 + vz2) * TICKS_PER_SECOND / GRAVITY;
        distance = travel(h1, t1) + travel(h2, t2) + int64_t(0.5 * double(h1));
    } else {
        const int64_t start = int64_t(double(agl) + first.z - 4096 + 0.45 * (first.z - 8192) - 1024);
        const int32_t vz2 = int32_t(0.6 * (first.z - 8192));
        distance = travel(h2, compute_fall_ticks(int32_t(start), vz2)) + int64_t(double(h1) + 0.45 * double(h1));
    }
    impact_point_at(distance, out);
}

void predict_dur_impact(Vector3& out) {
    const Vector3 v = velocity();
    const double hft = double(root(ft(v.x) * ft(v.x) + ft(v.y) * ft(v.y)));
    // Release, 0.5 s at 0.9; opening, 0.5 s at 0.6.
    const int64_t hs1 = int64_t(230.4 * hft), vz1 = int64_t(FREE_FALL_DRAG * v.z);
    const int64_t x1 = int64_t(0.5 * double(hs1)), z1 = int64_t(0.5 * double(vz1) - 1024);
    const int64_t hs2 = int64_t(153.6 * hft), vz2 = int64_t(RETARDED_DRAG * v.z);
    const int64_t x2 = int64_t(0.5 * double(hs2)), z2 = int64_t(0.5 * double(vz2) - 1024);
    // The push-over into the glide at 0.3.
    const int64_t hs3 = int64_t(76.8 * hft), vz3 = int64_t(GLIDE_DRAG * v.z);
    const int64_t vg = int64_t(double(hs3) * std::tan(GLIDE_ANGLE));
    const double t3 = -double(vg - vz3) / double(GRAVITY);
    const int64_t z3 = int64_t(double(vz3) * t3 - 4096.0 * t3 * t3), x3 = int64_t(double(hs3) * t3);
    // The glide down to the ground.
    const int64_t hf = ft(int64_t(flight_data.altitude) + z1 + z2 + z3);
    const int64_t r = 2 * hf * GLIDE_SINK + ft(vz3) * ft(vz3);
    const int64_t s = r >= 0 ? int64_t(256 * std::sqrt(double(r))) : -int64_t(256 * std::sqrt(double(-r)));
    const double t4 = double(s - vz3) / (256.0 * GLIDE_SINK);
    const int64_t x4 = int64_t(0.5 * GLIDE_RUN * t4 * t4 * 256 + double(hs3) * t4);
    impact_point_at(x1 + x2 + x3 + x4, out);
}

double compute_bomb_release_time(int32_t& ticks) {
    check_ground_designation();
    Vector3 impact;
    predict_bomb_impact(impact);
    return release_time(impact, retarded(selected_weapon) ? RETARDED_DRAG : FREE_FALL_DRAG, ticks);
}

double compute_bomb_release_time_alt(int32_t& ticks) {
    check_ground_designation();
    Vector3 impact;
    predict_bomb_impact(impact);
    const bool slowed = retarded(selected_weapon) && selected_weapon != WEAPON_CBU_15;
    return release_time(impact, slowed ? RETARDED_DRAG : FREE_FALL_DRAG, ticks);
}

double compute_cluster_release_time(int32_t& ticks) {
    check_ground_designation();
    Vector3 impact;
    predict_cluster_bomb_impact(impact);
    return release_time(impact, FREE_FALL_DRAG, ticks);
}

double compute_loft_release(int32_t& ticks) {
    const Vector3 v = velocity();
    const Vector3 first = scaled(v, FREE_FALL_DRAG);
    const int64_t s = measure_distance_3d(first.x, first.y, first.z);
    const int64_t radius = 256 * std::llabs(ft(s) * ft(s) / 80);
    const int64_t xp = int64_t(double(radius) * std::sin(LOFT_ANGLE));
    const int64_t zp = int64_t(double(radius) - double(radius) * std::cos(LOFT_ANGLE));
    const int64_t xc = int64_t(2.0 * double(s) * std::cos(LOFT_ANGLE));
    const int64_t zc = int64_t(2.0 * double(s) * std::sin(LOFT_ANGLE));
    const Vector3 released = scaled(v, retarded(selected_weapon) ? RETARDED_DRAG : FREE_FALL_DRAG);
    const int32_t vr = int32_t(measure_distance_3d(released.x, released.y, released.z) / std::sqrt(2.0));
    const int64_t fall = compute_fall_ticks(int32_t(aircraft().z + zp + zc), vr);
    Vector3 impact;
    impact_point_at(travel(vr, fall) + xp + xc, impact);
    bool moving = false;
    const double t = time_to_target(impact, v, ticks, moving);
    release_cue = 0;
    return t;
}

int is_release_cue_set() { return release_cue; }

int has_gun_solution() {
    if (has_failure(FAIL_HUD)) return 1;
    if (designated_target.kind == TARGET_NONE || get_target_domain(&designated_target) != TARGET_DOMAIN_AIR) return 0;
    const Vector3& own = aircraft();
    Vector3 target = designated_target.position, heading;
    get_target_position(&designated_target, target);
    get_target_direction(&designated_target, heading);
    const int32_t speed = get_target_speed(&designated_target);
    const Vector3 target_velocity = {mul31(heading.x, speed), mul31(heading.y, speed), mul31(heading.z, speed)};
    Vector3 line = {target.x - own.x, target.y - own.y, target.z - own.z};
    normalize_vector(line);
    const Vector3 v = velocity();
    const Vector3 relative = {v.x - target_velocity.x, v.y - target_velocity.y, v.z - target_velocity.z};
    const int32_t closing = round31(mul64(line.x, relative.x) + mul64(line.y, relative.y) + mul64(line.z, relative.z));
    Vector3 lead;
    intercept_point(own, weapon_info[selected_weapon].top_speed + closing, target, target_velocity, FIXED_ONE,
                    INTERCEPT_CLOSED_FORM, lead);
    const int32_t reach = estimate_distance_3d(lead.x - own.x, lead.y - own.y, lead.z - own.z);
    const int32_t* forward = player_position->matrix[1];
    const Vector3 aim = {own.x + mul31(forward[0], reach), own.y + mul31(forward[1], reach),
                         own.z + mul31(forward[2], reach)};
    const ObjectHeader* header = get_object_header(get_target_object_number(&designated_target));
    const int32_t size = header ? std::max(header->radius, header->height) : 0;
    return measure_distance_3d(aim.x - lead.x, aim.y - lead.y, aim.z - lead.z) <= 3 * int64_t(size) ? 1 : 0;
}

}  // namespace vyr
