// Wingman and group commands.
#pragma once

namespace vyr {

void register_wingman_keys();

void arm_user_wingmen();

}  // namespace vyr
