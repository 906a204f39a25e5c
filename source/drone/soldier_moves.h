// Soldier movement files and animation cycles.
#pragma once

namespace vyr {

void load_human_movements();
// The animation hook of soldier figures.
void pose_human_figure(void* instance);

void reset_human_death_counter();

}  // namespace vyr
