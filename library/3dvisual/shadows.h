// Shadows of the mobile objects, cast along the light onto the ground, a deck or the cloud top.
#pragma once

#include "library/3dvisual/instance.h"

namespace vyr {

// Draws the shadow of a mover whose view distance the caller has set.
void draw_object_shadow(ObjectInstance* instance);

}  // namespace vyr
