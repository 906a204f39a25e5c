#include "source/avionics/hud_aiming.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/maths/matrix.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/maths/vector.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/hud.h"
#include "source/avionics/hud_scales.h"
#include "source/avionics/mfd.h"
#include "source/avionics/pod_pages.h"
#include "source/avionics/targeting_pod.h"
#include "source/drone/user_drone.h"
#include "source/models/flight_model.h"
#include "source/models/intercept.h"
#include "source/radar/radar.h"
#include "source/weapons/bomb_sight.h"
#include "source/weapons/release.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/target.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/avionics/hud_aiming";
constexpr int32_t TEN_MILES = 0xED5800;
constexpr int32_t GUN_RING_REACH = 0x2EE000;  // 12,000 ft
constexpr int LIFT = HUD_TEXT_LIFT;

int32_t u(double value) { return hud_units(value); }
double units_to_hud(int64_t v) { return double(v) / HUD_ONE; }

const HudPoint BORESIGHT = {0, hud_units(-0.09)};
const HudPoint RETICLE = {0, hud_units(-0.13)};

const WeaponInfo* weapon() { return selected_weapon ? &weapon_info[selected_weapon] : nullptr; }
bool has_target() { return designated_target.kind != TARGET_NONE; }
bool target_in_range() { return has_target() && get_in_range_cue(); }
const Vector3& own_position() { return player_position->position; }
// The aircraft's speed in world units a second.
int32_t own_speed() { return flight_data.airspeed * KNOT; }

// Only asked with something designated.
Vector3 designated_position() { return target_position(&designated_target); }
int32_t target_distance() {
    const Vector3 at = designated_position(), &own = own_position();
    return measure_distance_3d(at.x - own.x, at.y - own.y, at.z - own.z);
}
int32_t target_feet() { return has_target() ? target_distance() >> 8 : 0; }

// The weapon's reach in feet: the least, and the most with the aircraft's own run along it.
int32_t min_range_feet(const WeaponInfo& w) { return (w.min_range + own_speed()) / 256; }
int32_t max_range_feet(const WeaponInfo& w, double share = 1.0) {
    return int32_t(share * (w.max_range + int64_t(own_speed() / 256) * (w.motor_burn_time / 200)) / 256);
}

HudPoint offset_to_hud(const Vector3& at) {
    const Vector3& own = own_position();
    return hud_point_of_direction({at.x - own.x, at.y - own.y, at.z - own.z});
}

bool inside_field(HudPoint p) { return std::abs(p.x) <= HUD_ONE && std::abs(p.y) <= u(0.8); }

// Onto the field's edge along the line from the HUD origin: a side edge when that line is within
// 39 degrees of the horizontal, else the top or bottom.
HudPoint clamp_to_hud_border(HudPoint p) {
    if (inside_field(p)) return p;
    const double x = units_to_hud(p.x), y = units_to_hud(p.y);
    if (std::abs(y) <= std::abs(x) * std::tan(39 * M_PI / 180))
        return {x > 0 ? HUD_ONE : -HUD_ONE, int32_t(y / std::abs(x) * HUD_ONE)};
    return {int32_t(x / std::abs(y) * u(0.8)), y > 0 ? u(0.8) : -u(0.8)};
}

HudPoint target_point() {
    HudPoint p = RETICLE;
    project_target_to_hud(p);
    return p;
}

