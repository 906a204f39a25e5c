// Stand-in for the accelerator's start-up until the world data it loads exist: the display and
// the textures are not opened, so no flight can be drawn.
#pragma once

namespace vyr {

void start_accelerator();
// Hands the display back to the 8-bit menus while they run.
void release_accelerator_display();

}  // namespace vyr
