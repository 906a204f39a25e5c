// Stand-in for the views' colour remaps.
#include "source/avionics/views.h"

namespace vyr {

void create_view_remaps() {}
void free_view_remaps() {}

}  // namespace vyr
