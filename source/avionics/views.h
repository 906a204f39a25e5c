// View modes and cameras.
#pragma once

namespace vyr {

void register_view_keys();

}  // namespace vyr
