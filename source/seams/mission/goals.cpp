// Stand-in for the mission goals' undoing of the flight's destruction: nothing is restored yet.
#include "source/mission/goals.h"

namespace vyr {

void restore_destroyed_ground_objects() {}

}  // namespace vyr
