// The panoramic cockpit and head look.
#pragma once

namespace vyr {

void register_cockpit_keys();

}  // namespace vyr
