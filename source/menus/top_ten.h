// The quick-start top ten.
#pragma once

namespace vyr {

void load_top_ten();

}  // namespace vyr
