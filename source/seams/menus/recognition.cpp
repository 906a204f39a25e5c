// Stand-in for the recognition viewer, which shows only its background and a way back.
#include "source/menus/recognition.h"

#include "source/menus/screens.h"

namespace vyr {

UiObject* recognition_screen = nullptr;

void create_recognition_screen() {
    recognition_screen = create_bare_screen("Vehicle Recognition Screen", "menuscrn\\rec_off.lbm");
}

}  // namespace vyr
