// Blackout, redout and hypoxia: accumulators that build under high or negative g and lack of
// oxygen, decay without, and drive two full-palette effects; a pressure loss fails the oxygen.
#pragma once

#include <cstdint>

namespace vyr {

extern float blackout_level;  // -0.6 at rest, at most 1.4
extern float redout_level;
extern float hypoxia_level;   // 0..1.6
extern int32_t hypoxia_onset_time;
extern int32_t g_effects_on;

// Mission set-up (Alt+8 registered, the state reset, the effects made once) and tear-down.
void init_g_effects();
void free_g_effects();
// Once a frame, after the 3D view: from the g load, the frame time and the failures.
void update_g_effects();
int toggle_g_effects_key(int key_code);
// The effect at f clamped to 0..0.999 of full strength.
void set_blackout_level(float f);
void set_redout_level(float f);

}  // namespace vyr
