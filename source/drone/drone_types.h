// The drone type table.
#pragma once

namespace vyr {

void init_drone_types();

}  // namespace vyr
