// The 3D world's set-up, step and render, and the hooks through which it reaches the game.
#pragma once

namespace vyr {

// Poses a figure's instance tree before it is drawn.
using AnimationHook = void (*)(void* instance);
void set_animation_hook(AnimationHook hook);

}  // namespace vyr
