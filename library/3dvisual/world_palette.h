// The 3D palette, its colour remaps and the sky colours. The palette is built once per flight or
// 3D view; every render then re-chooses the sky colours and drives five palette effects (night
// vision, darkness, sun glare, one dimmed colour and the haze of the cloud layer) from the view.
#pragma once

#include <cstdint>

#include "library/graphics/palette.h"

namespace vyr {

// Palette colours of the 3D world.
constexpr int FIRST_FOG_COLOUR = 135;  // 20 fog colours
constexpr int FIRST_SKY_COLOUR = 155;  // 13: 155 alone, then the ramp 156 (top of the sky) to 167
constexpr int SKY_TOP_COLOUR = 156;
constexpr int CLOUD_COLOUR = 166;
constexpr int HORIZON_COLOUR = 167;
constexpr int FIRST_STAR_COLOUR = 168;  // one for each brightness class
constexpr int SUN_COLOUR = 191;
constexpr int FIRST_NIGHT_VISION_COLOUR = 208;  // 16 greens

// Indexed by palette colour (the glass remap is the UI's glass_remap).
extern uint8_t identity_remap[256];
extern uint8_t night_vision_remap[256];
extern uint8_t feature_remap[256];
// What the face, feature, backdrop and star drawers draw through: a copy of the remap chosen by
// select_colour_remap.
extern uint8_t colour_remap[256];

// The effect of the cockpit's one dimmed colour (255); none until the first build.
extern PaletteEffect* dimmed_colour_effect;

void build_world_palette();
// Every palette effect of the world back to level 0; the sky colours stay as they are until the
// next build.
void restore_world_palette();
// The remap of the installed night-vision mode, copied only when the choice changed.
void select_colour_remap();
// Sky colours, night vision, darkness, sun glare and haze for the render in progress; the render
// applies the palette afterwards.
void update_sky_palette();
// The sky colours for the installed view and the eye, sent to the palette only when their set
// changed.
void load_sky_colours();
void update_night_vision_effect();
void update_darkness_effect();
// The glare the sun drawer left in sun_glare, which lasts one render: sun_glare goes back to 0.
void update_sun_glare_effect();

}  // namespace vyr
