// The multi-function display frame.
#pragma once

namespace vyr {

void register_mfd_keys();

}  // namespace vyr
