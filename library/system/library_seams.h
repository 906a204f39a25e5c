// Temporary stand-ins for calls into subsystems that are not built yet. Each is replaced by the
// real call when its subsystem lands; none of them does anything meanwhile.
#pragma once

namespace vyr {

void seam_start_ui();

}  // namespace vyr
