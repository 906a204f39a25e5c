// The targeting pod's state and tracking.
#pragma once

namespace vyr {

void register_pod_key();

}  // namespace vyr
