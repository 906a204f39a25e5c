// The backdrop and the sky with its clouds.
#pragma once

namespace vyr {

void reset_sky_state();
// The first pass of a render, and the sky pass after the ground.
void draw_backdrop();
void draw_sky();

}  // namespace vyr
