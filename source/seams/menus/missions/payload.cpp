// Stand-in for the payload window of the mission map, which is not built yet.
#include "source/menus/missions/payload.h"

namespace vyr {

void create_payload_window(UiObject*) {}

}  // namespace vyr
