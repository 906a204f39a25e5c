// Stand-in for the pilot logs' screen, which shows only its background and a way back.
#include "source/menus/logs/pilot_log.h"

#include "source/menus/screens.h"

namespace vyr {

UiObject* log_screen = nullptr;

void create_log_screen() { log_screen = create_bare_screen("Log Screen", "menuscrn\\logs_off.lbm"); }

}  // namespace vyr