void draw_square(HudPoint c, double half) {
    hud_line_at(c, -half, -half, half, -half);
    hud_line_at(c, half, -half, half, half);
    hud_line_at(c, half, half, -half, half);
    hud_line_at(c, -half, half, -half, -half);
}
void draw_diagonal_cross(HudPoint c, double corner) {
    hud_line_at(c, -corner, -corner, corner, corner);
    hud_line_at(c, -corner, corner, corner, -corner);
}
void draw_cross(HudPoint c) {
    hud_line_at(c, 0.03, 0, 0.2, 0);
    hud_line_at(c, -0.03, 0, -0.2, 0);
    hud_line_at(c, 0, 0.03, 0, 0.2);
    hud_line_at(c, 0, -0.03, 0, -0.2);
}
// A point `radius` from `centre` at `degrees` clockwise from straight up.
HudPoint on_circle(HudPoint centre, double radius, double degrees) {
    const double a = degrees * M_PI / 180;
    return {centre.x + int32_t(radius * std::sin(a) * HUD_ONE), centre.y + int32_t(radius * std::cos(a) * HUD_ONE)};
}
void draw_pipper(HudPoint c) {
    hud_circle(c.x, c.y, u(0.03));
    hud_point(c.x, c.y);
}
void text_at(double x, double y, const char* text) { hud_text(u(x), u(y), text, 0, 0, LIFT); }

void draw_target_box() {
    if (!has_target()) return;
    const HudPoint p = target_point();
    if (inside_field(p)) {
        draw_square(p, 0.075);
        return;
    }
    const HudPoint c = clamp_to_hud_border(p);
    draw_square(c, 0.075);
    draw_diagonal_cross(c, 0.1125);
    const double dx = units_to_hud(c.x - BORESIGHT.x), dy = units_to_hud(c.y - BORESIGHT.y);
    const double length = std::hypot(dx, dy);
    if (length <= 0.08) return;
    hud_line(BORESIGHT.x + int32_t(dx / length * 0.08 * HUD_ONE), BORESIGHT.y + int32_t(dy / length * 0.08 * HUD_ONE), c.x, c.y);
}

void draw_bomb_target_box() {
    if (has_target()) draw_square(clamp_to_hud_border(target_point()), 0.075);
}

void draw_lock_cue() {
    HudPoint c = RETICLE;
    if (target_in_range()) {
        c = clamp_to_hud_border(target_point());
        text_at(-0.85, 0.7, "LOCK");
    }
    hud_line_at(c, 0, 0.1, 0.1, 0);
    hud_line_at(c, 0.1, 0, 0, -0.1);
    hud_line_at(c, 0, -0.1, -0.1, 0);
    hud_line_at(c, -0.1, 0, 0, 0.1);
}

void draw_target_range() {
    char text[16];
    const int64_t tenths = has_target() ? int64_t(target_distance()) * 10 / HUD_NAUTICAL_MILE : 0;
    std::snprintf(text, sizeof text, "%d", int(tenths / 10));
    hud_text(u(0.55), u(-0.55), text, 0, 0, LIFT);
    const int whole_width = get_text_width(text);
    hud_text(u(0.55), u(-0.55), ".", 0, whole_width - 2, LIFT);
    std::snprintf(text, sizeof text, "%d", int(tenths % 10));
    hud_text(u(0.55), u(-0.55), text, 0, whole_width + get_text_width(".") - 4, LIFT);
}

// The target's closing speed in knots along the line of sight given.
void draw_closure_rate(const Vector3& line_of_sight) {
    int32_t knots = 0;
    if (has_target()) {
        Vector3 los = line_of_sight;
        normalize_vector(los);
        const Vector3& v = designated_target.vector;
        const int64_t along = (int64_t(v.x) * los.x + int64_t(v.y) * los.y + int64_t(v.z) * los.z) / 0x80000000LL;
        knots = int32_t(along / KNOT);
    }
    char text[16];
    std::snprintf(text, sizeof text, knots > 0 ? "+%dK" : "%dK", knots);
    text_at(0.55, -0.65, text);
}

Vector3 line_of_sight_to_target() {
    const Vector3 at = designated_position(), &own = own_position();
    return {at.x - own.x, at.y - own.y, at.z - own.z};
}

uint32_t heading_of_target_drone() {
    if (designated_target.kind != TARGET_MOBILE) return uint32_t(flight_data.heading);
    Vector3 direction;
    get_target_direction(&designated_target, direction);
    return compute_bearing(direction.x, direction.y);
}

