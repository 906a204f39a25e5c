// Where to aim so that something leaving the shooter at a given speed meets a moving target.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

constexpr int INTERCEPT_CLOSED_FORM = -1;

// World units and world units per second; `lead_factor` (1.31) scales the target's velocity.
// `steps` rounds of iteration, or INTERCEPT_CLOSED_FORM to solve the quadratic. Where no
// meeting can be found the aim point is the target's position. Writes the aim point to `out`
// and returns its z.
int32_t intercept_point(const Vector3& shooter, int32_t speed, const Vector3& target, const Vector3& velocity,
                        int32_t lead_factor, int steps, Vector3& out);

}  // namespace vyr
