#include "source/weapons/targets.h"

#include <cstdlib>

#include "library/3dvisual/instance.h"
#include "library/maths/trig.h"
#include "library/maths/vector.h"
#include "source/drone/user_drone.h"

namespace vyr {

Target designated_target = {};

int32_t designator_laser_on = 0;

namespace {

constexpr uint32_t PLUS_90 = 0x40000000u, MINUS_90 = 0xc0000000u;
constexpr uint32_t PLUS_30 = 0x15555555u, PLUS_40 = 0x1c71c71cu, MINUS_60 = 0xd5555555u;
constexpr int DEFAULT_TARGET_ORDER[DEFAULT_TARGET_ORDER_LENGTH] = {2, 3, 1, 4, 5, 6, 7, 8, 0};

int32_t designator_tracking_flags[2] = {};

// The angle of side / hypotenuse, or `at_limit` by the side's sign when the root is too coarse to
// show the other side.
uint32_t angle_of(int32_t side, uint64_t hypotenuse, uint32_t positive_limit, uint32_t negative_limit) {
    if (hypotenuse == 0) return 0;
    if (uint64_t(std::llabs(side)) >= hypotenuse) return side >= 0 ? positive_limit : negative_limit;
    const int32_t ratio = int32_t((int64_t(side) << 31) / int64_t(hypotenuse));
    return lookup_arcsin(ratio);
}

uint32_t clamp_angle(uint32_t angle, uint32_t low, uint32_t high) {
    const int32_t a = int32_t(angle);
    if (a < int32_t(low)) return low;
    if (a > int32_t(high)) return high;
    return angle;
}

int32_t rotate_row(const int32_t* row, const Vector3& d) {
    return round31(mul64(row[0], d.x) + mul64(row[1], d.y) + mul64(row[2], d.z));
}

}  // namespace

void reset_designation() {
    designated_target.kind = TARGET_NONE;
    designator_laser_on = 0;
    designator_tracking_flags[0] = designator_tracking_flags[1] = 0;
}

void clear_designation() {
    designated_target.kind = TARGET_NONE;
    designator_tracking_flags[0] = designator_tracking_flags[1] = 0;
}

int is_designator_tracking() { return designator_tracking_flags[0] || designator_tracking_flags[1] ? 1 : 0; }
int is_laser_designating() { return designator_laser_on; }
const int* get_default_target_order() { return DEFAULT_TARGET_ORDER; }

int get_designation_angles(uint32_t& azimuth, uint32_t& elevation) {
    if (designated_target.kind == TARGET_NONE) return 0;
    const Vector3& own = player_object->pose->position;
    const Vector3 d = {designated_target.position.x - own.x, designated_target.position.y - own.y,
                       designated_target.position.z - own.z};
    const Matrix3& m = player_position->matrix;
    const int32_t right = rotate_row(m[0], d), forward = rotate_row(m[1], d), up = rotate_row(m[2], d);
    const uint64_t h = isqrt64(uint64_t(int64_t(right) * right + int64_t(forward) * forward));
    const uint64_t s = isqrt64(h * h + uint64_t(int64_t(up) * up));
    azimuth = clamp_angle(angle_of(right, h, PLUS_90, MINUS_90), MINUS_90, PLUS_90);
    elevation = clamp_angle(angle_of(up, s, PLUS_30, MINUS_60), MINUS_60, PLUS_40);
    return 1;
}

}  // namespace vyr