void draw_missile_reticle() {
    HudPoint centre;
    double radius;
    switch (hud_mode) {
    case HUD_SRM: {
        centre = {0, u(0.27)};
        radius = 0.2;
        hud_circle(centre.x, centre.y, u(radius));
        for (double degrees : {0.0, 90.0, 180.0, 270.0}) {
            const HudPoint a = on_circle(centre, radius, degrees), b = on_circle(centre, radius + 0.03, degrees);
            hud_line(a.x, a.y, b.x, b.y);
        }
        if (const WeaponInfo* w = weapon()) {
            hud_line_at(centre, 0, radius, 0, radius - 0.03);
            const int32_t rmin = min_range_feet(*w), rmax = max_range_feet(*w, 0.67);
            const int32_t arc = rmax == rmin ? 0
                                             : std::clamp(int32_t(std::lround(90.0 * (target_feet() - rmin) / (rmax - rmin))), 0, 359);
            double last = 3;
            for (int degrees = 3; degrees <= 3 * (arc / 3 + 1); degrees += 3) {
                const HudPoint dot = on_circle(centre, 0.17, degrees);
                hud_point(dot.x, dot.y);
                last = degrees;
            }
            const HudPoint a = on_circle(centre, 0.17, last), b = on_circle(centre, radius, last);
            hud_line(a.x, a.y, b.x, b.y);
        }
        break;
    }
    case HUD_MRM:
        centre = {0, u(-0.03)};
        radius = 0.6;
        hud_circle(centre.x, centre.y, u(radius));
        break;
    default: report_fatal_error("None-missile hud mode attempting to use missile reticle", SOURCE, __LINE__); return;
    }
    // The aspect pointer: how the target flies across the player's heading.
    const uint32_t turn = has_target() ? uint32_t(flight_data.heading) - heading_of_target_drone() : 0;
    const HudPoint apex = rotate_hud_point({centre.x, centre.y - u(radius)}, centre, turn);
    const HudPoint left = rotate_hud_point({centre.x - u(0.03), centre.y - u(radius + 0.05)}, centre, turn);
    const HudPoint right = rotate_hud_point({centre.x + u(0.03), centre.y - u(radius + 0.05)}, centre, turn);
    hud_fill_triangle(apex, left, right);
    draw_velocity_vector();
    draw_target_range();
    draw_closure_rate(has_target() ? line_of_sight_to_target() : Vector3{});
}

bool ten_mile_scale_weapon() {
    switch (selected_weapon) {
    case WEAPON_AGM_65E:
    case WEAPON_AGM_65G:
    case WEAPON_GBU_12:
    case WEAPON_GBU_16:
    case WEAPON_GBU_10:
    case WEAPON_AGM_88A: return true;
    default: return false;
    }
}

// The radar holds a lock while it is on with something designated.
bool radar_locked() { return radar_on && has_target(); }

