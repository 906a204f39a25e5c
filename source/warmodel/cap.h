// Combat air patrols: each side's fighters held on station and sent after the threats its radars
// see.
#pragma once

namespace vyr {

// Mission set-up, at the end of the war model's.
void init_cap();

}  // namespace vyr
