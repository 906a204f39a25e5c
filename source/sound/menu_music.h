// Menu speech and the choice of the menus' music.
#pragma once

namespace vyr {

// The music for the screens on show, the game flow and the war zone.
void choose_menu_music();

}  // namespace vyr
