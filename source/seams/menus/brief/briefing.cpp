// Stand-in for the briefing player: no map screen exists yet to brief on.
#include "source/menus/brief/briefing.h"

namespace vyr {

void do_briefing(const char*) {}

}  // namespace vyr