void draw_missile_range_scale() {
    HudPoint o;
    switch (hud_mode) {
    case HUD_SRM:
    case HUD_STRAFE:
    case HUD_EO:
    case HUD_ARM: o = {u(0.5), u(-0.1)}; break;
    case HUD_MRM: o = {u(0.35), u(-0.1)}; break;
    default: report_fatal_error("None-missile hud mode attempting to use missile range scale", SOURCE, __LINE__); return;
    }
    const int32_t range = radar_locked() ? (radar_air_mode ? air_range : ground_range) : ten_mile_scale_weapon() ? TEN_MILES : 0;
    char text[16];
    std::snprintf(text, sizeof text, "%i", range / HUD_NAUTICAL_MILE);
    hud_text(o.x, u(0.3), text, 0, 0, LIFT);
    const int32_t range_feet = range / 256;
    // A value in feet as a height on the scale; with no range the scale shows its frame alone.
    auto height = [&](int32_t feet) { return range_feet ? std::clamp(0.3 * feet / range_feet, 0.0, 0.3) : 0.3; };
    hud_line_at(o, 0, 0.35, 0.09, 0.35);
    hud_line_at(o, 0, -0.05, 0.09, -0.05);
    const WeaponInfo* w = weapon();
    const int32_t rmin = w ? min_range_feet(*w) : 0, rmax = w ? max_range_feet(*w) : 0;
    const double top = height(rmax - rmin);
    hud_line_at(o, 0, 0, 0, top);
    hud_line_at(o, 0, 0, 0.09, 0);
    hud_line_at(o, 0, top, 0.09, top);
    if (!range_feet) return;
    if (hud_mode == HUD_SRM || hud_mode == HUD_MRM) {
        const double b0 = height(rmin), b1 = height(rmax / 2 - rmin);
        hud_line_at(o, 0, b1, 0.07, b1);
        hud_line_at(o, 0.07, b1, 0.07, b0);
        hud_line_at(o, 0.07, b0, 0, b0);
    }
    if (!has_target()) return;
    const double c = height(target_feet() - rmin);
    hud_line_at(o, -0.07, c + 0.03, 0, c);
    hud_line_at(o, -0.07, c - 0.03, 0, c);
}

void draw_time_to_impact() {
    HudPoint at;
    switch (hud_mode) {
    case HUD_SRM:
    case HUD_STRAFE:
    case HUD_EO:
    case HUD_ARM: at = {u(0.5), u(-0.17)}; break;
    case HUD_MRM: at = {u(0.35), u(-0.17)}; break;
    default: report_fatal_error("Unknown missile type for time to impact", SOURCE, __LINE__); return;
    }
    const WeaponInfo* w = weapon();
    if (!w || !target_in_range() || w->top_speed <= 0) {
        hud_text(at.x, at.y, "--", 0, 0, LIFT);
        return;
    }
    int32_t distance = target_distance();
    if (const WeaponRound* round = get_last_gun_round(); round && round->weapon_id && (round->flags & ROUND_LIVE)) {
        const Vector3 target = designated_position();
        const Vector3& p = round->pose.position;
        distance = measure_distance_3d(target.x - p.x, target.y - p.y, target.z - p.z);
    }
    char text[16];
    std::snprintf(text, sizeof text, "%d", distance / w->top_speed);
    hud_text(at.x, at.y, text, 0, 0, LIFT);
}

void draw_target_cross() { draw_cross(target_in_range() ? clamp_to_hud_border(target_point()) : RETICLE); }

void draw_eo_seeker_cross() {
    const int left = get_left_mfd_page(), right = get_right_mfd_page();
    HudPoint centre = RETICLE;
    if (left == MFD_POD || right == MFD_POD || ((left == MFD_MAVERICK || right == MFD_MAVERICK) && has_target())) {
        if (!get_pod_track_mode() || target_in_range()) centre = clamp_to_hud_border(offset_to_hud(pod_look_point));
    } else if (target_in_range() && (has_targeting_pod() || selected_weapon != WEAPON_AGM_65E)) {
        Vector3 ground = designated_position();
        ground.z = get_ground_height(ground.x, ground.y);
        centre = clamp_to_hud_border(offset_to_hud(ground));
    }
    draw_cross(centre);
}

void draw_strafe_range_cue(HudPoint pipper) {
    const WeaponInfo* w = weapon();
    if (!has_target() || !w) return;
    const int32_t d = target_feet();
    int32_t rmin = min_range_feet(*w);
    const int32_t rmax = max_range_feet(*w);
    if (d <= rmin) {
        hud_line(HUD_ONE, u(0.8), -HUD_ONE, u(-0.8));
        hud_line(-HUD_ONE, u(0.8), HUD_ONE, u(-0.8));
        rmin = d;
    }
    const int64_t k = rmax == rmin ? 0 : 0x33333 / (rmax - rmin);
    const int32_t h = int32_t(std::clamp<int64_t>((d - rmin) * k, u(0.03), u(0.2)));
    hud_line(pipper.x - u(0.05), pipper.y + h, pipper.x + u(0.05), pipper.y + h);
}

