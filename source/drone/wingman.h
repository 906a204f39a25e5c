// Wingman and group commands: the player orders the first wingman (the drone after the user drone
// in its task) or the whole group (every drone after it) home, to follow him, to attack his
// target or to resume the route; each order is acknowledged by radio or speech and a message.
#pragma once

namespace vyr {

struct Drone;

// Ctrl+1..4 for the first wingman, Shift+1..4 for the group.
void register_wingman_keys();
// Runs the order of the key code, then its sound and message; an unknown code is fatal.
int handle_wingman_key(int key_code);

// The wingman orders; a null wingman is left alone. Going home is ignored by a wingman already
// going home; following by one taking off or landing; attacking when the player has no target or
// the target is the wingman itself; resuming by a wingman with no previous waypoint.
void order_wingman_home(Drone* wingman);
void order_wingman_follow(Drone* wingman);
void order_wingman_attack(Drone* wingman);
void order_wingman_resume(Drone* wingman);
// The order for every drone after the user drone, in list order; an attack with no target of the
// player's orders no one.
void order_group(void (*order)(Drone*));

void arm_user_wingmen();

}  // namespace vyr
