// The drone record and pool.
#pragma once

namespace vyr {

// The external view steps through the drones.
void view_next_drone();
void view_previous_drone();

}  // namespace vyr
