// The head-up display.
#pragma once

namespace vyr {

// Mode NAV, bomb delivery mode 0, automatic gun aiming, the colour for the light.
void init_hud();

}  // namespace vyr
