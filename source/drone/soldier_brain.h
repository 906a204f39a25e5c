// Soldier brain: the action state of every soldier of a group, which decides where the body walks,
// when the group moves on, fights, boards or gets out; and the soldiers' target search and fire.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;

// Once per frame for each soldier of a group; ends with the body step.
void update_human_brain(Drone* drone);
// The action of the drone and of every soldier of its group.
void set_group_action(Drone* drone, int32_t action);
// An armed soldier or gun looks for a target when its search tick has come.
void search_human_target(Drone* drone);

}  // namespace vyr
