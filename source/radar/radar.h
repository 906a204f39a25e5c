// The air and ground radars and their keys.
#pragma once

namespace vyr {

// Per flight: the keys registered, the radar off in air mode with its default scan.
void init_radar();

}  // namespace vyr
