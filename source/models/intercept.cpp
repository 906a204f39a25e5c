#include "source/models/intercept.h"

#include <algorithm>
#include <cmath>

#include "library/maths/trig.h"

namespace vyr {

namespace {

constexpr double WORLD_LIMIT = 268435455.0;
constexpr double HEIGHT_LIMIT = 25600000.0;  // 100,000 ft

// Lead time t (1.31 seconds) until the aim point is `distance` away; false when it does not fit
// 32 bits, which includes a speed of 0.
bool lead_time(int32_t distance, int32_t lead_factor, int32_t speed, uint32_t& t) {
    const uint64_t divisor = fixed_magnitude(speed);
    if (divisor == 0) return false;
    const uint64_t quotient = uint64_t(distance) * fixed_magnitude(lead_factor) / divisor;
    if (quotient >= 0xFFFFFFFFu) return false;
    t = uint32_t(quotient);
    return true;
}

// v x t in 1.31, the dropped half rounding up.
int32_t lead_offset(int32_t v, uint32_t t) {
    const __int128 product = __int128(v) * t + (__int128(1) << 30);
    return int32_t(uint32_t(int64_t(product >> 31)));
}

Vector3 iterate_intercept(const Vector3& shooter, int32_t speed, const Vector3& target, const Vector3& velocity,
                          int32_t lead_factor, int steps) {
    Vector3 aim = target;
    for (int i = 0; i < steps; ++i) {
        Vector3 d;
        subtract_vectors(aim, shooter, d);
        const int32_t distance = measure_distance_3d(d.x, d.y, d.z);
        uint32_t t;
        if (!lead_time(distance, lead_factor, speed, t)) return target;
        aim = {int32_t(uint32_t(target.x) + uint32_t(lead_offset(velocity.x, t))),
               int32_t(uint32_t(target.y) + uint32_t(lead_offset(velocity.y, t))),
               int32_t(uint32_t(target.z) + uint32_t(lead_offset(velocity.z, t)))};
    }
    return aim;
}

Vector3 solve_intercept(const Vector3& shooter, int32_t speed, const Vector3& target, const Vector3& velocity,
                        int32_t lead_factor) {
    const double vx = mul31(velocity.x, lead_factor), vy = mul31(velocity.y, lead_factor),
                 vz = mul31(velocity.z, lead_factor);
    const double dx = double(target.x) - shooter.x, dy = double(target.y) - shooter.y,
                 dz = double(target.z) - shooter.z;
    const double b = 2 * (vx * dx + vy * dy + vz * dz);
    const double a = vx * vx + vy * vy + vz * vz - double(speed) * speed;
    const double c = dx * dx + dy * dy + dz * dz;
    if (b * b < 4 * a * c || (a == 0 && b == 0)) return target;
    const double t = a == 0 ? -c / b : (-b - std::sqrt(b * b - 4 * a * c)) / (2 * a);
    if (t < 0) return target;
    auto place = [t](int32_t p, double v, double limit) {
        return int32_t(std::clamp(std::round(p + v * t), 0.0, limit));
    };
    return {place(target.x, vx, WORLD_LIMIT), place(target.y, vy, WORLD_LIMIT), place(target.z, vz, HEIGHT_LIMIT)};
}

}  // namespace

int32_t intercept_point(const Vector3& shooter, int32_t speed, const Vector3& target, const Vector3& velocity,
                        int32_t lead_factor, int steps, Vector3& out) {
    out = steps == INTERCEPT_CLOSED_FORM ? solve_intercept(shooter, speed, target, velocity, lead_factor)
                                         : iterate_intercept(shooter, speed, target, velocity, lead_factor, steps);
    return out.z;
}

}  // namespace vyr
