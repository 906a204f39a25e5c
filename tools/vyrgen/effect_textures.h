// The effect pictures of 3ddata: raw palette indices, rows top first, no header, index 0 the
// transparent background. Smoke puffs (8 of 32 x 32), ground explosions (2 x 32 of 64 x 32),
// air explosions (2 x 20 of 64 x 64) and flak bursts (20 of 64 x 64), each family an animation
// from its first picture to its last.
#pragma once

#include <string>
#include <vector>

#include "tools/vyrgen/pictures/canvas.h"

namespace vyr::vyrgen {

struct EffectPicture {
    std::string name;  // "3ddata/smoke1.bmp" ...
    Image image;
};

std::vector<EffectPicture> effect_pictures();

}  // namespace vyr::vyrgen
