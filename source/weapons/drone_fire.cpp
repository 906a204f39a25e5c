#include "source/weapons/drone_fire.h"

#include <algorithm>
#include <cstdlib>

#include "library/3dvisual/objects.h"
#include "library/3dvisual/view.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "source/models/intercept.h"
#include "source/weapons/launch.h"
#include "source/weapons/rounds.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/weapons/drone_fire";

constexpr int32_t WORLD_MAX = 0x0FFFFFFF;
constexpr int32_t SAM_FLOOR = 12800;         // 50 ft
constexpr int32_t AAA_NIGHT_FLOOR = 12800;   // 50 ft
constexpr int32_t AAA_DAY_FLOOR = 7680;      // 30 ft
constexpr double MUZZLE_HEIGHT = 0.8;        // of the shooter's model
constexpr int32_t INTERCEPT_PASS_HEIGHT = 12800;
constexpr int MAX_INTERCEPT_PASSES = 3;
constexpr double SEEKER_WIDENING = 0.7;
constexpr int64_t STRAIGHT_UP = 0x40000000;

// The spread by which the launcher's limits widen: none for shells and decoys, 0.7 of it (with
// the limit, truncated) for seekers.
int64_t widened(int64_t limit, int weapon_id, int sign) {
    const WeaponInfo& weapon = weapon_info[weapon_id];
    if (weapon.round_class == ROUND_CLASS_SHELL || weapon.round_class == ROUND_CLASS_DECOY) return limit;
    if (weapon.weapon_flags & WEAPON_FLAG_SEEKER) return int64_t(double(limit) + sign * SEEKER_WIDENING * weapon.spread);
    return limit + sign * int64_t(weapon.spread);
}

// Too low for the kind of weapon: SAMs pass over the lowest flyers, guns see less at night.
bool below_floor(const WeaponInfo& weapon, int32_t z) {
    if (weapon.weapon_kind == WEAPON_KIND_SAM) return z <= SAM_FLOOR;
    if (weapon.weapon_kind == WEAPON_KIND_AAA) return z < (view_settings.darkness != 0 ? AAA_NIGHT_FLOOR : AAA_DAY_FLOOR);
    return false;
}

bool inside_world(const Vector3& p) { return p.x >= 0 && p.x <= WORLD_MAX && p.y >= 0 && p.y <= WORLD_MAX; }

}  // namespace

int launch_drone_weapon(Target* shooter, Target* target, int weapon_id, Drone* drone, WeaponRound*& round) {
    round = nullptr;
    const WeaponInfo& weapon = weapon_info[weapon_id];
    Vector3 src, aim;
    get_target_position(shooter, src);
    get_target_position(target, aim);
    if (below_floor(weapon, aim.z)) return DRONE_SHOT_NOT_NOW;
    const int32_t d = estimate_distance_2d(aim.x - src.x, aim.y - src.y);
    if (d < weapon.min_range || d > weapon.max_range) return DRONE_SHOT_NOT_NOW;
    // A ground shooter stands at z 0: its rounds leave from most of its model's height.
    if (const ObjectHeader* header = get_object_header(get_target_object_number(shooter)))
        src.z = std::max(src.z, int32_t(MUZZLE_HEIGHT * header->height));
    const int passes = std::clamp(src.z / INTERCEPT_PASS_HEIGHT, 1, MAX_INTERCEPT_PASSES);
    Vector3 facing;
    get_target_direction(shooter, facing);
    const bool guided = weapon.round_class == ROUND_CLASS_GUIDED;
    if (!guided) {
        Vector3 direction;
        get_target_direction(target, direction);
        const Vector3 at = aim;
        intercept_point(src, weapon.top_speed, at, direction, get_target_speed(target), passes, aim);
    }
    if (!inside_world(aim) || !has_line_of_sight_between(src, aim, shooter, target)) return DRONE_SHOT_NO_LINE;

    const bool seeker = guided && (weapon.weapon_flags & WEAPON_FLAG_SEEKER);
    Vector3 line;
    if (seeker) {
        const int32_t reach = weapon.guidance_start_distance;
        const Vector3 start = {src.x + mul31(facing.x, reach), src.y + mul31(facing.y, reach),
                               src.z + mul31(facing.z, reach)};
        subtract_vectors(aim, start, line);
    } else {
        subtract_vectors(aim, src, line);
    }
    normalize_vector(line);
    Pose pose = {src, {}};
    build_direction_basis(line, pose.matrix);
    uint32_t h, e;
    compute_relative_angles(line, facing, h, e);
    const int32_t azimuth = drone_azimuth_limit(weapon_id);
    const int64_t heading_off = std::abs(int64_t(int32_t(h)));
    if ((azimuth >= 0 && heading_off > azimuth) || int32_t(e) > drone_max_elevation(weapon_id) ||
        int32_t(e) < drone_min_elevation(weapon_id))
        return DRONE_SHOT_NOT_NOW;
    if (seeker) {
        pose.matrix[1][0] = facing.x;
        pose.matrix[1][1] = facing.y;
        pose.matrix[1][2] = facing.z;
    }

    if (weapon.round_class == ROUND_CLASS_UNGUIDED) {
        round = activate_round(launch_unguided_round(weapon_id, pose, shooter, drone));
    } else if (guided) {
        round = activate_round(launch_guided_round(weapon_id, pose, shooter, shooter, target, drone));
    } else {
        report_fatal_error("Drone %s can't fire at %s with %s, 'cause we don't know how to.", SOURCE, __LINE__,
                           get_target_name(shooter, 0), get_target_name(target, 0), get_weapon_name(weapon_id));
        return DRONE_SHOT_NOT_NOW;
    }
    return round ? DRONE_SHOT_FIRED : DRONE_SHOT_NOT_NOW;
}

int32_t drone_azimuth_limit(int weapon_id) {
    return int32_t(uint32_t(widened(weapon_info[weapon_id].arc_half_width, weapon_id, 1)));
}

int32_t drone_min_elevation(int weapon_id) {
    return int32_t(std::max(widened(weapon_info[weapon_id].arc_min_pitch, weapon_id, -1), -STRAIGHT_UP));
}

int32_t drone_max_elevation(int weapon_id) {
    return int32_t(std::min(widened(weapon_info[weapon_id].arc_max_pitch, weapon_id, 1), STRAIGHT_UP));
}

}  // namespace vyr