void draw_strafe_pipper() {
    if (has_target()) draw_target_range();
    const Pose& pose = *player_position;
    const WeaponInfo* w = weapon();
    HudPoint pipper = {0, u(-0.8)};
    // A nose at or above the horizon never meets the ground: no pipper on the glass.
    if (w && flight_data.airspeed > 0 && pose.matrix[1][2] >= 0) pipper = {0, 2 * -HUD_ONE};
    if (w && flight_data.airspeed > 0 && pose.matrix[1][2] < 0) {
        // Where the line along the nose, run out by the muzzle speed, meets the plane z = 0.
        const double forward_z = pose.matrix[1][2] / 2147483648.0;
        const double run = -double(pose.position.z) / forward_z;
        const Vector3 ground = {int32_t(pose.position.x + run * pose.matrix[1][0] / 2147483648.0),
                                int32_t(pose.position.y + run * pose.matrix[1][1] / 2147483648.0), 0};
        if (ground.x != pose.position.x || ground.y != pose.position.y) pipper = offset_to_hud(ground);
    }
    if (!inside_field(pipper)) {
        draw_diagonal_cross(BORESIGHT, 0.03);
        pipper = BORESIGHT;
    }
    draw_pipper(pipper);
    draw_strafe_range_cue(pipper);
    draw_velocity_vector();
}

void draw_release_cue(HudPoint at) {
    const Vector3& own = own_position();
    Vector3 velocity;
    player_model_velocity(velocity);
    const Vector3 ahead = {own.x + 2 * velocity.x, own.y + 2 * velocity.y, own.z + 2 * velocity.z};
    const int64_t ground = get_ground_height(ahead.x, ahead.y);
    const int64_t blast = weapon() ? weapon()->blast_radius : 0;
    int64_t y = at.y - u(0.03) + 2 * (blast + ground - ahead.z);
    y = std::clamp<int64_t>(std::max<int64_t>(y, at.y - u(0.6)), -u(0.8), u(0.8));
    const HudPoint c = {std::clamp(at.x, -HUD_ONE, HUD_ONE), int32_t(y)};
    hud_line_at(c, -0.1, 0, 0.1, 0);
    hud_line_at(c, -0.1, 0, -0.1, 0.025);
    hud_line_at(c, 0.1, 0, 0.1, 0.025);
}

void predict_impact(Vector3& out) {
    switch (selected_weapon) {
    case WEAPON_CBU_87B:
    case WEAPON_CBU_89B: predict_cluster_bomb_impact(out); break;
    case WEAPON_CBU15: predict_dur_impact(out); break;
    default: predict_bomb_impact(out);
    }
}

// The impact point on the HUD, (0, -0.8) when it lies straight below.
HudPoint impact_point_on_hud() {
    Vector3 impact;
    predict_impact(impact);
    if (impact.x == own_position().x && impact.y == own_position().y) return {0, u(-0.8)};
    return offset_to_hud(impact);
}

void draw_ccip_pipper() {
    const HudPoint unclamped = impact_point_on_hud();
    HudPoint c = unclamped;
    if (!inside_field(c)) {
        c = clamp_to_hud_border(c);
        draw_diagonal_cross(c, 0.03);
    }
    draw_pipper(c);
    draw_velocity_vector();
    HudPoint v;
    get_velocity_vector(v.x, v.y);
    const double dx = units_to_hud(c.x - v.x), dy = units_to_hud(c.y - v.y), length = std::hypot(dx, dy);
    const double ux = length > 0 ? dx / length : 0, uy = length > 0 ? dy / length : -1;
    const HudPoint end = {c.x - int32_t(0.03 * ux * HUD_ONE), c.y - int32_t(0.03 * uy * HUD_ONE)};
    if (std::hypot(units_to_hud(unclamped.x - v.x), units_to_hud(unclamped.y - v.y)) > 0.05)
        hud_line(v.x + int32_t(0.02 * ux * HUD_ONE), v.y + int32_t(0.02 * uy * HUD_ONE), end.x, end.y);
    draw_release_cue(end);
}

