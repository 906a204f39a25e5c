// Bringing up the support library.
#pragma once

namespace vyr {

// Called once by `main` with the data directory's sentinel file name ("vyr.rop"). The order
// matters: debug text before anything can fail, the data directory before any file is read, the
// player's directory before any is written, threads before the pointer's thread, the settings
// before the joystick reads its calibration.
void init_library(const char* sentinel);

}  // namespace vyr
