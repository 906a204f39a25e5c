// Stand-in for the AI vehicles and the battlefield. No drone exists yet.
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/soldier_moves.h"
#include "source/drone/user_drone.h"
#include "source/drone/wingman.h"

namespace vyr {

// With no drone types and no soldiers there is nothing to fill, pose or view.
void init_drone_types() {}
void load_human_movements() {}
void pose_human_figure(void*) {}
void view_next_drone() {}
void view_previous_drone() {}
void register_user_drone_keys() {}
void register_wingman_keys() {}

}  // namespace vyr
