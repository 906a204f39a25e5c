#include "library/system/library.h"

#include "library/config/prefs.h"
#include "library/debug/fatal.h"
#include "library/maths/trig.h"
#include "library/os/file.h"
#include "library/system/joystick.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/ui/object.h"

namespace vyr {

void init_library(const char* sentinel) {
    init_debug_text();
    find_read_only_path(sentinel);
    enter_player_directory();
    lock_player_directory();
    init_threads();
    init_mouse();
    load_prefs("prefs.cfg");
    init_joystick();
    init_trig_tables();
    start_ui();
}

}  // namespace vyr
