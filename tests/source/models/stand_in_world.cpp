// Answers the feature query in place of the library's stand-in, which then stays out of the link.
#include "tests/source/models/stand_in_world.h"

#include <limits>

#include "library/3dvisual/features.h"

namespace vyr {

int stand_in_surface = FEATURE_RUNWAY;
int32_t stand_in_ocean_from = std::numeric_limits<int32_t>::max();

void reset_stand_in_world() {
    stand_in_surface = FEATURE_RUNWAY;
    stand_in_ocean_from = std::numeric_limits<int32_t>::max();
}

int get_feature_kind(int32_t, int32_t y) { return y >= stand_in_ocean_from ? FEATURE_OCEAN : stand_in_surface; }

}  // namespace vyr