void draw_release_time(int32_t ticks) {
    char text[8];
    format_hud_time(ticks, text);
    text_at(0.55, -0.65, text);
}

void draw_bomb_steering() {
    if (hud_mode != HUD_CCIP && hud_mode != HUD_LOFT) {
        report_fatal_error("Non-bomb hud mode using bomb steering line!", SOURCE, __LINE__);
        return;
    }
    if (!has_target()) return;
    // A lofted bomb has no solution on an air target: nothing is drawn.
    if (hud_mode == HUD_LOFT && get_target_domain(&designated_target) != TARGET_DOMAIN_GROUND) return;
    uint32_t track = flight_data.heading;
    if (flight_data.airspeed > 0) {
        const Pose& pose = *player_position;
        Vector3 velocity;
        player_model_velocity(velocity);
        uint32_t relative, unused;
        compute_relative_angles({velocity.x, velocity.y, 0}, {pose.matrix[1][0], pose.matrix[1][1], 0}, relative, unused);
        track += relative;
    }
    const Vector3 at = designated_position(), &own = own_position();
    const double off = hud_degrees(int32_t(compute_bearing(at.x - own.x, at.y - own.y) - track));
    HudPoint v;
    get_velocity_vector(v.x, v.y);
    const double per_degree = hud_mode == HUD_CCIP ? 0.05 : 0.2;
    const int32_t x = std::clamp(v.x + int32_t(off * per_degree * HUD_ONE), -HUD_ONE, HUD_ONE);
    hud_line(x, u(0.8), x, u(-0.8));
    int32_t ticks;
    if (hud_mode == HUD_CCIP) {
        const int32_t py = impact_point_on_hud().y;
        hud_line(x - u(0.06), py, x + u(0.06), py);
        if (selected_weapon == WEAPON_CBU_87B || selected_weapon == WEAPON_CBU_89B) compute_cluster_release_time(ticks);
        else compute_bomb_release_time(ticks);
        draw_release_time(ticks);
        draw_release_cue({x, py});
        return;
    }
    int32_t loft_ticks;
    const double r = compute_loft_release(loft_ticks);
    const double t = r / 30;
    auto held = [](double y) { return std::clamp(int32_t(y * HUD_ONE), -u(0.8), u(0.8)); };
    const double vy = units_to_hud(v.y);
    if (t > 0) {
        hud_line(x - u(0.06), held(vy + t + 0.02), x + u(0.06), held(vy + t + 0.02));
        hud_line(x - u(0.2), held(vy - t - 0.02), x + u(0.2), held(vy - t - 0.02));
    } else {
        const double tb = compute_bomb_release_time(ticks) / 30;
        const double bar = vy - 0.02 + (-4 * r - hud_degrees(flight_data.pitch)) / 10;
        hud_line(x - u(0.06), held(vy + tb + 0.02), x + u(0.06), held(vy + tb + 0.02));
        hud_line(x - u(0.2), held(bar), x + u(0.2), held(bar));
    }
    if (std::lround(r) > 0) ticks = loft_ticks;
    else compute_bomb_release_time(ticks);
    draw_release_time(ticks);
}

