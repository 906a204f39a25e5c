// The mission catalogue.
#pragma once

namespace vyr {

void load_mission_catalogue();

}  // namespace vyr
