#include "library/system/library_seams.h"

namespace vyr {

void seam_init_threads() {}    // replaced when cooperative threads land
void seam_init_mouse() {}      // replaced when the pointer lands
void seam_start_ui() {}        // replaced when the UI toolkit lands
void seam_update_pointer() {}  // replaced when the pointer lands

}  // namespace vyr
