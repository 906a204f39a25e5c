// The panoramic cockpit and head look.
#pragma once

#include <cstdint>

namespace vyr {

struct Sprite;

void register_cockpit_keys();

// The quit box picture, loaded with the cockpit; null until then.
extern Sprite* quit_box_sprite;
// The overlay's one-shot flag, cleared at the start of each flight.
extern int32_t cockpit_overlay_started;

// Mission set-up: the quit box picture, the look state, the cockpit colours and the panorama.
void init_cockpit_overlay();
// Into the locked frame buffer: the panorama pieces and the head-up display.
void draw_cockpit_overlay();
// Mission tear-down: colours, message nodes, panel art, the quit box and the panorama.
void free_cockpit();

}  // namespace vyr
