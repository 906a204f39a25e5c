#include "library/system/library_seams.h"

namespace vyr {

void seam_start_ui() {}        // replaced when the UI toolkit lands

}  // namespace vyr
