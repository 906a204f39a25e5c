// Vectors and distances in 32-bit integers: world units of 1/256 ft, or 1.31 fixed-point
// directions. Products take 64 bits and round once to nearest, halves up.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int32_t FIXED_ONE = 0x7FFFFFFF;  // 1.0 in 1.31
constexpr int32_t FAR_AWAY = 0x7FFFFFFF;   // a point beside neither end of a segment

struct Vector3 {
    int32_t x, y, z;
};

// 64-bit products are summed wrapping, so no input can overflow; sane inputs never wrap.
inline uint64_t mul64(int32_t a, int32_t b) { return uint64_t(int64_t(a) * b); }
inline int32_t round31(uint64_t sum) { return int32_t(int64_t(sum + (uint64_t(1) << 30)) >> 31); }
// The rounded 1.31 product: (a x b + 2^30) >> 31.
inline int32_t mul31(int32_t a, int32_t b) { return round31(mul64(a, b)); }

void subtract_vectors(const Vector3& a, const Vector3& b, Vector3& out);

// With p = max(|dx|, |dy|), q = min: (4p + q) >> 2.
int32_t estimate_distance_2d(int32_t dx, int32_t dy);
// The largest absolute component plus a quarter of each of the other two.
int32_t estimate_distance_3d(int32_t dx, int32_t dy, int32_t dz);
// The length in floating point, truncated (at most 0x7FFFFFFF).
int32_t measure_distance_3d(int32_t dx, int32_t dy, int32_t dz);
uint32_t isqrt32(uint32_t n);
uint64_t isqrt64(uint64_t n);

// Scales `v` to unit length in 1.31 and returns its length + 1 (1 for the zero vector).
int32_t normalize_vector(Vector3& v);
// Binary angle of (dx, dy) from +y towards +x.
uint32_t compute_bearing(int32_t dx, int32_t dy);
// Heading and elevation of `first` less those of `second`.
void compute_relative_angles(const Vector3& first, const Vector3& second, uint32_t& out_heading,
                             uint32_t& out_elevation);

// Distance of `p` from the segment a-b, FAR_AWAY when the foot of the perpendicular lies before
// a or beyond b.
int32_t measure_segment_distance(const Vector3& a, const Vector3& b, const Vector3& p);
// The same distance; `out` is the foot of the perpendicular, or b when it is FAR_AWAY or beyond b.
int32_t find_segment_closest_point(const Vector3& a, const Vector3& b, const Vector3& p,
                                   Vector3& out);

}  // namespace vyr
