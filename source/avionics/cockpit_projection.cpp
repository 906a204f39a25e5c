#include "source/avionics/cockpit_projection.h"

#include <algorithm>
#include <cmath>

#include "library/maths/trig.h"

namespace vyr {

namespace {

constexpr int32_t FACE = 640;
constexpr int32_t FOCAL = 320;
constexpr uint32_t QUARTER_TURN = 0x40000000u;
constexpr double BINARY_PER_RADIAN = 2147483648.0 / M_PI;
constexpr int32_t ELEVATION_LIMIT = int32_t(60 * 11930465);

// An arc sine of num / den (den > 0) from the program's table.
uint32_t arcsin_of(double num, double den) { return lookup_arcsin(int32_t(std::clamp(num / den, -1.0, 1.0) * 2147483647.0)); }
uint32_t arccos_of(double num, double den) { return lookup_arccos(int32_t(std::clamp(num / den, -1.0, 1.0) * 2147483647.0)); }

int32_t floor_mod(int32_t a, int32_t n) { return ((a % n) + n) % n; }

}  // namespace

void panorama_to_look_angles(int32_t look_x, int32_t look_y, int32_t& heading, int32_t& pitch) {
    const int32_t a = look_x - LOOK_HOME_X + 2880;
    const double b = look_y - LOOK_HOME_Y;
    const int face = floor_mod(a, 4 * FACE) / FACE;
    const double u = floor_mod(a, FACE) - FOCAL;
    pitch = int32_t(arcsin_of(-b, std::sqrt(b * b + FOCAL * FOCAL)));
    const double across = u * double(arccos_of(FOCAL, std::sqrt(b * b + 2 * FOCAL * FOCAL))) / FOCAL;
    switch (face) {
    case 1: heading = int32_t(QUARTER_TURN + uint32_t(int64_t(across))); break;
    case 3: heading = int32_t(uint32_t(int64_t(across)) - QUARTER_TURN); break;
    default: {
        const uint32_t front = arcsin_of(u, std::sqrt(u * u + b * b + FOCAL * FOCAL));
        heading = int32_t(face == 2 ? front + 2 * QUARTER_TURN : front);
    }
    }
}

void look_angles_to_panorama(int32_t heading, int32_t pitch, int32_t& look_x, int32_t& look_y) {
    const double h = heading / BINARY_PER_RADIAN, p = pitch / BINARY_PER_RADIAN;
    const double b = std::clamp(-FOCAL * std::tan(p), -4.0 * FACE, 4.0 * FACE);
    look_y = int32_t(std::lround(b)) + LOOK_HOME_Y;
    const double quarter = M_PI / 2;
    if (std::fabs(h) <= quarter / 2 || std::fabs(h) >= 3 * quarter / 2) {
        const bool rear = std::fabs(h) >= 3 * quarter / 2;
        const double front = rear ? h - std::copysign(2 * quarter, h) : h;
        const double u = std::tan(front) * std::sqrt(b * b + FOCAL * FOCAL);
        look_x = int32_t(std::lround(rear ? u - 2 * FACE : u)) + LOOK_HOME_X;
        return;
    }
    const double a = std::acos(FOCAL / std::sqrt(b * b + 2.0 * FOCAL * FOCAL));
    const double u = (h - std::copysign(quarter, h)) * FOCAL / a;
    look_x = int32_t(std::lround(u + std::copysign(FACE, h))) + LOOK_HOME_X;
}

void project_to_screen(const Vector3& offset, const Matrix3& eye, int32_t& x, int32_t& y) {
    Vector3 e;
    rotate_vector(eye, offset, e);
    const int64_t right = e.x, forward = e.y, up = e.z;
    int64_t depth, across, shift;
    if (forward >= std::llabs(right)) {
        depth = forward, across = right, shift = 0;
    } else if (-forward >= std::llabs(right)) {
        depth = -forward, across = -right, shift = -2 * FACE;
    } else if (right > 0) {
        depth = right, across = -forward, shift = FACE;
    } else {
        depth = -right, across = forward, shift = -FACE;
    }
    depth = std::max<int64_t>(depth, 1);
    x = int32_t(FOCAL * across / depth + shift);
    y = int32_t(-FOCAL * up / depth);
}

void compute_view_angles_to_point(const Vector3& eye_position, const Matrix3& eye, const Vector3& point,
                                  uint32_t& bearing, int32_t& elevation) {
    Vector3 d{point.x - eye_position.x, point.y - eye_position.y, point.z - eye_position.z}, e;
    rotate_vector(eye, d, e);
    vector_to_angles(e, bearing, elevation);
}

void vector_to_angles(const Vector3& v, uint32_t& azimuth, int32_t& elevation) {
    azimuth = bearing_of_vector(v.x, v.y);
    const double length = std::hypot(double(v.x), double(v.y));
    elevation = elevation_of_vector(int32_t(std::min(length, 2147483647.0)), v.z);
}

uint32_t bearing_of_vector(int32_t x, int32_t y) {
    if (x == 0) return y < 0 ? 2 * QUARTER_TURN : 0;
    const uint32_t ax = fixed_magnitude(x), ay = fixed_magnitude(y);
    const uint32_t angle = ax <= ay ? lookup_arctan(uint32_t(uint64_t(ax) * 0x80000000u / ay))
                                    : QUARTER_TURN - lookup_arctan(uint32_t(uint64_t(ay) * 0x80000000u / ax));
    const uint32_t half = y >= 0 ? angle : 2 * QUARTER_TURN - angle;
    return x >= 0 ? half : 0u - half;
}

int32_t elevation_of_vector(int32_t length, int32_t height) {
    if (length <= 0) return height > 0 ? ELEVATION_LIMIT : height < 0 ? -ELEVATION_LIMIT : 0;
    const uint32_t ah = fixed_magnitude(height), al = uint32_t(length);
    const uint32_t angle = ah <= al ? lookup_arctan(uint32_t(uint64_t(ah) * 0x80000000u / al))
                                    : QUARTER_TURN - lookup_arctan(uint32_t(uint64_t(al) * 0x80000000u / ah));
    return height < 0 ? -int32_t(angle) : int32_t(angle);
}

}  // namespace vyr
