// The avionics frame: the cockpit's set-up, per-tick update and its two sets of keys.
#pragma once

namespace vyr {

void register_detail_keys();
void register_avionics_keys();

}  // namespace vyr
