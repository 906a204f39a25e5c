// Stand-in for the AI vehicles and the battlefield until they are built: the start-up tables,
// the soldier animation and the drone-related keys. No drone exists yet.
#pragma once

namespace vyr {

void init_drone_types();
void load_human_movements();
// The animation hook of soldier figures.
void pose_human_figure(void* instance);

// The external view steps through the drones.
void view_next_drone();
void view_previous_drone();

void register_user_drone_keys();
void register_wingman_keys();

}  // namespace vyr
