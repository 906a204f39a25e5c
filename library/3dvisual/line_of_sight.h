// Whether the terrain hides one point from another, for the sensors, the weapons and the pod.
// Only the ground blocks a line; objects never do.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

// 1 when the ground lies nowhere above the segment from `a` towards `b`, else 0. The segment is
// sampled 2^n times finely over its first 1/2^n next to `a` (the observer, usually low), then
// 2^n - 1 times coarsely; `b` itself is never sampled, so the answer can change when the ends
// swap. Ground level with the line does not block it. Every caller passes n = 3.
int check_line_of_sight(const Vector3& a, const Vector3& b, int n);

}  // namespace vyr
