#include "source/seams/accel_seam.h"

namespace vyr {

void start_accelerator() {}
void release_accelerator_display() {}

}  // namespace vyr
