#include "source/models/rigid_body.h"

#include <algorithm>
#include <cmath>

namespace vyr {

namespace {

// Beyond this the nose is vertical and heading and roll are undefined.
constexpr double VERTICAL_LIMIT = 0.999999999999;

}  // namespace

Quaternion euler_to_quaternion(double roll, double pitch, double heading) {
    const double cf = std::cos(roll / 2), sf = std::sin(roll / 2);
    const double ct = std::cos(pitch / 2), st = std::sin(pitch / 2);
    const double cp = std::cos(heading / 2), sp = std::sin(heading / 2);
    return {cp * ct * cf + sp * st * sf, cp * ct * sf - sp * st * cf, cp * st * cf + sp * ct * sf,
            sp * ct * cf - cp * st * sf};
}

DirectionCosines quaternion_to_dcm(const Quaternion& e) {
    const double a = e.e0 * e.e0, b = e.e1 * e.e1, c = e.e2 * e.e2, d = e.e3 * e.e3;
    return {{{a + b - c - d, 2 * (e.e1 * e.e2 + e.e0 * e.e3), 2 * (e.e1 * e.e3 - e.e0 * e.e2)},
             {2 * (e.e1 * e.e2 - e.e0 * e.e3), a - b + c - d, 2 * (e.e2 * e.e3 + e.e0 * e.e1)},
             {2 * (e.e1 * e.e3 + e.e0 * e.e2), 2 * (e.e2 * e.e3 - e.e0 * e.e1), a - b - c + d}}};
}

void dcm_to_euler(const DirectionCosines& dcm, double& roll, double& pitch, double& heading) {
    const double (&d)[3][3] = dcm.m;
    // A quaternion a rounding step longer than 1 can put the sine past 1, whose arcsine is NaN.
    const double sine = std::clamp(-d[0][2], -1.0, 1.0);
    pitch = std::asin(sine);
    if (sine < -VERTICAL_LIMIT || sine > VERTICAL_LIMIT) {
        roll = heading = 0.0;
        return;
    }
    const double c = std::cos(pitch);
    heading = std::acos(std::clamp(d[0][0] / c, -1.0, 1.0));
    if (d[0][1] < 0) heading = -heading;
    roll = std::acos(std::clamp(d[2][2] / c, -1.0, 1.0));
    if (d[1][2] < 0) roll = -roll;
}

Vector3d body_to_earth(const DirectionCosines& dcm, const Vector3d& v) {
    const double (&d)[3][3] = dcm.m;
    return {d[0][0] * v.x + d[1][0] * v.y + d[2][0] * v.z, d[0][1] * v.x + d[1][1] * v.y + d[2][1] * v.z,
            d[0][2] * v.x + d[1][2] * v.y + d[2][2] * v.z};
}

Vector3d earth_to_body(const DirectionCosines& dcm, const Vector3d& v) {
    const double (&d)[3][3] = dcm.m;
    return {d[0][0] * v.x + d[0][1] * v.y + d[0][2] * v.z, d[1][0] * v.x + d[1][1] * v.y + d[1][2] * v.z,
            d[2][0] * v.x + d[2][1] * v.y + d[2][2] * v.z};
}

double vector_length(const Vector3d& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

double quaternion_length(const Quaternion& e) {
    return std::sqrt(e.e0 * e.e0 + e.e1 * e.e1 + e.e2 * e.e2 + e.e3 * e.e3);
}

double angle_of(double y, double x) {
    if (x == 0.0) return y > 0.0 ? MODEL_PI / 2 : y < 0.0 ? -MODEL_PI / 2 : 0.0;
    return std::atan2(y, x);
}

}  // namespace vyr
