// Soldier body states: the motor layer that plays the animation for what the brain asked, walks
// the figure to its goal and aims its weapon.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;

// What a figure is to do, each played by its weapon set's animation.
enum class HumanMove {
    STANDING,
    WALK,
    WALK_JOG,
    JOG,
    JOG_RUN,
    RUN,
    RAISE_WEAPON,
    AIM_STANDING,
    LOWER_WEAPON,
    KNEEL_DOWN,
    AIM_KNEELING,
    STAND_UP,
    DIVE,
    GET_UP,
    GET_OUT,
    GET_IN,
    WAVE,
    GESTURE,
};

// The animation number of `move` for the soldier's weapon set; a stretcher bearer walks with the
// stretcher, and each gesture steps the figure's gesture variant on. A drone that is no soldier
// is fatal.
int32_t choose_human_animation(Drone* drone, HumanMove move);

// A gun aims at its attack target, its gunner kept behind it, and fires once the aim is on.
void aim_gun(Drone* gun);

// A transport carrying or awaiting the soldier has landed: it gets out or boards.
void board_transport(Drone* soldier, Drone* transport);

}  // namespace vyr
