// The player's aircraft as a drone.
#pragma once

namespace vyr {

void register_user_drone_keys();

}  // namespace vyr
