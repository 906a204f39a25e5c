// Targets, designation and the mission's mine and reconnaissance targets.
#pragma once

namespace vyr {

void reset_designation();
void init_mine_targets();
// The reconnaissance waypoints of the player's route, none of them sent yet.
void reset_recon();

}  // namespace vyr
