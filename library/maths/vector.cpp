#include "library/maths/vector.h"

#include <algorithm>
#include <cmath>

#include "library/maths/trig.h"

namespace vyr {

namespace {

// Wrapping, so that no coordinate can overflow; world coordinates never wrap.
int32_t wrap_subtract(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }
int32_t wrap_add(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }

int32_t dot31(const Vector3& a, const Vector3& b) {
    return round31(mul64(a.x, b.x) + mul64(a.y, b.y) + mul64(a.z, b.z));
}

}  // namespace

void subtract_vectors(const Vector3& a, const Vector3& b, Vector3& out) {
    out = {wrap_subtract(a.x, b.x), wrap_subtract(a.y, b.y), wrap_subtract(a.z, b.z)};
}

int32_t estimate_distance_2d(int32_t dx, int32_t dy) {
    int64_t x = fixed_magnitude(dx), y = fixed_magnitude(dy);
    return int32_t((4 * std::max(x, y) + std::min(x, y)) >> 2);
}

int32_t estimate_distance_3d(int32_t dx, int32_t dy, int32_t dz) {
    int64_t c[3] = {fixed_magnitude(dx), fixed_magnitude(dy), fixed_magnitude(dz)};
    std::sort(c, c + 3);
    return int32_t(c[2] + (c[1] >> 2) + (c[0] >> 2));
}

int32_t measure_distance_3d(int32_t dx, int32_t dy, int32_t dz) {
    double x = dx, y = dy, z = dz;
    return int32_t(std::min(std::sqrt(x * x + y * y + z * z), 2147483647.0));
}

uint32_t isqrt32(uint32_t n) { return uint32_t(isqrt64(n)); }

uint64_t isqrt64(uint64_t n) {
    // The floating estimate is within one of the root; settle it exactly.
    uint64_t root = std::min<uint64_t>(uint64_t(std::sqrt(double(n))), 0xFFFFFFFFu);
    while (root * root > n) --root;
    while (root < 0xFFFFFFFFu && (root + 1) * (root + 1) <= n) ++root;
    return root;
}

int32_t normalize_vector(Vector3& v) {
    if (fixed_magnitude(v.x) > 0x3FFFFFFF || fixed_magnitude(v.y) > 0x3FFFFFFF ||
        fixed_magnitude(v.z) > 0x3FFFFFFF)
        v = {v.x / 2, v.y / 2, v.z / 2};
    int64_t r = int64_t(measure_distance_3d(v.x, v.y, v.z)) + 1;
    auto scale = [r](int32_t c) {
        if (fixed_magnitude(c) < r) return int32_t(int64_t(c) * (int64_t(1) << 31) / r);
        return c > 0 ? FIXED_ONE : -FIXED_ONE;
    };
    v = {scale(v.x), scale(v.y), scale(v.z)};
    return int32_t(r);
}

uint32_t compute_bearing(int32_t dx, int32_t dy) {
    if (dx == 0) return dy < 0 ? 0x80000000u : 0;
    if (dy == 0) return dx > 0 ? 0x40000000u : 0xC0000000u;
    int64_t ax = fixed_magnitude(dx), ay = fixed_magnitude(dy);
    uint32_t from_y = 0x20000000u;  // on a diagonal
    if (ax != ay) {
        int64_t ratio = std::min(ax, ay) * (int64_t(1) << 31) / std::max(ax, ay);
        uint32_t a = lookup_arctan(uint32_t(ratio));
        from_y = ax < ay ? a : 0x40000000u - a;
    }
    if (dx > 0) return dy > 0 ? from_y : 0x80000000u - from_y;
    return dy < 0 ? 0x80000000u + from_y : 0u - from_y;
}

void compute_relative_angles(const Vector3& first, const Vector3& second, uint32_t& out_heading,
                             uint32_t& out_elevation) {
    auto heading = [](const Vector3& v) { return compute_bearing(v.x >> 16, v.y >> 16); };
    auto elevation = [](const Vector3& v) {
        return compute_bearing(v.z >> 16, estimate_distance_2d(v.x >> 16, v.y >> 16));
    };
    out_heading = heading(first) - heading(second);
    out_elevation = elevation(first) - elevation(second);
}

int32_t measure_segment_distance(const Vector3& a, const Vector3& b, const Vector3& p) {
    Vector3 along, toward;
    subtract_vectors(b, a, along);
    subtract_vectors(p, a, toward);
    int32_t length = normalize_vector(along);
    int32_t reach = normalize_vector(toward);
    int32_t k = dot31(along, toward);
    if (k < 0 || mul31(reach, k) > length) return FAR_AWAY;
    return mul31(reach, lookup_sin(lookup_arccos(k)));
}

int32_t find_segment_closest_point(const Vector3& a, const Vector3& b, const Vector3& p,
                                   Vector3& out) {
    out = b;
    int32_t d = measure_segment_distance(a, b, p);
    if (d == FAR_AWAY) return d;
    Vector3 ab, ap;
    subtract_vectors(b, a, ab);
    subtract_vectors(p, a, ap);
    int32_t length = measure_distance_3d(ab.x, ab.y, ab.z);
    int32_t q = measure_distance_3d(ap.x, ap.y, ap.z);
    // The table-made distance can exceed the exact one: a negative square would wrap.
    int64_t square = std::max<int64_t>(int64_t(q) * q - int64_t(d) * d, 0);
    int64_t along = int64_t(isqrt64(uint64_t(square)));
    if (length == 0 || along >= length) return d;
    int32_t t = int32_t((along << 31) / length);
    out = {wrap_add(a.x, mul31(ab.x, t)), wrap_add(a.y, mul31(ab.y, t)),
           wrap_add(a.z, mul31(ab.z, t))};
    return d;
}

}  // namespace vyr