void draw_eegs_range_ring() {
    if (!has_target()) return;
    const HudPoint c = clamp_to_hud_border(target_point());
    const int32_t distance = target_distance();
    const double extent = weapon() && distance < GUN_RING_REACH ? double(distance) / GUN_RING_REACH * 360 : 359;
    const int n = int(extent) / 5;
    for (int i = 1; i <= n + 1; ++i) {
        const HudPoint dot = on_circle(c, 0.1, 5 * i);
        hud_point(dot.x, dot.y);
    }
    if (weapon()) {
        const HudPoint a = on_circle(c, 0.1, 5 * (n + 1)), b = on_circle(c, 0.08, 5 * (n + 1));
        hud_line(a.x, a.y, b.x, b.y);
        const HudPoint mark = on_circle(c, 0.12, 90);
        hud_circle(mark.x, mark.y, u(0.01));
        hud_point(mark.x, mark.y);
    }
    draw_closure_rate(designated_target.offset);
    draw_target_range();
}

// The funnel's half-width at its six samples, 0.415 at the boresight closing to 0.015.
constexpr double FUNNEL_DEGREES[] = {0, 20, 40, 60, 80, 89};
double funnel_half_width(double degrees) { return 0.415 - 0.4 * std::sin(degrees * M_PI / 180); }

// Where the gun's rounds would meet the designated air target, as a HUD point.
HudPoint gun_lead_point(const WeaponInfo& w) {
    const Pose& pose = *player_position;
    const Vector3 target = designated_position(), &own = pose.position;
    Vector3 los = {target.x - own.x, target.y - own.y, target.z - own.z};
    normalize_vector(los);
    Vector3 own_velocity, target_direction;
    player_model_velocity(own_velocity);
    get_target_direction(&designated_target, target_direction);
    const int64_t speed = get_target_speed(&designated_target);
    const int64_t closing =
        ((own_velocity.x - speed * target_direction.x / 0x80000000LL) * los.x +
         (own_velocity.y - speed * target_direction.y / 0x80000000LL) * los.y +
         (own_velocity.z - speed * target_direction.z / 0x80000000LL) * los.z) / 0x80000000LL;
    const Vector3 target_velocity = {int32_t(speed * target_direction.x / 0x80000000LL),
                                     int32_t(speed * target_direction.y / 0x80000000LL),
                                     int32_t(speed * target_direction.z / 0x80000000LL)};
    Vector3 meet;
    intercept_point(own, int32_t(w.top_speed + closing), target, target_velocity, 0x7FFFFFFF, INTERCEPT_CLOSED_FORM, meet);
    const int32_t s = estimate_distance_3d(meet.x - own.x, meet.y - own.y, meet.z - own.z);
    const int64_t muzzle = w.launch_speed + closing;
    const int64_t ticks = muzzle > 0 ? int64_t(s) * 200 / muzzle : 0;
    const Pose& gun = get_launch_viewpoint(selected_weapon);
    const int64_t drop_rate = int64_t(gun.matrix[1][2] - pose.matrix[1][2]) * w.launch_speed / 0x80000000LL;
    const int64_t drop = drop_rate * ticks / 200;
    const Vector3 q = {int32_t(own.x + int64_t(s) * pose.matrix[1][0] / 0x80000000LL + target.x - meet.x),
                       int32_t(own.y + int64_t(s) * pose.matrix[1][1] / 0x80000000LL + target.y - meet.y),
                       int32_t(own.z + int64_t(s) * pose.matrix[1][2] / 0x80000000LL + target.z - meet.z + drop)};
    return offset_to_hud(q);
}

