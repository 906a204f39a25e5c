// The drone type table.
#pragma once

namespace vyr {

void init_drone_types();
// The side-variant flag (bit 0) of an object number for a task side: 0 for any side but the
// enemy's and in Korea.
int get_drone_type_side_flag(int object_number, int side);

}  // namespace vyr
