// Sector searches and air target acquisition.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct Drone;
struct Target;

// Around `position`, in the sector lists of `side`, between the two ranges (world units); null
// when none. A random aircraft flying at least 30 ft up; a random live surface unit.
Target* find_random_sector_aircraft(const Vector3& position, int side, int32_t shortest, int32_t longest);
Target* find_random_live_sector_surface(const Vector3& position, int side, int32_t shortest, int32_t longest);

// An AI aircraft or helicopter looks for something to attack, or drops what it can no longer.
void check_air_drone_target(Drone* drone);

}  // namespace vyr
