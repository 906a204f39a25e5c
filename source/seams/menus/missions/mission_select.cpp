// Stand-in for the mission list, which shows only the war zone's background and a way back.
#include "source/menus/missions/mission_select.h"

#include "library/ui/upicture.h"
#include "source/menus/screens.h"

namespace vyr {

UiObject* missions_select_screen = nullptr;

void create_mission_screen() {
    missions_select_screen = create_bare_screen("Missions Select Screen", "menuscrn\\m_cy_off.lbm");
}
void dress_mission_screens(int zone) {
    const char* const backgrounds[] = {"menuscrn\\m_is_off.lbm", "menuscrn\\m_ko_off.lbm", "menuscrn\\m_cy_off.lbm",
                                       "menuscrn\\m_af_off.lbm", "menuscrn\\training.lbm"};
    if (zone >= 1 && zone <= 5) set_ui_picture(missions_select_screen, backgrounds[zone - 1]);
}

}  // namespace vyr
