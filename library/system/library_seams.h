// Temporary stand-ins for calls into subsystems that are not built yet. Each is replaced by the
// real call when its subsystem lands; none of them does anything meanwhile.
#pragma once

namespace vyr {

void seam_init_threads();
void seam_init_mouse();
void seam_start_ui();
void seam_update_pointer();

}  // namespace vyr