void draw_gun_funnel() {
    const WeaponInfo* w = weapon();
    HudPoint q = BORESIGHT;
    const bool converging = w && has_target() && designated_target.kind != TARGET_GROUND_OBJECT;
    if (converging) q = gun_lead_point(*w);
    HudPoint sides[2][6];
    const double dx = units_to_hud(q.x - BORESIGHT.x), dy = units_to_hud(q.y - BORESIGHT.y);
    const double length = std::hypot(dx, dy);
    // Square to the line from the boresight to the lead point; flat along x without one.
    const double nx = length > 0 ? -dy / length : 1, ny = length > 0 ? dx / length : 0;
    for (int i = 0; i < 6; ++i) {
        const double f = FUNNEL_DEGREES[i] / 89, w_i = funnel_half_width(FUNNEL_DEGREES[i]);
        const double cx = units_to_hud(BORESIGHT.x) + dx * f, cy = units_to_hud(BORESIGHT.y) + dy * f;
        for (int side = 0; side < 2; ++side) {
            const double s = side ? 1 : -1;
            sides[side][i] = {int32_t((cx + s * w_i * nx) * HUD_ONE), int32_t((cy + s * w_i * ny) * HUD_ONE)};
        }
    }
    for (const auto& side : sides)
        for (int i = 0; i < 5; ++i) hud_line(side[i].x, side[i].y, side[i + 1].x, side[i + 1].y);
}

// The flight symbols every weapon mode begins with.
void draw_weapon_flight_symbols(bool ladder) {
    draw_steerpoint_distance();
    draw_radar_altitude();
    draw_steerpoint_caret();
    draw_boresight_cross();
    if (ladder) draw_pitch_ladder();
    draw_heading_tape();
    draw_weapon_status();
}

}  // namespace

void draw_weapon_elements() {
    const bool gun = selected_weapon == WEAPON_GUN || selected_weapon == WEAPON_GEPOD;
    switch (hud_mode) {
    case HUD_STRAFE:
        draw_weapon_flight_symbols(true);
        draw_bomb_target_box();
        draw_strafe_pipper();
        if (!gun && has_target()) {
            draw_missile_range_scale();
            draw_time_to_impact();
            draw_target_cross();
        }
        break;
    case HUD_CCIP:
        draw_weapon_flight_symbols(true);
        draw_velocity_vector();
        if (get_bomb_delivery_mode() == 0) draw_ccip_pipper();
        else if (get_bomb_delivery_mode() == 1 && has_target()) draw_bomb_steering();
        if (has_target() && selected_weapon != WEAPON_CBU15) {
            draw_bomb_target_box();
            draw_target_range();
        }
        break;
    case HUD_LOFT:
        draw_weapon_flight_symbols(true);
        draw_velocity_vector();
        if (get_bomb_delivery_mode() >= 2 && has_target()) draw_bomb_steering();
        if (has_target()) {
            draw_bomb_target_box();
            draw_target_range();
        }
        break;
    case HUD_SRM:
    case HUD_MRM:
        draw_steerpoint_distance();
        draw_radar_altitude();
        draw_boresight_cross();
        draw_heading_tape();
        draw_steerpoint_caret();
        draw_target_box();
        draw_missile_reticle();
        draw_weapon_status();
        draw_lock_cue();
        if (weapon() && has_target()) {
            draw_time_to_impact();
            draw_missile_range_scale();
        }
        break;
    case HUD_EO:
        draw_weapon_flight_symbols(true);
        draw_target_box();
        draw_eo_seeker_cross();
        if (selected_weapon != WEAPON_GBU_12 && selected_weapon != WEAPON_GBU_16 && selected_weapon != WEAPON_GBU_10) {
            draw_missile_range_scale();
            draw_time_to_impact();
        }
        draw_target_range();
        draw_steerpoint_time();
        draw_velocity_vector();
        break;
    case HUD_ARM:
        draw_weapon_flight_symbols(false);
        draw_target_box();
        draw_target_cross();
        draw_missile_range_scale();
        draw_time_to_impact();
        draw_target_range();
        draw_steerpoint_time();
        draw_velocity_vector();
        break;
    case HUD_EEGS:
        draw_steerpoint_distance();
        draw_boresight_cross();
        draw_weapon_status();
        draw_eegs_range_ring();
        draw_gun_funnel();
        break;
    default: break;  // the lead-computing, snapshot and dogfight sights keep their captions only
    }
}

}  // namespace vyr
