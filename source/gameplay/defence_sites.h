// Defence sites and dynamic ground objects.
#pragma once

namespace vyr {

// The ground objects a lasing task marks.
void flag_lased_ground_objects();

}  // namespace vyr
