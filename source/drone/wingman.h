// Wingman and group commands.
#pragma once

namespace vyr {

void register_wingman_keys();

}  // namespace vyr
